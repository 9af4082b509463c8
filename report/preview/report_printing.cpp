#include "report/preview/report_printing.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <algorithm>

#include "report/model/qr_report.h"
#include "report/preview/error_guard.h"
#include "report/preview/progress_form.h"
#include "report/preview/standard_preview.h"
#include "report/print/qr_printer.h"

namespace hb9cv {

void InstallReportPrinting() {
  class Factory final : public ReportOutputFactory {
   public:
    std::unique_ptr<ReportOutput> MakeOutput(TCustomReport& report) override {
      return std::make_unique<ReportPrinting>(report);
    }
  };
  static TQRStandardPreviewInterface standard;
  static Factory factory;
  SetDefaultPreviewInterface(&standard);
  SetReportOutputFactory(&factory);
}

ReportPrinting& Printing(TCustomReport& report) {
  InstallReportPrinting();
  // Every output is report printing once it is installed.
  return static_cast<ReportPrinting&>(*report.Output());
}

ReportPrinting::ReportPrinting(TCustomReport& report) : report_(report) {
  setObjectName(QStringLiteral("ReportPrinting"));
}

ReportPrinting::~ReportPrinting() {
  for (QEventLoop* loop : loops_) loop->quit();
  for (auto& printer : printers_) printer->Cleanup();
}

TQRPrinter* ReportPrinting::NewPrinter() {
  auto printer = std::make_unique<TQRPrinter>();
  if (current_ != nullptr) printer->TakeClient(*current_);
  TQRPrinter* raw = printer.get();
  printers_.push_back(std::move(printer));
  current_ = raw;
  return raw;
}

void ReportPrinting::Discard(TQRPrinter* printer) {
  const auto it = std::find_if(printers_.begin(), printers_.end(),
                               [printer](const auto& p) { return p.get() == printer; });
  if (it == printers_.end()) return;
  std::unique_ptr<TQRPrinter> owned = std::move(*it);
  printers_.erase(it);
  if (current_ == printer) current_ = nullptr;
  owned->Cleanup();
}

bool ReportPrinting::PreviewOver() const {
  return current_ == nullptr || !current_->ShowingPreview();
}

void ReportPrinting::EndFinishedLoops() {
  if (!PreviewOver()) return;
  for (QEventLoop* loop : loops_) loop->quit();
}

void ReportPrinting::Preview() {
  // The build below handles no events: what is already waiting (the menu closing, the main
  // window repainting) runs first, so the screen is not left half drawn while the page is built.
  QCoreApplication::processEvents();
  if (report_.Building()) return;

  TQRPrinter* printer = NewPrinter();
  printer->SetDestination(PrinterDestination::PicturePages);
  printer->SetParentReport(&report_);
  // Each runs from the event loop or a window's handler; what they throw is reported there.
  connect(printer, &TQRPrinter::PrintRequest, this, GuardedSlot([this] { PrintRun(); }),
          Qt::QueuedConnection);
  connect(printer, &TQRPrinter::CloseRequest, this,
          [this](TQRPrinter* closing) { Guarded([&] { CloseRequest(closing); }); });
  connect(printer, &TQRPrinter::PrintSetupRequest, this, GuardedSlot([this] { PrinterSetup(); }));
  if (isSignalConnected(QMetaMethod::fromSignal(&ReportPrinting::ExportRequest))) {
    connect(printer, &TQRPrinter::ExportRequest, this,
            [this](const QString& fileName) { Guarded([&] { emit ExportRequest(fileName); }); });
  }
  printer->SetTitle(report_.ReportTitle());
  printer->Preview();

  buildCancelled_ = false;
  report_.Generate(*printer);
  if (buildCancelled_) {
    Discard(printer);
    current_ = nullptr;
    return;
  }

  if (PreviewOver()) return;
  QEventLoop loop;
  loops_.push_back(&loop);
  loop.exec();
  loops_.erase(std::find(loops_.begin(), loops_.end(), &loop));
  // An inner preview that ended may have ended the condition for this one too.
  EndFinishedLoops();
}

void ReportPrinting::PrintRun() {
  TQRPrinter* remembered = current_;
  if (report_.Building()) return;
  TQRPrinter* printer = NewPrinter();
  const auto restore = [&] {
    Discard(printer);
    current_ = remembered;
  };
  if (!printer->PrinterOK()) {
    restore();
    return;
  }
  printer->SetDestination(PrinterDestination::Printer);
  auto progress = std::make_unique<TQRProgressForm>(printer);
  if (report_.ShowProgress()) progress->show();
  printer->SetClient(progress.get());
  try {
    report_.Generate(*printer);
  } catch (...) {
    restore();
    progress.reset();
    EndFinishedLoops();
    throw;
  }
  restore();
  progress.reset();
  EndFinishedLoops();
}

void ApplyPrintSetup(TCustomReport& report, const PrintSetupChoice& choice,
                     const PrinterCatalog& catalog) {
  report.PrinterSettings.Copies = choice.copies;
  report.SetPrinterIndex(PrinterIndexOf(catalog, choice.printerName));
  report.Page.SetOrientation(choice.orientation == QPageLayout::Landscape
                                 ? PaperOrientation::Landscape
                                 : PaperOrientation::Portrait);
  if (choice.pageRange) {
    report.PrinterSettings.FirstPage = choice.fromPage;
    report.PrinterSettings.LastPage = choice.toPage;
  } else {
    report.PrinterSettings.FirstPage = 0;
    report.PrinterSettings.LastPage = 0;
  }
}

void ReportPrinting::PrinterSetup() {
  const PrinterCatalog& catalog = Printers();
  PrintSetupRequest request;
  request.printerName = ResolvePrinterName(catalog, report_.PrinterIndex());
  request.minPage = 0;
  request.maxPage = 9999;
  if (current_ != nullptr && current_->Status() == PrinterStatus::Finished) {
    request.minPage = 1;
    request.maxPage = current_->PageCount();
    request.fromPage = 1;
    request.toPage = current_->PageCount();
  }
  request.orientation = report_.Page.Orientation() == PaperOrientation::Landscape
                            ? QPageLayout::Landscape
                            : QPageLayout::Portrait;
  request.copies = report_.PrinterSettings.Copies;
  QWidget* parent = nullptr;
  if (current_ != nullptr) parent = qobject_cast<QWidget*>(current_->Client());
  if (parent != nullptr) parent = parent->window();
  const auto choice = Dialogs().PrintSetup(parent, request);
  if (choice) ApplyPrintSetup(report_, *choice, catalog);
}

void ReportPrinting::CloseRequest(TQRPrinter* printer) {
  if (printer == nullptr) return;
  if (report_.Building()) {
    buildCancelled_ = true;
    printer->Cancel();
    return;
  }
  if (printer->PrintingStoredPages()) {
    // The stored pages are still going to the printer from inside this printer; it is
    // discarded once that print is over.
    if (current_ == printer) current_ = nullptr;
    connect(
        printer, &TQRPrinter::StoredPagesPrinted, this, [this, printer] { Discard(printer); },
        Qt::QueuedConnection);
  } else {
    Discard(printer);
  }
  EndFinishedLoops();
}

}  // namespace hb9cv
