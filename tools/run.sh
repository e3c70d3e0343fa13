#!/usr/bin/env bash
# Runs ZRNcom against the simulated device: installs what is missing, builds,
# starts zrnsim on a stable link under the build folder and ZRNcom told to
# look only there, so it finds the device by itself. Without a display it runs
# under Xvfb and saves a screenshot once the full read is in. Ctrl-C, or
# closing the window, stops both.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "${ZRN_JOBS:-2}" --target ZRNcom zrnsim

bin=$root/build/default/bin
run=$root/build/default/run
mkdir -p "$run"
link=$run/zrn-tty
debug=$run/ZRNcom.debug.log
shot=$run/ZRNcom.png
marker=$run/.started
rm -f "$shot"
touch "$marker"

pids=()
cleanup() {
    trap - EXIT INT TERM
    # Stop what this script started, newest first, by PID.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -f "$run/xvfb.fifo"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Wait for the first line of a process's output, so nothing starts before its
# peer is ready.
first_line() { # fifo seconds
    local line
    IFS= read -r -t "$2" line <"$1" || return 1
    printf '%s\n' "$line"
}

headless=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    headless=1
    mkfifo -m 600 "$run/xvfb.fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/xvfb.fifo" 2>"$run/Xvfb.log" &
    pids+=($!)
    number=$(first_line "$run/xvfb.fifo" 20) || { echo "Xvfb did not start (see $run/Xvfb.log)" >&2; exit 1; }
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY
    echo "no display: running under Xvfb on $DISPLAY"
fi

mkfifo -m 600 "$run/zrnsim.fifo"
"$bin/zrnsim" --link "$link" >"$run/zrnsim.fifo" &
pids+=($!)
tty=$(first_line "$run/zrnsim.fifo" 10) || { echo "zrnsim did not start" >&2; exit 1; }
rm -f "$run/zrnsim.fifo"
echo "zrnsim: $tty, linked as $link"

cd "$run" # ZRNcom reads ./ZRNcom.ini from here, when there is one
ZRNCOM_PORTS=$link ZRNCOM_DEBUG=1 "$bin/ZRNcom" -LOG_COMM "$@" 2>"$debug" &
zrncom=$!
pids+=($zrncom)
echo "ZRNcom started (PID $zrncom); its debug output goes to $debug"

traffic_log() { find "$bin" -maxdepth 1 -name '*.LOG' -newer "$marker" -printf '%T@ %p\n' | sort -n | tail -n 1 | cut -d' ' -f2-; }

if [ "$headless" -eq 1 ]; then
    # The full read's own clock reply leaves the device texts alone (as after an
    # edit); the next one, queued behind the whole read, fills them.
    replies=$(grep -c -m 2 'ProcessReadClockResponse' < <(timeout 60 tail -n +1 -f --pid="$zrncom" "$debug") || true)
    if [ "$replies" = 2 ]; then
        import -window root -trim +repage "$shot"
        echo "screenshot: $shot"
    else
        echo "the full read did not complete within 60 s (see $debug)" >&2
    fi
fi
echo "traffic log: $(traffic_log)"
echo "running; Ctrl-C (or closing the window) stops ZRNcom and zrnsim"
wait "$zrncom" || true
