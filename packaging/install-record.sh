#!/usr/bin/env bash
# Keeps the list of files `make install` installed, and removes them again for
# `make uninstall`.
#   install-record.sh save BUILD_DIR RECORD     after `cmake --install BUILD_DIR`
#   install-record.sh remove RECORD
#
# save: adds the files of CMake's BUILD_DIR/install_manifest.txt to RECORD, as
# the paths they were written to (CMake's list leaves DESTDIR out; the install
# put it in front of every file, so the record does too). A copy is kept because
# every install of the build tree (the tests' scratch installs, say) rewrites
# CMake's list. Run as root in a tree that is not root's (sudo make install),
# both lists are given back to the tree's owner, so that the owner's next build
# or install can write them.
#
# remove: removes every file of RECORD that is still there, and the program's
# own documentation folder when that leaves it empty (other folders, such as
# share/man/man1, may hold other programs' files and stay). Says what it
# removed, or that nothing was installed. The record goes once nothing of it
# is left.
set -euo pipefail

case ${1:-} in
save)
    build=${2:?build directory}
    record=${3:?record file}
    manifest=$build/install_manifest.txt
    if [ ! -f "$manifest" ]; then
        echo "kelvaro: $manifest is missing: the install did not finish" >&2
        exit 1
    fi
    {
        [ -f "$record" ] && cat "$record"
        awk 'length { print ENVIRON["DESTDIR"] $0 }' "$manifest"
    } | LC_ALL=C sort -u > "$record.new"
    mv -f "$record.new" "$record"
    if [ "$(id -u)" -eq 0 ]; then
        chown --reference="$build" "$record" "$manifest"
    fi
    ;;
remove)
    record=${2:?record file}
    if [ ! -s "$record" ]; then
        echo "kelvaro: nothing to uninstall: $record does not exist ('make install' writes it)"
        [ ! -e "$record" ] || rm -f "$record"
        exit 0
    fi
    removed=0
    kept=()
    folders=()
    while IFS= read -r file; do
        [ -n "$file" ] || continue
        if [ -e "$file" ] || [ -L "$file" ]; then
            if rm -f -- "$file"; then
                echo "removed $file"
                removed=$((removed + 1))
            else
                kept+=("$file")
                continue
            fi
        fi
        # The folder named after the program, and those inside it.
        folder=$(dirname -- "$file")
        while [[ $folder == */doc/kelvaro/* || $folder == */doc/kelvaro ]]; do
            folders+=("$folder")
            folder=$(dirname -- "$folder")
        done
    done < "$record"
    if [ ${#folders[@]} -gt 0 ]; then
        # Deepest first, so that a folder emptied by its subfolders goes too.
        while IFS= read -r folder; do
            if [ -d "$folder" ] && rmdir -- "$folder" 2> /dev/null; then
                echo "removed $folder/"
            fi
        done < <(printf '%s\n' "${folders[@]}" | LC_ALL=C sort -u -r)
    fi
    if [ ${#kept[@]} -gt 0 ]; then
        printf '%s\n' "${kept[@]}" > "$record"
        echo "kelvaro: ${#kept[@]} files could not be removed; they stay in $record" >&2
        exit 1
    fi
    rm -f "$record"
    if [ $removed -eq 0 ]; then
        echo "kelvaro: nothing to uninstall: none of the files 'make install' installed is there"
    fi
    ;;
*)
    echo "usage: install-record.sh save BUILD_DIR RECORD | remove RECORD" >&2
    exit 2
    ;;
esac
