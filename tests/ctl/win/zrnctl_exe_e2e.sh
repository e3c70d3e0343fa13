#!/usr/bin/env bash
# zrnctl.exe under wine against zrnsim behind COM1: a plan stored, read back
# and exported again byte for byte, and two ports at once (one copy of zrnctl
# per port, COM9 missing). Usage: zrnctl_exe_e2e.sh ZRNSIM BIN_DIR PREFIX COM1_LINK
set -euo pipefail
zrnsim=$1 bindir=$2 prefix=$3 link=$4
source "$(dirname "$0")/../../link/win/zrnsim_on_com1.sh"

work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "zrnctl_exe_e2e: $*" >&2; cat "$work"/out 2>/dev/null >&2 || true; exit 1; }

start_zrnsim_on_com1 || fail "no zrnsim behind COM1"
export_wine_environment
unset DISPLAY WAYLAND_DISPLAY
cat >"$work/plan.json" <<'PLAN'
{
  "zrn_plan": 1,
  "schedules": [
    {"schedule": 1, "status": "active", "start": "2030-03-03T07:00:00", "stop": "2030-03-10T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
    {"schedule": 2, "status": "empty"},
    {"schedule": 3, "status": "inactive", "start": "2030-04-01T00:00:00", "stop": "2030-04-08T00:00:00", "interval": "01:00:00", "valve": "01:00", "hold": "01:00", "pump": "01:00"},
    {"schedule": 4, "status": "empty"}
  ]
}
PLAN
cd "$work"
zrnctl() { timeout 60 wine "$bindir/zrnctl.exe" "$@" </dev/null; }

zrnctl --port COM1 plan import plan.json >out 2>&1 || fail "import"
grep -q "^COM1: holds the plan, read back" out || fail "import report"
# The backup and the journal in %LOCALAPPDATA%\ZRNcom, and nothing sent a second time.
grep -q "^  backup: .*ZRNcom.backups.ZRNSIM-ZRN100-207-SIM0001_[0-9T]*Z.*\.json" out || fail "backup"
if grep -q "warning:" out; then fail "state files"; fi
zrnctl --port COM1 plan import plan.json >out 2>&1 || fail "second import"
grep -q "^COM1: holds the plan already; nothing sent" out || fail "second import sent"
zrnctl --port COM1 log >out 2>&1 || fail "log"
grep -q " zrnctl COM1 (.*SIM0001, firmware .*): schedule 1 verified: " out || fail "journal"
zrnctl --port COM1 plan export exported.json >out 2>&1 || fail "export"
cmp -s plan.json exported.json || fail "export differs from the plan: $(cat exported.json)"

status=0
zrnctl --port COM1 --port COM9 clock show >out 2>&1 || status=$?
[ "$status" = 1 ] || fail "two ports, one missing: status $status"
grep -q "^COM1: clock " out && grep -q "^COM9: FAILED: " out || fail "two ports report"
grep -q "^2 devices: 1 done, 1 failed" out || fail "two ports summary"
echo "zrnctl.exe: plan stored on COM1 with a backup and journal lines, exported byte for byte; COM1 and COM9 at once"
