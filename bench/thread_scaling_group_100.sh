#!/usr/bin/env bash
# Thread scaling of the 100-pile group benchmark (bench/run_group_100.sh)
# against the machine's own ceiling. Per round: one run on one thread
# (time T1), one run on THREADS threads (TN), and THREADS one-thread copies
# of the run side by side (each taking Tc, the ceiling the processors, their
# caches and memory allow). The speed-up of the threads is T1 / TN, the
# ceiling's THREADS T1 / Tc, and the ratio of the two Tc / (THREADS TN):
# 1 when the threads scale as well as separate copies. Prints each round's
# figures and the ratio for the wall time and for the time in the parallel
# loops (the force vectors and tangents), their mean with the smallest and
# largest round. Meaningful on an otherwise idle machine only.
#   usage: bench/thread_scaling_group_100.sh [BUILD_DIR] [THREADS] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
threads="${2:-8}"
rounds="${3:-1}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# "parallel wall" in seconds from one report of bench/run_group_100.sh.
figures() {
  local p w
  p="$(sed -n 's/^cases: serial [0-9.]* s, parallel \([0-9.]*\) s.*/\1/p' "$1")"
  w="$(sed -n 's/^Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$1" | awk -F: '{ print $(NF-1) * 60 + $NF }')"
  echo "$p $w"
}

results=""
for round in $(seq 1 "$rounds"); do
  "$root/bench/run_group_100.sh" "$build" 1 > "$work/one.txt"
  "$root/bench/run_group_100.sh" "$build" "$threads" > "$work/threads.txt"
  for copy in $(seq 1 "$threads"); do
    "$root/bench/run_group_100.sh" "$build" 1 > "$work/copy-$copy.txt" &
  done
  wait
  read -r p1 w1 <<< "$(figures "$work/one.txt")"
  read -r pn wn <<< "$(figures "$work/threads.txt")"
  pc=0 wc=0
  for copy in $(seq 1 "$threads"); do
    read -r p w <<< "$(figures "$work/copy-$copy.txt")"
    pc="$(echo "$pc + $p / $threads" | bc -l)"
    wc="$(echo "$wc + $w / $threads" | bc -l)"
  done
  printf "round %s: one thread %.2f s (parallel %.2f s), %s threads %.2f s (parallel %.2f s), %s copies %.2f s each (parallel %.2f s)\n" \
    "$round" "$w1" "$p1" "$threads" "$wn" "$pn" "$threads" "$wc" "$pc"
  printf "    speed-up of the threads %.2f (parallel %.2f), of the copies %.2f (parallel %.2f)\n" \
    "$(echo "$w1 / $wn" | bc -l)" "$(echo "$p1 / $pn" | bc -l)" \
    "$(echo "$threads * $w1 / $wc" | bc -l)" "$(echo "$threads * $p1 / $pc" | bc -l)"
  results+="$(echo "$wc / ($threads * $wn); $pc / ($threads * $pn)" | bc -l | paste -sd ' ' -)"$'\n'
done
echo "$results" | awk -v title="threads against copies" -v names="wall parallel" -f "$root/bench/round_spread.awk"
echo "threads $threads, rounds $rounds"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
