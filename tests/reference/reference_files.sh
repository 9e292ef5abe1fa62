# Sourced by the writer and the checker of the reference reports: which files
# of a run folder are references, and how one is masked.
#   reference_files DIR   the files a user reads, one name a line, sorted:
#                         everything but the scratch files, Names.dat and
#                         the folder's lock file
#   mask_file IN OUT      IN with the run-dependent lines masked
reference_mask="$(dirname "${BASH_SOURCE[0]}")/mask.sed"

reference_files() {
  (cd "$1" && find . -maxdepth 1 -type f ! -name '*.scratch' ! -name 'Names.dat' ! -name 'pilecap.lock' -printf '%f\n' | LC_ALL=C sort)
}

mask_file() {
  sed -f "$reference_mask" "$1" >"$2"
}
