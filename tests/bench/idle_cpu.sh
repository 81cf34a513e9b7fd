#!/usr/bin/env bash
# Idle cost of the running program under Wine, against a baseline in the same
# run, a plain program idling in its message loop (a probe window): the CPU
# time the process and the wineserver use, and the wake-ups of the process
# (voluntary context switches of all its threads), over a window of idle
# time. The program's watcher process counts with it, and is shown alone.
# Usage: tests/bench/idle_cpu.sh [seconds]   (default 60)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/lib.sh"
. "$here/../e2e/rombo.sh"
seconds=${1:-60}
ticks=$(getconf CLK_TCK)

cpu_ticks() { cat "${@/#//proc/}" 2>/dev/null | awk '{n += $14 + $15} END {print n + 0}'; }
server_pid() { pgrep -n -f "wineserver" ; }
# Voluntary context switches summed over the process's threads: each is a
# wake-up after a wait.
wakeups() {
    local p
    for p; do cat /proc/"$p"/task/*/status 2>/dev/null; done |
        awk '/^voluntary_ctxt_switches/ {n += $2} END {print n + 0}'
}
# The watcher: the program started again with its switch.
watcher_pid() { pgrep -f 'RomboDesktop.exe /watch' | head -n1; }

measure() {  # pid... -> "process_ms server_ms wakeups" over $seconds, summed over the pids
    local server p0 s0 w0 p1 s1 w1
    server=$(server_pid)
    p0=$(cpu_ticks "$@"); s0=$(cpu_ticks "$server"); w0=$(wakeups "$@")
    sleep "$seconds"
    p1=$(cpu_ticks "$@"); s1=$(cpu_ticks "$server"); w1=$(wakeups "$@")
    echo "$(( (p1 - p0) * 1000 / ticks )) $(( (s1 - s0) * 1000 / ticks )) $((w1 - w0))"
}

e2e_start 1024x768
e2e_window 100 100 300 200 "baseline"
baseline_pid=$E2E_LAST_PID
sleep 2
read -r base_proc base_server base_wake < <(measure "$baseline_pid")

rombo_start
sleep 2
watcher=$(watcher_pid) || e2e_fail "no watcher process"
[[ -n "$watcher" ]] || e2e_fail "no watcher process"
e2e_log "watcher: pid $watcher, $(tr "\0" " " <"/proc/$watcher/cmdline"), $(ls /proc/"$watcher"/task | wc -l) threads"
watcher_w0=$(wakeups "$watcher"); watcher_c0=$(cpu_ticks "$watcher")
read -r rombo_proc rombo_server rombo_wake < <(measure "$ROMBO_PID" "$watcher")
echo "watcher alone over ${seconds} s: $(( ($(cpu_ticks "$watcher") - watcher_c0) * 1000 / ticks )) CPU ms," \
     "$(( $(wakeups "$watcher") - watcher_w0 )) wake-ups"

echo "idle over ${seconds} s (CPU ms): baseline window ${base_proc} + wineserver ${base_server}," \
     "${base_wake} wake-ups; RomboDesktop with its watcher ${rombo_proc} + wineserver ${rombo_server}, ${rombo_wake} wake-ups"
awk -v b=$((base_proc + base_server)) -v r=$((rombo_proc + rombo_server)) -v s="$seconds" \
    -v bw="$base_wake" -v rw="$rombo_wake" 'BEGIN {
    printf "RomboDesktop idle: %.2f%% of one core (with its wineserver work); %.2fx the baseline (%.2f%%)\n",
           100 * r / (s * 1000), (b > 0 ? r / b : r), 100 * b / (s * 1000)
    printf "wake-ups: %.2f a second, %.2f a second above the baseline (%.2f)\n",
           rw / s, (rw - bw) / s, bw / s }'
