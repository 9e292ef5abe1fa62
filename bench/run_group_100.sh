#!/usr/bin/env bash
# End-to-end run of a generated 3D group of 100 piles (10 x 10 at 6 ft, soft
# clay over sand, generated axial and torsional curves) with 10 load cases:
# prints the wall time, the share of the per-case time spent in parallel
# regions (summed from the run log's timing lines) and the peak resident
# memory, both from /usr/bin/time -v. The lateral closure tolerance is
# 1e-7 in, well below the cap's lateral movement in the smallest case.
# With OUTDIR the reports stay there (the folder is made; bench/
# compare_group_100.sh compares them between builds), else they go to a
# temporary folder removed at the end.
#   usage: bench/run_group_100.sh [BUILD_DIR] [THREADS] [CLOSURE_TOLERANCE] [OUTDIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
threads="${2:-0}"  # 0: the engine's automatic thread count
closure="${3:-1.0E-7}"  # lateral closure tolerance, in
if [ -n "${4:-}" ]; then
  out="$4"
  mkdir -p "$out"
else
  out="$(mktemp -d)"
  trap 'rm -rf "$out"' EXIT
fi
deck="$out/group_100.inp"

"$root/bench/write_group_100_deck.sh" "$threads" "$closure" > "$deck"

status=0
/usr/bin/time -v "$build/pilecap-run" "$deck" "$out" > "$out/run.txt" 2> "$out/time.txt" || status=$?
cat "$out/run.txt"
[ "$status" -eq 0 ] || echo "run ended with exit code $status"

# Timing lines of every case: "Serial processing :     0.068 sec" (also ms, min, hr).
# Every Newton iteration ("ITERATION    n" on the run log) evaluates each pile
# 14 times: once for the force vector, 13 times for its tangent; both run in
# the parallel regions, so their time over the counts gives the time per
# iteration and per pile evaluation.
awk -v piles=100 -v evaluations_per_pile=14 '
  function seconds(v, u) { return u == "ms" ? v / 1000 : u == "min" ? v * 60 : u == "hr" ? v * 3600 : v }
  /Serial processing :/ { serial += seconds($4, $5) }
  /Paral. processing :/ { parallel += seconds($4, $5) }
  /Print. processing :/ { print_time += seconds($4, $5) }
  /^ +ITERATION +[0-9]+$/ { iterations++ }
  END {
    total = serial + parallel + print_time
    printf "cases: serial %.3f s, parallel %.3f s, printing %.3f s\n", serial, parallel, print_time
    if (total > 0) printf "parallel-time share: %.1f %%\n", 100 * parallel / total
    if (iterations > 0) {
      printf "Newton iterations: %d, %.2f ms each\n", iterations, 1000 * parallel / iterations
      printf "pile evaluations: %d, %.2f us each\n", iterations * piles * evaluations_per_pile,
        1e6 * parallel / (iterations * piles * evaluations_per_pile)
    }
  }' "$out/group_100.log.txt"
grep -E "Number Processors" "$out/group_100.log.txt" | tail -1 | sed 's/^ *//'
grep -E "Elapsed \(wall clock\)|User time|Maximum resident set size" "$out/time.txt" | sed 's/^\t*//'
echo "result codes: $(grep -E '^ +[0-9]+ ' "$out/group_100.codes.txt" | sed 's/^ *//' | sort | uniq -c | sed 's/^ *//' | paste -sd ',' -)"
awk '/LOAD CASE :/ { c = $4 } /^ +[0-9]+ / && $1 != 1 { print "case " c ": " $0 }' "$out/group_100.codes.txt"
