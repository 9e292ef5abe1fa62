#!/usr/bin/env bash
# Runs of different decks under one NAME into one folder, as a user reruns
# a deck after editing it: after each run every file in the folder is newer
# than the run's start (no report, curve file or plate file of an earlier
# deck is left). Then report names that are symbolic links (a report and
# Names.dat) leave the files they point to unchanged.
#   check_stale_reports.sh PILECAP_RUN EXAMPLES_DIR WORKDIR
set -u
run=$1 examples=$2 workdir=$3
decks=(flexibility_3d single_pile flexible_cap shafts_clay_sand_rock)
rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
export OMP_WAIT_POLICY=PASSIVE
failures=0
fail() { echo "$*"; failures=1; }

for deck in "${decks[@]}"; do
  cp "$examples/$deck.inp" x.inp
  touch start
  sleep 0.05  # file times are coarser than the clock
  "$run" --quiet x.inp out >"$deck.out" 2>&1 || fail "$deck: exit $?: $(cat "$deck.out")"
  older=$(find out -type f ! -newer start -printf '%f ')
  [ -z "$older" ] || fail "after $deck, files of an earlier run are left: $older"
  echo "after $deck: $(ls out | wc -l) files, all of this run"
done

echo VICTIM >victim.txt
echo VICTIM2 >victim2.txt
ln -sf ../victim.txt out/x.summary.txt
ln -sf ../victim2.txt out/Names.dat
"$run" --quiet x.inp out >links.out 2>&1 || fail "report names that are links: exit $?: $(cat links.out)"
[ "$(cat victim.txt)" = VICTIM ] || fail "out/x.summary.txt, a link, was written through"
[ "$(cat victim2.txt)" = VICTIM2 ] || fail "out/Names.dat, a link, was written through"
[ -f out/x.summary.txt ] && [ ! -L out/x.summary.txt ] || fail "out/x.summary.txt is not a report of its own"
[ -f out/Names.dat ] && [ ! -L out/Names.dat ] || fail "out/Names.dat is not a file of its own"
grep -q "ANALYSIS COMPLETED" links.out || fail "the run through former links did not complete: $(cat links.out)"
exit $failures
