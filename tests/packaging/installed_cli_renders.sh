#!/usr/bin/env bash
# The installed batch tool draws an installed example into the same PNG as the
# tool in the build tree.
#   installed_cli_renders.sh PREFIX BUILT_CLI WORK_DIR
set -euo pipefail
prefix=$1
built=$2
work=$3
example=$prefix/share/doc/kelvaro/examples/pump_test.txt
rm -rf "$work"
mkdir -p "$work"
"$prefix/bin/kelvaro-cli" render "$example" -o "$work/installed.png"
"$built" render "$example" -o "$work/built.png"
[ "$(head -c 8 "$work/installed.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]
cmp "$work/installed.png" "$work/built.png"
