// Input checked in the engineer's terms: example decks, each with one edit,
// taken through the reader, the conversion of units and the input echo as a
// run takes them before its first load case. A deck that cannot describe a
// foundation ends with the detail line naming its section, line and value
// and what is allowed; one that is unusual but analysable goes on with a
// warning on the run log. The reference is the text of each message, and the
// line numbers are found in the edited deck.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

namespace fs = std::filesystem;

std::string example(const std::string& name) {
  std::ifstream in(std::string(PILECAP_EXAMPLES) + "/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A text of a deck and what replaces it at its first occurrence.
struct Edit {
  std::string find;
  std::string replace;
};

// 1-based number of the first line of deck that is text, from line `from` on.
int line_of(const std::string& deck, const std::string& text, int from = 1) {
  std::istringstream in(deck);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    if (++number >= from && line == text) return number;
  }
  return 0;
}

class InputCheckTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    folder_ = fs::temp_directory_path() / ("pilecap_input_checks_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fio::close_all();
    fs::remove_all(folder_);
  }

  // Reads, converts and echoes the deck as a run does before its first
  // case, every report on a memory unit; the status word.
  int input_phase(const std::string& deck) {
    int status = STATUS_OK;
    ALLOCATE_MODEL_ARRAYS(status);
    EXPECT_EQ(status, STATUS_OK);
    for (int unit = UNIT_RUN_LOG; unit <= UNIT_GENERATED_AXIAL_CURVES; ++unit) fio::open_memory(unit);
    fio::open_memory(UNIT_INPUT, deck);
    RunFiles.curve_export_file = (folder_ / "curves.dat").string();
    RunFiles.generated_axial_curves_file = (folder_ / "axial.dat").string();
    SET_STATUS_DETAIL("");
    READ_INPUT_FILE(status);
    if (status == STATUS_OK) CONVERT_INPUT_UNITS(status);
    if (status == STATUS_OK) ECHO_INPUT_DATA(status);
    log_ = fio::memory_contents(UNIT_RUN_LOG);
    fio::close_all();
    int release = STATUS_OK;
    RELEASE_MODEL_ARRAYS(release);
    return status;
  }

  fs::path folder_;
  std::string log_;
};

struct CheckCase {
  const char* name;
  const char* deck;         // example deck
  std::vector<Edit> edits;  // made in order
  const char* line;         // the text of the line whose number replaces @ (nullptr: none)
  std::string message;      // detail line of a refusal, or warning line of a deck that goes on
  bool warning = false;
};

// Lines of the examples the cases edit.
const std::string SINGLE_PILE_SOIL = "1 1\n0 80\n";
const std::string SINGLE_PILE_ROW = "2 2 1 0 0 0 0 0 1 1\n";
const std::string FLAGS_LINE = "\n0 0 0 0 0 0 0 0\n";
const std::string STIFFNESS_LIST = "14\n0.5\n1.0\n1\n2\n0\n0.2\n0\n0\n0\n0\n1.0\n8\n0\n1\n";
const std::string BENT_FIRST_ROW = "2 3 1 0 0 0 1\n0 0 1 1 1\n0 -6 -14 0\n";
const std::string BENT_OPTIONS = "1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n";
const std::string BENT_OPTIONS_FACTORS = "1 2 0 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n";
const std::string CAP_OPTIONS = "1 3 2 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n";
const std::string CAP_OPTIONS_MODEL = "1 3 3 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n";
const std::string PIPE_DIMENSIONS = "24 23 0 0 0 0 0 0\n";
const std::string CLAY_TOP = "56 700 0 0 0 0.01 0.5\n";
const std::string SAND_TOP = "62 0 34 90 0 0 0\n";
const std::string STEP_LINE = "1.0E-5 1.0E-5 0.25 0.01\n";
const std::string PILE_FACTORS = "0 0 1 1 1 1 1\n";
const std::string PILE_PLACE = "0 0 0 0 90 0 0\n";
const std::string PLATE_LINE = "0 0 6 6 3.6E6 0.2\n";
const std::string USER_PY_SECTION =
    "USER P-Y CURVES\n1\n7 2\n0\n2\n0 0\n100 1\n40\n2\n0 0\n100 1\nGENERATED LOAD-SETTLEMENT CURVES\n";

std::string stiffness_list(const std::string& basis, const std::string& dof, const std::string& target_y,
                           const std::string& tolerance, const std::string& runs) {
  return "14\n0.5\n1.0\n" + basis + "\n" + dof + "\n0\n" + target_y + "\n0\n0\n0\n0\n" + tolerance + "\n" + runs +
         "\n0\n1\n";
}

const std::vector<CheckCase>& cases() {
  static const std::vector<CheckCase> table = {
      // Soil layers follow one another downward, and the soil reaches the piles.
      {"layer top below its bottom",
       "single_pile.inp",
       {{SINGLE_PILE_SOIL, "1 1\n99 80\n"}},
       "99 80",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '99 80' (LAYER 1 HAS ITS TOP BELOW ITS BOTTOM)"},
      {"clay overlapping the sand",
       "shafts_clay_sand_rock.inp",
       {{"1 3\n0 15\n", "1 3\n0 30\n"}},
       "15 35",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '15 35' (LAYER 2 FROM 15 FT OVERLAPS LAYER 1, WHICH ENDS AT 30 FT)"},
      {"gap above the rock",
       "shafts_clay_sand_rock.inp",
       {{"3 9\n35 80\n", "3 9\n40 80\n"}},
       "40 80",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '40 80' (LAYER 3 FROM 40 FT LEAVES A GAP BELOW LAYER 2, WHICH ENDS "
       "AT 35 FT)"},
      {"soil starting 10 ft below the tip",
       "single_pile.inp",
       {{SINGLE_PILE_SOIL, "1 1\n70 150\n"}},
       nullptr,
       "INPUT SECTION 7, PILE 1: TIP AT DEPTH 60 FT, NOT BELOW THE TOP OF THE SOIL LAYERS AT 70 FT"},
      // Values that cannot describe a foundation.
      {"incremental-analysis flags of 2",
       "single_pile.inp",
       {{FLAGS_LINE, "\n2 2 2 2 2 2 2 2\n"}},
       "2 2 2 2 2 2 2 2",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '2' (AN INCREMENTAL-ANALYSIS FLAG IS 0 OR 1)"},
      {"pile naming a p-y set without option 5",
       "single_pile.inp",
       {{SINGLE_PILE_ROW, "2 2 1 3 0 0 0 0 1 1\n"}},
       "2 2 1 3 0 0 0 0 1 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '3' (A P-Y CURVE SET IS NAMED WHILE OPTION 5 (USER P-Y CURVES) "
       "IS 0)"},
      {"row naming a p-y set without option 5",
       "bent_2d.inp",
       {{"2 3 1 0 0 0 1\n", "2 3 1 2 0 0 1\n"}},
       "2 3 1 2 0 0 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '2' (A P-Y CURVE SET IS NAMED WHILE OPTION 5 (USER P-Y CURVES) "
       "IS 0)"},
      {"row spacing 0 with reduction factors",
       "bent_2d.inp",
       {{BENT_OPTIONS, BENT_OPTIONS_FACTORS}},
       "0 0 1 1 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '0' (THE SPACING OF A ROW OF 3 PILES WITH REDUCTION FACTORS FOR "
       "CLOSE SPACING IS ABOVE 0)"},
      {"row spacing -3 with reduction factors",
       "bent_2d.inp",
       {{BENT_OPTIONS, BENT_OPTIONS_FACTORS}, {BENT_FIRST_ROW, "2 3 1 0 0 0 1\n0 -3 1 1 1\n0 -6 -14 0\n"}},
       "0 -3 1 1 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '-3' (THE SPACING OF A ROW OF 3 PILES WITH REDUCTION FACTORS FOR "
       "CLOSE SPACING IS ABOVE 0)"},
      {"batter of 90 degrees",
       "bent_2d.inp",
       {{"0 -6 -14 0\n", "0 -6 90 0\n"}},
       "0 -6 90 0",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '90' (THE BATTER IS BETWEEN -90 AND 90 DEGREES)"},
      {"batter of -135 degrees",
       "bent_2d.inp",
       {{"0 -6 -14 0\n", "0 -6 -135 0\n"}},
       "0 -6 -135 0",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '-135' (THE BATTER IS BETWEEN -90 AND 90 DEGREES)"},
      {"search tolerance 0",
       "stiffness_3d.inp",
       {{STIFFNESS_LIST, stiffness_list("1", "2", "0.2", "0.0E0", "8")}},
       "0.0E0",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '0' (THE TOLERANCE OF THE TARGET SEARCH IS ABOVE 0 PER CENT)"},
      {"search of 0 runs",
       "stiffness_3d.inp",
       {{STIFFNESS_LIST, stiffness_list("1", "2", "0.2", "1.0", "0.50")}},
       "0.50",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '0.5' (THE TARGET SEARCH MAKES AT LEAST 1 RUN PER POINT)"},
      // The value itself, not the DOF that names it.
      {"target displacement 0",
       "stiffness_3d.inp",
       {{STIFFNESS_LIST, stiffness_list("1", "2", "0.0", "1.0", "8")}},
       "0.0",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '0' (THE TARGET DISPLACEMENT OF DOF 2 IS 0)"},
      {"target DOF 7",
       "stiffness_3d.inp",
       {{STIFFNESS_LIST, stiffness_list("1", "7", "0.2", "1.0", "8")}},
       "7",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '7' (THE TARGET DOF IS 1 TO 6)"},
      {"stiffness basis 2",
       "stiffness_3d.inp",
       {{STIFFNESS_LIST, stiffness_list("2", "2", "0.2", "1.0", "8")}},
       "2",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '2' (THE STIFFNESS BASIS IS 0 (TOTAL LOAD) OR 1 (TARGET DEFLECTION))"},
      {"negative K50 of the cap's soil model",
       "group_3x3_embedded_cap.inp",
       {{CAP_OPTIONS, CAP_OPTIONS_MODEL}, {"\n1 6\n", "\n1 2 6 -100 50 0.5\n"}},
       "1 2 6 -100 50 0.5",
       "INPUT SECTION 2 (PILE CAP), LINE @: '-100' (K50 OF THE CAP'S SOIL MODEL IS 0 OR ABOVE)"},
      {"negative ultimate force of the cap's soil model",
       "group_3x3_embedded_cap.inp",
       {{CAP_OPTIONS, CAP_OPTIONS_MODEL}, {"\n1 6\n", "\n1 2 6 100 -50 0.5\n"}},
       "1 2 6 100 -50 0.5",
       "INPUT SECTION 2 (PILE CAP), LINE @: '-50' (THE ULTIMATE FORCE F ULT OF THE CAP'S SOIL MODEL IS 0 OR ABOVE)"},
      {"negative Y max of the cap's soil model",
       "group_3x3_embedded_cap.inp",
       {{CAP_OPTIONS, CAP_OPTIONS_MODEL}, {"\n1 6\n", "\n1 2 6 100 50 -0.5\n"}},
       "1 2 6 100 50 -0.5",
       "INPUT SECTION 2 (PILE CAP), LINE @: '-0.5' (Y MAX OF THE CAP'S SOIL MODEL IS 0 OR ABOVE)"},
      {"cap 60 ft thick on piles 50 ft long",
       "group_3x3_embedded_cap.inp",
       {{"14 14 3 0 0 0\n", "14 14 60 0 0 0\n"}},
       "50 50 1",
       "     ** WARNING **  INPUT SECTION 8 (PROPERTY SETS), LINE @: '50' (PROPERTY SET 1 IS SHORTER THAN THE "
       "EMBEDDED CAP IS THICK, 60 FT)",
       true},
      // Values no foundation can have, each at its line with what is allowed.
      {"pile length -60 ft",
       "single_pile.inp",
       {{"\n100 60 1\n", "\n100 -60 1\n"}},
       "100 -60 1",
       "INPUT SECTION 8 (PROPERTY SETS), LINE @: '-60' (THE LENGTH OF A PILE IS ABOVE 0)"},
      {"pile length 0",
       "single_pile.inp",
       {{"\n100 60 1\n", "\n100 0 1\n"}},
       "100 0 1",
       "INPUT SECTION 8 (PROPERTY SETS), LINE @: '0' (THE LENGTH OF A PILE IS ABOVE 0)"},
      {"diameter 0",
       "single_pile.inp",
       {{PIPE_DIMENSIONS, "0 23 0 0 0 0 0 0\n"}},
       "0 23 0 0 0 0 0 0",
       "INPUT SECTION 9 (CROSS SECTIONS), LINE @: '0' (THE DIAMETER OF A CROSS SECTION IS ABOVE 0)"},
      {"inner diameter of 30 in in a 24 in pipe",
       "single_pile.inp",
       {{PIPE_DIMENSIONS, "24 30 0 0 0 0 0 0\n"}},
       "24 30 0 0 0 0 0 0",
       "INPUT SECTION 9 (CROSS SECTIONS), LINE @: '30' (THE INTERNAL DIAMETER IS 0 (SOLID) OR ABOVE 0 AND BELOW THE "
       "DIAMETER 24)"},
      {"inner diameter -10",
       "single_pile.inp",
       {{PIPE_DIMENSIONS, "24 -10 0 0 0 0 0 0\n"}},
       "24 -10 0 0 0 0 0 0",
       "INPUT SECTION 9 (CROSS SECTIONS), LINE @: '-10' (THE INTERNAL DIAMETER IS 0 (SOLID) OR ABOVE 0 AND BELOW THE "
       "DIAMETER 24)"},
      {"wall thicker than the radius",
       "single_pile.inp",
       {{"\n0 0 0.5 0 0 0\n", "\n0 0 13 0 0 0\n"}},
       "0 0 13 0 0 0",
       "INPUT SECTION 9 (CROSS SECTIONS), LINE @: '13' (THE WALL THICKNESS IS 0 OR ABOVE, AT MOST THE RADIUS 12)"},
      {"modulus of elasticity 0",
       "single_pile.inp",
       {{" 0 0 29E6 0 75.4 ", " 0 0 0 0 75.4 "}},
       "11.6E6 36.9 2549 2549 0 5.91E10 0 0 0 0 75.4 0 0 0 0",
       "INPUT SECTION 9 (CROSS SECTIONS), LINE @: '0' (THE MODULUS OF ELASTICITY E IS ABOVE 0)"},
      {"soil unit weight -56 pcf",
       "single_pile.inp",
       {{CLAY_TOP, "-56 700 0 0 0 0.01 0.5\n"}},
       "-56 700 0 0 0 0.01 0.5",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '-56' (LAYER 1: THE UNIT WEIGHT IS ABOVE 0)"},
      {"cohesion below 0",
       "single_pile.inp",
       {{CLAY_TOP, "56 -700 0 0 0 0.01 0.5\n"}},
       "56 -700 0 0 0 0.01 0.5",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '-700' (LAYER 1: THE COHESION OR STRENGTH IS 0 OR ABOVE)"},
      {"sand friction angle 95",
       "bent_2d.inp",
       {{SAND_TOP, "62 0 95 90 0 0 0\n"}},
       "62 0 95 90 0 0 0",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '95' (LAYER 2: THE FRICTION ANGLE OF A SAND IS ABOVE 0 AND BELOW 90 "
       "DEGREES)"},
      {"sand friction angle 0",
       "bent_2d.inp",
       {{SAND_TOP, "62 0 0 90 0 0 0\n"}},
       "62 0 0 90 0 0 0",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '0' (LAYER 2: THE FRICTION ANGLE OF A SAND IS ABOVE 0 AND BELOW 90 "
       "DEGREES)"},
      {"silt friction angle 0",
       "single_pile.inp",
       {{"1 1\n0 80\n", "1 7\n0 80\n"}},
       "56 700 0 0 0 0.01 0.5",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '0' (LAYER 1: THE FRICTION ANGLE OF A SILT IS ABOVE 0 AND BELOW 90 "
       "DEGREES)"},
      {"clay friction angle -5",
       "single_pile.inp",
       {{CLAY_TOP, "56 700 -5 0 0 0.01 0.5\n"}},
       "56 700 -5 0 0 0.01 0.5",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '-5' (LAYER 1: THE FRICTION ANGLE IS 0 OR ABOVE AND BELOW 90 "
       "DEGREES)"},
      {"weak rock of no strength",
       "shafts_clay_sand_rock.inp",
       {{"70 1500 0 0 50000 0.0005 50\n", "70 0 0 0 50000 0.0005 50\n"}},
       "70 0 0 0 50000 0.0005 50",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '0' (LAYER 3: THE COMPRESSIVE STRENGTH OF WEAK ROCK IS ABOVE 0)"},
      {"tip resistance below 0",
       "single_pile.inp",
       {{"0 80\n2 7\n", "0 80\n2 9\n"}, {CLAY_TOP, "56 700 0 0 0 0.01 0.5 0 -100\n"}},
       "56 700 0 0 0 0.01 0.5 0 -100",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '-100' (LAYER 1: THE ULTIMATE UNIT TIP RESISTANCE IS 0 (COMPUTED) OR "
       "ABOVE)"},
      {"pile 1e-6 ft long",
       "single_pile.inp",
       {{"\n100 60 1\n", "\n100 1e-6 1\n"}},
       "100 1e-6 1",
       "     ** WARNING **  INPUT SECTION 8 (PROPERTY SETS), LINE @: PROPERTY SET 1 IS SHORTER THAN THE DIAMETER OF "
       "ITS "
       "FIRST CROSS SECTION: A LENGTH IN THE WRONG UNIT?",
       true},
      {"user p-y curve at -1e6 ft",
       "single_pile.inp",
       {{"1 3 0 0 0 0", "1 3 0 0 1 0"},
        {"GENERATED LOAD-SETTLEMENT CURVES\n", USER_PY_SECTION},
        {"\n7 2\n0\n", "\n7 2\n-1e6\n"}},
       "-1e6",
       "     ** WARNING **  INPUT SECTION 12 (USER P-Y CURVES), LINE @: '-1e+06' (CURVE 1 OF P-Y SET 1 STANDS ABOVE "
       "THE "
       "TOP OF THE SOIL AT 0 FT)",
       true},
      {"user p-y curve off the origin",
       "single_pile.inp",
       {{"1 3 0 0 0 0", "1 3 0 0 1 0"},
        {"GENERATED LOAD-SETTLEMENT CURVES\n", USER_PY_SECTION},
        {"\n2\n0 0\n100 1\n40\n", "\n2\n50 0.1\n100 1\n40\n"}},
       "50 0.1",
       "     ** WARNING **  INPUT SECTION 12 (USER P-Y CURVES), LINE @: '50 0.1' (CURVE 1 OF P-Y SET 1 STARTS OFF THE "
       "ORIGIN: BELOW ITS FIRST POINT ITS FIRST SEGMENT IS EXTENDED)",
       true},
      {"e50 -0.01",
       "single_pile.inp",
       {{CLAY_TOP, "56 700 0 0 0 -0.01 0.5\n"}},
       "56 700 0 0 0 -0.01 0.5",
       "     ** WARNING **  INPUT SECTION 10 (SOIL LAYERS), LINE @: '-0.01' (LAYER 1: E50 BELOW 0 IS TAKEN AS NOT "
       "GIVEN, "
       "AND ESTIMATED)",
       true},
      {"sand k -90 pci",
       "bent_2d.inp",
       {{SAND_TOP, "62 0 34 -90 0 0 0\n"}},
       "62 0 34 -90 0 0 0",
       "     ** WARNING **  INPUT SECTION 10 (SOIL LAYERS), LINE @: '-90' (LAYER 2: K BELOW 0 IS TAKEN AS NOT GIVEN, "
       "AND "
       "ESTIMATED)",
       true},
      {"elastic subgrade modulus below 0",
       "single_pile.inp",
       {{"1 1\n0 80\n", "1 12\n0 80\n"}, {CLAY_TOP, "56 0 0 -500 0 0 0\n"}},
       "56 0 0 -500 0 0 0",
       "INPUT SECTION 10 (SOIL LAYERS), LINE @: '-500' (LAYER 1: THE ELASTIC SUBGRADE MODULUS IS 0 OR ABOVE)"},
      {"cap tolerance 0",
       "single_pile.inp",
       {{STEP_LINE, "0 1.0E-5 0.25 0.01\n"}},
       "0 1.0E-5 0.25 0.01",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '0' (THE TOLERANCE OF THE CAP MOVEMENT IS ABOVE 0)"},
      {"pile deflection tolerance 0",
       "single_pile.inp",
       {{STEP_LINE, "1.0E-5 0 0.25 0.01\n"}},
       "1.0E-5 0 0.25 0.01",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '0' (THE TOLERANCE OF THE PILE DEFLECTIONS IS ABOVE 0)"},
      {"first load step 5",
       "single_pile.inp",
       {{STEP_LINE, "1.0E-5 1.0E-5 5 0.01\n"}},
       "1.0E-5 1.0E-5 5 0.01",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '5' (THE FIRST LOAD STEP IS A FRACTION ABOVE 0 AND AT MOST 1 (THE WHOLE "
       "LOAD))"},
      {"p-multiplier -1",
       "single_pile.inp",
       {{PILE_FACTORS, "0 0 -1 1 1 1 1\n"}},
       "0 0 -1 1 1 1 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '-1' (THE P-MULTIPLIER IS ABOVE 0)"},
      {"y-multiplier 0",
       "single_pile.inp",
       {{PILE_FACTORS, "0 0 1 0 1 1 1\n"}},
       "0 0 1 0 1 1 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '0' (THE Y-MULTIPLIER IS ABOVE 0)"},
      {"axial-force factor -1",
       "single_pile.inp",
       {{PILE_FACTORS, "0 0 1 1 1 1 -1\n"}},
       "0 0 1 1 1 1 -1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '-1' (THE FACTOR ON THE AXIAL FORCE IS 0 OR ABOVE)"},
      {"BETA 270 degrees",
       "single_pile.inp",
       {{PILE_PLACE, "0 0 0 0 270 0 0\n"}},
       "0 0 0 0 270 0 0",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '270' (BETA IS BETWEEN 0 AND 180 DEGREES, 90 FOR A VERTICAL PILE)"},
      {"BETA 0 degrees",
       "single_pile.inp",
       {{PILE_PLACE, "0 0 0 0 0 0 0\n"}},
       "0 0 0 0 0 0 0",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '0' (BETA IS BETWEEN 0 AND 180 DEGREES, 90 FOR A VERTICAL PILE)"},
      {"BETA -1 degree",
       "single_pile.inp",
       {{PILE_PLACE, "0 0 0 0 -1 0 0\n"}},
       "0 0 0 0 -1 0 0",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '-1' (BETA IS BETWEEN 0 AND 180 DEGREES, 90 FOR A VERTICAL PILE)"},
      {"plate Poisson's ratio 0.7",
       "flexible_cap.inp",
       {{PLATE_LINE, "0 0 6 6 3.6E6 0.7\n"}},
       "0 0 6 6 3.6E6 0.7",
       "INPUT SECTION 2 (PILE CAP), LINE @: '0.7' (POISSON'S RATIO OF THE PLATE IS ABOVE -1 AND AT MOST 0.5)"},
      {"plate Poisson's ratio -2",
       "flexible_cap.inp",
       {{PLATE_LINE, "0 0 6 6 3.6E6 -2\n"}},
       "0 0 6 6 3.6E6 -2",
       "INPUT SECTION 2 (PILE CAP), LINE @: '-2' (POISSON'S RATIO OF THE PLATE IS ABOVE -1 AND AT MOST 0.5)"},
      // A count that promises fewer entries than follow, and bytes that are no text.
      {"pile row count one too low",
       "bent_2d.inp",
       {{"PILE ARRANGEMENT\n3\n", "PILE ARRANGEMENT\n2\n"}},
       nullptr,
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE 55: THE 2 PILE ROWS COUNTED AT LINE 55 MAY BE TOO FEW (OR A LINE "
       "TOO MANY STANDS BEFORE LINE 62): LINE 62, WHERE THE HEADER OF SECTION 8 IS DUE, HOLDS NUMBERS ONLY, SO THE "
       "LINES AFTER IT WERE READ OUT OF PLACE UNTIL INPUT SECTION 9 (CROSS SECTIONS), LINE 65: A RECORD IS DUE, NOT "
       "THE SECTION HEADER 'PROPERTY SETS', A VALUE IS MISSING ABOVE IT"},
      {"control byte in a header",
       "single_pile.inp",
       {{"OPTIONS\n", "OPT\x01IONS\n"}},
       nullptr,
       "INPUT SECTION 1 (OPTIONS), LINE 3: NOT TEXT AT LINE 3, BYTE 4 (VALUE 1)"},
      {"bytes of no character among the numbers",
       "single_pile.inp",
       {{"\n100 60 1\n", "\n100 6\xff\xfe 1\n"}},
       nullptr,
       "INPUT SECTION 8 (PROPERTY SETS), LINE 37: NOT TEXT AT LINE 37, BYTE 6 (VALUE 255)"},
      // What was due, beside the value that stood there.
      {"integer item of 1e300",
       "single_pile.inp",
       {{SINGLE_PILE_ROW, "2 2 1e300 0 0 0 0 0 1 1\n"}},
       "2 2 1e300 0 0 0 0 0 1 1",
       "INPUT SECTION 7 (PILE ARRANGEMENT), LINE @: '1e300' (AN INTEGER IS DUE)"},
      {"integer item of 0.0",
       "single_pile.inp",
       {{"\n100 60 1\n", "\n100 60 0.0\n"}},
       "100 60 0.0",
       "INPUT SECTION 8 (PROPERTY SETS), LINE @: '0.0' (AN INTEGER IS DUE)"},
      {"repeat count 0",
       "single_pile.inp",
       {{FLAGS_LINE, "\n0*5 0 0 0\n"}},
       "0*5 0 0 0",
       "INPUT SECTION 3 (LOAD CASES), LINE @: '0*5' (A REPEAT COUNT IS AT LEAST 1)"},
      {"count of 1e5",
       "single_pile.inp",
       {{"MOMENT-CURVATURE SETS\n0\n", "MOMENT-CURVATURE SETS\n1e5\n"}},
       "1e5",
       "INPUT SECTION 17 (MOMENT-CURVATURE SETS), LINE @: '1e5' (A COUNT FROM 0 TO 150 IS DUE)"},
      // Messages at their cause.
      {"user p-y section while option 5 is 0",
       "single_pile.inp",
       {{"GENERATED LOAD-SETTLEMENT CURVES\n", USER_PY_SECTION}},
       "USER P-Y CURVES",
       "INPUT SECTION 12 (USER P-Y CURVES), LINE @: THE SECTION STANDS HERE WHILE OPTION 5 (USER P-Y CURVES) IS 0, "
       "SO THE LINES AFTER IT WERE READ OUT OF PLACE UNTIL INPUT SECTION 17 (MOMENT-CURVATURE SETS), LINE 65: A "
       "RECORD IS DUE, NOT THE SECTION HEADER 'GENERATED LOAD-SETTLEMENT CURVES', ENTRY 1 OF THE 1 CURVES OF A "
       "MOMENT-CURVATURE SET COUNTED AT LINE 64, A VALUE IS MISSING ABOVE IT"},
      {"user p-y section missing while option 5 is 1",
       "single_pile.inp",
       {{"1 3 0 0 0 0 0", "1 3 0 0 1 0 0"}},
       "GENERATED LOAD-SETTLEMENT CURVES",
       "INPUT SECTION 12 (USER P-Y CURVES), LINE @: OPTION 5 (USER P-Y CURVES) IS 1, BUT THE HEADER OF SECTION 13 "
       "STANDS HERE, SO THE LINES AFTER IT WERE READ OUT OF PLACE UNTIL INPUT SECTION 12 (USER P-Y CURVES), LINE 56: "
       "THE RECORD RUNS INTO THE SECTION HEADER 'GENERATED TORQUE-ROTATION CURVES' AT LINE 57, ENTRY 1 OF THE 1 P-Y "
       "CURVE SETS COUNTED AT LINE 55, A VALUE IS MISSING HERE OR ABOVE"},
      {"pushover factors counted past their lines",
       "group_3x3_layered.inp",
       {{"1200000 0 0 0 0 0 0 0 0\n0\n0\n0\n", "1200000 0 0 0 0 0 0 0 0\n0\n0\n5\n"}},
       "5",
       "INPUT SECTION 3 (LOAD CASES), LINE 25: 'WIND' (A NUMBER IS DUE, ENTRY 5 OF THE 5 PUSHOVER LOAD FACTORS "
       "COUNTED AT LINE @)"},
      {"a line too many in section 3",
       "single_pile.inp",
       {{FLAGS_LINE + "0\n", FLAGS_LINE + "0\n0\n"}},
       nullptr,
       "INPUT SECTION 3 (LOAD CASES), LINE 8: THE 1 LOAD CASES COUNTED AT LINE 8 MAY BE TOO FEW (OR A LINE TOO MANY "
       "STANDS BEFORE LINE 23): LINE 23, WHERE THE HEADER OF SECTION 4 IS DUE, HOLDS NUMBERS ONLY, SO THE LINES AFTER "
       "IT WERE READ OUT OF PLACE UNTIL INPUT SECTION 4 (LOAD COMBINATIONS), LINE 24: A RECORD IS DUE, NOT THE SECTION "
       "HEADER 'LOAD COMBINATIONS', A LINE TOO MANY ABOVE IT OR A COUNT TOO LOW"},
      // A real without its exponent letter is read as Fortran reads it.
      {"tolerance typed 1-5",
       "single_pile.inp",
       {{"1.0E-5 1.0E-5 0.25 0.01\n", "1-5 1.0E-5 0.25 0.01\n"}},
       "1-5 1.0E-5 0.25 0.01",
       "     ** WARNING **  INPUT SECTION 3 (LOAD CASES), LINE @: '1-5' (READ AS 1E-5: AN EXPONENT WITHOUT ITS "
       "LETTER, OR A BLANK LEFT OUT)",
       true},
  };
  return table;
}

TEST_F(InputCheckTest, ExamplesGoThroughTheInputWithoutAWarning) {
  for (const char* name : {"single_pile.inp", "shafts_clay_sand_rock.inp", "bent_2d.inp", "stiffness_3d.inp",
                           "group_3x3_embedded_cap.inp", "group_3x3_layered.inp"}) {
    EXPECT_EQ(input_phase(example(name)), STATUS_OK) << name << "\n" << STATUS_DETAIL();
    EXPECT_EQ(log_.find("WARNING"), std::string::npos) << name << "\n" << log_;
  }
}

TEST_F(InputCheckTest, EachDeckEndsInItsErrorOrWarning) {
  for (const CheckCase& c : cases()) {
    std::string deck = example(c.deck);
    ASSERT_FALSE(deck.empty()) << c.deck;
    for (const Edit& edit : c.edits) {
      const std::size_t at = deck.find(edit.find);
      ASSERT_NE(at, std::string::npos) << c.name << ": " << edit.find;
      deck.replace(at, edit.find.size(), edit.replace);
    }
    std::string message = c.message;
    if (c.line != nullptr) {
      const int line = line_of(deck, c.line);
      ASSERT_GT(line, 0) << c.name;
      message.replace(message.find('@'), 1, std::to_string(line));
    }
    const int status = input_phase(deck);
    if (c.warning) {
      EXPECT_EQ(status, STATUS_OK) << c.name << "\n" << STATUS_DETAIL();
      EXPECT_NE(log_.find("\n" + message + "\n"), std::string::npos) << c.name << "\n" << log_;
    } else {
      EXPECT_EQ(status, STATUS_INPUT_DATA_ERROR) << c.name;
      EXPECT_EQ(STATUS_DETAIL(), "    " + message) << c.name;
    }
  }
}

// A curve generator that stops names the curve, its pile and property set
// with their lines, and where along the pile it stopped, after the final
// message's own lines.
TEST_F(InputCheckTest, CurveGenerationErrorsNameTheirPlace) {
  struct GenerationCase {
    const char* name;
    std::vector<Edit> edits;
    int status;
    std::string detail;
  };
  const std::string clay_bottom = "56 1500 0 0 0 0.01 0.5\n";
  const GenerationCase generation_cases[] = {
      {"clay of no cohesion",
       {{CLAY_TOP, "56 0 0 0 0 0.01 0.5\n"}, {clay_bottom, "56 0 0 0 0 0.01 0.5\n"}},
       STATUS_LS_CURVE_ZERO_COHESION,
       "INPUT SECTION 13 (GENERATED LOAD-SETTLEMENT CURVES), LINE 56: CURVE 1 OF PILE 1, PROPERTY SET 1 AT INPUT "
       "SECTION 8 (PROPERTY SETS), LINE 37, THE TIP, IN SOIL LAYER 1 AT INPUT SECTION 10 (SOIL LAYERS), LINE 52"},
      {"layer property count -1",
       {{"0 80\n2 7\n", "0 80\n2 -1\n"}},
       STATUS_LS_CURVE_ZERO_COHESION,
       "INPUT SECTION 13 (GENERATED LOAD-SETTLEMENT CURVES), LINE 56: CURVE 1 OF PILE 1, PROPERTY SET 1 AT INPUT "
       "SECTION 8 (PROPERTY SETS), LINE 37, THE TIP, IN SOIL LAYER 1 AT INPUT SECTION 10 (SOIL LAYERS), LINE 52"},
      {"pipe of no torsional rigidity",
       {{" 0 5.91E10 0 0 29E6 ", " 0 0 0 0 29E6 "}},
       STATUS_ZERO_TORSIONAL_RIGIDITY,
       "INPUT SECTION 14 (GENERATED TORQUE-ROTATION CURVES), LINE 59: CURVE 1 OF PILE 1, PROPERTY SET 1 AT INPUT "
       "SECTION 8 (PROPERTY SETS), LINE 37, SECTION 1, CROSS SECTION 1 AT INPUT SECTION 9 (CROSS SECTIONS), LINE 44"},
  };
  for (const GenerationCase& c : generation_cases) {
    std::string deck = example("single_pile.inp");
    for (const Edit& edit : c.edits) {
      const std::size_t at = deck.find(edit.find);
      ASSERT_NE(at, std::string::npos) << c.name << ": " << edit.find;
      deck.replace(at, edit.find.size(), edit.replace);
    }
    EXPECT_EQ(input_phase(deck), c.status) << c.name;
    EXPECT_EQ(STATUS_DETAIL(), "    " + c.detail) << c.name;
  }
  // The count of -1 is no count: its point lines are passed over with a warning.
  std::string skipped = example("single_pile.inp");
  skipped.replace(skipped.find("0 80\n2 7\n"), 9, "0 80\n2 -1\n");
  input_phase(skipped);
  EXPECT_NE(log_.find("\n     ** WARNING **  INPUT SECTION 10 (SOIL LAYERS), LINE 51: '-1' (NO PROPERTY OF LAYER 1 IS "
                      "READ: ITS 2 POINT LINES ARE PASSED OVER)\n"),
            std::string::npos)
      << log_;
}

// Physically possible things stay accepted: a softening user p-y curve and
// two pile rows at one place; a row spacing nothing reads; a negative cap
// parameter of a soil model that takes none; a real in every exponent form
// but the letterless one without a warning.
TEST_F(InputCheckTest, PossibleFoundationsAreAccepted) {
  const std::string bent = example("bent_2d.inp");
  std::string two_rows_at_one_place = bent;
  const std::string third_row = "0 6 14 0\n";
  two_rows_at_one_place.replace(two_rows_at_one_place.find(third_row), third_row.size(), "0 -6 -14 0\n");
  std::string softening = example("single_pile.inp");
  softening.replace(softening.find("1 3 0 0 0 0"), 11, "1 3 0 0 1 0");
  softening.replace(softening.find(SINGLE_PILE_ROW), SINGLE_PILE_ROW.size(), "2 2 1 1 0 0 0 0 1 1\n");
  softening.replace(softening.find("GENERATED LOAD-SETTLEMENT CURVES\n"), 33,
                    "USER P-Y CURVES\n1\n7 2\n0\n3\n0 0\n100 1\n80 2\n80\n3\n0 0\n300 1\n200 3\n"
                    "GENERATED LOAD-SETTLEMENT CURVES\n");
  std::string unused_parameters = example("group_3x3_embedded_cap.inp");
  unused_parameters.replace(unused_parameters.find(CAP_OPTIONS), CAP_OPTIONS.size(), CAP_OPTIONS_MODEL);
  unused_parameters.replace(unused_parameters.find("\n1 6\n"), 5, "\n1 0 6 -1 -1 -1\n");
  std::string exponents = example("single_pile.inp");
  exponents.replace(exponents.find("1.0E-5 1.0E-5 0.25 0.01"), 23, "1.0D-5 1e-5 0.25 1.0E-02");
  const std::pair<const char*, std::string> decks[] = {
      {"two rows at one place", two_rows_at_one_place},
      {"softening user p-y curve", softening},
      {"parameters of a soil model that takes none", unused_parameters},
      {"exponents with their letter", exponents}};
  for (const auto& [name, deck] : decks) {
    EXPECT_EQ(input_phase(deck), STATUS_OK) << name << "\n" << STATUS_DETAIL();
    EXPECT_EQ(log_.find("WARNING"), std::string::npos) << name << "\n" << log_;
  }
  // The letterless real is read as Fortran reads it, warning or not.
  std::string letterless = example("single_pile.inp");
  letterless.replace(letterless.find("1.0E-5 1.0E-5 0.25 0.01"), 23, "1-5 1.0E-5 0.25 0.01");
  ASSERT_EQ(input_phase(letterless), STATUS_OK);
  EXPECT_EQ(LoadCase.tolerance(1), 1e-5);
}

}  // namespace
}  // namespace pilecap
