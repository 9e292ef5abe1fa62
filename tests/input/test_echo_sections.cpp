// TABLE E cross-section descriptions and property tables, case by case as
// exact lines: elastic shapes uniform and tapered, the nonlinear types and
// their branches, user-defined EI sections, and ratios printed as read.
#include <gtest/gtest.h>

#include <string>

#include "echo/echo.hpp"
#include "input/input.hpp"
#include "pile/pile.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"
#include "tests/input/echo_decks.hpp"
#include "tests/input/echo_fixture.hpp"

namespace pilecap {
namespace {

using testing::lines;

class EchoSectionsTest : public testing::EchoRecordsTest {
 protected:
  // The description of cross section 1, after the section and name lines.
  static std::string description() {
    CrossSection.count = 1;
    CrossSection.name(1).assign(TEXT_LINE_LENGTH, ' ');  // names are read as 80 characters
    CrossSection.name(1)[0] = 'S';
    fio::open_memory(UNIT_ECHO);
    PRINT_CROSS_SECTIONS();
    const std::string text = echo();
    std::string head = "      SECTION NAME        : S";
    head.append(31, ' ').append("\n");
    const auto at = text.find(head);
    return at == std::string::npos ? text : text.substr(at + head.size());
  }
  static void h_section() {
    auto& x = CrossSection;
    x.shape(1) = SHAPE_H;
    x.diameter(1) = 14.0;
    x.width(1) = 14.5;
    x.depth(1) = 13.6;
    x.flange_thickness(1) = 0.5;
    x.web_thickness(1) = 0.45;
    x.modulus(1) = 29e6;
    x.shear_modulus(1) = 11.2e6;
    x.mn_zz(1) = 2.4e6;
    x.mn_yy(1) = 1.1e6;
  }
};

TEST_F(EchoSectionsTest, UniformHSectionIn2DAnd3D) {
  h_section();
  const std::string shape = lines({
      "      TYPE                :  ELASTIC",
      "      CROSS SECTION TYPE  : H SECTION        |",
      "      EQUIVALENT DIAMETER :       14.0000 IN",
      "      EXTERNAL WIDTH      :       14.5000 IN",
      "      EXTERNAL DEPTH      :       13.6000 IN",
      "      FLANGE THICKNESS    :       0.50000 IN",
      "      WEB THICKNESS       :       0.45000 IN",
      "      YOUNG MODULUS       :   2.90000E+07 LBS/IN**2",
  });
  EXPECT_EQ(description(), shape);
  units(1, 0, 3);
  EXPECT_EQ(description(), shape + "      SHEAR MODULUS       :   1.12000E+07 LBS/IN**2\n");
}

TEST_F(EchoSectionsTest, GivenCapacityTaperedAndNamedHWhenAisc) {
  units(1, 1, 3);
  h_section();
  auto& x = CrossSection;
  x.shape(1) = SHAPE_AISC;
  x.moment_capacity_given(1) = 1;
  x.tapered(1) = 1;
  x.diameter_bottom(1) = 12.0;
  x.width_bottom(1) = 12.5;
  x.depth_bottom(1) = 11.6;
  x.flange_thickness_bottom(1) = 0.4;
  x.web_thickness_bottom(1) = 0.35;
  x.modulus_bottom(1) = 29e6;
  x.shear_modulus_bottom(1) = 11.2e6;
  x.mn_zz_bottom(1) = 2.0e6;
  x.mn_yy_bottom(1) = 0.9e6;
  EXPECT_EQ(description(), lines({
                               "      TYPE                :  ELASTIC WITH",
                               "                             SPEC. MOMENT CAPACITY",
                               "      CROSS SECTION TYPE  : H SECTION        |",
                               "      TAPERED SECTION                TOP                  BOTTOM",
                               "      EQUIVALENT DIAMETER :       14.0000 IN             12.0000 IN",
                               "      EXTERNAL WIDTH      :       14.5000 IN             12.5000 IN",
                               "      EXTERNAL DEPTH      :       13.6000 IN             11.6000 IN",
                               "      FLANGE THICKNESS    :       0.50000 IN             0.40000 IN",
                               "      WEB THICKNESS       :       0.45000 IN             0.35000 IN",
                               "      YOUNG MODULUS       :       29000.0 KIP/IN**2      29000.0 KIP/IN**2",
                               "      SHEAR MODULUS       :       11200.0 KIP/IN**2      11200.0 KIP/IN**2",
                               "      PLASTIC MOMENT ZZ   :       2400.00 KIP-IN         2000.00 KIP-IN",
                               "      PLASTIC MOMENT YY   :       1100.00 KIP-IN         900.000 KIP-IN",
                           }));
}

TEST_F(EchoSectionsTest, CasedShaftWithoutCasingAndWithEmbeddedShape) {
  auto& x = CrossSection;
  x.nonlinear(1) = 1;
  x.type(1) = 3;
  x.nl_diameter(1) = 36.0;
  x.concrete_fc(1) = 4000.0;
  x.modulus(1) = 3.6e6;
  const std::string head = lines({
      "      TYPE                :  NONLINEAR",
      "      CROSS SECTION TYPE  : ROUND CONC. SHAFT, CASING (AND STEEL SECTION)",
      "      CONCRETE DIAMETER   :       36.0000 IN",
      "      CONCRETE FC         :       4000.00 LBS/IN**2",
      "      DIAMETER CASING     : NO CASING",
  });
  const std::string tail = "      EQ. YOUNG MODULUS   :   3.60000E+06 LBS/IN**2\n";
  EXPECT_EQ(description(), head + "      EMBEDDED STEEL SECT : NONE\n" + tail);
  x.embedded_steel(1) = 2;
  x.nl_width(1) = 10.0;
  x.nl_depth(1) = 10.2;
  x.nl_flange_thickness(1) = 0.6;
  x.nl_web_thickness(1) = 0.4;
  x.steel_es(1) = 29e6;
  x.steel_fy(1) = 50000.0;
  EXPECT_EQ(description(), head +
                               lines({
                                   "      EMBEDDED STEEL SECT : I   ",
                                   "      EXTERNAL WIDTH      :       10.0000 IN",
                                   "      EXTERNAL DEPTH      :       10.2000 IN",
                                   "      FLANGE THICKNESS    :       0.60000 IN",
                                   "      WEB THICKNESS       :       0.40000 IN",
                                   "      ES STEEL            :   2.90000E+07 LBS/IN**2",
                                   "      FY STEEL            :       50000.0 LBS/IN**2",
                               }) +
                               tail);
}

TEST_F(EchoSectionsTest, ConfinedRectangularPileHasLegsAndNoTieType) {
  auto& x = CrossSection;
  x.nonlinear(1) = 1;
  x.type(1) = 1;
  x.confined(1) = 1;
  x.tie_type(1) = 1;
  x.tie_count(1) = 20;
  x.tie_legs_y(1) = 2;
  x.tie_legs_z(1) = 4;
  const std::string text = description();
  EXPECT_EQ(text.find("TRANSV. REINF. TYPE"), std::string::npos) << text;
  EXPECT_NE(text.find("      CONFINED SECTION       \n      NUMBER TR. REBARS   :            20 \n"
                      "      NUMBER LEGS Y       :             2 \n      NUMBER LEGS Z       :             4 \n"),
            std::string::npos)
      << text;
}

// Strain ratios and the prestress loss fraction have no unit: they print as
// read under SI units and under the kip option alike.
TEST_F(EchoSectionsTest, RatiosPrintAsRead) {
  units(2, 0, 2);
  auto& x = CrossSection;
  x.nonlinear(1) = 1;
  x.type(1) = 2;
  x.confined(1) = 1;
  x.strain_hardening(1) = 1;
  x.esh(1) = 0.008;
  x.esu(1) = 0.09;
  x.fu_fy(1) = 1.5;
  EXPECT_NE(description().find("      ESH                 :   8.00000E-03\n      ESU                 :     0.0900000\n"
                               "      FU/FY               :       1.50000\n"),
            std::string::npos)
      << description();
  units(1, 1, 2);
  x = CrossSectionRecord{};
  x.nonlinear(1) = 1;
  x.type(1) = 4;
  x.strand_count(1) = 1;
  x.prestress_loss_fraction(1) = 0.15;
  EXPECT_NE(description().find("      FRACT. PRESS. LOSSES:       0.15000 \n"), std::string::npos) << description();
}

// A layout code without a text ends the label line; the next line starts fresh.
TEST_F(EchoSectionsTest, LayoutCodeWithoutTextEndsItsLine) {
  auto& x = CrossSection;
  x.nonlinear(1) = 1;
  x.type(1) = 2;
  x.rebar_count(1) = 1;
  x.rebar_layout(1) = 7;
  EXPECT_NE(description().find("      REINF. LAYOUT       : \n      REINF. A , D, COORDS:"), std::string::npos)
      << description();
}

TEST_F(EchoSectionsTest, UserDefinedEiSectionsInTheNonlinearTable) {
  auto& x = CrossSection;
  x.count = 2;
  for (int c = 1; c <= 2; ++c) {
    x.nonlinear(c) = 1;
    x.type(c) = NL_USER_EI;
    x.diameter(c) = 24.0;
    x.inertia_zz(c) = 2000.0;
    x.modulus(c) = 4e6;
  }
  x.mphi_set_zz(2) = 3;
  int status = 0;
  PRINT_PILE_PROPERTIES(status);
  const std::string text = echo();
  EXPECT_EQ(text.find("ELASTIC SECTIONS"), std::string::npos) << "only nonlinear sections";
  // Row: blanks(5), the number in 5, blanks(6), then the reals in 14 columns
  // and the set number in 5 after 5 blanks.
  const std::string r = "       0.00000";
  EXPECT_NE(text.find("         1      "
                      "       24.0000" +
                      r + r + "       2000.00" + "         0" + r + r + " \n" +
                      "         2      "
                      "       24.0000" +
                      r + r + r + "         3" + r + r + " \n"),
            std::string::npos)
      << text;
  // The modulus is shown where a bending direction names no set.
  EXPECT_NE(text.find("      YOUNG MODULUS       :   4.00000E+06 LBS/IN**2\n\n      CROSS SECTION       :     2"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("YOUNG MODULUS", text.find("CROSS SECTION       :     2")), std::string::npos) << text;
  units(1, 0, 3);
  fio::open_memory(UNIT_ECHO);
  PRINT_CROSS_SECTIONS();
  EXPECT_NE(echo().find("YOUNG MODULUS", echo().find("CROSS SECTION       :     2")), std::string::npos)
      << "3D: the y-y direction names no set";
}

TEST_F(EchoSectionsTest, NoCrossSectionPrintsOnlyThePropertiesTitle) {
  int status = 0;
  PRINT_PILE_PROPERTIES(status);
  const std::string text = echo();
  EXPECT_NE(text.find("     * PILE CROSS SECTIONS PROPERTIES *\n"), std::string::npos);
  EXPECT_EQ(text.find("ELASTIC SECTIONS"), std::string::npos) << text;
  EXPECT_EQ(text.find("NONLINEAR SECTIONS"), std::string::npos) << text;
}

}  // namespace
}  // namespace pilecap
