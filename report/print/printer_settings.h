#pragma once
// The printers of the system and the device settings of one chosen printer.
#include <QList>
#include <QPageSize>
#include <QPrinter>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "report/print/paper.h"
#include "report/print/scoped_hook.h"

namespace hb9cv {

struct PrinterDescription {
  QString name;
  QString driver;
  QString port;
  QList<QPageSize> pageSizes;
  // The driver prints on both sides unless told otherwise.
  bool defaultDuplex = false;
};

// The installed printers. The program asks the system's print service; tests put in a catalog
// of their own (no printer at all, or a printer that writes a PDF file).
class PrinterCatalog {
 public:
  virtual ~PrinterCatalog() = default;
  // Installed printers; a printer index counts into this list.
  virtual QStringList PrinterNames() const = 0;
  // The system's default printer; empty when there is none.
  virtual QString DefaultPrinterName() const = 0;
  virtual std::optional<PrinterDescription> Describe(const QString& name) const = 0;
  // A device of its own for `name`, at its driver's defaults (high resolution).
  virtual std::unique_ptr<QPrinter> OpenDevice(const QString& name) const = 0;
};

// The catalog in use: the system's unless a test installed another.
PrinterCatalog& Printers();
// Installs `catalog` (not owned) and returns the one it replaces; nullptr restores the system's.
PrinterCatalog* SetPrinters(PrinterCatalog* catalog);

// `catalog` in place of the system's printers for one scope.
class ScopedPrinters : public ScopedHook<PrinterCatalog*> {
 public:
  explicit ScopedPrinters(PrinterCatalog& catalog) : ScopedHook(&SetPrinters, &catalog) {}
};

// The name a printer index stands for: index −1 (or one past the list) is the default
// printer, or the first installed one when no default is set; empty when there is no printer.
QString ResolvePrinterName(const PrinterCatalog& catalog, int index);
// The index of `name` in the catalog, −1 when it is not there.
int PrinterIndexOf(const PrinterCatalog& catalog, const QString& name);

// Device settings of one printer. Owns that printer's device: choosing a printer opens a fresh
// device at its driver's defaults and reads its resolution, paper and printing offsets again.
// Without a printer every device value reads 0 and only settings that need no device stick.
class TPrinterSettings {
 public:
  TPrinterSettings();
  ~TPrinterSettings();
  TPrinterSettings(const TPrinterSettings&) = delete;
  TPrinterSettings& operator=(const TPrinterSettings&) = delete;

  // Chooses printer `index` of the catalog (−1: the default printer), resetting its device.
  void SetPrinterIndex(int index, const PrinterCatalog& catalog = Printers());

  QPrinter* Device() const { return device_.get(); }
  bool HasDevice() const { return device_ != nullptr; }
  const QString& DeviceName() const { return deviceName_; }

  int Copies() const { return copies_; }
  void SetCopies(int copies);
  bool Duplex() const { return duplex_; }
  PaperOrientation Orientation() const { return orientation_; }
  void SetOrientation(PaperOrientation orientation);
  TQRBin OutputBin() const { return outputBin_; }
  void SetOutputBin(TQRBin bin);
  TQRPaperSize PaperSize() const { return paperSize_; }
  // Taken only when the device offers the size, or for Default.
  void SetPaperSize(TQRPaperSize size);
  // Custom paper in stored units (tenths of a millimetre), portrait.
  int CustomWidth() const { return customWidth_; }
  int CustomLength() const { return customLength_; }
  void SetCustomSize(int width, int length);

  // Read from the device: pixels per inch, and the physical page and printing offsets in
  // stored units.
  int XResolution() const { return xResolution_; }
  int YResolution() const { return yResolution_; }
  int PhysicalWidth() const { return physicalWidth_; }
  int PhysicalLength() const { return physicalLength_; }
  int OffsetLeft() const { return offsetLeft_; }
  int OffsetTop() const { return offsetTop_; }

  // Custom is always offered; other sizes only by a device that has them.
  bool Offers(TQRPaperSize size) const;
  bool CanSetOrientation() const { return HasDevice(); }
  bool CanSetCopies() const { return HasDevice(); }
  bool CanSetBin() const { return HasDevice(); }

  // Writes paper, duplex, copies, bin and orientation into the device.
  void ApplyToDevice();

 private:
  void ReadDevice();

  std::unique_ptr<QPrinter> device_;
  QString deviceName_;
  QString driverName_;
  QString portName_;
  bool defaultDuplex_ = false;
  QSet<int> offered_;

  int copies_ = 1;
  bool duplex_ = false;
  PaperOrientation orientation_ = PaperOrientation::Portrait;
  TQRBin outputBin_ = TQRBin::Auto;
  TQRPaperSize paperSize_ = TQRPaperSize::A4;
  int customWidth_ = 0;
  int customLength_ = 0;

  int xResolution_ = 0;
  int yResolution_ = 0;
  int physicalWidth_ = 0;
  int physicalLength_ = 0;
  int offsetLeft_ = 0;
  int offsetTop_ = 0;
};

}  // namespace hb9cv
