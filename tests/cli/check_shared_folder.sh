#!/usr/bin/env bash
# Runs started together into one output folder: ten pairs of two decks,
# each pair started at once. Every run either ends with its own reports (exit
# 0, its summary equal to that of the same deck run alone, masked as the
# reference reports are) or is refused at once (exit 2, "is in use by another
# run (pid N)") and prints nothing else. Then a folder whose lock another
# program holds (the flock utility, when there is one) is refused with the
# holder's pid.
#   check_shared_folder.sh PILECAP_RUN EXAMPLES_DIR WORKDIR
set -u
run=$1 examples=$2 workdir=$3
source "$(cd "$(dirname "$0")" && pwd)/../reference/reference_files.sh"
decks=(group_3x3_layered bent_2d)
pairs=10
rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
export OMP_WAIT_POLICY=PASSIVE
failures=0
fail() { echo "$*"; failures=1; }

for deck in "${decks[@]}"; do
  "$run" --quiet "$examples/$deck.inp" "alone_$deck" >/dev/null 2>&1 || fail "$deck alone: exit $?"
  mask_file "alone_$deck/$deck.summary.txt" "alone_$deck.summary.masked"
done

refused=0
for pair in $(seq 1 $pairs); do
  pids=()
  for deck in "${decks[@]}"; do
    "$run" --quiet "$examples/$deck.inp" shared >"out_${pair}_$deck.txt" 2>"err_${pair}_$deck.txt" &
    pids+=($!)
  done
  for k in "${!decks[@]}"; do
    deck=${decks[$k]}
    wait "${pids[$k]}"
    status=$?
    out="out_${pair}_$deck.txt" err="err_${pair}_$deck.txt"
    if [ "$status" = 2 ]; then
      refused=$((refused + 1))
      grep -qE "^pilecap-run: OUTDIR: 'shared' is in use by another run \(pid [0-9]+\)$" "$err" ||
        fail "pair $pair, $deck: refused without naming the run in its way: $(cat "$err")"
      [ ! -s "$out" ] || fail "pair $pair, $deck: a refused run printed: $(cat "$out")"
    elif [ "$status" = 0 ]; then
      [ "$(tail -n 1 "$out")" = "ANALYSIS COMPLETED" ] || fail "pair $pair, $deck: last line '$(tail -n 1 "$out")'"
    else
      fail "pair $pair, $deck: exit $status: $(cat "$err")"
    fi
  done
  # Both runs have ended: the reports of each deck are its own.
  for deck in "${decks[@]}"; do
    [ -f "shared/$deck.summary.txt" ] || continue
    mask_file "shared/$deck.summary.txt" "shared_$deck.summary.masked"
    cmp -s "alone_$deck.summary.masked" "shared_$deck.summary.masked" ||
      fail "pair $pair: shared/$deck.summary.txt differs from the deck's summary run alone"
    grep -q "reports in shared/ ($deck\.\*); the answers are in $deck.summary.txt" "out_${pair}_$deck.txt" 2>/dev/null ||
      [ -s "err_${pair}_$deck.txt" ] || fail "pair $pair, $deck: no line naming its summary"
  done
done
echo "$refused of $((2 * pairs)) runs refused at once"

if command -v flock >/dev/null; then
  mkdir -p held
  # -o: the lock stays with flock itself, not with the command it starts.
  flock -n -o held/pilecap.lock sleep 60 &
  holder=$!
  for _ in $(seq 1 500); do grep -q " $holder " /proc/locks 2>/dev/null && break; sleep 0.01; done
  "$run" --quiet "$examples/single_pile.inp" held >held_out.txt 2>held_err.txt
  status=$?
  pkill -P "$holder" 2>/dev/null  # the command flock started
  kill "$holder" 2>/dev/null
  wait "$holder" 2>/dev/null
  [ "$status" = 2 ] || fail "a folder another program holds: exit $status, expected 2"
  grep -qx "pilecap-run: OUTDIR: 'held' is in use by another run (pid $holder)" held_err.txt ||
    fail "a folder another program holds: '$(cat held_err.txt)', expected the holder's pid $holder"
  [ ! -e held/Names.dat ] || fail "a refused run wrote held/Names.dat"
  # Once the holder is gone the folder is free again.
  "$run" --quiet "$examples/single_pile.inp" held >/dev/null 2>&1 || fail "after the holder ended: exit $?"
fi
exit $failures
