#!/usr/bin/env bash
# The engine on a busy machine through two hosts: pilecap-run, and the
# smallest host of the library (pilecap_minimal_host: it opens
# libpilecap.so and calls DUVIZU, with no thread count and no wait policy
# of the parallel runtime set). While BUSY CPU-bound processes run, each
# round runs examples/bent_2d.inp and the 100-pile group of
# bench/run_group_100.sh through both hosts in turn, and prints their wall
# times, the threads each run used (the run log's processor line) and the
# ratio host / pilecap-run, then the mean ratio per deck with the smallest
# and largest round. The two hosts' reports must be alike but for the timing
# and processor lines. The busy processes end with the script; keep the
# rounds few on a machine others share.
#   usage: bench/busy_machine_hosts.sh [BUILD_DIR] [ROUNDS] [BUSY]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-1}"
busy="${3:-8}"
work="$(mktemp -d)"
source "$root/bench/busy_machine.sh"

"$root/bench/write_group_100_deck.sh" > "$work/group_100.inp"
decks=("$root/examples/bent_2d.inp" "$work/group_100.inp")
start_busy_processes "$busy"

results=""
for round in $(seq 1 "$rounds"); do
  line=""
  for deck in "${decks[@]}"; do
    base="$(basename "${deck%.*}")"
    run_dir="$work/run-$round-$base" host_dir="$work/host-$round-$base"
    t_run="$(seconds "$build/pilecap-run" --quiet "$deck" "$run_dir")"
    mkdir -p "$host_dir"
    cp "$run_dir/Names.dat" "$host_dir/"
    t_host="$(seconds "$build/pilecap_minimal_host" "$build/libpilecap.so" "$host_dir")"
    for report in "$run_dir"/"$base".*.txt; do
      if ! diff -q <(grep -vE "$timing_lines" "$report") \
        <(grep -vE "$timing_lines" "$host_dir/$(basename "$report")") > /dev/null; then
        echo "round $round: $(basename "$report") differs between the hosts"
        exit 1
      fi
    done
    ratio="$(echo "$t_host / $t_run" | bc -l)"
    printf "round %s %-10s pilecap-run %6.2f s (threads %s), minimal host %6.2f s (threads %s), host/run %.2f\n" \
      "$round" "$base" "$t_run" "$(threads_used "$run_dir/$base.log.txt")" "$t_host" \
      "$(threads_used "$host_dir/$base.log.txt")" "$ratio"
    line+="$ratio "
  done
  results+="$line"$'\n'
done
echo "$results" | awk -v title="minimal host / pilecap-run" -v names="bent_2d group_100" -f "$root/bench/round_spread.awk"
echo "busy processes $busy, rounds $rounds, processors $(nproc)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
