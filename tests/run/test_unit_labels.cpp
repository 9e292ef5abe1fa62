// Unit labels and result column headings compared as exact text for SI,
// English (pounds and kips) and generic units, in 2D and 3D.
#include <gtest/gtest.h>

#include <string>

#include "run/run.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

std::string labels(int sign, int force_unit) {
  SET_UNIT_LABELS(sign, force_unit);
  return UnitLabels.text;
}

void headings(int sign, int force_unit, int dimension) {
  SET_UNIT_LABELS(sign, force_unit);
  SET_RESULT_COLUMN_HEADINGS(dimension);
}

class UnitLabelsTest : public testing::EngineTest {};

TEST_F(UnitLabelsTest, WholeBlockOfEachSet) {
  EXPECT_EQ(labels(-1, 0), "  M  KN M KN/-**23  4RADDEG^ KPA  *  M MM MMM  KN KN");
  EXPECT_EQ(labels(1, 0), " IN LBSINLBS/-**23  4RADDEG^ PSI  * FT INFTIN LBSLBS");
  EXPECT_EQ(labels(1, 1), " IN LBSINLBS/-**23  4RADDEG^ PSI  * FT INFTINKIPSKIP");
  EXPECT_EQ(labels(0, 1), "  L   F LF/L/-**23  4RADDEG^      *  L  L       F  F");
  // The kip texts belong to English units only.
  EXPECT_EQ(labels(-1, 1), labels(-1, 0));
}

TEST_F(UnitLabelsTest, NamedStretches) {
  labels(-1, 0);
  EXPECT_EQ(UnitLabels.length(), "  M");
  EXPECT_EQ(UnitLabels.force(), "  KN");
  EXPECT_EQ(UnitLabels.moment_length(), " M");
  EXPECT_EQ(UnitLabels.stress(), " KPA");
  EXPECT_EQ(UnitLabels.length_small(), " MM");
  EXPECT_EQ(UnitLabels.force_large(), "  KN");
  labels(1, 1);
  EXPECT_EQ(UnitLabels.length_large(), " FT");
  EXPECT_EQ(UnitLabels.length_large_short(), "FT");
  EXPECT_EQ(UnitLabels.length_small_short(), "IN");
  EXPECT_EQ(UnitLabels.moment_force(), "LBS");
  EXPECT_EQ(UnitLabels.force_short(), "KIP");
}

struct CellCase {
  const char* name;
  int sign, force_unit, dimension, column;
  const char* line1;
  const char* line2;
  const char* unit;
};

class ResultColumnHeadingsTest : public testing::EngineTest {};

TEST_F(ResultColumnHeadingsTest, CellsOfEverySet) {
  const CellCase cases[] = {
      {"SI 3D moment", -1, 0, 3, 9, "  MOMENT  ", "   z-DIR  ", "   KN- M  "},
      {"kips 3D shear", 1, 1, 3, 12, "   SHEAR  ", "   y-DIR  ", "    KIP   "},
      {"kips 3D stress", 1, 1, 3, 19, "   TOTAL  ", "  STRESS  ", " KIP/IN**2"},
      {"English 2D stress", 1, 0, 2, 19, "   TOTAL  ", "  STRESS  ", " LBS/IN**2"},
      {"English 2D rigidity", 1, 0, 2, 20, " FLEXURAL ", " RIGIDITY ", " LBS-IN**2"},
      {"English 2D column 3 blank", 1, 0, 2, 3, "          ", "          ", "          "},
      {"English 2D soil reaction", 1, 0, 2, 15, "   SOIL   ", " REACTION ", "  LBS/IN  "},
      {"English 2D displacement", 1, 0, 2, 1, "  DISPL.  ", "   x-DIR  ", "    IN    "},
      {"SI 2D demand over capacity", -1, 0, 2, 24, " DEM./CAP.", "  MOMENT  ", "          "},
      {"English 3D demand over capacity", 1, 0, 3, 24, " DEM./CAP.", "  MOMENT  ", "          "},
      {"SI 3D rotation", -1, 0, 3, 27, " ROTATION ", "   y-DIR  ", "   RAD    "},
      {"SI 2D rotation y blank", -1, 0, 2, 27, "          ", "          ", "          "},
      {"SI 3D distributed load", -1, 0, 3, 23, "DIST. LOAD", "   z-DIR  ", "   KN/ M  "},
      {"English 2D distributed load", 1, 0, 2, 22, "DISTRIBUT.", "   LOAD   ", "  LBS/IN  "},
      {"generic 3D moment", 0, 0, 3, 11, "  MOMENT  ", "  y-z-DIR ", "    F- L  "},
      {"generic 2D stress", 0, 0, 2, 19, "   TOTAL  ", "  STRESS  ", "   F/ L**2"},
      {"any dimension but 3 is 2D", 1, 0, 7, 9, "  BENDING ", "  MOMENT  ", "  LBS-IN  "},
  };
  for (const CellCase& c : cases) {
    headings(c.sign, c.force_unit, c.dimension);
    EXPECT_EQ(ResultColumnHeadings.line1(c.column), c.line1) << c.name;
    EXPECT_EQ(ResultColumnHeadings.line2(c.column), c.line2) << c.name;
    EXPECT_EQ(ResultColumnHeadings.unit_line(c.column), c.unit) << c.name;
  }
}

TEST_F(ResultColumnHeadingsTest, FirstCellsAndRules) {
  headings(1, 0, 3);
  EXPECT_EQ(ResultColumnHeadings.node_first_cells(1), "     x    ");
  EXPECT_EQ(ResultColumnHeadings.node_first_cells(2), "          ");
  EXPECT_EQ(ResultColumnHeadings.node_first_cells(3), "    FT    ");
  EXPECT_EQ(ResultColumnHeadings.pile_first_cells(1), " PILE ");
  EXPECT_EQ(ResultColumnHeadings.pile_first_cells(2), "      ");
  EXPECT_EQ(ResultColumnHeadings.rule10, "**********");
  EXPECT_EQ(ResultColumnHeadings.rule6, "******");
  headings(-1, 0, 2);
  EXPECT_EQ(ResultColumnHeadings.node_first_cells(3), "     M    ");
}

// Guards against a 3D run's cells surviving into a 2D run.
TEST_F(ResultColumnHeadingsTest, TwoDimensionalRunAfterThreeDimensional) {
  headings(1, 0, 3);
  headings(1, 0, 2);
  for (int column : {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23, 27, 29}) {
    EXPECT_EQ(ResultColumnHeadings.line1(column) + ResultColumnHeadings.line2(column) +
                  ResultColumnHeadings.unit_line(column),
              std::string(30, ' '))
        << column;
  }
}

}  // namespace
}  // namespace pilecap
