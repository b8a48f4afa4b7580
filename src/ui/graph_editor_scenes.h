// The Graph Editor's screenshot scenes. The window registers them (once, however many
// windows are made), which also links them into every binary that has the window; the page
// itself knows nothing of the window or of screenshots.
#pragma once

namespace hcui {

void registerEditorScenes();

}  // namespace hcui
