// The plate model's records: the control record with the sizes that follow
// from the element kind, the run-time tables and their allocation, the
// failure detail, and the lookup of the first element holding a node.
// Tables are sized by the counts of PlateControl; each is zero-filled.
#include <algorithm>
#include <string>

#include "plate/plate.hpp"

namespace pilecap {

PlateControlRecord PlateControl;
PlateModelRecord PlateModel;
PlateFailureRecord PlateFailure;

namespace {

constexpr int SUPPORTED_NODE_COUNTS[] = {4, 8, 9};

int extent(int count) { return std::max(count, 0); }

}  // namespace

void FAIL_PLATE(int& status, std::string_view detail) {
  if (status != 0) return;  // the first failure is the one reported
  status = STATUS_PLATE_ERROR;
  PlateFailure.detail.assign(detail);
}

std::string PLATE_EQUATION_NAME(int equation) {
  const int node = (equation - 1) / PLATE_NODE_DOFS + 1;
  const int dof = equation - PLATE_NODE_DOFS * (node - 1);
  return "PLATE EQUATION " + std::to_string(equation) + " (NODE " + std::to_string(node) + ", DOF " +
         std::to_string(dof) + ")";
}

std::string PLATE_ITERATION_NAME() {
  if (PlateControl.STEP < 1) return "";
  return ", STEP " + std::to_string(PlateControl.STEP) + ", ITERATION " + std::to_string(PlateControl.ITER + 1);
}

void SET_PLATE_FORMULATION_CONSTANTS() {
  PlateControlRecord& c = PlateControl;
  c.NDOFN = PLATE_NODE_DOFS;
  c.NDIME = PLATE_DIMENSIONS;
  c.NSTRE = PLATE_STRESS_COMPONENTS;
  c.NTYPE = 0;
  c.NPROP = PLATE_MATERIAL_PROPERTIES;
  c.NCASE = 1;
  c.NEVAB = PLATE_NODE_DOFS * c.NNODE;
  c.membrane_terms = PLATE_MEMBRANE_TERMS;
  c.bending_terms = PLATE_BENDING_TERMS;
  c.membrane_dofs = PLATE_MEMBRANE_DOFS_PER_NODE * c.NNODE;
  c.plate_dofs = PLATE_PLATE_DOFS_PER_NODE * c.NNODE;
  c.membrane_dofs_per_node = PLATE_MEMBRANE_DOFS_PER_NODE;
  c.plate_dofs_per_node = PLATE_PLATE_DOFS_PER_NODE;
  c.first_membrane_dof = 1;
}

void ALLOCATE_PLATE_ARRAYS(int& status) {
  const PlateControlRecord& c = PlateControl;
  PlateModelRecord& m = PlateModel;
  const int nodes = extent(c.NPOIN);
  const int elements = extent(c.NELEM);
  const int equations = PLATE_NODE_DOFS * nodes;
  const int variables = PLATE_NODE_DOFS * extent(c.NNODE);
  const int dofs = PLATE_NODE_DOFS;
  bool ok = m.node_coordinates.create("node_coordinates", nodes, PLATE_DIMENSIONS);
  ok = ok && m.material_properties.create("material_properties", extent(c.NMATS), PLATE_MATERIAL_PROPERTIES);
  ok = ok && m.prescribed_values.create("prescribed_values", extent(c.NVFIX), dofs);
  ok = ok && m.nodal_loads.create("nodal_loads", extent(c.NNLOD), dofs);
  ok = ok && m.nodal_stiffnesses.create("nodal_stiffnesses", extent(c.NNSTI), dofs);
  ok = ok && m.edge_loads.create("edge_loads", extent(c.edge_load_count), PLATE_EDGE_VALUES);
  ok = ok && m.edge_stiffnesses.create("edge_stiffnesses", extent(c.edge_stiffness_count), PLATE_EDGE_VALUES);
  ok = ok && m.distributed_loads.create("distributed_loads", extent(c.NDLOD), dofs);
  ok = ok && m.distributed_stiffnesses.create("distributed_stiffnesses", extent(c.NDSTI), dofs);
  ok = ok && m.concentrated_loads.create("concentrated_loads", extent(c.NCLOD), dofs);
  ok = ok && m.concentrated_stiffnesses.create("concentrated_stiffnesses", extent(c.NCSTI), dofs);
  ok = ok && m.concentrated_load_points.create("concentrated_load_points", extent(c.NCLOD), PLATE_DIMENSIONS);
  ok = ok && m.concentrated_stiffness_points.create("concentrated_stiffness_points", extent(c.NCSTI), PLATE_DIMENSIONS);
  ok = ok && m.pile_points.create("pile_points", extent(c.NCTSTI), PLATE_DIMENSIONS);
  ok = ok && m.ASDIS.create("ASDIS", equations);
  ok = ok && m.DSDIS.create("DSDIS", equations);
  ok = ok && m.TSDIS.create("TSDIS", equations);
  ok = ok && m.element_vectors.create("element_vectors", elements, variables);
  ok = ok && m.nodal_reactions.create("nodal_reactions", equations);
  ok = ok && m.nodal_stress_sums.create("nodal_stress_sums", nodes, PLATE_STRESS_COMPONENTS);
  ok = ok && m.nodal_weight_sums.create("nodal_weight_sums", nodes);
  ok = ok && m.on_node_stress_sums.create("on_node_stress_sums", nodes, PLATE_STRESS_COMPONENTS);
  ok = ok && m.on_node_point_counts.create("on_node_point_counts", nodes);
  ok = ok && m.element_matrices.create("element_matrices", elements, variables, variables);
  ok = ok && m.element_records.create("element_records", elements);
  ok = ok && m.restrained_nodes.create("restrained_nodes", extent(c.NVFIX));
  ok = ok && m.restraint_codes.create("restraint_codes", extent(c.NVFIX), dofs);
  ok = ok && m.nodal_load_nodes.create("nodal_load_nodes", extent(c.NNLOD));
  ok = ok && m.nodal_stiffness_nodes.create("nodal_stiffness_nodes", extent(c.NNSTI));
  ok = ok && m.edge_load_keys.create("edge_load_keys", extent(c.edge_load_count), PLATE_EDGE_VALUES);
  ok = ok && m.edge_stiffness_keys.create("edge_stiffness_keys", extent(c.edge_stiffness_count), PLATE_EDGE_VALUES);
  ok = ok && m.distributed_load_elements.create("distributed_load_elements", extent(c.NDLOD));
  ok = ok && m.distributed_stiffness_elements.create("distributed_stiffness_elements", extent(c.NDSTI));
  ok = ok && m.concentrated_load_elements.create("concentrated_load_elements", extent(c.NCLOD));
  ok = ok && m.concentrated_stiffness_elements.create("concentrated_stiffness_elements", extent(c.NCSTI));
  ok = ok && m.pile_elements.create("pile_elements", extent(c.NCTSTI));
  ok = ok && m.element_nodes.create("element_nodes", elements, extent(c.NNODE));
  ok = ok && m.element_materials.create("element_materials", elements);
  ok = ok && m.node_labels.create("node_labels", nodes);
  ok = ok && m.element_labels.create("element_labels", elements);
  if (!ok) {
    RELEASE_PLATE_ARRAYS();
    FAIL_PLATE(status, PLATE_ALLOCATION_DETAIL);
  }
}

void RELEASE_PLATE_ARRAYS() {
  PlateModelRecord& m = PlateModel;
  m.node_coordinates.release();
  m.material_properties.release();
  m.prescribed_values.release();
  m.nodal_loads.release();
  m.nodal_stiffnesses.release();
  m.edge_loads.release();
  m.edge_stiffnesses.release();
  m.distributed_loads.release();
  m.distributed_stiffnesses.release();
  m.concentrated_loads.release();
  m.concentrated_stiffnesses.release();
  m.concentrated_load_points.release();
  m.concentrated_stiffness_points.release();
  m.pile_points.release();
  m.ASDIS.release();
  m.DSDIS.release();
  m.TSDIS.release();
  m.element_vectors.release();
  m.nodal_reactions.release();
  m.nodal_stress_sums.release();
  m.nodal_weight_sums.release();
  m.on_node_stress_sums.release();
  m.on_node_point_counts.release();
  m.element_matrices.release();
  m.element_records.release();
  m.restrained_nodes.release();
  m.restraint_codes.release();
  m.nodal_load_nodes.release();
  m.nodal_stiffness_nodes.release();
  m.edge_load_keys.release();
  m.edge_stiffness_keys.release();
  m.distributed_load_elements.release();
  m.distributed_stiffness_elements.release();
  m.concentrated_load_elements.release();
  m.concentrated_stiffness_elements.release();
  m.pile_elements.release();
  m.element_nodes.release();
  m.element_materials.release();
  m.node_labels.release();
  m.element_labels.release();
  FrontalScratch = FrontalScratchRecord{};
}

void CHECK_PLATE_ELEMENT_KIND(int& status) {
  const int nnode = PlateControl.NNODE;
  const int ngaus = PlateControl.NGAUS;
  const bool known_nodes = std::find(std::begin(SUPPORTED_NODE_COUNTS), std::end(SUPPORTED_NODE_COUNTS), nnode) !=
                           std::end(SUPPORTED_NODE_COUNTS);
  if (known_nodes && ngaus >= 1 && ngaus <= PLATE_MAX_GAUSS) return;
  FAIL_PLATE(status, "    ELEMENTS OF " + std::to_string(nnode) + " NODES WITH " + std::to_string(ngaus) +
                         " SAMPLING POINTS PER DIRECTION ARE NOT SUPPORTED");
}

void FIRST_ELEMENT_HOLDING(int node, int& element, int& local_node) {
  element = 0;
  local_node = 0;
  for (int e = 1; e <= PlateControl.NELEM; ++e) {
    for (int p = 1; p <= PlateControl.NNODE; ++p) {
      if (PlateModel.element_nodes(e, p) != node) continue;
      element = e;
      local_node = p;
      return;
    }
  }
}

}  // namespace pilecap
