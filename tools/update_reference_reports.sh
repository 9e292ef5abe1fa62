#!/usr/bin/env bash
# Rewrites tests/reference/<example>/ from a build: every deck of examples/
# run through pilecap-run on one thread, each report the user reads kept with
# the run-dependent lines masked, and pilecap-run's exit status and output
# beside them. A commit that changes what the engine prints runs this and
# commits the new references with the change, its message saying why the
# numbers moved.
# It never blesses a failure: every deck runs first, and when one ends with
# an error or an unusable command line (exit status 1 or 2, or a signal), or
# writes fewer reports than its reference holds, it says which and why,
# changes nothing and exits with 1. Otherwise it prints what moved (reports
# added, removed, or changed, with their first changed line) and writes the
# references.
#   tools/update_reference_reports.sh [BUILD_DIR [EXAMPLES_DIR REFERENCE_DIR]]
#   (defaults: build, examples/, tests/reference/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build}"
examples="${2:-$root/examples}"
references="${3:-$root/tests/reference}"
run="$(cd "$build" && pwd)/pilecap-run"
[ -x "$run" ] || { echo "no pilecap-run in $build: build it first" >&2; exit 2; }
source "$root/tests/reference/reference_files.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
refused=0
decks=("$examples"/*.inp)
[ -e "${decks[0]}" ] || { echo "no decks in $examples" >&2; exit 2; }
for deck in "${decks[@]}"; do
  example=$(basename "$deck" .inp)
  work="$scratch/runs/$example"
  new="$scratch/new/$example"
  mkdir -p "$work" "$new"
  status=0
  (cd "$work" && "$run" --threads 1 --quiet "$deck" "$REFERENCE_RUN_FOLDER" >stdout.txt 2>stderr.txt) || status=$?
  write_run_outcome "$status" "$work/stdout.txt" "$work/stderr.txt" >"$new/$RUN_OUTCOME_FILE"
  if [ -d "$work/$REFERENCE_RUN_FOLDER" ]; then
    while IFS= read -r name; do
      [ -n "$name" ] && mask_file "$work/$REFERENCE_RUN_FOLDER/$name" "$new/$name"
    done < <(reference_files "$work/$REFERENCE_RUN_FOLDER")
  fi
  case "$status" in
    0 | 3) ;;
    *)
      echo "$example: pilecap-run ended with exit status $status:"
      sed 's/^/  /' "$work/stderr.txt" | tail -5
      refused=1
      ;;
  esac
  old="$references/$example"
  if [ -d "$old" ]; then
    missing=$(comm -23 <(reference_files "$old") <(reference_files "$new"))
    n_old=$(reference_files "$old" | grep -c . || true)
    n_new=$(reference_files "$new" | grep -c . || true)
    if [ "$n_new" -lt "$n_old" ]; then
      echo "$example: the run wrote $n_new reports, its reference holds $n_old; not written:" $missing
      refused=1
    fi
  fi
done
if [ "$refused" -ne 0 ]; then
  echo "no reference changed"
  exit 1
fi

moved=0
for new in "$scratch"/new/*; do
  example=$(basename "$new")
  old="$references/$example"
  if [ ! -d "$old" ]; then
    echo "$example: new, $(ls "$new" | wc -l) files"
    moved=1
    continue
  fi
  for name in $(comm -13 <(ls "$old") <(ls "$new")); do echo "$example: $name added"; moved=1; done
  for name in $(comm -23 <(ls "$old") <(ls "$new")); do echo "$example: $name removed"; moved=1; done
  for name in $(comm -12 <(ls "$old") <(ls "$new")); do
    if ! cmp -s "$old/$name" "$new/$name"; then
      first_difference "$example/$name" "$old/$name" "$new/$name"
      moved=1
    fi
  done
done
[ "$moved" -eq 0 ] && echo "nothing moved"
for new in "$scratch"/new/*; do
  example=$(basename "$new")
  rm -rf "${references:?}/$example"
  mkdir -p "$references/$example"
  cp "$new"/* "$references/$example/"
done
for new in "$scratch"/new/*; do
  echo "$(basename "$new"): $(ls "$new" | wc -l) files, $(du -sh "$new" | cut -f1)"
done
# The numbers the guides quote from the reports: those the update moved are
# named here, to be taken from the new references in the same commit.
if [ "$references" = "$root/tests/reference" ]; then
  bash "$root/tests/reference/check_guide_numbers.sh" "$root" README.md docs/input.md docs/outputs.md || true
fi
