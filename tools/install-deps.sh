#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are
# missing, without questions. Used by ./run.sh, ./test.sh, fuzz/run.sh and
# tools/package.sh.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev fonts-liberation
  librtmidi-dev libasound2-dev
  libjack-jackd2-dev jackd2
)

# "fuzz" adds clang and its sanitizer and libFuzzer runtimes.
if [ "${1:-}" = "fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

# "package" adds what builds the Debian package (dpkg-shlibdeps, and file,
# with which CPack finds the programs in it) and what checks it (the desktop
# entry and AppStream validators).
if [ "${1:-}" = "package" ]; then
  packages+=(dpkg-dev file desktop-file-utils appstream)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them as root (apt-get install ${missing[*]}) or run this script as root." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks whether to enable real-time scheduling; answer for it.
echo "jackd2 jackd/tweak_rt_limits boolean false" | debconf-set-selections
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
