#!/usr/bin/env bash
# Runs pilecap-run on a plate cap so fine that one plate iteration takes about
# a minute, its output not a terminal: checks that a progress line of the
# case (step, share of the load, iteration) comes while the case runs, then
# asks for the stop and checks that the run ends within STOP_BOUND seconds of
# the request (the engine looks for it inside the plate's element pass and
# frontal solution, not only between iterations), with the stop's outcome
# line and final message.
#   check_large_plate_stop.sh PILECAP_RUN DECK WORKDIR
set -u
run=$1 deck=$2 workdir=$3
base=$(basename "${deck%.*}")
stop_bound=10  # seconds; the wait for the end of an iteration took minutes
rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
"$run" "$deck" reports >out.txt 2>err.txt &
pid=$!
progress='load case 1/1: step [0-9]+, [0-9.]+ % of the load, iteration [0-9]+'
# The first progress line comes 10 s into the case (at most ten minutes).
for _ in $(seq 1 60000); do
  if grep -qE "$progress" out.txt; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.01
done
requested=$(date +%s.%N)
echo 1 >"reports/$base.stop.txt"
wait "$pid"
status=$?
ended=$(date +%s.%N)
echo "--- standard output"; cat out.txt
echo "--- standard error"; cat err.txt
failures=0
if ! grep -qE "$progress" out.txt; then echo "no progress line within the case"; failures=1; fi
if [ "$status" != 3 ]; then echo "exit status $status, expected 3"; failures=1; fi
waited=$(awk -v a="$requested" -v b="$ended" 'BEGIN { printf "%.1f", b - a }')
echo "the run ended $waited s after the stop request"
if awk -v w="$waited" -v b="$stop_bound" 'BEGIN { exit !(w > b) }'; then
  echo "the stop took more than $stop_bound s"; failures=1
fi
if ! grep -qE 'load case 1 "[^"]*": stopped by request at [0-9.]+ % of the load, no results reported' out.txt; then
  echo "no outcome line of the stopped case"; failures=1
fi
if [ "$(tail -n 1 out.txt)" != "*** ANALYSIS STOPPED BY USER ***" ]; then
  echo "last line '$(tail -n 1 out.txt)'"; failures=1
fi
exit $failures
