#!/usr/bin/env bash
# Fuzzes the input reader for SECONDS seconds (default 60): builds the
# libFuzzer target of tests/fuzz with clang under AddressSanitizer and UBSan
# into build-fuzz/ (or BUILD_DIR), seeds it with the example decks and the
# test decks, and runs it in one process at low priority. The corpus grows in
# BUILD_DIR/corpus; a crash, a sanitizer report or a hang leaves its deck in
# BUILD_DIR/artifacts/ and ends the script non-zero: make it a test deck.
#   tools/fuzz_reader.sh [SECONDS]
# CXX picks the compiler (default clang++-16; clang 14 lacks
# std::source_location). With the default compiler, what it needs is installed
# when missing (Debian: clang-16 libclang-rt-16-dev libomp-16-dev, and cmake
# and ninja-build), with sudo when not run as root.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${BUILD_DIR:-build-fuzz}
cxx=${CXX:-clang++-16}
if [ -z "${CXX:-}" ]; then
  need=()
  command -v cmake >/dev/null || need+=(cmake)
  command -v ninja >/dev/null || need+=(ninja-build)
  command -v clang++-16 >/dev/null || need+=(clang-16)
  # libFuzzer and the sanitizers' runtime, and clang's OpenMP.
  [ -n "$(find /usr/lib/llvm-16/lib/clang -name 'libclang_rt.fuzzer*.a' 2>/dev/null | head -1)" ] ||
    need+=(libclang-rt-16-dev)
  [ -e /usr/lib/llvm-16/lib/libomp.so ] || need+=(libomp-16-dev)
  if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "fuzz_reader: installing ${need[*]}" >&2
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${need[@]}"
  fi
fi
command -v "$cxx" >/dev/null || { echo "fuzz_reader: no $cxx (set CXX to a clang with libFuzzer)" >&2; exit 2; }

cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j"${JOBS:-4}"
[ -x "$build/fuzz_reader" ] || { echo "fuzz_reader: $cxx built no fuzz target (see the cmake warning)" >&2; exit 2; }

mkdir -p "$build/corpus" "$build/seeds" "$build/artifacts"
cp examples/*.inp tests/data/*.inp tests/cli/*.inp "$build/seeds/"

# The big model tables are one mapping each and untouched until used, so the
# resident size stays far below the limit. The engine keeps caches across
# runs (layouts, curve caches), so libFuzzer's check after every input that
# frees less than it allocates would scan for leaks at each one and run forty
# times slower; leaks are left to the sanitizer test tree.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export OMP_NUM_THREADS=1
exec nice -n 19 "$build/fuzz_reader" "$build/corpus" "$build/seeds" \
  -dict=tests/fuzz/reader.dict -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
  -malloc_limit_mb=4096 -max_len=65536 -detect_leaks=0 -artifact_prefix="$build/artifacts/" -print_final_stats=1
