// The plate model's records: the extents of its tables, the formulation
// constants, and "gslab.dat" written from "Names.dat" with the names whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

class PlateModelTest : public PlateTest {};

TEST_F(PlateModelTest, TablesTakeTheExtentsOfTheCounts) {
  PlateControlRecord& c = PlateControl;
  c.NPOIN = 13;
  c.NELEM = 2;
  c.NNODE = 8;
  c.NMATS = 1;
  c.NVFIX = 3;
  c.NCLOD = 9;
  c.NCTSTI = 4;
  c.edge_load_count = -2;  // a negative count is taken as 0
  SET_PLATE_FORMULATION_CONSTANTS();
  EXPECT_EQ(c.NEVAB, 48);
  EXPECT_EQ(c.NDOFN, 6);
  EXPECT_EQ(c.NSTRE, 8);
  EXPECT_EQ(c.membrane_dofs, 16);
  EXPECT_EQ(c.plate_dofs, 24);
  int status = 0;
  ALLOCATE_PLATE_ARRAYS(status);
  ASSERT_EQ(status, 0);
  const PlateModelRecord& m = PlateModel;
  EXPECT_EQ(m.node_coordinates.rows(), 13);
  EXPECT_EQ(m.node_coordinates.columns(), 2);
  EXPECT_EQ(m.ASDIS.size(), 78);
  EXPECT_EQ(m.element_vectors.rows(), 2);
  EXPECT_EQ(m.element_vectors.columns(), 48);
  EXPECT_EQ(m.element_matrices.count(), 2u * 48 * 48);
  EXPECT_EQ(m.element_nodes.columns(), 8);
  EXPECT_EQ(m.restraint_codes.rows(), 3);
  EXPECT_EQ(m.concentrated_load_points.rows(), 9);
  EXPECT_EQ(m.pile_points.rows(), 4);
  EXPECT_EQ(m.edge_loads.rows(), 0);
  EXPECT_EQ(m.element_records.size(), 2);
  RELEASE_PLATE_ARRAYS();
  EXPECT_FALSE(m.ASDIS.created());
}

// A folder with a "Names.dat" whose records 5 to 9 are given; the test
// changes into it and back.
class NamesFolder {
 public:
  explicit NamesFolder(const std::vector<std::string>& records) {
    folder_ = std::filesystem::temp_directory_path() / ("pilecap_plate_names_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    if (records.empty()) return;
    std::ofstream names("Names.dat");
    for (int k = 1; k <= 4; ++k) names << "reserved " << k << "\n";
    for (const std::string& record : records) names << record << "\n";
  }
  ~NamesFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  static std::string read(const std::string& name) {
    std::ifstream file(name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path folder_, previous_;
};

// The plate files are named after the input file in the folder of the
// results report, never the engine's input or its reports. Names are carried
// whole: one longer than 75 characters is not cut (a regression: cut names
// opened other files), a shorter one is padded to 75. A second call writes
// the file again from its start.
TEST_F(PlateModelTest, NamesFileNamesThePlateFilesAfterTheInput) {
  const std::string results_folder(70, 'r');
  const std::string short_name = "data/input_deck.inp ";  // 20 characters, a trailing blank
  NamesFolder folder({short_name, "echo.txt", results_folder + "/results.txt", "summary.txt", "plot.dat"});
  std::string first, second;
  for (int call = 1; call <= 2; ++call) {
    int status = 0;
    WRITE_PLATE_NAMES_FILE(first, second, status);
    ASSERT_EQ(status, 0);
  }
  EXPECT_EQ(first, "data/input_deck.inp");
  EXPECT_EQ(second, "plot.dat");
  const std::string base = results_folder + "/input_deck";
  EXPECT_EQ(PlateFileNames.data_file, base + ".plate.dat");
  EXPECT_EQ(PlateFileNames.listing_file, base + ".plate.lst");
  EXPECT_EQ(PlateFileNames.step_results_file, base + ".plate.steps");
  EXPECT_EQ(PlateFileNames.convergence_log_file, base + ".plate.log");
  auto padded = [](std::string name) {
    name.resize(std::max<std::size_t>(name.size(), 75), ' ');
    return name + "\n";
  };
  EXPECT_EQ(NamesFolder::read("gslab.dat"), padded("plot.dat") + padded(base + ".plate.dat") +
                                                padded(base + ".plate.lst") + padded(base + ".plate.steps") +
                                                padded(base + ".plate.log"));
}

TEST_F(PlateModelTest, MissingOrShortNamesFileFails) {
  {
    NamesFolder folder({});
    std::string first, second;
    int status = 0;
    WRITE_PLATE_NAMES_FILE(first, second, status);
    EXPECT_EQ(status, STATUS_PLATE_ERROR);
    EXPECT_EQ(PlateFailure.detail, "    FILE CANNOT BE READ: Names.dat");
    EXPECT_FALSE(std::filesystem::exists("gslab.dat"));
  }
  reset_plate_records();
  NamesFolder folder({"input.inp", "echo.txt"});  // records 7 to 9 missing
  std::string first, second;
  int status = 0;
  WRITE_PLATE_NAMES_FILE(first, second, status);
  EXPECT_EQ(status, STATUS_PLATE_ERROR);
  EXPECT_FALSE(std::filesystem::exists("gslab.dat"));
}

}  // namespace
}  // namespace pilecap::testing
