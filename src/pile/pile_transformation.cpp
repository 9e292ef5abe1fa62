// The transformation between the cap origin and one pile head in 3D: the
// rigid-body offset T (u_head = u + theta x r, r the head coordinates) and
// the rotation R from pile axes (x along the pile, y and z across it) to the
// global axes (X vertical, Y and Z horizontal), each with its transpose.
// Vectors are (three translations, three rotations), or forces then
// moments; matrices are 6 x 6, 1-based, stored column by column.
#include <cmath>

#include "base/numbers.hpp"
#include "pile/pile.hpp"

namespace pilecap {

void PILE_TRANSFORMATION(int pile, Matrix6& offset_transposed, Matrix6& offset, Matrix6& rotation,
                         Matrix6& rotation_transposed) {
  offset_transposed.fill(0.0);
  offset.fill(0.0);
  rotation.fill(0.0);
  rotation_transposed.fill(0.0);
  double sa, ca, sb, cb, st, ct;
  ANGLE_SIN_COS(PileTable.alpha(pile), sa, ca);
  ANGLE_SIN_COS(PileTable.beta(pile), sb, cb);
  ANGLE_SIN_COS(PileTable.theta(pile), st, ct);
  const double hx = PileTable.head_x(pile), hy = PileTable.head_y(pile), hz = PileTable.head_z(pile);

  // The block A of head translations against cap rotations.
  const double a[3][3] = {{0.0, hz, -hy}, {-hz, 0.0, hx}, {hy, -hx, 0.0}};
  // Q: its columns are the pile axes x, y, z in global axes.
  const double q[3][3] = {{sb, -cb * ct, cb * st},
                          {ca * cb, ca * sb * ct - sa * st, -ca * sb * st - sa * ct},
                          {sa * cb, sa * sb * ct + ca * st, ca * ct - sa * sb * st}};
  for (int i = 1; i <= 6; ++i) {
    offset(i, i) = 1.0;
    offset_transposed(i, i) = 1.0;
  }
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      offset(i, j + 3) = a[i - 1][j - 1];
      offset_transposed(j + 3, i) = a[i - 1][j - 1];
      rotation(i, j) = rotation(i + 3, j + 3) = q[i - 1][j - 1];
      rotation_transposed(j, i) = rotation_transposed(j + 3, i + 3) = q[i - 1][j - 1];
    }
  }
}

}  // namespace pilecap
