// The player's text: the text-out records, laid out in logical units and drawn upright.
#include <QFontMetricsF>
#include <algorithm>

#include "report/render/emf_player_state.h"

namespace hb9cv::emf_play {

namespace {

struct TextRecord {
  QPointF reference;
  std::uint32_t count = 0, options = 0;
  emf::Rect32 rcl{};
  QString text;
  std::vector<double> dx;  // the record's own advances; empty when it has none
};

// The run of a text record; none when its characters lie outside the record.
std::optional<TextRecord> ReadTextRecord(Bytes b, bool wide) {
  TextRecord t;
  t.reference = QPointF(b.Get<std::int32_t>(36), b.Get<std::int32_t>(40));
  const auto count = t.count = b.Get<std::uint32_t>(44);
  const auto offString = b.Get<std::uint32_t>(48);
  t.options = b.Get<std::uint32_t>(52);
  std::uint64_t dxField = 56;
  if (!(t.options & kEtoNoRect)) {
    t.rcl = b.Get<emf::Rect32>(56);
    dxField = 72;
  }
  const auto offDx = b.Get<std::uint32_t>(dxField);
  if (count > kMaxTextChars || !b.Has(offString, std::uint64_t(count) * (wide ? 2 : 1))) {
    return std::nullopt;
  }
  if (wide) {
    t.text.resize(qsizetype(count));
    for (std::uint32_t i = 0; i < count; ++i) {
      t.text[qsizetype(i)] = QChar(b.Get<std::uint16_t>(offString + 2ull * i));
    }
  } else {
    t.text =
        QString::fromLatin1(reinterpret_cast<const char*>(b.data() + offString), qsizetype(count));
  }
  const std::uint64_t step = (t.options & kEtoPdy) ? 8 : 4;
  if (offDx != 0 && count > 0 && b.Has(offDx, count * step)) {
    t.dx.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      t.dx[i] = std::clamp<double>(b.Get<std::int32_t>(offDx + i * step), -1e7, 1e7);
    }
  }
  return t;
}

// Lays the run out from the reference point as the alignment flags place it.
TextLayout LayOut(const TextRecord& t, const QFontMetricsF& fm, std::uint32_t textAlign) {
  TextLayout layout;
  const std::uint32_t count = t.count;
  layout.position.assign(count + 1, 0.0);
  for (std::uint32_t i = 0; i < count; ++i) {
    layout.position[i + 1] =
        layout.position[i] + (t.dx.empty() ? fm.horizontalAdvance(t.text[qsizetype(i)]) : t.dx[i]);
  }
  layout.width = t.dx.empty() ? fm.horizontalAdvance(t.text) : layout.position[count];
  switch (textAlign & kTaCenter) {
    case kTaCenter:
      layout.x = -layout.width / 2;
      break;
    case kTaRight:
      layout.x = -layout.width;
      break;
    default:
      break;
  }
  switch (textAlign & kTaBaseline) {
    case kTaBaseline:
      layout.top = -fm.ascent();
      break;
    case kTaBottom:
      layout.top = -fm.height();
      break;
    default:
      break;
  }
  layout.height = fm.height();
  layout.baseline = layout.top + fm.ascent();
  return layout;
}

// Whether the record's advances agree with the font's own layout of the run.
bool FollowsFont(const TextRecord& t, const TextLayout& layout, const QFontMetricsF& fm,
                 double pixelHeight) {
  if (t.dx.empty()) return true;
  const double tolerance = std::max(1.0, 0.08 * pixelHeight);
  double sum = 0;
  for (std::uint32_t i = 0; i < t.count; ++i) {
    sum += fm.horizontalAdvance(t.text[qsizetype(i)]);
    if (std::abs(sum - layout.position[i + 1]) > tolerance) return false;
  }
  return std::abs(fm.horizontalAdvance(t.text) - layout.width) <= tolerance;
}

}  // namespace

void Player::Text(const Record& r, bool wide) {
  std::optional<TextRecord> read = ReadTextRecord(r.bytes, wide);
  if (!read) return;
  TextRecord& t = *read;
  if (dc_.textAlign & kTaUpdateCp) t.reference = dc_.position;
  if (!BeginDraw()) return;

  const QRectF opaqueRect =
      QRectF(QPointF(t.rcl.left, t.rcl.top), QPointF(t.rcl.right, t.rcl.bottom)).normalized();
  const bool clipped = (t.options & kEtoClipped) && !(t.options & kEtoNoRect);
  if ((t.options & kEtoOpaque) && !(t.options & kEtoNoRect)) Fill(opaqueRect, dc_.bkColor);
  if (t.count == 0 || (t.options & kEtoGlyphIndex)) return;

  double pixelHeight = 0;
  const QFont font = MakeFont(&pixelHeight);

  // Glyphs stand upright on the target whatever the mapping does to the axes: the text is laid
  // out in logical units at the reference point and only scaled (and turned by the font's
  // escapement) from there.
  const QTransform full = p_.transform();
  const QPointF origin = full.map(t.reference);
  const double sx = std::hypot(full.m11(), full.m12());
  const double sy = std::hypot(full.m21(), full.m22());
  const double onTarget = pixelHeight * sy;
  if (!(onTarget >= 0.2 && onTarget <= kMaxFontPixels) || !(sx > 0)) return;
  const QFontMetricsF fm(font);
  TextLayout layout = LayOut(t, fm, dc_.textAlign);
  layout.onTarget = onTarget;
  layout.local.translate(origin.x(), origin.y());
  layout.local.rotate(-dc_.font.escapement / 10.0);
  layout.local.scale(sx, sy);
  if (dc_.textAlign & kTaUpdateCp) dc_.position = t.reference + QPointF(layout.width, 0);

  if (clipped) {
    const QRectF device = full.mapRect(opaqueRect).intersected(original_.mapRect(target_));
    p_.resetTransform();
    p_.setClipRect(device, Qt::IntersectClip);
  }
  p_.setTransform(layout.local);
  if (dc_.bkMode == kOpaque) {
    Fill(QRectF(layout.x, layout.top, layout.width, layout.height), dc_.bkColor);
  }
  p_.setFont(font);
  p_.setPen(dc_.textColor);
  DrawTextRun(t.text, layout, FollowsFont(t, layout, fm, pixelHeight));
  if (clipped) ApplyClip();
}

// Where the advances follow the font (`natural`) the string is drawn whole, exactly as a direct
// rendering draws it; otherwise every character goes to its own place.
void Player::DrawTextRun(const QString& text, const TextLayout& layout, bool natural) {
  const std::uint32_t count = std::uint32_t(layout.position.size() - 1);
  // Only glyphs near the target are drawn: positions far outside it overflow the rasteriser.
  const double margin = 4 * layout.onTarget + 16;
  const QRectF visible = original_.mapRect(target_).adjusted(-margin, -margin, margin, margin);
  const QRectF extent =
      layout.local.mapRect(QRectF(layout.x, layout.top, layout.width, layout.height));
  natural = natural && std::abs(extent.left()) < kMaxCoordinate &&
            std::abs(extent.right()) < kMaxCoordinate && std::abs(extent.top()) < kMaxCoordinate &&
            std::abs(extent.bottom()) < kMaxCoordinate;
  if (natural) {
    if (extent.intersects(visible)) p_.drawText(QPointF(layout.x, layout.baseline), text);
    return;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const QChar c = text[qsizetype(i)];
    if (c.isLowSurrogate()) continue;
    const QPointF at(layout.x + layout.position[i], layout.baseline);
    if (!visible.contains(layout.local.map(at))) continue;
    QString glyph(c);
    if (c.isHighSurrogate() && i + 1 < count) glyph += text[qsizetype(i + 1)];
    p_.drawText(at, glyph);
  }
}

}  // namespace hb9cv::emf_play
