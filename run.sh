#!/usr/bin/env bash
# Installs what is missing, builds, prepares build/run/ and starts the editor
# there, connected to the built-in emulated instrument.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "cs6edit is a desktop program and needs a display, and there is none here." >&2
    echo "Run it in a desktop session, or under a virtual X server:" >&2
    echo "    apt-get install xvfb && xvfb-run ./run.sh" >&2
    exit 1
fi

./tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target cs6edit cs6sim cs6settings

run=build/run
mkdir -p "$run"
# The data files come from the emulated instrument's factory contents; a
# folder that has them already keeps them (they may hold fetched banks).
factory=$(mktemp -d)
trap 'rm -rf "$factory"' EXIT
build/sim/cs6sim/cs6sim --write-files "$factory"
for file in patches_pre.bnk patches_int.bnk patches_ext.bnk perf_init.prf; do
    [ -f "$run/$file" ] || cp "$factory/$file" "$run/$file"
done
if [ ! -f "$run/settings.dat" ]; then
    build/tools/cs6settings "$run/settings.dat" "emulated:Emulated CS6x" "emulated:Emulated CS6x"
fi

cd "$run"
../app/cs6edit "$@"
