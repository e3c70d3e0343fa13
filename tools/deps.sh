#!/usr/bin/env bash
# Installs what building and testing need, when it is missing (Debian 12, as root).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git dpkg-dev file
    googletest libgtest-dev libgmock-dev libbenchmark-dev librapidcheck-dev
    clang libclang-rt-14-dev lld
    qt6-base-dev libgl-dev
    nlohmann-json3-dev libcli11-dev
    xvfb xauth dbus tzdata locales
    ser2net ansible-core
    imagemagick fonts-dejavu-core fonts-dejavu-extra
)

"$(dirname "$0")"/install_missing.sh "${packages[@]}"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
# The number-format tests run under a locale with a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "generating de_DE.UTF-8"
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
