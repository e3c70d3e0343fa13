#!/usr/bin/env bash
# The installer under wine, in a fresh prefix of its own (COM1 mapped as for the other
# Windows tests): a silent install for the user, its shortcut and Uninstall key, the
# installed ZRNcom.exe reading zrnsim behind COM1 and zrnctl.exe --version; an upgrade
# over it (one key, the user's files kept, zrnctl on the PATH); a silent uninstall
# (none of our files, no shortcut, no key, the PATH as before); then the same for all
# users, in short. Wine's user is an administrator whose programs run elevated, so
# /CURRENTUSER stands for a user without administrator rights.
# Usage: installer_e2e.sh SETUP VERSION ZRNSIM
set -euo pipefail
setup=$1 version=$2 zrnsim=$3
top=$(cd "$(dirname "$0")/../../.." && pwd)

work=$(mktemp -d)
prefix=$work/prefix
link=$work/com1
cleanup() {
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "installer_e2e: $*" >&2
    exit 1
}

[ -f "$setup" ] || fail "no $setup: build the target installer first"
[ -x "$zrnsim" ] || fail "zrnsim not found at $zrnsim: build the default preset first"
"$top/tests/link/win/make_wine_prefix.sh" "$prefix" "$link"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

users=("$prefix"/drive_c/users/*)
home=
for u in "${users[@]}"; do [ "${u##*/}" != Public ] && home=$u; done
dir=$home/AppData/Local/Programs/ZRNcom
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZRNcom.lnk"
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
ours=(ZRNcom.exe ZRNComDll.dll zrnctl.exe Uninstall.exe LICENSE.txt
    doc/ZRNcom.txt doc/zrnctl.txt doc/plan-format.md)

reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
value() { # ROOT NAME: the value NAME of our Uninstall key under ROOT
    reg_query "$1\\$uninstall_key\\ZRNcom" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
entries() { # how many entries "Apps" lists for ZRNcom, per user and for all users
    { reg_query "HKCU\\$uninstall_key" /s; reg_query "HKLM\\$uninstall_key" /s; } |
        grep -c "^ *DisplayName *REG_SZ *ZRNcom$" || true
}
user_files_kept() { [ -f "${logs[0]}" ] && [ -f "$dir/ZRNcom.ini" ]; }
user_path() { reg_query 'HKCU\Environment' /v Path | sed -n 's/^ *Path *REG_[A-Z_]* *//p'; }

# A PATH of the user's own, which the installer extends and the uninstaller restores;
# an entry that begins as ours does is not ours.
own_path="%USERPROFILE%\\bin;;C:\\users\\${home##*/}\\AppData\\Local\\Programs\\ZRNcom-old"
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$own_path" /f >/dev/null 2>&1

# Installed for the user, without questions.
timeout 120 wine "$setup" /S /CURRENTUSER || fail "silent install: status $?"
for f in "${ours[@]}"; do [ -f "$dir/$f" ] || fail "no $f in $dir"; done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
[ "$(value HKCU DisplayName)" = ZRNcom ] || fail "no Uninstall key under HKCU"
[ "$(value HKCU DisplayVersion)" = "$version" ] || fail "DisplayVersion $(value HKCU DisplayVersion)"
[ "$(value HKCU Publisher)" = QUORVANEX ] || fail "Publisher $(value HKCU Publisher)"
location=$(value HKCU InstallLocation)
[ "$(value HKCU DisplayIcon)" = "$location\\ZRNcom.exe,0" ] || fail "DisplayIcon"
size=$(value HKCU EstimatedSize)
[ $((size)) -gt 0 ] || fail "EstimatedSize '$size'"
[ "$(entries)" = 1 ] || fail "$(entries) entries in Apps after the install"
[ "$(user_path)" = "$own_path" ] || fail "PATH changed without being asked: $(user_path)"

# The installed programs work: ZRNcom.exe finds zrnsim behind COM1 and reads it.
"$top/tests/app/platform/win/zrncom_exe_e2e.sh" "$zrnsim" "$dir" "$prefix" "$link" ||
    fail "the installed ZRNcom.exe did not read zrnsim"
out=$(cd "$dir" && timeout 60 wine ./zrnctl.exe --version </dev/null | tr -d '\r')
[ "$out" = "zrnctl $version" ] || fail "zrnctl.exe --version: '$out'"

# An upgrade over it keeps the user's files and the one entry, also when run as
# administrator; /PATH ticks the box.
logs=("$dir"/*.LOG)
[ -f "${logs[0]}" ] || fail "no traffic log beside the installed program"
printf '[Settings]\r\nPort=1\r\n' >"$dir/ZRNcom.ini"
wine reg add "HKCU\\$uninstall_key\\ZRNcom" /v DisplayVersion /d 2.0.0.0 /f >/dev/null 2>&1
timeout 120 wine "$setup" /S /PATH || fail "silent upgrade: status $?"
for f in "${ours[@]}"; do [ -f "$dir/$f" ] || fail "no $f in $dir after the upgrade"; done
user_files_kept || fail "the upgrade removed the user's files"
[ "$(entries)" = 1 ] || fail "$(entries) entries in Apps after the upgrade"
[ "$(value HKCU DisplayVersion)" = "$version" ] || fail "DisplayVersion after the upgrade"
[ "$(user_path)" = "$own_path;$location" ] || fail "PATH after /PATH: $(user_path)"
[ "$(value HKCU ZrnctlOnPath)" = 0x1 ] || fail "the key does not say that zrnctl is on the PATH"

# Removed as "Apps" removes it: the uninstaller runs from a copy and returns at once.
timeout 60 wine "$(value HKCU UninstallString | tr -d '"')" /S ||
    fail "silent uninstall: status $?"
timeout 60 wineserver -w
for f in "${ours[@]}"; do [ ! -e "$dir/$f" ] || fail "$f left behind"; done
[ ! -e "$dir/doc" ] || fail "doc folder left behind"
user_files_kept || fail "the uninstall removed the user's files"
[ ! -e "$shortcut" ] || fail "Start-menu shortcut left behind"
[ "$(entries)" = 0 ] || fail "an entry in Apps left behind"
[ "$(user_path)" = "$own_path" ] || fail "PATH after the uninstall: $(user_path)"

# For all users (as administrator, into a folder of one's choice): the common Start
# menu, HKLM; and gone again.
timeout 120 wine "$setup" /S '/D=C:\Tools\ZRNcom' || fail "silent install for all users: status $?"
machine_dir="$prefix/drive_c/Tools/ZRNcom"
machine_shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ZRNcom.lnk"
for f in "${ours[@]}"; do [ -f "$machine_dir/$f" ] || fail "no $f in $machine_dir"; done
[ -f "$machine_shortcut" ] || fail "no Start-menu shortcut for all users"
[ "$(value HKLM InstallLocation)" = 'C:\Tools\ZRNcom' ] || fail "no Uninstall key under HKLM"
[ "$(entries)" = 1 ] || fail "$(entries) entries in Apps after the install for all users"
timeout 60 wine "$(value HKLM UninstallString | tr -d '"')" /S ||
    fail "silent uninstall for all users: status $?"
timeout 60 wineserver -w
[ ! -e "$machine_dir" ] || fail "$machine_dir left behind"
[ ! -e "$machine_shortcut" ] || fail "Start-menu shortcut for all users left behind"
[ "$(entries)" = 0 ] || fail "an entry in Apps left behind by the uninstall for all users"
echo "installer: installed, read zrnsim, upgraded and removed, for the user and for all, in $SECONDS s"
