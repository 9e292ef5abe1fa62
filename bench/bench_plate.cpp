// One Newton iteration of the plate model on meshes of 10 x 10, 20 x 20 and
// 40 x 40 8-node elements (20 x 20: 1281 nodes, 7686 equations): the element
// pass with a uniform load, then the frontal solution of a simply supported
// square plate. Time per iteration; counters: the largest front, the memory
// kept for the back-substitution, and the process's peak resident memory so
// far (the sizes run smallest first; bench/compare_plate_sizes.sh measures
// the peak of whole runs one by one).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "plate/plate.hpp"

namespace {

using namespace pilecap;

constexpr double SIDE = 10.0;
constexpr double KIB_PER_MIB = 1024.0;
constexpr double BYTES_PER_MIB = 1024.0 * 1024.0;

// Node number of lattice point (ix, iy), 0 <= ix, iy <= 2 divisions, numbered
// row by row; element centres (odd, odd) hold no node.
int lattice_node(int divisions, int ix, int iy) {
  const int full_row = 2 * divisions + 1;
  const int half_row = divisions + 1;
  const int pair = full_row + half_row;
  const int before = (iy / 2) * pair + (iy % 2 == 1 ? full_row : 0);
  return before + (iy % 2 == 1 ? ix / 2 : ix) + 1;
}

void build_plate(int divisions, int& status) {
  PlateControlRecord& c = PlateControl;
  c = PlateControlRecord{};
  c.NPOIN = lattice_node(divisions, 2 * divisions, 2 * divisions);
  c.NELEM = divisions * divisions;
  c.NNODE = 8;
  c.NGAUS = 2;
  c.NMATS = 1;
  c.NVFIX = c.NPOIN;
  c.NDLOD = c.NELEM;
  c.TINI = 0.0;
  c.TEND = c.TCUR = 1.0;
  c.front_size = PLATE_NODE_DOFS * (4 * divisions + 8);
  SET_PLATE_FORMULATION_CONSTANTS();
  ALLOCATE_PLATE_ARRAYS(status);
  if (status != 0) return;
  PLATE_GAUSS_RULE();
  PlateModelRecord& m = PlateModel;
  m.material_properties(1, MATERIAL_YOUNG_MODULUS) = 1.0e7;
  m.material_properties(1, MATERIAL_POISSON_RATIO) = 0.3;
  m.material_properties(1, MATERIAL_THICKNESS) = 0.1;
  const int last = 2 * divisions;
  for (int iy = 0; iy <= last; ++iy) {
    for (int ix = 0; ix <= last; ++ix) {
      if (ix % 2 == 1 && iy % 2 == 1) continue;
      const int n = lattice_node(divisions, ix, iy);
      m.node_coordinates(n, 1) = SIDE * ix / last;
      m.node_coordinates(n, 2) = SIDE * iy / last;
      // Membrane and drilling held; w held on the edges, with the rotation along each edge.
      const int edge_x = ix == 0 || ix == last ? 1 : 0;
      const int edge_y = iy == 0 || iy == last ? 1 : 0;
      const int codes[PLATE_NODE_DOFS] = {1, 1, edge_x | edge_y, edge_y, edge_x, 1};
      m.restrained_nodes(n) = n;
      for (int d = 1; d <= PLATE_NODE_DOFS; ++d) m.restraint_codes(n, d) = codes[d - 1];
    }
  }
  for (int ey = 0; ey < divisions; ++ey) {
    for (int ex = 0; ex < divisions; ++ex) {
      const int e = ey * divisions + ex + 1;
      const int x0 = 2 * ex;
      const int y0 = 2 * ey;
      const int nodes[8] = {lattice_node(divisions, x0, y0),         lattice_node(divisions, x0 + 2, y0),
                            lattice_node(divisions, x0 + 2, y0 + 2), lattice_node(divisions, x0, y0 + 2),
                            lattice_node(divisions, x0 + 1, y0),     lattice_node(divisions, x0 + 2, y0 + 1),
                            lattice_node(divisions, x0 + 1, y0 + 2), lattice_node(divisions, x0, y0 + 1)};
      for (int p = 1; p <= 8; ++p) m.element_nodes(e, p) = nodes[p - 1];
      m.element_materials(e) = 1;
      m.distributed_load_elements(e) = e;
      m.distributed_loads(e, PLATE_UZ) = 1.0;
    }
  }
}

void BM_PlateIteration(benchmark::State& state) {
  int status = 0;
  build_plate(static_cast<int>(state.range(0)), status);
  for (auto _ : state) {
    for (int e = 1; e <= PlateControl.NELEM; ++e) {
      for (int i = 1; i <= PlateControl.NEVAB; ++i) PlateModel.element_vectors(e, i) = 0.0;
    }
    PLATE_ELEMENT_MATRICES(status);
    PLATE_LOAD_VECTORS(status);
    FRONTAL_SOLVE(status);
    benchmark::DoNotOptimize(PlateModel.DSDIS.data());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["front_width"] = FrontalScratch.largest_front;
  state.counters["equations"] = PLATE_NODE_DOFS * PlateControl.NPOIN;
  double scratch_bytes = 0.0;
  for (const auto& block : FrontalScratch.values.blocks) scratch_bytes += block.used * sizeof(double);
  for (const auto& block : FrontalScratch.masks.blocks) scratch_bytes += block.used * sizeof(std::uint64_t);
  state.counters["scratch_MiB"] = scratch_bytes / BYTES_PER_MIB;
  state.counters["peak_rss_MiB"] = usage.ru_maxrss / KIB_PER_MIB;
  state.counters["solved"] = status == 0 ? 1 : 0;
  RELEASE_PLATE_ARRAYS();
}
BENCHMARK(BM_PlateIteration)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace
