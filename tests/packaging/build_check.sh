#!/usr/bin/env bash
# `make install` installs only what `make` built: the check it runs first
# (packaging/build-is-current.sh) on a made-up source and build tree whose
# files' times the test sets, and the Makefile's install target, which
# refuses a missing build in one line without configuring or building.
#   build_check.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$2
check=$source_dir/packaging/build-is-current.sh
rm -rf "$work"
mkdir -p "$work"

# The Makefile's targets as a user runs them, not as a part of the make that
# runs the tests (whose job server this make would try to join).
run_make() { env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL -u DESTDIR make "$@"; }

failed=0
fail() {
    printf '%s\n' "$*" >&2
    failed=1
}

# accepted WHAT: the check passes, silently.
accepted() {
    local err rc=0
    err=$(bash "$check" "$src" "$build" 2>&1) || rc=$?
    if [ $rc -ne 0 ] || [ -n "$err" ]; then
        fail "refused $1 (exit $rc): $err"
    fi
}

# refused WHAT PART: the check fails with one line naming make and PART.
refused() {
    local out err rc=0
    out=$(bash "$check" "$src" "$build" 2> "$work/err") || rc=$?
    err=$(cat "$work/err")
    if [ $rc -eq 0 ]; then
        fail "accepted $1"
    elif [ -n "$out" ] || [ "$(grep -c '' <<< "$err")" -ne 1 ] ||
        [[ $err != *"run 'make' first"* || $err != *"$2"* ]]; then
        fail "refused $1, but not with one line naming make and \"$2\": \"$err\" (stdout \"$out\")"
    fi
}

# A source tree, a build tree of it and a package's CMake file outside both,
# all last changed at the same time; the build finished after that.
src=$work/src
build=$work/build
then=$(date -d '2026-01-01 12:00' +%s)
mkdir -p "$src/app" "$src/resources" "$src/tests" "$src/examples" "$src/build" "$build/CMakeFiles"
touch "$src/CMakeLists.txt" "$src/app/main.cpp" "$src/resources/icon.svg" "$src/tests/Test.cpp" \
    "$src/examples/data.txt" "$src/README.md" "$src/build/CMakeCache.txt" "$src/build/main.o" \
    "$work/QtConfig.cmake" "$build/CMakeCache.txt" "$build/cmake_install.cmake"
cat > "$build/CMakeFiles/Makefile.cmake" << EOF
# CMAKE generated file: DO NOT EDIT!
set(CMAKE_DEPENDS_GENERATOR "Unix Makefiles")

# The top level Makefile was generated from the following files:
set(CMAKE_MAKEFILE_DEPENDS
  "CMakeCache.txt"
  "$work/QtConfig.cmake"
  "$src/CMakeLists.txt"
  )

# The corresponding makefile is:
set(CMAKE_MAKEFILE_OUTPUTS
  "Makefile"
  )
EOF
find "$work" -exec touch -d "@$then" {} +
stamp=$build/kelvaro-built.stamp

# A clock for the files' times: change PATH... changes them, finish_build ends
# a build, each a little later than all before.
now=$then
change() {
    now=$((now + 10))
    touch -d "@$now" "$@"
}
finish_build() { change "$stamp"; }

refused "a build 'make' did not finish" "not completely built"
finish_build
accepted "a build newer than its sources"

change "$src/app/main.cpp"
refused "a source changed after the build" "app/main.cpp changed"
finish_build
accepted "a build made again after the change"

change "$src/resources/icon.svg"
refused "a resource changed after the build" "resources/icon.svg changed"
finish_build

# Files the installed ones are not built from.
change "$src/tests/Test.cpp" "$src/examples/data.txt" "$src/README.md" "$src/build/main.o" \
    "$src/app/.main.cpp.swp"
accepted "changes to tests, examples, README, an editor's file or another build"

change "$work/QtConfig.cmake"
refused "a CMake file of a package changed after the build" "QtConfig.cmake changed"
finish_build
rm "$work/QtConfig.cmake"
refused "a CMake file that is gone" "QtConfig.cmake, which CMake read, is gone"
touch -d "@$then" "$work/QtConfig.cmake"
accepted "the CMake file back"

change "$build/CMakeCache.txt"
refused "a tree configured again after the build" "CMakeCache.txt changed"
finish_build
accepted "a tree configured and built again"

rm "$build/cmake_install.cmake"
refused "a tree CMake did not generate" "missing"
build=$work/nothing
refused "no build" "missing"

# The Makefile's install target checks first, in one line, and builds nothing.
rc=0
run_make -s -C "$source_dir" install BUILD="$work/no-build" PREFIX="$work/prefix" \
    > "$work/make.out" 2> "$work/make.err" || rc=$?
err=$(cat "$work/make.err")
if [ $rc -eq 0 ]; then
    fail "make install installed a build that does not exist"
elif [ "$(grep -c '' <<< "$err")" -ne 1 ] || [[ $err != *"run 'make' first"* ]]; then
    fail "make install refused a missing build, but not in one line naming make: \"$err\""
fi
[ ! -e "$work/no-build" ] || fail "make install made the build folder"
[ ! -e "$work/prefix" ] || fail "make install installed something"
[ ! -s "$work/make.out" ] || fail "make install said: $(cat "$work/make.out")"

# For a current build it runs cmake --install and nothing that configures or
# builds (-n: prints the commands instead of running them).
build=$work/build
touch -d "@$then" "$build/cmake_install.cmake"
touch "$stamp"
commands=$(run_make -n -C "$source_dir" install BUILD="$build" PREFIX="$work/prefix" 2>&1) ||
    fail "make -n install on a current build fails: $commands"
grep -q "cmake --install $build --prefix $work/prefix" <<< "$commands" ||
    fail "make install does not run cmake --install: $commands"
if grep -Eq 'deps\.sh|cmake (-S|--build)|apt-get' <<< "$commands"; then
    fail "make install configures, builds or installs packages: $commands"
fi
exit $failed
