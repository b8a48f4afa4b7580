// The screenshot scenes of every page but the Graph Editor's (graph_editor_scenes.h), and of
// the help and splash dialogs, registered by the screenshot mode before it starts (a second
// call adds nothing). Calling it is what links them into the program; the pages themselves
// know nothing of the window or of screenshots.
#pragma once

namespace hcui {

// Help, Solver, splash, Stone Carver, Co-HC, then Graph Generation and Information: the
// order of the saved pictures.
void registerPageScenes();

}  // namespace hcui
