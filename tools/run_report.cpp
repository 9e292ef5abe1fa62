// Reading a run's outcome from the engine's files. The result-code file has
// a heading per load case ("LOAD CASE :     2") or combination ("LOAD COMB. :
// 1") followed by the result-code line of each of its runs ("    2 SOLUTION
// AT    62.50 % OF THE TOTAL LOAD"); the run log has the same headings with
// the name on the next line and the per-pile warning lines of the run below
// them; the status file holds the newest progress record only.
#include "run_report.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <utility>

namespace pilecap::host {

namespace {

constexpr int CODE_COMPLETED = 1;
constexpr int CODE_PARTIAL_LOAD = 2;
constexpr int CODE_NO_CAP_CONVERGENCE = 3;
constexpr int CODE_ZERO_CAP_FORCE = 5;
constexpr int CODE_NOT_PERFORMED = 9;
constexpr int CODE_ESTIMATION_COMPLETED = 10;

// A walk over missed progress records never takes more steps than the
// largest case and combination counts allow.
constexpr int MAX_PROGRESS_LINES = 1000;

constexpr double PERCENT = 100.0;

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \r") - first + 1);
}

bool starts_with(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The number after a heading's colon, e.g. "LOAD CASE :     2"; 0 when none.
int heading_number(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return 0;
  const std::string rest(trimmed(text.substr(colon + 1)));
  return std::atoi(rest.c_str());
}

// The run a heading line opens, if it is one.
std::optional<RunKind> heading_kind(std::string_view text) {
  if (starts_with(text, "LOAD CASE :")) return RunKind::Case;
  if (starts_with(text, "LOAD COMB. :")) return RunKind::Combination;
  return std::nullopt;
}

int severity(Outcome outcome) {
  switch (outcome) {
    case Outcome::Completed:
      return 0;
    case Outcome::Partial:
      return 1;
    case Outcome::NoCapConvergence:
      return 2;
    case Outcome::ZeroCapForce:
      return 3;
    case Outcome::NotAnalysed:
      return 4;
    case Outcome::CutShort:
      return 5;
    case Outcome::Stopped:
      return 6;
    case Outcome::NoResult:
      break;
  }
  return 7;
}

// A result-code line: a code number, a blank and its text.
bool code_line(std::string_view text, int& code, std::string_view& message) {
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || digits == text.size() || text[digits] != ' ') return false;
  code = std::atoi(std::string(text.substr(0, digits)).c_str());
  message = trimmed(text.substr(digits));
  return true;
}

// "SOLUTION AT    62.50 % OF THE TOTAL LOAD": the percentage as printed.
std::string percent_of(std::string_view message) {
  const std::size_t at = message.find("AT ");
  const std::size_t sign = message.find('%');
  if (at == std::string_view::npos || sign == std::string_view::npos || sign < at) return "?";
  return std::string(trimmed(message.substr(at + 3, sign - at - 3)));
}

void record_code(RunOutcome& run, int code, std::string_view message) {
  Outcome outcome = Outcome::NoResult;
  switch (code) {
    case CODE_COMPLETED:
    case CODE_ESTIMATION_COMPLETED:
      outcome = Outcome::Completed;
      break;
    case CODE_PARTIAL_LOAD:
      outcome = Outcome::Partial;
      break;
    case CODE_NO_CAP_CONVERGENCE:
      outcome = Outcome::NoCapConvergence;
      break;
    case CODE_ZERO_CAP_FORCE:
      outcome = Outcome::ZeroCapForce;
      break;
    case CODE_NOT_PERFORMED:
      outcome = Outcome::NotAnalysed;
      break;
    default:
      return;
  }
  const bool first = run.outcome == Outcome::NoResult;
  if (!first && severity(outcome) < severity(run.outcome)) return;
  if (outcome == Outcome::Partial) {
    // Of several partial runs the one that reached the least load counts.
    const std::string percent = percent_of(message);
    if (run.outcome == Outcome::Partial && std::atof(percent.c_str()) >= std::atof(run.percent.c_str())) return;
    run.percent = percent;
  }
  run.outcome = outcome;
}

// What a line between a run's heading and its result code names.
enum class RunLine { None, PushoverPoint, OtherRun };

RunLine run_line(std::string_view text) {
  if (starts_with(text, "INCREMENTAL/PUSHOVER ANALYSIS")) return RunLine::PushoverPoint;
  if (starts_with(text, "ANALYSIS DUE TO TOTAL LOAD") || starts_with(text, "DOF :") ||
      starts_with(text, "STIFFNESS ESTIMATION")) {
    return RunLine::OtherRun;
  }
  return RunLine::None;
}

// A pushover point reports on its own: its shortfall is counted, the case's
// outcome stays that of its other runs.
void count_pushover_point(RunOutcome& run, int code) {
  ++run.pushover_points;
  if (code == CODE_PARTIAL_LOAD) ++run.partial_points;
  if (code == CODE_NO_CAP_CONVERGENCE) ++run.failed_points;
}

RunOutcome* find_run(std::vector<RunOutcome>& runs, RunKind kind, int number) {
  for (RunOutcome& run : runs) {
    if (run.kind == kind && run.number == number) return &run;
  }
  return nullptr;
}

// Names and pile warnings of the runs from the run log.
void read_run_log(const std::vector<std::string>& run_log, std::vector<RunOutcome>& runs) {
  RunOutcome* current = nullptr;
  for (const std::string& line : run_log) {
    const std::string_view text = trimmed(line);
    if (const auto kind = heading_kind(text)) {
      current = find_run(runs, *kind, heading_number(text));
    } else if (current != nullptr && (starts_with(text, "CASE NAME :") || starts_with(text, "COMB. NAME :"))) {
      current->name = std::string(trimmed(text.substr(text.find(':') + 1)));
    } else if (current != nullptr && text.find("** WARNING **") != std::string_view::npos &&
               text.find("PILE GROUP") != std::string_view::npos) {
      ++current->pile_warnings;
    } else if (current != nullptr && starts_with(text, "NOTE:")) {
      current->note = std::string(trimmed(text.substr(5)));
    } else if (current != nullptr && starts_with(text, "GLOBAL ITERATIONS")) {
      current->reached.clear();  // a solver run begins
    } else if (current != nullptr && starts_with(text, "STEP ")) {
      // "STEP     3, TCUR     0.7500, DTCUR     0.2500": the step starts
      // from the last converged fraction TCUR - DTCUR.
      int step = 0;
      double tcur = 0.0;
      double dtcur = 0.0;
      if (std::sscanf(std::string(text).c_str(), "STEP %d, TCUR %lf, DTCUR %lf", &step, &tcur, &dtcur) == 3) {
        std::array<char, 32> percent{};
        std::snprintf(percent.data(), percent.size(), "%.2f", std::max(0.0, 100.0 * (tcur - dtcur)));
        current->reached = percent.data();
      }
    } else if (starts_with(text, "ANALYSIS FOR LOAD")) {
      current = nullptr;
    }
  }
}

const char* kind_words(RunKind kind) { return kind == RunKind::Case ? "load case" : "load combination"; }

// The second line of a solver record:
//    STEP:    2 TCUR:    0.5000 ITERATION:    3
//    STEP:    2 TCUR:    0.5000 COMPLETED
//    DOF:  2/  1 STEP: ...   (a DOF and its level)
//    POINT:  3/  4 STEP: ... (a point of a pushover or a stiffness search)
// The record keeps no step when the line is none of these (the end of a
// stepping, a line caught half written).
void read_solver_position(const std::string& line, ProgressRecord& record) {
  int first = 0, second = 0, consumed = 0;
  std::string rest = line;
  if (std::sscanf(line.c_str(), " DOF: %d / %d%n", &first, &second, &consumed) == 2) {
    record.position = "DOF " + std::to_string(first) + ", level " + std::to_string(second);
    rest = line.substr(static_cast<std::size_t>(consumed));
  } else if (std::sscanf(line.c_str(), " POINT: %d / %d%n", &first, &second, &consumed) == 2) {
    record.position = "point " + std::to_string(first);
    rest = line.substr(static_cast<std::size_t>(consumed));
  }
  int step = 0, iteration = 0;
  double fraction = 0.0;
  std::array<char, 16> word{};
  if (std::sscanf(rest.c_str(), " STEP: %d TCUR: %lf ITERATION: %d", &step, &fraction, &iteration) == 3) {
    record.iteration = iteration;
  } else if (std::sscanf(rest.c_str(), " STEP: %d TCUR: %lf %15s", &step, &fraction, word.data()) == 3 &&
             std::string_view(word.data()) == "COMPLETED") {
    record.iteration = 0;
  } else {
    record.position.clear();
    return;
  }
  record.step = step;
  record.fraction = fraction;
}

// The cases and combinations the input echo lists, with their names:
//      NUMBER OF LOAD CASES :    4
//      LOAD CASE    :     1
//      CASE NAME    : DEAD LOAD
//      NUMBER OF LOAD COMB. :    1
//      LOAD COMB. :     1
//      COMB. NAME : 1.2 DEAD + 1.0 LIVE
RunOutcome listed_run(RunKind kind, int number) {
  RunOutcome run;
  run.kind = kind;
  run.number = number;
  return run;
}

std::vector<RunOutcome> runs_of_the_echo(const std::vector<std::string>& input_echo) {
  std::vector<RunOutcome> runs;
  int count[2] = {0, 0};
  for (const std::string& line : input_echo) {
    const std::string_view text = trimmed(line);
    if (starts_with(text, "NUMBER OF LOAD CASES")) {
      count[0] = heading_number(text);
    } else if (starts_with(text, "NUMBER OF LOAD COMB.")) {
      count[1] = heading_number(text);
    } else if (starts_with(text, "LOAD CASE ") || starts_with(text, "LOAD COMB. ")) {
      const RunKind kind = text[5] == 'C' && text[6] == 'A' ? RunKind::Case : RunKind::Combination;
      const int number = heading_number(text);
      if (number >= 1 && find_run(runs, kind, number) == nullptr) runs.push_back(listed_run(kind, number));
    } else if (!runs.empty() && (starts_with(text, "CASE NAME") || starts_with(text, "COMB. NAME")) &&
               runs.back().name.empty()) {
      runs.back().name = std::string(trimmed(text.substr(text.find(':') + 1)));
    }
  }
  // Runs the echo counts but whose block is missing still exist.
  for (RunKind kind : {RunKind::Case, RunKind::Combination}) {
    for (int n = 1; n <= count[kind == RunKind::Case ? 0 : 1]; ++n) {
      if (find_run(runs, kind, n) == nullptr) runs.push_back(listed_run(kind, n));
    }
  }
  std::erase_if(runs, [&](const RunOutcome& run) { return run.number > count[run.kind == RunKind::Case ? 0 : 1]; });
  return runs;
}

// The reason of a refused run from its note, in the host's words:
//   "LOAD CASE WILL NOT BE ANALYZED"  -> "marked not to be analysed"
//   "<FEATURE> IS NOT YET SUPPORTED, RUN NOT ANALYZED" -> "<feature> is not supported"
std::string refusal_reason(std::string_view note) {
  if (note.ends_with("WILL NOT BE ANALYZED")) return "marked not to be analysed";
  std::string reason(note);
  for (const std::string_view tail : {", RUN NOT ANALYZED", " RUN NOT ANALYZED"}) {
    if (reason.ends_with(tail)) reason.resize(reason.size() - tail.size());
  }
  const std::string_view not_yet = " IS NOT YET SUPPORTED";
  if (reason.ends_with(not_yet)) reason.replace(reason.size() - not_yet.size(), not_yet.size(), " is not supported");
  for (char& c : reason) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return reason;
}

std::string counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool blank(const std::string& line) { return trimmed(line).empty(); }

}  // namespace

std::vector<RunOutcome> read_run_outcomes(const std::vector<std::string>& result_codes,
                                          const std::vector<std::string>& run_log) {
  std::vector<RunOutcome> runs;
  bool in_run = false;
  RunLine pending = RunLine::None;  // the naming line of a run that has no code yet
  const auto close_run = [&] {
    if (in_run && pending != RunLine::None) runs.back().unfinished = true;
    pending = RunLine::None;
  };
  for (const std::string& line : result_codes) {
    const std::string_view text = trimmed(line);
    if (const auto kind = heading_kind(text)) {
      close_run();
      RunOutcome run;
      run.kind = *kind;
      run.number = heading_number(text);
      runs.push_back(run);
      in_run = true;
    } else if (starts_with(text, "LOAD CASE ENV") || starts_with(text, "LOAD COMB. ENV")) {
      close_run();
      in_run = false;  // the envelope's own lines follow
    } else if (in_run) {
      int code = 0;
      std::string_view message;
      if (code_line(text, code, message)) {
        if (pending == RunLine::PushoverPoint) {
          count_pushover_point(runs.back(), code);
        } else {
          record_code(runs.back(), code, message);
        }
        pending = RunLine::None;
      } else if (const RunLine named = run_line(text); named != RunLine::None) {
        pending = named;
      }
    }
  }
  close_run();
  read_run_log(run_log, runs);
  return runs;
}

void settle_unreached_runs(std::vector<RunOutcome>& runs, const std::vector<std::string>& input_echo, bool stopped) {
  std::vector<RunOutcome> listed = runs_of_the_echo(input_echo);
  for (RunOutcome& run : runs) {
    if (stopped && run.unfinished) {
      run.outcome = Outcome::CutShort;
      run.percent = run.reached.empty() ? "0.00" : run.reached;
    }
  }
  // The runs in the engine's order (cases, then combinations), those of the
  // result-code file first among equals.
  std::vector<RunOutcome> merged;
  for (RunKind kind : {RunKind::Case, RunKind::Combination}) {
    int last = 0;
    for (const RunOutcome& run : runs) {
      if (run.kind == kind) {
        merged.push_back(run);
        last = std::max(last, run.number);
      }
    }
    for (RunOutcome& run : listed) {
      if (run.kind != kind || run.number <= last || find_run(runs, kind, run.number) != nullptr) continue;
      run.outcome = stopped ? Outcome::Stopped : Outcome::NoResult;
      merged.push_back(run);
    }
  }
  runs = std::move(merged);
}

std::string describe(const RunOutcome& run) {
  std::string text = kind_words(run.kind);
  text.append(" ").append(std::to_string(run.number));
  if (!run.name.empty()) text.append(" \"").append(run.name).append("\"");
  text.append(": ");
  switch (run.outcome) {
    case Outcome::Completed:
      text.append("completed");
      break;
    case Outcome::Partial:
      text.append("partial at ").append(run.percent).append(" % of the load");
      break;
    case Outcome::NoCapConvergence:
      text.append("no convergence on the pile cap");
      break;
    case Outcome::ZeroCapForce:
      return text.append("not analysed (the applied force at the cap is zero)");
    case Outcome::NotAnalysed:
      text.append("not analysed");
      if (!run.note.empty()) text.append(": ").append(refusal_reason(run.note));
      return text;
    case Outcome::CutShort:
      // The engine reports nothing of a run it left inside its load steps.
      text.append("stopped by request at ").append(run.percent).append(" % of the load, no results reported");
      break;
    case Outcome::Stopped:
      return text.append("not analysed: stopped by request");
    case Outcome::NoResult:
      return text.append("no result recorded");
  }
  // e.g. ", 1 of its 3 pushover points partial"
  const std::string points = counted(run.pushover_points, "pushover point", "pushover points");
  if (run.partial_points > 0) text.append(", " + std::to_string(run.partial_points) + " of its " + points + " partial");
  if (run.failed_points > 0) {
    text.append(", " + std::to_string(run.failed_points) + " of its " + points + " without convergence");
  }
  if (run.pile_warnings == 0) return text.append(", no pile warnings");
  return text.append(", ").append(counted(run.pile_warnings, "pile warning", "pile warnings"));
}

bool fully_completed(const RunOutcome& run) {
  return run.outcome == Outcome::Completed && run.partial_points == 0 && run.failed_points == 0;
}

bool analysis_stopped(const std::vector<std::string>& message) {
  return !message.empty() && message.front().find("ANALYSIS STOPPED BY USER") != std::string::npos;
}

std::vector<std::string> input_warnings(const std::vector<std::string>& run_log) {
  std::vector<std::string> warnings;
  for (const std::string& line : run_log) {
    const std::string_view text = trimmed(line);
    if (starts_with(text, "** WARNING **") && text.find("INPUT SECTION") != std::string_view::npos) {
      warnings.emplace_back(text);
    }
  }
  return warnings;
}

std::vector<std::string> final_message(const std::vector<std::string>& run_log) {
  // The final message is followed by the execution time and the processor
  // line, the last two lines of a log that ran to its end.
  const std::size_t n = run_log.size();
  std::size_t time_line = n;
  for (std::size_t k = n >= 2 ? n - 2 : 0; k < n; ++k) {
    if (starts_with(trimmed(run_log[k]), "Execution Time")) time_line = k;
  }
  if (time_line == n) return {};
  std::size_t end = time_line;
  while (end > 0 && blank(run_log[end - 1])) --end;  // an empty detail line
  std::size_t begin = end;
  while (begin > 0 && !blank(run_log[begin - 1])) --begin;
  std::vector<std::string> message;
  for (std::size_t k = begin; k < end; ++k) message.emplace_back(trimmed(run_log[k]));
  return message;
}

bool analysis_completed(const std::vector<std::string>& message) {
  return !message.empty() && message.front() == "ANALYSIS COMPLETED";
}

std::optional<ProgressRecord> parse_progress(const std::string& status_text) {
  const std::string_view line = trimmed(std::string_view(status_text).substr(0, status_text.find('\n')));
  ProgressRecord record;
  std::string_view rest;
  // The solver writes "COMB" where the run loop writes "COMB.".
  for (const auto& [prefix, kind] : {std::pair{"- ANALYSIS FOR LOAD CASE ", RunKind::Case},
                                     std::pair{"- ANALYSIS FOR LOAD COMB. ", RunKind::Combination},
                                     std::pair{"- ANALYSIS FOR LOAD COMB ", RunKind::Combination}}) {
    if (starts_with(line, prefix)) {
      record.kind = kind;
      rest = line.substr(std::string_view(prefix).size());
      break;
    }
  }
  if (rest.empty()) return std::nullopt;
  const std::string counts(rest);
  int consumed = 0;
  if (std::sscanf(counts.c_str(), "%d /%d%n", &record.number, &record.total, &consumed) != 2) return std::nullopt;
  const std::string_view event = trimmed(rest.substr(static_cast<std::size_t>(consumed)));
  if (event == "FINISHED") {
    record.finished = true;
  } else if (event != "STARTED" && !(starts_with(event, "(") && event.ends_with("proc.)"))) {
    return std::nullopt;  // caught half written
  }
  if (record.number < 1 || record.total < record.number) return std::nullopt;
  const std::size_t second = status_text.find('\n');
  if (!record.finished && second != std::string::npos) read_solver_position(status_text.substr(second + 1), record);
  return record;
}

std::string describe_progress(const ProgressRecord& record) {
  if (record.step < 1) return {};
  std::string text =
      std::string(kind_words(record.kind)) + " " + std::to_string(record.number) + "/" + std::to_string(record.total);
  if (!record.position.empty()) text.append(", ").append(record.position);
  std::array<char, 32> percent{};
  std::snprintf(percent.data(), percent.size(), "%.2f", PERCENT * record.fraction);
  text.append(": step ").append(std::to_string(record.step));
  if (record.iteration < 1) return text.append(" ended, ").append(percent.data()).append(" % of the load reached");
  return text.append(", ")
      .append(percent.data())
      .append(" % of the load, iteration ")
      .append(std::to_string(record.iteration));
}

std::vector<std::string> ProgressTracker::advance(const ProgressRecord& record) {
  if (record.kind == RunKind::Case) case_total_ = record.total;
  const Position target{record.kind, record.number, record.finished};
  const auto order = [](const Position& p) {
    return std::tuple(p.kind == RunKind::Case ? 0 : 1, p.number, p.ended ? 1 : 0);
  };
  const int total = record.total;
  // The position after p in the order the engine writes its records.
  const auto next = [&](const Position& p) -> std::optional<Position> {
    if (!p.ended) return Position{p.kind, p.number, true};
    const int kind_total = p.kind == RunKind::Case ? case_total_ : total;
    if (p.number < kind_total) return Position{p.kind, p.number + 1, false};
    if (p.kind == RunKind::Case && record.kind == RunKind::Combination) {
      return Position{RunKind::Combination, 1, false};
    }
    return std::nullopt;
  };

  std::optional<Position> position;
  if (!last_) {
    position = Position{record.kind, 1, false};
  } else if (order(target) > order(*last_)) {
    position = next(*last_);
  }
  std::vector<std::string> lines;
  for (int step = 0; position && step < MAX_PROGRESS_LINES; ++step) {
    const int kind_total = position->kind == RunKind::Case ? case_total_ : total;
    std::string line = std::string(kind_words(position->kind)) + " " + std::to_string(position->number) + "/" +
                       std::to_string(kind_total) + (position->ended ? " ended" : " started");
    if (!position->ended && start_detail_ != nullptr) {
      const std::string detail = start_detail_(position->kind, position->number);
      if (!detail.empty()) line.append(", ").append(detail);
    }
    lines.push_back(std::move(line));
    if (order(*position) >= order(target)) break;
    position = next(*position);
  }
  if (!last_ || order(target) > order(*last_)) last_ = target;
  return lines;
}

}  // namespace pilecap::host
