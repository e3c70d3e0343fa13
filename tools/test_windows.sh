#!/usr/bin/env bash
# Builds ZRNcom.exe, ZRNComDll.dll and their tests with mingw-w64 and runs them
# under wine, with a pseudo-terminal behind COM1; then checks the zip's
# contents. Installs what is missing (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
    nlohmann-json3-dev libcli11-dev ser2net iproute2 nsis groff-base)
tools/install_missing.sh "${packages[@]}"

# The prefix lives in the build tree; no X server, no messages from wine.
export WINEPREFIX=$PWD/build/mingw/wine/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# tools/test.sh passes its configuration (line tables only in CI).
# shellcheck disable=SC2086
cmake --preset mingw ${ZRN_CONFIG:--DZRN_WERROR=ON} >/dev/null
# The prefix first: the test programs are listed by running them under wine.
cmake --build --preset mingw --target wine_prefix
# One server for the whole run, its services started here with their output
# going nowhere: otherwise CTest waits for what the first test left running.
# (One already serving this prefix serves as well.)
wineserver -p >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null
cmake --build --preset mingw -j "$(nproc)"
# The installer's test installs it into a prefix of its own.
cmake --build --preset mingw --target installer
# Each test has its own time-out; this bounds the run as a whole.
timeout 900 ctest --preset mingw --timeout 120

# The zip holds the programs, the library, its header and its import library.
contents=$(tools/package_windows.sh)
for f in ZRNcom.exe zrnctl.exe ZRNComDll.dll include/ZRNComDll.h lib/libZRNComDll.dll.a; do
    grep -q -- "-win64/$f\$" <<<"$contents" || { echo "the Windows zip lacks $f" >&2; exit 1; }
done
grep "^package: " <<<"$contents"
