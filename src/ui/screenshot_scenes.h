// Scenes for the screenshot mode (`hamcycles --screenshot DIR [--scene NAME]...`): after a
// PNG of every tab, each registered scene prepares the window (loads a graph, starts a
// run, opens a page's mode), lets the event loop run for `settleMilliseconds`, and is
// saved as DIR/NN-<name>.png.
//
// Scenes live apart from the pages (page_scenes.h, method_scenes.h, graph_editor_scenes.h),
// so no page includes the window; the screenshot mode registers them before it starts, each
// with a function-local
//   static const hcui::ScreenshotSceneRegistration scene{"editor-drawing", 0, prepare};
// in the order their pictures are numbered.
#pragma once

#include <QPixmap>
#include <functional>
#include <string>
#include <vector>

class CHamiltonianCyclesDlg;

namespace hcui {

// The picture of a scene that shows something other than the main window (a dialog).
using ScenePicture = std::function<QPixmap(CHamiltonianCyclesDlg&)>;

struct ScreenshotScene {
  std::string name;  // file name part and the --scene selector
  int tab = 0;       // the tab shown in the picture
  std::function<void(CHamiltonianCyclesDlg&)> prepare;
  int settleMilliseconds = 300;
  ScenePicture picture;  // empty: the main window
};

// Every scene registered so far, in registration order.
std::vector<ScreenshotScene>& screenshotScenes();

struct ScreenshotSceneRegistration {
  ScreenshotSceneRegistration(std::string name, int tab, std::function<void(CHamiltonianCyclesDlg&)> prepare,
                              int settleMilliseconds = 300, ScenePicture picture = {});
};

// Saves DIR/NN-<tab>.png for every tab, then every scene (only those named in `only` when
// it is not empty), then calls `done`. Runs from the event loop; never blocks on input.
void takeScreenshots(CHamiltonianCyclesDlg& window, const std::string& folder,
                     const std::vector<std::string>& only, std::function<void(bool ok)> done);

}  // namespace hcui
