// "&Tisk" until the page is on the screen, what an open preview costs in memory, and the
// print run onto a PDF file printer.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "calc/number_text.h"
#include "report/preview/report_printing.h"
#include "report/preview/standard_preview.h"
#include "report/print/printer_settings.h"
#include "report/print/qr_printer.h"
#include "report/print_form.h"
#include "report/render/fonts.h"
#include "report/store/page_list.h"
#include "report/store/qr_stream.h"
#include "ui/main_form.h"

namespace hb9cv {
namespace {

// Resident memory of the process in kB.
long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return 0;
}

// Catches the first paint of a page image that shows its picture, then closes its window.
class FirstPaint : public QObject {
 public:
  FirstPaint() { qApp->installEventFilter(this); }
  ~FirstPaint() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || painted) return false;
    auto* image = qobject_cast<TQRPreviewImage*>(watched);
    if (image == nullptr || !image->PictureLoaded()) return false;
    painted = true;
    // Runs once the paint event has been handled.
    QTimer::singleShot(0, image, [this, image] {
      elapsed = timer.nsecsElapsed();
      rssOpen = ResidentKb();
      if (auto* printer = image->QRPrinter()) {
        if (TQRStream* stream = printer->PageList().Stream()) streamBytes = stream->Size();
      }
      image->window()->close();
    });
    return false;
  }

  QElapsedTimer timer;
  bool painted = false;
  qint64 elapsed = 0;
  long rssOpen = 0;
  qint64 streamBytes = 0;
};

class NoPrinters final : public PrinterCatalog {
 public:
  QStringList PrinterNames() const override { return {}; }
  QString DefaultPrinterName() const override { return {}; }
  std::optional<PrinterDescription> Describe(const QString&) const override { return {}; }
  std::unique_ptr<QPrinter> OpenDevice(const QString&) const override { return nullptr; }
};

// Argument 0: the system's printers (the default printer is asked for its settings at every
// build); 1: no printer at all, which leaves the preview's own work.
void BM_TiskToFirstPaint(benchmark::State& state) {
  NoPrinters none;
  std::optional<ScopedPrinters> scoped;
  if (state.range(0) == 1) scoped.emplace(none);
  SetDecimalSeparator(',');
  TForm1 form1;
  TPrintForm printForm;
  form1.SetReport(&printForm);
  form1.show();
  form1.SetFieldText(QStringLiteral("0145,000"));
  form1.Potej1Click();
  QCoreApplication::processEvents();  // the main window's first paint is not what is timed
  long rssBefore = 0;
  long rssGrowth = 0;
  qint64 streamBytes = 0;
  double firstMs = -1;
  for (auto _ : state) {
    FirstPaint watch;
    rssBefore = ResidentKb();
    watch.timer.start();
    form1.Tisk1Click();  // returns once the window has closed again
    if (!watch.painted) {
      state.SkipWithError("the page was never painted");
      break;
    }
    state.SetIterationTime(static_cast<double>(watch.elapsed) / 1e9);
    // The first preview of the process also loads the print support and asks the print
    // service with nothing remembered.
    if (firstMs < 0) firstMs = static_cast<double>(watch.elapsed) / 1e6;
    rssGrowth = std::max(rssGrowth, watch.rssOpen - rssBefore);  // the first preview grows most
    streamBytes = watch.streamBytes;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  state.counters["rss_growth_max_kB"] = static_cast<double>(rssGrowth);
  state.counters["page_stream_B"] = static_cast<double>(streamBytes);
  state.counters["firstMs"] = firstMs;
}
BENCHMARK(BM_TiskToFirstPaint)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// A printer that writes PDF files into a temporary folder.
class PdfCatalog final : public PrinterCatalog {
 public:
  explicit PdfCatalog(QString dir) : dir_(std::move(dir)) {}
  QStringList PrinterNames() const override { return {QStringLiteral("PDF")}; }
  QString DefaultPrinterName() const override { return QStringLiteral("PDF"); }
  std::optional<PrinterDescription> Describe(const QString& name) const override {
    PrinterDescription d;
    d.name = name;
    d.pageSizes = {QPageSize(QPageSize::A4)};
    return d;
  }
  std::unique_ptr<QPrinter> OpenDevice(const QString&) const override {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(dir_ + QStringLiteral("/bench.pdf"));
    return p;
  }

 private:
  QString dir_;
};

void BM_PrintRunToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  PdfCatalog catalog(dir.path());
  ScopedPrinters scoped(catalog);
  TPrintForm form;
  for (auto _ : state) Printing(form.Report1).PrintRun();
  state.counters["pdf_B"] =
      static_cast<double>(QFile(dir.filePath(QStringLiteral("bench.pdf"))).size());
}
BENCHMARK(BM_PrintRunToPdf)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace hb9cv
