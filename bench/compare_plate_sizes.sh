#!/usr/bin/env bash
# Time and peak resident memory of whole runs of the flexible-cap example
# (examples/flexible_cap.inp) with plate meshes of 10 x 10, 20 x 20 and
# 40 x 40 elements (or the sizes given in SIZES), for one build or for two.
# With two builds they take turns, ROUNDS times each, so a busy machine slows
# both alike; each line gives the best wall time and the peak memory of every
# build, the ratio BEFORE over AFTER, and whether every output file of the
# two runs is identical (lines with the date or a timing left out).
#   usage: bench/compare_plate_sizes.sh AFTER_BUILD [BEFORE_BUILD] [ROUNDS] [SIZES]
#   e.g.:  bench/compare_plate_sizes.sh build build-old 3 "10 20 40"
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
after="$(cd "$1" && pwd)"
before="${2:+$(cd "$2" && pwd)}"
rounds="${3:-3}"
sizes="${4:-10 20 40}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
builds="after"
[ -n "$before" ] && builds="before after"

# Lines that change from run to run whatever the build.
timing_lines='Date: .* Time: |Execution Time|processing :'

same_outputs() {
  local a="$1" b="$2" f name
  for f in "$a"/*; do
    name="$(basename "$f")"
    [ "$name" = time.txt ] && continue
    [ -f "$b/$name" ] || return 1
    cmp -s <(grep -Ev "$timing_lines" "$f") <(grep -Ev "$timing_lines" "$b/$name") || return 1
  done
  [ "$(ls "$a" | wc -l)" = "$(ls "$b" | wc -l)" ]
}

for n in $sizes; do
  deck="$work/plate_$n.inp"
  sed "s/^0 0 6 6 3.6E6 0.2\$/0 0 $n $n 3.6E6 0.2/" "$root/examples/flexible_cap.inp" > "$deck"
  grep -q "^0 0 $n $n 3.6E6 0.2\$" "$deck" || { echo "the example's plate line has changed" >&2; exit 1; }
  declare -A best=() peak=()
  for round in $(seq 1 "$rounds"); do
    for which in $builds; do
      build="$after"
      [ "$which" = before ] && build="$before"
      # One output folder for both builds, as the plate files name their folder.
      out="$work/out"
      rm -rf "$out" "$work/$which-$n"
      mkdir -p "$out"
      /usr/bin/time -f "%e %M" -o "$work/time.txt" "$build/pilecap-run" --quiet "$deck" "$out" > /dev/null || true
      mv "$out" "$work/$which-$n"
      read -r seconds kib < "$work/time.txt"
      if [ -z "${best[$which]:-}" ] || [ "$(echo "$seconds < ${best[$which]}" | bc -l)" = 1 ]; then
        best[$which]="$seconds"
      fi
      peak[$which]="$kib"
    done
  done
  line="plate ${n} x ${n}: after ${best[after]} s, $((peak[after] / 1024)) MiB"
  if [ -n "$before" ]; then
    verdict="outputs differ"
    same_outputs "$work/before-$n" "$work/after-$n" && verdict="outputs identical"
    line="plate ${n} x ${n}: before ${best[before]} s, $((peak[before] / 1024)) MiB;"
    line="$line after ${best[after]} s, $((peak[after] / 1024)) MiB;"
    line="$line ratio $(printf "%.2f" "$(echo "${best[before]} / ${best[after]}" | bc -l)"), $verdict"
  fi
  echo "$line"
  unset best peak
done
