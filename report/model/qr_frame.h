#pragma once
// The frame lines around a band, an element or the report's printable area.
#include <QColor>

#include "calc/float80.h"
#include "report/render/canvas.h"

namespace hb9cv {

class QRDevice;

class TQRFrame {
 public:
  QColor Color = Qt::black;
  bool DrawTop = false;
  bool DrawBottom = false;
  bool DrawLeft = false;
  bool DrawRight = false;
  Qt::PenStyle Style = Qt::SolidLine;
  int Width = 1;  // points; -1 is the thinnest line the device can draw

  bool AnyFrame() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
  // Line thickness in device pixels for a factor (pixels per stored unit).
  int Thickness(Float80 factor) const;
  // The frame's width in stored units, by which a framed label moves its text inwards.
  int StoredWidth() const;
  // Draws the chosen sides as filled rectangles inside `rect`.
  void Paint(Canvas& canvas, const DeviceRect& rect, Float80 xFactor, Float80 yFactor) const;
  // The same for a rectangle in stored units on a device.
  void Paint(QRDevice& device, Float80 left, Float80 top, Float80 right, Float80 bottom) const;
};

}  // namespace hb9cv
