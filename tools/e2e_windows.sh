#!/usr/bin/env bash
# ZRNcom.exe under wine against zrnsim: the simulator's pseudo-terminal is
# the link behind the test prefix's COM1, ZRNcom.exe finds it through the
# registry's serial ports, does the full read and polls. Checks the program's
# traces and the traffic log beside ZRNComDll.dll, then stops both.
# Needs the Win32 dialogs in the build; without them it says so and exits 77.
# Set ZRNCOM_PORTS=COM1 to skip the scan. With ZRN_SCREENSHOT=1 the program
# runs on wine's X11 driver under Xvfb (in a copy of the test prefix) and the
# main window is saved as build/mingw/e2e/ZRNcom-windows.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset mingw -DZRN_WERROR=ON >/dev/null
if ! cmake --build --preset mingw --target help | grep -q '^zrnapp_win32_ui:'; then
    echo "skipped: this build has no Win32 dialogs (target zrnapp_win32_ui)"
    exit 77
fi
cmake --preset default >/dev/null
cmake --build --preset default -j "${ZRN_JOBS:-2}" --target zrnsim
cmake --build --preset mingw -j "${ZRN_JOBS:-2}" --target ZRNcom ZRNComDll wine_prefix

mingw=$root/build/mingw
bin=$mingw/bin
run=$mingw/e2e
link=$mingw/wine/com1 # COM1 of the prefix (tests/link/win/make_wine_prefix.sh)
debug=$run/ZRNcom.debug.log
marker=$run/.started
rm -rf "$run"
mkdir -p "$run"
touch "$marker"

export WINEPREFIX=$mingw/wine/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
shot=""

pids=()
cleanup() {
    trap - EXIT INT TERM
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "${ZRN_SCREENSHOT:-0}" = 1 ]; then
    shot=$run/ZRNcom-windows.png
    export WINEPREFIX=$mingw/wine/shot-prefix
    rm -rf "$WINEPREFIX"
    cp -a "$mingw/wine/prefix" "$WINEPREFIX"
    mkfifo -m 600 "$run/xvfb.fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/xvfb.fifo" 2>"$run/Xvfb.log" &
    pids+=($!)
    IFS= read -r -t 20 number <"$run/xvfb.fifo" || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$number"
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi

wineserver -p >/dev/null 2>&1 </dev/null
timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null

mkfifo -m 600 "$run/zrnsim.fifo"
"$root/build/default/bin/zrnsim" --link "$link" --baud 9600 >"$run/zrnsim.fifo" &
pids+=($!)
IFS= read -r -t 10 tty <"$run/zrnsim.fifo" || { echo "zrnsim did not start" >&2; exit 1; }
echo "zrnsim: $tty, behind COM1"

cd "$run" # ZRNcom reads .\ZRNcom.ini from here, when there is one
ZRNCOM_DEBUG=1 wine "$bin/ZRNcom.exe" -LOG_COMM 2>"$debug" </dev/null &
zrncom=$!
pids+=($zrncom)

fail() {
    echo "FAILED: $*" >&2
    echo "--- last traces ($debug)" >&2
    tail -n 30 "$debug" >&2
    exit 1
}
# The second clock reply comes after the whole read, from polling.
replies=$(grep -c -m 2 'ProcessReadClockResponse' < <(timeout 120 tail -n +1 -f --pid="$zrncom" "$debug") || true)
[ "$replies" = 2 ] || fail "no full read and poll within 120 s"

log=$(find "$bin" -maxdepth 1 -name '*.LOG' -newer "$marker" | head -n 1)
[ -n "$log" ] || fail "no traffic log beside ZRNComDll.dll"
# The probe acknowledged, the firmware asked once, polling's clock command.
for line in '?' 'ACK' 'F' 'C'; do
    grep -qxF -e "$line" -e "$line"$'\r' "$log" || fail "the traffic log $log lacks the line $line"
done
echo "passed: full read and polling through COM1; traffic log $log"

if [ -n "$shot" ]; then
    # The main dialog's caption; the window maps shortly after the read began.
    for _ in $(seq 1 50); do
        xdotool search --name '^QUORVANEX$' >/dev/null 2>&1 && break
        sleep 0.2
    done
    import -window root -trim +repage "$shot"
    echo "screenshot: $shot"
fi
