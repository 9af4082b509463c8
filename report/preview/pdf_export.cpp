#include "report/preview/pdf_export.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "calc/errors.h"
#include "report/model/qr_report.h"
#include "report/preview/report_printing.h"
#include "report/print/printer_settings.h"
#include "report/print/qr_printer.h"
#include "report/store/qr_error.h"

namespace hb9cv {

namespace {

// The one printer of an export: a PDF writer on a file chosen beforehand.
class PdfWriterCatalog final : public PrinterCatalog {
 public:
  PdfWriterCatalog(QString fileName, QString creator)
      : fileName_(std::move(fileName)), creator_(std::move(creator)) {}
  QStringList PrinterNames() const override { return {Name()}; }
  QString DefaultPrinterName() const override { return Name(); }
  std::optional<PrinterDescription> Describe(const QString& name) const override {
    if (name != Name()) return std::nullopt;
    PrinterDescription d;
    d.name = name;
    d.driver = QStringLiteral("PDF");
    d.port = fileName_;
    d.pageSizes = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter), QPageSize(QPageSize::A3),
                   QPageSize(QPageSize::A5)};
    return d;
  }
  std::unique_ptr<QPrinter> OpenDevice(const QString& name) const override {
    if (name != Name()) return nullptr;
    auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    device->setOutputFormat(QPrinter::PdfFormat);
    device->setOutputFileName(fileName_);
    device->setCreator(creator_);
    device->setFullPage(true);
    return device;
  }

 private:
  static QString Name() { return QStringLiteral("PDF"); }
  QString fileName_;
  QString creator_;
};

// The report's print choices, put back when an export or a print from here is over.
class KeepPrintChoices {
 public:
  explicit KeepPrintChoices(TCustomReport& report)
      : report_(report),
        index_(report.PrinterIndex()),
        settings_(report.PrinterSettings),
        title_(report.ReportTitle()) {}
  ~KeepPrintChoices() {
    report_.SetPrinterIndex(index_);
    report_.PrinterSettings = settings_;
    report_.SetReportTitle(title_);
  }
  KeepPrintChoices(const KeepPrintChoices&) = delete;
  KeepPrintChoices& operator=(const KeepPrintChoices&) = delete;

 private:
  TCustomReport& report_;
  int index_;
  ReportPrintSettings settings_;
  QString title_;
};

[[noreturn]] void CannotWrite(const QString& fileName, const QString& reason) {
  throw EQRError(QT_TRANSLATE_NOOP("Errors", "Cannot write %1: %2"),
                 {fileName.toStdString(), reason.toStdString()});
}

}  // namespace

QString PdfTitle(const QString& frequencyText) {
  return QStringLiteral("HB9CV – ") + frequencyText;
}

void ExportPdf(TCustomReport& report, const QString& fileName, const QString& title) {
  const QFileInfo target(fileName);
  if (target.isDir())
    CannotWrite(fileName, QCoreApplication::translate("Errors", "it is a folder"));
  // The writer goes into a file of its own beside the target, which replaces the target only
  // once the page is complete.
  QTemporaryFile part(
      target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
  if (!part.open()) CannotWrite(fileName, part.errorString());
  part.close();

  {
    KeepPrintChoices keep(report);
    report.SetPrinterIndex(-1);
    report.PrinterSettings = ReportPrintSettings{};
    report.SetReportTitle(title);
    PdfWriterCatalog catalog(part.fileName(), QStringLiteral("hb9cv " HB9CV_VERSION));
    ScopedPrinters scoped(catalog);
    Printing(report).PrintRun();
  }
  if (QFileInfo(part.fileName()).size() == 0) {
    CannotWrite(fileName, QCoreApplication::translate("Errors", "nothing was printed"));
  }
  // rename(2) replaces the target in one step; QFile::rename would refuse an existing one.
  if (std::rename(QFile::encodeName(part.fileName()).constData(),
                  QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
    CannotWrite(fileName, QString::fromLocal8Bit(std::strerror(errno)));
  }
  part.setAutoRemove(false);
  // The temporary file was private; the result gets the mode any new file would.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(QFile::encodeName(target.absoluteFilePath()).constData(), 0666 & ~mask);
}

void SaveReportFile(TCustomReport& report, const QString& fileName) {
  TQRPrinter printer;
  printer.SetDestination(PrinterDestination::PicturePages);
  printer.SetParentReport(&report);
  report.Generate(printer);
  if (printer.Status() != PrinterStatus::Finished)
    throw EQRError(QT_TRANSLATE_NOOP("Errors", "The report was not built"), {});
  printer.Save(fileName);
}

void PrintOnQueue(TCustomReport& report, const QString& queue) {
  const PrinterCatalog& catalog = Printers();
  if (catalog.PrinterNames().isEmpty())
    throw EQRError(QT_TRANSLATE_NOOP("Errors", "No printer is installed"), {});
  int index = -1;
  if (!queue.isEmpty()) {
    index = PrinterIndexOf(catalog, queue);
    if (index < 0)
      throw EQRError(QT_TRANSLATE_NOOP("Errors", "Unknown printer %1"), {queue.toStdString()});
  }
  KeepPrintChoices keep(report);
  report.SetPrinterIndex(index);
  Printing(report).PrintRun();
}

}  // namespace hb9cv
