#!/usr/bin/env bash
# zrnctl.exe under wine through a network gateway: Debian's ser2net serves
# zrnsim's terminal as RFC 2217 on a loopback port, and zrnctl.exe reads the
# device's information through it. Skipped (77) without ser2net.
# Usage: zrnctl_exe_rfc2217_e2e.sh ZRNSIM BIN_DIR PREFIX
set -euo pipefail
zrnsim=$1 bindir=$2 prefix=$3
source "$(dirname "$0")/../../link/win/zrnsim_on_com1.sh"
command -v ser2net >/dev/null || { echo "ser2net not installed: skipped"; exit 77; }

work=$(mktemp -d)
link=$work/zrnsim
sim_pid= gateway_pid=
# Ends a process of ours, waiting a bounded time before it is killed outright.
stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    stop "$gateway_pid"
    stop "$sim_pid"
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "zrnctl_exe_rfc2217_e2e: $*" >&2; cat "$work"/out "$work"/gateway.log 2>/dev/null >&2 || true; exit 1; }

listening() { [ -n "$(ss -Hltn "sport = :$1")" ]; }

[ -x "$zrnsim" ] || fail "zrnsim not found at $zrnsim: build the default preset first"
# A firmware of its own, so that the answer is known to come from this zrnsim.
echo "firmware = 03.14" >"$work/state"
"$zrnsim" --link "$link" --state "$work/state" >"$work/sim.out" 2>/dev/null &
sim_pid=$!
for _ in $(seq 100); do [ -L "$link" ] && break; sleep 0.1; done
[ -L "$link" ] || fail "zrnsim made no link at $link"

port=
for _ in $(seq 20); do
    candidate=$((20000 + RANDOM % 20000))
    listening "$candidate" || { port=$candidate; break; }
done
[ -n "$port" ] || fail "no free loopback port"
cat >"$work/ser2net.yaml" <<CONFIG
connection: &zrnsim
    accepter: telnet(rfc2217),tcp,127.0.0.1,$port
    connector: serialdev,$link,9600n81,local
CONFIG
ser2net -n -c "$work/ser2net.yaml" >"$work/gateway.log" 2>&1 </dev/null &
gateway_pid=$!
for _ in $(seq 100); do listening "$port" && break; sleep 0.1; done
listening "$port" || fail "ser2net does not listen on $port"

export_wine_environment
unset DISPLAY WAYLAND_DISPLAY
cd "$work"
name=rfc2217://127.0.0.1:$port
timeout 60 wine "$bindir/zrnctl.exe" --port "$name" info </dev/null >out 2>&1 || fail "info through ser2net"
grep -q "^$name: firmware 3:14, " out || fail "no firmware line for $name"
echo "zrnctl.exe: $name (ser2net, RFC 2217) read zrnsim's firmware"
