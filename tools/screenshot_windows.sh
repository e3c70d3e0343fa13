#!/usr/bin/env bash
# Shows ZRNcom.exe under wine on an Xvfb display against zrnsim, once it has
# read the device, and saves the screen into docs/main-window-windows.png.
# Needs the default build (for zrnsim) and the mingw build (tools/test_windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
zrnsim=${ZRNSIM:-$root/build/default/bin/zrnsim}
out=${1:-$root/docs/main-window-windows.png}

# A prefix of its own: the test prefix runs without a graphics driver.
prefix=$root/build/mingw/wine/shot-prefix
link=$root/build/mingw/wine/shot-com1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    {
        xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
            wineboot -i
            wine reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f
            wine reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Decorated /d Y /f
            wine reg add 'HKLM\\Software\\Wine\\Ports' /v COM1 /d '$link' /f
            wineserver -w"
    } >"$prefix.log" 2>&1 </dev/null
    # Wine's own fonts (fonts-wine): the dialog font and the caption buttons' glyphs.
    cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi

mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1024x768x24" \
    tests/app/platform/win/zrncom_exe_e2e.sh "$zrnsim" build/mingw/bin "$prefix" "$link" \
    "$out.full.png"
wineserver -k 2>/dev/null || true
# The dialog sits at the top-left of the screen.
convert "$out.full.png" -trim +repage "$out"
rm -f "$out.full.png"
echo "$out"
