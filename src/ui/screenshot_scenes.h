// Scenes for the screenshot mode (`hamcycles --screenshot DIR [--scene NAME]...`): after a
// PNG of every tab, each registered scene prepares the window (loads a graph, starts a
// run, opens a page's mode), lets the event loop run for `settleMilliseconds`, and is
// saved as DIR/NN-<name>.png.
//
// A page registers its scenes from its own .cpp with a namespace-scope
//   static const hcui::ScreenshotSceneRegistration kScene{"editor-drawing", 0, prepare};
// (the page's file is linked into the binary because the window uses the page class). The
// Graph Editor's scenes live apart from its page and are registered by the screenshot mode
// (graph_editor_scenes.h).
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
  std::string name;            // file name part and the --scene selector
  int tab = 0;                 // the tab shown in the picture
  std::function<void(CHamiltonianCyclesDlg&)> prepare;
  int settleMilliseconds = 300;
  ScenePicture picture;        // empty: the main window
};

// Every scene registered so far, in registration order.
std::vector<ScreenshotScene>& screenshotScenes();

struct ScreenshotSceneRegistration {
  ScreenshotSceneRegistration(std::string name, int tab, std::function<void(CHamiltonianCyclesDlg&)> prepare,
                              int settleMilliseconds = 300, ScenePicture picture = {});
};

// Saves DIR/NN-<tab>.png for every tab, then every scene (only those named in `only` when
// it is not empty), then calls `done`. Runs from the event loop; never blocks on input.
void takeScreenshots(CHamiltonianCyclesDlg& window, const std::string& folder, const std::vector<std::string>& only,
                     std::function<void(bool ok)> done);

}  // namespace hcui
