#!/usr/bin/env bash
# Installs the Debian packages Kelvaro needs to build, test, run and package,
# and the locales some tests run under. Does nothing when all of it is present.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev
  libcli11-dev nlohmann-json3-dev
  fonts-dejavu-core fonts-liberation
  libx11-dev
  locales xvfb xauth xdotool imagemagick time
  clang libclang-rt-14-dev
  librsvg2-bin gzip groff-base man-db
  dpkg-dev file desktop-file-utils appstream lintian
  libglib2.0-bin shared-mime-info
  qt6-wayland
  dbus-daemon dbus-bin
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The locale tests run under a German and a Turkish locale.
for name in de_DE tr_TR; do
  if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$"; then
    echo "Generating the $name.UTF-8 locale"
    as_root sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen
  fi
done
