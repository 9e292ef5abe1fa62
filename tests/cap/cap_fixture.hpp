// A fixture for the 3D cap tests: the model store, the reports as memory
// units, and stand-in head responses in place of the pile solutions: linear
// springs in pile axes (axial k_a, lateral k_l from the long-beam closed
// form, torsion and head rotation springs), carried to global axes by the
// pile's rotation, and a few nonlinear or failing variants.
#pragma once

#include <omp.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "cap/cap_solver.hpp"
#include "group/group_forces.hpp"
#include "model/analysis_control.hpp"
#include "model/conversions.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "pile/pile_head.hpp"
#include "tests/pile/pile_fixture.hpp"

namespace pilecap::testing {

// Spring constants of the stand-in, in pile axes.
struct HeadSprings {
  double axial = 100.0;      // k_a
  double lateral = 10.0;     // k_l
  double torsion = 50.0;     // k_t
  double rotation = 2000.0;  // head rotation spring about each lateral axis
  double capacity = 0.0;     // above 0: the axial force stays at capacity beyond it
  double atan_scale = 0.0;   // above 0: axial force = capacity x atan(k_a u / capacity)
  int failing_pile = 0;      // this pile reports failing_status
  int failing_status = 0;
  int no_closure_pile = 0;    // this pile reports a lateral solution that does not close
  double finite_reach = 0.0;  // above 0: every force is NaN beyond this axial displacement
};
inline HeadSprings Springs;

// The forces in pile axes for a displacement in pile axes.
inline void local_response(const double* u, double* f) {
  const HeadSprings& s = Springs;
  double axial = s.axial * u[0];
  if (s.atan_scale > 0.0) {
    axial = s.capacity * std::atan(s.axial * u[0] / s.capacity);
  } else if (s.capacity > 0.0 && std::fabs(axial) > s.capacity) {
    axial = std::copysign(s.capacity, axial);
  }
  f[0] = -axial;
  f[1] = -s.lateral * u[1];
  f[2] = -s.lateral * u[2];
  f[3] = -s.torsion * u[3];
  f[4] = -s.rotation * u[4];
  f[5] = -s.rotation * u[5];
  if (s.finite_reach > 0.0 && std::fabs(u[0]) > s.finite_reach) {
    for (int k = 0; k < 6; ++k) f[k] = std::nan("");
  }
}

// Stand-in head response: f = R f_local(R^T u), the reaction on the cap.
inline void spring_head_response(int pile, double* forces, const double* u, int& status) {
  Matrix6 offset_transposed, offset, rotation, rotation_transposed;
  PILE_TRANSFORMATION(pile, offset_transposed, offset, rotation, rotation_transposed);
  double local_u[6], local_f[6];
  MULTIPLY_6X6_BY_VECTOR(local_u, rotation_transposed.data(), u);
  local_response(local_u, local_f);
  MULTIPLY_6X6_BY_VECTOR(forces, rotation.data(), local_f);
  if (pile == Springs.failing_pile) status = Springs.failing_status;
  if (pile == Springs.no_closure_pile) RAISE_PILE_ERROR(PILE_ERR_NO_CLOSURE);
}

// The state of the last 3D run handed to its reports.
struct Captured {
  bool captured = false;
  CapSolverState3D state;
};
inline Captured Solution;
inline void capture_solution(const CapSolverState3D& state) {
  Solution.captured = true;
  Solution.state = state;
}

class CapTest : public PileTest {
 protected:
  std::filesystem::path scratch_;
  static constexpr double PI = 3.141592653589793;

  void SetUp() override {
    PileTest::SetUp();
    Springs = HeadSprings{};
    SET_HEAD_RESPONSE_PROVIDER(spring_head_response);
    set_cap_solution_hook(capture_solution);
    fio::open_memory(UNIT_ITERATION_DUMP);
    fio::open_memory(UNIT_RESULT_CODES);
    RunOptions.units = 1;
    RunOptions.dimension = 3;
    AnalysisControl.max_iterations = 50;
    AnalysisControl.tolerance = 1e-8;
    AnalysisControl.initial_step = 1.0;
    AnalysisControl.min_step = 0.01;
    AnalysisControl.threads_wanted = 1;
    AnalysisControl.threads_available = omp_get_num_procs();
    AnalysisControl.current_run = 1;
    LoadCase.count = 1;
    // No file names of an earlier whole run: the status and stop files are
    // then not written into the current folder.
    RunFiles = RunFilesRecord{};
    // The full-output road writes and rereads the per-pile scratch file.
    scratch_ =
        std::filesystem::temp_directory_path() / ("pilecap_cap_scratch_" + std::to_string(::getpid()) + "_" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    RunFiles.pile_results_scratch_file = scratch_.string();
    // Every force evaluation of the solvers writes its curve warnings there.
    RunFiles.axial_warnings_file = scratch_.string() + ".warnings";
  }
  void TearDown() override {
    std::filesystem::remove(scratch_);
    std::filesystem::remove(scratch_.string() + ".warnings");
    RunFiles = RunFilesRecord{};
    SET_HEAD_RESPONSE_PROVIDER(nullptr);
    set_cap_solution_hook(nullptr);
    Springs = HeadSprings{};
    PileTest::TearDown();
  }

  // Pile p with its head at (0, y, z), its axis turned from the vertical by
  // batter towards +Y (radians).
  static void place_pile(int p, double y, double z, double batter = 0.0) {
    if (p > PileTable.n_piles) PileTable.n_piles = p;
    PileTable.head_x(p) = 0.0;
    PileTable.head_y(p) = y;
    PileTable.head_z(p) = z;
    PileTable.alpha(p) = 0.0;
    PileTable.beta(p) = PI / 2 - batter;
    PileTable.theta(p) = 0.0;
    PileTable.n_identical(p) = 1.0;
    // Every pile of a model has a property set; the writers of the final
    // print pass read its node count.
    PileTable.prop(p) = SET;
    if (PileProperty.n_increments(SET) < 1) {
      PileProperty.length(SET) = 10.0;
      PileProperty.n_increments(SET) = 10;
      PileProperty.increment(SET) = 1.0;
    }
  }

  // A run of the solver on the cap load; returns the status word.
  struct Outcome {
    int status = 0;
    bool u_valid = false;
    double u[6]{};
  };
  static Outcome solve(const double* load) {
    Outcome out;
    Solution = Captured{};
    int print_flags = 0;
    double equivalent[6]{}, displacement[6]{}, cap_load[6], point_loads[6]{}, point_displacements[6]{};
    double point[3]{};
    int flags[6] = {1, 1, 1, 1, 1, 1};
    for (int k = 0; k < 6; ++k) cap_load[k] = load[k];
    SOLVE_CAP_3D(RUN_KIND_CASE, print_flags, out.status, equivalent, displacement, cap_load, point_loads,
                 point_displacements, point, flags);
    out.u_valid = Solution.captured;
    for (int k = 0; k < 6; ++k) out.u[k] = Solution.state.displacement(k + 1);
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
