#!/usr/bin/env bash
# Runs pilecap-run with the threads bound to processors (OMP_PROC_BIND) and
# checks that the run had every processor available, as unbound: the runtime
# binds its first thread to one processor as it loads, and a host started
# again from that thread (as pilecap-run once was, to set the runtime's
# wait) inherited that one processor and ran on one thread.
#   check_bound_threads.sh PILECAP_RUN DECK WORKDIR
set -u
run=$1 deck=$2 workdir=$3
base=$(basename "${deck%.*}")
rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
processors=$(nproc)
OMP_PROC_BIND=true "$run" --quiet "$deck" reports >out.txt 2>err.txt
status=$?
if [ "$status" != 0 ]; then echo "exit status $status"; cat out.txt err.txt; exit 1; fi
line=$(grep "Number Processors" "reports/$base.log.txt" | tail -n 1)
if ! echo "$line" | grep -qE "Number Processors : +[0-9]+/ *$processors\$"; then
  echo "run log: '$line', expected $processors processors available"
  exit 1
fi
