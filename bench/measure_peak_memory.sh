#!/usr/bin/env bash
# Peak resident memory of one complete run of an example deck through the
# host stand-in. The model store reserves about 445 MiB of zeroed memory;
# a small run must touch only a small part of it.
#   usage: bench/measure_peak_memory.sh [BUILD_DIR] [INPUT]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
input="${2:-$root/examples/single_pile.inp}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
/usr/bin/time -v "$build/pilecap-run" "$input" "$out" 2> "$out/time.txt" >/dev/null || true
grep -E "Maximum resident set size|Elapsed" "$out/time.txt"
