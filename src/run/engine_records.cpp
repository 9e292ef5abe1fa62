// The inventory of the engine's global records and their reset. A record is
// rebuilt in place (destroyed and constructed anew at its own address):
// several are too large for a temporary, and the model store's table list
// holds references into them.
#include "run/engine_records.hpp"

#include <array>
#include <new>

#include "base/unit_labels.hpp"
#include "cap/cap_solver.hpp"
#include "capstiffness/capstiffness.hpp"
#include "input/input.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "model/model_store.hpp"
#include "model/run_state.hpp"
#include "model/sections.hpp"
#include "pile/pile_head.hpp"
#include "plate/plate.hpp"
#include "soil/py_curves.hpp"
#include "soil/soil.hpp"

namespace pilecap {

namespace {

template <auto& Record>
void renew() {
  using RecordType = std::remove_reference_t<decltype(Record)>;
  Record.~RecordType();
  new (&Record) RecordType{};
}

// The name and the reset of one record, written from the record itself so
// that the two cannot part.
#define ENGINE_RECORD(record) \
  EngineRecord { #record, &renew < record> }

const std::array ENGINE_RECORD_LIST = {
    // Input records.
    ENGINE_RECORD(RunTitle),
    ENGINE_RECORD(RunOptions),
    ENGINE_RECORD(RunConstants),
    ENGINE_RECORD(MomentCurvatureSet),
    ENGINE_RECORD(CapGeometry),
    ENGINE_RECORD(CapPassiveElement),
    ENGINE_RECORD(CapPlateInput),
    ENGINE_RECORD(LoadCase),
    ENGINE_RECORD(LoadCombination),
    ENGINE_RECORD(ConcentratedLoad),
    ENGINE_RECORD(LoadAssignment),
    ENGINE_RECORD(SpecifiedDofData),
    ENGINE_RECORD(EnvelopeOptions),
    ENGINE_RECORD(ResultColumnSelection),
    ENGINE_RECORD(PropertySetInput),
    ENGINE_RECORD(CrossSection),
    ENGINE_RECORD(SoilLayerInput),
    ENGINE_RECORD(PyPrintRequest),
    ENGINE_RECORD(UserPyCurveSet),
    ENGINE_RECORD(UserLsCurve),
    ENGINE_RECORD(UserTrCurve),
    ENGINE_RECORD(DepthFactorTable),
    ENGINE_RECORD(PyExportRequest),
    ENGINE_RECORD(MomentCurvatureInput),
    ENGINE_RECORD(SectionCurveInput),
    ENGINE_RECORD(SectionBilinearInput),
    ENGINE_RECORD(InputLines),
    // The model store's records (their tables are released first).
    ENGINE_RECORD(PileTopResults),
    ENGINE_RECORD(NodeResults),
    ENGINE_RECORD(EquivalentStiffness),
    ENGINE_RECORD(EquivalentSprings),
    ENGINE_RECORD(LoadSetTable),
    ENGINE_RECORD(SoilMovementProfile),
    ENGINE_RECORD(ClosePileFactors),
    ENGINE_RECORD(PileTable),
    ENGINE_RECORD(PileHeadMatrices),
    ENGINE_RECORD(PileLoadProfile),
    ENGINE_RECORD(PlasticHingeTable),
    ENGINE_RECORD(PileNodes),
    ENGINE_RECORD(PileArrangementInput),
    ENGINE_RECORD(GeneratedCurvePiles),
    ENGINE_RECORD(PileLayerData),
    ENGINE_RECORD(PileSoilData),
    ENGINE_RECORD(ComputedLsTable),
    ENGINE_RECORD(GeneratedLsCurve),
    ENGINE_RECORD(GeneratedTrCurve),
    // Working records of the run, the soil, the piles and the analysis.
    ENGINE_RECORD(RunTimers),
    ENGINE_RECORD(RunFiles),
    ENGINE_RECORD(UnitLabels),
    ENGINE_RECORD(ResultColumnHeadings),
    ENGINE_RECORD(SoilProfile),
    ENGINE_RECORD(GeneratedPyCurve),
    ENGINE_RECORD(PileProperty),
    ENGINE_RECORD(PileSection),
    ENGINE_RECORD(WarningCounters),
    ENGINE_RECORD(AnalysisControl),
    ENGINE_RECORD(CapEnvelope),
    ENGINE_RECORD(DofRunMode),
    ENGINE_RECORD(TargetDeflectionSearch),
    ENGINE_RECORD(PileErrorWord),
    ENGINE_RECORD(CapPassiveState),
    ENGINE_RECORD(PyCurveCache),
    // The plate model of the cap.
    ENGINE_RECORD(PlateDiagnoses),
    ENGINE_RECORD(PlateControl),
    ENGINE_RECORD(PlateModel),
    ENGINE_RECORD(PlateFailure),
    ENGINE_RECORD(PlateFileNames),
    ENGINE_RECORD(PlateGaussRule),
    ENGINE_RECORD(PlateElementWork),
    ENGINE_RECORD(FrontalScratch),
    ENGINE_RECORD(PlatePileCoupling),
};

#undef ENGINE_RECORD

}  // namespace

std::span<const EngineRecord> ENGINE_RECORDS() { return ENGINE_RECORD_LIST; }

void RESET_ENGINE_RECORDS() {
  int status = 0;
  RELEASE_MODEL_ARRAYS(status);
  RELEASE_PY_CURVE_CACHE();
  RELEASE_PLATE_ARRAYS();
  for (const EngineRecord& record : ENGINE_RECORD_LIST) record.reset();
}

}  // namespace pilecap
