#pragma once
// Shared by the preview and printing tests: the application, printer catalogs that have no
// printer or print into PDF files, dialogs answered from a script, the report after 145 MHz,
// and helpers that run code inside the preview's nested event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "calc/dimensions.h"
#include "calc/errors.h"
#include "calc/number_text.h"
#include "report/fonts.h"
#include "report/preview_dialogs.h"
#include "report/print_form.h"
#include "report/printer_settings.h"
#include "report/qr_printer.h"
#include "report/standard_preview.h"

namespace hb9cv::pvtest {

inline void EnsureApp() {
  static int argc = 1;
  static char arg0[] = "preview_test";
  static char* argv[] = {arg0, nullptr};
  static QApplication* app = [] {
    auto* created = new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HB9CV"));
    InstallFontSubstitutions();
    SetDecimalSeparator(',');
    return created;
  }();
  (void)app;
}

// No printer installed at all.
class NoPrinters final : public PrinterCatalog {
 public:
  QStringList PrinterNames() const override { return {}; }
  QString DefaultPrinterName() const override { return {}; }
  std::optional<PrinterDescription> Describe(const QString&) const override { return std::nullopt; }
  std::unique_ptr<QPrinter> OpenDevice(const QString&) const override { return nullptr; }
};

// Printers that write PDF files: every print job of printer i goes into the next file
// "<dir>/<name>-<n>.pdf". They offer A4, A4Small-free lists unless told otherwise.
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
    d.pageSizes = pageSizes;
    d.defaultDuplex = defaultDuplex;
    return d;
  }
  std::unique_ptr<QPrinter> OpenDevice(const QString& name) const override {
    if (!names_.contains(name)) return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(NextFile());
    opened.push_back(name);
    return printer;
  }
  // Every file a device was opened on, in order (a file exists once a job was printed).
  QStringList Files() const { return files_; }
  QStringList WrittenFiles() const {
    QStringList written;
    for (const QString& f : files_) {
      if (QFile::exists(f)) written << f;
    }
    return written;
  }

  int defaultIndex = 0;
  bool defaultDuplex = false;
  QList<QPageSize> pageSizes = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter),
                                QPageSize(QPageSize::A3), QPageSize(QPageSize::A5)};
  mutable QStringList opened;

 private:
  QString NextFile() const {
    const QString file = dir_ + QStringLiteral("/job-%1.pdf").arg(files_.size() + 1);
    files_ << file;
    return file;
  }
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
                                     const QString& defaultExtension) override {
    titles << title;
    filters << filter;
    extensions << defaultExtension;
    return Take(fileAnswers);
  }
  std::optional<FileChoice> OpenFile(QWidget*, const QString& title,
                                     const QString& filter) override {
    titles << title;
    filters << filter;
    return Take(fileAnswers);
  }
  void Notice(QWidget*, const QString& caption, const QString& text) override {
    notices.push_back({caption, text});
  }

  std::deque<std::optional<PrintSetupChoice>> setupAnswers;
  std::deque<std::optional<FileChoice>> fileAnswers;
  std::vector<PrintSetupRequest> setupRequests;
  QStringList titles;
  QStringList filters;
  QStringList extensions;
  std::vector<std::pair<QString, QString>> notices;

 private:
  template <class T>
  static std::optional<T> Take(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    const bool present = queue.front().has_value();
    T value = present ? *queue.front() : T{};
    queue.pop_front();
    if (!present) return std::nullopt;
    return value;
  }
};

class ScopedDialogs {
 public:
  explicit ScopedDialogs(PreviewDialogs& dialogs) { SetDialogs(&dialogs); }
  ~ScopedDialogs() { SetDialogs(nullptr); }
};

// The report form with the captions of a computation of 145 MHz.
inline std::unique_ptr<TPrintForm> FormAfter(double frequency = 145.0) {
  auto form = std::make_unique<TPrintForm>();
  const DimensionSet d = ComputeDimensions(frequency);
  const auto q = [](const std::string& s) { return QString::fromStdString(s); };
  form->SetCaption(ReportValue::Frequency, q(d.frequency_text));
  form->SetCaption(ReportValue::Z, q(d.Z_text));
  form->SetCaption(ReportValue::R, q(d.R_text));
  form->SetCaption(ReportValue::RZ, q(d.RZ_text));
  form->SetCaption(ReportValue::x, q(d.x_text));
  form->SetCaption(ReportValue::Tz, q(d.Tz_text));
  form->SetCaption(ReportValue::Tr, q(d.Tr_text));
  form->SetCaption(ReportValue::Q, q(d.diameter_text));
  return form;
}

// Every preview window open now.
inline std::vector<TQRStandardPreview*> PreviewWindows() {
  std::vector<TQRStandardPreview*> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* p = qobject_cast<TQRStandardPreview*>(w); p && p->isVisible()) windows.push_back(p);
  }
  return windows;
}

// Runs `steps` one after the other from the event loop (the preview's nested loop once it
// runs), starting once `windows` preview windows are open; each step runs after the events its
// predecessor caused. A step that fails an assertion closes every preview so that the loops
// end.
inline void RunInLoop(std::vector<std::function<void()>> steps, size_t windows = 1) {
  auto queue = std::make_shared<std::deque<std::function<void()>>>(steps.begin(), steps.end());
  auto next = std::make_shared<std::function<void()>>();
  auto started = std::make_shared<bool>(false);
  *next = [queue, next, started, windows] {
    if (queue->empty()) return;
    if (!*started && PreviewWindows().size() < windows) {
      QTimer::singleShot(1, *next);
      return;
    }
    *started = true;
    auto step = std::move(queue->front());
    queue->pop_front();
    step();
    if (::testing::Test::HasFatalFailure()) {
      for (TQRStandardPreview* w : PreviewWindows()) w->close();
      queue->clear();
      return;
    }
    QTimer::singleShot(0, *next);
  };
  QTimer::singleShot(0, *next);
}

// Waits while processing events until `done` holds or `ms` pass.
inline bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(10);
  }
  return true;
}

// Runs a command; its standard output, or nullopt when it failed to run or exited non-zero.
inline std::optional<QByteArray> RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    return std::nullopt;
  }
  return p.readAllStandardOutput();
}

// What pdfinfo says about a PDF: its page count and the size line ("595 x 842 pts (A4)").
struct PdfFacts {
  int pages = -1;
  QString pageSize;
};
inline PdfFacts PdfInfo(const QString& file) {
  PdfFacts facts;
  const auto out = RunTool(QStringLiteral("pdfinfo"), {file});
  if (!out) return facts;
  for (const QString& line : QString::fromUtf8(*out).split(QLatin1Char('\n'))) {
    if (line.startsWith(QStringLiteral("Pages:"))) facts.pages = line.mid(6).trimmed().toInt();
    if (line.startsWith(QStringLiteral("Page size:"))) facts.pageSize = line.mid(10).trimmed();
  }
  return facts;
}

// The text pdftotext reads from a PDF.
inline QString PdfText(const QString& file) {
  const auto out = RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
  return out ? QString::fromUtf8(*out) : QString();
}

// Similarity of two page renderings in [0, 1]: both are scaled to the same small grey
// picture, about a millimetre a pixel for A4, so that glyph shapes of different resolutions
// do not count but places do, and 1 − the mean absolute difference of their pixels (ink only
// counts where either has some, so the white paper does not inflate the score).
inline double Similarity(const QImage& a, const QImage& b, QSize size = QSize(210, 297)) {
  const QImage x = a.convertToFormat(QImage::Format_Grayscale8)
                       .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage y = b.convertToFormat(QImage::Format_Grayscale8)
                       .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double diff = 0;
  long long inked = 0;
  for (int row = 0; row < size.height(); ++row) {
    const uchar* p = x.constScanLine(row);
    const uchar* q = y.constScanLine(row);
    for (int col = 0; col < size.width(); ++col) {
      if (p[col] > 235 && q[col] > 235) continue;
      ++inked;
      diff += std::abs(int(p[col]) - int(q[col])) / 255.0;
    }
  }
  return inked == 0 ? 1.0 : 1.0 - diff / inked;
}

}  // namespace hb9cv::pvtest
