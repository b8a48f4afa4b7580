// Frame times of the Graph Editor's canvas on a 10,000-node drawing (a knight's 100 x 100
// board laid out on its grid): a whole repaint at the fitted zoom, a pan step, a zoom step
// and the page's own repaint path. The target is under 50 ms per frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "generators/graph_families.h"
#include "offscreen_benchmarks.h"
#include "run/graph_description.h"
#include "ui/graph_canvas.h"
#include "ui/graph_view_layout.h"

namespace {

struct Board {
  std::unique_ptr<hc::Graph2D> drawing;
  Board() {
    hc::Graph graph(10000, 0);
    hc::generateKnightsTourGraph(graph, 100, 100);
    graph.finishConstruction();
    hcui::GraphPicture picture = hcui::pictureOf(graph);
    hcui::placeStructured(picture, graph, hc::GraphSource::kKnightsTourGraph, 100, 100);
    drawing = hcui::makeDrawing(picture);
  }
};

const Board& board() {
  static Board b;
  return b;
}

void paintFrames(benchmark::State& state, bool pan, int zoomSteps) {
  hcui::CanvasScene scene;
  scene.drawing = board().drawing.get();
  scene.view.setCanvasSize(1000, 700);
  scene.view.zoomToFit(*scene.drawing);
  for (int i = 0; i < zoomSteps; ++i) scene.view.zoomIn();
  QImage image(1002, 702, QImage::Format_RGB32);
  int64_t frame = 0;
  for (auto _ : state) {
    if (pan) scene.view.centreX = (frame++ % 20) - 10.0;
    QPainter p(&image);
    p.translate(1, 1);
    hcui::paintCanvas(p, scene);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["nodes"] = scene.drawing->nodeCount();
  state.counters["edges"] = scene.drawing->edgeCount();
  state.counters["zoom"] = scene.view.zoom;
}

void BM_RepaintFitted(benchmark::State& s) {
  paintFrames(s, false, 0);
}
void BM_PanFitted(benchmark::State& s) {
  paintFrames(s, true, 0);
}
void BM_ZoomedIn(benchmark::State& s) {
  paintFrames(s, true, 3);
}

void BM_CanvasWidgetFrame(benchmark::State& state) {
  hcui::GraphCanvas canvas;
  canvas.resize(1006, 706);
  const hc::Graph2D* drawing = board().drawing.get();
  canvas.prepare = [drawing](hcui::CanvasScene& scene) {
    scene.drawing = drawing;
    scene.view.zoomToFit(*drawing);
  };
  for (auto _ : state) benchmark::DoNotOptimize(canvas.renderFrame().constBits());
}

BENCHMARK(BM_RepaintFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomedIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasWidgetFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return hc::bench::runOffscreenBenchmarks(argc, argv);
}
