#pragma once
// The drawing surface a report page is built on. One implementation paints with QPainter
// (screen images and printers), another records the page as an enhanced metafile. All
// coordinates are device pixels of the page.
#include <QColor>
#include <QImage>
#include <QString>

namespace hb9cv {

// GDI-style rectangle: right and bottom are exclusive.
struct DeviceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const DeviceRect&) const = default;
};

struct CanvasFont {
  QString family = QStringLiteral("Arial");
  double pointSize = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  QColor color = Qt::black;
  bool operator==(const CanvasFont&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Resolution at which fonts are realised from their point size.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;

  virtual void SetFont(const CanvasFont& font) = 0;
  // Extent of a text in the current font, in device pixels; 0 when it cannot be measured.
  virtual int TextWidth(const QString& text) = 0;
  virtual int TextHeight(const QString& text) = 0;
  // Draws a text whose character cell's top-left corner is (x, y), leaving the background.
  virtual void TextOut(int x, int y, const QString& text) = 0;

  virtual void FillRect(const DeviceRect& rect, const QColor& color) = 0;
  virtual void SetClipRect(const DeviceRect& rect) = 0;
  virtual void ClearClip() = 0;
  // Draws a picture scaled to the target rectangle.
  virtual void StretchDraw(const DeviceRect& target, const QImage& picture) = 0;
};

}  // namespace hb9cv
