#!/usr/bin/env bash
# Idle cost of the running program under Wine: CPU time that RomboDesktop.exe
# and the wineserver use over a window of idle time, against a baseline in
# the same run, a plain program idling in its message loop (a probe window).
# Usage: tests/bench/idle_cpu.sh [seconds]   (default 30)
set -u
here=$(cd "$(dirname "$0")" && pwd)
# The probe a build leaves behind, unless one is named.
[[ -n "${ROMBO_PROBE:-}" ]] || ROMBO_PROBE=$here/../../build/win64/tests/e2e/probe/probe.exe
export ROMBO_PROBE
. "$here/../e2e/lib.sh"
. "$here/../e2e/rombo.sh"
seconds=${1:-30}
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
server_pid() { pgrep -n -f "wineserver" ; }

measure() {  # pid -> "process_ms server_ms" over $seconds
    local pid=$1 server p0 s0 p1 s1
    server=$(server_pid)
    p0=$(cpu_ticks "$pid"); s0=$(cpu_ticks "$server")
    sleep "$seconds"
    p1=$(cpu_ticks "$pid"); s1=$(cpu_ticks "$server")
    echo "$(( (p1 - p0) * 1000 / ticks )) $(( (s1 - s0) * 1000 / ticks ))"
}

e2e_start 1024x768
e2e_window 100 100 300 200 "baseline"
baseline_pid=$E2E_LAST_PID
sleep 2
read -r base_proc base_server < <(measure "$baseline_pid")

rombo_start
sleep 2
read -r rombo_proc rombo_server < <(measure "$ROMBO_PID")

echo "idle over ${seconds} s (CPU ms): baseline window ${base_proc} + wineserver ${base_server};" \
     "RomboDesktop ${rombo_proc} + wineserver ${rombo_server}"
awk -v b=$((base_proc + base_server)) -v r=$((rombo_proc + rombo_server)) -v s="$seconds" 'BEGIN {
    printf "RomboDesktop idle: %.2f%% of one core (with its wineserver work); %.1fx the baseline (%.2f%%)\n",
           100 * r / (s * 1000), (b > 0 ? r / b : r), 100 * b / (s * 1000) }'
