#pragma once
// Report geometry: lengths are stored in tenths of a millimetre (254 to the inch) as 80-bit
// numbers and read and written in the holder's current unit.
#include <QString>
#include <array>
#include <initializer_list>

#include "calc/float80.h"

namespace hb9cv {

enum class TQRUnit { MM, Inches, Pixels, Characters, Native };

// clang-format off
enum class TQRPaperSize {
  Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small,
  A5, B4, B5, Folio, Quarto, qr10X14, qr11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet,
  DSheet, ESheet, Custom
};
// clang-format on

enum class PaperOrientation { Portrait, Landscape };

// clang-format off
enum class TQRBin {
  First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
  LargeFormat, LargeCapacity, Cassette, Last
};
// clang-format on

struct PaperInfo {
  const char* name;
  double width;   // mm, portrait; 0 for Default and Custom
  double length;  // mm, portrait
  int deviceCode;
};
const PaperInfo& PaperSizeInfo(TQRPaperSize size);

// The unit a new geometry holder starts in: inches under the U.S. measurement system.
TQRUnit DefaultUnit();

class TCustomReport;
class TQRPrintable;
class TQRCustomBand;

class TQRUnitBase {
 public:
  virtual ~TQRUnitBase() = default;

  // Conversion of a stored value into `unit` and back; `horizontal` picks the character
  // width or height for the Characters unit.
  virtual Float80 LoadUnit(Float80 stored, TQRUnit unit, bool horizontal) const;
  virtual Float80 SaveUnit(Float80 value, TQRUnit unit, bool horizontal) const;
  virtual TQRUnit Units() const { return units_; }
  // Brings the owner's pixel bounds up to date after the stored values changed.
  virtual void Refresh();
  // Value `index` in the current unit.
  virtual Float80 Value(int index) const;
  // Copies the stored size to the owner's pixel bounds.
  virtual void SetPixels() = 0;
  virtual void SetUnits(TQRUnit units) { units_ = units; }
  // Writes value `index` given in the current unit.
  virtual void SetValue(int index, Float80 value);

  virtual int Count() const = 0;
  virtual bool IsHorizontal(int index) const = 0;

  // Stored (tenths of a millimetre) access, as the form resource reads its Values lists.
  Float80 Stored(int index) const { return values_.at(index); }
  void SetStored(int index, Float80 value) { values_.at(index) = value; }
  void LoadValues(std::initializer_list<Float80> values);

  int Zoom() const { return zoom_; }
  void SetZoom(int zoom) { zoom_ = zoom; }
  // The screen's pixels per inch, captured at creation.
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }

 protected:
  TQRUnitBase();
  // Absolute point size of the report's font, for the Characters unit.
  virtual double ReportFontSize() const { return 10; }

 private:
  static constexpr int kMaxValues = 7;
  std::array<Float80, kMaxValues> values_{};
  TQRUnit units_;
  int zoom_ = 100;
  int pixelsPerInch_;
};

// The report's paper and margins. Values: 0 bottom margin, 1 length, 2 top margin, 3 width,
// 4 left margin, 5 right margin, 6 column space.
class TQRPage : public TQRUnitBase {
 public:
  enum Index {
    kBottomMargin,
    kLength,
    kTopMargin,
    kWidth,
    kLeftMargin,
    kRightMargin,
    kColumnSpace
  };
  explicit TQRPage(TCustomReport* owner);

  int Count() const override { return 7; }
  bool IsHorizontal(int index) const override;
  void SetPixels() override;

  Float80 Length() const { return Value(kLength); }
  Float80 Width() const { return Value(kWidth); }
  // Only while the paper size is Custom; other sizes take their length and width from the
  // paper table.
  void SetLength(Float80 v);
  void SetWidth(Float80 v);

  PaperOrientation Orientation() const { return orientation_; }
  void SetOrientation(PaperOrientation orientation);
  TQRPaperSize PaperSize() const { return paperSize_; }
  void SetPaperSize(TQRPaperSize size);
  bool Ruler() const { return ruler_; }

 protected:
  double ReportFontSize() const override;

 private:
  TCustomReport* owner_;
  PaperOrientation orientation_ = PaperOrientation::Portrait;
  TQRPaperSize paperSize_ = TQRPaperSize::A4;
  bool ruler_ = false;
};

// A band's size. Values: 0 height, 1 width.
class TQRBandSize : public TQRUnitBase {
 public:
  enum Index { kHeight, kWidth };
  explicit TQRBandSize(TQRCustomBand* owner);

  int Count() const override { return 2; }
  bool IsHorizontal(int index) const override { return index == kWidth; }
  void SetPixels() override;

  Float80 Height() const { return Value(kHeight); }
  Float80 Width() const { return Value(kWidth); }
  void SetHeight(Float80 v) { SetValue(kHeight, v); }
  void SetWidth(Float80 v) { SetValue(kWidth, v); }

 protected:
  double ReportFontSize() const override;

 private:
  TQRCustomBand* owner_;
};

// An element's size and place on its band. Values: 0 height, 1 left, 2 top, 3 width.
class TQRPrintableSize : public TQRUnitBase {
 public:
  enum Index { kHeight, kLeft, kTop, kWidth };
  explicit TQRPrintableSize(TQRPrintable* owner);

  int Count() const override { return 4; }
  bool IsHorizontal(int index) const override { return index == kLeft || index == kWidth; }
  void SetPixels() override;

  Float80 Height() const { return Value(kHeight); }
  Float80 Left() const { return Value(kLeft); }
  Float80 Top() const { return Value(kTop); }
  Float80 Width() const { return Value(kWidth); }
  void SetHeight(Float80 v) { SetValue(kHeight, v); }
  void SetWidth(Float80 v) { SetValue(kWidth, v); }

 protected:
  double ReportFontSize() const override;

 private:
  TQRPrintable* owner_;
};

}  // namespace hb9cv
