// The Graph Editor's screenshot scenes (registered once, by the page's first construction,
// which also links them into every binary that uses the page).
#pragma once

namespace hcui {

void registerEditorScenes();

}  // namespace hcui
