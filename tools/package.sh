#!/usr/bin/env bash
# Builds the Debian package (programs, library, header, pkg-config and CMake
# files, desktop entry, icons, manual pages) and prints its path last.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh

# A package installs under /usr, where the library needs no search path.
cmake --preset default -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
# Only what the package holds: the tests are not needed for it.
cmake --build --preset default -j "$(nproc)" \
    --target ZRNcom zrnctl zrnsim ZRNComDll zrn_man_pages zrncom_icons
rm -f build/default/zrncom_*.deb
(cd build/default && cpack -G DEB >&2)
ls "$PWD"/build/default/zrncom_*.deb
