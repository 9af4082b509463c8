#include "report/render/qpainter_canvas.h"

#include <cmath>

#include "report/render/fonts.h"

namespace hb9cv {

QRect ToQRect(const DeviceRect& rect) {
  return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QPainterCanvas::QPainterCanvas(QPainter& painter, int dpiX, int dpiY)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY) {
  SetFont(CanvasFont{});
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform);
}

void QPainterCanvas::SetFont(const CanvasFont& font) {
  if (metrics_ && font == canvasFont_) return;
  canvasFont_ = font;
  font_ = RealiseFont(font, dpiY_);
  painter_.setFont(font_);
  painter_.setPen(font.color);
  // Metrics of the painter's device, so that a printer's own font resolution is honoured.
  metrics_.emplace(font_, painter_.device());
}

const QFontMetrics& QPainterCanvas::Metrics() {
  return *metrics_;
}

int QPainterCanvas::TextWidth(const QString& text) {
  return std::max(0, Metrics().horizontalAdvance(text));
}

int QPainterCanvas::TextHeight(const QString&) {
  // The character cell's height, the same for every text of the font.
  return std::max(0, Metrics().height());
}

void QPainterCanvas::TextOut(int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  painter_.drawText(QPoint(x, y + Metrics().ascent()), text);
}

void QPainterCanvas::FillRect(const DeviceRect& rect, const QColor& color) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_.fillRect(ToQRect(rect), color);
}

void QPainterCanvas::SetClipRect(const DeviceRect& rect) {
  painter_.setClipRect(ToQRect(rect).normalized());
}

void QPainterCanvas::ClearClip() {
  painter_.setClipping(false);
}

void QPainterCanvas::StretchDraw(const DeviceRect& target, const QImage& picture) {
  if (picture.isNull() || target.Width() == 0 || target.Height() == 0) return;
  painter_.drawImage(ToQRect(target), picture);
}

ScreenMeasureCanvas::ScreenMeasureCanvas() : ScreenMeasureCanvas(ScreenPixelsPerInch()) {}

ScreenMeasureCanvas::ScreenMeasureCanvas(int dpi) : image_(1, 1, QImage::Format_RGB32) {
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  image_.setDotsPerMeterX(dotsPerMeter);
  image_.setDotsPerMeterY(dotsPerMeter);
  image_.fill(Qt::white);
  painter_.begin(&image_);
  canvas_.emplace(painter_, dpi, dpi);
}

ScreenMeasureCanvas::~ScreenMeasureCanvas() {
  canvas_.reset();
  painter_.end();
}

}  // namespace hb9cv
