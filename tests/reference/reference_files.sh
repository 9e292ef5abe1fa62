# Sourced by the writer and the checker of the reference reports: which files
# of a run folder are references, how one is masked, and how the outcome of a
# run (pilecap-run's exit status and what it printed) is kept beside them.
#   reference_files DIR        the files a user reads, one name a line, sorted:
#                              everything but the scratch files, Names.dat and
#                              the folder's lock file
#   mask_file IN OUT           IN with the run-dependent lines masked
#   write_run_outcome STATUS STDOUT STDERR
#                              the text of RUN_OUTCOME_FILE for a run
#   first_difference NAME REFERENCE OTHER
#                              the first line where two files differ, both texts
reference_mask="$(dirname "${BASH_SOURCE[0]}")/mask.sed"
# The folder a run writes into, named relative to where it runs, so that the
# "reports in" line of its outcome is the same wherever it runs.
REFERENCE_RUN_FOLDER=run
# pilecap-run's exit status and its output (--quiet: the outcome of every
# case and combination, where the reports are, the final message).
RUN_OUTCOME_FILE=pilecap-run.outcome

reference_files() {
  (cd "$1" && find . -maxdepth 1 -type f ! -name '*.scratch' ! -name 'Names.dat' ! -name 'pilecap.lock' \
    ! -name "$RUN_OUTCOME_FILE" -printf '%f\n' | LC_ALL=C sort)
}

mask_file() {
  sed -f "$reference_mask" "$1" >"$2"
}

write_run_outcome() {
  echo "exit status $1"
  cat "$2"
  sed 's/^/stderr: /' "$3"
}

first_difference() {
  awk -v name="$1" '
    NR == FNR { ref[FNR] = $0; n_ref = FNR; next }
    { got[FNR] = $0; n_got = FNR }
    END {
      n = n_ref > n_got ? n_ref : n_got
      for (i = 1; i <= n; i++) {
        if (i > n_ref || i > n_got || ref[i] != got[i]) {
          printf "%s: first difference at line %d\n", name, i
          printf "  reference: %s\n", ((i > n_ref) ? "(end of file)" : ref[i])
          printf "  this run:  %s\n", ((i > n_got) ? "(end of file)" : got[i])
          exit
        }
      }
      printf "%s: differs in its bytes (line ends or a last line without its end)\n", name
    }' "$2" "$3"
}
