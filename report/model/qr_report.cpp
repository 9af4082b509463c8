#include "report/model/qr_report.h"

#include <QGuiApplication>
#include <utility>

#include "report/model/qr_device.h"
#include "report/render/qpainter_canvas.h"

namespace hb9cv {

namespace {

ReportOutputFactory* g_outputFactory = nullptr;

using P = TQRPage::Index;

// Keeps the report's busy flag, device and unit for the length of one pass.
class PassScope {
 public:
  PassScope(bool& building, QRDevice*& device, QRDevice& passDevice)
      : building_(building), device_(device) {
    building_ = true;
    device_ = &passDevice;
  }
  ~PassScope() {
    building_ = false;
    device_ = nullptr;
  }
  PassScope(const PassScope&) = delete;
  PassScope& operator=(const PassScope&) = delete;

 private:
  bool& building_;
  QRDevice*& device_;
};

// Headers and footers print as part of starting or ending a page.
bool IsPageBand(const TQRCustomBand& band) {
  return band.BandType() == TQRBandType::rbPageHeader ||
         band.BandType() == TQRBandType::rbPageFooter ||
         band.BandType() == TQRBandType::rbColumnHeader;
}

}  // namespace

QVariant ReportFunctions::Value(const QString& name) const {
  const auto it = values_.find(name);
  return it == values_.end() ? QVariant() : it->second;
}

TCustomReport::TCustomReport(QString name) : TQRBasePanel(std::move(name)), Page(this) {
  PageToBounds();
}

TCustomReport::~TCustomReport() = default;

void TCustomReport::SetUnits(TQRUnit units) {
  Page.SetUnits(units);
  for (const auto& element : Elements()) element->Size.SetUnits(units);
  for (const auto& band : bands_) {
    band->Size.SetUnits(units);
    for (const auto& element : band->Elements()) element->Size.SetUnits(units);
  }
}

void TCustomReport::SetZoom(int zoom) {
  TQRBasePanel::SetZoom(zoom);
  Page.SetZoom(zoom);
  for (const auto& band : bands_) {
    band->Size.SetZoom(zoom);
    band->SetZoom(zoom);
  }
}

TQRBand* TCustomReport::AddBand(QString name, TQRBandType type) {
  auto band = std::make_unique<TQRBand>(std::move(name), this, type);
  TQRBand* raw = band.get();
  band->SetZoom(Zoom());
  band->Size.SetZoom(Zoom());
  bands_.push_back(std::move(band));
  return raw;
}

TQRCustomBand* TCustomReport::FindBand(TQRBandType type) const {
  for (const auto& band : bands_) {
    if (band->BandType() == type) return band.get();
  }
  return nullptr;
}

void TCustomReport::Loaded() {
  PageToBounds();
  for (const auto& band : bands_) band->Loaded();
  ForEachElement([](TQRPrintable& element) {
    if (element.Loading()) element.Loaded();
  });
}

void TCustomReport::PageToBounds() {
  SetPixelSize(QRRound(Page.LoadUnit(Page.Stored(P::kWidth), TQRUnit::Pixels, true)),
               QRRound(Page.LoadUnit(Page.Stored(P::kLength), TQRUnit::Pixels, false)));
}

Canvas* TCustomReport::Measure() {
  // Fonts need the GUI application; without one nothing can be measured.
  if (!measure_ && qGuiApp != nullptr) measure_ = std::make_unique<ScreenMeasureCanvas>();
  return measure_.get();
}

int TCustomReport::TextWidth(const CanvasFont& font, const QString& text) {
  Canvas* canvas = Measure();
  if (canvas == nullptr) return 0;
  canvas->SetFont(font);
  return canvas->TextWidth(text);
}

int TCustomReport::TextHeight(const CanvasFont& font, const QString& text) {
  Canvas* canvas = Measure();
  if (canvas == nullptr) return 0;
  canvas->SetFont(font);
  return canvas->TextHeight(text);
}

template <class Action>
void TCustomReport::ForEachElement(Action action) {
  for (const auto& element : Elements()) action(*element);
  for (const auto& band : bands_) {
    for (const auto& element : band->Elements()) action(*element);
  }
}

Float80 TCustomReport::ChainHeight(const TQRCustomBand* band) const {
  Float80 height = 0;
  // A child chain cannot be longer than the list of bands; a loop in it ends there.
  for (size_t n = 0; band != nullptr && n <= bands_.size(); ++n, band = band->ChildBand()) {
    height += band->Size.Stored(TQRBandSize::kHeight);
  }
  return height;
}

void TCustomReport::DropOversizedMargins() {
  if (Page.Stored(P::kWidth) - Page.Stored(P::kLeftMargin) - Page.Stored(P::kRightMargin) < 0) {
    Page.SetStored(P::kLeftMargin, 0);
    Page.SetStored(P::kRightMargin, 0);
  }
  if (Page.Stored(P::kLength) - Page.Stored(P::kTopMargin) - Page.Stored(P::kBottomMargin) < 0) {
    Page.SetStored(P::kTopMargin, 0);
    Page.SetStored(P::kBottomMargin, 0);
  }
}

void TCustomReport::Generate(QRDevice& device) {
  if (building_) return;
  PassScope scope(building_, device_, device);
  DropOversizedMargins();

  const TQRUnit savedUnits = Units();
  SetUnits(TQRUnit::Native);

  footerHeight_ = 0;
  for (const auto& band : bands_) {
    if (band->BandType() == TQRBandType::rbPageFooter && band->Enabled()) {
      footerHeight_ += ChainHeight(band.get());
    }
  }

  bool begun = false;
  try {
    device.PrepareBuild(*this);
    device.BeginDoc();
    begun = true;
    pageCount_ = 0;
    pageOpen_ = false;
    currentY_ = -1;
    currentX_ = QRRound(Page.Stored(P::kLeftMargin));
    Functions.Set(QStringLiteral("PAGENUMBER"), 0);
    Functions.Set(QStringLiteral("COLUMNNUMBER"), 0);
    Functions.Set(QStringLiteral("REPORTTITLE"), reportTitle_);
    for (const auto& band : bands_) band->ResetExtraHeight();
    ForEachElement([&device](TQRPrintable& element) { element.BeforePrint(device); });

    RunBands();

    EndPage(true);
    ForEachElement([](TQRPrintable& element) { element.AfterPrint(); });
    SetUnits(savedUnits);
    if (device.Cancelled()) {
      device.Abort();
    } else {
      device.EndDoc();
    }
  } catch (...) {
    ForEachElement([](TQRPrintable& element) { element.AfterPrint(); });
    SetUnits(savedUnits);
    if (begun) {
      try {
        device.Abort();
      } catch (...) {
        // The first failure is the one to report.
      }
    }
    throw;
  }
}

void TCustomReport::RunBands() {
  if (!printIfEmpty_) return;
  for (TQRBandType type : {TQRBandType::rbTitle, TQRBandType::rbDetail, TQRBandType::rbSummary}) {
    if (device_->Cancelled()) return;
    PrintBand(FindBand(type));
  }
}

int TCustomReport::FreeSpace() const {
  if (!pageOpen_ || device_ == nullptr) return 0;
  return QRRound(device_->PaperLength() - Page.Stored(P::kBottomMargin) - footerHeight_ -
                 currentY_);
}

void TCustomReport::NewPage() {
  currentX_ = QRRound(Page.Stored(P::kLeftMargin));
  EndPage(false);
  ++pageCount_;
  Functions.Set(QStringLiteral("PAGENUMBER"), pageCount_);
  device_->NewPage();
  pageOpen_ = true;
  currentY_ = QRRound(Page.Stored(P::kTopMargin));
  if (pageCount_ > 1 || Options.FirstPageHeader) {
    PrintBand(FindBand(TQRBandType::rbPageHeader));
  }
  // The page is the one column there is: its header repeats on every page after the first.
  Functions.Set(QStringLiteral("COLUMNNUMBER"), 1);
  if (pageCount_ > 1) PrintBand(FindBand(TQRBandType::rbColumnHeader));
}

void TCustomReport::EndPage(bool lastPage) {
  if (!pageOpen_) return;
  currentY_ = QRRound(Page.Stored(P::kLength) - Page.Stored(P::kBottomMargin) - footerHeight_);
  currentX_ = QRRound(Page.Stored(P::kLeftMargin));
  if (!lastPage || Options.LastPageFooter) PrintBand(FindBand(TQRBandType::rbPageFooter));
  for (const auto& element : Elements()) {
    if (element->ShouldPrint()) element->Print(0, 0);
  }
  Frame.Paint(*device_, Page.Stored(P::kLeftMargin), Page.Stored(P::kTopMargin),
              Page.Stored(P::kWidth) - Page.Stored(P::kRightMargin),
              Page.Stored(P::kLength) - Page.Stored(P::kBottomMargin));
  pageOpen_ = false;
}

void TCustomReport::PrintBand(TQRCustomBand* band) {
  if (band == nullptr) return;
  // A chain of child bands prints with the band that starts it. A page's header or footer and
  // its children never make room: a new page would print that header or footer, and its
  // children, again without end.
  const bool pageBand = IsPageBand(*band);
  const Float80 pageSpace =
      Page.Stored(P::kLength) - (Page.Stored(P::kTopMargin) + Page.Stored(P::kBottomMargin));
  for (; band != nullptr; band = band->ChildBand()) {
    if (band->AlignToBottom()) {
      const int bottom = QRRound(device_->PaperLength() - Page.Stored(P::kBottomMargin) -
                                 band->Size.Stored(TQRBandSize::kHeight) - footerHeight_);
      if (bottom > currentY_) currentY_ = bottom;
    }
    if (!band->Enabled()) continue;
    const int needed = QRRound(ChainHeight(band));
    // With the page as the only column, a new column is a new page; a chain taller than a page
    // prints where it stands.
    const bool newPage = !pageOpen_ || band->ForceNewPage() || band->ForceNewColumn() ||
                         (needed > FreeSpace() && needed <= pageSpace);
    if (newPage && !pageBand) NewPage();
    PrintBandOnce(band, pageBand);
  }
}

void TCustomReport::PrintBandOnce(TQRCustomBand* band, bool pageBand) {
  bool reprint = false;
  for (;;) {
    const int progressBefore = band->ElementsProgress();
    if (!band->PrintAt(*device_, currentX_, currentY_, reprint)) return;
    currentY_ += QRRound(band->Size.Stored(TQRBandSize::kHeight) + band->ExtraHeight());
    band->ResetExtraHeight();
    if (band->ElementsFinished() || device_->Cancelled() || pageBand) return;
    // A reprint on a fresh page that got no further would go on for ever.
    if (reprint && band->ElementsProgress() == progressBefore) return;
    NewPage();
    reprint = true;
  }
}

void TCustomReport::Preview() {
  if (ReportOutput* output = Output()) output->Preview();
}

ReportOutput* TCustomReport::Output() {
  if (!output_ && g_outputFactory != nullptr) output_ = g_outputFactory->MakeOutput(*this);
  return output_.get();
}

ReportOutputFactory* SetReportOutputFactory(ReportOutputFactory* factory) {
  return std::exchange(g_outputFactory, factory);
}

}  // namespace hb9cv
