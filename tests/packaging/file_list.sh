#!/usr/bin/env bash
# Compares what is installed with the list kept beside this script (paths
# under the prefix, sorted): a file missing from either side fails.
#   file_list.sh LIST tree PREFIX     the files of an installed tree
#   file_list.sh LIST deb PACKAGE     the files of a Debian package (prefix /usr)
set -euo pipefail
list=$1
kind=$2
where=$3
case $kind in
tree) actual=$(cd "$where" && find . -type f -o -type l | sed 's|^\./||') ;;
deb) actual=$(dpkg-deb --contents "$where" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||') ;;
*)
    echo "unknown kind: $kind" >&2
    exit 2
    ;;
esac
if ! diff -u --label "$list" --label "$where" <(LC_ALL=C sort "$list") <(LC_ALL=C sort <<< "$actual"); then
    echo "The installed files differ from $list (lines with - are missing, + are new)." >&2
    exit 1
fi
