// Torsion of a flexible cap reaches its piles: the flexible-cap example deck
// with a torsion M_X = 2e6 lb-in added to its load. On piles battered
// outward (BETA 78 degrees) the pile reactions balance the whole load, the
// torsion included, so none of it leaks out of the plate; on its vertical
// piles a very stiff plate gives each pile the torsion and the lateral
// forces of the rigid cap of the same deck. Pile forces come from
// PlatePileCoupling (plate) and from the run-end hook (rigid cap).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "plate/plate.hpp"
#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/run_folder.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap::testing {
namespace {

constexpr double FT = 12.0;  // inches of a foot
constexpr double TORSION = 2e6;
// The example's load at the origin with the torsion: FX, FY, FZ, MX, MY, MZ.
constexpr Vector6 LOAD{400000.0, 40000.0, 0.0, TORSION, 1.2e6, 0.0};
// Its pile heads (Y, Z ft), in the cap's plane.
constexpr std::array<std::array<double, 2>, 4> HEADS{{{-4, -4}, {-4, 4}, {4, -4}, {4, 4}}};

std::string replaced(std::string text, const std::string& what, const std::string& by) {
  const auto at = text.find(what);
  if (at == std::string::npos) {
    ADD_FAILURE() << "the example no longer holds: " << what;
    return text;
  }
  return text.replace(at, what.size(), by);
}

std::string example_with_torsion() {
  const std::string deck = RunFolder::read_file(std::string(PILECAP_EXAMPLES) + "/flexible_cap.inp");
  return replaced(deck, "400000 40000 0 0 1200000 0 0 0 0", "400000 40000 0 0 1200000 2000000 0 0 0");
}

// Each pile leans away from the cap's centre along Y (ALPHA 180 towards -Y).
std::string battered_outward(std::string deck) {
  deck = replaced(deck, "0 -4 -4 0 90 0 0", "0 -4 -4 180 78 0 0");
  deck = replaced(deck, "0 -4 4 0 90 0 0", "0 -4 4 180 78 0 0");
  deck = replaced(deck, "0 4 -4 0 90 0 0", "0 4 -4 0 78 0 0");
  return replaced(deck, "0 4 4 0 90 0 0", "0 4 4 0 78 0 0");
}

std::string very_stiff_plate(const std::string& deck) {
  return replaced(deck, "0 0 6 6 3.6E6 0.2", "0 0 6 6 3.6E10 0.2");
}

// The same deck with a rigid cap: option 4 is 0 and the plate line goes.
std::string rigid_cap(std::string deck) {
  deck = replaced(deck, "1 3 0 1 0 0", "1 3 0 0 0 0");
  return replaced(deck, "0 0 6 6 3.6E6 0.2\n", "");
}

// Forces at a head at r carried to the origin (moments gain r x F) and back.
Vector6 shifted(const Vector6& f, double y, double z, double sign) {
  Vector6 o = f;
  o[3] += sign * (y * f[2] - z * f[1]);
  o[4] += sign * (z * f[0]);
  o[5] += sign * (-y * f[0]);
  return o;
}

std::vector<Vector6> plate_head_forces() {
  std::vector<Vector6> forces;
  for (const PlatePileResponse& r : PlatePileCoupling.piles) {
    Vector6 f{};
    for (int k = 1; k <= 6; ++k) f[static_cast<std::size_t>(k - 1)] = r.head_forces(k);
    forces.push_back(f);
  }
  return forces;
}

class PlateCapTorsion : public PileForceRecordingTest {
 protected:
  static void run(const std::string& tag, const std::string& deck) {
    RunFolder folder(tag);
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, deck);
    folder.run();
    const std::vector<std::string> message = folder.final_message();
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.back().find("ANALYSIS COMPLETED"), std::string::npos) << message.back();
    EXPECT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("1 ANALYSIS COMPLETED"), std::string::npos);
  }
};

// Battered piles carry the torsion partly by their axial forces; whatever
// share, the reactions at the origin balance all six components of the load.
TEST_F(PlateCapTorsion, BatteredPilesBalanceTheTorsion) {
  run("plate_torsion_battered", battered_outward(example_with_torsion()));
  const std::vector<Vector6> heads = plate_head_forces();
  ASSERT_EQ(heads.size(), HEADS.size());
  Vector6 sum{};
  for (std::size_t p = 0; p < heads.size(); ++p) {
    const Vector6 at_origin = shifted(heads[p], HEADS[p][0] * FT, HEADS[p][1] * FT, 1.0);
    for (std::size_t k = 0; k < 6; ++k) sum[k] += at_origin[k];
  }
  for (std::size_t k = 0; k < 6; ++k) {
    const double scale = k < 3 ? LOAD[0] : TORSION;
    EXPECT_NEAR(sum[k], -LOAD[k], 5e-3 * scale) << "component " << k + 1;
  }
  EXPECT_NEAR(sum[3], -TORSION, 5e-3 * TORSION) << "the torsion stays in the piles";
}

// Vertical piles under a very stiff plate: every pile's torsion and lateral
// forces at its head as under the rigid cap, within 2 % of the largest of
// their kind.
TEST_F(PlateCapTorsion, VeryStiffPlateGivesThePilesTheRigidCapsTorsion) {
  const std::string deck = very_stiff_plate(example_with_torsion());
  run("plate_torsion_rigid", rigid_cap(example_with_torsion()));
  ASSERT_EQ(pile_forces_by_run.size(), 1u);
  std::vector<Vector6> rigid;
  for (std::size_t p = 0; p < HEADS.size(); ++p) {
    rigid.push_back(shifted(pile_forces_by_run[0][p], HEADS[p][0] * FT, HEADS[p][1] * FT, -1.0));
  }
  run("plate_torsion_stiff", deck);
  const std::vector<Vector6> plate = plate_head_forces();
  ASSERT_EQ(plate.size(), rigid.size());
  double torsion_scale = 0.0, lateral_scale = 0.0;
  for (const Vector6& f : rigid) {
    torsion_scale = std::max(torsion_scale, std::fabs(f[3]));
    lateral_scale = std::max({lateral_scale, std::fabs(f[1]), std::fabs(f[2])});
  }
  ASSERT_GT(torsion_scale, 1e-3 * TORSION) << "the rigid cap's piles carry torsion";
  for (std::size_t p = 0; p < rigid.size(); ++p) {
    EXPECT_NEAR(plate[p][3], rigid[p][3], 0.02 * torsion_scale) << "torsion, pile " << p + 1;
    EXPECT_NEAR(plate[p][1], rigid[p][1], 0.02 * lateral_scale) << "force along Y, pile " << p + 1;
    EXPECT_NEAR(plate[p][2], rigid[p][2], 0.02 * lateral_scale) << "force along Z, pile " << p + 1;
  }
}

}  // namespace
}  // namespace pilecap::testing
