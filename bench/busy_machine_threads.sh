#!/usr/bin/env bash
# Whether threads asked for pay on a busy machine: the 100-pile group of
# bench/run_group_100.sh through pilecap-run with --threads THREADS and with
# --threads 1, in turn, while BUSY CPU-bound processes run. Each round prints
# both wall times with the threads each run used (the run log's processor
# line) and the ratio THREADS / 1; at the end the mean ratio with its smallest
# and largest round. The two runs' reports must be alike but for the timing
# and processor lines. The busy processes end with the script.
#   usage: bench/busy_machine_threads.sh [BUILD_DIR] [ROUNDS] [BUSY] [THREADS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-3}"
busy="${3:-8}"
threads="${4:-8}"
work="$(mktemp -d)"
source "$root/bench/busy_machine.sh"

"$root/bench/write_group_100_deck.sh" > "$work/group_100.inp"
start_busy_processes "$busy"

results=""
for round in $(seq 1 "$rounds"); do
  many="$work/many-$round" one="$work/one-$round"
  t_many="$(seconds "$build/pilecap-run" --threads "$threads" --quiet "$work/group_100.inp" "$many")"
  t_one="$(seconds "$build/pilecap-run" --threads 1 --quiet "$work/group_100.inp" "$one")"
  for report in "$many"/group_100.*.txt; do
    if ! diff -q <(grep -avE "$timing_lines" "$report") \
      <(grep -avE "$timing_lines" "$one/$(basename "$report")") > /dev/null; then
      echo "round $round: $(basename "$report") differs between the thread counts"
      exit 1
    fi
  done
  ratio="$(echo "$t_many / $t_one" | bc -l)"
  printf "round %s --threads %s %6.2f s (threads %s), --threads 1 %6.2f s (threads %s), ratio %.2f\n" \
    "$round" "$threads" "$t_many" "$(threads_used "$many/group_100.log.txt")" "$t_one" \
    "$(threads_used "$one/group_100.log.txt")" "$ratio"
  results+="$ratio"$'\n'
done
echo "$results" | awk -v title="--threads $threads / --threads 1" -v names="group_100" -f "$root/bench/round_spread.awk"
echo "busy processes $busy, rounds $rounds, processors $(nproc), wait: OMP_WAIT_POLICY=${OMP_WAIT_POLICY:-unset} GOMP_SPINCOUNT=${GOMP_SPINCOUNT:-unset}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
