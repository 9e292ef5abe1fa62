// Section lookups along a pile: one property of a property set's section at
// an axial coordinate, by one of two searches. The interpolating search
// tests the section bottoms (a boundary belongs to the upper section) and
// interpolates linearly between a section's top and bottom values; the
// containing-section search tests the tops of the next sections, ending at
// the sentinel slot after the last one (a boundary belongs to the lower
// section). Sets and sections are 1-based; the lookups only read.
#include "model/sections.hpp"

#include "base/check.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"

namespace pilecap {

PilePropertyRecord PileProperty;
PileSectionRecord PileSection;

namespace {

using SectionReals = PileSectionRecord::Reals PileSectionRecord::*;
using SectionInts = PileSectionRecord::Ints PileSectionRecord::*;

// Where the interpolating search puts a position.
enum class Reach { ABOVE_FIRST, INSIDE, BELOW_LAST };

struct SectionPosition {
  int section;  // the section found
  Reach reach;
  double s;  // position along the pile
};

int section_count(int set) {
  const int n = PileProperty.n_sections(set);
  PILECAP_ASSERT(n >= 1 && n <= MAX_PILE_SECTIONS, "a looked-up property set has 1 to 20 sections");
  return n;
}

double position_along_pile(int pile, double x) { return x - PileTable.head_depth(pile); }

SectionPosition interpolating_section(int pile, int set, double x) {
  const double s = position_along_pile(pile, x);
  const int n = section_count(set);
  if (s < PileSection.top(set, 1)) return {1, Reach::ABOVE_FIRST, s};
  if (s > PileSection.bottom(set, n)) return {n, Reach::BELOW_LAST, s};
  int i = 1;
  while (i < n && s > PileSection.bottom(set, i)) ++i;
  return {i, Reach::INSIDE, s};
}

int containing_section(int pile, int set, double x) {
  const double s = position_along_pile(pile, x);
  const int n = section_count(set);
  PILECAP_ASSERT(PileSection.top(set, n + 1) == SECTION_SENTINEL_FACTOR * PileProperty.length(set),
                 "the sentinel of a property set is set before its sections are looked up");
  for (int i = 1; i <= n; ++i) {
    if (s < PileSection.top(set, i + 1)) return i;
  }
  // No node lies at or beyond the sentinel; the last section is the nearest.
  return n;
}

double interpolated(SectionReals top_field, SectionReals bottom_field, int pile, int set, double x) {
  const SectionPosition at = interpolating_section(pile, set, x);
  const int i = at.section;
  const double v_top = (PileSection.*top_field)(set, i);
  const double v_bottom = (PileSection.*bottom_field)(set, i);
  switch (at.reach) {
    case Reach::ABOVE_FIRST:
      return v_top;
    case Reach::BELOW_LAST:
      return v_bottom;
    case Reach::INSIDE:
      break;
  }
  const double top = PileSection.top(set, i);
  const double bottom = PileSection.bottom(set, i);
  if (bottom == top) return v_top;  // a section of no length has no slope
  return v_top + (at.s - top) * (v_bottom - v_top) / (bottom - top);
}

template <class Field>
auto section_value(Field field, int pile, int set, double x) {
  return (PileSection.*field)(set, interpolating_section(pile, set, x).section);
}

template <class Field>
auto containing_value(Field field, int pile, int set, double x) {
  return (PileSection.*field)(set, containing_section(pile, set, x));
}

}  // namespace

void CLEAR_PILE_PROPERTIES() {
  // Copied from zeroed statics: the tables are too large for a temporary.
  static const PilePropertyRecord empty_properties{};
  static const PileSectionRecord empty_sections{};
  PileProperty = empty_properties;
  PileSection = empty_sections;
}

void SET_SECTION_SENTINELS(int n_sets) {
  for (int set = 1; set <= n_sets; ++set) {
    const int n = section_count(set);
    PileSection.top(set, n + 1) = SECTION_SENTINEL_FACTOR * PileProperty.length(set);
    PileSection.ei_zz(set, n + 1) = PileSection.ei_zz(set, n);
  }
}

double SECTION_DIAMETER_AT(int pile, int set, double x) {
  const double diameter = interpolated(&PileSectionRecord::diameter, &PileSectionRecord::diameter_bottom, pile, set, x);
  if (diameter < MIN_SECTION_DIAMETER) return PileSection.diameter(set, section_count(set));
  return diameter;
}

double SECTION_INERTIA_ZZ_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::inertia_zz, &PileSectionRecord::inertia_zz_bottom, pile, set, x);
}
double SECTION_INERTIA_YY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::inertia_yy, &PileSectionRecord::inertia_yy_bottom, pile, set, x);
}
double SECTION_AREA_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::area, &PileSectionRecord::area_bottom, pile, set, x);
}
double SECTION_PERIMETER_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::perimeter, &PileSectionRecord::perimeter_bottom, pile, set, x);
}
double SECTION_GJ_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::gj, &PileSectionRecord::gj_bottom, pile, set, x);
}
double SECTION_EI_ZZ_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::ei_zz, &PileSectionRecord::ei_zz_bottom, pile, set, x);
}
double SECTION_EI_YY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::ei_yy, &PileSectionRecord::ei_yy_bottom, pile, set, x);
}
double SECTION_MOMENT_CAPACITY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::mp, &PileSectionRecord::mp_bottom, pile, set, x);
}
double SECTION_SHEAR_CAPACITY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::vn, &PileSectionRecord::vn_bottom, pile, set, x);
}
double SECTION_MP_ZZ_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::mp_zz, &PileSectionRecord::mp_zz_bottom, pile, set, x);
}
double SECTION_SHEAR_CAPACITY_ZZ_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::vn_zz, &PileSectionRecord::vn_zz_bottom, pile, set, x);
}
double SECTION_MP_YY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::mp_yy, &PileSectionRecord::mp_yy_bottom, pile, set, x);
}
double SECTION_SHEAR_CAPACITY_YY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::vn_yy, &PileSectionRecord::vn_yy_bottom, pile, set, x);
}
double SECTION_PHI_Y_ZZ_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::phi_y_zz, &PileSectionRecord::phi_y_zz_bottom, pile, set, x);
}
double SECTION_PHI_Y_YY_AT(int pile, int set, double x) {
  return interpolated(&PileSectionRecord::phi_y_yy, &PileSectionRecord::phi_y_yy_bottom, pile, set, x);
}

double SECTION_WIDTH_ZZ_AT(int pile, int set, double x) {
  return section_value(&PileSectionRecord::width_zz, pile, set, x);
}
double SECTION_WIDTH_YY_AT(int pile, int set, double x) {
  return section_value(&PileSectionRecord::width_yy, pile, set, x);
}
int SECTION_SHAPE_AT(int pile, int set, double x) { return section_value(&PileSectionRecord::shape, pile, set, x); }
int SECTION_NO_STRESS_AT(int pile, int set, double x) {
  return section_value(&PileSectionRecord::nonlinear, pile, set, x);
}
int SECTION_TAPERED_AT(int pile, int set, double x) { return section_value(&PileSectionRecord::tapered, pile, set, x); }

double SECTION_MODULUS_AT(int pile, int set, double x) {
  return containing_value(&PileSectionRecord::modulus, pile, set, x);
}
int SECTION_MPHI_SET_ZZ(int pile, int set, double x) {
  return containing_value(&PileSectionRecord::mphi_set_zz, pile, set, x);
}
int SECTION_MPHI_SET_YY(int pile, int set, double x) {
  return containing_value(&PileSectionRecord::mphi_set_yy, pile, set, x);
}
int SECTION_ELASTOPLASTIC_FLAG(int pile, int set, double x) {
  return containing_value(&PileSectionRecord::moment_capacity_given, pile, set, x);
}

}  // namespace pilecap
