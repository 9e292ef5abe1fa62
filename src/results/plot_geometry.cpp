// The geometry block of the plot-data file: a pile's length, head, the
// direction cosines of its axes and its section values at the midpoints of
// m equal segments. Positions along the pile are vertical coordinates from
// PileTable.head_x; angles in radians; values in the model's units.
#include <cmath>

#include "model/sections.hpp"
#include "results/plot_file.hpp"

namespace pilecap {

void WRITE_PLOT_PILE_GEOMETRY(int pile, int& /*status*/) {
  const bool space = RunOptions.dimension == MODEL_3D;
  const int m = PyExportRequest.plot_nodes;
  const int set = PileTable.prop(pile);
  const double length = PileProperty.length(set);
  plot::write_record(plot::INTEGERS_LAYOUT, pile, m, PLOT_BLOCK_GEOMETRY);
  plot::write_record(plot::REALS_LAYOUT, length);
  const double head_x = PileTable.head_x(pile);
  if (space) {
    plot::write_record(plot::REALS_LAYOUT, head_x, PileTable.head_y(pile), PileTable.head_z(pile));
    const double sin_beta = std::sin(PileTable.beta(pile));
    const double cos_beta = std::cos(PileTable.beta(pile));
    const double sin_alpha = std::sin(PileTable.alpha(pile));
    const double cos_alpha = std::cos(PileTable.alpha(pile));
    plot::write_record(plot::REALS_LAYOUT, sin_beta, cos_beta * cos_alpha, cos_beta * sin_alpha);
    plot::write_record(plot::REALS_LAYOUT, -cos_beta, sin_beta * cos_alpha, sin_beta * sin_alpha);
    plot::write_record(plot::REALS_LAYOUT, 0.0, -sin_alpha, cos_alpha);
  } else {
    plot::write_record(plot::REALS_LAYOUT, head_x, PileTable.head_y(pile));
    // The pile axis from the horizontal: the engine's one pi, never a value
    // some writer left behind.
    const double angle = RunConstants.pi * 0.5 - PileTable.batter(pile);
    const double cos_a = std::cos(angle);
    const double sin_a = std::sin(angle);
    plot::write_record(plot::REALS_LAYOUT, cos_a, sin_a);
    plot::write_record(plot::REALS_LAYOUT, -sin_a, cos_a);
  }
  if (m < 1) return;
  const double h = length / m;
  double x = (head_x - 0.5 * h) + h;  // a running sum, as the curve blocks step
  for (int i = 1; i <= m; ++i, x += h) {
    plot::write_record(plot::NODE_LAYOUT, i, x);
    const double diameter = SECTION_DIAMETER_AT(pile, set, x);
    const double area = SECTION_AREA_AT(pile, set, x);
    const double inertia_zz = SECTION_INERTIA_ZZ_AT(pile, set, x);
    const double modulus = SECTION_MODULUS_AT(pile, set, x);
    if (space) {
      plot::write_record(plot::REALS_LAYOUT, diameter, area, inertia_zz, SECTION_INERTIA_YY_AT(pile, set, x), modulus,
                         SECTION_GJ_AT(pile, set, x));
    } else {
      plot::write_record(plot::REALS_LAYOUT, diameter, area, inertia_zz, modulus);
    }
  }
}

}  // namespace pilecap
