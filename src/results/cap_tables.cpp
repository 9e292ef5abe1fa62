// The force and moment table of a cap load vector and the translation and
// rotation table of a cap displacement vector, as TABLE L and the point
// tables print them: a heading line, then one row of three values, for the
// first and for the second half of the 6-vector. Forces and moments are
// printed in the force unit of the reports, displacements as computed. Also
// the titles of TABLE L and TABLE M on every report that prints them.
#include <string>
#include <string_view>

#include "base/fio.hpp"
#include "base/report_fields.hpp"
#include "base/unit_labels.hpp"
#include "model/conversions.hpp"
#include "model/run_state.hpp"
#include "results/results.hpp"

namespace pilecap {

namespace {

constexpr int HALF = 3;  // forces, then moments (translations, then rotations)

// Headings with a marker after each unit (load or displacement prescribed at
// a point), and without.
//            VERT. LOAD,  KN    HOR. LOAD Y,  KN   HOR. LOAD Z,  KN
constexpr const char* FORCE_HEADING_MARKED =
    "(/,/,11X,\"VERT. LOAD,\",A4,A1,3X,\"HOR. LOAD Y,\",A4,A1,2X,\"HOR. LOAD Z,\",A4,A1)";
constexpr const char* FORCE_HEADING = "(/,/,11X,\"VERT. LOAD,\",A4,4X,\"HOR. LOAD Y,\",A4,3X,\"HOR. LOAD Z,\",A4)";
//           MOMENT X , KN- M    MOMENT Y, KN- M    MOMENT Z, KN- M
constexpr const char* MOMENT_HEADING_MARKED =
    "(/,10X,\"MOMENT X ,\",A3,A1,A2,A1,3X,\"MOMENT Y,\",A3,A1,A2,A1,3X,\"MOMENT Z,\",A3,A1,A2,A1)";
constexpr const char* MOMENT_HEADING =
    "(/,10X,\"MOMENT X ,\",A3,A1,A2,4X,\"MOMENT Y,\",A3,A1,A2,4X,\"MOMENT Z,\",A3,A1,A2)";
//             VERTICAL , M      HORIZONTAL Y, M     HORIZONTAL Z, M
constexpr const char* TRANSLATION_HEADING_MARKED =
    "(/,/,10X,\"  VERTICAL ,\",A2,A1,5X,\"HORIZONTAL Y,\",A2,A1,4X,\"HORIZONTAL Z,\",A2,A1)";
constexpr const char* TRANSLATION_HEADING =
    "(/,/,10X,\"  VERTICAL ,\",A2,6X,\"HORIZONTAL Y,\",A2,5X,\"HORIZONTAL Z,\",A2)";
//           ANGLE ROT. X,RAD    ANGLE ROT. Y,RAD    ANGLE ROT. Z,RAD
constexpr const char* ROTATION_HEADING_MARKED =
    "(/,10X,\"ANGLE ROT. X,\",A3,A1,3X,\"ANGLE ROT. Y,\",A3,A1,3X,\"ANGLE ROT. Z,\",A3,A1)";
constexpr const char* ROTATION_HEADING = "(/,10X,\"ANGLE ROT. X,\",A3,4X,\"ANGLE ROT. Y,\",A3,4X,\"ANGLE ROT. Z,\",A3)";

// The plane model's headings: vertical and horizontal load and the moment,
// vertical and horizontal displacement and the rotation.
//              VERT. LOAD,KIPS    HORI. LOAD,KIPS    MOMENT,KIP-IN
constexpr const char* FORCE_HEADING_2D = "(/,13X,\"VERT. LOAD,\",A4,4X,\"HORI. LOAD,\",A4,4X,\"MOMENT,\",A3,A1,A2)";
constexpr const char* FORCE_HEADING_MARKED_2D =
    "(/,13X,\"VERT. LOAD,\",A4,A1,3X,\"HORI. LOAD,\",A4,A1,3X,\"MOMENT,\",A3,A1,A2,A1)";
//                 VERTICAL,IN      HORIZONTAL,IN     ROTATION,RAD
constexpr const char* TRANSLATION_HEADING_2D = "(/,16X,\"VERTICAL,\",A2,6X,\"HORIZONTAL,\",A2,A,\"ROTATION,\",A3)";
constexpr const char* TRANSLATION_HEADING_MARKED_2D =
    "(/,16X,\"VERTICAL,\",A2,A1,5X,\"HORIZONTAL,\",A2,A1,4X,\"ROTATION,\",A3,A1)";

std::string_view mark(const char* marks, int k) { return std::string_view(marks + k, 1); }

// One title as each report spaces it: the results report and the summary
// after blank lines, the summary scratch file after one, the computation
// report on its own line.
struct TitleLayouts {
  const char* report;
  const char* scratch;
  const char* computation;
};

//      * TABLE L *   COMPUTATION ON PILE CAP
constexpr TitleLayouts TABLE_L_TITLE{"(/,/,/,5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")",
                                     "(/,5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")",
                                     "(5X,\"* TABLE L *   COMPUTATION ON PILE CAP\")"};
//      * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *
constexpr TitleLayouts CAP_LOAD_TITLE{"(/,/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")",
                                      "(/,5X,\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")",
                                      "(\"* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *\")"};
//      * DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *
// (the computation report: "* DISPLACEMENT OF PILE CAP AT ORIGIN *")
constexpr TitleLayouts CAP_DISPLACEMENT_TITLE{"(/,/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")",
                                              "(/,5X,\"* DISPLACEMENT OF GROUPED PILE \",\"FOUNDATION AT ORIGIN *\")",
                                              "(\"* DISPLACEMENT OF PILE CAP AT ORIGIN *\")"};
//      * TABLE M *   COMPUTATION ON INDIVIDUAL PILE
constexpr TitleLayouts TABLE_M_TITLE{"(/,/,/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")",
                                     "(/,5X,\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")",
                                     "(\"* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\")"};

void write_title(int unit, const TitleLayouts& title) {
  const char* layout = title.report;
  if (unit == UNIT_SUMMARY_SCRATCH) layout = title.scratch;
  if (unit == UNIT_COMPUTATION_REPORT) layout = title.computation;
  fio::write(unit, layout);
}

}  // namespace

void WRITE_TABLE_L_TITLE(int unit) { write_title(unit, TABLE_L_TITLE); }
void WRITE_CAP_LOAD_TITLE(int unit) { write_title(unit, CAP_LOAD_TITLE); }
void WRITE_CAP_DISPLACEMENT_TITLE(int unit) { write_title(unit, CAP_DISPLACEMENT_TITLE); }
void WRITE_TABLE_M_TITLE(int unit) { write_title(unit, TABLE_M_TITLE); }

void WRITE_TABLE_M_TITLES() {
  for (int unit : {UNIT_RESULTS_REPORT, UNIT_SUMMARY, UNIT_SUMMARY_SCRATCH}) WRITE_TABLE_M_TITLE(unit);
}

void WRITE_CAP_VALUE_ROW(int unit, const CapRowFields& row, const double* values, bool kips) {
  WRITE_BLANKS(unit, row.lead);
  for (int k = 0; k < HALF; ++k) {
    WRITE_REAL_FIELD(unit, row.width, row.digits, kips ? KIPS_FROM_POUNDS(values[k]) : values[k]);
  }
  END_REPORT_LINE(unit);
}

void WRITE_CAP_LOAD_TABLE(int unit, const CapRowFields& row, const double* load, const char* marks) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view force = u.force_large(), force_short = u.force_short(), length = u.moment_length();
  if (marks != nullptr) {
    fio::write(unit, FORCE_HEADING_MARKED, force, mark(marks, 0), force, mark(marks, 1), force, mark(marks, 2));
  } else {
    fio::write(unit, FORCE_HEADING, force, force, force);
  }
  WRITE_CAP_VALUE_ROW(unit, row, load, true);
  if (marks != nullptr) {
    fio::write(unit, MOMENT_HEADING_MARKED, force_short, u.dash(), length, mark(marks, 3), force_short, u.dash(),
               length, mark(marks, 4), force_short, u.dash(), length, mark(marks, 5));
  } else {
    fio::write(unit, MOMENT_HEADING, force_short, u.dash(), length, force_short, u.dash(), length, force_short,
               u.dash(), length);
  }
  WRITE_CAP_VALUE_ROW(unit, row, load + HALF, true);
}

void WRITE_CAP_DISPLACEMENT_TABLE(int unit, const CapRowFields& row, const double* displacement, const char* marks) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view length = u.moment_length();
  if (marks != nullptr) {
    fio::write(unit, TRANSLATION_HEADING_MARKED, length, mark(marks, 0), length, mark(marks, 1), length,
               mark(marks, 2));
  } else {
    fio::write(unit, TRANSLATION_HEADING, length, length, length);
  }
  WRITE_CAP_VALUE_ROW(unit, row, displacement, false);
  if (marks != nullptr) {
    fio::write(unit, ROTATION_HEADING_MARKED, u.radians(), mark(marks, 3), u.radians(), mark(marks, 4), u.radians(),
               mark(marks, 5));
  } else {
    fio::write(unit, ROTATION_HEADING, u.radians(), u.radians(), u.radians());
  }
  WRITE_CAP_VALUE_ROW(unit, row, displacement + HALF, false);
}

}  // namespace pilecap

namespace pilecap {

void WRITE_CAP_LOAD_TABLE_2D(int unit, const CapRowFields& row, const double* load, const char* marks) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view force = u.force_large(), force_short = u.force_short(), length = u.moment_length();
  if (marks != nullptr) {
    fio::write(unit, FORCE_HEADING_MARKED_2D, force, mark(marks, 0), force, mark(marks, 1), force_short, u.dash(),
               length, mark(marks, 2));
  } else {
    fio::write(unit, FORCE_HEADING_2D, force, force, force_short, u.dash(), length);
  }
  WRITE_CAP_VALUE_ROW(unit, row, load, true);
}

void WRITE_CAP_DISPLACEMENT_TABLE_2D(int unit, const CapRowFields& row, const double* displacement, const char* marks,
                                     int rotation_gap) {
  const UnitLabelsRecord& u = UnitLabels;
  const std::string_view length = u.moment_length();
  if (marks != nullptr) {
    fio::write(unit, TRANSLATION_HEADING_MARKED_2D, length, mark(marks, 0), length, mark(marks, 1), u.radians(),
               mark(marks, 2));
  } else {
    fio::write(unit, TRANSLATION_HEADING_2D, length, length, std::string(static_cast<std::size_t>(rotation_gap), ' '),
               u.radians());
  }
  WRITE_CAP_VALUE_ROW(unit, row, displacement, false);
}

}  // namespace pilecap
