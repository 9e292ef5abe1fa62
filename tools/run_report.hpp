// What the stand-in host tells about a run, read from the files the engine
// leaves: the outcome of every load case and combination (result-code file),
// its name and the number of its pile warnings (run log), the final message
// of the run log, and the progress records of the status file. Everything
// here works on the text lines of those files, so it runs the same on a
// finished run and in tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pilecap::host {

enum class RunKind { Case, Combination };

// Outcomes from best to worst; a run with several result codes (the points
// of an estimation) takes its worst. CutShort: a stop request ended the run
// inside its load steps; Stopped: a stop request came before the run began.
enum class Outcome { Completed, Partial, NoCapConvergence, ZeroCapForce, NotAnalysed, CutShort, Stopped, NoResult };

struct RunOutcome {
  RunKind kind = RunKind::Case;
  int number = 0;
  std::string name;  // without trailing blanks; empty when the log has none
  Outcome outcome = Outcome::NoResult;
  std::string percent;    // of the total load reached, as printed, for Partial
  int pile_warnings = 0;  // per-pile warning lines of the run in the run log
  std::string note;       // the run's last NOTE line in the run log, without "NOTE:"
  // Pushover points: all of them, those that stopped part way, those with
  // no converged step. They do not change the outcome of the case's own run.
  int pushover_points = 0;
  int partial_points = 0;
  int failed_points = 0;
  // The last solver run of the case began (its naming line is in the
  // result-code file) but wrote no result code: the engine left it.
  bool unfinished = false;
  std::string reached;  // percent of the load the last load step started from, as "37.50"
};

// The runs in the order of the result-code file, each with its outcome,
// its name and its pile warnings from the run log.
std::vector<RunOutcome> read_run_outcomes(const std::vector<std::string>& result_codes,
                                          const std::vector<std::string>& run_log);

// Completes the runs with those the input echo lists but the result-code
// file does not (a run the engine never reached), named from the echo. After
// a stop request (stopped) they are Stopped, and an unfinished run is
// CutShort at the load it had reached; otherwise they have no result.
void settle_unreached_runs(std::vector<RunOutcome>& runs, const std::vector<std::string>& input_echo, bool stopped);

// One line per run, e.g.
//   load case 2 "WIND ALONG Y": partial at 62.50 % of the load, 3 pile warnings
std::string describe(const RunOutcome& run);

// True when every run completed and no pushover point fell short.
bool fully_completed(const RunOutcome& run);

// True when a final message says that a stop request ended the analysis.
bool analysis_stopped(const std::vector<std::string>& message);

// The input warnings of the run log (a line that holds more values than
// its record reads), without the indentation.
std::vector<std::string> input_warnings(const std::vector<std::string>& run_log);

// The final message of the run log (the lines before the last execution
// time, back to the empty line above them), without the indentation.
std::vector<std::string> final_message(const std::vector<std::string>& run_log);

// True when a final message says the analysis ran to its end.
bool analysis_completed(const std::vector<std::string>& message);

// One record of the status file: the run loop's STARTED and FINISHED lines
// and the solver's iteration lines (which say that a run is under way).
struct ProgressRecord {
  RunKind kind = RunKind::Case;
  int number = 0;
  int total = 0;
  bool finished = false;
  // Where the solver is within the run, from a solver record's second line:
  // the load step (0: none), the fraction of the load (being solved in an
  // iteration record, reached in a step-completed record), the iteration (0
  // in a step-completed record) and the DOF or point of the run, as
  // "DOF 2, level 1" or "point 3" (empty for a plain run).
  int step = 0;
  double fraction = 0.0;
  int iteration = 0;
  std::string position;
};

// The record at the head of the status file's text; none for the start
// record, an empty file or a record caught half written.
std::optional<ProgressRecord> parse_progress(const std::string& status_text);

// Where a run is, for the progress line, e.g.
//   load case 2/4: step 3, 37.50 % of the load, iteration 4
//   load case 2/4: step 3 converged, 37.50 % of the load reached
// empty when the record does not say (a run loop record, the end of a
// stepping).
std::string describe_progress(const ProgressRecord& record);

// Turns the records seen (the status file holds only the newest one, so a
// poll can miss some) into the whole sequence of start and end lines: a run
// ended when a later one started.
class ProgressTracker {
 public:
  // Text added to the line of a run that starts, e.g. its load; none when
  // it returns an empty text.
  using StartDetail = std::string (*)(RunKind kind, int number);
  explicit ProgressTracker(StartDetail start_detail = nullptr) : start_detail_(start_detail) {}

  // The lines from the last one given up to this record; none when the
  // record is not newer.
  std::vector<std::string> advance(const ProgressRecord& record);

 private:
  struct Position {
    RunKind kind;
    int number;
    bool ended;
  };
  StartDetail start_detail_;
  std::optional<Position> last_;
  int case_total_ = 0;
};

}  // namespace pilecap::host
