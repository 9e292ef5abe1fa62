// Whole runs of the flexible-cap example deck (a 12 ft cap centred on the
// origin on four piles at +-4 ft) with its plate meshed anew: with every
// number of divisions from 1 to 15 each way, square and oblong, the load
// point, the torsion ring (a torsion is added to the load) and the piles are located and the run completes
// with the pile reactions balancing the cap load and no value that is not a
// number in any file.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "plate/plate.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"
#include "tests/support/report_scan.hpp"

namespace pilecap::testing {
namespace {

constexpr double FT = 12.0;  // inches of a foot
constexpr const char* EXAMPLE_MESH_LINE = "0 0 6 6 3.6E6 0.2";

// The example deck with its plate cut into divisions_1 x divisions_2 elements
// and a torsion of 2e6 lb-in added to its load, so that the ring of forces
// that carries a torsion to the plate is located too.
std::string example_with_mesh(int divisions_1, int divisions_2) {
  std::string deck = RunFolder::read_file(std::string(PILECAP_EXAMPLES) + "/flexible_cap.inp");
  const auto at = deck.find(EXAMPLE_MESH_LINE);
  if (at == std::string::npos) {
    ADD_FAILURE() << "the example's mesh line moved";
    return deck;
  }
  const std::string load = "400000 40000 0 0 1200000 0 0 0 0";
  const auto at_load = deck.find(load);
  if (at_load == std::string::npos) {
    ADD_FAILURE() << "the example's load line moved";
    return deck;
  }
  deck.replace(at_load, load.size(), "400000 40000 0 0 1200000 2000000 0 0 0");
  deck.replace(at, std::string(EXAMPLE_MESH_LINE).size(),
               "0 0 " + std::to_string(divisions_1) + " " + std::to_string(divisions_2) + " 3.6E6 0.2");
  return deck;
}

class PlateCapMeshes : public EngineTest {};

TEST_F(PlateCapMeshes, EveryMeshOfTheExampleLocatesItsPointsAndCompletes) {
  // The example's load at the origin (FX, FY, MY) and its piles' heads (Y, Z ft).
  constexpr double FX = 400000.0, FY = 40000.0, MX = 2e6, MY = 1.2e6;
  const std::array<std::pair<double, double>, 4> heads{{{-4, -4}, {-4, 4}, {4, -4}, {4, 4}}};
  std::vector<std::pair<int, int>> meshes;
  // One element: the piles lie inside it, where corner nodes have negative
  // shape functions (a singular plate that filled its files with NaN before
  // the drilling rotation was tied to the membrane).
  for (int n = 1; n <= 15; ++n) meshes.emplace_back(n, n);
  for (const auto& oblong : {std::pair{2, 15}, std::pair{15, 2}, std::pair{5, 11}, std::pair{7, 3}}) {
    meshes.push_back(oblong);
  }
  for (const auto& [divisions_1, divisions_2] : meshes) {
    SCOPED_TRACE(std::to_string(divisions_1) + " x " + std::to_string(divisions_2));
    RunFolder folder("plate_meshes");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, example_with_mesh(divisions_1, divisions_2));
    folder.run();
    const std::vector<std::string> message = folder.final_message();
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.back().find("ANALYSIS COMPLETED"), std::string::npos) << message.back();
    EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("1 ANALYSIS COMPLETED"), std::string::npos);
    ASSERT_EQ(PlatePileCoupling.piles.size(), heads.size());
    double fx = 0.0, fy = 0.0, mx = 0.0, my = 0.0;
    for (std::size_t p = 0; p < heads.size(); ++p) {
      const PlatePileResponse& r = PlatePileCoupling.piles[p];
      EXPECT_EQ(r.evaluated, 1) << "pile " << p + 1 << " lies in an element";
      fx += r.head_forces(1);
      fy += r.head_forces(2);
      mx += r.head_forces(4) + heads[p].first * FT * r.head_forces(3) - heads[p].second * FT * r.head_forces(2);
      // The heads lie in the cap's plane: a moment about Y gains Z F_X.
      my += r.head_forces(5) + heads[p].second * FT * r.head_forces(1);
    }
    EXPECT_NEAR(fx, -FX, 1e-3 * FX);
    EXPECT_NEAR(fy, -FY, 1e-3 * FX);
    EXPECT_NEAR(mx, -MX, 1e-3 * MX);
    EXPECT_NEAR(my, -MY, 1e-3 * MY);
    for (const auto& file : std::filesystem::directory_iterator(folder.folder())) {
      const std::string text = RunFolder::read_file(file.path());
      EXPECT_EQ(first_non_finite_word(text), "") << file.path().filename();
    }
  }
}

}  // namespace
}  // namespace pilecap::testing
