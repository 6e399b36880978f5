#!/usr/bin/env bash
# Builds the Debian package (tools/package.sh) and checks it: the desktop entry
# and the AppStream metainfo validate, the package holds the expected files and
# depends on the libraries it links, and, unpacked into a temporary root, the
# program prints its version and starts offscreen with a fresh home folder and
# an empty working folder, where it makes ~/.local/share/cs6edit with the
# factory files. Prints one line per check and fails when any check fails.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(./tools/package.sh | tail -n 1)
deb=${deb#Package: }
version=$(build/app/cs6edit --version | cut -d' ' -f2)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' > "$work/files"

failures=0
# check DESCRIPTION COMMAND...: runs the command, prints ok or FAIL and, on
# failure, what the command printed.
check() {
    local description=$1
    shift
    if "$@" > "$work/output" 2>&1; then
        echo "ok    $description"
    else
        echo "FAIL  $description"
        sed 's/^/      /' "$work/output"
        failures=$((failures + 1))
    fi
}

has_files() {
    local missing=0 file
    for file in "$@"; do
        grep -qxF "$file" "$work/files" || { echo "missing: $file"; missing=1; }
    done
    return $missing
}

depends_on() {
    local names
    names=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }')
    dpkg-deb -f "$deb" Depends
    for package in "$@"; do
        grep -qx "$package" <<<"$names" || return 1
    done
    ! grep -qx jackd2 <<<"$names"
}

# A first start: HOME fresh, XDG_DATA_HOME unset, an empty working folder. The
# editor runs until timeout ends it (a first start may wait in a message box).
first_start() {
    mkdir -p "$work/home" "$work/cwd"
    local status=0
    (cd "$work/cwd" && env -u XDG_DATA_HOME HOME="$work/home" QT_QPA_PLATFORM=offscreen \
        timeout -k 5 5 "$root/usr/bin/cs6edit") || status=$?
    echo "exit status $status"
    [ "$status" -eq 0 ] || [ "$status" -eq 124 ]
}

holds_factory_files() {
    local data=$work/home/.local/share/cs6edit file
    for file in patches_pre.bnk patches_int.bnk patches_ext.bnk perf_init.prf; do
        cmp "$root/usr/share/cs6edit/$file" "$data/$file" || return 1
    done
    [ -z "$(ls -A "$work/cwd")" ] || { echo "the working folder got: $(ls -A "$work/cwd")"; return 1; }
}

echo "Checking $deb"
check "desktop entry validates" desktop-file-validate "$root/usr/share/applications/cs6edit.desktop"
check "AppStream metainfo validates" appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
icons=(/usr/share/icons/hicolor/scalable/apps/cs6edit.svg)
for size in 16 22 24 32 48 64 128 256; do
    icons+=("/usr/share/icons/hicolor/${size}x$size/apps/cs6edit.png")
done
check "package holds the programs, desktop entry, metainfo, icons and factory files" has_files \
    /usr/bin/cs6edit /usr/bin/cs6sim /usr/share/applications/cs6edit.desktop \
    /usr/share/metainfo/io.github.cs6edit.cs6edit.metainfo.xml "${icons[@]}" \
    /usr/share/cs6edit/patches_pre.bnk /usr/share/cs6edit/patches_int.bnk \
    /usr/share/cs6edit/patches_ext.bnk /usr/share/cs6edit/perf_init.prf
check "package depends on Qt, RtMidi, ALSA and libjack, not on jackd2" \
    depends_on libqt6widgets6 librtmidi6 libasound2 libjack-jackd2-0
check "unpacked cs6edit --version says $version" grep -qx "cs6edit $version" <("$root/usr/bin/cs6edit" --version)
check "unpacked cs6edit starts offscreen with a fresh home folder" first_start
check "the first start made ~/.local/share/cs6edit with the factory files" holds_factory_files

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed" >&2
    exit 1
fi
