// The screenshot scenes of the method pages (Stone Carver, Co-HC, Solver), registered by
// the screenshot mode through registerPageScenes() (page_scenes.h). A second call of any of
// them adds nothing.
#pragma once

namespace hcui {

void registerSolverScenes();
void registerStoneCarverScenes();
void registerCoHCScenes();

}  // namespace hcui
