#pragma once
// A drawing surface on a QPainter: screen images, page images at any resolution and printers.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <optional>

#include "report/render/canvas.h"

namespace hb9cv {

class QPainterCanvas : public Canvas {
 public:
  // `painter` must be active and outlive the canvas; fonts are realised at dpiY.
  QPainterCanvas(QPainter& painter, int dpiX, int dpiY);

  int DpiX() const override { return dpiX_; }
  int DpiY() const override { return dpiY_; }

  void SetFont(const CanvasFont& font) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void TextOut(int x, int y, const QString& text) override;

  void FillRect(const DeviceRect& rect, const QColor& color) override;
  void SetClipRect(const DeviceRect& rect) override;
  void ClearClip() override;
  void StretchDraw(const DeviceRect& target, const QImage& picture) override;

  const QFont& Font() const { return font_; }

 private:
  const QFontMetrics& Metrics();

  QPainter& painter_;
  int dpiX_;
  int dpiY_;
  CanvasFont canvasFont_;
  QFont font_;
  std::optional<QFontMetrics> metrics_;
};

// A screen-compatible surface without a window: a tiny image at the screen's resolution,
// used to measure text the way it will look on a page built for the screen.
class ScreenMeasureCanvas : public Canvas {
 public:
  ScreenMeasureCanvas();
  explicit ScreenMeasureCanvas(int dpi);
  ~ScreenMeasureCanvas() override;

  int DpiX() const override { return canvas_->DpiX(); }
  int DpiY() const override { return canvas_->DpiY(); }
  void SetFont(const CanvasFont& font) override { canvas_->SetFont(font); }
  int TextWidth(const QString& text) override { return canvas_->TextWidth(text); }
  int TextHeight(const QString& text) override { return canvas_->TextHeight(text); }
  void TextOut(int x, int y, const QString& text) override { canvas_->TextOut(x, y, text); }
  void FillRect(const DeviceRect& rect, const QColor& color) override {
    canvas_->FillRect(rect, color);
  }
  void SetClipRect(const DeviceRect& rect) override { canvas_->SetClipRect(rect); }
  void ClearClip() override { canvas_->ClearClip(); }
  void StretchDraw(const DeviceRect& target, const QImage& picture) override {
    canvas_->StretchDraw(target, picture);
  }

 private:
  QImage image_;
  QPainter painter_;
  std::optional<QPainterCanvas> canvas_;
};

QRect ToQRect(const DeviceRect& rect);

}  // namespace hb9cv
