#!/bin/sh
# run.sh CONFIG_BENCH BARE_BENCH WORK_FOLDER [RUNS] [IDLE_SECONDS]
# Under Wine in a private X server: the first frame of config.exe's window
# against a bare window (medians of RUNS), then the CPU each spends per second
# while open, the window at speed 1 against the bare window moving one label.
set -eu
config=$1 bare=$2 work=$3 runs=${4:-11} idle=${5:-10}
mkdir -p "$work/game/data"
work=$(cd "$work" && pwd)  # Wine wants its prefix as an absolute path
cp "$config" "$bare" "$work/game/"
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

measure() {  # program args... -> the value it prints
    "$wine" "$work/game/$@" 2>/dev/null | tr -d '\r' | awk '{print $2}'
}
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

measure "$(basename "$bare")" >/dev/null  # the first start also loads Wine's own parts
: >"$work/config.txt"
: >"$work/bare.txt"
i=0
while [ $i -lt "$runs" ]; do
    measure "$(basename "$config")" >>"$work/config.txt"
    measure "$(basename "$bare")" >>"$work/bare.txt"
    i=$((i + 1))
done
app=$(median <"$work/config.txt")
ref=$(median <"$work/bare.txt")
echo "First frame, ms from entry (median of $runs): config.exe window $app, bare window $ref," \
    "ratio $(awk "BEGIN {printf \"%.2f\", $app / $ref}") (at most 1.20)"

appIdle=$(measure "$(basename "$config")" "$idle" | tail -1)
refIdle=$(measure "$(basename "$bare")" "$idle" label | tail -1)
echo "Idle CPU over $idle s, ms per s: config.exe window at speed 1 $appIdle," \
    "bare window moving one label $refIdle"
