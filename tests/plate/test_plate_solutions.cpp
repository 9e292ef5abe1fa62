// Classical solutions of a thin square plate (a/t = 100, nu = 0.3) by the
// element, the loads and the frontal solver together: the centre deflection
// and moment of a simply supported plate under a uniform load, the centre
// deflection of a clamped one, and of a simply supported plate under a
// central point load. Published coefficients (plate tables) must hold within
// 2 % on an 8 x 8 mesh; the Navier series of the simply supported plate,
// summed here, show the error falling as the mesh is refined.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {
namespace {

class PlateSolutionTest : public PlateTest {};

constexpr double SIDE = 10.0;
constexpr double THICKNESS = 0.1;
constexpr double YOUNG = 1.0e7;
constexpr double POISSON = 0.3;
constexpr double PRESSURE = 1.0;
constexpr double POINT_LOAD = 100.0;
const double RIGIDITY = YOUNG * THICKNESS * THICKNESS * THICKNESS / (12 * (1 - POISSON * POISSON));

enum class Support { Simple, Clamped };
enum class Load { Uniform, CentralPoint };

struct CentreResult {
  double deflection = 0.0;
  double moment_x = 0.0;  // mean of the four sampling points nearest the centre
};

// Membrane and drilling DOFs are held everywhere; the edges hold w and, when
// simply supported, the rotation along the edge (theta_y on x = 0, a;
// theta_x on y = 0, a), when clamped both rotations.
CentreResult solve_square_plate(int divisions, Support support, Load load, Mesh* solved_mesh = nullptr) {
  reset_plate_records();
  MeshPlan plan;
  plan.nx = plan.ny = divisions;
  plan.a = plan.b = SIDE;
  plan.young = YOUNG;
  plan.poisson = POISSON;
  plan.thickness = THICKNESS;
  const Mesh mesh = layout_mesh(plan);
  DataCounts counts{.restraints = mesh.n_nodes};
  if (load == Load::Uniform) counts.distributed_loads = mesh.n_elements;
  if (load == Load::CentralPoint) counts.nodal_loads = 1;
  install_mesh(mesh, counts);
  const int last = 2 * divisions;
  for (int n = 1; n <= mesh.n_nodes; ++n) {
    const int ix = mesh.node_ix[n - 1];
    const int iy = mesh.node_iy[n - 1];
    const bool x_edge = ix == 0 || ix == last;
    const bool y_edge = iy == 0 || iy == last;
    const bool clamped = support == Support::Clamped && (x_edge || y_edge);
    const int w_held = x_edge || y_edge ? 1 : 0;
    const int theta_x_held = clamped || y_edge ? 1 : 0;
    const int theta_y_held = clamped || x_edge ? 1 : 0;
    set_restraint(n, n, {1, 1, w_held, theta_x_held, theta_y_held, 1});
  }
  if (load == Load::Uniform) {
    for (int e = 1; e <= mesh.n_elements; ++e) {
      PlateModel.distributed_load_elements(e) = e;
      PlateModel.distributed_loads(e, PLATE_UZ) = PRESSURE;
    }
  } else {
    PlateModel.nodal_load_nodes(1) = mesh.node_at(divisions, divisions);
    PlateModel.nodal_loads(1, PLATE_UZ) = POINT_LOAD;
  }
  int status = 0;
  PLATE_ELEMENT_MATRICES(status);
  if (status == 0) PLATE_LOAD_VECTORS(status);
  if (status == 0) FRONTAL_SOLVE(status);
  EXPECT_EQ(status, 0);

  CentreResult result;
  result.deflection = solved(mesh.node_at(divisions, divisions), PLATE_UZ);
  double nearest = 1e300;
  std::vector<double> moments;
  for (int e = 1; e <= mesh.n_elements; ++e) {
    for (int k = 1; k <= 4; ++k) {
      const auto& point = PlateModel.element_records(e).sampling_point_coordinates;
      const double distance = std::hypot(point(1, k) - SIDE / 2, point(2, k) - SIDE / 2);
      if (distance < nearest - 1e-9) {
        nearest = distance;
        moments.clear();
      }
      if (distance < nearest + 1e-9) moments.push_back(sampling_stresses(e, k, PlateModel.DSDIS)[3]);
    }
  }
  for (double m : moments) result.moment_x += m / moments.size();
  if (solved_mesh != nullptr) *solved_mesh = mesh;
  return result;
}

// Navier series of the simply supported square plate (w and the rotation
// along each edge held) over odd m, n: w_mn = p_mn (1/(D L^2) + 1/(S L)),
// L = pi^2 (m^2 + n^2)/a^2, S the shear rigidity 5/6 G t (the element's
// E t/(2.4 (1 + nu))); without the shear term it is the classical solution.
// p_mn = 16 q/(pi^2 m n) for the uniform load, 4 P/a^2 sin(m pi/2) sin(n pi/2)
// for the central point load.
const double SHEAR_RIGIDITY = YOUNG * THICKNESS / (2.4 * (1 + POISSON));
constexpr int SERIES_TERMS = 4001;

double navier_deflection(Load load, double x, double y, bool with_shear) {
  const double pi = std::numbers::pi;
  double w = 0.0;
  for (int m = 1; m <= SERIES_TERMS; m += 2) {
    for (int n = 1; n <= SERIES_TERMS; n += 2) {
      const double lambda = pi * pi * (m * m + n * n) / (SIDE * SIDE);
      const double compliance = 1 / (RIGIDITY * lambda * lambda) + (with_shear ? 1 / (SHEAR_RIGIDITY * lambda) : 0.0);
      const double load_term = load == Load::Uniform
                                   ? 16 * PRESSURE / (pi * pi * m * n)
                                   : 4 * POINT_LOAD / (SIDE * SIDE) * std::sin(m * pi / 2) * std::sin(n * pi / 2);
      w += load_term * compliance * std::sin(m * pi * x / SIDE) * std::sin(n * pi * y / SIDE);
    }
  }
  return w;
}

// M_x at the centre under the uniform load (the same with or without shear
// deformation): D sum w_mn pi^2 (m^2 + nu n^2)/a^2 sin(m pi/2) sin(n pi/2).
double navier_centre_moment() {
  const double pi = std::numbers::pi;
  double moment = 0.0;
  for (int m = 1; m <= SERIES_TERMS; m += 2) {
    for (int n = 1; n <= SERIES_TERMS; n += 2) {
      const double lambda = pi * pi * (m * m + n * n) / (SIDE * SIDE);
      const double sign = ((m + n) / 2) % 2 == 1 ? 1.0 : -1.0;  // sin(m pi/2) sin(n pi/2)
      moment += 16 * PRESSURE / (pi * pi * m * n) / (lambda * lambda) * pi * pi * (m * m + POISSON * n * n) /
                (SIDE * SIDE) * sign;
    }
  }
  return moment;
}

struct Quantity {
  const char* name;
  Support support;
  Load load;
  bool moment;
  double published;  // the tables' coefficient
  double scale;      // q a^4/D, q a^2 or P a^2/D
};

const double UNIFORM_DEFLECTION = PRESSURE * std::pow(SIDE, 4) / RIGIDITY;
const double UNIFORM_MOMENT = PRESSURE * SIDE * SIDE;
const double POINT_DEFLECTION = POINT_LOAD * SIDE * SIDE / RIGIDITY;

const std::vector<Quantity> QUANTITIES = {
    {"simply supported, uniform load, deflection", Support::Simple, Load::Uniform, false, 0.00406, UNIFORM_DEFLECTION},
    {"simply supported, uniform load, moment", Support::Simple, Load::Uniform, true, 0.0479, UNIFORM_MOMENT},
    {"clamped, uniform load, deflection", Support::Clamped, Load::Uniform, false, 0.00126, UNIFORM_DEFLECTION},
    {"simply supported, point load, deflection", Support::Simple, Load::CentralPoint, false, 0.0116, POINT_DEFLECTION},
};

double coefficient(const Quantity& q, int divisions) {
  const CentreResult r = solve_square_plate(divisions, q.support, q.load);
  return (q.moment ? r.moment_x : r.deflection) / q.scale;
}

TEST_F(PlateSolutionTest, EightByEightMeshIsWithinTwoPercentOfThePlateTables) {
  for (const Quantity& q : QUANTITIES) {
    const double value = coefficient(q, 8);
    EXPECT_NEAR(value, q.published, 0.02 * q.published) << q.name;
  }
}

// The classical series agree with the tables; the mesh's error against the
// series of the shear-deformable plate falls from 4 x 4 to 8 x 8 to 16 x 16:
// centre deflection and moment under the uniform load, and the deflection at
// (a/4, a/4) under the point load (finite there, unlike under the load).
TEST_F(PlateSolutionTest, SimplySupportedPlateConvergesToTheNavierSeries) {
  const double half = SIDE / 2;
  const double quarter = SIDE / 4;
  EXPECT_NEAR(navier_deflection(Load::Uniform, half, half, false) / UNIFORM_DEFLECTION, 0.00406, 0.001 * 0.00406);
  EXPECT_NEAR(navier_centre_moment() / UNIFORM_MOMENT, 0.0479, 0.001 * 0.0479);
  EXPECT_NEAR(navier_deflection(Load::CentralPoint, half, half, false) / POINT_DEFLECTION, 0.0116, 0.001 * 0.0116);

  struct Case {
    const char* name;
    Load load;
    double exact;
    std::function<double(const CentreResult&, const Mesh&)> value;
  };
  const std::vector<Case> cases = {
      {"uniform load, centre deflection", Load::Uniform, navier_deflection(Load::Uniform, half, half, true),
       [](const CentreResult& r, const Mesh&) { return r.deflection; }},
      {"uniform load, centre moment", Load::Uniform, navier_centre_moment(),
       [](const CentreResult& r, const Mesh&) { return r.moment_x; }},
      {"point load, deflection at the quarter point", Load::CentralPoint,
       navier_deflection(Load::CentralPoint, quarter, quarter, true),
       [](const CentreResult&, const Mesh& mesh) {
         return solved(mesh.node_at(mesh.plan.nx / 2, mesh.plan.ny / 2), PLATE_UZ);
       }},
  };
  for (const Case& c : cases) {
    std::vector<double> errors;
    for (int divisions : {4, 8, 16}) {
      Mesh mesh;
      const CentreResult r = solve_square_plate(divisions, Support::Simple, c.load, &mesh);
      errors.push_back(std::fabs(c.value(r, mesh) / c.exact - 1));
    }
    EXPECT_LT(errors[1], errors[0]) << c.name;
    EXPECT_LT(errors[2], errors[1]) << c.name;
    EXPECT_LT(errors[2], 0.002) << c.name;
  }
}

TEST_F(PlateSolutionTest, ClampedPlateConvergesToTheTableValue) {
  const Quantity& q = QUANTITIES[2];
  constexpr double CLAMPED_CENTRE = 0.00126532;  // to six figures
  const double coarse = std::fabs(coefficient(q, 4) - CLAMPED_CENTRE);
  const double medium = std::fabs(coefficient(q, 8) - CLAMPED_CENTRE);
  const double fine = std::fabs(coefficient(q, 16) - CLAMPED_CENTRE);
  EXPECT_LT(medium, coarse);
  EXPECT_LT(fine, 0.005 * CLAMPED_CENTRE);
}

}  // namespace
}  // namespace pilecap::testing
