// The data checks of the plate analysis, each reached by a small broken
// plate data file run through RUN_PLATE_ANALYSIS: its diagnosis lines on the
// listing (CHECK1's also on the convergence log), the rest of the file listed
// after them, the status and the cause; and nothing left open or half
// written. Also the largest front the mesh check measures on the meshes the
// engine's export generates.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/fio.hpp"
#include "tests/plate/plate_data_file.hpp"

namespace pilecap::testing {
namespace {

class PlateCheckTest : public PlateRunTest {};

// Two 8-node elements over [1, 5] x [1, 3] (13 nodes, row by row from
// y = 1), restrained along x = 1, with a uniform load: a valid model.
PlateDataFile two_element_file() {
  MeshPlan plan;
  plan.nx = 2;
  plan.ny = 1;
  plan.a = 4.0;
  plan.b = 2.0;
  plan.corner = [](int, int, double& x, double& y) {
    x += 1.0;
    y += 1.0;
  };
  PlateDataFile f = data_file_of(layout_mesh(plan));
  for (int node : {1, 6, 9}) f.restraints.push_back({node, {1, 1, 1, 1, 1, 1}, {}});
  f.distributed_loads = {{1, {0, 0, 1, 0, 0, 0}}, {2, {0, 0, 1, 0, 0, 0}}};
  return f;
}

// A broken file: the base file changed by `change` (and its counts record
// by `recount`), or its text changed by `edit`.
struct BrokenFile {
  const char* name;
  std::function<void(PlateDataFile&)> change;
  std::function<void(std::array<int, 16>&)> recount;
  std::function<void(std::string&)> edit;
  std::vector<std::string> diagnosis;  // consecutive listing lines
  std::string detail;
  bool check1 = false;  // the diagnosis also goes to the convergence log
};

std::string check1(int error) {
  return " *** DIAGNOSIS BY CHECK1, ERROR" + std::string(error < 10 ? "  " : " ") + std::to_string(error);
}
std::string check2(int error, int count) {
  std::string count_field = std::to_string(count);
  count_field.insert(0, 5 - count_field.size(), ' ');
  return " *** DIAGNOSIS BY CHECK2, ERROR " + std::to_string(error) + "       ASSOCIATED NUMBER" + count_field;
}
std::string reader(int error, int associated) {
  std::string field = std::to_string(associated);
  field.insert(0, 5 - field.size(), ' ');
  return " *** DIAGNOSIS BY READ_PLATE_DATA, ERROR " + std::to_string(error) + "       ASSOCIATED NUMBER" + field;
}

void set_node(PlateDataFile& f, int node, double x, double y) {
  for (auto& n : f.nodes) {
    if (n.number == node) {
      n.x = x;
      n.y = y;
    }
  }
}

// A node 14 that no element holds (NPOIN 14 stays within 2 elements x 8).
void add_unused_node(PlateDataFile& f, double x, double y) { f.nodes.push_back({14, 14, x, y}); }

std::vector<BrokenFile> broken_files() {
  return {
      {"no nodes",
       [](PlateDataFile& f) { f.restraints.clear(); },
       [](auto& c) { c[0] = 0; },
       nullptr,
       {check1(1)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 1",
       true},
      {"more nodes than the elements have places",
       nullptr,
       [](auto& c) { c[0] = 17; },
       nullptr,
       {check1(2)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 2",
       true},
      {"more restraints than nodes",
       nullptr,
       [](auto& c) { c[5] = 14; },
       nullptr,
       {check1(3)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 3",
       true},
      {"ten nodes per element",
       nullptr,
       [](auto& c) { c[3] = 10; },
       nullptr,
       {check1(6)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 6",
       true},
      {"more materials than elements",
       nullptr,
       [](auto& c) { c[2] = 3; },
       nullptr,
       {check1(8)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 8",
       true},
      {"four sampling points per direction",
       nullptr,
       [](auto& c) { c[4] = 4; },
       nullptr,
       {check1(10)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 10",
       true},
      {"a step of 0 and a minimum step below 0",
       [](PlateDataFile& f) { f.dt = 0.0, f.dtmin = -0.1; },
       nullptr,
       nullptr,
       {check1(25), "", "", check1(26)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 25 26",
       true},
      {"an end time before the start",
       [](PlateDataFile& f) { f.tini = 1.0, f.tend = 0.5; },
       nullptr,
       nullptr,
       {check1(27)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 27",
       true},
      {"an iteration limit beyond the capacity",
       [](PlateDataFile& f) { f.maxiter = PLATE_COUNT_CAPACITY + 1; },
       nullptr,
       nullptr,
       {check1(28)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 28",
       true},
      {"a count beyond the capacity",
       nullptr,
       [](auto& c) { c[6] = PLATE_COUNT_CAPACITY + 1; },
       nullptr,
       {check1(28)},
       "    PLATE DATA REJECTED BY CHECK1, ERRORS 28",
       true},
      {"six nodes per element",
       nullptr,
       [](auto& c) {
         c[0] = 12;
         c[3] = 6;
       },
       nullptr,
       {"    ELEMENTS OF 6 NODES WITH 2 SAMPLING POINTS PER DIRECTION ARE NOT SUPPORTED"},
       "    ELEMENTS OF 6 NODES WITH 2 SAMPLING POINTS PER DIRECTION ARE NOT SUPPORTED"},
      {"two nodes at one place",
       [](PlateDataFile& f) { set_node(f, 7, 3.0, 3.0); },
       nullptr,
       nullptr,
       {check2(13, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 13"},
      {"four nodes at one place",
       [](PlateDataFile& f) {
         for (int node : {2, 3, 4, 7}) set_node(f, node, 0.5, 0.5);
       },
       nullptr,
       nullptr,
       {check2(13, 6)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 13"},
      {"an element of material 2",
       [](PlateDataFile& f) { f.elements[1].material = 2; },
       nullptr,
       nullptr,
       {check2(14, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 14"},
      {"an element node 0",
       [](PlateDataFile& f) { f.elements[0].nodes[7] = 0; },  // node 6 (1, 2) then in no element
       nullptr,
       nullptr,
       {"", " CHECK WHY NODE   6 NEVER APPEARS", "", "", " MAXIMUM FRONTWIDTH ENCOUNTERED =   48", "", "",
        check2(15, 1), "", "", check2(18, 1), "", "", check2(19, 1), "", "", check2(20, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 15 18 19 20"},
      {"an element node beyond the nodes",
       [](PlateDataFile& f) {
         f.elements[1].nodes[1] = 20;  // node 5 (5, 1) then in no element
       },
       nullptr,
       nullptr,
       {check2(16, 1), "", "", check2(18, 1), "", "", check2(19, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 16 18 19"},
      {"a node twice in one element",
       [](PlateDataFile& f) { f.elements[1].nodes[1] = 3; },  // node 3 twice, node 5 in no element
       nullptr,
       nullptr,
       {check2(17, 1), "", "", check2(18, 1), "", "", check2(19, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 17 18 19"},
      {"a node in no element at the origin",
       [](PlateDataFile& f) { add_unused_node(f, 0.0, 0.0); },
       nullptr,
       nullptr,
       {"", " CHECK WHY NODE  14 NEVER APPEARS"},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 18"},
      {"a node in no element away from the origin",
       [](PlateDataFile& f) { add_unused_node(f, 3.0, 0.0); },
       nullptr,
       nullptr,
       {check2(18, 1), "", "", check2(19, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 18 19"},
      {"a restraint of a node in no element",
       [](PlateDataFile& f) {
         add_unused_node(f, 0.0, 0.0);
         f.restraints.push_back({14, {1, 0, 0, 0, 0, 0}, {}});
       },
       nullptr,
       nullptr,
       {check2(18, 1), "", "", check2(20, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 18 20"},
      {"a restraint of node 0",
       [](PlateDataFile& f) { f.restraints[1].node = 0; },
       nullptr,
       nullptr,
       {check2(22, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 22"},
      {"a restraint without a code",
       [](PlateDataFile& f) { f.restraints[1].codes = {0, 0, 0, 0, 0, 0}; },
       nullptr,
       nullptr,
       {check2(23, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 23"},
      {"two restraints of node 6",
       [](PlateDataFile& f) {
         f.restraints.push_back({6, {1, 0, 0, 0, 0, 0}, {}});
       },
       nullptr,
       nullptr,
       {check2(24, 1)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 24"},
      {"three restraints of node 1",
       [](PlateDataFile& f) {
         f.restraints.push_back({1, {1, 0, 0, 0, 0, 0}, {}});
         f.restraints.push_back({1, {0, 1, 0, 0, 0, 0}, {}});
       },
       nullptr,
       nullptr,
       {check2(24, 3)},
       "    PLATE DATA REJECTED BY CHECK2, ERRORS 24"},
      {"an element record of element 3",
       [](PlateDataFile& f) { f.elements[1].number = 3; },
       nullptr,
       nullptr,
       {reader(29, 2), "    ELEMENT RECORD 2 NAMES ELEMENT 3, OUTSIDE 1 TO 2"},
       "    ELEMENT RECORD 2 NAMES ELEMENT 3, OUTSIDE 1 TO 2"},
      {"a node record of node 0",
       [](PlateDataFile& f) { f.nodes[3].number = 0; },
       nullptr,
       nullptr,
       {reader(30, 4), "    NODE RECORD 4 NAMES NODE 0, OUTSIDE 1 TO 13"},
       "    NODE RECORD 4 NAMES NODE 0, OUTSIDE 1 TO 13"},
      {"a material record of material 2",
       [](PlateDataFile& f) { f.materials[0].number = 2; },
       nullptr,
       nullptr,
       {reader(31, 1), "    MATERIAL RECORD 1 NAMES MATERIAL 2, OUTSIDE 1 TO 1"},
       "    MATERIAL RECORD 1 NAMES MATERIAL 2, OUTSIDE 1 TO 1"},
      {"a nodal load of node 20",
       [](PlateDataFile& f) {
         f.nodal_loads = {{20, {0, 0, 1, 0, 0, 0}}};
       },
       nullptr,
       nullptr,
       {reader(32, 1), "    NODAL LOAD RECORD 1 NAMES NODE 20, OUTSIDE 1 TO 13"},
       "    NODAL LOAD RECORD 1 NAMES NODE 20, OUTSIDE 1 TO 13"},
      {"a distributed load of element 0",
       [](PlateDataFile& f) { f.distributed_loads[1].number = 0; },
       nullptr,
       nullptr,
       {reader(33, 2), "    DISTRIBUTED LOAD RECORD 2 NAMES ELEMENT 0, OUTSIDE 1 TO 2"},
       "    DISTRIBUTED LOAD RECORD 2 NAMES ELEMENT 0, OUTSIDE 1 TO 2"},
      {"an edge load on side 5",
       [](PlateDataFile& f) {
         f.edge_loads = {{1, 5, 3, {1, 1, 1}}};
       },
       nullptr,
       nullptr,
       {reader(34, 1),
        "    EDGE RECORD 1 OF EDGE LOADS NAMES ELEMENT 1, SIDE 5, DOF 3; ELEMENTS 1 TO 2, SIDES 1 TO 4, DOFS 1 TO 6"},
       "    EDGE RECORD 1 OF EDGE LOADS NAMES ELEMENT 1, SIDE 5, DOF 3; ELEMENTS 1 TO 2, SIDES 1 TO 4, DOFS 1 TO 6"},
      {"a concentrated load beyond the plate",
       [](PlateDataFile& f) {
         f.concentrated_loads = {{2, 2, {}}, {5.5, 2, {0, 0, 1, 0, 0, 0}}};
       },
       nullptr,
       nullptr,
       {reader(35, 2), "    CONCENTRATED LOAD 2 LIES IN NO ELEMENT OF THE PLATE"},
       "    CONCENTRATED LOAD 2 LIES IN NO ELEMENT OF THE PLATE"},
      {"a file ending in the material records",
       nullptr,
       nullptr,
       [](std::string& text) { text.erase(text.find("\n1 1e+07")); },
       {reader(36, 21),
        "    PLATE DATA FILE ENDS EARLY OR HOLDS A VALUE THAT IS NOT A NUMBER: MATERIAL RECORDS, LINE 21"},
       "    PLATE DATA FILE ENDS EARLY OR HOLDS A VALUE THAT IS NOT A NUMBER: MATERIAL RECORDS, LINE 21"},
      {"a coordinate that is not a number",
       nullptr,
       nullptr,
       [](std::string& text) { text.replace(text.find("\n3 3 "), 7, "\n3 3 x "); },
       {reader(36, 8), "    PLATE DATA FILE ENDS EARLY OR HOLDS A VALUE THAT IS NOT A NUMBER: NODE RECORDS, LINE 8"},
       "    PLATE DATA FILE ENDS EARLY OR HOLDS A VALUE THAT IS NOT A NUMBER: NODE RECORDS, LINE 8"},
  };
}

// The listing holds `block` as consecutive lines.
bool has_lines(const std::vector<std::string>& listing, const std::vector<std::string>& block) {
  for (std::size_t start = 0; start + block.size() <= listing.size(); ++start) {
    if (std::equal(block.begin(), block.end(), listing.begin() + static_cast<std::ptrdiff_t>(start))) return true;
  }
  return false;
}

TEST_F(PlateCheckTest, EachBrokenFileIsDiagnosedAndEndsTheAnalysis) {
  const std::string post_disaster = " NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS";
  for (const BrokenFile& b : broken_files()) {
    SCOPED_TRACE(b.name);
    reset_plate_records();
    PlateRunFolder folder;
    PlateDataFile file = two_element_file();
    if (b.change) b.change(file);
    std::array<int, 16> counts = file.counts();
    if (b.recount) b.recount(counts);
    std::string text = file.text(counts);
    if (b.edit) b.edit(text);
    EXPECT_EQ(PlateRunFolder::run(text), STATUS_PLATE_ERROR);
    EXPECT_EQ(PlateFailure.detail, b.detail);
    const std::vector<std::string> listing = lines_of(PlateRunFolder::listing());
    EXPECT_TRUE(has_lines(listing, b.diagnosis)) << PlateRunFolder::listing();
    EXPECT_TRUE(has_lines(listing, {"", "", post_disaster, ""}));
    std::string log_diagnoses;
    for (const std::string& line : b.diagnosis) {
      if (b.check1 && !line.empty()) log_diagnoses += "\n\n" + line + "\n";
    }
    EXPECT_EQ(PlateRunFolder::log(), log_diagnoses);
    // Nothing half-written or left open: the step results file is closed
    // with its end line, no step was solved, every table is released.
    EXPECT_EQ(PlateRunFolder::steps(), "END_STEP_DATA\n");
    EXPECT_EQ(PlateRunFolder::debug(), "");
    for (int unit = UNIT_PLATE_CONTROL; unit <= UNIT_PLATE_DEBUG; ++unit) EXPECT_FALSE(fio::is_open(unit));
    EXPECT_FALSE(PlateModel.element_nodes.created());
  }
}

// The rest of the file follows the diagnosis, each line indented by five
// blanks and widened to 80 characters; CHECK1 lists it from the first element.
TEST_F(PlateCheckTest, PostDisasterListingCopiesTheRestOfTheFile) {
  PlateRunFolder folder;
  const PlateDataFile file = two_element_file();
  std::array<int, 16> counts = file.counts();
  counts[0] = 17;
  const std::string text = file.text(counts);
  ASSERT_EQ(PlateRunFolder::run(text), STATUS_PLATE_ERROR);
  const std::vector<std::string> data = lines_of(text);
  std::vector<std::string> expected = {
      "", "", check1(2), "", "", " NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS", ""};
  for (std::size_t k = 3; k < data.size(); ++k) {
    std::string line = data[k];
    line.resize(80, ' ');
    expected.push_back("     " + line);
  }
  std::vector<std::string> listing = lines_of(PlateRunFolder::listing());
  ASSERT_GE(listing.size(), expected.size());
  listing.erase(listing.begin(), listing.end() - static_cast<std::ptrdiff_t>(expected.size()));
  EXPECT_EQ(listing, expected);
}

// The largest front of the 8-node meshes of f x g elements that the export
// numbers (corner rows of 2f + 1 nodes and middle rows of f + 1), and the
// solver's front size set from it.
TEST_F(PlateCheckTest, MeasuresTheLargestFrontOfTheExportMeshes) {
  struct Case {
    int f, g, largest, front_size;
  };
  const Case cases[] = {{1, 1, 48, 60}, {2, 1, 48, 60}, {2, 2, 60, 60}, {3, 3, 72, 73}, {4, 4, 84, 85}};
  for (const Case& c : cases) {
    reset_plate_records();
    PlateControl.NPOIN = (c.g + 1) * (2 * c.f + 1) + c.g * (c.f + 1);
    PlateControl.NELEM = c.f * c.g;
    PlateControl.NNODE = 8;
    PlateControl.NMATS = 1;
    SET_PLATE_FORMULATION_CONSTANTS();
    int status = 0;
    ALLOCATE_PLATE_ARRAYS(status);
    ASSERT_EQ(status, 0);
    for (int n = 1; n <= PlateControl.NPOIN; ++n) PlateModel.node_coordinates(n, 1) = n;  // all apart
    for (int j = 1; j <= c.g; ++j) {
      for (int i = 1; i <= c.f; ++i) {
        const int e = (j - 1) * c.f + i;
        const int b = 1 + (j - 1) * (3 * c.f + 2) + 2 * (i - 1);
        const int m = 1 + (j - 1) * (3 * c.f + 2) + (2 * c.f + 1) + (i - 1);
        const int t = 1 + j * (3 * c.f + 2) + 2 * (i - 1);
        const int nodes[8] = {b, b + 2, t + 2, t, b + 1, m + 1, t + 1, m};
        for (int p = 1; p <= 8; ++p) PlateModel.element_nodes(e, p) = nodes[p - 1];
        PlateModel.element_materials(e) = 1;
      }
    }
    fio::open_memory(UNIT_PLATE_LISTING);
    CHECK2(status);
    EXPECT_EQ(status, 0) << c.f << " x " << c.g;
    std::string field = std::to_string(c.largest);
    field.insert(0, 5 - field.size(), ' ');
    EXPECT_EQ(fio::memory_contents(UNIT_PLATE_LISTING), "\n\n MAXIMUM FRONTWIDTH ENCOUNTERED =" + field + "\n")
        << c.f << " x " << c.g;
    EXPECT_EQ(PlateControl.front_size, c.front_size) << c.f << " x " << c.g;
  }
}

}  // namespace
}  // namespace pilecap::testing
