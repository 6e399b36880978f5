#!/usr/bin/env bash
# Builds the Debian package build/cs6edit_<version>_<arch>.deb: installs what
# is missing (tools/install-deps.sh package), configures build/ for the prefix
# /usr, builds the installed programs and the factory data files, and runs
# CPack. Its last line names the package.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh package
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
cmake --build build -j"$(nproc)" --target cs6edit cs6sim cs6_factory_files
cpack --config build/CPackConfig.cmake -G DEB > /dev/null

version=$(build/app/cs6edit --version | cut -d' ' -f2)
deb=build/cs6edit_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "CPack made no $deb" >&2; exit 1; }
echo "Package: $deb"
