#include "report/model/qr_frame.h"

#include "report/model/qr_device.h"

namespace hb9cv {

int TQRFrame::Thickness(Float80 factor) const {
  if (Width == -1) return 1;
  const int thickness = QRRound(factor / 72 * 254 * Width);
  return Width >= 1 && thickness < 1 ? 1 : thickness;
}

int TQRFrame::StoredWidth() const {
  return QRRound(Float80(Width) / 72 * 254);
}

void TQRFrame::Paint(Canvas& canvas, const DeviceRect& r, Float80 xFactor, Float80 yFactor) const {
  if (!AnyFrame()) return;
  const int wx = Thickness(xFactor);
  const int wy = Thickness(yFactor);
  if (DrawTop) canvas.FillRect({r.left, r.top, r.right, r.top + wy}, Color);
  if (DrawBottom) canvas.FillRect({r.left, r.bottom - wy, r.right, r.bottom}, Color);
  if (DrawLeft) canvas.FillRect({r.left, r.top, r.left + wx, r.bottom}, Color);
  if (DrawRight) canvas.FillRect({r.right - wx, r.top, r.right, r.bottom}, Color);
}

void TQRFrame::Paint(QRDevice& device, Float80 left, Float80 top, Float80 right,
                     Float80 bottom) const {
  if (!AnyFrame()) return;
  Paint(device.PageCanvas(),
        {device.XPos(left), device.YPos(top), device.XPos(right), device.YPos(bottom)},
        device.XFactor(), device.YFactor());
}

}  // namespace hb9cv
