// Section 9 of the input file: the cross sections, elastic or nonlinear.
// An elastic section gives its dimensions and properties at the top and, when
// tapered, at the bottom; a uniform one and every nonlinear one get bottom
// values equal to their top values. Cross section c is 1-based; dimensions are
// in inches or millimetres as the input gives them.
#include <array>
#include <cmath>
#include <string>

#include "input/input_reader.hpp"

namespace pilecap::input_detail {

namespace {

using Reals = CrossSectionRecord::Reals;

constexpr int BAR_COUNT_PLACE = 4;  // the bar or strand count on its line (0-based)

// The eight dimensions of an elastic section, at the top and at the bottom.
constexpr int ELASTIC_DIMENSIONS = 8;
using DimensionList = std::array<Reals*, ELASTIC_DIMENSIONS>;

DimensionList top_dimensions() {
  auto& x = CrossSection;
  return {&x.diameter,    &x.inner_diameter,   &x.width,        &x.depth, &x.inner_width,
          &x.inner_depth, &x.flange_thickness, &x.web_thickness};
}

DimensionList bottom_dimensions() {
  auto& x = CrossSection;
  return {
      &x.diameter_bottom,    &x.inner_diameter_bottom,   &x.width_bottom,        &x.depth_bottom, &x.inner_width_bottom,
      &x.inner_depth_bottom, &x.flange_thickness_bottom, &x.web_thickness_bottom};
}

// Top and bottom tables of the properties shared by both kinds of section.
struct PropertyPair {
  Reals* top;
  Reals* bottom;
};

constexpr int SHARED_PROPERTIES = 12;

std::array<PropertyPair, SHARED_PROPERTIES> shared_properties() {
  auto& x = CrossSection;
  return {{{&x.shear_modulus, &x.shear_modulus_bottom},
           {&x.area, &x.area_bottom},
           {&x.inertia_zz, &x.inertia_zz_bottom},
           {&x.inertia_yy, &x.inertia_yy_bottom},
           {&x.gj, &x.gj_bottom},
           {&x.mn_zz, &x.mn_zz_bottom},
           {&x.vn_zz, &x.vn_zz_bottom},
           {&x.modulus, &x.modulus_bottom},
           {&x.perimeter, &x.perimeter_bottom},
           {&x.mn_yy, &x.mn_yy_bottom},
           {&x.vn_yy, &x.vn_yy_bottom},
           {&x.diameter, &x.diameter_bottom}}};
}

// Every bottom value of section c becomes its top value.
void copy_top_to_bottom(int c) {
  const DimensionList top = top_dimensions();
  const DimensionList bottom = bottom_dimensions();
  for (int k = 0; k < ELASTIC_DIMENSIONS; ++k) (*bottom[k])(c) = (*top[k])(c);
  for (const PropertyPair& pair : shared_properties()) (*pair.bottom)(c) = (*pair.top)(c);
}

bool read_dimensions(InputReader& in, const DimensionList& tables, int c) {
  auto& t = tables;
  return in.read((*t[0])(c), (*t[1])(c), (*t[2])(c), (*t[3])(c), (*t[4])(c), (*t[5])(c), (*t[6])(c), (*t[7])(c));
}

// The width every p-y curve takes is the section's diameter, and a hollow
// section's void lies inside it. Dimensions of one end were just read.
bool diameters_usable(InputReader& in, double diameter, double inner) {
  if (!(diameter > 0.0)) {
    in.reject(number_text(diameter), "THE DIAMETER OF A CROSS SECTION IS ABOVE 0");
    return false;
  }
  if (inner < 0.0 || inner >= diameter) {
    in.reject(number_text(inner),
              "THE INTERNAL DIAMETER IS 0 (SOLID) OR ABOVE 0 AND BELOW THE DIAMETER " + number_text(diameter));
    return false;
  }
  return true;
}

// Every rigidity of the pile is E times a property of the section.
bool modulus_usable(InputReader& in, double modulus) {
  if (modulus > 0.0) return true;
  in.reject(number_text(modulus), "THE MODULUS OF ELASTICITY E IS ABOVE 0");
  return false;
}

bool read_elastic_section(InputReader& in, int c) {
  auto& x = CrossSection;
  double unused_real = 0.0;
  int unused = 0;
  if (!read_dimensions(in, top_dimensions(), c) || !diameters_usable(in, x.diameter(c), x.inner_diameter(c)) ||
      !in.read(x.shear_modulus(c), x.area(c), x.inertia_zz(c), x.inertia_yy(c), unused_real, x.gj(c), x.mn_zz(c),
               x.vn_zz(c), x.modulus(c), unused_real, x.perimeter(c), x.moment_capacity_given(c), x.mn_yy(c),
               x.vn_yy(c), x.tapered(c))) {
    return false;
  }
  InputLines.cross_section(c) = in.line();
  if (!modulus_usable(in, x.modulus(c))) return false;
  if (x.tapered(c) > 0) {
    if (!read_dimensions(in, bottom_dimensions(), c) ||
        !diameters_usable(in, x.diameter_bottom(c), x.inner_diameter_bottom(c)) ||
        !in.read(x.shear_modulus_bottom(c), x.area_bottom(c), x.inertia_zz_bottom(c), x.inertia_yy_bottom(c),
                 unused_real, x.gj_bottom(c), x.mn_zz_bottom(c), x.vn_zz_bottom(c), x.modulus_bottom(c), unused_real,
                 x.perimeter_bottom(c), x.mn_yy_bottom(c), x.vn_yy_bottom(c)) ||
        !modulus_usable(in, x.modulus_bottom(c))) {
      return false;
    }
  } else {
    copy_top_to_bottom(c);
  }
  if (!in.read(x.aisc_family(c), unused, x.wall_thickness(c), x.aisc_round(c), unused, unused)) return false;
  // A wall as thick as the radius fills the section; a thicker one has no inside.
  const double radius = 0.5 * std::fmin(x.diameter(c), x.diameter_bottom(c));
  if (x.wall_thickness(c) < 0.0 || x.wall_thickness(c) > radius) {
    in.reject(number_text(x.wall_thickness(c)),
              "THE WALL THICKNESS IS 0 OR ABOVE, AT MOST THE RADIUS " + number_text(radius));
    return false;
  }
  return in.read(fio::Text{x.aisc_name(c), TEXT_LINE_LENGTH});
}

// Bars or strands: one line each, a label that is not used and four reals.
bool read_bar_lines(InputReader& in, int c, int n, const char* item, CrossSectionRecord::BarTable& a,
                    CrossSectionRecord::BarTable& y, CrossSectionRecord::BarTable& z, CrossSectionRecord::BarTable& d) {
  int unused = 0;
  CountedList bars(in, item, n);
  for (int b = 1; b <= n; ++b) {
    bars.entry(b);
    if (!in.read(unused, a(c, b), y(c, b), z(c, b), d(c, b))) return false;
  }
  return true;
}

bool read_nonlinear_section(InputReader& in, int c) {
  auto& x = CrossSection;
  int unused = 0;
  double unused_real = 0.0;
  if (!in.read(x.diameter(c), x.area(c), x.inertia_zz(c), x.inertia_yy(c), x.gj(c), x.mn_zz(c), x.vn_zz(c),
               x.modulus(c), x.perimeter(c), x.mn_yy(c), x.vn_yy(c))) {
    return false;
  }
  InputLines.cross_section(c) = in.line();
  // The bending stiffness of a nonlinear section comes from its
  // moment-curvature data; E serves the axial rigidity only, where it is given.
  if (!diameters_usable(in, x.diameter(c), 0.0)) return false;
  if (x.modulus(c) < 0.0) {
    in.reject(number_text(x.modulus(c)), "THE MODULUS OF ELASTICITY E IS 0 OR ABOVE");
    return false;
  }
  copy_top_to_bottom(c);
  if (!in.read(x.type(c), x.nl_width(c), x.nl_depth(c), x.nl_diameter(c), x.void_diameter(c), x.corner_chamfer(c),
               x.nl_web_thickness(c), x.nl_flange_thickness(c), x.casing_diameter(c), x.casing_thickness(c),
               x.steel_diameter(c)) ||
      !in.read(x.steel_thickness(c), x.concrete_fc(c), x.casing_es(c), x.casing_fy(c), x.steel_es(c), x.steel_fy(c),
               x.embedded_steel(c), x.h_section(c), x.nl_aisc_family(c), unused) ||
      !in.read(fio::Text{x.nl_aisc_name(c), TEXT_LINE_LENGTH}) ||
      !in.read_counting({{BAR_COUNT_PLACE, MAX_SECTION_BARS}}, unused, x.rebar_layout(c), unused, unused,
                        x.rebar_count(c), x.rebar_area(c), x.rebar_diameter(c), x.rebar_cover(c), x.rebar_es(c),
                        x.rebar_fy(c), x.confined(c)) ||
      !in.count(x.rebar_count(c), "BARS OF A CROSS SECTION", MAX_SECTION_BARS) ||
      !in.read(x.tie_type(c), unused, unused, x.tie_count(c), x.tie_legs_y(c), x.tie_legs_z(c), x.tie_area(c),
               x.tie_diameter(c), x.tie_spacing(c), x.tie_fy(c)) ||
      !read_bar_lines(in, c, x.rebar_count(c), "BARS OF A CROSS SECTION", x.bar_a, x.bar_y, x.bar_z, x.bar_d) ||
      !in.read_counting({{BAR_COUNT_PLACE, MAX_SECTION_BARS}}, x.strand_type(c), unused, x.strand_layout(c), unused,
                        x.strand_count(c), x.strand_area(c), x.strand_diameter(c), x.strand_cover(c), x.strand_fu(c),
                        x.prestress_after_losses(c)) ||
      !in.count(x.strand_count(c), "STRANDS OF A CROSS SECTION", MAX_SECTION_BARS) ||
      !read_bar_lines(in, c, x.strand_count(c), "STRANDS OF A CROSS SECTION", x.strand_a, x.strand_y, x.strand_z,
                      x.strand_d)) {
    return false;
  }
  // A list that nothing uses: its count, three values, then one line per value.
  int n_unused = 0;
  if (!in.read(n_unused, unused, unused, unused_real, unused_real) || !in.discard_reals(n_unused)) return false;
  return in.read(unused, unused, x.mphi_set_zz(c), x.mphi_set_yy(c), x.nl_aisc_round(c), unused, unused,
                 x.strain_hardening(c), unused_real, x.esh(c), x.esu(c), unused, x.fu_fy(c),
                 x.prestress_loss_fraction(c), x.strand_es(c), x.bilinear_mphi(c));
}

}  // namespace

void read_cross_sections(InputReader& in) {
  auto& x = CrossSection;
  if (!in.section_count(SECTION_CROSS_SECTIONS, x.count, "CROSS SECTIONS", MAX_CROSS_SECTIONS)) {
    return;
  }
  // The real values and bar lists of these sections are zero: the records
  // were reset when this read began.
  int unused = 0;
  CountedList sections(in, "CROSS SECTIONS", x.count);
  for (int c = 1; c <= x.count; ++c) {
    sections.entry(c);
    if (!in.read(unused, unused, x.shape(c), x.nonlinear(c)) || !in.read(fio::Text{x.name(c), TEXT_LINE_LENGTH})) {
      return;
    }
    const bool read = x.nonlinear(c) == 0 ? read_elastic_section(in, c) : read_nonlinear_section(in, c);
    if (!read) return;
  }
}

}  // namespace pilecap::input_detail
