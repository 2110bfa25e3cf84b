#!/usr/bin/env bash
# Checks the installed desktop entry and how a desktop reads it.
#   desktop_entry.sh fields PREFIX
#       the entry starts kelvaro with the files it is given (Exec=kelvaro %F),
#       names the types it opens (CSV, tab-separated, plain text) and leaves
#       D-Bus activation off; the AppStream metadata names the same types.
#   desktop_entry.sh offered PREFIX WORK_DIR
#       with only a copy of the entry in a scratch data folder and the
#       installed kelvaro on PATH, update-desktop-database lists the entry for
#       each of the types, and GIO (the "Open with" of GNOME and others)
#       offers it for them.
set -euo pipefail
mode=$1
prefix=$2
id=org.kelvaro.Kelvaro
entry=$prefix/share/applications/$id.desktop
types=(text/csv text/tab-separated-values text/plain)

failed=0
fail() {
    echo "$*" >&2
    failed=1
}

# The value of KEY in the [Desktop Entry] group.
key() {
    awk -F= -v key="$1" '/^\[/ { group = $0; next }
        group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print }' "$entry"
}

case $mode in
fields)
    [ "$(key Exec)" = 'kelvaro %F' ] || fail "Exec is \"$(key Exec)\", not \"kelvaro %F\""
    [ -z "$(key DBusActivatable)" ] || fail "DBusActivatable is set: \"$(key DBusActivatable)\""
    expected=$(printf '%s\n' "${types[@]}" | LC_ALL=C sort)
    actual=$(key MimeType | tr ';' '\n' | sed '/^$/d' | LC_ALL=C sort)
    [ "$actual" = "$expected" ] || fail "MimeType lists \"$(key MimeType)\""
    [[ $(key MimeType) == *\; ]] || fail "MimeType does not end in ';'"
    metainfo=$prefix/share/metainfo/$id.metainfo.xml
    provided=$(grep -o '<mediatype>[^<]*</mediatype>' "$metainfo" |
        sed 's/<[^>]*>//g' | LC_ALL=C sort)
    [ "$provided" = "$expected" ] || fail "the metadata provides the types \"$provided\""
    ;;
offered)
    work=$3
    rm -rf "$work"
    mkdir -p "$work/share/applications" "$work/home"
    cp "$entry" "$work/share/applications/"
    update-desktop-database "$work/share/applications"
    cache=$work/share/applications/mimeinfo.cache
    for type in "${types[@]}"; do
        grep -Eq "^$type=(.*;)?$id\.desktop;" "$cache" ||
            fail "update-desktop-database does not list $id.desktop for $type"
        # GIO leaves out entries whose program is not on PATH.
        offered=$(env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$work/home" \
            XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config" \
            XDG_DATA_DIRS="$work/share:/usr/share" LC_ALL=C.UTF-8 gio mime "$type")
        awk '/^Registered applications:/ { on = 1; next } /^[^\t]/ { on = 0 } on' \
            <<< "$offered" | grep -Fxq $'\t'"$id.desktop" ||
            fail "gio mime $type does not offer $id.desktop:" $'\n' "$offered"
    done
    ;;
*)
    echo "unknown check: $mode" >&2
    exit 2
    ;;
esac
exit $failed
