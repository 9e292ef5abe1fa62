#!/usr/bin/env bash
# tools/update_reference_reports.sh on a copy of one example and its
# references: a deck that ends in an input error, and a reference that holds
# a report the run does not write, are refused with a non-zero status and
# leave every reference as it was; the example as it is updates with nothing
# moved and gives back its references byte for byte.
#   check_update_refuses_failure.sh BUILD_DIR WORKDIR
set -u
build=$1 workdir=$2
root="$(cd "$(dirname "$0")/../.." && pwd)"
update="$root/tools/update_reference_reports.sh"
example=single_pile
failed=0

fresh_copy() {
  rm -rf "$workdir"
  mkdir -p "$workdir/examples" "$workdir/reference"
  cp "$root/examples/$example.inp" "$workdir/examples/"
  cp -r "$root/tests/reference/$example" "$workdir/reference/"
  cp -r "$workdir/reference" "$workdir/before"
}

expect_refused() {
  local what=$1
  if bash "$update" "$build" "$workdir/examples" "$workdir/reference" >"$workdir/out.txt" 2>&1; then
    echo "$what: the update succeeded"; failed=1
  fi
  grep -q "no reference changed" "$workdir/out.txt" || { echo "$what: no refusal printed"; failed=1; }
  diff -r "$workdir/before" "$workdir/reference" >/dev/null || { echo "$what: the references changed"; failed=1; }
  sed "s/^/  $what: /" "$workdir/out.txt"
}

fresh_copy
cp "$root/tests/cli/input_error.inp" "$workdir/examples/$example.inp"
expect_refused "a deck with an input error"

fresh_copy
echo "a report of an earlier run" >"$workdir/reference/$example/$example.extra.txt"
rm -rf "$workdir/before" && cp -r "$workdir/reference" "$workdir/before"
expect_refused "a reference holding a report the run does not write"

fresh_copy
if ! bash "$update" "$build" "$workdir/examples" "$workdir/reference" >"$workdir/out.txt" 2>&1; then
  echo "the example as it is: the update failed"; failed=1
fi
sed 's/^/  the example as it is: /' "$workdir/out.txt"
grep -q "^nothing moved$" "$workdir/out.txt" || { echo "the example as it is: something moved"; failed=1; }
diff -r "$root/tests/reference/$example" "$workdir/reference/$example" || failed=1
[ "$failed" -eq 0 ] && echo "the update refuses failures and reproduces the references"
exit "$failed"
