// Whole runs of symmetric pile groups and bents under a centred vertical
// load: the answer is the symmetric one, exactly (no sideways movement or
// rotation of the cap, identical piles carrying the same share), reached in
// no more iterations than the same deck with a sideways load of 1e-6 of the
// vertical one, which must complete too. The soils include the cusps at zero
// deflection that made the cap iteration cycle across the solution (soft
// clay, p ~ y^(1/3); stiff clay without free water, p ~ y^(1/4)) and sand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/cap_results.hpp"
#include "tests/e2e/deck_2d.hpp"
#include "tests/e2e/deck_3d.hpp"
#include "tests/e2e/run_folder.hpp"

namespace pilecap::testing {
namespace {

constexpr double SIDEWAYS_SHARE = 1e-6;  // of the vertical load
constexpr double LOAD_PER_PILE = 50000.0;

constexpr double PILE_DIAMETER = 24.0;  // in, the decks' pipe piles
constexpr double PILE_LENGTH = 240.0;   // in: 20 ft
constexpr double NODE_SPACING = 12.0;   // in: 20 increments

// A soil of the table. Its curves start (at zero deflection) as
// p = 0.5 pu (y / y50)^exponent in clay, with pu = 3 c D at the ground line
// (the pile heads) and y50 = 2.5 e50 D, and as the straight line k x y in
// sand (exponent 0); the properties hold c (psf) second, k (pci) fourth and
// e50 sixth.
struct Soil {
  const char* name;
  int code;
  std::vector<double> props;
  double exponent;
};

const Soil SOILS[] = {{"soft clay", 1, {50, 500, 0, 100, 0, 0.01, 0.5}, 1.0 / 3.0},
                      {"sand", 4, {60, 0, 35, 90, 0, 0, 0}, 0.0},
                      {"stiff clay without free water", 3, {56, 2000, 0, 0, 0, 0.005, 0}, 0.25}};

// The sideways force (lb) that a pile resolves when it stands a deflection
// e off its solution: in clay the head node's soil over its half spacing,
// p(e) h / 2, for at such deflections the curve's secant at the head
// (p / y ~ y^(exponent - 1)) is far stiffer than the pile over a node
// spacing, and the head node carries nearly all of it; in sand, whose
// curves start straight, k x e over the whole pile, k e L^2 / 2.
double resolved_pile_force(const Soil& soil, double e) {
  if (soil.exponent == 0.0) return soil.props[3] * e * PILE_LENGTH * PILE_LENGTH / 2.0;
  const double cohesion = soil.props[1] / 144.0, y50 = 2.5 * soil.props[5] * PILE_DIAMETER;
  const double pu = 3.0 * cohesion * PILE_DIAMETER;
  return 0.5 * pu * std::pow(e / y50, soil.exponent) * NODE_SPACING / 2.0;
}

// Head positions (y, z) in ft of the 3D groups: 3 x 3 and 2 x 2 grids 4 ft
// apart, a row of three along Y.
struct Shape {
  const char* name;
  std::vector<std::array<double, 2>> heads;  // empty: the 2D bent
};

const Shape SHAPES[] = {
    {"3 x 3", {{-4, -4}, {-4, 0}, {-4, 4}, {0, -4}, {0, 0}, {0, 4}, {4, -4}, {4, 0}, {4, 4}}},
    {"2 x 2", {{-2, -2}, {-2, 2}, {2, -2}, {2, 2}}},
    {"row of three", {{-4, 0}, {0, 0}, {4, 0}}},
    {"bent", {}},
};

// One row of the table: a shape in a soil with the case's tolerances and
// first step; each row runs without and with the sideways load.
struct Row {
  const Shape* shape;
  const Soil* soil;
  double llp_tolerance, tolerance, initial_step;
  std::string name() const {
    char text[160];
    std::snprintf(text, sizeof text, "%s in %s, pile tolerance %g, cap tolerance %g, first step %g", shape->name,
                  soil->name, llp_tolerance, tolerance, initial_step);
    return text;
  }
};

// Every shape, soil, cap tolerance and first step; the pile tolerances
// 1e-5 .. 1e-8 taken in turn, so each meets every shape and soil (the full
// product would run four times as long for no other path through the code).
std::vector<Row> table() {
  const double llp[] = {1e-5, 1e-6, 1e-7, 1e-8};
  std::vector<Row> rows;
  int turn = 0;
  for (const Shape& shape : SHAPES) {
    for (const Soil& soil : SOILS) {
      for (double tolerance : {1e-5, 1e-6}) {
        for (double step : {0.25, 1.0}) rows.push_back({&shape, &soil, llp[turn++ % 4], tolerance, step});
      }
    }
  }
  return rows;
}

// The bent in the plane: a vertical row between two rows battered 14
// degrees outward, 6 ft apart, as the example bent.
// What the bent and the groups share: 20 ft piles in 20 increments in the
// row's soil, one case of the given loads, the row's tolerances.
template <class Deck>
void take_row(Deck& d, const Row& r, double fx, double fy) {
  d.length = 20.0;
  d.increments = 20;
  d.axial_stiffness = 2e6;
  d.layers = {{r.soil->code, 0.0, 40.0, r.soil->props}};
  d.cases = {{.fx = fx, .fy = fy, .initial_step = r.initial_step}};
  d.tolerance = r.tolerance;
  d.llp_tolerance = r.llp_tolerance;
}

Deck2D bent_deck(const Row& r, double fx, double fy) {
  Deck2D d;
  d.rows = {{0.0, -6.0, -14.0}, {0.0, 0.0, 0.0}, {0.0, 6.0, 14.0}};
  take_row(d, r, fx, fy);
  d.print_option = 0;
  return d;
}

Deck3D group_deck(const Row& r, double fx, double fy) {
  Deck3D d;
  for (const auto& h : r.shape->heads) d.piles.push_back({h[0], h[1]});
  take_row(d, r, fx, fy);
  return d;
}

// The Newton iterations of every step attempt of the run, from the trace.
int iterations(const RunFolder& folder) { return count_text(folder.read(RunFolder::RUN_LOG_LINE), "     ITERATION "); }

class SymmetricCaps : public PileForceRecordingTest {};

TEST_F(SymmetricCaps, CentredVerticalLoadGivesTheSymmetricAnswerAndASidewaysOneCompletes) {
  for (const Row& r : table()) {
    SCOPED_TRACE(r.name());
    const bool plane = r.shape->heads.empty();
    const int n = plane ? 3 : static_cast<int>(r.shape->heads.size());
    const double fx = LOAD_PER_PILE * n;
    // Pile reactions at the origin balance the load: they are the load in
    // the plane, its negative in space.
    const double sign = plane ? 1.0 : -1.0;
    const int lateral = 1, vertical = 0;
    int runs_iterations[2] = {0, 0};
    for (int sideways = 0; sideways < 2; ++sideways) {
      SCOPED_TRACE(sideways == 1 ? "with the sideways load" : "centred");
      const double fy = sideways == 1 ? SIDEWAYS_SHARE * fx : 0.0;
      pile_forces_by_run.clear();
      RunFolder folder("symmetric_caps");
      folder.write_names();
      folder.put(RunFolder::INPUT_LINE, plane ? deck_2d(bent_deck(r, fx, fy)) : deck_3d(group_deck(r, fx, fy)));
      folder.run();
      ASSERT_NE(folder.read(RunFolder::RESULT_CODES_LINE).find("    1 ANALYSIS COMPLETED"), std::string::npos);
      runs_iterations[sideways] = iterations(folder);
      const auto rows = table_l_rows(folder);
      ASSERT_EQ(rows.size(), 1u);
      ASSERT_EQ(pile_forces_by_run.size(), 1u);
      const auto& forces = pile_forces_by_run[0];
      ASSERT_EQ(static_cast<int>(forces.size()), n);

      double vertical_sum = 0.0, lateral_sum = 0.0;
      for (const Vector6& f : forces) {
        vertical_sum += f[vertical];
        lateral_sum += f[lateral];
      }
      EXPECT_NEAR(sign * vertical_sum, fx, 1e-6 * fx);
      // The sideways reactions carry the sideways load to what the run
      // resolves. The cap iteration accepts a translation once its increment
      // is within the pile deflection tolerance or within the cap tolerance
      // of the step's displacement (the vertical one, as large as a first
      // step's): the cap stands within about e, the larger of the two, of its
      // sideways solution (~0 at the cusps of the clay curves), and each pile
      // is out of balance by at most the force it resolves at e (above).
      // Measured: in the groups in clay the unbalanced force is 0.67 to 0.99
      // of the head nodes' force at the cap's printed sideways displacement
      // (4e-12 .. 6e-12 in), in sand it is rounding, and in every row it is
      // at most 0.37 of this bound.
      const Vector6& u = rows[0].displacement;
      const double e = std::max(r.llp_tolerance, r.tolerance * std::fabs(u[0]) * r.initial_step);
      EXPECT_NEAR(sign * lateral_sum, fy, n * resolved_pile_force(*r.soil, e));
      // The sideways load turns the cap by its own small overturning moment
      // and by the unbalanced sideways force left at the cusp (above),
      // which share the vertical load out unevenly by up to 1e-4.
      const double share = sideways == 1 ? 1e-4 : 1e-6;
      if (plane) {
        // The battered rows mirror each other.
        EXPECT_NEAR(forces[0][vertical], forces[2][vertical], share * fx / n);
      } else {
        for (const Vector6& f : forces) EXPECT_NEAR(sign * f[vertical], fx / n, share * fx / n);
      }
      if (sideways == 1) continue;
      // Centred: identical piles carry identical shares, to the last bit.
      if (!plane) {
        for (const Vector6& f : forces) EXPECT_EQ(f[vertical], forces[0][vertical]);
      }
      // Centred: nothing moves or turns the cap but the vertical load, and
      // no pile takes a sideways force, to the last bit.
      for (int k = 1; k < (plane ? 3 : 6); ++k)
        EXPECT_EQ(u[static_cast<std::size_t>(k)], 0.0) << "displacement " << k + 1;
      if (plane) {
        EXPECT_EQ(forces[1][lateral], 0.0);
        EXPECT_EQ(forces[0][lateral], -forces[2][lateral]);
      } else {
        for (const Vector6& f : forces) {
          EXPECT_EQ(f[lateral], 0.0);
          EXPECT_EQ(f[lateral + 1], 0.0);
        }
      }
    }
    EXPECT_LE(runs_iterations[0], runs_iterations[1]);
  }
}

// The bent of three rows of three piles and its planar 3D twin (the piles of
// a row 3 ft apart out of the plane) under a combination of the vertical
// case alone: one structure, one answer, and nothing sideways in either.
TEST_F(SymmetricCaps, BentAndItsPlanarTwinAgreeUnderAPureVerticalCombination) {
  const Row r{&SHAPES[3], &SOILS[0], 1e-8, 1e-6, 0.25};
  Deck2D plane = bent_deck(r, 3 * 3 * LOAD_PER_PILE, 0.0);
  for (DeckRow2D& row : plane.rows) row.identical = 3;
  plane.combinations = {{{{1, 1.2}}}};
  const Deck3D twin = planar_twin(plane, 3.0);
  std::vector<CapResult> results[2];
  for (int space = 0; space < 2; ++space) {
    SCOPED_TRACE(space == 1 ? "planar twin" : "bent");
    RunFolder folder("symmetric_twins");
    folder.write_names();
    folder.put(RunFolder::INPUT_LINE, space == 1 ? deck_3d(twin) : deck_2d(plane));
    folder.run();
    EXPECT_EQ(count_text(folder.read(RunFolder::RESULT_CODES_LINE), "    1 ANALYSIS COMPLETED"), 2);
    results[space] = table_l_rows(folder);
    ASSERT_EQ(results[space].size(), 2u);
  }
  for (std::size_t run = 0; run < 2; ++run) {
    SCOPED_TRACE(run == 0 ? "the case" : "the combination");
    const Vector6& u2 = results[0][run].displacement;
    const Vector6& u3 = results[1][run].displacement;
    EXPECT_NEAR(u2[0], u3[0], 1e-6 * std::fabs(u3[0]));
    EXPECT_EQ(u2[1], 0.0);
    EXPECT_EQ(u2[2], 0.0);
    // The twin's batter angles of 76 and 104 degrees mirror each other only
    // to their rounding in radians: its sideways movement and rotation are 0
    // to the cap tolerance (rotations weighed by the 6 ft to the outer rows).
    const std::size_t sideways[] = {1, 2, 3, 4, 5};
    for (std::size_t k : sideways) {
      const double lever = k < 3 ? 1.0 : 72.0;
      EXPECT_NEAR(u3[k] * lever, 0.0, 1e-6 * std::fabs(u3[0])) << "twin displacement " << k + 1;
    }
  }
}

// The example bent's dead load: symmetric again (it kept -3.3e-7 in of
// sideways movement and 0.02 kip on its vertical row), within the 17
// iterations it once took (it took 72 while the cap cycled).
TEST_F(SymmetricCaps, ExampleBentDeadLoadIsSymmetric) {
  RunFolder folder("symmetric_example_bent");
  folder.write_names();
  folder.put(RunFolder::INPUT_LINE, RunFolder::read_file(std::string(PILECAP_EXAMPLES) + "/bent_2d.inp"));
  folder.run();
  const auto rows = table_l_rows(folder);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].displacement[1], 0.0);
  EXPECT_EQ(rows[0].displacement[2], 0.0);
  ASSERT_FALSE(pile_forces_by_run.empty());
  const auto& forces = pile_forces_by_run[0];
  ASSERT_EQ(forces.size(), 3u);
  EXPECT_EQ(forces[1][1], 0.0);
  EXPECT_EQ(forces[0][1], -forces[2][1]);
  EXPECT_EQ(forces[0][0], forces[2][0]);
  const std::string log = folder.read(RunFolder::RUN_LOG_LINE);
  const std::size_t second_case = log.find("LOAD CASE :     2");
  ASSERT_NE(second_case, std::string::npos);
  EXPECT_LE(count_text(log.substr(0, second_case), "     ITERATION "), 17);
}

}  // namespace
}  // namespace pilecap::testing
