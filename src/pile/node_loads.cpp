// Distributed loads and soil movements at the nodes of a pile, in the pile's
// local lateral directions y and z. Tables of stations (position, value)
// are read against the distance of a node from the head along the axis
// (the pile's own load and movement tables) or against the node's vertical
// depth (the soil-movement profile carried onto the pile). Values are linear
// between stations and 0 outside a table. Node j is index j of the vectors.
#include <cmath>

#include "base/numbers.hpp"
#include "pile/pile.hpp"

namespace pilecap {

namespace {

// One station table of one pile, read through its three columns.
struct StationTable {
  const Table2<double>& station;
  const Table2<double>& value;
  int count;
  double tolerance;
};

enum class NodeCoordinate { ALONG_AXIS, DEPTH };

// The interpolation shared by the six routines; the search index carries
// over from node to node, the nodes running from head to tip.
void values_at_nodes(int pile, const StationTable& table, NodeCoordinate coordinate, bool zero_above_ground,
                     PileNodeVector& values) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  const int count = table.count;
  const double ground_line = PileTable.head_depth(pile) + PileTable.ground(pile);
  auto s = [&](int k) { return table.station(pile, k); };
  auto f = [&](int k) { return table.value(pile, k); };
  int c = 2;
  for (int j = 1; j <= n + 1; ++j) {
    const double xi = coordinate == NodeCoordinate::ALONG_AXIS ? PileNodes.axial_x(pile, j) - PileTable.head_depth(pile)
                                                               : PileNodes.depth(pile, j);
    values(j) = 0.0;
    if (count < 1 || xi < s(1) || xi > s(count)) continue;
    if (zero_above_ground && PileNodes.depth(pile, j) < ground_line) continue;
    if (count == 1) {  // the node is at the one station
      values(j) = f(1);
      continue;
    }
    while (c < count && s(c) < xi) ++c;
    const double delta = s(c) - s(c - 1);
    if (std::fabs(delta) < table.tolerance) {
      values(j) = (f(c) + f(c - 1)) / 2;
    } else {
      values(j) = f(c - 1) + (xi - s(c - 1)) * (f(c) - f(c - 1)) / delta;
    }
  }
}

StationTable load_table(int pile, const Table2<double>& value) {
  return {PileLoadProfile.load_depth, value, PileLoadProfile.load_count(pile), RunConstants.small};
}
StationTable movement_table(int pile, const Table2<double>& value) {
  return {PileLoadProfile.move_depth, value, PileLoadProfile.move_count(pile), RunConstants.small};
}
StationTable profile_table(const Table2<double>& value) {
  return {SoilMovementProfile.pile_depth, value, SoilMovementProfile.count, PROFILE_STATION_TOLERANCE};
}

}  // namespace

void SOIL_MOVE_PROFILE_ON_PILE(int pile) {
  auto& profile = SoilMovementProfile;
  for (int k = 1; k <= profile.count; ++k) {
    profile.pile_depth(pile, k) = profile.depth(k);
    profile.pile_move_y(pile, k) = 0.0;
    profile.pile_move_z(pile, k) = 0.0;
    const double my = profile.move_y(k);
    const double mz = profile.move_z(k);
    if (RunOptions.dimension == MODEL_2D) {
      profile.pile_move_y(pile, k) = my * std::sin(HALF_PI - PileTable.batter(pile));
      continue;
    }
    double sa, ca, sb, cb, st, ct;
    ANGLE_SIN_COS(PileTable.alpha(pile), sa, ca);
    ANGLE_SIN_COS(PileTable.beta(pile), sb, cb);
    ANGLE_SIN_COS(PileTable.theta(pile), st, ct);
    const double u = sb * (ca * my + sa * mz);
    const double v = ca * mz - sa * my;
    profile.pile_move_y(pile, k) = ct * u + st * v;
    profile.pile_move_z(pile, k) = ct * v - st * u;
  }
}

void DIST_LOAD_AT_NODES_Y(int pile, PileNodeVector& values) {
  values_at_nodes(pile, load_table(pile, PileLoadProfile.load_y), NodeCoordinate::ALONG_AXIS, false, values);
}
void DIST_LOAD_AT_NODES_Z(int pile, PileNodeVector& values) {
  values_at_nodes(pile, load_table(pile, PileLoadProfile.load_z), NodeCoordinate::ALONG_AXIS, false, values);
}
void SOIL_MOVE_AT_NODES_Y(int pile, PileNodeVector& values) {
  values_at_nodes(pile, movement_table(pile, PileLoadProfile.move_y), NodeCoordinate::ALONG_AXIS, false, values);
}
void SOIL_MOVE_AT_NODES_Z(int pile, PileNodeVector& values) {
  values_at_nodes(pile, movement_table(pile, PileLoadProfile.move_z), NodeCoordinate::ALONG_AXIS, false, values);
}
void PROFILE_MOVE_AT_NODES_Y(int pile, PileNodeVector& values) {
  values_at_nodes(pile, profile_table(SoilMovementProfile.pile_move_y), NodeCoordinate::DEPTH, true, values);
}
void PROFILE_MOVE_AT_NODES_Z(int pile, PileNodeVector& values) {
  values_at_nodes(pile, profile_table(SoilMovementProfile.pile_move_z), NodeCoordinate::DEPTH, true, values);
}

void ZERO_NODE_VALUES(int pile, PileNodeVector& values) {
  const int n = PileProperty.n_increments(PileTable.prop(pile));
  for (int j = 1; j <= n + 1; ++j) values(j) = 0.0;
}

}  // namespace pilecap
