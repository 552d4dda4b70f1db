#pragma once

#include "model/scenestate.h"
#include "output/figurepage.h"

namespace vorlac
{

// The report's texts for a scene, the same the panels show: Label7, Label2, Combo1, Label4,
// Combo2, Label16.
ReportTexts sceneReportTexts(const SceneState &state);

} // namespace vorlac
