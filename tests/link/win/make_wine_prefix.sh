#!/usr/bin/env bash
# Makes a fresh wine prefix for the Windows tests: no X server (the null
# graphics driver), COM1 mapped to LINK, where pty_bridge puts its
# pseudo-terminal. Usage: make_wine_prefix.sh PREFIX LINK
set -euo pipefail
prefix=$1
link=$2

export WINEPREFIX=$prefix WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# A server left from an earlier prefix at this path would serve the new one.
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
log=$prefix.log
{
    timeout 300 wineboot -i
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$link" /f
    # The port mapping takes effect when the server starts again.
    wineserver -w
    wine cmd /c exit
    wineserver -w
} >"$log" 2>&1 </dev/null
# Wine's own fonts (fonts-wine), so dialogs measure the same on every machine.
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
target=$(readlink "$prefix/dosdevices/com1" || true)
if [ "$target" != "$link" ]; then
    echo "COM1 of $prefix points to '$target', not $link; see $log" >&2
    exit 1
fi
