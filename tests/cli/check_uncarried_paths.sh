#!/usr/bin/env bash
# Paths that "Names.dat" cannot carry on one line are refused before anything
# is written: an input path through a folder named "q<newline>.." (its line
# would split, and the engine would write its echo onto ../other.inp beside
# the output folder) and an output folder holding a carriage return both end
# with exit status 2 and name the character; nothing in the folder changes.
#   check_uncarried_paths.sh PILECAP_RUN DECK WORKDIR
set -u
run=$1 deck=$2 workdir=$3
rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
export OMP_WAIT_POLICY=PASSIVE
failures=0
fail() { echo "$*"; failures=1; }

mkdir -p $'q\n..'
cp "$deck" $'q\n../other.inp'
echo "THE OTHER DECK" >other.inp
before=$(find . -mindepth 1 -printf '%p %s %T@\n' | LC_ALL=C sort)

"$run" --quiet $'q\n../other.inp' out >out1.txt 2>err1.txt
status=$?
[ "$status" = 2 ] || fail "a newline in INPUT: exit $status, expected 2"
grep -q "INPUT: the path '.*q\\\\n\.\./other\.inp' holds a newline (\\\\n), which Names.dat cannot carry" err1.txt ||
  fail "a newline in INPUT is not named: $(cat err1.txt)"
[ ! -e out ] || fail "a refused run made its output folder"

"$run" --quiet "$deck" $'out\rx' >out2.txt 2>err2.txt
status=$?
[ "$status" = 2 ] || fail "a carriage return in OUTDIR: exit $status, expected 2"
grep -q "OUTDIR: the path '.*out\\\\rx' holds a carriage return (\\\\r), which Names.dat cannot carry" err2.txt ||
  fail "a carriage return in OUTDIR is not named: $(cat err2.txt)"

after=$(find . -mindepth 1 ! -name 'out[12].txt' ! -name 'err[12].txt' -printf '%p %s %T@\n' | LC_ALL=C sort)
[ "$before" = "$after" ] || fail "the folder changed: $(diff <(echo "$before") <(echo "$after"))"
[ "$(cat other.inp)" = "THE OTHER DECK" ] || fail "other.inp was written"
cat err1.txt err2.txt
exit $failures
