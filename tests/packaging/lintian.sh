#!/usr/bin/env bash
# Runs lintian, Debian's package checker, on the package: an error or a
# warning fails. Exits 77 (the test is skipped) where lintian is not installed.
#   lintian.sh PACKAGE
set -uo pipefail
deb=$1
if ! command -v lintian > /dev/null; then
    echo "lintian is not installed: not checked"
    exit 77
fi
# The whole report, notes and information included, for the log.
report=$(lintian --info --display-info --tag-display-limit 0 "$deb" 2>&1)
rc=$?
printf '%s\n' "$report"
if grep -Eq '^[EW]: ' <<< "$report"; then
    echo "lintian reports errors or warnings (E: or W: lines above)" >&2
    exit 1
fi
if [ $rc -ne 0 ]; then
    echo "lintian exits with $rc" >&2
    exit 1
fi
