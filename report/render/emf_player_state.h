#pragma once
// The player's inside, shared by its files: GDI constants and limits, the drawing state and
// object table, bitmap decoding, and the player itself. Only the player's files include this.
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <variant>
#include <vector>

#include "report/render/emf_format.h"

namespace hb9cv::emf_play {

using emf::Bytes;
using emf::Record;

// GDI constants the player interprets.
// clang-format off
enum : std::uint32_t {
  kMmText = 1, kMmLoMetric = 2, kMmHiMetric = 3, kMmLoEnglish = 4, kMmHiEnglish = 5,
  kMmTwips = 6, kMmIsotropic = 7, kMmAnisotropic = 8,
  kTransparent = 1, kOpaque = 2,
  kAlternate = 1, kWinding = 2,
  kTaUpdateCp = 1, kTaRight = 2, kTaCenter = 6, kTaBottom = 8, kTaBaseline = 24,
  kEtoOpaque = 0x2, kEtoClipped = 0x4, kEtoGlyphIndex = 0x10, kEtoNoRect = 0x100, kEtoPdy = 0x2000,
  kRgnAnd = 1, kRgnOr = 2, kRgnXor = 3, kRgnDiff = 4, kRgnCopy = 5,
  kMwtIdentity = 1, kMwtLeftMultiply = 2, kMwtRightMultiply = 3, kMwtSet = 4,
  kBsSolid = 0, kBsNull = 1, kBsHatched = 2,
  kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsDashDotDot = 4, kPsNull = 5,
  kPsStyleMask = 0xF, kPsEndcapMask = 0xF00, kPsEndcapSquare = 0x100, kPsEndcapFlat = 0x200,
  kPsJoinMask = 0xF000, kPsJoinBevel = 0x1000, kPsJoinMiter = 0x2000,
  kDibRgbColors = 0,
  kBiRgb = 0, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
  kSrcCopy = 0x00CC0020, kSrcPaint = 0x00EE0086, kSrcAnd = 0x008800C6, kNotSrcCopy = 0x00330008,
  kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062,
  kStockObject = 0x80000000,
};
// clang-format on

// Bounds that keep hostile numbers away from the rasteriser and the allocator.
// Device pixels: beyond about 2^19 the rasteriser's 26.6 fixed-point numbers overflow (glyphs
// crash there); nothing so far out is visible anyway.
constexpr double kMaxCoordinate = 1 << 18;
constexpr double kMaxFontPixels = 4000;  // glyph height on the target
constexpr qint64 kMaxImagePixels = 64LL << 20;
constexpr int kMaxImageSide = 1 << 16;
constexpr int kMaxPatternSide = 256;
constexpr qint64 kMaxPatternPixels = 16LL << 20;  // all pattern brushes of one picture
constexpr std::size_t kMaxSavedStates = 1024;
constexpr std::uint32_t kMaxHandles = 1u << 16;
constexpr std::uint32_t kMaxRegionRects = 4096;
// Clip regions live in reference-device pixels, a page is about a thousand of them; the
// painter scales regions by the target's factor in integers, which must not overflow.
constexpr int kRegionLimit = 1 << 22;

inline QRegion Everywhere() {
  return QRegion(-kRegionLimit, -kRegionLimit, 2 * kRegionLimit, 2 * kRegionLimit);
}
constexpr std::uint32_t kMaxTextChars = 1u << 16;

inline QColor Color(std::uint32_t ref) {
  return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

inline bool Finite(const QTransform& t) {
  const double v[] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(),
                      t.m23(), t.m31(), t.m32(), t.m33()};
  for (double x : v) {
    if (!std::isfinite(x) || std::abs(x) > 1e12) return false;
  }
  const double det = t.determinant();
  return std::isfinite(det) && det != 0;
}

struct PenSpec {
  bool null = false;
  QColor color = Qt::black;
  double width = 0;  // logical units; 0 is one device pixel
  Qt::PenStyle style = Qt::SolidLine;
  Qt::PenCapStyle cap = Qt::RoundCap;
  Qt::PenJoinStyle join = Qt::RoundJoin;
};

struct BrushSpec {
  bool null = false;
  QColor color = Qt::white;
  Qt::BrushStyle style = Qt::SolidPattern;
  QImage pattern;
};

struct FontSpec {
  std::int32_t height = 0;
  std::int32_t escapement = 0;
  std::int32_t weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  std::uint8_t charset = 1;
  QString face;
};

inline BrushSpec SolidBrush(QColor color) {
  BrushSpec b;
  b.color = color;
  return b;
}
inline BrushSpec NullBrush() {
  BrushSpec b;
  b.null = true;
  return b;
}
inline PenSpec SolidPen(QColor color) {
  PenSpec p;
  p.color = color;
  return p;
}
inline PenSpec NullPen() {
  PenSpec p;
  p.null = true;
  return p;
}

using Object = std::variant<std::monostate, PenSpec, BrushSpec, FontSpec>;

struct DcState {
  std::uint32_t mapMode = kMmText;
  QPointF windowOrg, viewportOrg;
  QSizeF windowExt{1, 1}, viewportExt{1, 1};
  QTransform world;
  PenSpec pen;
  BrushSpec brush;
  FontSpec font;
  QColor textColor = Qt::black;
  QColor bkColor = Qt::white;
  std::uint32_t bkMode = kOpaque;
  std::uint32_t textAlign = 0;
  Qt::FillRule fillRule = Qt::OddEvenFill;
  std::optional<QRegion> clip;  // reference-device pixels; none means unclipped
  QPointF position;
};

// Device-independent bitmaps

struct DibInfo {
  std::int64_t width = 0, height = 0;
  bool topDown = false;
};

// Decodes the bitmap of a record (header at offBmi, pixels at offBits) into a top-down image.
QImage DecodeDib(Bytes rec, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                 std::uint32_t cbBits, std::uint32_t usage, DibInfo* info = nullptr,
                 int maxSide = kMaxImageSide);

// ---------------------------------------------------------------------------------------------

// A text run laid out in logical units at its reference point; `local` takes it to the target.
struct TextLayout {
  QTransform local;
  std::vector<double> position;  // each character's left edge, and the run's end
  double x = 0, top = 0, width = 0, height = 0, baseline = 0;
  double onTarget = 0;  // the font's pixel height on the target
};

class Player {
 public:
  Player(QPainter& painter, const emf::HeaderInfo& header, const QRectF& deviceFrame,
         const QRectF& target)
      : p_(painter),
        header_(header),
        target_(target),
        frame_(deviceFrame),
        original_(painter.transform()) {
    base_ = QTransform::fromTranslate(-deviceFrame.left(), -deviceFrame.top()) *
            QTransform::fromScale(target.width() / deviceFrame.width(),
                                  target.height() / deviceFrame.height()) *
            QTransform::fromTranslate(target.left(), target.top()) * original_;
    // Reference-device pixels per millimetre, for the metric and English map modes.
    pxPerMmX_ = header.mmWidth > 0 && header.deviceWidth > 0
                    ? double(header.deviceWidth) / header.mmWidth
                    : 96 / 25.4;
    pxPerMmY_ = header.mmHeight > 0 && header.deviceHeight > 0
                    ? double(header.deviceHeight) / header.mmHeight
                    : 96 / 25.4;
    p_.save();
    UpdatePainterClip();
  }
  ~Player() { p_.restore(); }
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  void Play(const Record& r);

 private:
  void ScaleExtent(const Record& r);
  void WorldTransform(const Record& r);
  void RestoreDc(std::int32_t n);
  void LineTo(const QPointF& to);
  void OffsetClip(const QPointF& offset);
  // Logical coordinates to reference-device pixels.
  QTransform PageTransform() const;
  QTransform LogicalToDevice() const { return dc_.world * PageTransform(); }
  // Sets the painter to draw in logical coordinates; false when the mapping is unusable.
  bool BeginDraw();
  // The painter's clip follows the picture's lazily: many clip records in a row cost one update.
  void ApplyClip() { clipDirty_ = true; }
  void UpdatePainterClip();
  void SetClip(std::optional<QRegion> clip) {
    // Every region operation costs as much as the region has rectangles; a picture that cuts
    // its clip into thousands of pieces keeps only their outline.
    if (clip && clip->rectCount() > int(kMaxRegionRects)) clip = QRegion(clip->boundingRect());
    if (clip) clip = clip->intersected(Everywhere());
    dc_.clip = std::move(clip);
    ApplyClip();
  }
  QRegion DeviceRegion(const QRectF& logical) const;
  void ClipRect(const Record& r, bool exclude);
  void SelectClipRegion(const Record& r);

  // Fills a rectangle given in the painter's current coordinates, cut to what can be visible.
  void Fill(const QRectF& rect, const QBrush& brush);
  QPen MakePen() const;
  QBrush MakeBrush() const;
  QFont MakeFont(double* pixelHeight) const;

  void Shape(const Record& r);
  void Poly(const Record& r, bool sixteen);
  void PolyPoly(const Record& r, bool sixteen, bool polygon);
  void Text(const Record& r, bool wide);
  void DrawTextRun(const QString& text, const TextLayout& layout, bool natural);
  void Blit(const Record& r);
  void StretchDib(const Record& r);
  void DrawImage(const QRectF& dest, QImage image, QRectF source, std::uint32_t rop);
  void CreateObject(const Record& r);
  BrushSpec PatternBrush(Bytes b);
  void SelectObject(std::uint32_t handle);

  QPainter& p_;
  emf::HeaderInfo header_;
  QRectF target_;
  QRectF frame_;  // the picture's frame in reference-device pixels
  QTransform original_;
  QTransform base_;  // reference-device pixels to the painter
  double pxPerMmX_ = 1, pxPerMmY_ = 1;
  DcState dc_;
  std::vector<DcState> saved_;
  std::unordered_map<std::uint32_t, Object> objects_;
  qint64 patternPixels_ = 0;
  bool clipDirty_ = true;
};

}  // namespace hb9cv::emf_play
