#pragma once
// The elements a band holds: labels and pictures. They are model objects, not widgets; their
// pixel bounds are numbers that mirror the stored size at the screen's resolution.
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

#include "report/model/qr_frame.h"
#include "report/model/qr_units.h"
#include "report/render/canvas.h"

namespace hb9cv {

class QRDevice;
class TQRBasePanel;
class TQRCustomBand;
class TCustomReport;

enum class TextAlignment { taLeftJustify, taRightJustify, taCenter };

struct PixelBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelBounds&) const = default;
};

class TQRPrintable {
 public:
  explicit TQRPrintable(QString name);
  virtual ~TQRPrintable();
  TQRPrintable(const TQRPrintable&) = delete;
  TQRPrintable& operator=(const TQRPrintable&) = delete;

  const QString& Name() const { return name_; }

  TQRPrintableSize Size;
  TQRFrame Frame;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  TextAlignment Alignment() const { return alignment_; }
  bool AlignToBand() const { return alignToBand_; }
  void SetAlignToBand(bool align);

  // Pixel bounds. Changing them outside loading writes each bound that differs from the
  // stored size back into it.
  const PixelBounds& Bounds() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetBounds(int left, int top, int width, int height);

  TQRCustomBand* ParentBand() const;
  TCustomReport* ParentReport() const;

  // Loading as from a form resource: the stored size is written with Size.LoadValues and the
  // properties set; Loaded() then mirrors the stored size in the pixel bounds, a bound that
  // comes out as 0 taking the one the resource wrote.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  virtual void Loaded(const PixelBounds& resourceBounds = {});

  // Copies the stored size to the pixel bounds (called when the stored size changes).
  void SizeToBounds();

  // The printing protocol, in the order the report pass uses it.
  virtual bool ShouldPrint() const { return enabled_; }
  virtual void AlignToBandNow();
  virtual void BeforePrint(QRDevice& device);
  // Draws the element with its stored left and top added to the offsets (stored units from
  // the paper's corner).
  virtual void Print(int ofsX, int ofsY);
  // The band that holds the element changed its bounds.
  virtual void BandChanged();
  virtual void SetAlignment(TextAlignment alignment);
  virtual void AfterPrint();

  // Whether all of the element has been printed (a stretching label may need more pages).
  virtual bool Finished() const { return true; }
  // A count that grows while the element prints; lets the band see that a reprint got further.
  virtual int PrintProgress() const { return 0; }

 protected:
  friend class TQRBasePanel;
  virtual void ParentChanged() {}
  virtual void BoundsChanged() {}
  // The device of the print in progress, or none outside a print.
  QRDevice* Device() const { return device_; }

 private:
  void WriteBackBounds();

  QString name_;
  TQRBasePanel* parent_ = nullptr;
  PixelBounds bounds_;
  bool enabled_ = true;
  TextAlignment alignment_ = TextAlignment::taLeftJustify;
  bool alignToBand_ = false;
  bool loading_ = false;
  bool aligning_ = false;
  QRDevice* device_ = nullptr;
};

class TQRCustomLabel : public TQRPrintable {
 public:
  explicit TQRCustomLabel(QString name);

  const QString& Caption() const { return caption_; }
  // Stores the caption and the print caption and formats the label at once.
  void SetCaption(const QString& caption);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool AutoStretch() const { return autoStretch_; }
  void SetAutoStretch(bool value) { autoStretch_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }
  const QColor& Color() const { return color_; }
  void SetColor(const QColor& color) { color_ = color; }
  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& font);
  // The point size the form resource stores; a positive one decides the font after loading.
  int FontSize() const { return fontSize_; }
  void SetFontSize(int size) { fontSize_ = size; }

  const QStringList& Lines() const { return lines_; }

  // Splits the print caption into lines and, for an auto-sizing label, sizes the label to
  // them (measured on the report's screen surface).
  virtual void FormatLines();

  void Loaded(const PixelBounds& resourceBounds = {}) override;
  void BeforePrint(QRDevice& device) override;
  void Print(int ofsX, int ofsY) override;
  bool Finished() const override { return finished_; }
  int PrintProgress() const override { return printedLines_; }

 protected:
  void ParentChanged() override;

 private:
  void Reformat();
  int MeasureWidth(const QString& text) const;
  // Breaks one piece of the caption into lines of at most `width` pixels.
  void WrapPiece(const QString& piece, int width);
  // Grows the label to a line's height and, when auto-sizing, fits its width to the lines.
  void SizeToLines();
  // An auto-sized label's box width in stored units, wide enough for the text on `device`.
  Float80 AutoSizeBox(QRDevice& device, Canvas& canvas) const;
  void DrawLine(QRDevice& device, Canvas& canvas, const QString& line, Float80 x, Float80 y,
                Float80 box) const;

  QString caption_;
  QString printCaption_;
  bool autoSize_ = true;
  bool autoStretch_ = false;
  bool wordWrap_ = true;
  bool transparent_ = false;
  QColor color_ = Qt::white;
  CanvasFont font_;
  int fontSize_ = 0;
  QStringList lines_;
  int nextLine_ = 0;
  bool finished_ = true;
  int printedLines_ = 0;
};

class TQRLabel : public TQRCustomLabel {
 public:
  using TQRCustomLabel::TQRCustomLabel;
};

class TQRImage : public TQRPrintable {
 public:
  explicit TQRImage(QString name);

  const QImage& Picture() const;
  void SetPicture(const QImage& picture);
  // A picture of a known size that is decoded only when first drawn or asked for.
  void SetPicture(QSize size, std::function<QImage()> decode);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);

  void Print(int ofsX, int ofsY) override;

 private:
  void PictureChanged();

  mutable QImage picture_;
  mutable std::function<QImage()> decode_;
  QSize size_;
  bool autoSize_ = false;
  bool stretch_ = false;
  bool center_ = false;
};

}  // namespace hb9cv
