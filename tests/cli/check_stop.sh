#!/usr/bin/env bash
# Stops a run of pilecap-run as its second load case starts and checks what
# it tells: the exit status, texts on either stream, and the last line of
# standard output. pilecap-run's test seam holds the engine at the start of
# case 2 until the stop-request file holds 1, so the stop lands there however
# busy the machine is.
#   check_stop.sh PILECAP_RUN DECK WORKDIR HOW EXIT STDOUT_PATTERNS STDERR_PATTERNS [FINAL]
#   HOW: file (1 in the stop-request file), SIGINT, SIGTERM, or TWICE (SIGINT
#   and at once SIGTERM, two signals pending together); the patterns are extended regular expressions
#   separated by |, each matched against the whole stream.
set -u
run=$1 deck=$2 workdir=$3 how=$4 expected=$5 out_patterns=$6 err_patterns=$7 final=${8:-}
base=$(basename "${deck%.*}")
rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
PILECAP_RUN_TEST_HOLD_CASE=2 "$run" "$deck" reports >out.txt 2>err.txt &
pid=$!
# The engine holds at case 2 until the stop comes (a failure to get there
# shows after ten minutes at most).
for _ in $(seq 1 60000); do
  if [ -e reports/pilecap-run.hold ]; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.01
done
case $how in
  file) echo 1 >"reports/$base.stop.txt" ;;
  # Both signals pending before the process runs on: a busy machine must not
  # let the engine end between them.
  TWICE) kill -STOP "$pid"; kill -INT "$pid"; kill -TERM "$pid"; kill -CONT "$pid" ;;
  *) kill -"${how#SIG}" "$pid" ;;
esac
wait "$pid"
status=$?
echo "--- standard output"; cat out.txt
echo "--- standard error"; cat err.txt
failures=0
if [ "$status" != "$expected" ]; then echo "exit status $status, expected $expected"; failures=1; fi
check() {  # stream file, patterns
  local file=$1 patterns=$2 pattern
  [ -z "$patterns" ] && return
  IFS='|' read -ra list <<<"$patterns"
  for pattern in "${list[@]}"; do
    if ! tr '\n' '\r' <"$file" | grep -qE -- "$pattern"; then echo "$file lacks '$pattern'"; failures=1; fi
  done
}
check out.txt "$out_patterns"
check err.txt "$err_patterns"
if [ -n "$final" ] && [ "$(tail -n 1 out.txt)" != "$final" ]; then
  echo "last line '$(tail -n 1 out.txt)', expected '$final'"; failures=1
fi
exit $failures
