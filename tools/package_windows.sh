#!/usr/bin/env bash
# Builds the Windows zip (ZRNcom.exe, zrnctl.exe, ZRNComDll.dll, its header and import
# library) and the installer (NSIS) with mingw-w64, in one command. Installs what is
# missing (Debian 12). Both land in build/mingw/; nothing here needs wine.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build googletest g++-mingw-w64-x86-64-posix
    nlohmann-json3-dev libcli11-dev nsis groff-base)
tools/install_missing.sh "${packages[@]}"

cmake --preset mingw -DZRN_WERROR=ON >/dev/null
# Only what the zip holds: the test programs are listed by running them under wine.
cmake --build --preset mingw --target ZRNcom zrnctl ZRNComDll -j "$(nproc)"
(cd build/mingw && rm -f ZRNcom-*-win64.zip && cpack -G ZIP >/dev/null)
zip=$(ls build/mingw/ZRNcom-*-win64.zip)
cmake -E tar tf "$zip"
echo "package: $zip ($(stat -c %s "$zip") bytes)"
cmake --build --preset mingw --target installer >/dev/null
setup=$(ls build/mingw/ZRNcom-*-win64-setup.exe)
echo "package: $setup ($(stat -c %s "$setup") bytes)"
