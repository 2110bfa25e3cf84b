#!/usr/bin/env bash
# `make uninstall` removes what `make install` installed: the build is
# installed as the install target does it (cmake --install, then the files
# are recorded), under a DESTDIR, and the Makefile's uninstall target, run
# without DESTDIR, removes every file of CMake's manifest from there, and the
# program's documentation folder, and leaves other folders.
#   install_uninstall.sh SOURCE_DIR BUILD_DIR WORK_DIR
set -euo pipefail
source_dir=$1
build=$2
work=$3
prefix=/usr/local
rm -rf "$work"
mkdir -p "$work"
dest=$work/dest
record=$work/installed-files.txt

# The Makefile's targets as a user runs them, not as a part of the make that
# runs the tests (whose job server this make would try to join).
run_make() { env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL -u DESTDIR make "$@"; }

failed=0
fail() {
    printf '%s\n' "$*" >&2
    failed=1
}

DESTDIR=$dest cmake --install "$build" --prefix "$prefix" > /dev/null
cp "$build/install_manifest.txt" "$work/manifest.txt"
DESTDIR=$dest bash "$source_dir/packaging/install-record.sh" save "$build" "$record"

# The record is CMake's manifest with the DESTDIR in front, and the files
# installed are those of the manifest.
manifest=$(awk -v dest="$dest" 'length { print dest $0 }' "$work/manifest.txt" | LC_ALL=C sort)
[ "$(grep -c . <<< "$manifest")" -ge 20 ] || fail "the manifest lists too few files: $manifest"
[ "$(cat "$record")" = "$manifest" ] || fail "the record is not the manifest under $dest"
installed=$(find "$dest" -type f -o -type l | LC_ALL=C sort)
[ "$installed" = "$manifest" ] || fail "the files installed are not those of the manifest"

# Another program's file in a folder both use.
echo other > "$dest$prefix/share/man/man1/other.1"

run_make -s -C "$source_dir" uninstall INSTALLED="$record" > "$work/uninstall.out" 2>&1 ||
    fail "make uninstall fails: $(cat "$work/uninstall.out")"
while IFS= read -r file; do
    if [ -e "$file" ] || [ -L "$file" ]; then
        fail "make uninstall left $file"
    fi
    grep -Fxq "removed $file" "$work/uninstall.out" || fail "make uninstall does not say it removed $file"
done <<< "$manifest"
[ ! -e "$dest$prefix/share/doc/kelvaro" ] || fail "make uninstall left share/doc/kelvaro"
[ -f "$dest$prefix/share/man/man1/other.1" ] || fail "make uninstall removed another program's file"
[ -d "$dest$prefix/bin" ] || fail "make uninstall removed bin, which it did not make alone"
[ ! -e "$record" ] || fail "make uninstall kept the record of files it removed"

# Again: nothing is installed, and it says so.
out=$(run_make -s -C "$source_dir" uninstall INSTALLED="$record" 2>&1) ||
    fail "a second make uninstall fails: $out"
[[ $out == *"nothing to uninstall"* ]] || fail "a second make uninstall says: $out"
exit $failed
