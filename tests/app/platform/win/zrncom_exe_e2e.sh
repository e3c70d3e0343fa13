#!/usr/bin/env bash
# ZRNcom.exe under wine finds zrnsim on COM1 by itself, reads it once in full
# and polls it. Usage: zrncom_exe_e2e.sh ZRNSIM BIN_DIR PREFIX COM1_LINK [SCREENSHOT]
# With SCREENSHOT the program runs on an Xvfb display and the dialog is
# saved there as a PNG once the schedules are in.
set -euo pipefail
zrnsim=$1 bindir=$2 prefix=$3 link=$4 screenshot=${5:-}
source "$(dirname "$0")/../../../link/win/zrnsim_on_com1.sh"

work=$(mktemp -d)
sim_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_zrnsim_on_com1
export_wine_environment
if [ -z "$screenshot" ]; then
    unset DISPLAY WAYLAND_DISPLAY
fi
cd "$bindir"
shopt -s nullglob
logs=(./*.LOG)
logs_before=${#logs[@]}
wine ./ZRNcom.exe -LOG_COMM >"$work/program.out" 2>&1 &
program_pid=$!

# Found, read in full (the fourth schedule's last field), then polled.
wait_for() { # PATTERN SECONDS
    for _ in $(seq $(($2 * 10))); do
        grep -qx -- "$1" "$work/trace" && return 0
        sleep 0.1
    done
    echo "no '$1' from ZRNcom.exe within $2 s; zrnsim saw:" >&2
    tail -n 40 "$work/trace" >&2
    cat "$work/program.out" >&2
    return 1
}
wait_for "> S4P" 60
polls_before=$(grep -cx '> C' "$work/trace" || true)
for _ in $(seq 100); do
    [ "$(grep -cx '> C' "$work/trace" || true)" -ge $((polls_before + 2)) ] && break
    sleep 0.1
done
polls_after=$(grep -cx '> C' "$work/trace" || true)
if [ "$polls_after" -lt $((polls_before + 2)) ]; then
    echo "no polling after the full read: 'C' seen $polls_before then $polls_after times" >&2
    exit 1
fi

if [ -n "$screenshot" ]; then
    sleep 1 # the last list rows are drawn after the reply
    import -window root "$screenshot"
fi

# Every command of the full read went out once, in this order.
expected=(F B I L A S5V S5H S5P C)
for n in 1 2 3 4; do
    for field in '?' BD BT ED ET I V H P; do expected+=("S$n$field"); done
done
sent=$(sed -n 's/^> //p' "$work/trace")
at=0
mapfile -t lines <<<"$sent"
for want in "${expected[@]}"; do
    while [ "$at" -lt "${#lines[@]}" ] && [ "${lines[$at]}" != "$want" ]; do at=$((at + 1)); done
    if [ "$at" -ge "${#lines[@]}" ]; then
        echo "full read incomplete: '$want' missing; zrnsim saw:" >&2
        printf '%s\n' "${lines[@]}" >&2
        exit 1
    fi
    at=$((at + 1))
done
[ "$(grep -cx '> F' "$work/trace")" -eq 1 ] || { echo "the full read ran more than once" >&2; exit 1; }
# The traffic log lies beside the program.
logs=(./*.LOG)
if [ "${#logs[@]}" -le "$logs_before" ]; then
    echo "no new traffic log beside ZRNcom.exe" >&2
    exit 1
fi
echo "ZRNcom.exe: full read and $((polls_after - polls_before)) polls of C"
