#!/usr/bin/env bash
# The control fields of the package: its name and version, the section, a
# maintainer, and dependencies read from the programs' libraries.
#   package_fields.sh PACKAGE VERSION
set -euo pipefail
deb=$1
version=$2
field() { dpkg-deb --field "$deb" "$1"; }
failed=0
expect() {
    if ! grep -Eq "$2" <<< "$(field "$1")"; then
        echo "$1: \"$(field "$1")\" does not match $2" >&2
        failed=1
    fi
}
expect Package '^kelvaro$'
expect Version "^${version//./\\.}$"
expect Section '^science$'
expect Maintainer '^.+ <.+@.+>$'
expect Depends 'libqt6widgets6 \(>= '
expect Depends 'libqt6svg6 \(>= '
expect Depends 'libc6 \(>= '
expect Description '^viewer for tables of measured data'
exit $failed
