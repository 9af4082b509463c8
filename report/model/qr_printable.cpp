#include "report/model/qr_printable.h"

#include <algorithm>
#include <utility>

#include "report/model/qr_band.h"
#include "report/model/qr_device.h"
#include "report/model/qr_report.h"

namespace hb9cv {

// --- TQRPrintable

TQRPrintable::TQRPrintable(QString name) : Size(this), name_(std::move(name)) {}

TQRPrintable::~TQRPrintable() = default;

TQRCustomBand* TQRPrintable::ParentBand() const {
  return dynamic_cast<TQRCustomBand*>(parent_);
}

TCustomReport* TQRPrintable::ParentReport() const {
  return parent_ != nullptr ? parent_->ParentReport() : nullptr;
}

void TQRPrintable::SetAlignToBand(bool align) {
  alignToBand_ = align;
  AlignToBandNow();
}

void TQRPrintable::SetBounds(int left, int top, int width, int height) {
  const PixelBounds bounds{left, top, width, height};
  if (bounds == bounds_) return;
  bounds_ = bounds;
  if (!loading_) WriteBackBounds();
  BoundsChanged();
  AlignToBandNow();
}

void TQRPrintable::WriteBackBounds() {
  using I = TQRPrintableSize::Index;
  const std::pair<I, int> bounds[] = {{I::kHeight, bounds_.height},
                                      {I::kWidth, bounds_.width},
                                      {I::kTop, bounds_.top},
                                      {I::kLeft, bounds_.left}};
  for (const auto& [index, pixels] : bounds) {
    const bool horizontal = Size.IsHorizontal(index);
    if (Float80(pixels) != Size.LoadUnit(Size.Stored(index), TQRUnit::Pixels, horizontal)) {
      Size.SetStored(index, Size.SaveUnit(pixels, TQRUnit::Pixels, horizontal));
    }
  }
}

void TQRPrintable::SizeToBounds() {
  using I = TQRPrintableSize::Index;
  auto pixels = [this](I index) {
    return QRRound(Size.LoadUnit(Size.Stored(index), TQRUnit::Pixels, Size.IsHorizontal(index)));
  };
  bounds_ = {pixels(I::kLeft), pixels(I::kTop), pixels(I::kWidth), pixels(I::kHeight)};
  BoundsChanged();
  AlignToBandNow();
}

void TQRPrintable::Loaded(const PixelBounds& resourceBounds) {
  SizeToBounds();
  if (bounds_.left == 0) bounds_.left = resourceBounds.left;
  if (bounds_.top == 0) bounds_.top = resourceBounds.top;
  if (bounds_.width == 0) bounds_.width = resourceBounds.width;
  if (bounds_.height == 0) bounds_.height = resourceBounds.height;
  loading_ = false;
}

void TQRPrintable::AlignToBandNow() {
  if (!alignToBand_ || aligning_) return;
  const TQRCustomBand* band = ParentBand();
  if (band == nullptr) return;
  int left = bounds_.left;
  switch (alignment_) {
    case TextAlignment::taLeftJustify:
      left = 0;
      break;
    case TextAlignment::taRightJustify:
      left = band->PixelWidth() - bounds_.width;
      break;
    case TextAlignment::taCenter:
      left = (band->PixelWidth() - bounds_.width) / 2;
      break;
  }
  aligning_ = true;
  SetBounds(left, bounds_.top, bounds_.width, bounds_.height);
  aligning_ = false;
}

void TQRPrintable::BeforePrint(QRDevice& device) {
  device_ = &device;
}

void TQRPrintable::Print(int ofsX, int ofsY) {
  if (device_ == nullptr) return;
  const Float80 left = ofsX + Size.Stored(TQRPrintableSize::kLeft);
  const Float80 top = ofsY + Size.Stored(TQRPrintableSize::kTop);
  Frame.Paint(*device_, left, top, left + Size.Stored(TQRPrintableSize::kWidth),
              top + Size.Stored(TQRPrintableSize::kHeight));
}

void TQRPrintable::BandChanged() {
  AlignToBandNow();
}

void TQRPrintable::SetAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  AlignToBandNow();
}

void TQRPrintable::AfterPrint() {
  device_ = nullptr;
}

// --- TQRCustomLabel

TQRCustomLabel::TQRCustomLabel(QString name) : TQRPrintable(std::move(name)) {}

void TQRCustomLabel::SetCaption(const QString& caption) {
  caption_ = caption;
  printCaption_ = caption;
  Reformat();
}

void TQRCustomLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  Reformat();
}

void TQRCustomLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  Reformat();
}

void TQRCustomLabel::SetFont(const CanvasFont& font) {
  font_ = font;
  Reformat();
}

void TQRCustomLabel::ParentChanged() {
  Reformat();
}

void TQRCustomLabel::Reformat() {
  // While loading, the stored size is the truth; formatting waits for the first change.
  if (!Loading()) FormatLines();
}

void TQRCustomLabel::Loaded(const PixelBounds& resourceBounds) {
  TQRPrintable::Loaded(resourceBounds);
  if (fontSize_ > 0) font_.pointSize = fontSize_;
}

int TQRCustomLabel::MeasureWidth(const QString& text) const {
  TCustomReport* report = ParentReport();
  if (report == nullptr) return 0;
  return QRRound(Float80(report->TextWidth(font_, text)) * Size.Zoom() / 100);
}

namespace {

// Words keep the space or hyphen that ends them, so joined again they give the piece back.
QStringList SplitWords(const QString& piece) {
  QStringList words;
  QString word;
  for (QChar ch : piece) {
    word += ch;
    if (ch == QChar(' ') || ch == QChar('-')) {
      words << word;
      word.clear();
    }
  }
  if (!word.isEmpty()) words << word;
  return words;
}

}  // namespace

void TQRCustomLabel::WrapPiece(const QString& piece, int width) {
  const qsizetype firstLine = lines_.size();
  QString line;
  for (const QString& next : SplitWords(piece)) {
    if (MeasureWidth(line + next) <= width) {
      line += next;
      continue;
    }
    QString rest = next;
    if (line.isEmpty()) {
      while (!rest.isEmpty() && MeasureWidth(line + rest.front()) < width) {
        line += rest.front();
        rest.remove(0, 1);
      }
    }
    if (!line.isEmpty()) lines_ << line;
    line.clear();
    if (MeasureWidth(rest) > width) {
      while (!rest.isEmpty() && MeasureWidth(rest) > width) rest.chop(1);
      lines_ << rest;
    } else {
      line = rest;
    }
    if (!wordWrap_) break;
  }
  // A piece always gives at least one line, an empty piece an empty one.
  if (!line.isEmpty() || lines_.size() == firstLine) lines_ << line;
}

void TQRCustomLabel::FormatLines() {
  lines_.clear();
  QString text = printCaption_;
  text.remove(QChar('\n'));
  const int width = Width();
  for (const QString& piece : text.split(QChar('\r'))) {
    if (autoSize_) {
      lines_ << piece;
    } else {
      WrapPiece(piece, width);
    }
  }
  SizeToLines();
}

void TQRCustomLabel::SizeToLines() {
  int height = Height();
  TCustomReport* report = ParentReport();
  if (report != nullptr) {
    const int minimum = report->TextHeight(font_, QStringLiteral("W")) * Size.Zoom() / 100 + 1;
    height = std::max(height, minimum);
  }
  int left = Left();
  int newWidth = Width();
  if (autoSize_ && report != nullptr) {
    newWidth = 0;
    for (const QString& line : lines_) newWidth = std::max(newWidth, MeasureWidth(line));
    if (Frame.DrawLeft) newWidth += Frame.Width;
    if (Frame.DrawRight) newWidth += Frame.Width;
    if (Alignment() == TextAlignment::taRightJustify) left += Width() - newWidth;
    if (Alignment() == TextAlignment::taCenter) left += (Width() - newWidth) / 2;
  }
  SetBounds(left, Top(), newWidth, height);
}

void TQRCustomLabel::BeforePrint(QRDevice& device) {
  TQRPrintable::BeforePrint(device);
  nextLine_ = 0;
  finished_ = true;
  printedLines_ = 0;
  SetCaption(caption_);
}

void TQRCustomLabel::Print(int ofsX, int ofsY) {
  QRDevice* device = Device();
  if (device == nullptr) return;
  using I = TQRPrintableSize::Index;
  Canvas& canvas = device->PageCanvas();
  canvas.SetFont(font_);
  Float80 left = ofsX + Size.Stored(I::kLeft);
  Float80 top = ofsY + Size.Stored(I::kTop);
  const Float80 height = Size.Stored(I::kHeight);
  const Float80 storedWidth = Size.Stored(I::kWidth);
  const Float80 lineHeight = canvas.TextHeight(QStringLiteral("W")) / device->YFactor();
  FormatLines();
  const Float80 box = autoSize_ ? AutoSizeBox(*device, canvas) : storedWidth;

  // A box widened for the device grows away from the edge the alignment keeps: to the left for
  // right-aligned text, to both sides for centred text.
  if (autoSize_ && Alignment() == TextAlignment::taRightJustify) left -= box - storedWidth;
  if (autoSize_ && Alignment() == TextAlignment::taCenter) left -= (box - storedWidth) / 2;
  const Float80 fillLeft = left;
  const Float80 fillTop = top;
  if (!transparent_) {
    canvas.FillRect({device->XPos(left), device->YPos(top), device->XPos(left + box),
                     device->YPos(top + height)},
                    color_);
  }
  if (Frame.DrawTop) top += Frame.StoredWidth();
  if (Frame.DrawLeft) left += Frame.StoredWidth();
  const Float80 x = left;

  if (finished_) nextLine_ = 0;
  Float80 y = top;
  Float80 limit = top + height + 1;
  Float80 grown = 0;
  TQRCustomBand* band = ParentBand();
  while (nextLine_ < lines_.size()) {
    if (y + lineHeight <= limit) {
      DrawLine(*device, canvas, lines_[nextLine_], x, y, box);
      y += lineHeight;
      ++nextLine_;
      ++printedLines_;
      continue;
    }
    if (autoStretch_ && lineHeight > 0 && band != nullptr && band->Grow(lineHeight)) {
      if (!transparent_) {
        canvas.FillRect(
            {device->XPos(fillLeft), device->YPos(fillTop + height + grown),
             device->XPos(fillLeft + box), device->YPos(fillTop + height + grown + lineHeight)},
            color_);
      }
      limit += lineHeight;
      grown += lineHeight;
      continue;
    }
    break;
  }
  finished_ = nextLine_ >= lines_.size() || !autoStretch_;
  Frame.Paint(*device, left, top, left + box, top + height + grown);
}

Float80 TQRCustomLabel::AutoSizeBox(QRDevice& device, Canvas& canvas) const {
  // The label's screen width in stored units: on a page built at the screen's resolution
  // exactly the pixel width over the device factor.
  const Float80 screenFactor = Float80(Size.PixelsPerInch()) / 254;
  const Float80 box = Width() / screenFactor * 100 / Size.Zoom();
  if (device.XFactor() == screenFactor) return box;
  // On a finer device the text may come out a little wider than on the screen; the
  // background must still cover it.
  int widest = 0;
  for (const QString& line : lines_) widest = std::max(widest, canvas.TextWidth(line));
  if (Frame.DrawLeft) widest += Frame.Thickness(device.XFactor());
  if (Frame.DrawRight) widest += Frame.Thickness(device.XFactor());
  // The box's edges and the text's place round to device pixels each on their own: a pixel
  // more (three for centred text, whose halves round too) keeps the text inside.
  widest += Alignment() == TextAlignment::taCenter ? 3 : 1;
  return std::max(box, widest / device.XFactor());
}

void TQRCustomLabel::DrawLine(QRDevice& device, Canvas& canvas, const QString& line, Float80 x,
                              Float80 y, Float80 box) const {
  if (line.isEmpty()) return;
  const int yPixel = device.YPos(y);
  switch (Alignment()) {
    case TextAlignment::taLeftJustify:
      canvas.TextOut(device.XPos(x), yPixel, line);
      break;
    case TextAlignment::taRightJustify:
      canvas.TextOut(device.XPos(x + box) - canvas.TextWidth(line), yPixel, line);
      break;
    case TextAlignment::taCenter:
      canvas.TextOut(device.XPos(x + box / 2) - canvas.TextWidth(line) / 2, yPixel, line);
      break;
  }
}

// --- TQRImage

TQRImage::TQRImage(QString name) : TQRPrintable(std::move(name)) {}

void TQRImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  decode_ = nullptr;
  size_ = picture.size();
  PictureChanged();
}

void TQRImage::SetPicture(QSize size, std::function<QImage()> decode) {
  picture_ = QImage();
  decode_ = std::move(decode);
  size_ = size;
  PictureChanged();
}

const QImage& TQRImage::Picture() const {
  if (decode_) picture_ = std::exchange(decode_, nullptr)();
  return picture_;
}

void TQRImage::SetAutoSize(bool value) {
  autoSize_ = value;
  PictureChanged();
}

void TQRImage::SetStretch(bool value) {
  stretch_ = value;
  PictureChanged();
}

void TQRImage::SetCenter(bool value) {
  center_ = value;
  PictureChanged();
}

void TQRImage::PictureChanged() {
  if (autoSize_ && !size_.isEmpty()) {
    SetBounds(Left(), Top(), size_.width(), size_.height());
  }
}

void TQRImage::Print(int ofsX, int ofsY) {
  QRDevice* device = Device();
  if (device == nullptr) return;
  using I = TQRPrintableSize::Index;
  Canvas& canvas = device->PageCanvas();
  const Float80 left = ofsX + Size.Stored(I::kLeft);
  const Float80 top = ofsY + Size.Stored(I::kTop);
  const Float80 width = Size.Stored(I::kWidth);
  const Float80 height = Size.Stored(I::kHeight);
  const DeviceRect rect{device->XPos(left), device->YPos(top), device->XPos(left + width),
                        device->YPos(top + height)};
  const QImage& picture = Picture();
  if (!picture.isNull()) {
    if (stretch_) {
      canvas.StretchDraw(rect, picture);
    } else {
      canvas.SetClipRect(rect);
      const Float80 ppi = Size.PixelsPerInch();
      const int w = QRRound(picture.width() / ppi * 254 * device->XFactor());
      const int h = QRRound(picture.height() / ppi * 254 * device->YFactor());
      int x = rect.left;
      int y = rect.top;
      if (center_) {
        x += (device->XSize(width) - w) / 2;
        y += (device->YSize(height) - h) / 2;
      }
      canvas.StretchDraw({x, y, x + w, y + h}, picture);
      canvas.ClearClip();
    }
  }
  Frame.Paint(*device, left, top, left + width, top + height);
}

}  // namespace hb9cv
