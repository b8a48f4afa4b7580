// The Graph Editor's screenshot scenes, registered by the screenshot mode before it starts
// (a second call adds nothing). Calling it is what links them into the program; the page
// itself knows nothing of the window or of screenshots.
#pragma once

namespace hcui {

void registerEditorScenes();

}  // namespace hcui
