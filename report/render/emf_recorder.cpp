#include "report/render/emf_recorder.h"

#include <uemf.h>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <new>

#include "report/render/fonts.h"

namespace hb9cv {

// Owns the growing metafile and libUEMF's handle table; every record built by the library
// passes through Append(), which takes it over.
class EmfRecorder::Writer {
 public:
  Writer() {
    if (emf_htable_create(64, 64, &handles_) != 0 || !handles_) throw std::bad_alloc();
  }
  ~Writer() { emf_htable_free(&handles_); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  EMFHANDLES* Handles() { return handles_; }

  void Append(char* record) {
    std::unique_ptr<char, decltype(&std::free)> owned(record, &std::free);
    if (!owned) throw std::bad_alloc();
    const auto* emr = reinterpret_cast<const U_EMR*>(owned.get());
    bytes_.append(owned.get(), static_cast<qsizetype>(emr->nSize));
    ++records_;
  }

  QByteArray Finish() {
    EMFTRACK track{};
    Append(U_EMREOF_set(0, nullptr, &track));
    // What the library's own finish step would fill in: size, record count and handle slots
    // (the reserved slot 0 included).
    const quint32 nBytes = static_cast<quint32>(bytes_.size());
    const quint16 nHandles = static_cast<quint16>(handles_->peak + 1);
    std::memcpy(bytes_.data() + offsetof(U_EMRHEADER, nBytes), &nBytes, sizeof nBytes);
    std::memcpy(bytes_.data() + offsetof(U_EMRHEADER, nRecords), &records_, sizeof records_);
    std::memcpy(bytes_.data() + offsetof(U_EMRHEADER, nHandles), &nHandles, sizeof nHandles);
    return std::move(bytes_);
  }

 private:
  EMFHANDLES* handles_ = nullptr;
  QByteArray bytes_;
  quint32 records_ = 0;
};

namespace {

U_COLORREF ColorRef(QRgb c) {
  return colorref3_set(static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)),
                       static_cast<uint8_t>(qBlue(c)));
}

U_RECTL Rectl(int left, int top, int right, int bottom) {
  return rectl_set(point32_set(left, top), point32_set(right, bottom));
}

// Bounds in records are inclusive.
U_RECTL Inclusive(const DeviceRect& r) {
  return Rectl(r.left, r.top, r.right - 1, r.bottom - 1);
}

}  // namespace

EmfRecorder::EmfRecorder(QSize pixels, QSize paper, int dpiX, int dpiY)
    : writer_(std::make_unique<Writer>()),
      measure_(1, 1, QImage::Format_RGB32),
      pixels_(pixels),
      dpiX_(dpiX),
      dpiY_(dpiY) {
  measure_.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
  measure_.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
  // The reference device is the page at the screen's resolution; its size in millimetres is
  // whole millimetres, as the format wants.
  const int mmW = std::max(1, static_cast<int>(std::lround(paper.width() / 100.0)));
  const int mmH = std::max(1, static_cast<int>(std::lround(paper.height() / 100.0)));
  std::u16string desc = u"HB9CV";
  desc.push_back(0);
  desc += u"Report page";
  desc.push_back(0);
  desc.push_back(0);
  writer_->Append(
      U_EMRHEADER_set(Rectl(0, 0, pixels.width() - 1, pixels.height() - 1),
                      Rectl(0, 0, paper.width(), paper.height()), nullptr,
                      static_cast<U_CBSTR>(desc.size()), reinterpret_cast<uint16_t*>(desc.data()),
                      sizel_set(pixels.width(), pixels.height()), sizel_set(mmW, mmH), 0));
  writer_->Append(U_EMRSETBKMODE_set(U_TRANSPARENT));
  writer_->Append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
  writer_->Append(U_EMRSETSTRETCHBLTMODE_set(U_STRETCH_HALFTONE));
  qfont_ = RealiseFont(font_, dpiY_);
}

EmfRecorder::~EmfRecorder() = default;

void EmfRecorder::SetFont(const CanvasFont& font) {
  font_ = font;
  qfont_ = RealiseFont(font, dpiY_);
}

int EmfRecorder::TextWidth(const QString& text) {
  return std::max(0, QFontMetrics(qfont_, &measure_).horizontalAdvance(text));
}

int EmfRecorder::TextHeight(const QString&) {
  return std::max(0, QFontMetrics(qfont_, &measure_).height());
}

std::vector<int> EmfRecorder::CharacterAdvances(const QString& text) {
  const QFontMetricsF fm(qfont_, &measure_);
  const int total = TextWidth(text);
  const qsizetype n = text.size();
  std::vector<int> dx(static_cast<std::size_t>(n), 0);
  int previous = 0;
  for (qsizetype i = 0; i < n; ++i) {
    qsizetype end = i + 1;
    if (text[i].isHighSurrogate() && end < n && text[end].isLowSurrogate()) ++end;
    int position =
        end == n ? total : static_cast<int>(std::lround(fm.horizontalAdvance(text.left(end))));
    position = std::clamp(position, previous, total);
    dx[static_cast<std::size_t>(i)] = position - previous;
    previous = position;
    i = end - 1;  // the low surrogate keeps an advance of 0
  }
  return dx;
}

quint32 EmfRecorder::FontHandle(const CanvasFont& font) {
  for (const auto& [f, handle] : fonts_) {
    if (f == font) return handle;
  }
  std::array<uint16_t, U_LF_FACESIZE> face{};
  const QString family = font.family.left(U_LF_FACESIZE - 1);
  for (qsizetype i = 0; i < family.size(); ++i)
    face[static_cast<std::size_t>(i)] = family[i].unicode();
  const U_LOGFONT lf = logfont_set(
      -RealiseFont(font, dpiY_).pixelSize(), 0, 0, 0, font.bold ? U_FW_BOLD : U_FW_NORMAL,
      font.italic, font.underline, font.strikeOut, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
      U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face.data());
  uint32_t handle = 0;
  // The plain LOGFONT form (the library's `elf`); readers need nothing of the larger one.
  writer_->Append(extcreatefontindirectw_set(&handle, writer_->Handles(),
                                             reinterpret_cast<const char*>(&lf), nullptr));
  fonts_.emplace_back(font, handle);
  return handle;
}

quint32 EmfRecorder::BrushHandle(QRgb color) {
  color = qRgb(qRed(color), qGreen(color), qBlue(color));
  for (const auto& [c, handle] : brushes_) {
    if (c == color) return handle;
  }
  uint32_t handle = 0;
  writer_->Append(createbrushindirect_set(&handle, writer_->Handles(),
                                          logbrush_set(U_BS_SOLID, ColorRef(color), 0)));
  brushes_.emplace_back(color, handle);
  return handle;
}

void EmfRecorder::Select(quint32 handle) {
  writer_->Append(selectobject_set(handle, writer_->Handles()));
}

void EmfRecorder::SaveDc() {
  writer_->Append(U_EMRSAVEDC_set());
  saved_.push_back(dc_);
}

void EmfRecorder::RestoreDc() {
  writer_->Append(U_EMRRESTOREDC_set(-1));
  dc_ = saved_.back();
  saved_.pop_back();
}

void EmfRecorder::TextOut(int x, int y, const QString& text) {
  if (!writer_ || text.isEmpty()) return;
  const quint32 font = FontHandle(font_);
  if (dc_.font != font) {
    Select(font);
    dc_.font = font;
  }
  const QRgb color = font_.color.rgb() & RGB_MASK;
  if (dc_.textColor != color) {
    writer_->Append(U_EMRSETTEXTCOLOR_set(ColorRef(color)));
    dc_.textColor = color;
  }
  // Without advances readers stack every glyph on the reference point.
  std::vector<int> advances = CharacterAdvances(text);
  std::vector<uint32_t> dx(advances.begin(), advances.end());
  const int width = TextWidth(text);
  const int height = TextHeight(text);
  const DeviceRect box{x, y, x + std::max(width, 1), y + std::max(height, 1)};
  std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                       static_cast<std::size_t>(text.size()));
  std::unique_ptr<char, decltype(&std::free)> emrtext(
      emrtext_set(point32_set(x, y), static_cast<U_NUM_STR>(utf16.size()), 2, utf16.data(), 0,
                  Inclusive(box), dx.data()),
      &std::free);
  if (!emrtext) throw std::bad_alloc();
  writer_->Append(U_EMREXTTEXTOUTW_set(Inclusive(box), U_GM_COMPATIBLE, float(2540.0 / dpiX_),
                                       float(2540.0 / dpiY_),
                                       reinterpret_cast<PU_EMRTEXT>(emrtext.get())));
}

void EmfRecorder::FillRect(const DeviceRect& rect, const QColor& color) {
  if (!writer_ || rect.Width() <= 0 || rect.Height() <= 0) return;
  const quint32 brush = BrushHandle(color.rgb());
  if (dc_.brush != brush) {
    Select(brush);
    dc_.brush = brush;
  }
  if (!dc_.nullPen) {
    Select(U_NULL_PEN);
    dc_.nullPen = true;
  }
  // Under the null pen a rectangle covers one pixel less to the right and below.
  writer_->Append(U_EMRRECTANGLE_set(Rectl(rect.left, rect.top, rect.right + 1, rect.bottom + 1)));
}

void EmfRecorder::SetClipRect(const DeviceRect& rect) {
  if (!writer_) return;
  if (clipActive_) RestoreDc();
  SaveDc();
  writer_->Append(U_EMRINTERSECTCLIPRECT_set(Rectl(rect.left, rect.top, rect.right, rect.bottom)));
  clipActive_ = true;
}

void EmfRecorder::ClearClip() {
  if (!writer_ || !clipActive_) return;
  RestoreDc();
  clipActive_ = false;
}

void EmfRecorder::StretchDraw(const DeviceRect& target, const QImage& picture) {
  if (!writer_ || picture.isNull() || target.Width() == 0 || target.Height() == 0) return;
  QImage rgb;
  if (picture.hasAlphaChannel()) {
    // The page is white paper: transparent parts of a picture show white.
    rgb = QImage(picture.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    QPainter p(&rgb);
    p.drawImage(0, 0, picture);
  } else {
    rgb = picture;
  }
  rgb = rgb.convertToFormat(QImage::Format_BGR888);  // DIB byte order
  const int w = rgb.width();
  const int h = rgb.height();
  const qsizetype stride = (qsizetype(w) * 3 + 3) / 4 * 4;
  QByteArray px(stride * h, '\0');
  for (int row = 0; row < h; ++row) {  // DIB rows run bottom-up
    std::memcpy(px.data() + stride * (h - 1 - row), rgb.constScanLine(row), std::size_t(w) * 3);
  }
  const U_BITMAPINFOHEADER bmih =
      bitmapinfoheader_set(w, h, 1, U_BCBM_COLOR24, U_BI_RGB, static_cast<uint32_t>(px.size()),
                           static_cast<int32_t>(std::lround(dpiX_ / 0.0254)),
                           static_cast<int32_t>(std::lround(dpiY_ / 0.0254)), 0, 0);
  std::unique_ptr<U_BITMAPINFO, decltype(&std::free)> bmi(bitmapinfo_set(bmih, nullptr),
                                                          &std::free);
  if (!bmi) throw std::bad_alloc();
  writer_->Append(U_EMRSTRETCHDIBITS_set(
      Inclusive(target), point32_set(target.left, target.top),
      point32_set(target.Width(), target.Height()), point32_set(0, 0), point32_set(w, h),
      U_DIB_RGB_COLORS, U_SRCCOPY, bmi.get(), static_cast<uint32_t>(px.size()), px.data()));
}

Metafile EmfRecorder::Finish() {
  if (!writer_) return {};
  ClearClip();
  while (!saved_.empty()) RestoreDc();
  // Our objects may only be deleted once nothing selects them.
  if (dc_.font) Select(U_SYSTEM_FONT);
  if (dc_.brush) Select(U_WHITE_BRUSH);
  if (dc_.nullPen) Select(U_BLACK_PEN);
  dc_ = {};
  for (auto& [f, handle] : fonts_) {
    uint32_t h = handle;
    writer_->Append(deleteobject_set(&h, writer_->Handles()));
  }
  for (auto& [c, handle] : brushes_) {
    uint32_t h = handle;
    writer_->Append(deleteobject_set(&h, writer_->Handles()));
  }
  fonts_.clear();
  brushes_.clear();
  Metafile page(writer_->Finish());
  writer_.reset();
  return page;
}

}  // namespace hb9cv
