#include "report/model/qr_panel.h"

#include "report/model/qr_report.h"

namespace hb9cv {

void TQRBasePanel::Insert(std::unique_ptr<TQRPrintable> element) {
  TQRPrintable* raw = element.get();
  elements_.push_back(std::move(element));
  raw->parent_ = this;
  if (const TCustomReport* report = ParentReport()) raw->Size.SetUnits(report->Units());
  raw->Size.SetZoom(zoom_);
  raw->ParentChanged();
}

TQRPrintable* TQRBasePanel::FindElement(const QString& name) const {
  for (const auto& element : elements_) {
    if (element->Name() == name) return element.get();
  }
  return nullptr;
}

void TQRBasePanel::SetZoom(int zoom) {
  zoom_ = zoom;
  for (const auto& element : elements_) element->Size.SetZoom(zoom);
}

}  // namespace hb9cv
