#include "report/model/qr_band.h"

#include "report/model/qr_device.h"
#include "report/model/qr_report.h"

namespace hb9cv {

TQRCustomBand::TQRCustomBand(QString name, TCustomReport* report, TQRBandType type)
    : TQRBasePanel(std::move(name)), Size(this), report_(report), bandType_(type) {
  if (report_ != nullptr) Size.SetUnits(report_->Units());
}

bool TQRCustomBand::SetChildBand(TQRCustomBand* child) {
  for (const TQRCustomBand* band = child; band != nullptr; band = band->child_) {
    if (band == this) return false;
  }
  child_ = child;
  return true;
}

void TQRCustomBand::SizeToBounds() {
  SetPixelSize(QRRound(Size.LoadUnit(Size.Stored(TQRBandSize::kWidth), TQRUnit::Pixels, true)),
               QRRound(Size.LoadUnit(Size.Stored(TQRBandSize::kHeight), TQRUnit::Pixels, false)));
  for (const auto& element : Elements()) element->BandChanged();
}

void TQRCustomBand::Loaded() {
  SizeToBounds();
}

bool TQRCustomBand::Grow(Float80 height) {
  if (report_ == nullptr) return false;
  const int needed = QRRound(Size.Stored(TQRBandSize::kHeight) + extraHeight_ + height);
  if (needed > report_->FreeSpace()) return false;
  extraHeight_ += height;
  return true;
}

bool TQRCustomBand::PrintAt(QRDevice& device, int x, int y, bool reprint) {
  if (PixelHeight() == 0) return false;
  const Float80 width = Size.Stored(TQRBandSize::kWidth);
  const Float80 height = Size.Stored(TQRBandSize::kHeight);
  device.PageCanvas().FillRect(
      {device.XPos(x), device.YPos(y), device.XPos(x + width), device.YPos(y + height)}, color_);
  for (const auto& element : Elements()) {
    if (element->ShouldPrint() && (!reprint || !element->Finished())) element->Print(x, y);
  }
  Frame.Paint(device, x, y, x + width, y + height + extraHeight_ + 1);
  return true;
}

bool TQRCustomBand::ElementsFinished() const {
  for (const auto& element : Elements()) {
    if (element->ShouldPrint() && !element->Finished()) return false;
  }
  return true;
}

int TQRCustomBand::ElementsProgress() const {
  int progress = 0;
  for (const auto& element : Elements()) progress += element->PrintProgress();
  return progress;
}

}  // namespace hb9cv
