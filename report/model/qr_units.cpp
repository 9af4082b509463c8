#include "report/model/qr_units.h"

#include <QLocale>
#include <cmath>
#include <stdexcept>

#include "report/model/qr_band.h"
#include "report/model/qr_printable.h"
#include "report/model/qr_report.h"
#include "report/render/fonts.h"

namespace hb9cv {

namespace {

// clang-format off
constexpr PaperInfo kPapers[] = {
    {"Default", 0, 0, 0},          {"Letter", 215.9, 279.4, 1},   {"LetterSmall", 215.9, 279.4, 2},
    {"Tabloid", 279.4, 431.8, 3},  {"Ledger", 431.8, 279.4, 4},   {"Legal", 215.9, 355.6, 5},
    {"Statement", 139.7, 215.9, 6}, {"Executive", 190.5, 254, 7}, {"A3", 297, 420, 8},
    {"A4", 210, 297, 9},           {"A4Small", 210, 297, 10},     {"A5", 148, 210, 11},
    {"B4", 250, 354, 12},          {"B5", 182, 257, 13},          {"Folio", 215.9, 330.2, 14},
    {"Quarto", 215, 275, 15},      {"qr10X14", 254, 355.6, 16},   {"qr11X17", 279.4, 431.8, 17},
    {"Note", 215.9, 279.4, 18},    {"Env9", 98.43, 225.4, 19},    {"Env10", 104.8, 241.3, 20},
    {"Env11", 114.3, 263.5, 21},   {"Env12", 120.65, 279.4, 22},  {"Env14", 127, 292.1, 23},
    {"CSheet", 431.8, 558.8, 24}, {"DSheet", 558.8, 863.6, 25}, {"ESheet", 863.6, 1117.6, 26},
    {"Custom", 0, 0, 256},
};
// clang-format on
static_assert(std::size(kPapers) == static_cast<size_t>(TQRPaperSize::Custom) + 1);

// Character cell of the report font in stored units per character.
Float80 CharacterFactor(double pointSize, bool horizontal) {
  const Float80 s = std::fabs(pointSize);
  return (horizontal ? Float80(80) : 145.3_f80) / (s * 2.54_f80);
}

}  // namespace

const PaperInfo& PaperSizeInfo(TQRPaperSize size) {
  const auto index = static_cast<size_t>(size);
  if (index >= std::size(kPapers)) throw std::out_of_range("paper size");
  return kPapers[index];
}

TQRUnit DefaultUnit() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? TQRUnit::Inches
                                                                            : TQRUnit::MM;
}

TQRUnitBase::TQRUnitBase() : units_(DefaultUnit()), pixelsPerInch_(ScreenPixelsPerInch()) {}

Float80 TQRUnitBase::LoadUnit(Float80 v, TQRUnit unit, bool horizontal) const {
  switch (unit) {
    case TQRUnit::MM:
      return v / 10;
    case TQRUnit::Inches:
      return v / 254;
    case TQRUnit::Pixels:
      return v / (Float80(254) / pixelsPerInch_) * zoom_ / 100;
    case TQRUnit::Characters:
      return v / CharacterFactor(ReportFontSize(), horizontal) / 10;
    case TQRUnit::Native:
      return v;
  }
  return v;
}

Float80 TQRUnitBase::SaveUnit(Float80 u, TQRUnit unit, bool horizontal) const {
  switch (unit) {
    case TQRUnit::MM:
      return u * 10;
    case TQRUnit::Inches:
      return u * 254;
    case TQRUnit::Pixels:
      return Float80(254) / pixelsPerInch_ * u / zoom_ * 100;
    case TQRUnit::Characters:
      return CharacterFactor(ReportFontSize(), horizontal) * u * 10;
    case TQRUnit::Native:
      return u;
  }
  return u;
}

void TQRUnitBase::Refresh() {
  SetPixels();
}

Float80 TQRUnitBase::Value(int index) const {
  return LoadUnit(Stored(index), units_, IsHorizontal(index));
}

void TQRUnitBase::SetValue(int index, Float80 value) {
  SetStored(index, SaveUnit(value, units_, IsHorizontal(index)));
  Refresh();
}

void TQRUnitBase::LoadValues(std::initializer_list<Float80> values) {
  if (static_cast<int>(values.size()) != Count()) throw std::invalid_argument("Values count");
  int i = 0;
  for (Float80 v : values) SetStored(i++, v);
}

// --- page

TQRPage::TQRPage(TCustomReport* owner) : owner_(nullptr) {
  // The owner is still being built: fill in the defaults without telling it.
  if (Units() == TQRUnit::Inches) {
    paperSize_ = TQRPaperSize::Letter;
    for (int i : {kBottomMargin, kTopMargin, kLeftMargin, kRightMargin}) SetStored(i, 127);
  } else {
    for (int i : {kBottomMargin, kTopMargin, kLeftMargin, kRightMargin}) SetStored(i, 100);
  }
  SetPaperSize(paperSize_);
  owner_ = owner;
}

bool TQRPage::IsHorizontal(int index) const {
  return index == kWidth || index == kLeftMargin || index == kRightMargin || index == kColumnSpace;
}

void TQRPage::SetPixels() {
  if (owner_ != nullptr) owner_->PageToBounds();
}

double TQRPage::ReportFontSize() const {
  return owner_ != nullptr ? owner_->Font().pointSize : 10;
}

void TQRPage::SetLength(Float80 v) {
  if (paperSize_ == TQRPaperSize::Custom) SetValue(kLength, v);
}

void TQRPage::SetWidth(Float80 v) {
  if (paperSize_ == TQRPaperSize::Custom) SetValue(kWidth, v);
}

void TQRPage::SetOrientation(PaperOrientation orientation) {
  orientation_ = orientation;
  SetPaperSize(paperSize_);
}

void TQRPage::SetPaperSize(TQRPaperSize size) {
  paperSize_ = size;
  const PaperInfo& paper = PaperSizeInfo(size);
  if (size == TQRPaperSize::Default || size == TQRPaperSize::Custom) return;
  Float80 width = Float80(paper.width) * 10;
  Float80 length = Float80(paper.length) * 10;
  if (orientation_ == PaperOrientation::Landscape) std::swap(width, length);
  SetStored(kWidth, width);
  SetStored(kLength, length);
  Refresh();
}

// --- band size

TQRBandSize::TQRBandSize(TQRCustomBand* owner) : owner_(owner) {}

void TQRBandSize::SetPixels() {
  if (owner_ != nullptr) owner_->SizeToBounds();
}

double TQRBandSize::ReportFontSize() const {
  const TCustomReport* report = owner_ != nullptr ? owner_->ParentReport() : nullptr;
  return report != nullptr ? report->Font().pointSize : 10;
}

// --- element size

TQRPrintableSize::TQRPrintableSize(TQRPrintable* owner) : owner_(owner) {}

void TQRPrintableSize::SetPixels() {
  if (owner_ != nullptr) owner_->SizeToBounds();
}

double TQRPrintableSize::ReportFontSize() const {
  const TCustomReport* report = owner_ != nullptr ? owner_->ParentReport() : nullptr;
  return report != nullptr ? report->Font().pointSize : 10;
}

}  // namespace hb9cv
