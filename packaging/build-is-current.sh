#!/usr/bin/env bash
# Tells whether a build tree made by `make` is complete and up to date with
# its sources, without building or writing anything, so that `make install`
# (often run as root) installs what `make` built and never builds itself.
#   build-is-current.sh SOURCE_DIR BUILD_DIR
# Prints nothing and exits 0 when the build is current; otherwise prints one
# line on stderr naming `make` and exits 1.
#
# `make` notes the time it starts building (after CMake has configured the
# tree) and, once the whole build has succeeded, keeps that time as
# BUILD_DIR/kelvaro-built.stamp. The build is current when the stamp exists and
#  - no file CMake read to generate the tree (its CMAKE_MAKEFILE_DEPENDS: the
#    CMakeLists, templates, CMakeCache.txt, the packages' CMake files) is newer
#    than the stamp or gone, so CMake need not run again, and
#  - no file of the source tree the programs are built from is newer than the
#    stamp. The folders the installed files are not built from (tests, fuzz
#    target, benchmarks, scripts, examples installed as they are, documents)
#    are left out; their CMake files are covered by the first rule.
# A file changed while `make` was building is newer than the stamp, so it counts
# as changed. The Makefile's own build of the make-generated tree cannot be
# asked instead: its targets for moc and the like always run, so `make -q`
# always answers "out of date".
set -uo pipefail

source_dir=$(cd "${1:?source directory}" && pwd) || exit 1
build=${2:?build directory}
stamp=$build/kelvaro-built.stamp

refuse() {
    echo "kelvaro: ${build%/}/ is $1; run 'make' first (as yourself, not as root)" >&2
    exit 1
}
trap 'refuse "in a state this check does not know"' ERR

if [ ! -f "$build/CMakeCache.txt" ] || [ ! -f "$build/cmake_install.cmake" ]; then
    refuse "missing"
fi
if [ ! -f "$stamp" ]; then
    refuse "not completely built by 'make'"
fi

# What CMake reads to generate the tree; relative names are in the build tree.
makefile_cmake=$build/CMakeFiles/Makefile.cmake
if [ -f "$makefile_cmake" ]; then
    while IFS= read -r file; do
        case $file in /*) path=$file ;; *) path=$build/$file ;; esac
        if [ ! -e "$path" ]; then
            refuse "out of date ($file, which CMake read, is gone)"
        elif [ "$path" -nt "$stamp" ]; then
            refuse "out of date ($file changed since it was built)"
        fi
    done < <(awk '/^set\(CMAKE_MAKEFILE_DEPENDS/ { on = 1; next }
                  on && /^ *\)/ { exit }
                  on { gsub(/^ *"|" *$/, ""); print }' "$makefile_cmake")
fi

# The sources of what is installed. Build trees inside the source tree (any
# folder holding a CMakeCache.txt) and editors' temporary files are skipped.
prunes=(-name .git)
while IFS= read -r cache; do
    prunes+=(-o -path "${cache%/CMakeCache.txt}")
done < <(find "$source_dir" -mindepth 2 -name CMakeCache.txt -not -path '*/.git/*' 2>/dev/null)
for skipped in tests fuzz bench scripts examples docs .ci; do
    prunes+=(-o -path "$source_dir/$skipped")
done
changed=$(find "$source_dir" \( "${prunes[@]}" \) -prune -o -type f -newer "$stamp" \
    -not -name '*.swp' -not -name '*~' -not -name '.#*' \
    -not -path "$source_dir/README.md" -not -path "$source_dir/Makefile" -print -quit)
if [ -n "$changed" ]; then
    refuse "out of date (${changed#"$source_dir"/} changed since it was built)"
fi
exit 0
