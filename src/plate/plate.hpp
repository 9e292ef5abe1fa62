// Pile-cap plate model: a flexible cap as a flat shell of 4-, 8- or 9-node
// quadrilaterals in the x-y plane (plane-stress membrane, Mindlin bending with
// transverse shear, a fictitious drilling stiffness), solved equation by
// equation with a frontal solver. Nodes, elements, equations and element
// variables count from 1: node n owns equations 6(n-1)+1 .. 6n in the order
// UX UY UZ ROTX ROTY ROTZ, and element variable 6(p-1)+d is DOF d of local
// node p. The run-time tables are indexed by their entity first (node,
// element or record), then by the component, so an entity's values sit
// together in memory; element matrices are indexed (element, row, column).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/arrays.hpp"
#include "model/run_state.hpp"

namespace pilecap {

// ------------------------------------------------------------ status word
// The plate model's failures (a bad element geometry, a zero pivot, a front
// beyond its capacity, a file that cannot be had) end the run with
// STATUS_PLATE_ERROR; PlateFailure holds the line that names the cause.
constexpr const char* PLATE_ALLOCATION_DETAIL = "    PLATE MODEL ARRAYS CANNOT BE ALLOCATED";

// ------------------------------------------------------------- unit numbers

constexpr int UNIT_PLATE_CONTROL = 4;          // "gslab.dat" (and the "Names.dat" reread)
constexpr int UNIT_PLATE_DATA = 5;             // the plate data file
constexpr int UNIT_PLATE_LISTING = 6;          // the listing
constexpr int UNIT_PLATE_STEP_RESULTS = 7;     // the step results file
constexpr int UNIT_PLATE_CONVERGENCE_LOG = 8;  // the convergence log
constexpr int UNIT_PLATE_DEBUG = 9;            // the debug trace
// The console: the step, iteration and CHECK1 lines go to unit 0 only when a
// host or a test has connected it; the engine itself never opens it.
constexpr int UNIT_PLATE_CONSOLE = 0;

// --------------------------------------------------------------- constants

constexpr double PLATE_TOLERANCE = double(1e-4f);          // convergence tolerance of the stepping
constexpr double PLATE_NEGLIGIBLE = double(1e-10f);        // norms and corrections below this count as 0
constexpr double PLATE_PIVOT_NEGLIGIBLE = double(1e-30f);  // load, spring and front terms below this are skipped
constexpr int PLATE_FRONT_DEFAULT = 60;                    // least capacity of the solver's front
constexpr int PLATE_COUNT_CAPACITY = 100000;               // most nodes, elements, records of a block, iterations
constexpr int PLATE_LOCATE_MAX_ITERATIONS = 50;            // Newton steps of the point location per element
// A located point belongs to an element when |xi|, |eta| <= 1 + this: the
// rounding of a point on a side or a corner does not push it out of the plate.
constexpr double PLATE_LOCATE_BOUNDARY = 1e-9;

constexpr int PLATE_NODE_DOFS = 6;            // UX UY UZ ROTX ROTY ROTZ
constexpr int PLATE_DIMENSIONS = 2;           // x, y
constexpr int PLATE_STRESS_COMPONENTS = 8;    // 3 membrane stresses, 3 moments, 2 shear forces
constexpr int PLATE_MATERIAL_PROPERTIES = 3;  // Young modulus, Poisson ratio, thickness
constexpr int PLATE_EDGE_VALUES = 3;          // first corner, second corner, mid-side node
constexpr int PLATE_MEMBRANE_TERMS = 3;       // eps_x, eps_y, gamma_xy
constexpr int PLATE_BENDING_TERMS = 5;        // kappa_x, kappa_y, kappa_xy, gamma_xz, gamma_yz
constexpr int PLATE_MEMBRANE_DOFS_PER_NODE = 2;
constexpr int PLATE_PLATE_DOFS_PER_NODE = 3;

// Capacities of the element work data: 9 nodes, 3 x 3 sampling points.
constexpr int PLATE_MAX_ELEMENT_NODES = 9;
constexpr int PLATE_MAX_GAUSS = 3;
constexpr int PLATE_MAX_SAMPLING_POINTS = PLATE_MAX_GAUSS * PLATE_MAX_GAUSS;
constexpr int PLATE_ELEMENT_CAPACITY = PLATE_NODE_DOFS * PLATE_MAX_ELEMENT_NODES;                // 54
constexpr int PLATE_BENDING_CAPACITY = PLATE_PLATE_DOFS_PER_NODE * PLATE_MAX_ELEMENT_NODES;      // 27
constexpr int PLATE_MEMBRANE_CAPACITY = PLATE_MEMBRANE_DOFS_PER_NODE * PLATE_MAX_ELEMENT_NODES;  // 18
constexpr int PLATE_CORNERS = 4;

// Degrees of freedom of a node.
constexpr int PLATE_UX = 1;
constexpr int PLATE_UY = 2;
constexpr int PLATE_UZ = 3;
constexpr int PLATE_ROTX = 4;
constexpr int PLATE_ROTY = 5;
constexpr int PLATE_ROTZ = 6;

// Restraint codes of a DOF of a restrained node; any other code is free.
constexpr int PLATE_RESTRAINT_PRESCRIBED = 1;  // prescribed value, reaction reported
constexpr int PLATE_RESTRAINT_REPORTED = 2;    // free; reports the value times the correction

// Columns of material_properties, edge_*_keys.
constexpr int MATERIAL_YOUNG_MODULUS = 1;
constexpr int MATERIAL_POISSON_RATIO = 2;
constexpr int MATERIAL_THICKNESS = 3;
constexpr int EDGE_KEY_ELEMENT = 1;
constexpr int EDGE_KEY_SIDE = 2;
constexpr int EDGE_KEY_DOF = 3;

// Global equation of DOF d of node n, and element variable of DOF d of local node p.
constexpr int PLATE_EQUATION(int node, int dof) { return PLATE_NODE_DOFS * (node - 1) + dof; }
constexpr int PLATE_ELEMENT_VARIABLE(int local_node, int dof) { return PLATE_NODE_DOFS * (local_node - 1) + dof; }

// ---------------------------------------------------------- data diagnoses
// CHECK1 finds errors 1 to 12 and the time-data and capacity errors 25 to
// 28; CHECK2 counts errors 13 to 24; the reader rejects a record that names
// something that does not exist (29 to 34), a point in no element (35) and a
// file that ends early or holds a value that is not a number (36).
constexpr int PLATE_CHECK1_LAST = 12;
constexpr int PLATE_CHECK2_FIRST = 13;
constexpr int PLATE_CHECK2_LAST = 24;
constexpr int PLATE_ERROR_TIME_STEP = 25;        // DT not above 0
constexpr int PLATE_ERROR_MINIMUM_STEP = 26;     // DTMIN not above 0
constexpr int PLATE_ERROR_END_TIME = 27;         // TEND below TINI
constexpr int PLATE_ERROR_CAPACITY = 28;         // a count or MAXITER above PLATE_COUNT_CAPACITY
constexpr int PLATE_ERROR_ELEMENT_RECORD = 29;   // element number outside 1..NELEM
constexpr int PLATE_ERROR_NODE_RECORD = 30;      // node number outside 1..NPOIN
constexpr int PLATE_ERROR_MATERIAL_RECORD = 31;  // material number outside 1..NMATS
constexpr int PLATE_ERROR_RECORD_NODE = 32;      // a nodal load or stiffness of a node outside 1..NPOIN
constexpr int PLATE_ERROR_RECORD_ELEMENT = 33;   // a distributed load or stiffness of an element outside 1..NELEM
constexpr int PLATE_ERROR_EDGE_KEY = 34;         // an edge record's element, side or DOF out of range
constexpr int PLATE_ERROR_POINT_OUTSIDE = 35;    // a load, spring or pile point in no element
constexpr int PLATE_ERROR_UNREADABLE = 36;       // the file ends early or a value is not a number
constexpr int PLATE_DIAGNOSES = 36;

// The diagnoses of the last plate data read: occurrences per error number.
struct PlateDiagnosisRecord {
  Array1<int, PLATE_DIAGNOSES> counts;
};
extern PlateDiagnosisRecord PlateDiagnoses;

// ------------------------------------------------------------ control record

// The sizes, counts and stepping state of the plate model.
struct PlateControlRecord {
  int NPOIN = 0;  // nodes
  int NELEM = 0;  // elements
  int NNODE = 0;  // nodes per element (4, 8 or 9)
  int NDOFN = 0;  // DOFs per node, 6
  int NDIME = 0;  // space dimensions, 2
  int NSTRE = 0;  // stress components per sampling point, 8
  int NTYPE = 0;  // problem type, 0
  int NGAUS = 0;  // sampling points per direction (1 to 3)
  int NPROP = 0;  // properties per material, 3
  int NMATS = 0;  // materials
  int NVFIX = 0;  // restrained nodes
  int NEVAB = 0;  // variables per element, 6 x NNODE
  int NCASE = 0;  // load cases, 1
  int membrane_terms = 0;
  int bending_terms = 0;
  int membrane_dofs = 0;           // 2 x NNODE
  int plate_dofs = 0;              // 3 x NNODE
  int membrane_dofs_per_node = 0;  // 2; also the offset of UZ ROTX ROTY within a node's six
  int plate_dofs_per_node = 0;     // 3
  int first_membrane_dof = 0;      // 1
  int NNLOD = 0;                   // nodal loads
  int NNSTI = 0;                   // nodal stiffnesses
  int NDLOD = 0;                   // distributed loads
  int NDSTI = 0;                   // distributed stiffnesses
  int NCLOD = 0;                   // concentrated loads
  int NCSTI = 0;                   // concentrated stiffnesses
  int NCTSTI = 0;                  // piles (concentrated total stiffnesses)
  int front_size = 0;              // capacity of the solver's front
  int pile_springs = 0;            // above 0: the piles act on the plate
  int edge_load_count = 0;
  int edge_stiffness_count = 0;
  double DT = 0.0;     // first pseudo-time step
  double TINI = 0.0;   // initial pseudo-time
  double TEND = 0.0;   // final pseudo-time
  double DTMIN = 0.0;  // smallest step after halving
  int MAXITER = 0;     // iteration limit of a step
  int STEP = 0;        // step being solved
  double TCUR = 0.0;   // pseudo-time of the step being solved
  double dt_current = 0.0;
  double tolerance = 0.0;
  int ITER = 0;  // iteration of the step
  // The pseudo-time of the last converged step (TINI before any), which
  // tells the engine how much of the load the plate carried.
  double converged_time = 0.0;
};
extern PlateControlRecord PlateControl;

// ------------------------------------------------------------ model tables

// The stress-recovery data of one element, kept for every element by the
// element routine and read by the stress output: per sampling point k,
// D_b B_b (rows M_x M_y M_xy Q_x Q_y, column 3(n-1)+c for UZ ROTX ROTY of
// node n) and D_m B_m (rows sigma_x sigma_y tau_xy, column 2(n-1)+c for UX
// UY), and the point's global x, y. Only columns 1 .. 3 NNODE (2 NNODE) and
// points 1 .. NGAUS^2 are written.
struct PlateElementRecord {
  Array1<Array2<double, PLATE_BENDING_TERMS, PLATE_BENDING_CAPACITY>, PLATE_MAX_SAMPLING_POINTS>
      bending_stress_matrices;
  Array1<Array2<double, PLATE_MEMBRANE_TERMS, PLATE_MEMBRANE_CAPACITY>, PLATE_MAX_SAMPLING_POINTS>
      membrane_stress_matrices;
  Array2<double, PLATE_DIMENSIONS, PLATE_MAX_SAMPLING_POINTS> sampling_point_coordinates;
};

// The arrays of the plate model, allocated by ALLOCATE_PLATE_ARRAYS from the
// counts of PlateControl and released by RELEASE_PLATE_ARRAYS. Points hold
// x, y until the point location replaces them by (xi, eta) in the point's
// element. The displacement vectors are indexed by global equation.
struct PlateModelRecord {
  Table2<double> node_coordinates;               // (node, 1..2): x, y
  Table2<double> material_properties;            // (material, 1..3)
  Table2<double> prescribed_values;              // (restraint record, DOF)
  Table2<double> nodal_loads;                    // (record, DOF)
  Table2<double> nodal_stiffnesses;              // (record, DOF)
  Table2<double> edge_loads;                     // (record, 1..3)
  Table2<double> edge_stiffnesses;               // (record, 1..3)
  Table2<double> distributed_loads;              // (record, DOF), per unit area
  Table2<double> distributed_stiffnesses;        // (record, DOF), per unit area
  Table2<double> concentrated_loads;             // (record, DOF)
  Table2<double> concentrated_stiffnesses;       // (record, DOF)
  Table2<double> concentrated_load_points;       // (record, 1..2)
  Table2<double> concentrated_stiffness_points;  // (record, 1..2)
  Table2<double> pile_points;                    // (pile, 1..2)
  Table1<double> ASDIS;                          // total displacement at the last converged step
  Table1<double> DSDIS;                          // correction of the current iteration
  Table1<double> TSDIS;                          // increment of the current step
  Table2<double> element_vectors;                // (element, variable): right-hand sides
  Table1<double> nodal_reactions;                // assembled right-hand side, then reactions
  Table2<double> nodal_stress_sums;              // (node, 1..8)
  Table1<double> nodal_weight_sums;              // (node)
  Table2<double> on_node_stress_sums;            // (node, 1..8): sampling points lying on the node
  Table1<int> on_node_point_counts;              // (node)
  Table3<double> element_matrices;               // (element, row, column): tangent matrices
  Table1<PlateElementRecord> element_records;    // (element): stress-recovery data
  Table1<int> restrained_nodes;                  // (restraint record)
  Table2<int> restraint_codes;                   // (restraint record, DOF)
  Table1<int> nodal_load_nodes;
  Table1<int> nodal_stiffness_nodes;
  Table2<int> edge_load_keys;       // (record, 1..3): element, side, DOF
  Table2<int> edge_stiffness_keys;  // (record, 1..3): element, side, DOF
  Table1<int> distributed_load_elements;
  Table1<int> distributed_stiffness_elements;
  Table1<int> concentrated_load_elements;       // 0: the point lies in no element
  Table1<int> concentrated_stiffness_elements;  // 0: the point lies in no element
  Table1<int> pile_elements;                    // 0: the point lies in no element
  Table2<int> element_nodes;                    // (element, local node): corners, then mid-side nodes
  Table1<int> element_materials;
  Table1<int> node_labels;
  Table1<int> element_labels;
};
extern PlateModelRecord PlateModel;

// Why the plate model failed: the detail line of the run log's final message
// (four blanks, then the cause).
struct PlateFailureRecord {
  std::string detail;
  // The iteration ran away (a residual, a correction or a displacement not
  // finite): a shorter load step may still converge.
  bool diverged = false;
};
extern PlateFailureRecord PlateFailure;

// The five file names of "gslab.dat" as the last WRITE_PLATE_NAMES_FILE wrote
// them, and the debug trace's name that RUN_PLATE_ANALYSIS derives.
struct PlateFileNamesRecord {
  std::string plot_file, data_file, listing_file, step_results_file, convergence_log_file, debug_trace_file;
};
extern PlateFileNamesRecord PlateFileNames;

constexpr const char* PLATE_NAMES_FILE = "gslab.dat";
constexpr int PLATE_NAME_FIELD = 75;  // a shorter name is padded with blanks to this width

// The plate files are named after the input file and the run, in the folder
// of the results report: <folder>/<input stem><run tag> and these suffixes. The debug trace
// takes the listing's name with its extension replaced.
constexpr const char* PLATE_DATA_SUFFIX = ".plate.dat";
constexpr const char* PLATE_LISTING_SUFFIX = ".plate.lst";
constexpr const char* PLATE_STEP_RESULTS_SUFFIX = ".plate.steps";
constexpr const char* PLATE_CONVERGENCE_LOG_SUFFIX = ".plate.log";
constexpr const char* PLATE_DEBUG_EXTENSION = ".dbg";

// ------------------------------------------------------------ element work

// The Gauss-Legendre rule on [-1, 1] for NGAUS points; 1 .. NGAUS are set.
struct PlateGaussRuleRecord {
  Array1<double, PLATE_MAX_GAUSS> sampling_positions;
  Array1<double, PLATE_MAX_GAUSS> sampling_weights;
};
extern PlateGaussRuleRecord PlateGaussRule;

// The work data of the element routines: one element at one sampling point.
struct PlateElementWorkRecord {
  Array2<double, PLATE_DIMENSIONS, PLATE_MAX_ELEMENT_NODES> coordinates;             // (x or y, node)
  Array1<double, PLATE_MAX_ELEMENT_NODES> shape;                                     // N_n
  Array2<double, 2, PLATE_MAX_ELEMENT_NODES> local_derivatives;                      // (d/dxi or d/deta, node)
  Array2<double, 2, PLATE_MAX_ELEMENT_NODES> cartesian_derivatives;                  // (d/dx or d/dy, node)
  Array2<double, PLATE_MEMBRANE_TERMS, PLATE_MEMBRANE_TERMS> membrane_elasticity;    // D_m, no thickness
  Array2<double, PLATE_BENDING_TERMS, PLATE_BENDING_TERMS> bending_elasticity;       // D_b, per unit length
  Array2<double, PLATE_MEMBRANE_TERMS, PLATE_MEMBRANE_CAPACITY> membrane_strain;     // B_m
  Array2<double, PLATE_MEMBRANE_TERMS, PLATE_MEMBRANE_CAPACITY> membrane_stress;     // D_m B_m
  Array2<double, PLATE_BENDING_TERMS, PLATE_BENDING_CAPACITY> bending_strain;        // B_b
  Array2<double, PLATE_BENDING_TERMS, PLATE_BENDING_CAPACITY> bending_stress;        // D_b B_b
  Array2<double, PLATE_BENDING_CAPACITY, PLATE_BENDING_CAPACITY> bending_matrix;     // K_b
  Array2<double, PLATE_MEMBRANE_CAPACITY, PLATE_MEMBRANE_CAPACITY> membrane_matrix;  // K_m
  Array2<double, PLATE_ELEMENT_CAPACITY, PLATE_ELEMENT_CAPACITY> element_matrix;     // K_e
  Array1<double, PLATE_ELEMENT_CAPACITY> element_displacements;  // ASDIS + TSDIS at the element's nodes
  PlateElementRecord record;                                     // the element's stress-recovery data
};
extern PlateElementWorkRecord PlateElementWork;

// A sampling point on one side of an element: the side's nodes (corner s,
// corner s + 1 or 1, and mid-side node s + 4 when the element has more than
// four nodes), their one-dimensional shape functions and ds/dxi along the side.
struct PlateEdgePoint {
  int n_nodes = 0;
  Array1<int, 3> local_nodes;
  Array1<double, 3> weights;
  double length_factor = 0.0;
};

// One equation as the frontal solver eliminated it: the entries of its front
// column that are not zero (the pivot among them) with a mask of their front
// positions, its right-hand side then, its front position and its global
// equation number.
struct EliminatedEquation {
  int value_block = 0;          // FrontalScratch.values block of its entries
  std::size_t first_value = 0;  // its first entry in that block
  int mask_block = 0;           // FrontalScratch.masks block of its mask
  std::size_t first_mask = 0;   // its first mask word in that block
  int width = 0;                // front positions 1..width (the front held nothing beyond)
  double pivot_rhs = 0.0;
  int front_slot = 0;
  int equation_number = 0;
};

// Entries kept in blocks of block_entries (or of one record's entries, when
// more), filled one after another: an entry once written is never moved, and
// a solution reuses the blocks of the one before. A block is allocated
// uninitialised, so only the entries written take memory.
constexpr std::size_t FRONTAL_SCRATCH_BLOCK_ENTRIES = std::size_t{1} << 17;
template <class T>
struct FrontalScratchBlock {
  std::unique_ptr<T[]> entries;
  std::size_t capacity = 0;
  std::size_t used = 0;
};
template <class T>
struct FrontalScratchBlocks {
  std::vector<FrontalScratchBlock<T>> blocks;
  int current = 0;  // the block being filled, from 0
  std::size_t block_entries = FRONTAL_SCRATCH_BLOCK_ENTRIES;
};

// Bits per mask word: bit b of word k (from 0) marks front position 64 k + b + 1.
constexpr int FRONTAL_MASK_BITS = 64;

// The eliminated equations of the last frontal solution in the order of
// elimination, read backwards by its back-substitution. Kept until
// RELEASE_PLATE_ARRAYS, so that later iterations reuse the memory.
struct FrontalScratchRecord {
  std::vector<EliminatedEquation> eliminated;
  FrontalScratchBlocks<double> values;        // the records' entries, one record after another
  FrontalScratchBlocks<std::uint64_t> masks;  // the records' position masks
  int largest_front = 0;                      // most front positions in use at once
};
extern FrontalScratchRecord FrontalScratch;

// ------------------------------------------------------------ pile coupling

// The plate's axes in the cap's: x = Z, y = Y, z = -X. The plate DOFs are
// UX UY UZ (translations along x, y, z), ROTX ROTY (the Mindlin rotations:
// ROTX = dw/dx = -(rotation about Y), ROTY = dw/dy = rotation about Z) and
// ROTZ (rotation about z = -(rotation about X)). PLATE_PILE_PERMUTATION is
// the signed permutation P with plate vector = P x cap vector (rows: plate
// DOFs; columns: X, Y, Z, rotations about X, Y, Z); P is orthogonal, so a
// cap vector is P^T x plate vector and a cap stiffness K is P K P^T on the
// plate DOFs.
using PlateMatrix6 = Array2<double, PLATE_NODE_DOFS, PLATE_NODE_DOFS>;
using PlateVector6 = Array1<double, PLATE_NODE_DOFS>;

// PLATE_PILE_PERMUTATION: fills P.
void PLATE_PILE_PERMUTATION(PlateMatrix6& p);

// One pile point of the coupling: pile k of the engine's PileTable.
struct PlatePileResponse {
  PlateVector6 point_displacement;  // the plate's displacement at the point, plate DOFs
  PlateVector6 head_displacement;   // W: at the pile head, global (cap) axes
  PlateMatrix6 head_stiffness;      // dF_i / dW_j of the head reaction
  PlateVector6 head_forces;         // F: the reaction the pile exerts at its head, global axes
  PlateMatrix6 plate_stiffness;     // the head stiffness on the point's plate DOFs
  PlateVector6 plate_forces;        // the reaction on the point's plate DOFs
  int evaluated = 0;                // 1: the fields above belong to the current displacement
};

// The responses of every pile point (pile k at index k - 1) at the last
// evaluated displacement of the plate.
struct PlatePileCouplingRecord {
  std::vector<PlatePileResponse> piles;
};
extern PlatePileCouplingRecord PlatePileCoupling;

// The single-pile analysis as the coupling uses it: for every pile
// k = 1 .. piles.size(), from head_displacement, the reaction head_forces
// and, when with_stiffness is 1, the tangent head_stiffness. Results must
// not depend on the number of threads. The engine's cap floor installs it.
using PlatePileResponder = void (*)(std::vector<PlatePileResponse>& piles, int with_stiffness, int& status);

// SET_PLATE_PILE_RESPONDER: installs the responder; nullptr removes it.
void SET_PLATE_PILE_RESPONDER(PlatePileResponder responder);

// ------------------------------------------------- progress and stop request

// The events of the load stepping that the engine's cap floor reports (its
// run log's step lines and the host's status records), each read from
// PlateControl when it comes: a step attempt starts (STEP, TCUR,
// dt_current), an iteration starts (ITER + 1), a step attempt ended,
// converged or not (converged_time), the stepping ended.
enum PlateProgressEvent {
  PLATE_STEP_STARTED = 1,
  PLATE_ITERATION_STARTED = 2,
  PLATE_STEP_ENDED = 3,
  PLATE_STEPPING_ENDED = 4,
};
using PlateProgressHook = void (*)(int event);

// SET_PLATE_PROGRESS_HOOK: installs the hook; nullptr removes it.
void SET_PLATE_PROGRESS_HOOK(PlateProgressHook hook);

// Long plate work (the element pass, the frontal solution) looks for the
// host's stop request as it goes, so that a stop takes effect within about
// a second on any mesh, not after an iteration of minutes: the clock is read
// every PLATE_STOP_POLL_CALLS calls, the stop-request file at most once per
// PLATE_STOP_POLL_SECONDS.
constexpr int PLATE_STOP_POLL_CALLS = 16;
constexpr double PLATE_STOP_POLL_SECONDS = 0.25;

// PLATE_STOP_POLL
// Cheap enough to call once per element: true, with the status word set to
// STATUS_STOPPED_BY_USER, when the stop-request file asks for the stop (read
// at most once per PLATE_STOP_POLL_SECONDS). Reads nothing the analysis
// computes, so a run that is not stopped computes the same.
//   in,out: status
bool PLATE_STOP_POLL(int& status);

// =================================================================== routines

// FAIL_PLATE
// Sets the status word to STATUS_PLATE_ERROR and keeps the cause, unless the
// word already holds a failure.
//   in:     detail  the line for the run log: four blanks, then the cause
//   in,out: status
void FAIL_PLATE(int& status, std::string_view detail);

// PLATE_EQUATION_NAME: "PLATE EQUATION 123 (NODE 21, DOF 3)" for global
// equation 6(n-1)+d. PLATE_ITERATION_NAME: ", STEP 2, ITERATION 1" for the
// iteration under way (PlateControl.STEP and ITER + 1), "" before the stepping.
std::string PLATE_EQUATION_NAME(int equation);
std::string PLATE_ITERATION_NAME();

// SET_PLATE_FORMULATION_CONSTANTS
// Fixes the sizes of the formulation: NDOFN 6, NDIME 2, NSTRE 8, NTYPE 0,
// NPROP 3, NCASE 1, the membrane and bending term counts, and the per-element
// counts that follow from NNODE (NEVAB, membrane_dofs, plate_dofs).
//   Reads:  PlateControl.NNODE
//   Writes: PlateControl
void SET_PLATE_FORMULATION_CONSTANTS();

// ALLOCATE_PLATE_ARRAYS
// Creates every table of PlateModel, zero-filled, at the extents the counts of
// PlateControl give (a negative count is taken as 0). A failed allocation
// releases what was created.
//   Reads:  PlateControl (counts, NNODE, NEVAB)
//   Writes: PlateModel
//   in,out: status  STATUS_PLATE_ERROR when memory cannot be had
void ALLOCATE_PLATE_ARRAYS(int& status);

// RELEASE_PLATE_ARRAYS: releases every table of PlateModel and FrontalScratch.
void RELEASE_PLATE_ARRAYS();

// CHECK_PLATE_ELEMENT_KIND
// Refuses an element the routines cannot form: node counts other than 4, 8
// or 9, or a rule other than 1 to 3 points per direction.
//   Reads:  PlateControl.NNODE, NGAUS
//   in,out: status  STATUS_PLATE_ERROR with the cause
void CHECK_PLATE_ELEMENT_KIND(int& status);

// FIRST_ELEMENT_HOLDING
// The lowest-numbered element holding the node, and the first local position
// of the node in it; element 0 when no element holds it.
//   Reads:  PlateModel.element_nodes, PlateControl.NELEM, NNODE
void FIRST_ELEMENT_HOLDING(int node, int& element, int& local_node);

// WRITE_PLATE_NAMES_FILE
// Rereads records 1 to 9 of "Names.dat" in the working directory and writes
// "gslab.dat" there, five lines: the plot-data file (record 9), then the
// plate's own data file, listing, step results file and convergence log,
// named after the input file (record 5) and the run under way (".case2",
// ".comb1" after the stem; nothing outside a run) in the folder of the
// results report (record 7), so that no plate file is the engine's input or
// one of its open reports and every run keeps its own. Names are whole, a
// shorter one padded with blanks to 75 characters.
//   Reads:  AnalysisControl (current_run, current_combination)
//   Writes: PlateFileNames (the five names)
//   out:    first_name   record 5, without trailing blanks
//           second_name  record 9, without trailing blanks
//   in,out: status       STATUS_PLATE_ERROR when "Names.dat" cannot be read
//                        whole or "gslab.dat" cannot be written
void WRITE_PLATE_NAMES_FILE(std::string& first_name, std::string& second_name, int& status);

// REMOVE_STALE_PLATE_FILES
// At the start of a run: removes the plate files an earlier run of the same
// deck may have left in the run's folder (the data file and its keyword
// copy, the listing, step results, convergence log and debug trace of every
// case and combination, named as WRITE_PLATE_NAMES_FILE names them, with or
// without the run in the name, and "gslab.dat"), so that every plate file in
// the folder after the run is this run's. A name that is one of the
// run's own files is never removed; a file that is not there is no failure.
//   Reads:  RunFiles (input_file, results_file and every other name)
void REMOVE_STALE_PLATE_FILES();

// GAUSS_LEGENDRE_RULE
// Positions and weights of the Gauss-Legendre rule of 1 to 3 points on
// [-1, 1], as single-precision constants; other counts give zeros.
void GAUSS_LEGENDRE_RULE(int points, Array1<double, PLATE_MAX_GAUSS>& positions,
                         Array1<double, PLATE_MAX_GAUSS>& weights);

// PLATE_GAUSS_RULE: PlateGaussRule for PlateControl.NGAUS points per direction.
void PLATE_GAUSS_RULE();

// QUAD8_SHAPE_FUNCTIONS
// Shape functions and their derivatives by xi and eta at (xi, eta) into
// PlateElementWork (shape, local_derivatives): 4-node bilinear, 8-node
// serendipity or 9-node Lagrangian; any other count sets them to 0.
void QUAD8_SHAPE_FUNCTIONS(double xi, double eta, int node_count);

// COPY_ELEMENT_COORDINATES: the x, y of the element's nodes into PlateElementWork.coordinates.
void COPY_ELEMENT_COORDINATES(int element);

// JACOB2
// At the current shape functions: stores the global x, y of sampling point k
// in PlateElementWork.record (k 1 .. NGAUS^2: a point of the element's own
// rule; PLATE_POINT_NOT_RECORDED: a point of another rule, nothing stored),
// returns det J and sets the Cartesian derivatives. A determinant that is not
// positive writes the halt lines to the listing and fails.
//   Reads:  PlateElementWork (coordinates, shape, local_derivatives)
//   in:     element (for the message), k
//   out:    determinant
//   in,out: status  STATUS_PLATE_ERROR on a zero or negative area
void JACOB2(int element, double& determinant, int k, int& status);
constexpr int PLATE_POINT_NOT_RECORDED = 0;

// AREA_SAMPLING_POINT
// Sampling point k (1 .. NGAUS^2; xi position (k-1)/NGAUS + 1, eta position
// (k-1) mod NGAUS + 1) of the element's Gauss rule: the shape functions,
// JACOB2 there, and the area it stands for, det J w_xi w_eta.
//   Reads:  PlateElementWork.coordinates (the element's, copied by the caller)
//   out:    area
//   in,out: status  as JACOB2
void AREA_SAMPLING_POINT(int element, int k, double& area, int& status);

// PLATE_EDGE_POINT
// The sampling point at xi (-1 at the side's first corner, +1 at its second)
// on side 1 .. 4 of the element, from the node coordinates of PlateModel.
//   out: point  side nodes, their shape functions at xi, |(dx/dxi, dy/dxi)|
void PLATE_EDGE_POINT(int element, int side, double xi, PlateEdgePoint& point);

// MEMBRANE_ELASTICITY / BENDING_SHEAR_ELASTICITY
// D_m = E/(1-nu^2) [1 nu 0; nu 1 0; 0 0 (1-nu)/2] (no thickness), and D_b:
// the bending block with D = E t^3/(12(1-nu^2)) and the shear terms
// E t/(2.4(1+nu)). A Poisson ratio of 1 or -1 fails.
//   Reads:  PlateModel.material_properties
//   Writes: PlateElementWork.membrane_elasticity or bending_elasticity
//   in,out: status
void MEMBRANE_ELASTICITY(int material, int& status);
void BENDING_SHEAR_ELASTICITY(int material, int& status);

// MEMBRANE_STRAIN_MATRIX, MEMBRANE_STRESS_MATRIX, BENDING_STRAIN_MATRIX,
// BENDING_STRESS_MATRIX: B_m, D_m B_m, B_b, D_b B_b at the current sampling
// point, from the shape functions and Cartesian derivatives of
// PlateElementWork; columns 1 .. 2 NNODE (3 NNODE).
void MEMBRANE_STRAIN_MATRIX();
void MEMBRANE_STRESS_MATRIX();
void BENDING_STRAIN_MATRIX();
void BENDING_STRESS_MATRIX();

// QUAD8_ELEMENT_STIFFNESS
// The element's tangent matrix into PlateElementWork.element_matrix (NEVAB
// square): membrane and bending-shear blocks integrated over the Gauss rule,
// no coupling between them, and a drilling penalty G t x integral of
// (ROTZ - omega)^2 with omega the in-plane rotation of the membrane field
// (G alone for a material without thickness), integrated with three points
// per direction; no term ties ROTZ to the ground. Fills the element's
// stress-recovery data in PlateElementWork.record.
//   Reads:  PlateControl (NNODE, NGAUS), PlateGaussRule, PlateModel (mesh, materials)
//   in,out: status  STATUS_PLATE_ERROR on a bad geometry or Poisson ratio
void QUAD8_ELEMENT_STIFFNESS(int element, int& status);

// PLATE_ELEMENT_MATRICES
// For every element: the tangent matrix (membrane, bending and shear, a
// drilling stiffness of k_z / NNODE at each node's ROTZ), the internal forces
// K u subtracted from its right-hand side at u = ASDIS + TSDIS, the springs
// the data attach to it (nodal, once, in the first element holding the node;
// distributed; concentrated; edge), the pile springs, and its stress-recovery
// record. The right-hand sides are added to, so the caller clears them first.
//   Reads:  PlateControl, PlateGaussRule, PlateModel (mesh, materials,
//           springs, ASDIS, TSDIS)
//   Writes: PlateModel.element_matrices, element_vectors (added), element_records
//   in,out: status  STATUS_PLATE_ERROR on a bad element geometry or material;
//                   STATUS_STOPPED_BY_USER when the host asks for the stop
//                   during the pass (PLATE_STOP_POLL)
void PLATE_ELEMENT_MATRICES(int& status);

// PLATE_PILE_RESPONSES
// The piles' head stiffness and reaction at the plate's current
// displacement u = ASDIS + TSDIS, for every pile point in an element (when
// pile_springs is above 0): u at the point from the element's shape
// functions, carried to the pile head (the plate lies in the cap's plane
// X = 0; the head is head_x below it), the pile responses of the installed
// responder there, and the stiffness and reaction carried back to the
// point's plate DOFs. Called once per element pass, before the elements.
//   Reads:  PlateControl, PlateModel (pile_points, pile_elements, mesh, ASDIS,
//           TSDIS), PileTable.head_x
//   Writes: PlatePileCoupling
//   in:     with_stiffness  0: the reactions only
//   in,out: status  STATUS_PLATE_ERROR when no responder is installed or a
//                   pile point names no pile of the model; the responder's own
void PLATE_PILE_RESPONSES(int with_stiffness, int& status);

// PLATE_PILE_SPRINGS
// The pile springs of the element from PlatePileCoupling: for every pile
// point in it, in record order, N_n times the reaction added to node n's
// right-hand side and N_n N_m times the tangent stiffness taken from the
// block of nodes n and m (the tangent of the lumped reaction), N_n the shape
// functions at the point; the coupling lines of the debug trace.
//   Writes: PlateElementWork.element_matrix, PlateModel.element_vectors
void PLATE_PILE_SPRINGS(int element, int& status);

// PLATE_LOAD_FACTOR: (TCUR - TINI) / (TEND - TINI), or 1 when TEND = TINI.
double PLATE_LOAD_FACTOR();

// PLATE_LOAD_VECTORS
// Adds the loads of the data, times the load factor, to the element
// right-hand sides: nodal loads through the lowest-numbered element holding
// the node; distributed loads per unit area and concentrated loads through
// the shape functions; edge loads along the element's side. A factored value
// below 1e-30 in magnitude is skipped; a record whose node, element, side or
// DOF does not exist adds nothing.
//   Reads:  PlateControl, PlateGaussRule, PlateModel (mesh and loads)
//   Writes: PlateModel.element_vectors (added)
//   in,out: status  STATUS_PLATE_ERROR on a bad element geometry
void PLATE_LOAD_VECTORS(int& status);

// FRONTAL_SOLVE
// Solves the equations of one iteration element by element in a packed front:
// assembles each element's matrix (its upper triangle) and right-hand side,
// eliminates an equation after the last element holding its node, and
// back-substitutes in the reverse order. A prescribed DOF (code 1) gets the
// correction prescribed value x load factor - (ASDIS + TSDIS), its reaction
// K du - f; a code-2 DOF reports its value times its correction.
//   Reads:  PlateControl (NPOIN, NELEM, NNODE, NEVAB, NVFIX, front_size, times),
//           PlateModel (element_nodes, element_matrices, element_vectors,
//           restraints, ASDIS, TSDIS)
//   Writes: PlateModel.DSDIS, nodal_reactions; FrontalScratch
//   in,out: status  STATUS_PLATE_ERROR on a zero (or not finite) pivot, with
//                   the line on the listing, or a front beyond front_size;
//                   STATUS_STOPPED_BY_USER when the host asks for the stop
//                   during the elimination (the solution is then unfinished)
void FRONTAL_SOLVE(int& status);

// ------------------------------------------------------ the plate analysis

// RUN_PLATE_ANALYSIS
// The whole plate analysis of one run: opens the files "gslab.dat" names,
// reads and checks the plate data (echoed to the listing), then raises the
// load factor in pseudo-time steps, each solved by Newton iterations (element
// pass, loads, frontal solution) until the corrections of the translations
// and of the rotations are small against the step's movement; a step that
// does not converge is retried from the last converged time with half the
// step, down to DTMIN. Every converged step prints its displacements,
// reactions and stresses and appends its block to the step results file,
// which always ends with "END_STEP_DATA". Every step attempt and iteration
// is reported to the progress hook. Every file is closed and every table
// released on return, also after a failure.
//   Reads:  "gslab.dat", the plate data file, RunFiles (names not to overwrite)
//   Writes: PlateControl, PlateDiagnoses, PlateFileNames.debug_trace_file;
//           the listing, step results file, convergence log and debug trace
//   in,out: status  STATUS_PLATE_ERROR with PlateFailure.detail on bad data,
//                   a file that cannot be had, a bad element, a zero pivot or
//                   a residual or displacement that is not finite (naming the
//                   step, iteration and equation); STATUS_STOPPED_BY_USER when
//                   the host's stop request comes during the stepping (polled
//                   before every iteration and inside its long parts)
void RUN_PLATE_ANALYSIS(int& status);

// OPEN_PLATE_FILES
// Reads the five lines of "gslab.dat" and opens the plate data file to read
// and the listing, step results file and convergence log to write, and the
// debug trace under the listing's name with the extension ".dbg". Refuses,
// before anything is written, names that would make one file two (an output
// named like the data file or like another output) or that name one of the
// engine's own files.
//   Writes: PlateFileNames; units UNIT_PLATE_DATA .. UNIT_PLATE_DEBUG
//   in,out: status  STATUS_PLATE_ERROR naming the file
void OPEN_PLATE_FILES(int& status);

// READ_PLATE_CONTROL
// The title (copied to the listing's first line), the 16 counts and the
// time-stepping record of the plate data file, and the formulation constants.
//   Writes: PlateControl
//   in,out: status  STATUS_PLATE_ERROR when the records cannot be read
void READ_PLATE_CONTROL(int& status);

// ECHO_PLATE_CONTROL: the control values on the listing.
void ECHO_PLATE_CONTROL();

// CHECK1
// The counts and sizes of PlateControl (errors 1 to 12), the time data (25 to
// 27: DT and DTMIN above 0, TEND not below TINI) and the capacity of every
// count and of MAXITER (28). Each error found is written to the convergence log, the
// listing and the console; then the rest of the data file is listed.
//   Writes: PlateDiagnoses (cleared first)
//   in,out: status  STATUS_PLATE_ERROR when an error was found
void CHECK1(int& status);

// CHECK2
// The mesh, materials and restraints (errors 13 to 24, each with the number
// of occurrences), and the largest front of the frontal solver, which sets
// PlateControl.front_size (60, or the largest front + 1 above that). Node
// numbers of elements and restraints and material numbers are used as
// indices only after they passed here.
//   Reads:  PlateModel (node_coordinates, restraints, element_nodes, element_materials)
//   Writes: PlateDiagnoses (13 to 24), PlateControl.front_size
//   in,out: status  STATUS_PLATE_ERROR when an error was found
void CHECK2(int& status);

// READ_PLATE_DATA
// The records after the control records (elements, nodes, restraints,
// materials, loads and springs of every kind, pile points), each stored at
// the position its number names once that number has been checked, and
// echoed to the listing; then the Gauss rule, CHECK2 and the location of the
// load, spring and pile points in the mesh.
//   Reads:  UNIT_PLATE_DATA from where READ_PLATE_CONTROL left it; PlateControl
//   Writes: PlateModel (data tables), the listing
//   in,out: status  STATUS_PLATE_ERROR on a record naming a node, element,
//                   material, side or DOF that does not exist, a point in no
//                   element, a file ending early or a value that is not a number
void READ_PLATE_DATA(int& status);

// PLATE_DATA_FAILURE
// Ends the data reading: the post-disaster listing (the rest of the plate
// data file, line by line, on the listing) and the failure.
//   in:     detail  the cause, four blanks first
//   in,out: status  STATUS_PLATE_ERROR
void PLATE_DATA_FAILURE(std::string_view detail, int& status);

// LOCATE_PLATE_POINTS
// Finds the element holding each point and its local coordinates there, by
// Newton's method on the isoparametric map with the full 2 x 2 Jacobian,
// elements in order; a point on a side shared by two elements goes to the
// lower-numbered one. A found point's (x, y) is replaced by (xi, eta); a
// point in no element keeps its x, y and element 0.
//   Reads:  PlateModel (element_nodes, node_coordinates), PlateControl
//   Writes: PlateControl.ITER (the last Newton count)
//   in:     count   points 1..count of the tables
//   in,out: points  (point, 1..2)
//   out:    elements
void LOCATE_PLATE_POINTS(int count, Table2<double>& points, Table1<int>& elements);

// FILL_VECTOR: vector(1..count) = value; nothing for a count below 1.
void FILL_VECTOR(Table1<double>& vector, int count, double value);

// ADD_TO_VECTOR: target(i) += source(i), i = 1..count.
void ADD_TO_VECTOR(Table1<double>& target, const Table1<double>& source, int count);

// SCATTER_ELEMENT_VECTORS
// Adds every element's vector into the nodal vector by global equation; the
// caller clears the nodal vector first.
void SCATTER_ELEMENT_VECTORS(const Table2<double>& element_vectors, Table1<double>& nodal_vector,
                             const Table2<int>& element_nodes);

// PLATE_VECTOR_NORMS
// The Euclidean norms of the translations (UX UY UZ) and of the rotations
// (ROTX ROTY ROTZ) of a vector of count / 6 blocks of six values.
void PLATE_VECTOR_NORMS(const Table1<double>& vector, double& translational, double& rotational, int count);

// NEXT_PLATE_TIME
// The pseudo-time after a converged step at `time`: time + step, or TEND when
// that passes TEND from below.
double NEXT_PLATE_TIME(double time, double step);

// HALVE_PLATE_STEP
// After a failed step attempt at PlateControl.TCUR: halves the step (the part
// of it up to TEND when the attempt was cut there) and moves TCUR to the last
// converged time plus the halved step.
//   Writes: PlateControl.dt_current, TCUR
//   in:     converged_time  the time of the last converged step (TINI before any)
//   out:    below_minimum   the halved step is below DTMIN; TCUR is left alone
void HALVE_PLATE_STEP(double converged_time, bool& below_minimum);

// WRITE_PLATE_REACTIONS
// The step's heading, the displacement of every node and the reactions of
// every node (0 where nothing is restrained) on the listing.
//   Reads: PlateControl (STEP, TCUR, NPOIN), PlateModel (ASDIS, nodal_reactions)
void WRITE_PLATE_REACTIONS();

// WRITE_PLATE_STRESSES
// The stresses, moments and shear forces at every sampling point of every
// element, from its stress-recovery data and the converged displacements,
// with the maxima and minima over the plate (the first occurrence keeps the
// place), on the listing; and the step's block of the step results file:
// per node its displacements and the stresses averaged over the sampling
// points around it with weights 1 / distance^2 (a sampling point on the node
// gives the node its own value).
//   Reads:  PlateControl, PlateModel (element_records, ASDIS, mesh, labels)
//   Writes: PlateModel.nodal_stress_sums, nodal_weight_sums; the listing and
//           the step results file
void WRITE_PLATE_STRESSES();

// PLATE_FINAL_PILE_FORCES
// The piles once more at the final plate displacement, so that their state
// (and PlatePileCoupling's head displacements and reactions) belong to the
// converged plate; their lines on the debug trace.
//   Reads:  PlateModel (ASDIS, pile_elements, pile_points, element_nodes)
//   Writes: PlatePileCoupling
//   in,out: status  as PLATE_PILE_RESPONSES
void PLATE_FINAL_PILE_FORCES(int& status);

// ------------------------------------------------- the plate model of the cap

constexpr const char* PLATE_KEYWORD_EXTENSION = ".key";  // the keyword file: the data file's name, this extension

// WRITE_CAP_PLATE_DATA
// Writes "gslab.dat" (WRITE_PLATE_NAMES_FILE), then the plate model of the
// cap as a plate data file under PlateFileNames.data_file and its keyword
// copy beside it: the 8-node mesh of CapGeometry (divisions of
// CapPlateInput), the material, the run's cap load at the origin and one
// pile point per pile at its head. In the data file the plate's x is the
// cap's Z and its y the cap's Y (elements counter-clockwise), the values of
// a point are on the plate DOFs (PLATE_PILE_PERMUTATION), the torsion M_X
// is eight in-plane forces on a ring about the origin whose moment is M_X,
// and every real is written in full precision. The keyword copy gives the
// same model in the cap's axes (X, Y, Z and values in the cap order).
//   Reads:  CapGeometry, CapPlateInput, AnalysisControl (steps, iterations,
//           tolerance), PileTable (heads, angles, connections), RunFiles
//   in:     cap_load  6 values: forces along X, Y, Z, moments about X, Y, Z
//   in,out: status    STATUS_PLATE_ERROR: a mesh beyond the plate's
//                     capacity, a torsion without a ring to carry it, a file
//                     that would overwrite an engine file or cannot be written
void WRITE_CAP_PLATE_DATA(const double* cap_load, int& status);

// PLATE_OUTPUT_CLASH
// The first of the names whose file is one of the run's own files
// (RunFiles) or an earlier name of the list; empty when there is none.
std::string PLATE_OUTPUT_CLASH(const std::vector<const std::string*>& outputs);

}  // namespace pilecap
