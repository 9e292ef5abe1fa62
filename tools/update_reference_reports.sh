#!/usr/bin/env bash
# Rewrites tests/reference/<example>/ from a build: every deck of examples/
# run through pilecap-run on one thread, each report the user reads kept with
# the run-dependent lines masked. A commit that changes what the engine prints
# runs this and commits the new references with the change, its message saying
# why the numbers moved.
#   tools/update_reference_reports.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build}"
run="$(cd "$build" && pwd)/pilecap-run"
[ -x "$run" ] || { echo "no pilecap-run in $build: build it first" >&2; exit 2; }
source "$root/tests/reference/reference_files.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for deck in "$root"/examples/*.inp; do
  example=$(basename "$deck" .inp)
  status=0
  "$run" --threads 1 --quiet "$deck" "$scratch/$example" >/dev/null 2>&1 || status=$?
  target="$root/tests/reference/$example"
  rm -rf "$target"
  mkdir -p "$target"
  while IFS= read -r name; do
    [ -n "$name" ] && mask_file "$scratch/$example/$name" "$target/$name"
  done < <(reference_files "$scratch/$example")
  echo "$example: exit $status, $(ls "$target" | wc -l) files, $(du -sh "$target" | cut -f1)"
done
