// Reading a run's outcome from the engine's files. The result-code file has
// a heading per load case ("LOAD CASE :     2") or combination ("LOAD COMB. :
// 1") followed by the result-code line of each of its runs ("    2 SOLUTION
// AT    62.50 % OF THE TOTAL LOAD"); the run log has the same headings with
// the name on the next line and the per-pile warning lines of the run below
// them; the status file holds the newest progress record only.
#include "run_report.hpp"

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

// A run the engine refuses has a note "NOTE: <reason>, RUN NOT ANALYZED".
constexpr std::string_view NOTE_PREFIX = "NOTE: ";
constexpr std::string_view REFUSAL_SUFFIX = ", RUN NOT ANALYZED";

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
    case Outcome::NoResult:
      break;
  }
  return 5;
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
    } else if (current != nullptr && starts_with(text, NOTE_PREFIX) && text.size() > REFUSAL_SUFFIX.size() &&
               text.substr(text.size() - REFUSAL_SUFFIX.size()) == REFUSAL_SUFFIX) {
      current->reason =
          std::string(text.substr(NOTE_PREFIX.size(), text.size() - NOTE_PREFIX.size() - REFUSAL_SUFFIX.size()));
    } else if (starts_with(text, "ANALYSIS FOR LOAD")) {
      current = nullptr;
    }
  }
}

const char* kind_words(RunKind kind) { return kind == RunKind::Case ? "load case" : "load combination"; }

bool blank(const std::string& line) { return trimmed(line).empty(); }

}  // namespace

std::vector<RunOutcome> read_run_outcomes(const std::vector<std::string>& result_codes,
                                          const std::vector<std::string>& run_log) {
  std::vector<RunOutcome> runs;
  bool in_run = false;
  for (const std::string& line : result_codes) {
    const std::string_view text = trimmed(line);
    if (const auto kind = heading_kind(text)) {
      RunOutcome run;
      run.kind = *kind;
      run.number = heading_number(text);
      runs.push_back(run);
      in_run = true;
    } else if (starts_with(text, "LOAD CASE ENV") || starts_with(text, "LOAD COMB. ENV")) {
      in_run = false;  // the envelope's own lines follow
    } else if (in_run) {
      int code = 0;
      std::string_view message;
      if (code_line(text, code, message)) record_code(runs.back(), code, message);
    }
  }
  read_run_log(run_log, runs);
  return runs;
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
      if (!run.reason.empty()) text.append(" (").append(run.reason).append(")");
      return text;
    case Outcome::NoResult:
      return text.append("no result recorded");
  }
  if (run.pile_warnings == 0) return text.append(", no pile warnings");
  text.append(", ").append(std::to_string(run.pile_warnings));
  return text.append(run.pile_warnings == 1 ? " pile warning" : " pile warnings");
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
  return record;
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
    lines.push_back(std::string(kind_words(position->kind)) + " " + std::to_string(position->number) + "/" +
                    std::to_string(kind_total) + (position->ended ? " ended" : " started"));
    if (order(*position) >= order(target)) break;
    position = next(*position);
  }
  if (!last_ || order(target) > order(*last_)) last_ = target;
  return lines;
}

}  // namespace pilecap::host
