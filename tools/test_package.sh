#!/usr/bin/env bash
# The package as a user meets it: built, installed with apt-get, the installed
# ZRNcom run by an ordinary user against the installed zrnsim, the library used
# from C through pkg-config and find_package, then removed without a trace.
# Runs as root (or with sudo); reuses the default build.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
user=zrncom-user
work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    $SUDO rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test_package: $*" >&2; exit 1; }

deb=$(tools/package.sh | tail -n 1)
echo "package: $deb, $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get remove -y -qq zrncom >/dev/null 2>&1 || true
$SUDO apt-get install -y -qq "$deb" >/dev/null

# Every file of the package is where it belongs.
for f in /usr/bin/ZRNcom /usr/bin/zrnctl /usr/bin/zrnsim /usr/include/ZRNComDll.h \
    /usr/share/applications/zrncom.desktop /usr/share/icons/hicolor/48x48/apps/zrncom.png \
    /usr/share/icons/hicolor/256x256/apps/zrncom.png \
    /usr/share/man/man1/ZRNcom.1.gz /usr/share/man/man1/zrnsim.1.gz \
    /usr/share/man/man1/zrnctl.1.gz /usr/share/doc/zrncom/plan-format.md \
    /usr/share/doc/zrncom/remote-devices.md; do
    [ -e "$f" ] || fail "missing $f"
done
lib=$(pkg-config --variable=libdir ZRNComDll)
[ -L "$lib/libZRNComDll.so" ] && [ -L "$lib/libZRNComDll.so.2" ] || fail "no version links in $lib"
objdump -p "$lib/libZRNComDll.so" | grep -q 'SONAME *libZRNComDll.so.2' || fail "no SONAME"
found=$(ldd /usr/bin/ZRNcom | sed -n 's/.*libZRNComDll.so.2 => \([^ ]*\).*/\1/p')
[ -n "$found" ] && [ "$(realpath "$found")" = "$(realpath "$lib/libZRNComDll.so.2")" ] ||
    fail "ZRNcom does not find the library ($found)"
/usr/bin/ZRNcom --version | grep -q '^ZRNcom 2\.' || fail "--version"
/usr/bin/ZRNcom --help | grep -q -- '-NO_SCAN_COMM_PORTS' || fail "--help"
/usr/bin/zrnctl --version | grep -q '^zrnctl 2\.' || fail "zrnctl --version"

# An ordinary user: the program's folder is not theirs, so the log goes to
# their state folder.
id -u "$user" >/dev/null 2>&1 || $SUDO useradd --create-home --shell /bin/sh "$user"
home=$(getent passwd "$user" | cut -d: -f6)
$SUDO rm -rf "$home/.local/state/ZRNcom"
$SUDO chmod 0777 "$work"
$SUDO runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen WORK="$work" bash -euo pipefail -c '
    cd "$WORK"
    mkfifo sim.out
    zrnsim > sim.out &
    echo $! > sim.pid
    exec 3< sim.out
    read -r port <&3                  # the simulator is ready once it names its terminal
    ZRNCOM_DEBUG=1 ZRNCOM_PORTS="$port" /usr/bin/ZRNcom -LOG_COMM 2> zrncom.err &
    program=$!
    found=0
    if grep -q -m 1 "RES S4P" <(timeout 30 tail -n +1 -f zrncom.err); then found=1; fi
    kill "$program"
    wait "$program" 2>/dev/null || true
    # The port is free again: the installed zrnctl reads the same device.
    zrnctl --port "$port" info > zrnctl.out 2>&1 || { cat zrnctl.out; echo "zrnctl info failed" >&2; exit 1; }
    kill "$(cat sim.pid)"
    [ "$found" = 1 ] || { cat zrncom.err; echo "no full read" >&2; exit 1; }
    grep -q "Traffic log in $HOME/.local/state/ZRNcom/" zrncom.err || { echo "no log note" >&2; exit 1; }
    log=$(ls "$HOME"/.local/state/ZRNcom/*.LOG)
    grep -q "^S4P" "$log" && grep -q "^ACK" "$log" || { echo "log without the full read" >&2; exit 1; }
'
echo "installed ZRNcom, user $user: full read; traffic log in $home/.local/state/ZRNcom/; zrnctl info"

# The library from C, through pkg-config and through find_package.
cat > "$work/probe.c" <<'C'
#include <ZRNComDll.h>
#include <stdio.h>

static intptr_t Ignore(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    (void)self, (void)msg, (void)wParam, (void)lParam;
    return 0;
}

int main(void) {
    ZrnWindow window = {Ignore};
    /* No log, and no port of that name: both answer failure without harm. */
    if (fnZrnLog(false) != 0 || fnZrnOpen(&window, "/dev/zrn-none:9600,N,8,1") != 0)
        return 1;
    fnZrnClose();
    puts("ZRNComDll ok");
    return 0;
}
C
cc -Wall -Wextra -Werror -o "$work/probe" "$work/probe.c" $(pkg-config --cflags --libs ZRNComDll)
"$work/probe" | grep -q "ZRNComDll ok" || fail "pkg-config probe"
mkdir "$work/cmake"
cat > "$work/cmake/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.25)
project(probe C)
find_package(ZRNComDll 2 REQUIRED)
add_executable(probe ../probe.c)
target_link_libraries(probe PRIVATE ZRNComDll::ZRNComDll)
CM
cmake -S "$work/cmake" -B "$work/cmake/build" -G Ninja >/dev/null
cmake --build "$work/cmake/build" >/dev/null
"$work/cmake/build/probe" | grep -q "ZRNComDll ok" || fail "find_package probe"
echo "library: linked from C through pkg-config and find_package"

# Removed, nothing of it is left.
files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$')
$SUDO apt-get remove --purge -y -qq zrncom >/dev/null
for f in $files; do
    [ ! -e "$f" ] && [ ! -L "$f" ] || fail "left behind: $f"
done
[ ! -e "$lib/cmake/ZRNComDll" ] || fail "left behind: $lib/cmake/ZRNComDll"
! dpkg -s zrncom >/dev/null 2>&1 || fail "still registered"
echo "removed: none of its $(echo "$files" | wc -l) files left"
