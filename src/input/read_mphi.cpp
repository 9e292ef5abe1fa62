// Sections 17 to 19 of the input file: the user moment-curvature sets, and
// for the nonlinear cross sections their moment-curvature curves and the
// bilinear data of those curves, z-z bending first and y-y bending in 3D.
// Sets, entries, curves and points are 1-based; values are stored as read.
#include "input/input_reader.hpp"

namespace pilecap::input_detail {

namespace {

constexpr int NONSYMMETRIC = 1;

// The points of one curve: moment and curvature per line.
bool read_curve_points(InputReader& in, Table3<double>& moment, Table3<double>& curvature, int s, int c, int n) {
  CountedList points(in, "POINTS OF A MOMENT-CURVATURE CURVE", n);
  for (int k = 1; k <= n; ++k) {
    points.entry(k);
    if (!in.read(moment(s, c, k), curvature(s, c, k))) return false;
  }
  return true;
}

// The lines of one axial load of an entry that come before its points.
using AxialLoadLines = bool (*)(InputReader& in, SectionCurvePart& part, int e, int a);

bool section_curve_lines(InputReader& in, SectionCurvePart& part, int e, int a) {
  double unused_real = 0.0;
  int unused = 0;
  if (!in.read(part.axial_load(e, a)) || !in.read(unused_real)) return false;
  if (RunOptions.nonsymmetric_ei == NONSYMMETRIC && !in.read(unused_real)) return false;
  return in.read_counting({{1, MAX_MPHI_POINTS}}, unused, part.num_points(e, a));
}

bool bilinear_lines(InputReader& in, SectionCurvePart& curve_part, int e, int a) {
  auto& part = static_cast<SectionBilinearPart&>(curve_part);
  const bool nonsymmetric = RunOptions.nonsymmetric_ei == NONSYMMETRIC;
  double unused_real = 0.0;
  int unused = 0;
  if (!in.read(part.axial_load(e, a)) || !in.read(unused_real)) return false;
  if (nonsymmetric && !in.read(part.moment_0(e, a))) return false;
  if (!in.read(part.yield_index(e, a))) return false;
  if (nonsymmetric && !in.read(part.second_yield_index(e, a))) return false;
  return in.read_counting({{1, MAX_MPHI_POINTS}}, unused, part.num_points(e, a));
}

// One bending direction of entry e.
bool read_part(InputReader& in, SectionCurvePart& part, int e, AxialLoadLines lines_before_points) {
  if (!in.read_counting({{1, MAX_MPHI_CURVES}}, part.label(e), part.num_axial_loads(e)) ||
      !in.count(part.num_axial_loads(e), "AXIAL LOADS OF A CROSS SECTION", MAX_MPHI_CURVES)) {
    return false;
  }
  CountedList loads(in, "AXIAL LOADS OF A CROSS SECTION", part.num_axial_loads(e));
  for (int a = 1; a <= part.num_axial_loads(e); ++a) {
    loads.entry(a);
    if (!lines_before_points(in, part, e, a) ||
        !in.count(part.num_points(e, a), "POINTS OF A MOMENT-CURVATURE CURVE", MAX_MPHI_POINTS) ||
        !read_curve_points(in, part.moment, part.curvature, e, a, part.num_points(e, a))) {
      return false;
    }
  }
  return true;
}

// Sections 18 and 19: one entry per nonlinear cross section.
void read_section_entries(InputReader& in, int section, int& count, SectionCurvePart& zz, SectionCurvePart& yy,
                          AxialLoadLines lines_before_points) {
  if (!in.section_count(section, count, "CROSS SECTION ENTRIES", MAX_CROSS_SECTIONS)) {
    return;
  }
  CountedList entries(in, "CROSS SECTION ENTRIES", count);
  for (int e = 1; e <= count; ++e) {
    entries.entry(e);
    if (!read_part(in, zz, e, lines_before_points)) return;
    if (RunOptions.dimension == MODEL_3D && !read_part(in, yy, e, lines_before_points)) return;
  }
}

}  // namespace

void read_moment_curvature_sets(InputReader& in) {
  auto& m = MomentCurvatureInput;
  int& n_sets = MomentCurvatureSet.n_user_sets;
  if (!in.section_count(SECTION_MOMENT_CURVATURE_SETS, n_sets, "MOMENT-CURVATURE SETS", MAX_INPUT_MPHI_SETS)) {
    return;
  }
  CountedList sets(in, "MOMENT-CURVATURE SETS", n_sets);
  for (int s = 1; s <= n_sets; ++s) {
    sets.entry(s);
    if (!in.read_counting({{1, MAX_MPHI_CURVES}}, m.set_label(s), m.num_curves(s)) ||
        !in.count(m.num_curves(s), "CURVES OF A MOMENT-CURVATURE SET", MAX_MPHI_CURVES)) {
      return;
    }
    CountedList curves(in, "CURVES OF A MOMENT-CURVATURE SET", m.num_curves(s));
    for (int c = 1; c <= m.num_curves(s); ++c) {
      curves.entry(c);
      // Both integers of this line go to the point count: the second counts.
      int& n = m.num_points(s, c);
      if (!in.read(m.axial_load(s, c)) || !in.read_counting({{0, MAX_MPHI_POINTS}, {1, MAX_MPHI_POINTS}}, n, n) ||
          !in.count(n, "POINTS OF A MOMENT-CURVATURE CURVE", MAX_MPHI_POINTS) ||
          !read_curve_points(in, m.moment, m.curvature, s, c, n)) {
        return;
      }
    }
  }
}

void read_section_curves(InputReader& in) {
  auto& s = SectionCurveInput;
  read_section_entries(in, SECTION_SECTION_CURVES, s.count, s.zz, s.yy, section_curve_lines);
}

void read_section_bilinear_data(InputReader& in) {
  auto& s = SectionBilinearInput;
  read_section_entries(in, SECTION_SECTION_BILINEAR, s.count, s.zz, s.yy, bilinear_lines);
}

}  // namespace pilecap::input_detail
