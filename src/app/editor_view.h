// The Graph Editor's view of the world without widgets: zoom (a power of two from 1 to 64),
// view centre, grid spacing and the canvas size, the formulas between world coordinates
// (y up, drawing field -512..512) and canvas pixels (y down), the pen sizes that follow
// the zoom, and zoom to fit. The canvas widget paints with these numbers and the tests
// check them without a display.
#pragma once

#include <cstdint>

#include "editor/graph2d.h"

namespace hc {

class EditorView {
 public:
  static constexpr double kWorldWidth = 1024.0;
  static constexpr double kFieldHalf = 512.0;
  static constexpr int32_t kReferenceZoom = 64;
  static constexpr double kNodeSize = 40.0;
  static constexpr double kEdgeSize = 5.0;
  static constexpr int32_t kMinZoom = 1;
  static constexpr int32_t kMaxZoom = 64;
  static constexpr int32_t kMinGrid = 1;
  static constexpr int32_t kMaxGrid = 512;

  int32_t zoom = 16;
  double centreX = 0.0;
  double centreY = 0.0;
  int32_t gridSpacing = 4;
  int32_t width = 1;  // canvas pixels, at least 1
  int32_t height = 1;

  void setCanvasSize(int32_t w, int32_t h);
  double viewWidth() const { return kWorldWidth / zoom; }
  double viewHeight() const { return viewWidth() * height / width; }

  // World to pixel, truncated toward zero (far-off points are clamped so they stay drawable).
  int32_t pixelX(double x) const;
  int32_t pixelY(double y) const;
  double worldX(double sx) const { return (sx - width / 2.0) / width * viewWidth() + centreX; }
  double worldY(double sy) const { return centreY - (sy - height / 2.0) / height * viewHeight(); }

  // Base edge width and node size in pixels (before truncation).
  double edgeWidth() const { return zoom * kEdgeSize / kReferenceZoom; }
  double nodeSize() const { return zoom * kNodeSize / kReferenceZoom; }
  // A pen width: truncated to whole pixels.
  static int32_t pen(double w) { return static_cast<int32_t>(w); }

  static bool inDrawingField(double x, double y) {
    return x >= -kFieldHalf && x <= kFieldHalf && y >= -kFieldHalf && y <= kFieldHalf;
  }
  // The Z and X keys: doubled (at most 64) / halved (at least 1). True when it changed.
  bool zoomIn();
  bool zoomOut();
  // The grid spin: up halves, down doubles, clamped to 1..512.
  void spinGrid(bool up);

  // The largest zoom at which every node of `drawing` (with its circle) is on the canvas,
  // centred on the nodes' bounding box; an empty drawing gives the default view.
  void zoomToFit(const Graph2D& drawing);
  // A picture of a big graph fits only with dots for nodes: below `leastZoom` (where a node
  // is 5 pixels across) the view zooms in to it, centred on the node nearest the middle, so
  // the first look shows nodes (Zoom To Fit shows the whole). True when it zoomed in.
  bool zoomInToSeeNodes(const Graph2D& drawing, int32_t leastZoom = 8);
};

}  // namespace hc
