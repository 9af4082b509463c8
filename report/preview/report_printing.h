#pragma once
// The report's side of previewing and printing: the preview call with its nested event loop,
// the print run, the printer setup and the closing of preview windows. Owns every report
// printer the report made; one of them is the report's current printer.
#include <QEventLoop>
#include <QObject>
#include <memory>
#include <vector>

#include "report/model/qr_report.h"
#include "report/preview/preview_dialogs.h"
#include "report/print/printer_settings.h"

namespace hb9cv {

class TQRPrinter;

class ReportPrinting : public QObject, public ReportOutput {
  Q_OBJECT
 public:
  explicit ReportPrinting(TCustomReport& report);
  ~ReportPrinting() override;

  TCustomReport& Report() const { return report_; }
  TQRPrinter* CurrentPrinter() const { return current_; }
  // Report printers alive: one per open preview window, plus one during a print run.
  int PrinterCount() const { return static_cast<int>(printers_.size()); }

  // Builds the report into a new report printer, opens its preview window and returns when
  // that window has closed (or at once while the report is building).
  void Preview() override;
  // Builds the report a second time, straight onto the printer, with a progress window.
  void PrintRun();
  // The print dialog; its choices stay with the report for later prints and previews.
  void PrinterSetup();
  // A preview window is closing: its printer is discarded, or the build running on it stops.
  void CloseRequest(TQRPrinter* printer);

 signals:
  // Write the report as a PDF file; the preview's Save dialog offers PDF only to previews
  // opened while something was connected here.
  void ExportRequest(const QString& fileName);

 private:
  TQRPrinter* NewPrinter();
  void Discard(TQRPrinter* printer);
  bool PreviewOver() const;
  void EndFinishedLoops();

  TCustomReport& report_;
  std::vector<std::unique_ptr<TQRPrinter>> printers_;
  TQRPrinter* current_ = nullptr;
  std::vector<QEventLoop*> loops_;
  bool buildCancelled_ = false;
};

// Makes report printing every report's output and the standard preview window the report
// printers' default (both idempotent).
void InstallReportPrinting();
// The report's printing, installed first when needed.
ReportPrinting& Printing(TCustomReport& report);

// What the print dialog's choice makes of the report's printing settings.
void ApplyPrintSetup(TCustomReport& report, const PrintSetupChoice& choice,
                     const PrinterCatalog& catalog);

}  // namespace hb9cv
