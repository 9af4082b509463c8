#include "report/render/emf_player.h"

#include "report/render/emf_player_state.h"

// The record loop: each record the player understands changes the drawing state or draws.

namespace hb9cv {

namespace emf_play {

void Player::Play(const Record& r) {
  const Bytes b = r.bytes;
  auto point = [&b](std::uint64_t at) {
    return QPointF(b.Get<std::int32_t>(at), b.Get<std::int32_t>(at + 4));
  };
  // clang-format off
  switch (r.type) {
    case emf::kSetMapMode: {
      const auto mode = b.Get<std::uint32_t>(8);
      if (mode >= kMmText && mode <= kMmAnisotropic) dc_.mapMode = mode;
      break;
    }
    case emf::kSetWindowExtEx:
    case emf::kSetViewportExtEx: {
      const QPointF ext = point(8);
      if (ext.x() == 0 || ext.y() == 0) break;
      (r.type == emf::kSetWindowExtEx ? dc_.windowExt : dc_.viewportExt) = QSizeF(ext.x(), ext.y());
      break;
    }
    case emf::kSetWindowOrgEx: dc_.windowOrg = point(8); break;
    case emf::kSetViewportOrgEx: dc_.viewportOrg = point(8); break;
    case emf::kScaleViewportExtEx:
    case emf::kScaleWindowExtEx: ScaleExtent(r); break;
    case emf::kSetWorldTransform:
    case emf::kModifyWorldTransform: WorldTransform(r); break;
    case emf::kSaveDc:
      if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
      break;
    case emf::kRestoreDc: RestoreDc(b.Get<std::int32_t>(8)); break;
    case emf::kSetBkMode: dc_.bkMode = b.Get<std::uint32_t>(8); break;
    case emf::kSetPolyFillMode:
      dc_.fillRule = b.Get<std::uint32_t>(8) == kWinding ? Qt::WindingFill : Qt::OddEvenFill;
      break;
    case emf::kSetTextAlign: dc_.textAlign = b.Get<std::uint32_t>(8); break;
    case emf::kSetTextColor: dc_.textColor = Color(b.Get<std::uint32_t>(8)); break;
    case emf::kSetBkColor: dc_.bkColor = Color(b.Get<std::uint32_t>(8)); break;
    case emf::kMoveToEx: dc_.position = point(8); break;
    case emf::kLineTo: LineTo(point(8)); break;
    case emf::kIntersectClipRect: ClipRect(r, false); break;
    case emf::kExcludeClipRect: ClipRect(r, true); break;
    case emf::kExtSelectClipRgn: SelectClipRegion(r); break;
    case emf::kOffsetClipRgn: OffsetClip(point(8)); break;
    case emf::kSelectObject: SelectObject(b.Get<std::uint32_t>(8)); break;
    case emf::kDeleteObject: objects_.erase(b.Get<std::uint32_t>(8)); break;
    case emf::kCreatePen:
    case emf::kExtCreatePen:
    case emf::kCreateBrushIndirect:
    case emf::kCreateMonoBrush:
    case emf::kCreateDibPatternBrushPt:
    case emf::kExtCreateFontIndirectW:
      CreateObject(r);
      break;
    case emf::kRectangle:
    case emf::kEllipse:
      Shape(r);
      break;
    case emf::kPolygon: case emf::kPolyline: case emf::kPolyBezier: case emf::kPolylineTo:
    case emf::kPolyBezierTo:
      Poly(r, false);
      break;
    case emf::kPolygon16: case emf::kPolyline16: case emf::kPolyBezier16: case emf::kPolylineTo16:
    case emf::kPolyBezierTo16:
      Poly(r, true);
      break;
    case emf::kPolyPolygon: PolyPoly(r, false, true); break;
    case emf::kPolyPolyline: PolyPoly(r, false, false); break;
    case emf::kPolyPolygon16: PolyPoly(r, true, true); break;
    case emf::kPolyPolyline16: PolyPoly(r, true, false); break;
    case emf::kExtTextOutW: Text(r, true); break;
    case emf::kExtTextOutA: Text(r, false); break;
    case emf::kBitBlt:
    case emf::kStretchBlt:
      Blit(r);
      break;
    case emf::kStretchDiBits: StretchDib(r); break;
    default: break;  // known to the format, no visible effect here
  }
  // clang-format on
}

void Player::ScaleExtent(const Record& r) {
  const Bytes b = r.bytes;
  const double xn = b.Get<std::int32_t>(8), xd = b.Get<std::int32_t>(12);
  const double yn = b.Get<std::int32_t>(16), yd = b.Get<std::int32_t>(20);
  if (xn == 0 || xd == 0 || yn == 0 || yd == 0) return;
  QSizeF& ext = r.type == emf::kScaleWindowExtEx ? dc_.windowExt : dc_.viewportExt;
  const QSizeF scaled(ext.width() * xn / xd, ext.height() * yn / yd);
  if (std::abs(scaled.width()) < 1e12 && std::abs(scaled.height()) < 1e12 && scaled.width() != 0 &&
      scaled.height() != 0) {
    ext = scaled;
  }
}

void Player::WorldTransform(const Record& r) {
  const Bytes b = r.bytes;
  float m[6];
  for (int i = 0; i < 6; ++i) m[i] = b.Get<float>(8 + 4u * std::uint32_t(i));
  const QTransform x(m[0], m[1], m[2], m[3], m[4], m[5]);
  const auto mode = r.type == emf::kSetWorldTransform ? kMwtSet : b.Get<std::uint32_t>(32);
  QTransform next = dc_.world;
  if (mode == kMwtIdentity) next = QTransform();
  if (mode == kMwtLeftMultiply) next = x * dc_.world;
  if (mode == kMwtRightMultiply) next = dc_.world * x;
  if (mode == kMwtSet) next = x;
  if (Finite(next)) dc_.world = next;
}

void Player::RestoreDc(std::int32_t n) {
  // Negative: that many states back; positive: the n-th state saved.
  const std::int64_t depth = std::int64_t(saved_.size());
  const std::int64_t keep = n < 0 ? depth + n : std::int64_t(n) - 1;
  if (keep < 0 || keep >= depth) return;
  dc_ = saved_[std::size_t(keep)];
  saved_.resize(std::size_t(keep));
  ApplyClip();
}

void Player::LineTo(const QPointF& to) {
  if (BeginDraw()) {
    p_.setPen(MakePen());
    p_.drawLine(dc_.position, to);
  }
  dc_.position = to;
}

void Player::OffsetClip(const QPointF& offset) {
  if (!dc_.clip) return;
  const QTransform t = PageTransform();
  const double ox = offset.x() * t.m11(), oy = offset.y() * t.m22();
  if (std::abs(ox) < kRegionLimit && std::abs(oy) < kRegionLimit) {
    SetClip(dc_.clip->translated(int(std::lround(ox)), int(std::lround(oy))));
  }
}

}  // namespace emf_play

bool PlayEmf(QPainter& painter, const Metafile& page, const QRectF& target) {
  using emf_play::Player;
  const emf::Bytes bytes(page.Bytes().constData(), std::size_t(page.Bytes().size()));
  const std::optional<emf::HeaderInfo> header = emf::ParseHeader(bytes);
  if (!header || !emf::Validate(bytes)) return false;
  const QRectF frame = page.DeviceFrame();
  if (!painter.isActive() || !(frame.width() > 0) || !(frame.height() > 0) || !target.isValid())
    return false;
  if (!std::isfinite(target.width()) || !std::isfinite(target.height())) return false;
  Player player(painter, *header, frame, target);
  emf::RecordReader reader(bytes);
  while (const std::optional<emf::Record> record = reader.Next()) {
    if (record->safe && emf::IsPlayedType(record->type)) player.Play(*record);
  }
  return true;
}

QImage RenderPage(const Metafile& page, QSize size) {
  if (size.isEmpty()) return {};
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const bool ok = PlayEmf(painter, page, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  return ok ? image : QImage();
}

}  // namespace hb9cv
