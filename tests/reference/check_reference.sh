#!/usr/bin/env bash
# Runs one example deck through pilecap-run and compares every report it
# writes with the reference reports of that deck, after masking the lines that
# change from run to run. A difference fails with the file, the first
# differing line and both texts; a file missing on either side fails too.
#   check_reference.sh PILECAP_RUN DECK REFERENCE_DIR WORKDIR THREADS
set -u
run=$1 deck=$2 reference=$3 workdir=$4 threads=$5
source "$(dirname "$0")/reference_files.sh"

rm -rf "$workdir"
mkdir -p "$workdir"
"$run" --threads "$threads" --quiet "$deck" "$workdir/run" >"$workdir/stdout.txt" 2>"$workdir/stderr.txt"
echo "pilecap-run --threads $threads --quiet $deck: exit $?"

if [ ! -d "$reference" ]; then
  echo "no reference reports in $reference (tools/update_reference_reports.sh writes them)"
  exit 1
fi
failed=0
expected=$(reference_files "$reference")
written=$(reference_files "$workdir/run")
while IFS= read -r name; do
  echo "$written" | grep -qxF "$name" || { echo "$name: in the references, not written by the run"; failed=1; }
done <<<"$expected"
while IFS= read -r name; do
  echo "$expected" | grep -qxF "$name" || { echo "$name: written by the run, not in the references"; failed=1; }
done <<<"$written"

mkdir -p "$workdir/masked"
while IFS= read -r name; do
  [ -n "$name" ] && [ -f "$workdir/run/$name" ] || continue
  mask_file "$workdir/run/$name" "$workdir/masked/$name"
  if ! cmp -s "$reference/$name" "$workdir/masked/$name"; then
    failed=1
    # The first line where the two differ, with both texts.
    awk -v name="$name" '
      NR == FNR { ref[FNR] = $0; n_ref = FNR; next }
      { got[FNR] = $0; n_got = FNR }
      END {
        n = n_ref > n_got ? n_ref : n_got
        for (i = 1; i <= n; i++) {
          if (i > n_ref || i > n_got || ref[i] != got[i]) {
            printf "%s: first difference at line %d\n", name, i
            printf "  reference: %s\n", ((i > n_ref) ? "(end of file)" : ref[i])
            printf "  this run:  %s\n", ((i > n_got) ? "(end of file)" : got[i])
            exit
          }
        }
        printf "%s: differs in its bytes (line ends or a last line without its end)\n", name
      }' "$reference/$name" "$workdir/masked/$name"
  fi
done <<<"$expected"
[ "$failed" -eq 0 ] && echo "every report matches its reference"
exit "$failed"
