#include "ui/screenshot_scenes.h"

#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <iterator>
#include <memory>

#include "app/program_page.h"
#include "ui/hamiltonian_cycles_dlg.h"

namespace hcui {

std::vector<ScreenshotScene>& screenshotScenes() {
  static std::vector<ScreenshotScene> scenes;
  return scenes;
}

ScreenshotSceneRegistration::ScreenshotSceneRegistration(std::string name, int tab,
                                                         std::function<void(CHamiltonianCyclesDlg&)> prepare,
                                                         int settleMilliseconds, ScenePicture picture) {
  screenshotScenes().push_back(
      {std::move(name), tab, std::move(prepare), settleMilliseconds, std::move(picture)});
}

namespace {

const char* const kTabFileNames[] = {"graph-editor", "graph-generation",  "graph-information",
                                     "stone-carver", "cohc-proof-system", "solver"};
static_assert(std::size(kTabFileNames) == hc::kPageCount);

struct Shot {
  std::string name;
  int tab;
  std::function<void(CHamiltonianCyclesDlg&)> prepare;
  int settle;
  ScenePicture picture;
};

// Takes shots[index..] one after the other, letting the event loop run between them.
void takeFrom(CHamiltonianCyclesDlg& window, QString folder, std::shared_ptr<std::vector<Shot>> shots,
              size_t index, bool ok, std::function<void(bool)> done) {
  if (index == shots->size()) return done(ok);
  Shot& shot = (*shots)[index];
  if (shot.prepare) shot.prepare(window);
  window.tabs()->setCurrentIndex(shot.tab);
  QTimer::singleShot(shot.settle, &window, [&window, folder, shots, index, ok, done]() mutable {
    const Shot& taken = (*shots)[index];
    const QString path = QDir(folder).filePath(
        QString("%1-%2.png").arg(index + 1, 2, 10, QChar('0')).arg(QString::fromStdString(taken.name)));
    const bool saved = (taken.picture ? taken.picture(window) : window.grab()).save(path);
    // Standard error: the window writes nothing to standard output.
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", path.toLocal8Bit().data());
    takeFrom(window, folder, shots, index + 1, ok && saved, done);
  });
}

}  // namespace

void takeScreenshots(CHamiltonianCyclesDlg& window, const std::string& folder,
                     const std::vector<std::string>& only, std::function<void(bool)> done) {
  const QString dir = QString::fromStdString(folder);
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "cannot create the folder %s\n", folder.c_str());
    return done(false);
  }
  auto shots = std::make_shared<std::vector<Shot>>();
  if (only.empty())
    for (int tab = 0; tab < window.tabs()->count(); ++tab)
      shots->push_back({kTabFileNames[tab], tab, nullptr, 200, {}});
  for (const ScreenshotScene& scene : screenshotScenes()) {
    bool wanted = only.empty();
    for (const std::string& name : only) wanted = wanted || name == scene.name;
    if (wanted)
      shots->push_back({scene.name, scene.tab, scene.prepare, scene.settleMilliseconds, scene.picture});
  }
  takeFrom(window, dir, shots, 0, true, std::move(done));
}

}  // namespace hcui
