#pragma once
// Shared by the preview and printing tests: a printer catalog that prints into PDF files,
// dialogs answered from a script, and helpers that run code inside the preview's nested event
// loop and read PDF files.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <deque>

#include "report/preview/preview_dialogs.h"
#include "report/preview/standard_preview.h"
#include "report/print/printer_settings.h"
#include "report/print/qr_printer.h"
#include "tests/report/report_test_util.h"

namespace hb9cv::pvtest {

// Printers that write every print job into the next file "<dir>/job-<n>.pdf"; no names, no
// printer.
class PdfPrinters final : public PrinterCatalog {
 public:
  explicit PdfPrinters(QString dir, QStringList names = {QStringLiteral("PDF file")})
      : dir_(std::move(dir)), names_(std::move(names)) {}

  QStringList PrinterNames() const override { return names_; }
  QString DefaultPrinterName() const override { return names_.value(defaultIndex); }
  std::optional<PrinterDescription> Describe(const QString& name) const override {
    if (!names_.contains(name)) return std::nullopt;
    PrinterDescription d;
    d.name = name;
    d.driver = QStringLiteral("PDF writer");
    d.port = dir_;
    d.pageSizes = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter), QPageSize(QPageSize::A3),
                   QPageSize(QPageSize::A5)};
    return d;
  }
  std::unique_ptr<QPrinter> OpenDevice(const QString& name) const override {
    if (!names_.contains(name)) return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    files_ << dir_ + QStringLiteral("/job-%1.pdf").arg(files_.size() + 1);
    printer->setOutputFileName(files_.last());
    return printer;
  }
  // Every file a device was opened on; those of them a job was printed into.
  QStringList Files() const { return files_; }
  QStringList WrittenFiles() const {
    QStringList written;
    for (const QString& f : files_) {
      if (QFile::exists(f)) written << f;
    }
    return written;
  }
  int defaultIndex = 0;

 private:
  QString dir_;
  QStringList names_;
  mutable QStringList files_;
};

// Dialog answers queued by a test; a dialog with no answer queued is cancelled.
class ScriptedDialogs final : public PreviewDialogs {
 public:
  std::optional<PrintSetupChoice> PrintSetup(QWidget*, const PrintSetupRequest& request) override {
    setupRequests.push_back(request);
    return Take(setupAnswers);
  }
  std::optional<FileChoice> SaveFile(QWidget*, const QString& title, const QString& filter,
                                     const QString& extension) override {
    fileDialogs.push_back({title, filter, extension});
    return Take(fileAnswers);
  }
  std::optional<FileChoice> OpenFile(QWidget*, const QString& title,
                                     const QString& filter) override {
    fileDialogs.push_back({title, filter});
    return Take(fileAnswers);
  }
  void Notice(QWidget*, const QString& caption, const QString& text) override {
    notices.push_back({caption, text});
  }
  template <class T>
  static std::optional<T> Take(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> value = std::move(queue.front());
    queue.pop_front();
    return value;
  }

  std::deque<PrintSetupChoice> setupAnswers;
  std::deque<FileChoice> fileAnswers;
  std::vector<PrintSetupRequest> setupRequests;
  std::vector<QStringList> fileDialogs;  // title, filter and, on saving, default extension
  std::vector<std::pair<QString, QString>> notices;
};

class ScopedDialogs : public ScopedHook<PreviewDialogs*> {
 public:
  explicit ScopedDialogs(PreviewDialogs& dialogs) : ScopedHook(&SetDialogs, &dialogs) {}
};

// Every preview window open now.
inline std::vector<TQRStandardPreview*> PreviewWindows() {
  std::vector<TQRStandardPreview*> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* p = qobject_cast<TQRStandardPreview*>(w); p && p->isVisible()) windows.push_back(p);
  }
  return windows;
}

// Runs the queued steps one after the other from the event loop (the preview's nested loop once
// it runs), the first once `windows` preview windows are open; each step runs after the events
// its predecessor caused. A step that fails an assertion closes every preview so that the loops
// end.
inline void RunSteps(const std::shared_ptr<std::deque<std::function<void()>>>& queue,
                     size_t windows) {
  if (queue->empty()) return;
  if (PreviewWindows().size() < windows) {
    QTimer::singleShot(1, [queue, windows] { RunSteps(queue, windows); });
    return;
  }
  const std::function<void()> step = std::move(queue->front());
  queue->pop_front();
  step();
  if (::testing::Test::HasFatalFailure()) {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    queue->clear();
  }
  QTimer::singleShot(0, [queue] { RunSteps(queue, 0); });
}

inline void RunInLoop(std::vector<std::function<void()>> steps, size_t windows = 1) {
  auto queue = std::make_shared<std::deque<std::function<void()>>>(steps.begin(), steps.end());
  QTimer::singleShot(0, [queue, windows] { RunSteps(queue, windows); });
}

// Runs a command; its standard output, empty when it failed to run or exited non-zero.
inline QByteArray RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
  return ok && p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

// The text pdftotext reads from a PDF, one entry a page.
inline QStringList PdfPages(const QString& file) {
  QStringList pages = QString::fromUtf8(RunTool("pdftotext", {file, "-"})).split(QChar('\f'));
  pages.removeLast();  // after the last page's form feed
  for (QString& page : pages) page = page.trimmed();
  return pages;
}

// A "Key: value" line of what pdfinfo says about a PDF, "Page size": "595 x 842 pts (A4)".
inline QString PdfInfo(const QString& file, const QString& key) {
  for (const QString& line : QString::fromUtf8(RunTool("pdfinfo", {file})).split('\n')) {
    if (line.startsWith(key + ':')) return line.mid(key.size() + 1).trimmed();
  }
  return {};
}

}  // namespace hb9cv::pvtest
