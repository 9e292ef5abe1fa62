#!/usr/bin/env bash
# Before/after ratio of the 100-pile group benchmark (bench/run_group_100.sh)
# for two builds, measured in one run: the builds take turns, ROUNDS times
# each, the one to start a round alternating, so a busy machine slows both
# alike. Both write their reports into the same folder name (the reports
# hold it), which is kept per run; every output file of every run is
# compared with the first run of BEFORE, apart from the lines that name the
# date, the timing and the processor count. Prints each run's figures, the
# ratio BEFORE/AFTER of each round for the summed parallel time (the force
# vectors and tangents), the wall time and the processor time (user), their
# mean with the smallest and largest round, and whether every output file
# is identical.
#   usage: bench/compare_group_100.sh BEFORE_BUILD AFTER_BUILD [THREADS] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
before="$1"
after="$2"
threads="${3:-1}"
rounds="${4:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A report without the lines that may differ between two runs of one model.
comparable() {
  grep -a -v -E "Execution Time|Number Processors|processing :|Date:| proc\.\)" "$1" || true
}

# Runs one build into $work/run and keeps the reports as $work/<label>.
# Prints "parallel wall user" in seconds.
run_one() {
  local build="$1" label="$2"
  rm -rf "$work/run"
  local report
  report="$("$root/bench/run_group_100.sh" "$build" "$threads" 1.0E-7 "$work/run")"
  mv "$work/run" "$work/$label"
  local p w u
  p="$(echo "$report" | sed -n 's/^cases: serial [0-9.]* s, parallel \([0-9.]*\) s.*/\1/p')"
  w="$(echo "$report" | sed -n 's/^Elapsed (wall clock) time (h:mm:ss or m:ss): //p' | awk -F: '{ print $(NF-1) * 60 + $NF }')"
  u="$(echo "$report" | sed -n 's/^User time (seconds): //p')"
  echo "$report" | grep -E "^(Newton iterations|result codes)" | sed "s/^/    $label: /" >&2
  echo "$p $w $u"
}

# Lists the output files of run $1 that differ from those of run $2.
differing_files() {
  local name
  for file in "$work/$2"/group_100.*; do
    name="$(basename "$file")"
    if [ ! -f "$work/$1/$name" ] || ! cmp -s <(comparable "$file") <(comparable "$work/$1/$name"); then
      echo "$name"
    fi
  done
  for file in "$work/$1"/group_100.*; do
    [ -f "$work/$2/$(basename "$file")" ] || basename "$file"
  done
}

ratios=""
identical=yes
for round in $(seq 1 "$rounds"); do
  order="before after"
  [ $((round % 2)) -eq 0 ] && order="after before"
  declare -A figures=()
  for which in $order; do
    build="$before"
    [ "$which" = after ] && build="$after"
    figures[$which]="$(run_one "$build" "$which-$round")"
    echo "round $round, $which: parallel, wall, user $(echo "${figures[$which]}" | sed 's/ / s, /g') s"
  done
  read -r pb wb ub <<< "${figures[before]}"
  read -r pa wa ua <<< "${figures[after]}"
  ratios+="$(echo "$pb / $pa; $wb / $wa; $ub / $ua" | bc -l | paste -sd ' ' -)"$'\n'
  for which in before after; do
    [ "$which-$round" = before-1 ] && continue
    differ="$(differing_files before-1 "$which-$round")"
    if [ -n "$differ" ]; then
      identical=no
      echo "round $round, $which: output files differing from round 1, before: $(echo "$differ" | paste -sd ' ' -)"
    fi
  done
  [ "$round" -gt 1 ] && rm -rf "$work/before-$round" "$work/after-$round"
done
echo "$ratios" | awk -v title="ratio before/after" -v names="parallel wall user" -f "$root/bench/round_spread.awk"
echo "threads $threads, rounds $rounds"
echo "every output file identical: $identical"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
