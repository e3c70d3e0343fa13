#!/usr/bin/env bash
# Installs what building and testing need, when it is missing (Debian 12, as root).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git dpkg-dev file
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    qt6-base-dev libgl-dev
    xvfb xauth dbus tzdata locales
    imagemagick fonts-dejavu-core fonts-dejavu-extra
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -ne 0 ]; then
    echo "installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The number-format tests run under a locale with a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "generating de_DE.UTF-8"
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
