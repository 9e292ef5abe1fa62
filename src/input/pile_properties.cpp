// The working property sets and sections of the piles: copied from the
// property sets (input section 8) and cross sections (input section 9), with
// one set appended for the embedded pile cap, moment-curvature set numbers
// for the nonlinear cross sections, and per-section rigidities, resultant
// capacities and yield curvatures at both ends of every section. Sets and
// sections are 1-based; lengths are already in the model units. References
// the input reader does not check are checked here before anything is built.
#include <cmath>
#include <string>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"

namespace pilecap {

namespace {

// Input sections named in the detail lines of rejected references.
constexpr int INPUT_SECTION_PILE_ARRANGEMENT = 7;
constexpr int INPUT_SECTION_PROPERTY_SETS = 8;

// Every set has sections, every section a defined cross section, every pile
// a defined set; otherwise the tables would be indexed outside their rows.
void check_references(int& status) {
  const auto& input = PropertySetInput;
  for (int p = 1; p <= input.count; ++p) {
    const std::string set_item = "PROPERTY SET " + std::to_string(p);
    if (input.num_sections(p) < 1) {
      REJECT_INPUT_VALUE(status, INPUT_SECTION_PROPERTY_SETS, set_item, input.num_sections(p),
                         "A SET NEEDS ONE SECTION AT LEAST");
      return;
    }
    for (int s = 1; s <= input.num_sections(p); ++s) {
      const int c = input.cross_section(p, s);
      if (c < 1 || c > CrossSection.count) {
        REJECT_INPUT_VALUE(status, INPUT_SECTION_PROPERTY_SETS, set_item + ", SECTION " + std::to_string(s), c,
                           "CROSS SECTION NOT DEFINED");
        return;
      }
    }
  }
  const char* pile_item = RunOptions.dimension == MODEL_2D ? "PILE ROW " : "PILE ";
  for (int pile = 1; pile <= PileTable.n_piles; ++pile) {
    const int set = PileTable.prop(pile);
    if (set < 1 || set > input.count) {
      REJECT_INPUT_VALUE(status, INPUT_SECTION_PILE_ARRANGEMENT, pile_item + std::to_string(pile), set,
                         "PROPERTY SET NOT DEFINED");
      return;
    }
  }
}

// (5X,"** WARNING **  ",A): as the reader's warnings on the input.
const fio::Format INPUT_WARNING_LAYOUT("(5X,\"** WARNING **  \",A)");

// A pile shorter than it is wide is possible (a short pier), but more often
// a length typed in the wrong unit; the analysis goes on with it. The sets
// and their cross sections were checked.
void note_piles_shorter_than_wide() {
  const auto& input = PropertySetInput;
  for (int p = 1; p <= input.count; ++p) {
    const int c = input.cross_section(p, 1);
    if (!(input.length(p) < CrossSection.diameter(c))) continue;
    const int line = p <= MAX_INPUT_PROPERTY_SETS ? InputLines.property_set(p) : 0;
    fio::write(UNIT_RUN_LOG, INPUT_WARNING_LAYOUT,
               INPUT_PLACE(INPUT_SECTION_PROPERTY_SETS, line) + ": PROPERTY SET " + std::to_string(p) +
                   " IS SHORTER THAN THE DIAMETER OF ITS FIRST CROSS SECTION: A LENGTH IN THE WRONG UNIT?");
  }
}

// Step 1: lengths, counts and section limits of the input sets.
void copy_input_sets() {
  const auto& input = PropertySetInput;
  for (int p = 1; p <= input.count; ++p) {
    PileProperty.n_sections(p) = input.num_sections(p);
    PileProperty.n_increments(p) = input.increments(p);
    PileProperty.length(p) = input.length(p);
    PileProperty.pile_type(p) = input.pile_type(p);
    for (int s = 1; s <= input.num_sections(p); ++s) {
      PileSection.cross_section(p, s) = input.cross_section(p, s);
      PileSection.top(p, s) = input.from(p, s);
      PileSection.bottom(p, s) = input.to(p, s);
    }
  }
}

// Step 2 and the cap inertias: the embedded cap as one short elastic section
// whose diameter and inertias are the working cap width. Written whether or
// not the cap is embedded.
void append_cap_set(int cap) {
  PileProperty.n_sections(cap) = 1;
  PileProperty.n_increments(cap) = CapPassiveElement.increments;
  PileProperty.length(cap) = CapGeometry.thickness_xx;
  PileProperty.pile_type(cap) = 0;
  const double width = CapGeometry.width_zz;
  PileSection.top(cap, 1) = 0.0;
  PileSection.bottom(cap, 1) = CapGeometry.thickness_xx;
  PileSection.cross_section(cap, 1) = 0;
  PileSection.diameter(cap, 1) = width;
  PileSection.diameter_bottom(cap, 1) = width;
  PileSection.inertia_zz(cap, 1) = width;
  PileSection.inertia_zz_bottom(cap, 1) = width;
  PileSection.inertia_yy(cap, 1) = width;
  PileSection.inertia_yy_bottom(cap, 1) = width;
}

// Step 4: the internally generated moment-curvature sets follow the user
// sets, one per bending direction of every nonlinear cross section that does
// not name its own.
void number_moment_curvature_sets() {
  int set = MomentCurvatureSet.n_user_sets;
  for (int c = 1; c <= CrossSection.count; ++c) {
    if (CrossSection.nonlinear(c) != 1 || CrossSection.type(c) == NL_USER_EI) continue;
    CrossSection.mphi_set_zz(c) = ++set;
    if (RunOptions.dimension == MODEL_3D) CrossSection.mphi_set_yy(c) = ++set;
  }
}

// The fields of one end of a section and the cross-section fields they come from.
using SectionReals = PileSectionRecord::Reals PileSectionRecord::*;
using CrossReals = CrossSectionRecord::Reals CrossSectionRecord::*;
struct SectionEnd {
  CrossReals x_modulus, x_gj, x_area, x_perimeter, x_diameter, x_mn_zz, x_vn_zz, x_mn_yy, x_vn_yy, x_inertia_zz,
      x_inertia_yy;
  SectionReals modulus, gj, area, perimeter, diameter, mp_zz, vn_zz, mp_yy, vn_yy, mp, vn, inertia_zz, inertia_yy,
      ei_zz, ei_yy, phi_y_zz, phi_y_yy;
};

using X = CrossSectionRecord;
using S = PileSectionRecord;
constexpr SectionEnd TOP_END{&X::modulus, &X::gj,    &X::area,      &X::perimeter,  &X::diameter,   &X::mn_zz,
                             &X::vn_zz,   &X::mn_yy, &X::vn_yy,     &X::inertia_zz, &X::inertia_yy, &S::modulus,
                             &S::gj,      &S::area,  &S::perimeter, &S::diameter,   &S::mp_zz,      &S::vn_zz,
                             &S::mp_yy,   &S::vn_yy, &S::mp,        &S::vn,         &S::inertia_zz, &S::inertia_yy,
                             &S::ei_zz,   &S::ei_yy, &S::phi_y_zz,  &S::phi_y_yy};
constexpr SectionEnd BOTTOM_END{
    &X::modulus_bottom,    &X::gj_bottom,       &X::area_bottom,       &X::perimeter_bottom,  &X::diameter_bottom,
    &X::mn_zz_bottom,      &X::vn_zz_bottom,    &X::mn_yy_bottom,      &X::vn_yy_bottom,      &X::inertia_zz_bottom,
    &X::inertia_yy_bottom, &S::modulus_bottom,  &S::gj_bottom,         &S::area_bottom,       &S::perimeter_bottom,
    &S::diameter_bottom,   &S::mp_zz_bottom,    &S::vn_zz_bottom,      &S::mp_yy_bottom,      &S::vn_yy_bottom,
    &S::mp_bottom,         &S::vn_bottom,       &S::inertia_zz_bottom, &S::inertia_yy_bottom, &S::ei_zz_bottom,
    &S::ei_yy_bottom,      &S::phi_y_zz_bottom, &S::phi_y_yy_bottom};

// Step 5, one end: the modulus of the cross section.
void copy_modulus(const SectionEnd& end, int p, int s, int c) {
  (PileSection.*end.modulus)(p, s) = (CrossSection.*end.x_modulus)(c);
}

// An inertia the input leaves out (zero, negative or tiny) is estimated from
// the diameter of the same end.
double working_inertia(double inertia, double diameter) {
  if (inertia < MIN_SECTION_INERTIA) return INERTIA_FROM_DIAMETER_FACTOR * (diameter * diameter * diameter * diameter);
  return inertia;
}

// The yield curvature of an elastic-perfectly-plastic law; a section without
// rigidity at this end has none.
double yield_curvature(double moment_capacity, double rigidity) {
  return rigidity == 0.0 ? 0.0 : moment_capacity / rigidity;
}

// Step 7, one end of section s of set p, from cross section c.
void build_section_end(const SectionEnd& end, int p, int s, int c, bool three_d) {
  auto section = [&](SectionReals field) -> double& { return (PileSection.*field)(p, s); };
  auto cross = [&](CrossReals field) { return (CrossSection.*field)(c); };
  section(end.gj) = cross(end.x_gj);
  section(end.area) = cross(end.x_area);
  section(end.perimeter) = cross(end.x_perimeter);
  section(end.diameter) = cross(end.x_diameter);
  section(end.mp_zz) = cross(end.x_mn_zz);
  section(end.vn_zz) = cross(end.x_vn_zz);
  if (three_d) {
    section(end.mp_yy) = cross(end.x_mn_yy);
    section(end.vn_yy) = cross(end.x_vn_yy);
    section(end.mp) = std::sqrt(cross(end.x_mn_zz) * cross(end.x_mn_zz) + cross(end.x_mn_yy) * cross(end.x_mn_yy));
    section(end.vn) = std::sqrt(cross(end.x_vn_zz) * cross(end.x_vn_zz) + cross(end.x_vn_yy) * cross(end.x_vn_yy));
  } else {
    section(end.mp) = cross(end.x_mn_zz);
    section(end.vn) = cross(end.x_vn_zz);
  }
  section(end.inertia_zz) = working_inertia(cross(end.x_inertia_zz), cross(end.x_diameter));
  section(end.inertia_yy) = working_inertia(cross(end.x_inertia_yy), cross(end.x_diameter));
  section(end.ei_zz) = section(end.inertia_zz) * section(end.modulus);
  section(end.ei_yy) = section(end.inertia_yy) * section(end.modulus);
  if (CrossSection.moment_capacity_given(c) > 0) {
    section(end.phi_y_zz) = yield_curvature(cross(end.x_mn_zz), section(end.ei_zz));
    if (three_d) section(end.phi_y_yy) = yield_curvature(section(end.mp_yy), section(end.ei_yy));
  }
}

}  // namespace

void BUILD_PILE_PROPERTIES(int& status) {
  check_references(status);
  if (status != STATUS_OK) return;
  note_piles_shorter_than_wide();
  // Start from empty tables, so nothing of an earlier run remains in the
  // fields a run does not write (the cap set's area, GJ and capacities).
  CLEAR_PILE_PROPERTIES();

  const int n_sets = PropertySetInput.count;
  const int cap = n_sets + 1;
  const bool three_d = RunOptions.dimension == MODEL_3D;
  copy_input_sets();
  append_cap_set(cap);
  number_moment_curvature_sets();
  for (int p = 1; p <= n_sets; ++p) {
    for (int s = 1; s <= PileProperty.n_sections(p); ++s) {
      const int c = PileSection.cross_section(p, s);
      copy_modulus(TOP_END, p, s, c);
      copy_modulus(BOTTOM_END, p, s, c);
      if (CrossSection.nonlinear(c) != 0) {
        PileSection.mphi_set_zz(p, s) = CrossSection.mphi_set_zz(c);
        PileSection.mphi_set_yy(p, s) = CrossSection.mphi_set_yy(c);
      }
      PileSection.tapered(p, s) = CrossSection.tapered(c);
      PileSection.nonlinear(p, s) = CrossSection.nonlinear(c);
      PileSection.moment_capacity_given(p, s) = CrossSection.moment_capacity_given(c);
      PileSection.shape(p, s) = CrossSection.shape(c);
      build_section_end(TOP_END, p, s, c, three_d);
      build_section_end(BOTTOM_END, p, s, c, three_d);
    }
  }
  SET_SECTION_SENTINELS(cap);
}

}  // namespace pilecap
