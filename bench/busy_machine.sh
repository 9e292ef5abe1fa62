# Sourced by the busy-machine benchmarks: CPU-bound processes that keep the
# machine busy until the script ends, the wall time of a command, and the
# threads a run used.
#   start_busy_processes COUNT   COUNT busy loops, ended (with WORK removed)
#                                when the script exits
#   seconds COMMAND...           wall seconds of the command, its output dropped
#   threads_used LOG             "used/available" of the run log's last
#                                processor line
#   timing_lines                 the report lines that differ between two runs
#                                of one model (a grep -E pattern)
timing_lines="Execution Time|Number Processors|processing :|Date:| proc\.\)"
busy_pids=()

finish_busy_processes() {
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [ -n "${work:-}" ] && rm -rf "$work"
}

start_busy_processes() {
  trap finish_busy_processes EXIT
  for k in $(seq 1 "$1"); do
    sh -c 'while :; do :; done' &
    busy_pids+=("$!")
  done
  sleep 1  # the busy processes on the run queues before the first run
}

seconds() {
  local start end
  start="$(date +%s.%N)"
  "$@" > /dev/null
  end="$(date +%s.%N)"
  echo "$end - $start" | bc -l
}

threads_used() { grep -a "Number Processors" "$1" | tail -n 1 | sed 's/.*: *//; s/ //g'; }
