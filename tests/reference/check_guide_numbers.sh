#!/usr/bin/env bash
# The numbers the guides quote from an example's reports still stand in that
# example's reference reports. A guide marks such a quote with a comment line
# of its own, directly above the paragraph, list item or table that quotes:
#
#   <!-- reference numbers, single_pile/single_pile.summary.txt: -5.5409E-10 20.000 -->
#
# naming the reference file under tests/reference/ and the numbers as the text
# quotes them; several such lines may stand one above the other. Each number
# must appear as a whole number (not part of a longer one) both in that file
# and in the text below the comments, up to its next empty line. Exits 1 and
# names every number that moved, and when no guide marks any number.
#   check_guide_numbers.sh SOURCE_DIR GUIDE...
set -u
source_dir=$1
shift

# Whole-number match: no digit, point, letter or sign just before it, no
# digit, point or exponent letter just after it.
holds_number() {
  local number=$1 file=$2
  local escaped
  escaped=$(sed 's/[].[^$*+?(){}|\\]/\\&/g' <<<"$number")
  grep -qE "(^|[^0-9.A-Za-z+-])${escaped}(\$|[^0-9.EeDd])" "$file"
}

failed=0
checked=0
for guide in "$@"; do
  path=$source_dir/$guide
  [ -f "$path" ] || { echo "$guide: no such guide"; failed=1; continue; }
  # One record per marker line: its line number, the reference file, the
  # numbers, then the text it marks (the lines after the markers up to the
  # next empty line), fields separated by tabs.
  records=$(awk '
    function flush(   k) {
      for (k = 1; k <= n; k++) printf "%d\t%s\t%s\t%s\n", line[k], ref[k], nums[k], text
      n = 0; text = ""
    }
    /^[[:space:]]*<!-- reference numbers, [^:]+: .* -->$/ {
      if (n > 0 && collecting) flush()
      collecting = 0
      marker = $0
      sub(/^[[:space:]]*<!-- reference numbers, /, "", marker); sub(/ -->$/, "", marker)
      n++; line[n] = NR; ref[n] = substr(marker, 1, index(marker, ":") - 1); nums[n] = substr(marker, index(marker, ":") + 2)
      next
    }
    n > 0 && /^[[:space:]]*$/ { if (collecting) flush(); next }
    n > 0 { collecting = 1; text = text " " $0; next }
    END { if (n > 0) flush() }
  ' "$path")
  while IFS=$'\t' read -r line ref numbers text; do
    [ -n "$line" ] || continue
    report=$source_dir/tests/reference/$ref
    if [ ! -f "$report" ]; then
      echo "$guide:$line: no reference file tests/reference/$ref"
      failed=1
      continue
    fi
    printf '%s\n' "$text" >"${TMPDIR:-/tmp}/guide_text.$$"
    for number in $numbers; do
      checked=$((checked + 1))
      if ! holds_number "$number" "$report"; then
        echo "$guide:$line: $number is no longer in tests/reference/$ref"
        failed=1
      fi
      if ! holds_number "$number" "${TMPDIR:-/tmp}/guide_text.$$"; then
        echo "$guide:$line: $number is marked but not quoted in the text below the marker"
        failed=1
      fi
    done
  done <<<"$records"
done
rm -f "${TMPDIR:-/tmp}/guide_text.$$"
if [ "$checked" -eq 0 ]; then
  echo "no guide marks a number quoted from the reference reports"
  exit 1
fi
if [ "$failed" -ne 0 ]; then
  echo "A guide quotes numbers its example's reports no longer hold: take them from the new references."
  exit 1
fi
echo "guides: $checked quoted numbers stand in the reference reports"
