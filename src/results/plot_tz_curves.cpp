// The t-z and torque blocks of the plot-data file: at every plot node an
// axial spring (force against axial movement, with the tip q-w curve at
// the tip node) or a torsional spring (torque against twist), lumping half
// of the shaft friction of each adjacent segment. A segment's friction is
// its midpoint's t-z curve times its shaft area pi D dL; the torque takes
// it at the radius D / 2, the twist is the movement over D / 2. Model units.
#include "model/sections.hpp"
#include "results/plot_file.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

// The shaft area of the curves takes pi in single precision.
constexpr double PI_OF_SHAFT_AREA = double(3.14159265358979f);
// Points of a node's spring: both branches of a t-z curve through the origin.
constexpr int SPRING_POINTS = 2 * TZ_POINTS - 1;
static_assert(SPRING_POINTS == EXPORT_CURVE_POINTS, "the count the input reader records for the plot curves");

// The SoilCode of the first layer whose bottom lies below x (a point on a
// boundary belongs to the lower layer); below every layer, that of layer 1.
int plot_soil_code(double x) {
  for (int l = 1; l <= SoilProfile.num_layers; ++l) {
    if (SoilProfile.layer_bottom(l) > x) return SoilProfile.layer_code(l);
  }
  return SoilProfile.layer_code(1);
}

// Half the friction of a segment of diameter d and length dl as a node's
// half curve: axial (movement, force) or torsional (twist, torque). A
// segment without a diameter has no torsional curve.
plot::SpringCurve half_segment_curve(int kind, const PlotTzCurve& tz, double d, double dl) {
  plot::SpringCurve c = plot::zero_curve(TZ_POINTS);
  if (kind == PLOT_BLOCK_TQ && !(d > 0.0)) return c;
  for (int j = 1; j <= TZ_POINTS; ++j) {
    const double force = tz.t(j) * 0.5 * PI_OF_SHAFT_AREA * d * dl;
    if (kind == PLOT_BLOCK_TQ) {
      c.a(j) = tz.z(j) / (d / 2.0);
      c.b(j) = force * d / 2.0;
    } else {
      c.a(j) = tz.z(j);
      c.b(j) = force;
    }
  }
  return c;
}

// One pile's block of the given kind. A node is in the soil when the
// midpoint of the segment below it (for the tip, half a segment below the
// tip) lies at least 1e-6 below the pile's ground line; a profile without
// layers has no soil.
void write_transfer_block(int pile, int kind, int& status) {
  const int m = PyExportRequest.plot_nodes;
  const int set = PileTable.prop(pile);
  const double dl = m >= 1 ? PileProperty.length(set) / m : 0.0;
  const double ground_line = PileTable.head_depth(pile) + PileTable.ground(pile);
  plot::write_record(plot::INTEGERS_LAYOUT, pile, m + 1, kind);
  plot::SpringCurve kept = plot::zero_curve(TZ_POINTS);  // the half curve of the node above
  bool above_in_soil = false;
  PlotTipCurve tip;
  double x = PileTable.head_x(pile);
  for (int i = 1; i <= m + 1; ++i, x += dl) {
    plot::write_record(plot::NODE_LAYOUT, i, x);
    const double x_mid = x + 0.5 * dl;
    const bool in_soil = SoilProfile.num_layers >= 1 && x_mid - ground_line >= PY_MIN_DEPTH;
    // The tip carries the half curve of the last segment; with no segment
    // in the soil it carries nothing.
    const bool carries = in_soil && (i <= m || above_in_soil);
    if (!carries) {
      plot::write_record(plot::INTEGERS_LAYOUT, 0, 0);
      above_in_soil = false;
      continue;
    }
    if (i == m + 1) {
      plot::write_record(plot::INTEGERS_LAYOUT, 1, SPRING_POINTS);
      plot::WRITE_SPRING_POINTS(kept, kind == PLOT_BLOCK_TZ ? &tip : nullptr);
      continue;
    }
    int call_status = STATUS_OK;
    const int code = plot_soil_code(x_mid);
    const double fs = PLOT_UNIT_SIDE_FRICTION(pile, x_mid, x_mid - ground_line, code, call_status);
    PlotTzCurve tz;
    double phi_deg = 0.0;
    if (call_status == STATUS_OK) PLOT_TZ_CURVE(pile, x_mid, code, fs, tz, phi_deg, call_status);
    if (call_status == STATUS_OK && kind == PLOT_BLOCK_TZ && i == m) PLOT_TIP_CURVE(pile, code, tip, call_status);
    if (call_status != STATUS_OK) {
      status = call_status;
      plot::write_record(plot::INTEGERS_LAYOUT, 0, 0);
      return;
    }
    const plot::SpringCurve half = half_segment_curve(kind, tz, SECTION_DIAMETER_AT(pile, set, x_mid), dl);
    plot::SpringCurve node_curve = half;
    if (above_in_soil) plot::COMBINE_HALF_CURVES(kept, half, node_curve);
    kept = half;
    above_in_soil = true;
    plot::write_record(plot::INTEGERS_LAYOUT, 1, SPRING_POINTS);
    plot::WRITE_SPRING_POINTS(node_curve, nullptr);
  }
}

}  // namespace

void WRITE_PLOT_TZ_CURVES(int pile, int& status) { write_transfer_block(pile, PLOT_BLOCK_TZ, status); }

void WRITE_PLOT_TQ_CURVES(int pile, int& status) { write_transfer_block(pile, PLOT_BLOCK_TQ, status); }

}  // namespace pilecap
