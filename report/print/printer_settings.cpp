#include "report/print/printer_settings.h"

#include <QElapsedTimer>
#include <QPageLayout>
#include <QPrinterInfo>
#include <cmath>
#include <map>
#include <utility>

namespace hb9cv {

namespace {

// Asking the print service is slow (each question enumerates every queue), and one build asks
// several questions in a row; answers are kept for a moment so that a build asks each once.
class SystemPrinterCatalog final : public PrinterCatalog {
 public:
  QStringList PrinterNames() const override {
    Refresh();
    if (!names_) names_ = QPrinterInfo::availablePrinterNames();
    return *names_;
  }
  QString DefaultPrinterName() const override {
    Refresh();
    if (!default_) default_ = QPrinterInfo::defaultPrinterName();
    return *default_;
  }

  std::optional<PrinterDescription> Describe(const QString& name) const override {
    const QPrinterInfo info = Info(name);
    if (info.isNull()) return std::nullopt;
    PrinterDescription d;
    d.name = info.printerName();
    d.driver = info.makeAndModel();
    d.port = info.location();
    d.pageSizes = info.supportedPageSizes();
    d.defaultDuplex = info.defaultDuplexMode() != QPrinter::DuplexNone;
    return d;
  }

  std::unique_ptr<QPrinter> OpenDevice(const QString& name) const override {
    const QPrinterInfo info = Info(name);
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  }

 private:
  static constexpr qint64 kKeepMs = 2000;

  void Refresh() const {
    if (age_.isValid() && age_.elapsed() < kKeepMs) return;
    age_.start();
    names_.reset();
    default_.reset();
    infos_.clear();
  }
  QPrinterInfo Info(const QString& name) const {
    Refresh();
    const auto it = infos_.find(name);
    if (it != infos_.end()) return it->second;
    return infos_.emplace(name, QPrinterInfo::printerInfo(name)).first->second;
  }

  mutable QElapsedTimer age_;
  mutable std::optional<QStringList> names_;
  mutable std::optional<QString> default_;
  mutable std::map<QString, QPrinterInfo> infos_;
};

PrinterCatalog* gCatalog = nullptr;

// Device pixels -> stored units (tenths of a millimetre), rounded.
int ToStored(double pixels, int ppi) {
  if (ppi <= 0) return 0;
  return static_cast<int>(std::lround(pixels / ppi * 254));
}

}  // namespace

PrinterCatalog& Printers() {
  static SystemPrinterCatalog system;
  return gCatalog != nullptr ? *gCatalog : system;
}

PrinterCatalog* SetPrinters(PrinterCatalog* catalog) {
  return std::exchange(gCatalog, catalog);
}

QString ResolvePrinterName(const PrinterCatalog& catalog, int index) {
  const QStringList names = catalog.PrinterNames();
  if (index >= 0 && index < names.size()) return names.at(index);
  if (names.isEmpty()) return {};
  const QString fallback = catalog.DefaultPrinterName();
  return names.contains(fallback) ? fallback : names.first();
}

int PrinterIndexOf(const PrinterCatalog& catalog, const QString& name) {
  return static_cast<int>(catalog.PrinterNames().indexOf(name));
}

TPrinterSettings::TPrinterSettings() = default;
TPrinterSettings::~TPrinterSettings() = default;

void TPrinterSettings::SetPrinterIndex(int index, const PrinterCatalog& catalog) {
  device_.reset();
  deviceName_.clear();
  driverName_.clear();
  portName_.clear();
  offered_.clear();
  defaultDuplex_ = false;
  const QString name = ResolvePrinterName(catalog, index);
  if (!name.isEmpty()) {
    device_ = catalog.OpenDevice(name);
    if (const auto description = catalog.Describe(name)) {
      deviceName_ = description->name;
      driverName_ = description->driver;
      portName_ = description->port;
      defaultDuplex_ = description->defaultDuplex;
      // A named size is offered when the device has the sheet Qt knows for its code; a few
      // codes share one sheet (11x17 is Tabloid).
      for (const QPageSize& size : description->pageSizes) {
        for (int i = static_cast<int>(TQRPaperSize::Letter);
             i <= static_cast<int>(TQRPaperSize::ESheet); ++i) {
          if (ToPageSizeId(static_cast<TQRPaperSize>(i)) == size.id()) offered_.insert(i);
        }
      }
    }
    if (device_ && deviceName_.isEmpty()) deviceName_ = name;
  }
  ReadDevice();
}

void TPrinterSettings::ReadDevice() {
  if (!device_) {
    xResolution_ = yResolution_ = 0;
    physicalWidth_ = physicalLength_ = offsetLeft_ = offsetTop_ = 0;
    return;
  }
  // The printable area starts at the device's unprintable margins; drawing is placed from
  // there, so the painter works on the printable area of the full paper.
  device_->setFullPage(false);
  device_->setPageMargins(device_->pageLayout().minimumMargins(), device_->pageLayout().units());
  xResolution_ = device_->logicalDpiX();
  yResolution_ = device_->logicalDpiY();
  const QRectF paper = device_->paperRect(QPrinter::DevicePixel);
  const QRectF page = device_->pageRect(QPrinter::DevicePixel);
  physicalWidth_ = ToStored(paper.width(), xResolution_);
  physicalLength_ = ToStored(paper.height(), yResolution_);
  offsetLeft_ = ToStored(page.left() - paper.left(), xResolution_);
  offsetTop_ = ToStored(page.top() - paper.top(), yResolution_);
}

void TPrinterSettings::SetCopies(int copies) {
  if (CanSetCopies()) copies_ = copies;
}

void TPrinterSettings::SetOrientation(PaperOrientation orientation) {
  if (CanSetOrientation()) orientation_ = orientation;
}

void TPrinterSettings::SetOutputBin(TQRBin bin) {
  if (CanSetBin()) outputBin_ = bin;
}

void TPrinterSettings::SetPaperSize(TQRPaperSize size) {
  if (size == TQRPaperSize::Default || Offers(size)) paperSize_ = size;
}

void TPrinterSettings::SetCustomSize(int width, int length) {
  customWidth_ = width;
  customLength_ = length;
}

bool TPrinterSettings::Offers(TQRPaperSize size) const {
  return size == TQRPaperSize::Custom || offered_.contains(static_cast<int>(size));
}

void TPrinterSettings::ApplyToDevice() {
  if (!device_) return;
  QPrinter& d = *device_;
  if (paperSize_ == TQRPaperSize::Custom) {
    if (customWidth_ > 0 && customLength_ > 0) {
      d.setPageSize(QPageSize(QSizeF(customWidth_ / 10.0, customLength_ / 10.0),
                              QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    }
  } else if (paperSize_ != TQRPaperSize::Default) {
    d.setPageSize(QPageSize(ToPageSizeId(paperSize_)));
  }
  // A printer that prints both sides by default is kept two-sided, bound along the short
  // edge; the report's own duplex choice is not passed on.
  if (defaultDuplex_) d.setDuplex(QPrinter::DuplexShortSide);
  d.setCopyCount(copies_);
  d.setPaperSource(ToPaperSource(outputBin_));
  d.setPageOrientation(orientation_ == PaperOrientation::Landscape ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
  ReadDevice();
}

}  // namespace hb9cv
