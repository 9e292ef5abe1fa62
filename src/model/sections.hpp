// The property sets of the piles and their sections along the pile axis,
// and the lookups that return a section property at a position along a
// pile. Tables are 1-based: PileProperty by property set, PileSection by
// (set, section), the set varying fastest. A section holds most real
// properties twice, at its top and (suffix _bottom) at its bottom, so a
// tapered section varies linearly between them. Lengths are in the model
// units (inches or metres), positions measured along the pile from its head.
#pragma once

#include "base/arrays.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"

namespace pilecap {

// Rows of PileProperty and PileSection: the input sets, the embedded-cap set
// after them, and room to spare.
constexpr int PILE_PROPERTY_ROWS = 102;
// Section columns: one more than a set can have sections, for the sentinel
// after the last section of each set.
constexpr int PILE_SECTION_SLOTS = MAX_PILE_SECTIONS + 1;

// Pile types of PileProperty.pile_type; the cap set has 0.
constexpr int PILE_DRIVEN = 1;
constexpr int PILE_DRILLED = 2;

// Shape codes of an elastic cross section (CrossSection.shape).
constexpr int SHAPE_GENERAL = 0;
constexpr int SHAPE_CIRCULAR_PIPE = 1;
constexpr int SHAPE_RECTANGULAR_PIPE = 2;
constexpr int SHAPE_I = 3;
constexpr int SHAPE_H = 4;
constexpr int SHAPE_AISC = 5;

// The nonlinear cross-section type whose moment-curvature sets the input names.
constexpr int NL_USER_EI = 10;

// The top of the slot after the last section of a set, as a multiple of the
// pile length: no node of the pile lies that far down.
constexpr double SECTION_SENTINEL_FACTOR = double(1.2f);
// A missing moment of inertia is estimated from the diameter D as this factor
// times D^4 (close to the pi/64 of a solid circle).
constexpr double MIN_SECTION_INERTIA = double(1e-10f);
constexpr double INERTIA_FROM_DIAMETER_FACTOR = double(0.0491f);
// A diameter below this is taken as missing: the top diameter of the last
// section serves instead.
constexpr double MIN_SECTION_DIAMETER = double(1e-5f);

// One row per property set p = 1 .. n + 1; row n + 1 is the embedded cap.
struct PilePropertyRecord {
  Array1<double, PILE_PROPERTY_ROWS> length{};
  Array1<double, PILE_PROPERTY_ROWS> increment{};  // written by the node layout
  Array1<int, PILE_PROPERTY_ROWS> n_increments{}, n_sections{}, pile_type{};
};
extern PilePropertyRecord PileProperty;

// The sections of every property set, (set, section). Column n_sections + 1
// of each set holds the sentinel: top = 1.2 x length and ei_zz copied from
// the last section.
struct PileSectionRecord {
  using Reals = Array2<double, PILE_PROPERTY_ROWS, PILE_SECTION_SLOTS>;
  using Ints = Array2<int, PILE_PROPERTY_ROWS, PILE_SECTION_SLOTS>;
  Reals top{}, bottom{};
  Ints cross_section{};  // 0 for the cap set
  Ints nonlinear{}, tapered{}, moment_capacity_given{}, shape{};
  Ints mphi_set_zz{}, mphi_set_yy{};  // MomentCurvatureSet numbers; 0 = elastic EI
  Reals modulus{}, diameter{}, area{}, perimeter{}, inertia_zz{}, inertia_yy{}, gj{}, ei_zz{}, ei_yy{}, mp_zz{},
      mp_yy{}, vn_zz{}, vn_yy{}, mp{}, vn{}, phi_y_zz{}, phi_y_yy{};
  Reals modulus_bottom{}, diameter_bottom{}, area_bottom{}, perimeter_bottom{}, inertia_zz_bottom{},
      inertia_yy_bottom{}, gj_bottom{}, ei_zz_bottom{}, ei_yy_bottom{}, mp_zz_bottom{}, mp_yy_bottom{}, vn_zz_bottom{},
      vn_yy_bottom{}, mp_bottom{}, vn_bottom{}, phi_y_zz_bottom{}, phi_y_yy_bottom{};
  Reals width_zz{}, width_yy{};  // lever arms of the bending stresses; nothing fills them
};
extern PileSectionRecord PileSection;

// ------------------------------------------------------------ routines

// CLEAR_PILE_PROPERTIES
// Returns PileProperty and PileSection to zero, so a run sees nothing of an
// earlier one.
void CLEAR_PILE_PROPERTIES();

// SET_SECTION_SENTINELS
// Fills the slot after the last section of every set 1 .. n_sets: top :=
// 1.2 x the set's length, ei_zz := ei_zz of the last section. Run once on
// the calling thread when the sections are complete; the lookups rely on it
// and only read, so they may run on many threads at once.
//   Reads:  PileProperty (length, n_sections)
//   Writes: PileSection.top and ei_zz, column n_sections + 1
//   in:     n_sets  1 <= n_sets <= PILE_PROPERTY_ROWS; every set 1..n_sets
//                   has 1 .. MAX_PILE_SECTIONS sections
void SET_SECTION_SENTINELS(int n_sets);

// Section lookups. Each returns one property of the section of a property
// set at the axial coordinate x of a pile (the frame of PileNodes.axial_x:
// the head at PileTable.head_depth(pile)); s = x - head_depth is the
// position along the pile. They only read, and may run on many threads.
//   Reads:  PileTable.head_depth, PileProperty.n_sections, PileSection
//   in:     pile  1-based entry of PileTable (the cap entry included)
//           set   property set with 1 .. MAX_PILE_SECTIONS sections whose
//                 sentinel is set
//           x     axial coordinate
//
// Interpolating lookups: above the top of section 1 (s strictly less) the
// top value of section 1; below the bottom of the last section (strictly
// greater) its bottom value; otherwise the first section whose bottom is at
// or below s, interpolated linearly between its top and bottom values (a
// position in a gap between sections is extrapolated from the section below;
// a section of zero length gives its top value). At a boundary between two
// sections the upper section answers.
double SECTION_DIAMETER_AT(int pile, int set, double x);  // a result below 1e-5: top diameter of the last section
double SECTION_INERTIA_ZZ_AT(int pile, int set, double x);
double SECTION_INERTIA_YY_AT(int pile, int set, double x);
double SECTION_AREA_AT(int pile, int set, double x);
double SECTION_PERIMETER_AT(int pile, int set, double x);
double SECTION_GJ_AT(int pile, int set, double x);
double SECTION_EI_ZZ_AT(int pile, int set, double x);
double SECTION_EI_YY_AT(int pile, int set, double x);
double SECTION_MOMENT_CAPACITY_AT(int pile, int set, double x);  // resultant Mn (the 2D capacity)
double SECTION_SHEAR_CAPACITY_AT(int pile, int set, double x);   // resultant Vn (the 2D capacity)
double SECTION_MP_ZZ_AT(int pile, int set, double x);
double SECTION_SHEAR_CAPACITY_ZZ_AT(int pile, int set, double x);
double SECTION_MP_YY_AT(int pile, int set, double x);
double SECTION_SHEAR_CAPACITY_YY_AT(int pile, int set, double x);
double SECTION_PHI_Y_ZZ_AT(int pile, int set, double x);
double SECTION_PHI_Y_YY_AT(int pile, int set, double x);
// The same search, the one value of the section found.
double SECTION_WIDTH_ZZ_AT(int pile, int set, double x);
double SECTION_WIDTH_YY_AT(int pile, int set, double x);
int SECTION_SHAPE_AT(int pile, int set, double x);      // shape code of the cross section
int SECTION_NO_STRESS_AT(int pile, int set, double x);  // non-zero: nonlinear section, no bending stress
int SECTION_TAPERED_AT(int pile, int set, double x);    // non-zero: tapered cross section
//
// Containing-section lookups: the first section i with s strictly below the
// top of section i + 1 (the sentinel after the last), so a position above
// the first section belongs to section 1 and a position at a boundary to the
// lower section. At or beyond the sentinel, the last section.
double SECTION_MODULUS_AT(int pile, int set, double x);
int SECTION_MPHI_SET_ZZ(int pile, int set, double x);         // 0: elastic EI
int SECTION_MPHI_SET_YY(int pile, int set, double x);         // 0: elastic EI
int SECTION_ELASTOPLASTIC_FLAG(int pile, int set, double x);  // non-zero: elastic with a given moment capacity

// Work vectors of the lateral solvers: node j at row j + 3, the head at row
// 4, the tip at row n + 4; rows 3 and n + 5 are the fictitious neighbours.

using PileRowVector = Array1<double, PILE_NODE_ROWS>;
using PileRowFlags = Array1<int, PILE_NODE_ROWS>;
constexpr int NODE_ROW_OFFSET = 3;

}  // namespace pilecap
