// TABLE J and the moment-curvature sets: the user sets (input section 17)
// copied into sets 1 .. n_user_sets and printed, then one set per bending
// direction of every nonlinear cross section whose curves come from outside
// (sections 18 and 19), numbered after them, with the text of their
// generation copied from the echo insert. A set is bilinear when every curve
// is elastic-perfectly-plastic (3 points, or 5 in the nonsymmetric mode).
// Sets, curves and points are 1-based; moments print through the kip option.
#include <string>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "echo/echo.hpp"
#include "input/input.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

constexpr const char* TABLE_J_HEADING = "(/,/,/,5X,\"* TABLE J *   MOMENT CURVATURE SETS    \")";
constexpr const char* USER_SETS_HEADING = "(/,/,5X,\"  USER DEFINED MOMENT CURVATURE\")";
//   "       NUM OF SETS :  2"
constexpr const char* SET_COUNT_LAYOUT = "(/,7X,\"NUM OF SETS :\",I3)";
constexpr const char* SET_LAYOUT = "(/,/,7X,\"CURVE SET\",I3,10X,\"NUM OF CURVES\",I3,/)";
//   "        CURVE  1              AXIAL LOAD     0.100E+03KIPS"
constexpr const char* CURVE_LAYOUT = "(/,8X,\"CURVE\",I3,6X,\"        AXIAL LOAD \",3X,E10.3,A4,/)";
constexpr const char* POINT_HEADING_LAYOUT =
    "(12X,\"POINT\",14X,\"MOMENT\",13X,\"CURVATURE\",/,12X,\"     \",13X,A4,\"-\",A2,13X,\"RADIAN/\",A2)";
constexpr const char* GENERATED_HEADING = "(/,/,5X,\"  INTERNALLY GENERATED MOMENT CURVATURE\",/)";
constexpr int INSERT_LINE_LENGTH = 256;

bool is_bilinear_curve(int m, int c) {
  const auto& S = MomentCurvatureSet;
  auto phi = [&](int k) { return S.curvature(m, c, k); };
  auto mom = [&](int k) { return S.moment(m, c, k); };
  if (RunOptions.nonsymmetric_ei == 0) {
    return S.n_points(m, c) == BILINEAR_POINTS_SYMMETRIC && mom(1) == 0.0 && phi(1) == 0.0 && mom(2) == mom(3);
  }
  return S.n_points(m, c) == BILINEAR_POINTS_NONSYMMETRIC && mom(3) == 0.0 && phi(3) == 0.0 && mom(1) == mom(2) &&
         mom(4) == mom(5);
}

void copy_user_sets() {
  auto& S = MomentCurvatureSet;
  const auto& in = MomentCurvatureInput;
  for (int m = 1; m <= S.n_user_sets; ++m) {
    S.n_curves(m) = in.num_curves(m);
    for (int c = 1; c <= in.num_curves(m); ++c) {
      S.axial_load(m, c) = in.axial_load(m, c);
      S.n_points(m, c) = in.num_points(m, c);
      for (int k = 1; k <= in.num_points(m, c); ++k) {
        S.moment(m, c, k) = in.moment(m, c, k);
        S.curvature(m, c, k) = in.curvature(m, c, k);
      }
    }
    S.bilinear(m) = 1;
    for (int c = 1; c <= S.n_curves(m) && S.bilinear(m) == 1; ++c) {
      if (!is_bilinear_curve(m, c)) S.bilinear(m) = 0;
    }
    if (S.bilinear(m) != 1) continue;
    for (int c = 1; c <= S.n_curves(m); ++c) {
      S.bilinear_points(m, c) = S.n_points(m, c);
      for (int k = 1; k <= S.n_points(m, c); ++k) {
        S.bilinear_moment(m, c, k) = S.moment(m, c, k);
        S.bilinear_curvature(m, c, k) = S.curvature(m, c, k);
      }
    }
  }
}

void print_user_sets() {
  const auto& S = MomentCurvatureSet;
  const std::string force(UnitLabels.force_large());
  const std::string length(UnitLabels.moment_length());
  fio::write(UNIT_ECHO, USER_SETS_HEADING);
  fio::write(UNIT_ECHO, SET_COUNT_LAYOUT, S.n_user_sets);
  for (int m = 1; m <= S.n_user_sets; ++m) {
    fio::write(UNIT_ECHO, SET_LAYOUT, m, S.n_curves(m));
    for (int c = 1; c <= S.n_curves(m); ++c) {
      fio::write(UNIT_ECHO, CURVE_LAYOUT, c, KIPS_FROM_POUNDS(S.axial_load(m, c)), force);
      fio::write(UNIT_ECHO, POINT_HEADING_LAYOUT, force, length, length);
      for (int k = 1; k <= S.n_points(m, c); ++k) {
        WRITE_BLANKS(UNIT_ECHO, 10);
        WRITE_INT_FIELD(UNIT_ECHO, 5, k);
        WRITE_BLANKS(UNIT_ECHO, 11);
        WRITE_REAL_FIELD(UNIT_ECHO, 12, 5, KIPS_FROM_POUNDS(S.moment(m, c, k)));
        WRITE_BLANKS(UNIT_ECHO, 9);
        WRITE_REAL_FIELD(UNIT_ECHO, 12, 5, S.curvature(m, c, k));
        END_REPORT_LINE(UNIT_ECHO);
      }
    }
  }
}

// Set m from one bending direction of cross section e.
void generate_set(int m, int e, const SectionCurvePart& curves, const SectionBilinearPart& law) {
  auto& S = MomentCurvatureSet;
  S.n_curves(m) = curves.num_axial_loads(e);
  for (int c = 1; c <= S.n_curves(m); ++c) {
    S.axial_load(m, c) = curves.axial_load(e, c);
    S.n_points(m, c) = curves.num_points(e, c);
    for (int k = 1; k <= curves.num_points(e, c); ++k) {
      S.moment(m, c, k) = curves.moment(e, c, k);
      S.curvature(m, c, k) = curves.curvature(e, c, k);
    }
  }
  S.bilinear(m) = CrossSection.bilinear_mphi(e) == 1 ? 1 : 0;
  if (S.bilinear(m) != 1) return;
  const bool nonsymmetric = RunOptions.nonsymmetric_ei != 0;
  for (int c = 1; c <= S.n_curves(m); ++c) {
    // Point 0 of a list is at zero curvature; points 1 .. n are as read.
    auto set_point = [&](int target, int index) {
      const bool origin = index <= 0;
      S.bilinear_curvature(m, c, target) = origin ? 0.0 : law.curvature(e, c, index);
      S.bilinear_moment(m, c, target) = origin ? (nonsymmetric ? law.moment_0(e, c) : 0.0) : law.moment(e, c, index);
    };
    const int n = law.num_points(e, c);
    S.bilinear_points(m, c) = nonsymmetric ? BILINEAR_POINTS_NONSYMMETRIC : BILINEAR_POINTS_SYMMETRIC;
    set_point(1, 0);
    set_point(2, law.yield_index(e, c));
    if (!nonsymmetric) {
      set_point(3, n);
      continue;
    }
    S.bilinear_curvature(m, c, 3) = S.bilinear_moment(m, c, 3) = 0.0;
    set_point(4, law.second_yield_index(e, c));
    set_point(5, n);
  }
}

// The generated sets; false when none was generated.
bool generate_sets() {
  if (CrossSection.count <= 0 || SectionCurveInput.count <= 0) return false;
  int m = MomentCurvatureSet.n_user_sets;
  bool generated = false;
  for (int e = 1; e <= SectionCurveInput.count && e <= MAX_CROSS_SECTIONS; ++e) {
    if (CrossSection.nonlinear(e) != 1 || CrossSection.type(e) == NL_USER_EI) continue;
    // Sets beyond the room of the table are not kept.
    if (++m <= MAX_MPHI_SETS) generate_set(m, e, SectionCurveInput.zz, SectionBilinearInput.zz);
    generated = true;
    if (RunOptions.dimension == MODEL_3D && ++m <= MAX_MPHI_SETS) {
      generate_set(m, e, SectionCurveInput.yy, SectionBilinearInput.yy);
    }
  }
  return generated;
}

void copy_generation_text() {
  fio::write(UNIT_ECHO, GENERATED_HEADING);
  std::string line;
  while (fio::read_line(UNIT_ECHO_INSERT, line, INSERT_LINE_LENGTH) == fio::IO_OK) {
    WRITE_TRIMMED_TEXT(UNIT_ECHO, line);
    END_REPORT_LINE(UNIT_ECHO);
  }
}

}  // namespace

void ECHO_MOMENT_CURVATURE_SETS(int& /*status*/) {
  auto& S = MomentCurvatureSet;
  if (S.n_user_sets > MAX_MPHI_SETS) S.n_user_sets = MAX_MPHI_SETS;
  if (S.n_sets > 0) {
    fio::write(UNIT_ECHO, TABLE_J_HEADING);
    if (S.n_user_sets > 0) {
      copy_user_sets();
      print_user_sets();
    }
  }
  if (generate_sets()) copy_generation_text();
}

}  // namespace pilecap
