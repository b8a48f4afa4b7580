// View geometry of the Graph Editor (see editor_view.h).
#include "app/editor_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hc {

namespace {

int32_t truncated(double v) {
  constexpr double kLimit = 1.0e9;
  if (!(v > -kLimit)) return static_cast<int32_t>(-kLimit);  // also NaN
  if (v > kLimit) return static_cast<int32_t>(kLimit);
  return static_cast<int32_t>(v);
}

}  // namespace

void EditorView::setCanvasSize(int32_t w, int32_t h) {
  width = std::max(1, w);
  height = std::max(1, h);
}

int32_t EditorView::pixelX(double x) const {
  return truncated((x - (centreX - viewWidth() / 2)) / viewWidth() * width);
}

int32_t EditorView::pixelY(double y) const {
  return truncated((viewHeight() / 2 + centreY - y) / viewHeight() * height);
}

bool EditorView::zoomIn() {
  if (zoom > kMaxZoom / 2) return false;
  zoom *= 2;
  return true;
}

bool EditorView::zoomOut() {
  if (zoom < 2 * kMinZoom) return false;
  zoom /= 2;
  return true;
}

void EditorView::spinGrid(bool up) {
  gridSpacing = std::clamp(up ? gridSpacing / 2 : gridSpacing * 2, kMinGrid, kMaxGrid);
}

void EditorView::zoomToFit(const Graph2D& drawing) {
  double left = std::numeric_limits<double>::infinity(), right = -left, bottom = left, top = -left;
  auto extend = [&](const Graph2D::NodeList& list) {
    for (const auto& n : list) {
      left = std::min(left, n->x - n->radius);
      right = std::max(right, n->x + n->radius);
      bottom = std::min(bottom, n->y - n->radius);
      top = std::max(top, n->y + n->radius);
    }
  };
  extend(drawing.unselectedNodes);
  extend(drawing.selectedNodes);
  if (drawing.nodeCount() == 0) {
    zoom = 16;
    centreX = centreY = 0.0;
    return;
  }
  centreX = (left + right) / 2;
  centreY = (bottom + top) / 2;
  // The node circle on screen is nodeSize()/2 pixels, not the world radius; keep a margin
  // of one such radius on every side.
  for (zoom = kMaxZoom; zoom > kMinZoom; zoom /= 2) {
    const double margin = nodeSize() / 2 + 1;  // pixels
    const double usableW = width - 2 * margin, usableH = height - 2 * margin;
    if (usableW <= 0 || usableH <= 0) continue;
    const double worldPerPixel = viewWidth() / width;
    if ((right - left) <= usableW * worldPerPixel && (top - bottom) <= usableH * worldPerPixel) break;
  }
}

bool EditorView::zoomInToSeeNodes(const Graph2D& drawing, int32_t leastZoom) {
  if (zoom >= leastZoom || drawing.nodeCount() == 0) return false;
  const double middleX = centreX, middleY = centreY;
  double best = std::numeric_limits<double>::infinity();
  for (const Graph2D::NodeList* list : {&drawing.unselectedNodes, &drawing.selectedNodes})
    for (const auto& n : *list) {
      const double d = (n->x - middleX) * (n->x - middleX) + (n->y - middleY) * (n->y - middleY);
      if (d < best) {
        best = d;
        centreX = n->x;
        centreY = n->y;
      }
    }
  zoom = leastZoom;
  return true;
}

}  // namespace hc
