#!/usr/bin/env bash
# Installs the Debian packages the project needs; only what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev libqt6opengl6-dev
  # Qt's own translations: standard buttons and dialogs in the user's language.
  qt6-translations-l10n
  libcups2-dev cups-daemon cups-client cups-filters cups dpkg-dev lintian
  libplist-dev libavahi-client-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev
  libcpp-httplib-dev libssl-dev nettle-dev libxxhash-dev
  # The client side of the printer protocol (the simulator keeps the httplib server).
  libcurl4-openssl-dev
  # Fonts for the offscreen screenshots; the CJK one draws the Japanese translation.
  fonts-dejavu-core fonts-wqy-microhei procps
  avahi-daemon avahi-utils dbus-daemon iproute2
  clang libclang-rt-14-dev
  printer-driver-cups-pdf openprinting-ppds printer-driver-gutenprint printer-driver-hpcups
  # scripts/package-check.sh makes a clean Debian root with it.
  mmdebstrap
  # An independent vCard parser that the tests check written books with.
  python3-vobject
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
