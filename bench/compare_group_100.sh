#!/usr/bin/env bash
# Before/after ratio of the 100-pile group benchmark (bench/run_group_100.sh)
# for two builds, measured in one run: the builds take turns, ROUNDS times
# each, so a busy machine slows both alike. Prints each round's figures and
# the ratio of the summed parallel times (the force vectors and tangents)
# and wall times, BEFORE over AFTER.
#   usage: bench/compare_group_100.sh BEFORE_BUILD AFTER_BUILD [THREADS] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
before="$1"
after="$2"
threads="${3:-1}"
rounds="${4:-2}"
declare -A parallel wall
parallel[before]=0 parallel[after]=0 wall[before]=0 wall[after]=0
for round in $(seq 1 "$rounds"); do
  for which in before after; do
    build="$before"
    [ "$which" = after ] && build="$after"
    report="$("$root/bench/run_group_100.sh" "$build" "$threads")"
    p="$(echo "$report" | sed -n 's/^cases: serial [0-9.]* s, parallel \([0-9.]*\) s.*/\1/p')"
    w="$(echo "$report" | sed -n 's/^Elapsed (wall clock) time (h:mm:ss or m:ss): //p' | awk -F: '{ print $(NF-1) * 60 + $NF }')"
    echo "round $round, $which: parallel $p s, wall $w s"
    echo "$report" | grep -E "^(Newton iterations|pile evaluations|result codes)" | sed 's/^/    /'
    parallel[$which]="$(echo "${parallel[$which]} + $p" | bc -l)"
    wall[$which]="$(echo "${wall[$which]} + $w" | bc -l)"
  done
done
printf "ratio before/after: parallel %.2f, wall %.2f (threads %s, rounds %s)\n" \
  "$(echo "${parallel[before]} / ${parallel[after]}" | bc -l)" "$(echo "${wall[before]} / ${wall[after]}" | bc -l)" \
  "$threads" "$rounds"
