// The canvas painter and widget (see graph_canvas.h).
#include "ui/graph_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "editor/drawing_conversion.h"

namespace hcui {

namespace {

QPen penOf(const QColor& colour, int width, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(colour, width, style);  // width 0: one pixel
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

void paintGrid(QPainter& p, const CanvasScene& s) {
  const hc::EditorView& v = s.view;
  const double w = v.edgeWidth();
  auto line = [&](double x1, double y1, double x2, double y2) {
    p.drawLine(QPoint(v.pixelX(x1), v.pixelY(y1)), QPoint(v.pixelX(x2), v.pixelY(y2)));
  };
  if (s.showGrid) {
    p.setPen(penOf(QColor(230, 230, 230), hc::EditorView::pen(0.25 * w)));
    const int k = 512 / std::max(1, v.gridSpacing);
    for (int i = 0; i <= k; ++i) {
      const double d = static_cast<double>(i) / k * 512.0;
      line(d, -512, d, 512);
      line(-512, d, 512, d);
      line(-d, -512, -d, 512);
      line(-512, -d, 512, -d);
    }
    p.setPen(penOf(QColor(150, 150, 150), hc::EditorView::pen(0.5 * w)));
    line(0, -1024, 0, 1024);
    line(-1024, 0, 1024, 0);
  }
  p.setPen(penOf(QColor(150, 150, 150), hc::EditorView::pen(0.5 * w)));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(QPoint(v.pixelX(-512), v.pixelY(512)), QPoint(v.pixelX(512), v.pixelY(-512))));
}

void paintNodes(QPainter& p, const CanvasScene& s, const hc::Graph2D::NodeList& nodes, const QColor& fill) {
  const hc::EditorView& v = s.view;
  const double r = std::max(v.nodeSize() / 2, 1.0);
  p.setPen(penOf(QColor(0, 0, 255), hc::EditorView::pen(0.05 * v.nodeSize())));
  p.setBrush(fill);
  const QRectF visible(-r - 2, -r - 2, v.width + 2 * r + 4, v.height + 2 * r + 4);
  for (const auto& n : nodes) {
    const QPointF at(v.pixelX(n->x), v.pixelY(n->y));
    if (visible.contains(at)) p.drawEllipse(at, r, r);
  }
}

}  // namespace

void paintCanvas(QPainter& p, const CanvasScene& s) {
  const hc::EditorView& v = s.view;
  p.fillRect(QRect(-1, -1, v.width + 2, v.height + 2), Qt::white);
  paintGrid(p, s);
  const double w = v.edgeWidth();
  if (s.drawingEdge) {
    p.setPen(penOf(QColor(0, 0, 255), hc::EditorView::pen(w)));
    p.drawLine(s.start, s.end);
  }
  if (s.drawing) {
    // Edges are batched per style (one pen change and one call each); where edges cross,
    // the deleted ones lie at the bottom and the selected ones on top.
    const QRect visible(0, 0, v.width, v.height);
    constexpr int kStyles = 6;
    std::vector<QLine> lines[kStyles];
    QPainterPath curves[kStyles];
    const hc::Graph* colouring = s.forcedBy ? s.forcedBy : s.working;
    for (const hc::StyledEdge& e : hc::edgeStyles(*s.drawing, colouring, s.programState, s.algorithmChoice)) {
      const hc::Graph2DNode &n1 = *e.edge->node1, &n2 = *e.edge->node2;
      const QPoint a(v.pixelX(n1.x), v.pixelY(n1.y));
      const QPoint b(v.pixelX(n2.x), v.pixelY(n2.y));
      const int style = static_cast<int>(e.style) % kStyles;
      const auto bend = s.bends ? s.bends->find(e.edge) : EdgeBends::const_iterator();
      if (s.bends && bend != s.bends->end()) {
        // Bowed to the left of the way from the smaller id to the larger.
        const bool forward = n1.id < n2.id;
        const hc::Graph2DNode &from = forward ? n1 : n2, &to = forward ? n2 : n1;
        const auto [c1, c2] = bendControls(from.x, from.y, to.x, to.y, bend->second);
        curves[style].moveTo(v.pixelX(from.x), v.pixelY(from.y));
        curves[style].cubicTo(v.pixelX(c1.first), v.pixelY(c1.second), v.pixelX(c2.first),
                              v.pixelY(c2.second), v.pixelX(to.x), v.pixelY(to.y));
        continue;
      }
      if (!visible.intersects(QRect(a, b).normalized().adjusted(-4, -4, 4, 4))) continue;
      lines[style].emplace_back(a, b);
    }
    for (int style : {4, 0, 5, 2, 3, 1}) {
      if (lines[style].empty() && curves[style].isEmpty()) continue;
      const hc::EdgeStyleLook look = hc::edgeStyleLook(static_cast<hc::EdgeStyle>(style));
      p.setPen(penOf(QColor(look.red, look.green, look.blue), hc::EditorView::pen(look.widthFactor * w),
                     look.dotted ? Qt::DotLine : Qt::SolidLine));
      p.drawLines(lines[style].data(), static_cast<int>(lines[style].size()));
      if (!curves[style].isEmpty()) {
        p.setBrush(Qt::NoBrush);
        p.drawPath(curves[style]);
      }
    }
    paintNodes(p, s, s.drawing->unselectedNodes, QColor(255, 255, 0));
    paintNodes(p, s, s.drawing->selectedNodes, QColor(255, 0, 0));
  }
  if (s.selectingRectangle) {
    p.setPen(penOf(QColor(255, 0, 0), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(s.start, s.end).normalized());
  }
  if (s.rotationMode) {
    const QPoint c = s.rotationCentre;
    p.setPen(penOf(QColor(255, 0, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(c), 50, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QPointF(c), 5, 5);
    if (s.rotationCurrent != c) {
      const double dx = s.rotationCurrent.x() - c.x(), dy = s.rotationCurrent.y() - c.y();
      const double len = std::hypot(dx, dy);
      p.setPen(penOf(QColor(255, 0, 0), 3));
      p.drawLine(QPointF(c), QPointF(c.x() + dx / len * 50, c.y() + dy / len * 50));
    }
  }
  if (!s.note.isEmpty()) {
    p.setPen(QColor(60, 60, 60));
    QFont font = p.font();
    font.setPointSize(12);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, v.width, v.height), Qt::AlignCenter | Qt::TextWordWrap, s.note);
  }
}

GraphCanvas::GraphCanvas(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(200, 200);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage GraphCanvas::renderFrame() {
  const int w = canvasWidth(), h = canvasHeight();
  QImage image(w + 2, h + 2, QImage::Format_RGB32);
  CanvasScene scene;
  scene.view.setCanvasSize(w, h);
  if (prepare) prepare(scene);
  QPainter p(&image);
  p.translate(1, 1);
  paintCanvas(p, scene);
  return image;
}

void GraphCanvas::paintEvent(QPaintEvent*) {
  const QImage frame = renderFrame();
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  p.setPen(QColor(128, 128, 128));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.drawImage(QPoint(2, 2), frame);
}

void GraphCanvas::mousePressEvent(QMouseEvent* e) {
  if (onPress) onPress(e, toCanvas(e->position()));
}
void GraphCanvas::mouseReleaseEvent(QMouseEvent* e) {
  if (onRelease) onRelease(e, toCanvas(e->position()));
}
void GraphCanvas::mouseMoveEvent(QMouseEvent* e) {
  if (onMove) onMove(e, toCanvas(e->position()));
}
void GraphCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
  if (onDoubleClick) onDoubleClick(e, toCanvas(e->position()));
}
void GraphCanvas::wheelEvent(QWheelEvent* e) {
  if (onWheel) onWheel(e, toCanvas(e->position()));
}
void GraphCanvas::leaveEvent(QEvent*) {
  if (onLeave) onLeave();
}

}  // namespace hcui
