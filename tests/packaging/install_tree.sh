#!/usr/bin/env bash
# Installs the build into a fresh prefix, as `make install PREFIX=...` does.
#   install_tree.sh BUILD_DIR PREFIX
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
