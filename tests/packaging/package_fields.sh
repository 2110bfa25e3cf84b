#!/usr/bin/env bash
# The control fields of the package: its name and version, the section, a
# maintainer, dependencies read from the programs' libraries and the packages
# recommended beside them; and its changelog, whose latest entry is this
# version's, by the package's maintainer.
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
# Arial's metrics for the pictures, and Qt's Wayland platform plugin to show
# the window on a Wayland desktop without going through XWayland.
expect Recommends '(^|, )fonts-liberation(,|$)'
expect Recommends '(^|, )qt6-wayland(,|$)'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$work" ./usr/share/doc/kelvaro/changelog.gz
zcat "$work/usr/share/doc/kelvaro/changelog.gz" > "$work/changelog"
entry() { dpkg-parsechangelog -l "$work/changelog" -S "$1"; }
if [ "$(entry Version)" != "$version" ]; then
    echo "the changelog's latest entry is for $(entry Version), not $version" >&2
    failed=1
fi
if [ "$(entry Maintainer)" != "$(field Maintainer)" ]; then
    echo "the changelog's latest entry is by $(entry Maintainer), not $(field Maintainer)" >&2
    failed=1
fi
exit $failed
