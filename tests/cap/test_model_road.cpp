// The kind of model a run analyses is told apart in one place, and its road
// carries everything that differs: a plane model is never the plate,
// whatever its cap option; only the plate refuses points and an embedded cap.
#include <gtest/gtest.h>

#include "cap/model_road.hpp"
#include "model/analysis_control.hpp"
#include "model/input_records.hpp"
#include "results/results.hpp"
#include "tests/support/engine_state.hpp"

namespace pilecap {
namespace {

struct RoadCase {
  int dimension;
  int cap_model;
  int passive;
  CapModelKind kind;
  int dofs;
  bool torsion_curves;
  bool points_refused;
  const char* refused_feature;
};

const RoadCase ROAD_CASES[] = {
    {MODEL_2D, CAP_MODEL_RIGID, 0, CapModelKind::PLANE_RIGID, 3, false, false, ""},
    {MODEL_2D, CAP_MODEL_PLATE, 1, CapModelKind::PLANE_RIGID, 3, false, false, ""},
    {MODEL_2D, CAP_MODEL_PLATE_EXPORT, 0, CapModelKind::PLANE_RIGID, 3, false, false, ""},
    {MODEL_3D, CAP_MODEL_RIGID, 1, CapModelKind::SPACE_RIGID, 6, true, false, ""},
    {MODEL_3D, -1, 0, CapModelKind::SPACE_RIGID, 6, true, false, ""},
    {MODEL_3D, CAP_MODEL_PLATE, 0, CapModelKind::SPACE_PLATE, 6, true, true, ""},
    {MODEL_3D, CAP_MODEL_PLATE_EXPORT, 0, CapModelKind::SPACE_PLATE, 6, true, true, ""},
    {MODEL_3D, 3, 1, CapModelKind::SPACE_PLATE, 6, true, true, "AN EMBEDDED CAP WITH THE PLATE MODEL OF THE CAP"},
};

TEST(ModelRoad, EveryOptionLineTakesTheRoadOfItsKind) {
  testing::reset_engine_state();
  for (const RoadCase& c : ROAD_CASES) {
    SCOPED_TRACE(::testing::Message() << "dimension " << c.dimension << " cap model " << c.cap_model << " passive "
                                      << c.passive);
    RunOptions.dimension = c.dimension;
    RunOptions.cap_model = c.cap_model;
    RunOptions.cap_passive_option = c.passive;
    ASSERT_EQ(CAP_MODEL_KIND(), c.kind);
    const ModelRoad& road = MODEL_ROAD(CAP_MODEL_KIND());
    EXPECT_EQ(road.kind, c.kind);
    EXPECT_EQ(road.dofs, c.dofs);
    EXPECT_EQ(road.dofs, CAP_DOFS_OF_MODEL(road.dimension));
    EXPECT_EQ(road.torsion_curves, c.torsion_curves);
    EXPECT_EQ(road.points_refusal_layout != nullptr, c.points_refused);
    EXPECT_EQ(UNSUPPORTED_MODEL_FEATURE(), c.refused_feature);
    EXPECT_EQ(road.reset_envelopes == RESET_ENVELOPES_2D, c.kind == CapModelKind::PLANE_RIGID);
  }
  testing::reset_engine_state();
}

}  // namespace
}  // namespace pilecap
