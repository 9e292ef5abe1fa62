// The input records and their reset at the start of every read. Small
// records are assigned their defaults; the large curve tables get fresh zeroed
// memory, so a small model never makes them resident. The reduction factors
// of every pile entry start at 1.0.
#include "model/input_records.hpp"

#include <new>

namespace pilecap {

RunTitleRecord RunTitle;
RunOptionsRecord RunOptions;
RunConstantsRecord RunConstants;
MomentCurvatureSetRecord MomentCurvatureSet;
CapGeometryRecord CapGeometry;
CapPassiveElementRecord CapPassiveElement;
CapPlateInputRecord CapPlateInput;
LoadCaseRecord LoadCase;
LoadCombinationRecord LoadCombination;
ConcentratedLoadRecord ConcentratedLoad;
LoadAssignmentRecord LoadAssignment;
SpecifiedDofDataRecord SpecifiedDofData;
EnvelopeOptionsRecord EnvelopeOptions;
ResultColumnSelectionRecord ResultColumnSelection;
PropertySetInputRecord PropertySetInput;
CrossSectionRecord CrossSection;
SoilLayerInputRecord SoilLayerInput;
PyPrintRequestRecord PyPrintRequest;
UserPyCurveSetRecord UserPyCurveSet;
UserLsCurveRecord UserLsCurve;
UserTrCurveRecord UserTrCurve;
DepthFactorTableRecord DepthFactorTable;
PyExportRequestRecord PyExportRequest;
MomentCurvatureInputRecord MomentCurvatureInput;
SectionCurveInputRecord SectionCurveInput;
SectionBilinearInputRecord SectionBilinearInput;

namespace {

constexpr double INITIAL_REDUCTION_FACTOR = 1.0;

// Rebuilds a record in place with its defaults; some records are too large
// for a temporary on the stack.
template <class Record>
void renew(Record& record) {
  record.~Record();
  new (&record) Record{};
}

// Fresh zeroed (set, curve, point) tables; false when memory cannot be had.
bool recreate(Table3<double>& table, const char* name, int n1, int n2, int n3) {
  return table.create(name, n1, n2, n3);
}

bool reset_curve_part(SectionCurvePart& part, const char* moment_name, const char* curvature_name) {
  part.label.fill(0);
  part.num_axial_loads.fill(0);
  part.axial_load.fill(0.0);
  part.num_points.fill(0);
  return recreate(part.moment, moment_name, MAX_CROSS_SECTIONS, MAX_MPHI_CURVES, MAX_MPHI_POINTS) &&
         recreate(part.curvature, curvature_name, MAX_CROSS_SECTIONS, MAX_MPHI_CURVES, MAX_MPHI_POINTS);
}

bool reset_bilinear_part(SectionBilinearPart& part, const char* moment_name, const char* curvature_name) {
  part.moment_0.fill(0.0);
  part.yield_index.fill(0);
  part.second_yield_index.fill(0);
  return reset_curve_part(part, moment_name, curvature_name);
}

bool reset_curve_tables() {
  auto& py = UserPyCurveSet;
  py.count = 0;
  py.set_label.fill(0);
  py.read_num_curves.fill(0);
  py.read_depth.fill(0.0);
  py.read_num_points.fill(0);
  py.num_curves.fill(0);
  py.curve_depth.fill(0.0);
  py.num_points.fill(0);
  auto& mphi = MomentCurvatureInput;
  mphi.set_label.fill(0);
  mphi.num_curves.fill(0);
  mphi.axial_load.fill(0.0);
  mphi.num_points.fill(0);
  SectionCurveInput.count = 0;
  SectionBilinearInput.count = 0;
  auto& sets = MomentCurvatureSet;
  return recreate(sets.moment, "MomentCurvatureSet.moment", MAX_MPHI_SETS, MAX_MPHI_CURVES, MAX_MPHI_POINTS) &&
         recreate(sets.curvature, "MomentCurvatureSet.curvature", MAX_MPHI_SETS, MAX_MPHI_CURVES, MAX_MPHI_POINTS) &&
         recreate(sets.bilinear_moment, "MomentCurvatureSet.bilinear_moment", MAX_MPHI_SETS, MAX_MPHI_CURVES,
                  MAX_BILINEAR_POINTS) &&
         recreate(sets.bilinear_curvature, "MomentCurvatureSet.bilinear_curvature", MAX_MPHI_SETS, MAX_MPHI_CURVES,
                  MAX_BILINEAR_POINTS) &&
         recreate(py.read_p, "UserPyCurveSet.read_p", MAX_PY_SETS, MAX_PY_CURVES_PER_SET, MAX_CURVE_POINTS) &&
         recreate(py.read_y, "UserPyCurveSet.read_y", MAX_PY_SETS, MAX_PY_CURVES_PER_SET, MAX_CURVE_POINTS) &&
         recreate(py.p, "UserPyCurveSet.p", MAX_PY_SETS, MAX_PY_CURVES_PER_SET, MAX_CURVE_POINTS) &&
         recreate(py.y, "UserPyCurveSet.y", MAX_PY_SETS, MAX_PY_CURVES_PER_SET, MAX_CURVE_POINTS) &&
         recreate(mphi.moment, "MomentCurvatureInput.moment", MAX_INPUT_MPHI_SETS, MAX_MPHI_CURVES, MAX_MPHI_POINTS) &&
         recreate(mphi.curvature, "MomentCurvatureInput.curvature", MAX_INPUT_MPHI_SETS, MAX_MPHI_CURVES,
                  MAX_MPHI_POINTS) &&
         reset_curve_part(SectionCurveInput.zz, "SectionCurveInput.zz.moment", "SectionCurveInput.zz.curvature") &&
         reset_curve_part(SectionCurveInput.yy, "SectionCurveInput.yy.moment", "SectionCurveInput.yy.curvature") &&
         reset_bilinear_part(SectionBilinearInput.zz, "SectionBilinearInput.zz.moment",
                             "SectionBilinearInput.zz.curvature") &&
         reset_bilinear_part(SectionBilinearInput.yy, "SectionBilinearInput.yy.moment",
                             "SectionBilinearInput.yy.curvature");
}

void release_curve_tables() {
  for (Table3<double>* table :
       {&MomentCurvatureSet.moment, &MomentCurvatureSet.curvature, &MomentCurvatureSet.bilinear_moment,
        &MomentCurvatureSet.bilinear_curvature, &UserPyCurveSet.read_p, &UserPyCurveSet.read_y, &UserPyCurveSet.p,
        &UserPyCurveSet.y, &MomentCurvatureInput.moment, &MomentCurvatureInput.curvature, &SectionCurveInput.zz.moment,
        &SectionCurveInput.zz.curvature, &SectionCurveInput.yy.moment, &SectionCurveInput.yy.curvature,
        &SectionBilinearInput.zz.moment, &SectionBilinearInput.zz.curvature, &SectionBilinearInput.yy.moment,
        &SectionBilinearInput.yy.curvature}) {
    table->release();
  }
}

// The counts and profile points of the input tables of the model store; the
// tables themselves come zeroed from their creation at the start of the run.
void reset_store_counts() {
  LoadSetTable.loads.count = 0;
  LoadSetTable.movements.count = 0;
  PileArrangementInput.n_rows_2d = 0;
  PileArrangementInput.n_piles_3d = 0;
  GeneratedCurvePiles.ls_count = 0;
  GeneratedCurvePiles.tr_count = 0;
  auto& profile = SoilMovementProfile;
  profile.count = 0;
  for (auto* points : {&profile.depth, &profile.move_y, &profile.move_z, &profile.scaled_move_y, &profile.scaled_move_z,
                       &profile.read_move_y, &profile.read_move_z}) {
    points->fill(0.0);
  }
}

void reset_reduction_factors() {
  for (int p = 1; p <= TABLE_CAPACITY; ++p) {
    ClosePileFactors.p_factor_1(p) = INITIAL_REDUCTION_FACTOR;
    ClosePileFactors.y_factor_1(p) = INITIAL_REDUCTION_FACTOR;
    ClosePileFactors.p_factor_2(p) = INITIAL_REDUCTION_FACTOR;
    ClosePileFactors.y_factor_2(p) = INITIAL_REDUCTION_FACTOR;
    PileTable.p_factor_saved(p) = INITIAL_REDUCTION_FACTOR;
    PileTable.y_factor_saved(p) = INITIAL_REDUCTION_FACTOR;
  }
}

}  // namespace

void RESET_INPUT_RECORDS(int& status) {
  renew(RunTitle);
  renew(RunOptions);
  renew(RunConstants);
  renew(MomentCurvatureSet);
  renew(CapGeometry);
  renew(CapPassiveElement);
  renew(CapPlateInput);
  renew(LoadCase);
  renew(LoadCombination);
  renew(ConcentratedLoad);
  renew(LoadAssignment);
  renew(SpecifiedDofData);
  renew(EnvelopeOptions);
  renew(ResultColumnSelection);
  renew(PropertySetInput);
  renew(CrossSection);
  renew(SoilLayerInput);
  renew(PyPrintRequest);
  renew(UserLsCurve);
  renew(UserTrCurve);
  renew(DepthFactorTable);
  renew(PyExportRequest);
  reset_store_counts();
  reset_reduction_factors();
  if (!reset_curve_tables()) {
    release_curve_tables();
    status = ALLOCATION_FAILED;
  }
}

}  // namespace pilecap
