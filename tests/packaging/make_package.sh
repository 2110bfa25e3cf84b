#!/usr/bin/env bash
# Builds the Debian package of a build into a fresh folder, as `make package`
# does, and leaves it there as kelvaro.deb.
#   make_package.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log" >&2
    exit 1
}
packages=("$out"/kelvaro_*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ]
mv "${packages[0]}" "$out/kelvaro.deb"
