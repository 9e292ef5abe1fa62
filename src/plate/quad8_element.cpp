// The flat-shell element of the plate: plane-stress membrane and
// Reissner-Mindlin plate bending with transverse shear (shear correction
// 5/6), uncoupled, and a drilling penalty that ties each node's in-plane
// rotation to the rotation of the membrane field (Hughes and Brezzi's
// formulation of drilling degrees of freedom). Membrane and bending matrices
// are integrated over the element's Gauss rule as upper triangles and
// mirrored. The rotations theta_x, theta_y give the shear strains
// gamma_xz = dw/dx - theta_x, gamma_yz = dw/dy - theta_y; moments and shear
// forces are per unit length, membrane stresses per unit thickness. Element
// variable 6(p-1)+d is DOF d of local node p; the membrane block uses
// 2(p-1)+a (UX UY), the bending block 3(p-1)+a (UZ ROTX ROTY).
#include <string>

#include "base/check.hpp"
#include "plate/plate.hpp"

namespace pilecap {

namespace {

// E t / (SHEAR_DIVISOR (1 + nu)) is 5/6 of the shear modulus times t.
constexpr double SHEAR_DIVISOR = double(2.4f);
constexpr int BENDING_RIGIDITY_DIVISOR = 12;  // D = E t^3 / (12 (1 - nu^2))
constexpr int SHEAR_XZ = 4;
constexpr int SHEAR_YZ = 5;
constexpr int DERIVATIVE_X = 1;
constexpr int DERIVATIVE_Y = 2;
constexpr int DRILLING_TERMS_PER_NODE = 3;  // UX, UY and ROTZ enter the drilling penalty

struct Material {
  double young = 0.0;
  double poisson = 0.0;
  double thickness = 0.0;
};

// The element's material; a Poisson ratio of 1 or -1 fails.
Material material_of(int material, int& status) {
  PILECAP_ASSERT(material >= 1 && material <= PlateControl.NMATS, "the mesh check keeps material numbers in range");
  const Material m{PlateModel.material_properties(material, MATERIAL_YOUNG_MODULUS),
                   PlateModel.material_properties(material, MATERIAL_POISSON_RATIO),
                   PlateModel.material_properties(material, MATERIAL_THICKNESS)};
  if (1 - m.poisson * m.poisson == 0.0) {
    FAIL_PLATE(status, "    POISSON RATIO OF 1 OR -1 IN PLATE MATERIAL " + std::to_string(material));
  }
  return m;
}

// The isotropic plane-stress matrix times factor, into rows and columns 1..3 of d.
template <int N>
void plane_stress(Array2<double, N, N>& d, double factor, double poisson) {
  d(1, 1) = d(2, 2) = factor;
  d(1, 2) = d(2, 1) = factor * poisson;
  d(3, 3) = factor * (1 - poisson) / 2;
}

// Adds factor x B^T (D B) to the upper triangle of a matrix, columns 1..n.
template <int ROWS, int COLUMNS, int N>
void add_upper_product(Array2<double, N, N>& k, const Array2<double, ROWS, COLUMNS>& strain,
                       const Array2<double, ROWS, COLUMNS>& stress, double factor, int n) {
  for (int column = 1; column <= n; ++column) {
    for (int row = 1; row <= column; ++row) {
      double sum = 0.0;
      for (int r = 1; r <= ROWS; ++r) sum += strain(r, row) * stress(r, column);
      k(row, column) += factor * sum;
    }
  }
}

// stress = d x strain over columns 1..n.
template <int ROWS, int COLUMNS>
void multiply_elasticity(const Array2<double, ROWS, ROWS>& d, const Array2<double, ROWS, COLUMNS>& strain,
                         Array2<double, ROWS, COLUMNS>& stress, int n) {
  for (int column = 1; column <= n; ++column) {
    for (int r = 1; r <= ROWS; ++r) {
      double sum = 0.0;
      for (int s = 1; s <= ROWS; ++s) sum += d(r, s) * strain(s, column);
      stress(r, column) = sum;
    }
  }
}

int membrane_columns() { return PLATE_MEMBRANE_DOFS_PER_NODE * PlateControl.NNODE; }
int bending_columns() { return PLATE_PLATE_DOFS_PER_NODE * PlateControl.NNODE; }

// The drilling penalty gamma x integral of (ROTZ - omega)^2 over the element,
// omega = (dUY/dx - dUX/dy) / 2 the in-plane rotation of the membrane field,
// added to the element matrix. It ties each node's in-plane rotation to the
// membrane's own rotation, never to the ground: a rigid in-plane rotation
// with matching node rotations costs nothing, and a pile's torsion reaches
// the membrane. The rule has three points per direction whatever the
// element's own, so the node rotations are never left free of stiffness (the
// mass matrix of 8 or 9 nodes is exact and regular with it); the rotation of
// the membrane lies in the span of the shape functions only for
// parallelograms (a constant Jacobian), so only there does the penalty leave
// the membrane unstiffened. Its points are not the element's sampling points:
// they leave the stress record alone.
void add_drilling_penalty(int element, double gamma, int& status) {
  Array1<double, PLATE_MAX_GAUSS> positions, weights;
  GAUSS_LEGENDRE_RULE(PLATE_MAX_GAUSS, positions, weights);
  PlateElementWorkRecord& w = PlateElementWork;
  const int nnode = PlateControl.NNODE;
  // (ROTZ - omega) = sum over nodes of coefficient x variable.
  Array1<double, PLATE_ELEMENT_CAPACITY> coefficients;
  Array1<int, PLATE_ELEMENT_CAPACITY> variables;
  const int n_terms = DRILLING_TERMS_PER_NODE * nnode;
  for (int i = 1; i <= PLATE_MAX_GAUSS; ++i) {
    for (int j = 1; j <= PLATE_MAX_GAUSS; ++j) {
      QUAD8_SHAPE_FUNCTIONS(positions(i), positions(j), nnode);
      double determinant = 0.0;
      JACOB2(element, determinant, PLATE_POINT_NOT_RECORDED, status);
      if (status != 0) return;
      int t = 0;
      for (int n = 1; n <= nnode; ++n) {
        variables(++t) = PLATE_ELEMENT_VARIABLE(n, PLATE_UX);
        coefficients(t) = w.cartesian_derivatives(DERIVATIVE_Y, n) / 2;
        variables(++t) = PLATE_ELEMENT_VARIABLE(n, PLATE_UY);
        coefficients(t) = -w.cartesian_derivatives(DERIVATIVE_X, n) / 2;
        variables(++t) = PLATE_ELEMENT_VARIABLE(n, PLATE_ROTZ);
        coefficients(t) = w.shape(n);
      }
      const double factor = gamma * determinant * weights(i) * weights(j);
      for (int a = 1; a <= n_terms; ++a) {
        for (int b = 1; b <= n_terms; ++b) {
          w.element_matrix(variables(a), variables(b)) += factor * (coefficients(a) * coefficients(b));
        }
      }
    }
  }
}

template <int N>
void mirror_upper_triangle(Array2<double, N, N>& k, int n) {
  for (int column = 1; column <= n; ++column) {
    for (int row = column + 1; row <= n; ++row) k(row, column) = k(column, row);
  }
}

}  // namespace

void MEMBRANE_ELASTICITY(int material, int& status) {
  const Material m = material_of(material, status);
  PlateElementWork.membrane_elasticity.fill(0.0);
  if (status != 0) return;
  plane_stress(PlateElementWork.membrane_elasticity, m.young / (1 - m.poisson * m.poisson), m.poisson);
}

void BENDING_SHEAR_ELASTICITY(int material, int& status) {
  const Material m = material_of(material, status);
  auto& d = PlateElementWork.bending_elasticity;
  d.fill(0.0);
  if (status != 0) return;
  const double rigidity =
      m.young * m.thickness * m.thickness * m.thickness / (BENDING_RIGIDITY_DIVISOR * (1 - m.poisson * m.poisson));
  plane_stress(d, rigidity, m.poisson);
  d(SHEAR_XZ, SHEAR_XZ) = d(SHEAR_YZ, SHEAR_YZ) = m.young * m.thickness / (SHEAR_DIVISOR * (1 + m.poisson));
}

void MEMBRANE_STRAIN_MATRIX() {
  PlateElementWorkRecord& w = PlateElementWork;
  w.membrane_strain.fill(0.0);
  for (int n = 1; n <= PlateControl.NNODE; ++n) {
    const int u = PLATE_MEMBRANE_DOFS_PER_NODE * (n - 1) + 1;
    const int v = u + 1;
    w.membrane_strain(1, u) = w.cartesian_derivatives(DERIVATIVE_X, n);
    w.membrane_strain(2, v) = w.cartesian_derivatives(DERIVATIVE_Y, n);
    w.membrane_strain(3, u) = w.cartesian_derivatives(DERIVATIVE_Y, n);
    w.membrane_strain(3, v) = w.cartesian_derivatives(DERIVATIVE_X, n);
  }
}

void MEMBRANE_STRESS_MATRIX() {
  PlateElementWorkRecord& w = PlateElementWork;
  multiply_elasticity(w.membrane_elasticity, w.membrane_strain, w.membrane_stress, membrane_columns());
}

void BENDING_STRAIN_MATRIX() {
  PlateElementWorkRecord& w = PlateElementWork;
  w.bending_strain.fill(0.0);
  for (int n = 1; n <= PlateControl.NNODE; ++n) {
    const int deflection = PLATE_PLATE_DOFS_PER_NODE * (n - 1) + 1;
    const int theta_x = deflection + 1;
    const int theta_y = deflection + 2;
    const double nx = w.cartesian_derivatives(DERIVATIVE_X, n);
    const double ny = w.cartesian_derivatives(DERIVATIVE_Y, n);
    w.bending_strain(1, theta_x) = -nx;
    w.bending_strain(2, theta_y) = -ny;
    w.bending_strain(3, theta_x) = -ny;
    w.bending_strain(3, theta_y) = -nx;
    w.bending_strain(SHEAR_XZ, deflection) = nx;
    w.bending_strain(SHEAR_XZ, theta_x) = -w.shape(n);
    w.bending_strain(SHEAR_YZ, deflection) = ny;
    w.bending_strain(SHEAR_YZ, theta_y) = -w.shape(n);
  }
}

void BENDING_STRESS_MATRIX() {
  PlateElementWorkRecord& w = PlateElementWork;
  multiply_elasticity(w.bending_elasticity, w.bending_strain, w.bending_stress, bending_columns());
}

void QUAD8_ELEMENT_STIFFNESS(int element, int& status) {
  PlateElementWorkRecord& w = PlateElementWork;
  const int nnode = PlateControl.NNODE;
  const int ngaus = PlateControl.NGAUS;
  COPY_ELEMENT_COORDINATES(element);
  w.element_matrix.fill(0.0);
  w.bending_matrix.fill(0.0);
  w.membrane_matrix.fill(0.0);
  const int material = PlateModel.element_materials(element);
  BENDING_SHEAR_ELASTICITY(material, status);
  MEMBRANE_ELASTICITY(material, status);
  if (status != 0) return;
  const Material m = material_of(material, status);
  const double thickness = m.thickness;
  // The penalty is the membrane's shear stiffness G t (G per unit thickness
  // for a material without thickness, as its membrane).
  const double shear_modulus = m.young * 0.5 / (m.poisson + 1);
  add_drilling_penalty(element, thickness != 0.0 ? shear_modulus * thickness : shear_modulus, status);
  if (status != 0) return;

  for (int k = 1; k <= ngaus * ngaus; ++k) {
    double volume = 0.0;  // the area of the sampling point; no thickness
    AREA_SAMPLING_POINT(element, k, volume, status);
    if (status != 0) return;

    BENDING_STRAIN_MATRIX();
    BENDING_STRESS_MATRIX();
    add_upper_product(w.bending_matrix, w.bending_strain, w.bending_stress, volume, bending_columns());
    w.record.bending_stress_matrices(k) = w.bending_stress;

    // A material without thickness integrates the membrane per unit thickness.
    const double membrane_factor = thickness != 0.0 ? thickness * volume : volume;
    MEMBRANE_STRAIN_MATRIX();
    MEMBRANE_STRESS_MATRIX();
    add_upper_product(w.membrane_matrix, w.membrane_strain, w.membrane_stress, membrane_factor, membrane_columns());
    w.record.membrane_stress_matrices(k) = w.membrane_stress;
  }
  mirror_upper_triangle(w.bending_matrix, bending_columns());
  mirror_upper_triangle(w.membrane_matrix, membrane_columns());

  for (int p = 1; p <= nnode; ++p) {
    for (int n = 1; n <= nnode; ++n) {
      for (int a = 1; a <= PLATE_MEMBRANE_DOFS_PER_NODE; ++a) {
        for (int b = 1; b <= PLATE_MEMBRANE_DOFS_PER_NODE; ++b) {
          w.element_matrix(PLATE_ELEMENT_VARIABLE(p, a), PLATE_ELEMENT_VARIABLE(n, b)) +=
              w.membrane_matrix(PLATE_MEMBRANE_DOFS_PER_NODE * (p - 1) + a, PLATE_MEMBRANE_DOFS_PER_NODE * (n - 1) + b);
        }
      }
      for (int a = 1; a <= PLATE_PLATE_DOFS_PER_NODE; ++a) {
        for (int b = 1; b <= PLATE_PLATE_DOFS_PER_NODE; ++b) {
          w.element_matrix(PLATE_ELEMENT_VARIABLE(p, PLATE_UZ - 1 + a), PLATE_ELEMENT_VARIABLE(n, PLATE_UZ - 1 + b)) +=
              w.bending_matrix(PLATE_PLATE_DOFS_PER_NODE * (p - 1) + a, PLATE_PLATE_DOFS_PER_NODE * (n - 1) + b);
        }
      }
    }
  }
}

}  // namespace pilecap
