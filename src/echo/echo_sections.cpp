// TABLE E of the input echo: the pile property sets and their sections as
// the input gave them, the cross-section descriptions, and two tables of the
// cross sections' properties, elastic and nonlinear, in a 2D and a 3D
// layout. Sets, sections and cross sections are 1-based. Positions along the
// pile print in feet or metres, section dimensions in inches or millimetres,
// areas and inertias in their powers, forces and moments in pounds or kips.
#include <string_view>

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

constexpr const char* TABLE_E_TITLE =
    "(/,/,/,5X,\"* TABLE E *   PILE GEOMETRY AND PROPERTIES \",/,5X,\"              PILE TYPE = 1 - DRIVEN PILE\",/,"
    "5X,\"                        = 2 - DRILLED SHAFT\")";
//        PROP   SECTS   INC     PILE TYPE      LENGTH, FT
constexpr const char* SETS_HEADING = "(/,7X,\"PROP  \",\" SECTS \",\"  INC  \",\"   PILE TYPE\",6X,\"LENGTH,\",A3,4X)";
constexpr const char* SECTIONS_TITLE = "(/,5X,\"* PILE SECTIONS *\")";
//        PROP    SECT      FROM,FT         TO,FT    CROSS SECT
constexpr const char* SECTIONS_HEADING =
    "(/,7X,\"PROP    \",\"SECT\",6X,\"FROM,\",A2,9X,\"TO,\",A2,4X,\"CROSS SECT\",2X)";
constexpr const char* PROPERTIES_TITLE = "(/,5X,\"* PILE CROSS SECTIONS PROPERTIES *\")";
constexpr const char* ELASTIC_TITLE = "(/,5X,\"         ELASTIC SECTIONS         \")";
constexpr const char* NONLINEAR_TITLE = "(/,5X,\"         NONLINEAR SECTIONS       \")";
constexpr const char* ELASTIC_HEADING_2D =
    "(/,5X,\"  SECT\",11X,\"DIAM,\",A2,5X,3X,\"PERIM,\",A2,4X,\"AREA,\",A2,A2,A1,4X,\"  I,\",A2,A2,A1,4X,\" Mn,\",A3,"
    "A1,A2,5X,\" Vn,\",A3)";
constexpr const char* ELASTIC_HEADING_3D =
    "(/,2X,\"  SECT\",9X,\"DIAM,\",A2,3X,2X,\"PERIM,\",A2,1X,2X,\"AREA,\",A2,A2,A1,2X,\" Iz,\",A2,A2,A1,3X,\" Iy,\","
    "A2,A2,A1,2X,\" GJ,\",A3,A1,A2,A2,A1,2X,\" Mn,\",A3,A1,A2,3X,\" Vn,\",A3)";
constexpr const char* NONLINEAR_HEADING_2D =
    "(/,5X,\"  SECT\",11X,\"DIAM,\",A2,5X,\"PERIM,\",A2,4X,\"AREA,\",A2,A2,A1,4X,\"  I,\",A2,A2,A1,4X,\" EI INDEX \","
    "4X,\" Mn,\",A3,A1,A2,5X,\" Vn,\",A3)";
constexpr const char* NONLINEAR_HEADING_3D =
    "(/,2X,\"  SECT\",4X,\"DIAM,\",A2,3X,\"PERIM,\",A2,1X,\"AREA,\",A2,A2,A1,2X,\" Iz,\",A2,A2,A1,2X,\" Iy,\",A2,A2,"
    "A1,1X,\" GJ,\",A3,A1,A2,A2,A1,2X,\" EIz IND \",\" EIy IND \",1X,\" Mn,\",A3,A1,A2,3X,\" Vn,\",A3)";

constexpr int ELASTIC = 0;
constexpr int NONLINEAR = 1;

bool is_3d() { return RunOptions.dimension == MODEL_3D; }

// The property sets of the input (not the cap set) and their sections.
void write_sets_and_sections() {
  const int n_sets = PropertySetInput.count;
  fio::write(UNIT_ECHO, SETS_HEADING, UnitLabels.length_large());
  for (int p = 1; p <= n_sets; ++p) {
    WRITE_BLANKS(UNIT_ECHO, 5);
    WRITE_INT_FIELD(UNIT_ECHO, 5, p);
    WRITE_INT_FIELD(UNIT_ECHO, 7, PileProperty.n_sections(p));
    WRITE_INT_FIELD(UNIT_ECHO, 8, PileProperty.n_increments(p));
    WRITE_INT_FIELD(UNIT_ECHO, 11, PileProperty.pile_type(p));
    WRITE_BLANKS(UNIT_ECHO, 3);
    WRITE_REAL_FIELD(UNIT_ECHO, 16, 4, FEET_FROM_INCHES(PileProperty.length(p)));
    END_REPORT_LINE(UNIT_ECHO);
  }
  fio::write(UNIT_ECHO, SECTIONS_TITLE);
  fio::write(UNIT_ECHO, SECTIONS_HEADING, UnitLabels.length_large_short(), UnitLabels.length_large_short());
  for (int p = 1; p <= n_sets; ++p) {
    for (int s = 1; s <= PileProperty.n_sections(p); ++s) {
      WRITE_BLANKS(UNIT_ECHO, 5);
      WRITE_INT_FIELD(UNIT_ECHO, 5, p);
      WRITE_INT_FIELD(UNIT_ECHO, 8, s);
      WRITE_BLANKS(UNIT_ECHO, 1);
      WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, FEET_FROM_INCHES(PileSection.top(p, s)));
      WRITE_REAL_FIELD(UNIT_ECHO, 15, 5, FEET_FROM_INCHES(PileSection.bottom(p, s)));
      WRITE_INT_FIELD(UNIT_ECHO, 8, PileSection.cross_section(p, s));
      END_REPORT_LINE(UNIT_ECHO);
    }
  }
}

// The heading items shared by the tables: diameter, perimeter, area,
// inertias, then (3D) GJ, then Mn and Vn.
void write_table_heading(const char* layout) {
  const auto& u = UnitLabels;
  const std::string_view s = u.length_small_short(), f = u.force_short(), m = u.moment_length();
  const std::string_view power = u.power(), two = u.two(), dash = u.dash();
  constexpr std::string_view FOUR = "4";
  if (is_3d()) {
    fio::write(UNIT_ECHO, layout, s, s, s, power, two, s, power, FOUR, s, power, FOUR, f, dash, m, power, two, f, dash,
               m, f);
  } else {
    fio::write(UNIT_ECHO, layout, s, s, s, power, two, s, power, FOUR, f, dash, m, f);
  }
}

// One end of an elastic cross section: the values of its property columns.
struct SectionValues {
  double diameter, perimeter, area, inertia_zz, inertia_yy, gj, mn_zz, vn_zz;
};

SectionValues top_values(int c) {
  const auto& x = CrossSection;
  return {x.diameter(c), x.perimeter(c), x.area(c), x.inertia_zz(c), x.inertia_yy(c), x.gj(c), x.mn_zz(c), x.vn_zz(c)};
}

SectionValues bottom_values(int c) {
  const auto& x = CrossSection;
  return {x.diameter_bottom(c),   x.perimeter_bottom(c), x.area_bottom(c),  x.inertia_zz_bottom(c),
          x.inertia_yy_bottom(c), x.gj_bottom(c),        x.mn_zz_bottom(c), x.vn_zz_bottom(c)};
}

void write_elastic_values(const SectionValues& v) {
  if (is_3d()) {
    WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, KILO_SCALE_SI(v.diameter));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KILO_SCALE_SI(v.perimeter));
    WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, MEGA_SCALE_SI(v.area));
    WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, TERA_SCALE_SI(v.inertia_zz));
    WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, TERA_SCALE_SI(v.inertia_yy));
    WRITE_BLANKS(UNIT_ECHO, 1);
    for (double value : {v.gj, v.mn_zz, v.vn_zz}) WRITE_REAL_FIELD(UNIT_ECHO, 12, 4, KIPS_FROM_POUNDS(value));
  } else {
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KILO_SCALE_SI(v.diameter));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KILO_SCALE_SI(v.perimeter));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, MEGA_SCALE_SI(v.area));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, TERA_SCALE_SI(v.inertia_zz));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KIPS_FROM_POUNDS(v.mn_zz));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KIPS_FROM_POUNDS(v.vn_zz));
  }
  END_REPORT_LINE(UNIT_ECHO);
}

// A row of an elastic cross section; a tapered one gets a TOP row and,
// when positive, a BOT row.
void write_elastic_row(int c) {
  const bool three_d = is_3d();
  const int tapered = CrossSection.tapered(c);
  WRITE_BLANKS(UNIT_ECHO, three_d ? 2 : 5);
  WRITE_INT_FIELD(UNIT_ECHO, 5, c);
  WRITE_BLANKS(UNIT_ECHO, 1);
  if (tapered != 0) {
    WRITE_BLANKS(UNIT_ECHO, 1);
    WRITE_TEXT3_FIELD(UNIT_ECHO, "TOP");
    if (!three_d) WRITE_BLANKS(UNIT_ECHO, 1);
  } else {
    WRITE_BLANKS(UNIT_ECHO, three_d ? 4 : 5);
  }
  write_elastic_values(top_values(c));
  if (tapered <= 0) return;
  WRITE_BLANKS(UNIT_ECHO, three_d ? 8 : 11);
  WRITE_BLANKS(UNIT_ECHO, 1);
  WRITE_TEXT3_FIELD(UNIT_ECHO, "BOT");
  if (!three_d) WRITE_BLANKS(UNIT_ECHO, 1);
  write_elastic_values(bottom_values(c));
}

// A row of a nonlinear cross section: the inertias and set numbers only for
// a section that names its own EI (an inertia where it names no set).
void write_nonlinear_row(int c) {
  const auto& x = CrossSection;
  const bool user_ei = x.type(c) == NL_USER_EI;
  const double inertia_zz = user_ei && x.mphi_set_zz(c) == 0 ? x.inertia_zz(c) : 0.0;
  const double inertia_yy = user_ei && x.mphi_set_yy(c) == 0 ? x.inertia_yy(c) : 0.0;
  const int set_zz = user_ei && x.mphi_set_zz(c) >= 1 ? x.mphi_set_zz(c) : 0;
  const int set_yy = user_ei && x.mphi_set_yy(c) >= 1 ? x.mphi_set_yy(c) : 0;
  if (is_3d()) {
    WRITE_BLANKS(UNIT_ECHO, 2);
    WRITE_INT_FIELD(UNIT_ECHO, 5, c);
    WRITE_BLANKS(UNIT_ECHO, 1);
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, KILO_SCALE_SI(x.diameter(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, KILO_SCALE_SI(x.perimeter(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, MEGA_SCALE_SI(x.area(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, TERA_SCALE_SI(inertia_zz));
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, TERA_SCALE_SI(inertia_yy));
    WRITE_BLANKS(UNIT_ECHO, 2);
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, KIPS_FROM_POUNDS(x.gj(c)));
    WRITE_BLANKS(UNIT_ECHO, 2);
    WRITE_INT_FIELD(UNIT_ECHO, 5, set_zz);
    WRITE_BLANKS(UNIT_ECHO, 4);
    WRITE_INT_FIELD(UNIT_ECHO, 5, set_yy);
    WRITE_BLANKS(UNIT_ECHO, 4);
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, KIPS_FROM_POUNDS(x.mn_zz(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 11, 4, KIPS_FROM_POUNDS(x.vn_zz(c)));
  } else {
    WRITE_BLANKS(UNIT_ECHO, 5);
    WRITE_INT_FIELD(UNIT_ECHO, 5, c);
    WRITE_BLANKS(UNIT_ECHO, 1);
    WRITE_BLANKS(UNIT_ECHO, 5);
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KILO_SCALE_SI(x.diameter(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KILO_SCALE_SI(x.perimeter(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, MEGA_SCALE_SI(x.area(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, TERA_SCALE_SI(inertia_zz));
    WRITE_BLANKS(UNIT_ECHO, 5);
    WRITE_INT_FIELD(UNIT_ECHO, 5, set_zz);
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KIPS_FROM_POUNDS(x.mn_zz(c)));
    WRITE_REAL_FIELD(UNIT_ECHO, 14, 5, KIPS_FROM_POUNDS(x.vn_zz(c)));
  }
  END_REPORT_LINE(UNIT_ECHO);
}

void write_property_tables() {
  fio::write(UNIT_ECHO, PROPERTIES_TITLE);
  const int n = CrossSection.count;
  bool any_elastic = false, any_nonlinear = false;
  for (int c = 1; c <= n; ++c) {
    if (CrossSection.nonlinear(c) == ELASTIC) {
      any_elastic = true;
    } else {
      any_nonlinear = true;
    }
  }
  const bool three_d = is_3d();
  if (any_elastic) {
    fio::write(UNIT_ECHO, ELASTIC_TITLE);
    write_table_heading(three_d ? ELASTIC_HEADING_3D : ELASTIC_HEADING_2D);
    for (int c = 1; c <= n; ++c) {
      if (CrossSection.nonlinear(c) == ELASTIC) write_elastic_row(c);
    }
  }
  if (any_nonlinear) {
    fio::write(UNIT_ECHO, NONLINEAR_TITLE);
    write_table_heading(three_d ? NONLINEAR_HEADING_3D : NONLINEAR_HEADING_2D);
    for (int c = 1; c <= n; ++c) {
      if (CrossSection.nonlinear(c) == NONLINEAR) write_nonlinear_row(c);
    }
  }
}

}  // namespace

void PRINT_PILE_PROPERTIES(int& /*status*/) {
  fio::write(UNIT_ECHO, TABLE_E_TITLE);
  write_sets_and_sections();
  PRINT_CROSS_SECTIONS();
  write_property_tables();
}

}  // namespace pilecap
