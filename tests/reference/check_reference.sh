#!/usr/bin/env bash
# Runs one example deck through pilecap-run and compares every report it
# writes, and what pilecap-run printed with its exit status, with the
# reference reports of that deck, after masking the lines that change from
# run to run. A difference fails with the file, the first differing line and
# both texts; a file missing on either side fails too. With more than one
# thread the run starts as a user's would (no wait policy of the parallel
# runtime set) and must have used the threads it asked for, at most the
# processors it may use and the piles or rows its loops share out (WORK).
#   check_reference.sh PILECAP_RUN DECK REFERENCE_DIR WORKDIR THREADS [WORK]
set -u
run=$1 deck=$2 reference=$3 workdir=$4 threads=$5 work=${6:-0}
source "$(dirname "$0")/reference_files.sh"

rm -rf "$workdir"
mkdir -p "$workdir"
launch=()
[ "$threads" -gt 1 ] && launch=(env -u OMP_WAIT_POLICY -u GOMP_SPINCOUNT -u OMP_NUM_THREADS)
status=0
(cd "$workdir" && "${launch[@]}" "$run" --threads "$threads" --quiet "$deck" "$REFERENCE_RUN_FOLDER" \
  >"$workdir/stdout.txt" 2>"$workdir/stderr.txt") || status=$?
echo "pilecap-run --threads $threads --quiet $deck: exit $status"

if [ ! -d "$reference" ]; then
  echo "no reference reports in $reference (tools/update_reference_reports.sh writes them)"
  exit 1
fi
failed=0
expected=$(reference_files "$reference")
written=$(reference_files "$workdir/$REFERENCE_RUN_FOLDER")
while IFS= read -r name; do
  echo "$written" | grep -qxF "$name" || { echo "$name: in the references, not written by the run"; failed=1; }
done <<<"$expected"
while IFS= read -r name; do
  echo "$expected" | grep -qxF "$name" || { echo "$name: written by the run, not in the references"; failed=1; }
done <<<"$written"

mkdir -p "$workdir/masked"
write_run_outcome "$status" "$workdir/stdout.txt" "$workdir/stderr.txt" >"$workdir/masked/$RUN_OUTCOME_FILE"
compared=$( (echo "$RUN_OUTCOME_FILE"; echo "$expected") | grep -v '^$')
while IFS= read -r name; do
  if [ "$name" != "$RUN_OUTCOME_FILE" ]; then
    [ -f "$workdir/$REFERENCE_RUN_FOLDER/$name" ] || continue
    mask_file "$workdir/$REFERENCE_RUN_FOLDER/$name" "$workdir/masked/$name"
  fi
  if ! cmp -s "$reference/$name" "$workdir/masked/$name"; then
    failed=1
    first_difference "$name" "$reference/$name" "$workdir/masked/$name"
  fi
done <<<"$compared"

# The threads the run used: the largest count of the run log's processor
# lines ("Number Processors :  8/ 8", used / the host's limit).
if [ "$threads" -gt 1 ]; then
  wanted=$threads
  # The processors this process may use (its affinity), as the engine counts them.
  online=$(nproc)
  [ "$online" -lt "$wanted" ] && wanted=$online
  [ "$work" -gt 0 ] && [ "$work" -lt "$wanted" ] && wanted=$work
  used=$(sed -n 's/^ *Number Processors *: *\([0-9]*\)\/.*/\1/p' "$workdir/$REFERENCE_RUN_FOLDER"/*.log.txt | sort -n | tail -1)
  if [ "$used" != "$wanted" ]; then
    echo "the run used ${used:-no} threads at most, not $wanted (--threads $threads, $online processors, work for $work)"
    failed=1
  else
    echo "the run used $used threads"
  fi
fi
[ "$failed" -eq 0 ] && echo "every report matches its reference"
exit "$failed"
