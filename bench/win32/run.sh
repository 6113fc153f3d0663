#!/bin/sh
# run.sh CONFIG_BENCH FLOOR_BENCH BARE_BENCH WORK_FOLDER [RUNS] [IDLE_SECONDS] [IDLE_RUNS]
# Under Wine in a private X server, config.exe's window against the floor (the
# same window made the plainest way), with a bare window as a second line:
# the first frame (median and range of RUNS), then the CPU each spends per
# second while open (of IDLE_RUNS), the two windows at speed 1 and the bare one
# moving one label. The programs take turns round after round, each round
# starting with the next, so that the shared machine's load falls on all alike;
# the ratio of each round, its three runs close together, is given too.
set -eu
config=$1 floor=$2 bare=$3 work=$4 runs=${5:-15} idle=${6:-10} idleRuns=${7:-5}
mkdir -p "$work/game/data"
work=$(cd "$work" && pwd)  # Wine wants its prefix as an absolute path
cp "$config" "$floor" "$bare" "$work/game/"
# floor.cpp holds these values too.
printf '2\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n1\r\n1\r\n.75\r\n1\r\n.5\r\n1\r\n203\r\n205\r\n57\r\n30\r\n32\r\n' \
    >"$work/game/trelvane.cfg"

rm -f "$work/display"
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$work/display" 2>/dev/null &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$work/runtime" && chmod 700 "$work/runtime" && export XDG_RUNTIME_DIR="$work/runtime"
# Wine's 64-bit loader itself: Debian's launcher takes the 32-bit one where wine32 is installed.
wine=/usr/lib/wine/wine64
[ -d "$WINEPREFIX" ] || "$wine" wineboot -i >/dev/null 2>&1

config=$(basename "$config") floor=$(basename "$floor") bare=$(basename "$bare")
measure() {  # program args... -> the value it prints
    "$wine" "$work/game/$@" 2>/dev/null | tr -d '\r' | awk '{print $2}'
}
median() { sort -n "$1" | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
stats() {  # file [decimals] -> median (lowest–highest)
    sort -n "$1" | awk -v m="$(median "$1")" -v d="${2:-1}" \
        '{v[NR]=$1} END {f="%." d "f"; printf f " (" f "–" f ")", m, v[1], v[NR]}'
}
ratio() { awk "BEGIN {printf \"%.2f\", $(median "$1") / $(median "$2")}"; }
roundRatio() {  # the ratio round by round -> median (lowest–highest)
    paste "$1" "$2" | awk '{printf "%.4f\n", $1 / $2}' >"$work/ratios.txt"
    stats "$work/ratios.txt" 2
}
# rounds COUNT KIND ARGS...: each round runs the three programs, from a different one each time.
rounds() {
    count=$1 kind=$2
    shift 2
    : >"$work/$kind-config.txt"
    : >"$work/$kind-floor.txt"
    : >"$work/$kind-bare.txt"
    i=0
    while [ "$i" -lt "$count" ]; do
        for turn in 0 1 2; do
            case $(((i + turn) % 3)) in
            0) name=config program=$config ;;
            1) name=floor program=$floor ;;
            2) name=bare program=$bare ;;
            esac
            label=""  # while open, the bare window moves one label as the others move their messages
            [ "$name" = bare ] && [ $# -gt 0 ] && label=label
            value=$(measure "$program" "$@" $label | tail -1)
            [ -n "$value" ] || { echo "$program gave no figure" >&2; exit 1; }
            echo "$value" >>"$work/$kind-$name.txt"
        done
        i=$((i + 1))
    done
}

measure "$bare" >/dev/null  # the first start also loads Wine's own parts
rounds "$runs" first
echo "First frame, ms from entry, median (range) of $runs: config.exe window $(stats "$work/first-config.txt")," \
    "floor $(stats "$work/first-floor.txt"), ratio $(ratio "$work/first-config.txt" "$work/first-floor.txt")" \
    "(at most 1.10; round by round $(roundRatio "$work/first-config.txt" "$work/first-floor.txt"))"
echo "    bare window $(stats "$work/first-bare.txt"), ratio to config.exe" \
    "$(ratio "$work/first-config.txt" "$work/first-bare.txt")"

rounds "$idleRuns" idle "$idle"
echo "Idle CPU, ms per s over $idle s, median (range) of $idleRuns: config.exe window at speed 1" \
    "$(stats "$work/idle-config.txt"), floor at speed 1 $(stats "$work/idle-floor.txt")," \
    "ratio $(ratio "$work/idle-config.txt" "$work/idle-floor.txt")" \
    "(at most 1.10; round by round $(roundRatio "$work/idle-config.txt" "$work/idle-floor.txt"))"
echo "    bare window moving one label $(stats "$work/idle-bare.txt")"
