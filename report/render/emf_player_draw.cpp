// The player's drawing: map modes and clipping, pens, brushes and fonts, shapes, pictures and
// the object table.
#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>

#include "report/render/emf_player_state.h"

namespace hb9cv::emf_play {

QTransform Player::PageTransform() const {
  double sx = 1, sy = 1;
  switch (dc_.mapMode) {
    case kMmLoMetric:
      sx = pxPerMmX_ / 10;
      sy = -pxPerMmY_ / 10;
      break;
    case kMmHiMetric:
      sx = pxPerMmX_ / 100;
      sy = -pxPerMmY_ / 100;
      break;
    case kMmLoEnglish:
      sx = pxPerMmX_ * 0.254;
      sy = -pxPerMmY_ * 0.254;
      break;
    case kMmHiEnglish:
      sx = pxPerMmX_ * 0.0254;
      sy = -pxPerMmY_ * 0.0254;
      break;
    case kMmTwips:
      sx = pxPerMmX_ * 25.4 / 1440;
      sy = -pxPerMmY_ * 25.4 / 1440;
      break;
    case kMmIsotropic:
    case kMmAnisotropic:
      sx = dc_.viewportExt.width() / dc_.windowExt.width();
      sy = dc_.viewportExt.height() / dc_.windowExt.height();
      if (dc_.mapMode == kMmIsotropic) {
        const double s = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(s, sx);
        sy = std::copysign(s, sy);
      }
      break;
    default:
      break;
  }
  return QTransform::fromTranslate(-dc_.windowOrg.x(), -dc_.windowOrg.y()) *
         QTransform::fromScale(sx, sy) *
         QTransform::fromTranslate(dc_.viewportOrg.x(), dc_.viewportOrg.y());
}

bool Player::BeginDraw() {
  const QTransform t = LogicalToDevice() * base_;
  if (!Finite(t)) return false;
  UpdatePainterClip();
  p_.setTransform(t);
  return true;
}

void Player::UpdatePainterClip() {
  if (!clipDirty_) return;
  clipDirty_ = false;
  // Back to the caller's own clip, then narrow it to the target and the picture's clip.
  p_.restore();
  p_.save();
  p_.setTransform(original_);
  p_.setClipRect(target_, Qt::IntersectClip);
  if (dc_.clip) {
    p_.setTransform(base_);
    p_.setClipRegion(*dc_.clip, Qt::IntersectClip);
  }
}

QRegion Player::DeviceRegion(const QRectF& logical) const {
  const QTransform t = LogicalToDevice();
  if (!Finite(t)) return {};
  const QPolygonF corners = t.map(QPolygonF(logical));
  const QRectF box = corners.boundingRect();
  constexpr double kLimit = kRegionLimit;
  if (!(box.left() > -kLimit && box.right() < kLimit && box.top() > -kLimit &&
        box.bottom() < kLimit)) {
    return {};
  }
  if (t.type() <= QTransform::TxScale) {
    const int left = int(std::lround(box.left())), top = int(std::lround(box.top()));
    const int right = int(std::lround(box.right())), bottom = int(std::lround(box.bottom()));
    return QRegion(left, top, right - left, bottom - top);
  }
  // A turned rectangle becomes a region scan line by scan line: only the part that can be seen
  // is worth that (a far-reaching one took seconds and a gigabyte).
  const QPolygonF visible = corners.intersected(QPolygonF(frame_.adjusted(-16, -16, 16, 16)));
  return QRegion(visible.toPolygon());
}

void Player::ClipRect(const Record& r, bool exclude) {
  const std::optional<emf::Rect32> rc = r.bytes.Read<emf::Rect32>(8);
  if (!rc) return;
  const QRegion area =
      DeviceRegion(QRectF(QPointF(rc->left, rc->top), QPointF(rc->right, rc->bottom)).normalized());
  if (exclude) {
    SetClip(dc_.clip.value_or(Everywhere()).subtracted(area));
  } else {
    SetClip(dc_.clip ? dc_.clip->intersected(area) : area);
  }
}

void Player::SelectClipRegion(const Record& r) {
  const Bytes b = r.bytes;
  const auto cbData = b.Get<std::uint32_t>(8);
  const auto mode = b.Get<std::uint32_t>(12);
  if (mode == kRgnCopy && cbData == 0) {
    SetClip(std::nullopt);  // back to the whole picture
    return;
  }
  if (cbData < 32 || !b.Has(16, cbData)) return;
  const Bytes rgn = b.Slice(16, cbData);
  const auto count = rgn.Get<std::uint32_t>(8);
  if (count > kMaxRegionRects || !rgn.Has(32, std::uint64_t(count) * 16)) return;
  QRegion region;
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto rc = rgn.Get<emf::Rect32>(32 + std::uint64_t(i) * 16);
    constexpr std::int32_t kLimit = kRegionLimit;
    if (std::abs(rc.left) > kLimit || std::abs(rc.right) > kLimit || std::abs(rc.top) > kLimit ||
        std::abs(rc.bottom) > kLimit) {
      continue;
    }
    region += QRect(QPoint(rc.left, rc.top), QPoint(rc.right - 1, rc.bottom - 1)).normalized();
  }
  const QRegion current = dc_.clip.value_or(Everywhere());
  switch (mode) {
    case kRgnAnd:
      SetClip(current.intersected(region));
      break;
    case kRgnOr:
      SetClip(current.united(region));
      break;
    case kRgnXor:
      SetClip(current.xored(region));
      break;
    case kRgnDiff:
      SetClip(current.subtracted(region));
      break;
    case kRgnCopy:
      SetClip(region);
      break;
    default:
      break;
  }
}

void Player::Fill(const QRectF& rect, const QBrush& brush) {
  const QTransform t = p_.transform();
  const QRectF visible = original_.mapRect(target_).adjusted(-2, -2, 2, 2);
  if (t.type() <= QTransform::TxScale && brush.style() == Qt::SolidPattern) {
    const QRectF device = t.mapRect(rect.normalized()).intersected(visible);
    if (device.isEmpty()) return;
    p_.save();
    p_.resetTransform();
    p_.fillRect(device, brush);
    p_.restore();
    return;
  }
  const QRectF device = t.mapRect(rect);
  if (std::abs(device.left()) > kMaxCoordinate || std::abs(device.right()) > kMaxCoordinate ||
      std::abs(device.top()) > kMaxCoordinate || std::abs(device.bottom()) > kMaxCoordinate) {
    return;
  }
  p_.fillRect(rect, brush);
}

QPen Player::MakePen() const {
  if (dc_.pen.null) return Qt::NoPen;
  QPen pen(dc_.pen.color);
  pen.setStyle(dc_.pen.style);
  pen.setCapStyle(dc_.pen.cap);
  pen.setJoinStyle(dc_.pen.join);
  if (dc_.pen.width <= 0) {
    pen.setWidth(0);  // one pixel of the target, whatever the mapping
    pen.setCosmetic(true);
  } else {
    // A pen wider than the whole picture draws nothing new, only work.
    const QTransform t = p_.transform();
    const double scale = std::sqrt(std::abs(t.determinant()));
    const double limit = 4 * std::max(target_.width(), target_.height()) + 16;
    pen.setWidthF(scale > 0 ? std::min(dc_.pen.width, limit / scale) : dc_.pen.width);
  }
  return pen;
}

QBrush Player::MakeBrush() const {
  if (dc_.brush.null) return Qt::NoBrush;
  if (!dc_.brush.pattern.isNull()) return QBrush(dc_.brush.pattern);
  return QBrush(dc_.brush.color, dc_.brush.style);
}

QFont Player::MakeFont(double* pixelHeight) const {
  const FontSpec& f = dc_.font;
  QFont font(f.face.isEmpty() ? QStringLiteral("Arial") : f.face);
  double height = 12;
  if (f.height < 0) {
    height = -double(f.height);
  } else if (f.height > 0) {
    // A positive height is the character cell; the em is the part without internal leading.
    QFont probe = font;
    probe.setPixelSize(100);
    const QFontMetricsF fm(probe);
    height = fm.height() > 0 ? f.height * 100.0 / fm.height() : f.height;
  }
  font.setPixelSize(std::max(1, int(std::lround(std::min(height, 1e6)))));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
  font.setItalic(f.italic);
  font.setUnderline(f.underline);
  font.setStrikeOut(f.strikeOut);
  font.setKerning(false);  // the system lays text out without kerning pairs
  *pixelHeight = height;
  return font;
}

void Player::Shape(const Record& r) {
  const std::optional<emf::Rect32> rc = r.bytes.Read<emf::Rect32>(8);
  if (!rc || !BeginDraw()) return;
  QRectF box = QRectF(QPointF(rc->left, rc->top), QPointF(rc->right, rc->bottom)).normalized();
  if (r.type == emf::kEllipse) {
    p_.setPen(MakePen());
    p_.setBrush(MakeBrush());
    p_.drawEllipse(box);
    return;
  }
  // The rectangle covers [left, right) with its border; without a pen one pixel less.
  if (dc_.pen.null) {
    box.setWidth(box.width() - 1);
    box.setHeight(box.height() - 1);
    if (box.width() > 0 && box.height() > 0 && !dc_.brush.null) Fill(box, MakeBrush());
    return;
  }
  if (!dc_.brush.null) Fill(box, MakeBrush());
  p_.setPen(MakePen());
  p_.setBrush(Qt::NoBrush);
  p_.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
}

void Player::Poly(const Record& r, bool sixteen) {
  const Bytes b = r.bytes;
  const auto count = b.Get<std::uint32_t>(24);
  const std::uint64_t size = sixteen ? 4 : 8;
  if (count == 0 || !b.Has(28, count * size)) return;
  QPolygonF points;
  points.reserve(qsizetype(count));
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t at = 28 + i * size;
    if (sixteen) {
      points.append(QPointF(b.Get<std::int16_t>(at), b.Get<std::int16_t>(at + 2)));
    } else {
      points.append(QPointF(b.Get<std::int32_t>(at), b.Get<std::int32_t>(at + 4)));
    }
  }
  const std::uint32_t type = r.type;
  const bool to = type == emf::kPolylineTo || type == emf::kPolylineTo16 ||
                  type == emf::kPolyBezierTo || type == emf::kPolyBezierTo16;
  const bool bezier = type == emf::kPolyBezier || type == emf::kPolyBezier16 ||
                      type == emf::kPolyBezierTo || type == emf::kPolyBezierTo16;
  if (to) points.prepend(dc_.position);
  if (to) dc_.position = points.back();
  if (!BeginDraw()) return;
  p_.setPen(MakePen());
  if (type == emf::kPolygon || type == emf::kPolygon16) {
    p_.setBrush(MakeBrush());
    p_.drawPolygon(points, dc_.fillRule);
  } else if (bezier) {
    QPainterPath path(points.front());
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
      path.cubicTo(points[i], points[i + 1], points[i + 2]);
    p_.setBrush(Qt::NoBrush);
    p_.drawPath(path);
  } else {
    p_.drawPolyline(points);
  }
}

void Player::PolyPoly(const Record& r, bool sixteen, bool polygon) {
  const Bytes b = r.bytes;
  const auto polys = b.Get<std::uint32_t>(24);
  const auto total = b.Get<std::uint32_t>(28);
  const std::uint64_t size = sixteen ? 4 : 8;
  if (polys == 0 || !b.Has(32, std::uint64_t(polys) * 4)) return;
  const std::uint64_t pointsAt = 32 + std::uint64_t(polys) * 4;
  if (!b.Has(pointsAt, std::uint64_t(total) * size)) return;
  std::uint64_t sum = 0;
  for (std::uint32_t i = 0; i < polys; ++i) sum += b.Get<std::uint32_t>(32 + std::uint64_t(i) * 4);
  if (sum != total) return;
  QPainterPath path;
  path.setFillRule(dc_.fillRule);
  std::uint64_t at = pointsAt;
  for (std::uint32_t i = 0; i < polys; ++i) {
    const auto n = b.Get<std::uint32_t>(32 + std::uint64_t(i) * 4);
    QPolygonF poly;
    poly.reserve(qsizetype(n));
    for (std::uint32_t k = 0; k < n; ++k, at += size) {
      poly.append(sixteen ? QPointF(b.Get<std::int16_t>(at), b.Get<std::int16_t>(at + 2))
                          : QPointF(b.Get<std::int32_t>(at), b.Get<std::int32_t>(at + 4)));
    }
    if (polygon && !poly.isEmpty()) poly.append(poly.front());
    path.addPolygon(poly);
  }
  if (!BeginDraw()) return;
  p_.setPen(MakePen());
  p_.setBrush(polygon ? MakeBrush() : QBrush(Qt::NoBrush));
  p_.drawPath(path);
}

void Player::DrawImage(const QRectF& dest, QImage image, QRectF source, std::uint32_t rop) {
  if (image.isNull() || dest.width() == 0 || dest.height() == 0) return;
  source = source.normalized().intersected(QRectF(image.rect()));
  if (source.isEmpty()) return;
  QRectF target = dest;
  // Negative extents mirror the picture.
  const bool flipX = target.width() < 0, flipY = target.height() < 0;
  if (flipX || flipY) {
    image = image.copy(source.toAlignedRect()).mirrored(flipX, flipY);
    source = QRectF(image.rect());
    target = target.normalized();
  }
  if (rop == kNotSrcCopy) {
    image = image.convertToFormat(QImage::Format_RGB32);
    image.invertPixels();
  }
  if (!BeginDraw()) return;
  const QRectF onTarget = p_.transform().mapRect(target);
  if (std::abs(onTarget.left()) > kMaxCoordinate || std::abs(onTarget.right()) > kMaxCoordinate ||
      std::abs(onTarget.top()) > kMaxCoordinate || std::abs(onTarget.bottom()) > kMaxCoordinate) {
    return;
  }
  p_.setCompositionMode(rop == kSrcAnd     ? QPainter::CompositionMode_Multiply
                        : rop == kSrcPaint ? QPainter::CompositionMode_Lighten
                                           : QPainter::CompositionMode_SourceOver);
  p_.drawImage(target, image, source);
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Player::Blit(const Record& r) {
  const Bytes b = r.bytes;
  const QRectF dest(b.Get<std::int32_t>(24), b.Get<std::int32_t>(28), b.Get<std::int32_t>(32),
                    b.Get<std::int32_t>(36));
  const auto rop = b.Get<std::uint32_t>(40);
  const auto cbBmi = b.Get<std::uint32_t>(88);
  if (cbBmi == 0) {
    // No source bitmap: a pattern or constant fill of the destination.
    if (!BeginDraw()) return;
    const QRectF area = dest.normalized();
    if (rop == kPatCopy && !dc_.brush.null) Fill(area, MakeBrush());
    if (rop == kBlackness) Fill(area, Qt::black);
    if (rop == kWhiteness) Fill(area, Qt::white);
    return;
  }
  const QImage image = DecodeDib(b, b.Get<std::uint32_t>(84), cbBmi, b.Get<std::uint32_t>(92),
                                 b.Get<std::uint32_t>(96), b.Get<std::uint32_t>(80));
  QSizeF sourceSize = dest.size();
  if (r.type == emf::kStretchBlt)
    sourceSize = QSizeF(b.Get<std::int32_t>(100), b.Get<std::int32_t>(104));
  DrawImage(dest, image,
            QRectF(QPointF(b.Get<std::int32_t>(44), b.Get<std::int32_t>(48)), sourceSize), rop);
}

void Player::StretchDib(const Record& r) {
  const Bytes b = r.bytes;
  DibInfo info;
  const QImage image =
      DecodeDib(b, b.Get<std::uint32_t>(48), b.Get<std::uint32_t>(52), b.Get<std::uint32_t>(56),
                b.Get<std::uint32_t>(60), b.Get<std::uint32_t>(64), &info);
  if (image.isNull()) return;
  const double sx = b.Get<std::int32_t>(32), sy = b.Get<std::int32_t>(36);
  const double sw = b.Get<std::int32_t>(40), sh = b.Get<std::int32_t>(44);
  // A bottom-up bitmap counts its source rows from the bottom edge.
  const double top = info.topDown ? sy : double(info.height) - sy - sh;
  const QRectF dest(b.Get<std::int32_t>(24), b.Get<std::int32_t>(28), b.Get<std::int32_t>(72),
                    b.Get<std::int32_t>(76));
  DrawImage(dest, image, QRectF(sx, top, sw, sh), b.Get<std::uint32_t>(68));
}

namespace {

Qt::PenStyle PenStyleOf(std::uint32_t style) {
  switch (style & kPsStyleMask) {
    case kPsDash:
      return Qt::DashLine;
    case kPsDot:
      return Qt::DotLine;
    case kPsDashDot:
      return Qt::DashDotLine;
    case kPsDashDotDot:
      return Qt::DashDotDotLine;
    default:
      return Qt::SolidLine;
  }
}

PenSpec ReadPen(Bytes b) {
  PenSpec pen;
  const auto style = b.Get<std::uint32_t>(12);
  pen.width = std::abs(double(b.Get<std::int32_t>(16)));
  pen.color = Color(b.Get<std::uint32_t>(24));
  pen.null = (style & kPsStyleMask) == kPsNull;
  pen.style = PenStyleOf(style);
  return pen;
}

PenSpec ReadExtPen(Bytes b) {
  PenSpec pen;
  const auto style = b.Get<std::uint32_t>(28);
  pen.width = b.Get<std::uint32_t>(32);
  const auto brushStyle = b.Get<std::uint32_t>(36);
  pen.color = Color(b.Get<std::uint32_t>(40));
  pen.null = (style & kPsStyleMask) == kPsNull || brushStyle == kBsNull;
  pen.style = PenStyleOf(style);
  const auto cap = style & kPsEndcapMask;
  pen.cap = cap == kPsEndcapSquare ? Qt::SquareCap
            : cap == kPsEndcapFlat ? Qt::FlatCap
                                   : Qt::RoundCap;
  const auto join = style & kPsJoinMask;
  pen.join = join == kPsJoinBevel   ? Qt::BevelJoin
             : join == kPsJoinMiter ? Qt::MiterJoin
                                    : Qt::RoundJoin;
  return pen;
}

BrushSpec ReadBrush(Bytes b) {
  BrushSpec brush;
  const auto style = b.Get<std::uint32_t>(12);
  brush.color = Color(b.Get<std::uint32_t>(16));
  const auto hatch = b.Get<std::uint32_t>(20);
  brush.null = style == kBsNull;
  if (style == kBsHatched) {
    static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                  Qt::FDiagPattern, Qt::BDiagPattern,
                                                  Qt::CrossPattern, Qt::DiagCrossPattern};
    brush.style = hatch < 6 ? kHatches[hatch] : Qt::SolidPattern;
  }
  return brush;
}

FontSpec ReadFont(Bytes b) {
  FontSpec font;
  font.height = b.Get<std::int32_t>(12);
  font.escapement = b.Get<std::int32_t>(20) % 3600;
  font.weight = b.Get<std::int32_t>(28);
  font.italic = b.Get<std::uint8_t>(32) != 0;
  font.underline = b.Get<std::uint8_t>(33) != 0;
  font.strikeOut = b.Get<std::uint8_t>(34) != 0;
  font.charset = b.Get<std::uint8_t>(35);
  for (int i = 0; i < 32; ++i) {
    const auto c = b.Get<std::uint16_t>(40 + 2u * std::uint32_t(i));
    if (c == 0) break;
    font.face.append(QChar(c));
  }
  return font;
}

}  // namespace

BrushSpec Player::PatternBrush(Bytes b) {
  BrushSpec brush;
  const QImage pattern =
      DecodeDib(b, b.Get<std::uint32_t>(16), b.Get<std::uint32_t>(20), b.Get<std::uint32_t>(24),
                b.Get<std::uint32_t>(28), b.Get<std::uint32_t>(12), nullptr, kMaxPatternSide);
  // The patterns of one picture share a pixel budget; past it they fill grey.
  patternPixels_ += qint64(pattern.width()) * pattern.height();
  if (pattern.isNull() || patternPixels_ > kMaxPatternPixels) {
    brush.color = Qt::gray;
  } else {
    brush.pattern = pattern.convertToFormat(QImage::Format_RGB32);
  }
  return brush;
}

void Player::CreateObject(const Record& r) {
  const Bytes b = r.bytes;
  const auto handle = b.Get<std::uint32_t>(8);
  if (handle == 0 || handle >= header_.nHandles || handle >= kMaxHandles) return;
  Object object;
  switch (r.type) {
    case emf::kCreatePen:
      object = ReadPen(b);
      break;
    case emf::kExtCreatePen:
      object = ReadExtPen(b);
      break;
    case emf::kCreateBrushIndirect:
      object = ReadBrush(b);
      break;
    case emf::kCreateMonoBrush:
    case emf::kCreateDibPatternBrushPt:
      object = PatternBrush(b);
      break;
    case emf::kExtCreateFontIndirectW:
      object = ReadFont(b);
      break;
    default:
      return;
  }
  objects_[handle] = std::move(object);
}

void Player::SelectObject(std::uint32_t handle) {
  if (handle & kStockObject) {
    switch (handle & ~kStockObject) {
      case 0:
        dc_.brush = SolidBrush(Qt::white);
        break;
      case 1:
        dc_.brush = SolidBrush(QColor(192, 192, 192));
        break;
      case 2:
        dc_.brush = SolidBrush(QColor(128, 128, 128));
        break;
      case 3:
        dc_.brush = SolidBrush(QColor(64, 64, 64));
        break;
      case 4:
        dc_.brush = SolidBrush(Qt::black);
        break;
      case 5:
        dc_.brush = NullBrush();
        break;
      case 6:
        dc_.pen = SolidPen(Qt::white);
        break;
      case 7:
        dc_.pen = SolidPen(Qt::black);
        break;
      case 8:
        dc_.pen = NullPen();
        break;
      case 10:
      case 11:
      case 12:
      case 13:
      case 14:
      case 16:
      case 17:
        dc_.font = FontSpec{};
        break;
      case 18:
        dc_.brush = SolidBrush(Qt::white);
        break;
      case 19:
        dc_.pen = SolidPen(Qt::black);
        break;
      default:
        break;
    }
    return;
  }
  const auto it = objects_.find(handle);
  if (it == objects_.end()) return;
  if (const auto* pen = std::get_if<PenSpec>(&it->second)) dc_.pen = *pen;
  if (const auto* brush = std::get_if<BrushSpec>(&it->second)) dc_.brush = *brush;
  if (const auto* font = std::get_if<FontSpec>(&it->second)) dc_.font = *font;
}

}  // namespace hb9cv::emf_play
