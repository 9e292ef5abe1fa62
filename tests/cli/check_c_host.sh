#!/usr/bin/env bash
# A host of its own in C99: the README's host (its first ```c block) is
# compiled with -Wall -Werror against the header and the library that
# `cmake --install` put into the test's folder, and runs the example deck
# through a "Names.dat" of the test's own names; the run log it leaves must end
# with ANALYSIS COMPLETED.
# The same source must build as C++ too, the header declaring DUVIZU extern "C".
#   check_c_host.sh CC CXX CMAKE BUILD_DIR README DECK WORKDIR [EXTRA_FLAGS]
set -u
cc=$1 cxx=$2 cmake=$3 build=$4 readme=$5 deck=$6 workdir=$7 extra=${8:-}

fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$workdir"
mkdir -p "$workdir"
prefix=$workdir/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$workdir/install.txt" 2>&1 || { cat "$workdir/install.txt"; fail "cmake --install"; }
[ -f "$prefix/include/pilecap.h" ] || fail "the install put no include/pilecap.h"
[ -f "$prefix/lib/libpilecap.so" ] || fail "the install put no lib/libpilecap.so"

awk '/^```c$/ { inside = 1; next } inside && /^```/ { exit } inside { print }' "$readme" >"$workdir/host.c"
[ -s "$workdir/host.c" ] || fail "the README holds no \`\`\`c block"
grep -q '#include <pilecap.h>' "$workdir/host.c" || fail "the README's host does not include <pilecap.h>"
echo "--- host.c"
cat "$workdir/host.c"

# shellcheck disable=SC2086  # the extra flags are words
"$cc" -std=c99 -Wall -Werror $extra -I"$prefix/include" "$workdir/host.c" -L"$prefix/lib" -lpilecap -o "$workdir/host" ||
  fail "the host does not build"
# shellcheck disable=SC2086
"$cxx" -x c++ -std=c++20 -Wall -Wextra -Werror $extra -I"$prefix/include" "$workdir/host.c" -L"$prefix/lib" -lpilecap \
  -o "$workdir/host-cxx" || fail "the host does not build as C++"

# The host's own "Names.dat": four reserved lines, the deck, then the 23 files
# of the run named after their lines (the run log is line 10).
mkdir -p "$workdir/run"
{
  for k in 1 2 3 4; do echo "reserved"; done
  echo "$deck"
  for k in $(seq 6 28); do echo "line$k.txt"; done
} >"$workdir/run/Names.dat"
log=$workdir/run/line10.txt
status=0
(cd "$workdir/run" && LD_LIBRARY_PATH="$prefix/lib" "$workdir/host") >"$workdir/host.txt" 2>&1 || status=$?
echo "--- the host's output (exit status $status)"
cat "$workdir/host.txt"
[ "$status" -eq 0 ] || fail "the host exited with $status"
[ -f "$log" ] || fail "the host's run wrote no run log"
last=$(grep -v '^ *$' "$log" | grep -m1 -E 'ANALYSIS COMPLETED|ERROR IN ANALYSIS|STOPPED BY USER')
echo "--- final message: $last"
[[ "$last" =~ ANALYSIS\ COMPLETED ]] || fail "the run log has no ANALYSIS COMPLETED"
echo "PASS"
