#!/usr/bin/env bash
# The Ansible collection quorvanex.zrn through Debian's ansible-playbook,
# against zrnsim on this machine: check mode sends no set command, the first
# run changes the device, the second sends nothing and changes nothing, and a
# device that is not there fails its host with zrnctl's own message.
# Usage: ansible_collection.sh ZRNCTL ZRNSIM COLLECTIONS_DIR
# Exits 77 (skipped) without ansible-playbook.
set -euo pipefail
zrnctl=$1 zrnsim=$2 collections=$3
here=$(cd "$(dirname "$0")" && pwd)

command -v ansible-playbook >/dev/null || { echo "no ansible-playbook: skipped"; exit 77; }
# The Python that runs Ansible (and so has its YAML), for the modules too.
python=$(sed -n '1s/^#! *//p' "$(command -v ansible-playbook)")

# Every module compiles, and its DOCUMENTATION, EXAMPLES and RETURN are YAML.
$python - "$collections"/ansible_collections/quorvanex/zrn/plugins <<'PY' || exit 1
import ast, pathlib, sys, yaml
for path in sorted(pathlib.Path(sys.argv[1]).rglob("*.py")):
    compile(path.read_text(), str(path), "exec")
    tree = ast.parse(path.read_text(), str(path))
    texts = {t.id: n.value.value for n in tree.body if isinstance(n, ast.Assign)
             for t in n.targets if isinstance(t, ast.Name) and isinstance(n.value, ast.Constant)}
    if path.parent.name == "modules":
        for name in ("DOCUMENTATION", "EXAMPLES", "RETURN"):
            if not isinstance(yaml.safe_load(texts.get(name, "")), (dict, list)):
                sys.exit("%s: no %s" % (path, name))
PY

work=$(mktemp -d)
sim_pids=()
cleanup() {
    for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "ansible_collection: $*" >&2
    [ -f "$work/out.json" ] && cat "$work/out.json" >&2
    exit 1
}

# The device's clock years off the PC's; schedule 3 active, SDI delay 42.
cat >"$work/state.txt" <<'STATE'
clock = 06/01/30 09:00:00
address = 3
delay = 42
schedule1 = D 06/02/27 08:00:00 06/09/27 08:00:00 01:00:00 00:01:00 00:01:00 00:01:00
schedule3 = A 06/10/27 08:00:00 06/17/27 08:00:00 00:30:00 00:02:00 00:01:00 00:01:00
STATE
cat >"$work/plan.json" <<'PLAN'
{
  "zrn_plan": 1,
  "schedules": [
    {"schedule": 1, "status": "active", "start": "2036-06-20T07:00:00", "stop": "2036-06-27T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
    {"schedule": 2, "status": "inactive", "start": "2036-07-01T00:00:00", "stop": "2036-07-02T00:00:00", "interval": "01:00:00", "valve": "00:30", "hold": "00:30", "pump": "00:30"},
    {"schedule": 3, "status": "empty"}
  ],
  "sdi": {"delay": 15}
}
PLAN
cat >"$work/clash.json" <<'PLAN'
{"zrn_plan": 1, "schedules": [{"schedule": 1, "status": "active", "start": "2036-06-20T07:00:00", "stop": "2036-06-27T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"}]}
PLAN

"$zrnsim" --state "$work/state.txt" --trace --link "$work/tty" >"$work/sim.out" 2>"$work/trace.txt" &
sim_pids+=($!)
# A second device that never answers.
"$zrnsim" --silent-after 0 --link "$work/silent" >/dev/null 2>&1 &
sim_pids+=($!)
# A third whose active schedule 3 the plan's schedule 1 would overlap.
echo "schedule3 = A 06/20/36 08:00:00 06/22/36 08:00:00 00:30:00 00:02:00 00:01:00 00:01:00" |
    cat "$work/state.txt" - >"$work/clash-state.txt"
"$zrnsim" --state "$work/clash-state.txt" --trace --link "$work/clash" >/dev/null \
    2>"$work/clash-trace.txt" &
sim_pids+=($!)
for _ in $(seq 50); do
    [ -e "$work/tty" ] && [ -e "$work/silent" ] && [ -e "$work/clash" ] && break
    sleep 0.1
done
[ -e "$work/tty" ] && [ -e "$work/silent" ] && [ -e "$work/clash" ] || fail "zrnsim did not start"

# site1 is the simulator; site2's port does not exist; site3 never answers.
cat >"$work/inventory.ini" <<INVENTORY
[sites]
site1 zrn_port=$work/tty
site2 zrn_port=$work/no-such-tty
site3 zrn_port=$work/silent
site4 zrn_port=$work/clash zrn_plan_file=$work/clash.json

[sites:vars]
ansible_connection=local
ansible_python_interpreter=$python
INVENTORY
mkdir -p "$work/tmp" "$work/home"
cat >"$work/ansible.cfg" <<CFG
[defaults]
stdout_callback = json
retry_files_enabled = false
local_tmp = $work/tmp
remote_tmp = $work/tmp
CFG

# The frames that set something: values after "|", a status or clock hold
# ("S1A", "S0D"), an address ("A5"); queries and the probe set nothing.
set_commands() { grep -cE '^> (.*\|.*|S.[AD0R]|A.)$' "${1:-$work/trace.txt}" || true; }

# Runs the playbook; its JSON report goes to out.json.
playbook() {
    local status=0
    env ANSIBLE_CONFIG="$work/ansible.cfg" ANSIBLE_HOME="$work/home" \
        ANSIBLE_COLLECTIONS_PATH="$collections" ANSIBLE_LOCAL_TEMP="$work/tmp" \
        ANSIBLE_REMOTE_TEMP="$work/tmp" ANSIBLE_NOCOLOR=1 ZRNCOM_PORTS= \
        XDG_STATE_HOME="$work/state" PATH="$(dirname "$zrnctl"):$PATH" \
        timeout 120 ansible-playbook -i "$work/inventory.ini" "$here/site.yml" \
        -e "plan=$work/plan.json" -e "zrnctl=$zrnctl" "$@" >"$work/out.json" </dev/null ||
        status=$?
    echo "$status"
}
# A task's result on a host, as Python sees it: task HOST TASK KEY.
task() {
    $python - "$work/out.json" "$@" <<'PY'
import json, sys
report, host, name, key = json.load(open(sys.argv[1])), sys.argv[2], sys.argv[3], sys.argv[4]
for task in report["plays"][0]["tasks"]:
    if task["task"]["name"] == name and host in task["hosts"]:
        print(task["hosts"][host].get(key))
        break
else:
    print("no such task")
PY
}
expect() { # expect HOST TASK KEY VALUE
    local got
    got=$(task "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "$1 $2 $3: $got, expected $4"
}

start=$SECONDS
status=$(playbook --check --diff)
[ "$status" = 2 ] || fail "check run: ansible-playbook exited $status, expected 2 (sites 2-4 failed)"
expect site1 plan changed True
expect site1 clock changed True
expect site1 info changed False
[ "$(set_commands)" = 0 ] || fail "check mode sent set commands: $(grep -E '^> ' "$work/trace.txt")"
diff=$(task site1 plan diff)
case "$diff" in *"schedule 1 status"*"sdi delay: 42"*) ;; *) fail "no diff shown: $diff" ;; esac
# site2 failed with zrnctl's words, and went no further.
expect site2 plan failed True
want=$(ZRNCOM_PORTS= "$zrnctl" --port="$work/no-such-tty" --json plan import "$work/plan.json" |
    $python -c 'import json, sys; print(json.load(sys.stdin)["results"][0]["message"])' || true)
[ -n "$want" ] || fail "zrnctl gave no message for the missing port"
expect site2 plan msg "$want"
expect site2 clock changed "no such task"
expect site3 plan failed True
# Its message is the one in zrnctl's report, which the module returns beside it.
task site3 plan result | $python -c '
import ast, sys
entry = ast.literal_eval(sys.stdin.read())
sys.exit(entry["result"] != "failed" or entry["message"] != sys.argv[1])' "$(task site3 plan msg)" ||
    fail "site3's message is not zrnctl's: $(task site3 plan msg), $(task site3 plan result)"
# A plan the import would refuse fails in check mode too, having sent nothing.
expect site4 plan failed True
case "$(task site4 plan msg)" in *"overlaps active schedule 3 on the device; nothing sent") ;;
*) fail "site4: $(task site4 plan msg)" ;; esac
[ "$(set_commands "$work/clash-trace.txt")" = 0 ] || fail "check mode sent set commands to site4"

status=$(playbook --limit site1)
[ "$status" = 0 ] || fail "first run: ansible-playbook exited $status"
expect site1 plan changed True
expect site1 clock changed True
expect site1 clock synced True
written=$(set_commands)
[ "$written" -gt 0 ] || fail "the first run sent no set command"

status=$(playbook --limit site1)
[ "$status" = 0 ] || fail "second run: ansible-playbook exited $status"
expect site1 plan changed False
expect site1 clock changed False
[ "$(set_commands)" = "$written" ] || fail "the second run sent set commands"
# The device now holds the plan, read back through zrn_info.
[ "$(task site1 info info | $python -c '
import ast, sys
info = ast.literal_eval(sys.stdin.read())
print(info["sdi"]["delay"], [s["status"] for s in info["schedules"]])')" = \
    "15 ['active', 'inactive', 'empty', 'empty']" ] || fail "the device does not hold the plan"

echo "quorvanex.zrn: check mode sent nothing, first run changed ($written set commands)," \
    "second run sent nothing, a missing, a silent device and a plan that does not fit failed their hosts; $((SECONDS - start)) s"
