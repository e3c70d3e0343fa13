# Sourced by the end-to-end scripts under wine (tests/app/platform/win, tests/ctl/win):
# zrnsim behind COM1's link, and wine's environment for the prefix.
# The caller sets zrnsim, link, prefix and work, and kills $sim_pid at the end.

# Starts zrnsim on LINK, its output and trace in $work; waits until the link is there.
start_zrnsim_on_com1() {
    if [ ! -x "$zrnsim" ]; then
        echo "zrnsim not found at $zrnsim: build the default preset first" >&2
        return 1
    fi
    "$zrnsim" --link "$link" --trace >"$work/sim.out" 2>"$work/trace" &
    sim_pid=$!
    for _ in $(seq 100); do
        [ -L "$link" ] && return 0
        sleep 0.1
    done
    echo "zrnsim made no link at $link" >&2
    return 1
}

export_wine_environment() {
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
