// A fixture for the 2D cap tests: the model store, the reports as memory
// units, and pile rows of one elastic property set on stand-in soil springs
// (a constant modulus, optionally softening with the deflection, optionally
// reporting a lateral solution that does not close beyond a deflection) and
// a straight user load-settlement curve, so the rows are linear springs in
// their own axes: axial k_a, and the lateral stiffness of the beam-column.
#pragma once

#include <omp.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "cap/cap_solver.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile_head.hpp"
#include "tests/pile/pile_fixture.hpp"

namespace pilecap::testing {

// The stand-in soil of the rows.
struct PlaneSoil {
  double modulus = 50.0;           // Es, force / length^2
  double soft_deflection = 0.0;    // above 0: Es / (1 + |y| / soft_deflection)
  double no_closure_beyond = 0.0;  // above 0: a head deflection beyond it reports no closure
  double ground_line = 0.0;        // written into PileSoilData for the embedded cap
  double first_reaction = 0.0;
};
inline PlaneSoil Soil;

inline void plane_springs(int& /*prop_set*/, int& /*status*/, int& pile, int& /*factor_index*/, const double* y,
                          double* es, const double* /*move1*/, const double* /*move2*/, double* /*es_move*/,
                          double* p) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  for (int j = 1; j <= n + 1; ++j) {
    es[j] = Soil.soft_deflection > 0.0 ? Soil.modulus / (1.0 + std::fabs(y[j]) / Soil.soft_deflection) : Soil.modulus;
    p[j] = es[j] * y[j];
  }
  if (Soil.no_closure_beyond > 0.0 && std::fabs(y[1]) > Soil.no_closure_beyond) RAISE_PILE_ERROR(PILE_ERR_NO_CLOSURE);
}

// The state of the last 2D run handed to its reports.
struct Captured2D {
  bool captured = false;
  CapSolverState2D state;
};
inline Captured2D Solution2D;
inline void capture_solution_2d(const CapSolverState2D& state) {
  Solution2D.captured = true;
  Solution2D.state = state;
}

class PlaneTest : public PileTest {
 protected:
  std::filesystem::path scratch_;
  static constexpr double EI = 2.0e6;
  static constexpr double LENGTH = 300.0;
  static constexpr int INCREMENTS = 60;
  static constexpr double AXIAL_STIFFNESS = 4.0e3;  // k_a of the load-settlement line
  static constexpr double AXIAL_REACH = 100.0;      // movement of its end points

  void SetUp() override {
    PileTest::SetUp();
    Soil = PlaneSoil{};
    SET_SOIL_REACTION_PROVIDER(plane_springs);
    set_cap_solution_hook_2d(capture_solution_2d);
    fio::open_memory(UNIT_ITERATION_DUMP);
    fio::open_memory(UNIT_RESULT_CODES);
    fio::open_memory(UNIT_COMPUTATION_REPORT);
    fio::open_memory(UNIT_SUMMARY);
    fio::open_memory(UNIT_SUMMARY_SCRATCH);
    RunOptions.units = 1;
    RunOptions.dimension = 2;
    AnalysisControl.max_iterations = 50;
    AnalysisControl.llp_max_iterations = 100;
    AnalysisControl.llp_tolerance = 1e-10;
    AnalysisControl.tolerance = 1e-9;
    AnalysisControl.initial_step = 1.0;
    AnalysisControl.min_step = 0.01;
    AnalysisControl.threads_wanted = 1;
    AnalysisControl.threads_available = omp_get_num_procs();
    AnalysisControl.current_run = 1;
    LoadCase.count = 1;
    UserLsCurve.point_count(1) = 3;
    const double reach[3] = {-AXIAL_REACH, 0.0, AXIAL_REACH};
    for (int i = 1; i <= 3; ++i) {
      UserLsCurve.movement(1, i) = reach[i - 1];
      UserLsCurve.load(1, i) = AXIAL_STIFFNESS * reach[i - 1];
    }
    set_pile(1, 0.0, LENGTH, INCREMENTS, EI);
    // A pipe section, so the final print pass computes its stresses.
    auto& section = PileSection;
    section.area(SET, 1) = section.area_bottom(SET, 1) = 30.0;
    section.inertia_zz(SET, 1) = section.inertia_zz_bottom(SET, 1) = 2000.0;
    section.diameter(SET, 1) = section.diameter_bottom(SET, 1) = 20.0;
    PileTable.n_piles = 0;
    // No status or stop file of an earlier whole run: a unit test writes none.
    RunFiles = RunFilesRecord{};
    // The full-output road writes and rereads the per-pile scratch file.
    scratch_ =
        std::filesystem::temp_directory_path() / ("pilecap_plane_scratch_" + std::to_string(::getpid()) + "_" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    RunFiles.pile_results_scratch_file = scratch_.string();
    // Every force evaluation of the solver writes its curve warnings there.
    RunFiles.axial_warnings_file = scratch_.string() + ".warnings";
  }
  void TearDown() override {
    std::filesystem::remove(scratch_);
    std::filesystem::remove(scratch_.string() + ".warnings");
    RunFiles.pile_results_scratch_file.clear();
    RunFiles.axial_warnings_file.clear();
    set_cap_solution_hook_2d(nullptr);
    Soil = PlaneSoil{};
    PileTest::TearDown();
  }

  // Row p with its head at depth x and plan position y, its axis turned from
  // the vertical by batter towards +Y (radians), n identical piles.
  static void place_row(int p, double x, double y, double batter = 0.0, int n = 1, int conn = CONN_PIN) {
    if (p > PileTable.n_piles) PileTable.n_piles = p;
    PileTable.prop(p) = SET;
    PileTable.head_x(p) = PileTable.head_depth(p) = x;
    PileTable.head_plan(p) = y;
    PileTable.batter(p) = batter;
    PileTable.n_identical(p) = n;
    PileTable.conn_zz(p) = conn;
    PileTable.ls_curve(p) = 1;
    PileTable.axial_factor(p) = 1.0;
  }
  // Lays out the nodes of every row (as the echo does before the analysis).
  static void prepare() {
    int status = 0;
    PREPARE_NODE_LAYOUT(status);
    ASSERT_EQ(status, 0);
  }

  // The lateral head stiffness H / y of a pinned head of the property set
  // under the given axial force.
  static double pinned_lateral_stiffness(double axial_force = 0.0) {
    auto work = std::make_unique<LateralPileWork>();
    PileRowVector profile{};
    const double zero[3] = {}, identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    PileTable.conn_zz(PileTable.n_piles + 1) = CONN_PIN;
    const int probe = PileTable.n_piles + 1;  // an entry of its own
    PileTable.prop(probe) = SET;
    int status = 0;
    NODE2D(probe, status);
    double force = 0.0, moment = 0.0;
    SOLVE_LATERAL_PILE_2D(probe, 1.0, 0.0, axial_force, force, moment, status, zero, identity, profile, profile, *work);
    return force;
  }

  struct Outcome {
    int status = 0;
    bool captured = false;
    double u[3]{};
  };
  // A run of the solver on the cap load; a point run when flags are given.
  static Outcome solve(const double* load, const int* flags = nullptr, const double* point = nullptr,
                       const double* targets = nullptr) {
    Outcome out;
    Solution2D = Captured2D{};
    int print_flags = 0;
    double equivalent[3]{}, displacement[3]{}, cap_load[3], point_loads[3]{}, point_displacements[3]{};
    double point_xy[2]{};
    int dof_flags[3] = {1, 1, 1};
    LoadCase.point_loads_flag(1) = flags != nullptr ? 1 : 0;
    for (int k = 0; k < 3; ++k) {
      cap_load[k] = load[k];
      if (flags != nullptr) {
        dof_flags[k] = flags[k];
        point_loads[k] = load[k];
        if (targets != nullptr) point_displacements[k] = targets[k];
      }
    }
    if (point != nullptr) {
      point_xy[0] = point[0];
      point_xy[1] = point[1];
    }
    SOLVE_CAP_2D(RUN_KIND_CASE, print_flags, out.status, equivalent, displacement, cap_load, point_loads,
                 point_displacements, point_xy, dof_flags);
    out.captured = Solution2D.captured;
    for (int k = 0; k < 3; ++k) out.u[k] = Solution2D.state.displacement(k + 1);
    return out;
  }

  static std::string result_codes() { return fio::memory_contents(UNIT_RESULT_CODES); }
  static std::string dump() { return fio::memory_contents(UNIT_ITERATION_DUMP); }
  static int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
};

}  // namespace pilecap::testing
