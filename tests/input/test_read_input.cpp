// Reading the input data file: generated decks read back field by field for
// the switches that add or remove lines and for the ways the same values may
// be written; a second read that sees nothing of the first; broken files that
// end with status 40 or 42 and the one run-log line naming the fault.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "input_fixture.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

namespace fs = std::filesystem;
using testing::DeckStyle;
using testing::DeckSwitches;
using testing::DeckWriter;

class ReadInputTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    int status = 0;
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    folder_ = fs::temp_directory_path() /
              ("pilecap_input_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
    fs::create_directories(folder_);
    RunFiles.curve_export_file = (folder_ / "curves.dat").string();
  }
  void TearDown() override {
    fio::close_all();
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
    fs::remove_all(folder_);
  }

  // Reads text as the input file; returns the status word.
  int read(const std::string& text) {
    fio::open_memory(UNIT_INPUT, text);
    fio::open_memory(UNIT_RUN_LOG);
    SET_STATUS_DETAIL("");
    int status = STATUS_OK;
    READ_INPUT_FILE(status);
    fio::close(UNIT_INPUT);
    return status;
  }

  static std::string run_log() { return fio::memory_contents(UNIT_RUN_LOG); }

  static std::string deck_text(const DeckSwitches& switches, DeckWriter& deck) {
    testing::write_deck(switches, deck);
    return deck.text();
  }

  static void expect_fields(const DeckWriter& deck, const std::string& label) {
    int mismatches = 0;
    for (const auto& e : deck.expectations()) {
      const std::string actual = e.actual();
      if (actual != e.expected && ++mismatches <= 10) {
        ADD_FAILURE() << label << ": " << e.where << " holds '" << actual << "', the file gave '" << e.expected << "'";
      }
    }
    EXPECT_EQ(mismatches, 0) << label;
  }

  fs::path folder_;
};

struct DeckCase {
  const char* name;
  DeckSwitches switches;
};

DeckSwitches with(void (*change)(DeckSwitches&)) {
  DeckSwitches s;
  change(s);
  return s;
}

const std::vector<DeckCase>& deck_cases() {
  static const std::vector<DeckCase> cases = {
      {"plain 2D", DeckSwitches{}},
      {"3D with every optional section", with([](DeckSwitches& s) {
         s.dimension = 3;
         s.optional_sections = true;
         s.point_loads = true;
       })},
      {"SI, pmult method 3, passive option 2", with([](DeckSwitches& s) {
         s.units = 2;
         s.pmult_method = 3;
         s.cap_passive_option = 2;
       })},
      {"pmult method 4, passive option 3, plate cap", with([](DeckSwitches& s) {
         s.pmult_method = 4;
         s.cap_passive_option = 3;
         s.cap_model = 2;
       })},
      {"pmult method 2, passive option 1", with([](DeckSwitches& s) {
         s.pmult_method = 2;
         s.cap_passive_option = 1;
       })},
      {"nonsymmetric EI in 3D, kips", with([](DeckSwitches& s) {
         s.dimension = 3;
         s.nonsymmetric_ei = 1;
         s.force_unit = 1;
       })},
      {"nonsymmetric EI in 2D, unformatted export", with([](DeckSwitches& s) {
         s.nonsymmetric_ei = 1;
         s.export_unformatted = 2;
         s.optional_sections = true;
       })},
      {"values spread over lines", with([](DeckSwitches& s) {
         s.dimension = 3;
         s.optional_sections = true;
         s.style = DeckStyle{true, false, false, false};
       })},
      {"r*c repeats", with([](DeckSwitches& s) {
         s.optional_sections = true;
         s.style = DeckStyle{false, true, false, false};
       })},
      {"null values", with([](DeckSwitches& s) {
         s.dimension = 3;
         s.point_loads = true;
         s.optional_sections = true;
         s.style = DeckStyle{false, false, true, false};
       })},
      {"slashes", with([](DeckSwitches& s) {
         s.optional_sections = true;
         s.point_loads = true;
         s.style = DeckStyle{false, false, false, true};
       })},
      {"SI units, every style", with([](DeckSwitches& s) {
         s.units = 2;
         s.style = DeckStyle{false, true, true, true};
       })},
  };
  return cases;
}

TEST_F(ReadInputTest, GeneratedDecksReadBackFieldByField) {
  for (const DeckCase& c : deck_cases()) {
    // Fresh tables, as every run has: a null value keeps what the table held.
    int status = 0;
    RELEASE_MODEL_ARRAYS(status);
    ALLOCATE_MODEL_ARRAYS(status);
    ASSERT_EQ(status, 0);
    DeckWriter deck(c.switches.style);
    const std::string text = deck_text(c.switches, deck);
    ASSERT_EQ(read(text), STATUS_OK) << c.name << "\n" << STATUS_DETAIL() << "\n" << run_log();
    expect_fields(deck, c.name);
    EXPECT_EQ(RunConstants.pi, 3.141590118408203) << c.name;
    // The export file is open in the form the option asks for: a text line
    // cannot go to an unformatted file.
    const int write_result = fio::write_list(UNIT_CURVE_EXPORT, 1);
    EXPECT_EQ(write_result == fio::IO_OK, c.switches.export_unformatted == 0) << c.name;
  }
}

TEST_F(ReadInputTest, RunLogShowsTitleAndEveryHeaderRead) {
  DeckSwitches switches;
  DeckWriter deck(switches.style);
  ASSERT_EQ(read(deck_text(switches, deck)), STATUS_OK);
  const std::string pad(80 - std::string("SECTION 1 HEADER").size(), ' ');
  std::string expected =
      "\n            TITLE OF THE RUN" + std::string(64, ' ') + "\n\n\n" + "     READING * TITLE AND VERSION\n";
  // A plain 2D model has sections 1 to 10, 13 and 17 to 19.
  for (int section : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 17, 18, 19}) {
    const std::string header = "SECTION " + std::to_string(section) + " HEADER";
    expected += "     READING " + header + std::string(80 - header.size(), ' ') + "\n";
  }
  // The date block of the report headers comes first.
  const std::string log = run_log();
  ASSERT_GE(log.size(), expected.size());
  EXPECT_EQ(log.substr(log.size() - expected.size()), expected);
}

// Guards against values of one run surviving into the next.
TEST_F(ReadInputTest, SecondReadSeesNothingOfTheFirst) {
  DeckSwitches rich;
  rich.dimension = 3;
  rich.optional_sections = true;
  rich.point_loads = true;
  rich.pmult_method = 3;
  rich.cap_passive_option = 3;
  rich.cap_model = 1;
  rich.n_cases = 3;
  DeckWriter first(rich.style);
  ASSERT_EQ(read(deck_text(rich, first)), STATUS_OK);

  DeckSwitches plain;
  DeckWriter second(plain.style);
  ASSERT_EQ(read(deck_text(plain, second)), STATUS_OK);
  expect_fields(second, "second read");
  EXPECT_EQ(RunOptions.pmult_direction(1), 1.0);
  EXPECT_EQ(CapPassiveElement.K50, 0.0);
  EXPECT_EQ(CapPlateInput.center_x, 0.0);
  EXPECT_EQ(LoadCase.name(3).find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(SpecifiedDofData.row_a(1, 1), 0.0);
  EXPECT_EQ(UserLsCurve.count, 0);
  EXPECT_EQ(UserPyCurveSet.read_p(1, 1, 1), 0.0);
  EXPECT_EQ(SectionCurveInput.yy.num_axial_loads(1), 0);
  EXPECT_EQ(SoilMovementProfile.count, 0);
  EXPECT_EQ(PyExportRequest.plot_nodes, 0);
  EXPECT_EQ(GeneratedCurvePiles.tr_count, 0);
  EXPECT_EQ(PileArrangementInput.n_piles_3d, 0);
}

TEST_F(ReadInputTest, UnquotedSectionNameEndsAtItsFirstBlank) {
  DeckSwitches switches;
  DeckWriter deck(switches.style);
  std::string text = deck_text(switches, deck);
  const std::string quoted = "'SECTION 1'";
  text.replace(text.find(quoted), quoted.size(), "PIPE 24IN REST IGNORED");
  ASSERT_EQ(read(text), STATUS_OK) << run_log();
  EXPECT_EQ(CrossSection.name(1), "PIPE" + std::string(76, ' '));
}

// ------------------------------------------------------------ broken input

// The base deck of the broken inputs: every section present.
DeckSwitches full_deck() {
  DeckSwitches s;
  s.dimension = 3;
  s.optional_sections = true;
  s.point_loads = true;
  return s;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string join_lines(const std::vector<std::string>& lines, std::size_t count) {
  std::string text;
  for (std::size_t k = 0; k < count && k < lines.size(); ++k) text += lines[k] + "\n";
  return text;
}

// The detail line names a section by its number and its usual header.
std::string place(int section, int line) {
  static const char* const headers[] = {"",
                                        "OPTIONS",
                                        "PILE CAP",
                                        "LOAD CASES",
                                        "LOAD COMBINATIONS",
                                        "DISTRIBUTED LOAD SETS",
                                        "SOIL MOVEMENT SETS",
                                        "PILE ARRANGEMENT",
                                        "PROPERTY SETS",
                                        "CROSS SECTIONS",
                                        "SOIL LAYERS",
                                        "P-Y PRINT REQUESTS",
                                        "USER P-Y CURVES",
                                        "GENERATED LOAD-SETTLEMENT CURVES",
                                        "GENERATED TORQUE-ROTATION CURVES",
                                        "USER LOAD-SETTLEMENT CURVES",
                                        "USER TORQUE-ROTATION CURVES",
                                        "MOMENT-CURVATURE SETS",
                                        "SECTION MOMENT-CURVATURE CURVES",
                                        "SECTION BILINEAR DATA",
                                        "DEPTH REDUCTION FACTORS",
                                        "SOIL MOVEMENT PROFILE",
                                        "P-Y EXPORT REQUEST"};
  std::string text = "    INPUT SECTION " + std::to_string(section);
  text.append(" (").append(headers[section]).append("), LINE ").append(std::to_string(line)).append(": ");
  return text;
}

TEST_F(ReadInputTest, FileEndingInsideEverySectionIsAnInputError) {
  const DeckSwitches switches = full_deck();
  DeckWriter deck(switches.style);
  const auto lines = split_lines(deck_text(switches, deck));
  for (int section = 1; section <= 22; ++section) {
    const int header = deck.header_line(section);
    ASSERT_GT(header, 0) << section;
    EXPECT_EQ(read(join_lines(lines, static_cast<std::size_t>(header))), STATUS_INPUT_DATA_ERROR) << section;
    EXPECT_EQ(STATUS_DETAIL(), place(section, header + 1) + "END OF FILE") << section;
  }
  EXPECT_EQ(read(""), STATUS_INPUT_DATA_ERROR);
  EXPECT_EQ(STATUS_DETAIL(), "    INPUT TITLE LINES, LINE 1: END OF FILE");
  // The last line of the last section is needed; the file may end right after it.
  EXPECT_EQ(read(join_lines(lines, lines.size() - 1)), STATUS_INPUT_DATA_ERROR);
  EXPECT_EQ(read(join_lines(lines, lines.size())), STATUS_OK);
}

// The message says what was due: the first line of a section is its count
// (up to the section's capacity), but for the options and the export
// request (integers) and the cap line (a real first).
TEST_F(ReadInputTest, WordForANumberInEverySectionIsAnInputError) {
  const DeckSwitches switches = full_deck();
  DeckWriter deck(switches.style);
  const auto base = split_lines(deck_text(switches, deck));
  const std::map<int, std::string> due = {{1, "AN INTEGER IS DUE"},
                                          {2, "A NUMBER IS DUE"},
                                          {3, "A COUNT FROM 0 TO 100 IS DUE"},
                                          {4, "A COUNT FROM 0 TO 100 IS DUE"},
                                          {5, "A COUNT FROM 0 TO 2500 IS DUE"},
                                          {6, "A COUNT FROM 0 TO 2500 IS DUE"},
                                          {7, "A COUNT FROM 0 TO 2500 IS DUE"},
                                          {8, "A COUNT FROM 0 TO 50 IS DUE"},
                                          {9, "A COUNT FROM 0 TO 100 IS DUE"},
                                          {10, "A COUNT FROM 0 TO 20 IS DUE"},
                                          {11, "A COUNT FROM 0 TO 50 IS DUE"},
                                          {12, "A COUNT FROM 0 TO 50 IS DUE"},
                                          {13, "A COUNT FROM 0 TO 2501 IS DUE"},
                                          {14, "A COUNT FROM 0 TO 2501 IS DUE"},
                                          {15, "A COUNT FROM 0 TO 50 IS DUE"},
                                          {16, "A COUNT FROM 0 TO 50 IS DUE"},
                                          {17, "A COUNT FROM 0 TO 150 IS DUE"},
                                          {18, "A COUNT FROM 0 TO 100 IS DUE"},
                                          {19, "A COUNT FROM 0 TO 100 IS DUE"},
                                          {20, "A COUNT FROM 0 TO 100 IS DUE"},
                                          {21, "A COUNT FROM 0 TO 25 IS DUE"},
                                          {22, "AN INTEGER IS DUE"}};
  for (int section = 1; section <= 22; ++section) {
    auto lines = base;
    const int line = deck.header_line(section) + 1;
    lines[static_cast<std::size_t>(line - 1)] = "x1x " + lines[static_cast<std::size_t>(line - 1)];
    EXPECT_EQ(read(join_lines(lines, lines.size())), STATUS_INPUT_DATA_ERROR) << section;
    EXPECT_EQ(STATUS_DETAIL(), place(section, line) + "'x1x' (" + due.at(section) + ")") << section;
  }
}

struct BrokenLine {
  const char* name;
  int section;       // section of the line replaced
  const char* mark;  // or a marked line of the deck (section then names the message)
  const char* replacement;
  int status;
  const char* message;  // the run-log line after the place
};

const std::vector<BrokenLine>& broken_lines() {
  static const std::vector<BrokenLine> cases = {
      {"real for an integer", 3, nullptr, "1.5 0 0 0 0", STATUS_INPUT_DATA_ERROR,
       "'1.5' (A COUNT FROM 0 TO 100 IS DUE)"},
      {"load cases", 3, nullptr, "101 0 0 0 0", STATUS_CAPACITY_EXCEEDED, "LOAD CASES 101 EXCEEDS THE CAPACITY 100"},
      {"combinations", 4, nullptr, "101 0 0 0 0", STATUS_CAPACITY_EXCEEDED,
       "LOAD COMBINATIONS 101 EXCEEDS THE CAPACITY 100"},
      {"load sets", 5, nullptr, "2501", STATUS_CAPACITY_EXCEEDED, "LOAD SETS 2501 EXCEEDS THE CAPACITY 2500"},
      {"soil-movement sets", 6, nullptr, "2501", STATUS_CAPACITY_EXCEEDED, "LOAD SETS 2501 EXCEEDS THE CAPACITY 2500"},
      {"piles", 7, nullptr, "2501", STATUS_CAPACITY_EXCEEDED, "PILES 2501 EXCEEDS THE CAPACITY 2500"},
      {"property sets", 8, nullptr, "51", STATUS_CAPACITY_EXCEEDED, "PROPERTY SETS 51 EXCEEDS THE CAPACITY 50"},
      {"cross sections", 9, nullptr, "101", STATUS_CAPACITY_EXCEEDED, "CROSS SECTIONS 101 EXCEEDS THE CAPACITY 100"},
      {"soil layers", 10, nullptr, "21", STATUS_CAPACITY_EXCEEDED, "SOIL LAYERS 21 EXCEEDS THE CAPACITY 20"},
      {"print requests", 11, nullptr, "51", STATUS_CAPACITY_EXCEEDED, "P-Y PRINT REQUESTS 51 EXCEEDS THE CAPACITY 50"},
      {"p-y sets", 12, nullptr, "51", STATUS_CAPACITY_EXCEEDED, "P-Y CURVE SETS 51 EXCEEDS THE CAPACITY 50"},
      {"generated curves", 13, nullptr, "2502", STATUS_CAPACITY_EXCEEDED,
       "GENERATED CURVES 2502 EXCEEDS THE CAPACITY 2501"},
      {"user curves", 15, nullptr, "51", STATUS_CAPACITY_EXCEEDED, "USER CURVES 51 EXCEEDS THE CAPACITY 50"},
      {"moment-curvature sets", 17, nullptr, "151", STATUS_CAPACITY_EXCEEDED,
       "MOMENT-CURVATURE SETS 151 EXCEEDS THE CAPACITY 150"},
      {"section entries", 18, nullptr, "101", STATUS_CAPACITY_EXCEEDED,
       "CROSS SECTION ENTRIES 101 EXCEEDS THE CAPACITY 100"},
      {"depth factor tables", 20, nullptr, "101", STATUS_CAPACITY_EXCEEDED,
       "DEPTH FACTOR TABLES 101 EXCEEDS THE CAPACITY 100"},
      {"soil movement profile", 21, nullptr, "26", STATUS_CAPACITY_EXCEEDED,
       "POINTS OF THE SOIL MOVEMENT PROFILE 26 EXCEEDS THE CAPACITY 25"},
      {"no piles", 7, nullptr, "0", STATUS_INPUT_DATA_ERROR, "'0' (THE MODEL HAS NO PILES)"},
      {"zero initial step", 3, "CASE 1 steps", "0.01 0.01 0 0.1", STATUS_INPUT_DATA_ERROR,
       "'0' (LOAD STEPS MUST BE POSITIVE)"},
      {"negative minimum step", 4, "COMBINATION 1 steps", "0.01 0.01 0.5 -0.1", STATUS_INPUT_DATA_ERROR,
       "'-0.1' (LOAD STEPS MUST BE POSITIVE)"},
      {"pile range beyond the piles", 3, "distributed 1 2", "1 1 1 3 1 1 1.0 1 1.0", STATUS_INPUT_DATA_ERROR,
       "'1 3' (PILE RANGE BEYOND THE PILES)"},
      {"pile range beyond the piles, last pile 0", 3, "distributed 1 1", "1 1 3 0 1 1 1.0 1 1.0",
       STATUS_INPUT_DATA_ERROR, "'3 0' (PILE RANGE BEYOND THE PILES)"},
      {"load set beyond its table", 3, "distributed 1 1", "1 1 1 2 1 3 1.0 1 1.0", STATUS_INPUT_DATA_ERROR,
       "'3' (NO SUCH LOAD SET)"},
      {"member case beyond the cases", 4, "member 1 1", "3 1.0", STATUS_INPUT_DATA_ERROR, "'3' (NO SUCH LOAD CASE)"},
      {"user load-settlement curve of one point", 15, "user curve 15", "7 1", STATUS_INPUT_DATA_ERROR,
       "'1' (A CURVE NEEDS AT LEAST 2 POINTS)"},
      {"user torque-rotation curve of one point", 16, "user curve 16", "7 1", STATUS_INPUT_DATA_ERROR,
       "'1' (A CURVE NEEDS AT LEAST 2 POINTS)"},
      {"p-y curve of no points", 12, "p-y curve points 2", "0", STATUS_INPUT_DATA_ERROR,
       "'0' (A CURVE NEEDS AT LEAST 2 POINTS)"},
  };
  return cases;
}

TEST_F(ReadInputTest, BrokenLinesEndWithTheirStatusAndMessage) {
  const DeckSwitches switches = full_deck();
  DeckWriter deck(switches.style);
  const auto base = split_lines(deck_text(switches, deck));
  for (const BrokenLine& c : broken_lines()) {
    auto lines = base;
    const int line = c.mark ? deck.marked(c.mark) : deck.header_line(c.section) + 1;
    ASSERT_GT(line, 0) << c.name;
    lines[static_cast<std::size_t>(line - 1)] = c.replacement;
    EXPECT_EQ(read(join_lines(lines, lines.size())), c.status) << c.name;
    EXPECT_EQ(STATUS_DETAIL(), place(c.section, line) + c.message) << c.name;
  }
}

// The line with one of its blank-separated values replaced (0-based index).
std::string with_value(const std::string& line, std::size_t index, const std::string& value) {
  std::istringstream in(line);
  std::vector<std::string> values;
  for (std::string v; in >> v;) values.push_back(v);
  if (index < values.size()) values[index] = value;
  std::string text;
  for (const std::string& v : values) text += (text.empty() ? "" : " ") + v;
  return text;
}

// Methods and options the analysis does not have end the read at their line,
// instead of being taken for another method; so does an embedded cap without
// a size and an element without room for its increments.
TEST_F(ReadInputTest, ValuesOutsideTheMethodsAreInputErrors) {
  DeckSwitches switches;
  switches.dimension = 3;
  switches.pmult_method = 1;
  switches.cap_passive_option = 2;
  DeckWriter deck(switches.style);
  const auto base = split_lines(deck_text(switches, deck));
  ASSERT_EQ(read(join_lines(base, base.size())), STATUS_OK) << run_log();
  const int options = deck.header_line(1) + 1, cap = deck.header_line(2) + 1, method = cap + 1;
  const std::string option_line = base[static_cast<std::size_t>(options - 1)];
  constexpr std::size_t PMULT = 7, SPACING = 13;
  struct Case {
    const char* name;
    int section, line;
    std::string replacement;
    const char* message;  // empty: the deck reads
  } cases[] = {
      {"method 5", 1, options, with_value(option_line, PMULT, "5"), "'5' (THE REDUCTION-FACTOR METHOD IS 0 TO 4)"},
      {"method -1", 1, options, with_value(option_line, PMULT, "-1"), "'-1' (THE REDUCTION-FACTOR METHOD IS 0 TO 4)"},
      {"spacing option 2", 1, options, with_value(option_line, SPACING, "2"),
       "'2' (THE SPACING DIAMETER OPTION IS 0 OR 1)"},
      {"spacing option without factors", 1, options, with_value(with_value(option_line, PMULT, "0"), SPACING, "2"), ""},
      {"cap of no thickness", 2, cap, "10 10 0 0 0 0", "'0' (AN EMBEDDED CAP NEEDS A POSITIVE THICKNESS)"},
      {"cap of no width", 2, cap, "0 0 3 0 0 0", "'0' (AN EMBEDDED CAP NEEDS A POSITIVE WIDTH)"},
      {"equivalent diameter for a cap of no plan", 2, cap, "0 0 3 4 0 0", ""},
      {"passive method 2", 2, method, "2 4", "'2' (THE PASSIVE-RESISTANCE METHOD IS 0 OR 1)"},
      {"element without increments", 2, method, "1 0", "'0' (THE CAP ELEMENT HAS 1 TO 200 INCREMENTS)"},
      {"element beyond its room", 2, method, "1 201", "'201' (THE CAP ELEMENT HAS 1 TO 200 INCREMENTS)"},
      {"pile means with any increments", 2, method, "0 0", ""},
  };
  for (const Case& c : cases) {
    auto lines = base;
    lines[static_cast<std::size_t>(c.line - 1)] = c.replacement;
    const int status = read(join_lines(lines, lines.size()));
    if (std::string(c.message).empty()) {
      EXPECT_EQ(status, STATUS_OK) << c.name << "\n" << STATUS_DETAIL();
      continue;
    }
    EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR) << c.name;
    EXPECT_EQ(STATUS_DETAIL(), place(c.section, c.line) + c.message) << c.name;
  }
}

}  // namespace
}  // namespace pilecap
