#include "report/render/metafile.h"

#include <cmath>

#include "report/render/emf_format.h"

namespace hb9cv {

namespace {

QRect FromLtrb(const emf::Rect32& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

}  // namespace

Metafile::Metafile(QByteArray bytes) : bytes_(std::move(bytes)) {
  const std::optional<emf::HeaderInfo> header =
      emf::ParseHeader(emf::Bytes(bytes_.constData(), static_cast<std::size_t>(bytes_.size())));
  if (!header) return;
  const emf::HeaderInfo& h = *header;
  hasHeader_ = true;
  frame_ = FromLtrb(h.frame);
  bounds_ = FromLtrb(h.bounds);
  // Pixels per 0.01 mm of the reference device; a header without a usable device falls back
  // to the bounds.
  const double fx =
      h.mmWidth > 0 && h.deviceWidth > 0 ? double(h.deviceWidth) / (h.mmWidth * 100.0) : 0;
  const double fy =
      h.mmHeight > 0 && h.deviceHeight > 0 ? double(h.deviceHeight) / (h.mmHeight * 100.0) : 0;
  const double fw = double(h.frame.right) - h.frame.left;
  const double fh = double(h.frame.bottom) - h.frame.top;
  if (fx > 0 && fy > 0 && fw > 0 && fh > 0) {
    deviceFrame_ = QRectF(h.frame.left * fx, h.frame.top * fy, fw * fx, fh * fy);
  } else {
    const double bw = double(h.bounds.right) - h.bounds.left + 1;
    const double bh = double(h.bounds.bottom) - h.bounds.top + 1;
    if (bw > 0 && bh > 0) deviceFrame_ = QRectF(h.bounds.left, h.bounds.top, bw, bh);
  }
  const double w = std::round(deviceFrame_.width());
  const double h2 = std::round(deviceFrame_.height());
  if (w > 0 && h2 > 0 && w < 1e9 && h2 < 1e9) size_ = QSize(int(w), int(h2));
}

bool Metafile::Validate() const {
  return emf::Validate(emf::Bytes(bytes_.constData(), static_cast<std::size_t>(bytes_.size())));
}

}  // namespace hb9cv
