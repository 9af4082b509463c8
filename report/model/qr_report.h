#pragma once
// The report: its page, bands and settings, and the pass that builds its pages onto an output
// device. This report kind has no data source; the title, detail and summary bands print once.
#include <QString>
#include <QVariant>
#include <map>
#include <memory>
#include <vector>

#include "report/model/qr_band.h"
#include "report/model/qr_frame.h"
#include "report/model/qr_panel.h"
#include "report/model/qr_units.h"
#include "report/render/canvas.h"

namespace hb9cv {

class QRDevice;
class TCustomReport;

// What previews and prints a report. A higher layer provides it by installing a factory, so
// the model does not depend on windows or printers.
class ReportOutput {
 public:
  virtual ~ReportOutput() = default;
  // Opens the preview of the report and returns when it has closed.
  virtual void Preview() = 0;
};
class ReportOutputFactory {
 public:
  virtual ~ReportOutputFactory() = default;
  virtual std::unique_ptr<ReportOutput> MakeOutput(TCustomReport& report) = 0;
};
// Every report without an output gets one from `factory` (not owned) when it first needs it.
// Returns the factory it replaces.
ReportOutputFactory* SetReportOutputFactory(ReportOutputFactory* factory);

struct ReportOptions {
  bool FirstPageHeader = false;
  bool LastPageFooter = false;
  bool Compression = false;
};

struct ReportPrintSettings {
  int Copies = 1;
  bool Duplex = false;
  int FirstPage = 0;  // 0: no bound
  int LastPage = 0;
  TQRBin OutputBin = TQRBin::Auto;
};

// Named values the report keeps up to date while it prints.
class ReportFunctions {
 public:
  void Set(const QString& name, const QVariant& value) { values_[name] = value; }
  QVariant Value(const QString& name) const;

 private:
  std::map<QString, QVariant> values_;
};

class TCustomReport : public TQRBasePanel {
 public:
  explicit TCustomReport(QString name);
  ~TCustomReport() override;

  TQRPage Page;
  TQRFrame Frame;
  ReportOptions Options;
  ReportPrintSettings PrinterSettings;
  ReportFunctions Functions;

  TQRUnit Units() const { return Page.Units(); }
  // Sets the unit on the page, every band and every element.
  virtual void SetUnits(TQRUnit units);
  void SetZoom(int zoom) override;

  bool PrintIfEmpty() const { return printIfEmpty_; }
  void SetPrintIfEmpty(bool value) { printIfEmpty_ = value; }
  const QString& ReportTitle() const { return reportTitle_; }
  void SetReportTitle(const QString& title) { reportTitle_ = title; }
  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& font) { font_ = font; }
  // −1: the system's default printer.
  int PrinterIndex() const { return printerIndex_; }
  void SetPrinterIndex(int index) { printerIndex_ = index; }
  bool ShowProgress() const { return showProgress_; }
  void SetShowProgress(bool value) { showProgress_ = value; }

  TQRBand* AddBand(QString name, TQRBandType type);
  const std::vector<std::unique_ptr<TQRCustomBand>>& Bands() const { return bands_; }
  TQRCustomBand* FindBand(TQRBandType type) const;

  // Ends loading: the page, every band and every element mirror their stored sizes.
  void Loaded();

  // Text extents in a font on the report's screen-compatible surface (0 when not measurable).
  int TextWidth(const CanvasFont& font, const QString& text);
  int TextHeight(const CanvasFont& font, const QString& text);

  // The report pass: builds every page onto `device`. Does nothing while a pass runs.
  void Generate(QRDevice& device);
  bool Building() const { return building_; }

  // Opens the preview of the report through its output and returns when it has closed;
  // nothing happens while no output factory is installed.
  virtual void Preview();
  // The report's output, made on first use; nullptr while no factory is installed.
  ReportOutput* Output();

  // State of the pass in progress (stored units from the paper's corner).
  int CurrentX() const { return currentX_; }
  int CurrentY() const { return currentY_; }
  int PageCount() const { return pageCount_; }
  // Room left on the current page below CurrentY; 0 while no page exists.
  int FreeSpace() const;

  TCustomReport* ParentReport() const override { return const_cast<TCustomReport*>(this); }
  // Mirrors the page size in the report's pixel size.
  void PageToBounds();

 protected:
  // Prints the title, detail and summary bands, as a report without data does.
  virtual void RunBands();
  void PrintBand(TQRCustomBand* band);
  // Ends the current page, if any, and starts the next; a band then starts at its top.
  void NewPage();
  void EndPage(bool lastPage);

 private:
  Float80 ChainHeight(const TQRCustomBand* band) const;
  // Margins that leave no room on the paper are dropped, a pair at a time.
  void DropOversizedMargins();
  // Prints one band, again on new pages while its elements are unfinished (never for a band
  // that belongs to a page).
  void PrintBandOnce(TQRCustomBand* band, bool pageBand);
  template <class Action>
  void ForEachElement(Action action);
  Canvas* Measure();

  std::vector<std::unique_ptr<TQRCustomBand>> bands_;
  std::unique_ptr<Canvas> measure_;
  std::unique_ptr<ReportOutput> output_;
  CanvasFont font_;
  QString reportTitle_;
  bool printIfEmpty_ = true;
  int printerIndex_ = -1;
  bool showProgress_ = true;

  bool building_ = false;
  bool pageOpen_ = false;
  QRDevice* device_ = nullptr;
  int currentX_ = 0;
  int currentY_ = -1;
  int pageCount_ = 0;
  Float80 footerHeight_ = 0;
};

class TReport : public TCustomReport {
 public:
  using TCustomReport::TCustomReport;
};

}  // namespace hb9cv
