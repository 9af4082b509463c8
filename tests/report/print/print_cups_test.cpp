// Printing to the system's real print queue. scripts/test makes sure a CUPS scheduler runs and
// a cups-pdf queue is the default printer; these tests skip where no such queue exists (they
// never print on a real printer). The queue writes each job as a PDF into its output folder
// under an unpredictable name, so a test looks for the file that was not there before. Its
// PDFs carry the glyphs without their characters: the printed texts are checked where the
// preview tests print through a QPrinter in PDF mode; here the printed page is compared with
// the preview's rendering.
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "tests/report/preview_test_util.h"
#include "report/render/emf_player.h"
#include "report/model/qr_report.h"
#include "report/preview/report_printing.h"

namespace hb9cv {
namespace {

using namespace pvtest;

QString Trimmed(const std::optional<QByteArray>& out) {
  return QString::fromUtf8(out.value_or(QByteArray())).trimmed();
}

// The folder cups-pdf writes this user's jobs into ("Out ${HOME}/PDF" as installed).
QString CupsPdfFolder() {
  const passwd* pw = getpwuid(getuid());
  return (pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath()) + QStringLiteral("/PDF");
}

// The default destination when it is a cups-pdf queue; empty otherwise.
QString CupsPdfDefault() {
  const QString line = Trimmed(RunTool(QStringLiteral("lpstat"), {QStringLiteral("-d")}));
  if (!line.startsWith(QStringLiteral("system default destination:"))) return {};
  const QString name = line.mid(line.lastIndexOf(QLatin1Char(':')) + 1).trimmed();
  const QString device = Trimmed(RunTool(QStringLiteral("lpstat"), {QStringLiteral("-v"), name}));
  return device.contains(QStringLiteral("cups-pdf:")) ? name : QString();
}

QSet<QString> Listing(const QString& folder) {
  const QStringList names = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
  return QSet<QString>(names.begin(), names.end());
}

// Waits for one new, complete PDF in the folder; empty when none came.
QString AwaitNewPdf(const QString& folder, const QSet<QString>& before) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 30000) {
    for (const QString& n : Listing(folder) - before) {
      QFile f(QDir(folder).filePath(n));
      if (!f.open(QIODevice::ReadOnly) || f.size() < 16) continue;
      f.seek(std::max<qint64>(0, f.size() - 64));
      if (f.readAll().trimmed().endsWith("%%EOF")) return f.fileName();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
  return {};
}

// The printed page as the screen would show it: pdftoppm at 96 dpi.
QImage RasterisePdf(const QString& pdf) {
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("page"));
  const QStringList args = {"-r", "96", "-png", "-singlefile", pdf, base};
  return RunTool(QStringLiteral("pdftoppm"), args) ? QImage(base + ".png") : QImage();
}

// Similarity of two page renderings in [0, 1]: both are scaled to the same small grey
// picture, about a millimetre a pixel for A4, so that glyph shapes of different resolutions
// do not count but places do; 1 − the mean absolute difference of the pixels where either has
// ink (the white paper would inflate the score).
double Similarity(const QImage& a, const QImage& b) {
  const auto small = [](const QImage& i) {
    return i.convertToFormat(QImage::Format_Grayscale8)
        .scaled(210, 297, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  };
  const QImage x = small(a), y = small(b);
  double diff = 0;
  long long inked = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) {
      const int p = x.constScanLine(row)[col], q = y.constScanLine(row)[col];
      if (p > 235 && q > 235) continue;
      ++inked;
      diff += std::abs(p - q) / 255.0;
    }
  }
  return inked == 0 ? 1.0 : 1.0 - diff / inked;
}

constexpr double kSameDrawing = 0.85;

class CupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    queue = CupsPdfDefault();
    if (queue.isEmpty() || Printers().PrinterNames().isEmpty()) {
      GTEST_SKIP() << "no cups-pdf queue is the default printer (scripts/start-printer makes one)";
    }
    folder = CupsPdfFolder();
    QDir().mkpath(folder);
    form = FormAfter();
  }
  void TearDown() override {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    QCoreApplication::processEvents();
  }
  // Clicks Print in the preview and waits for the job's PDF.
  QString PrintFrom(TQRStandardPreview* w) {
    const QSet<QString> before = Listing(folder);
    w->Print->click();
    QCoreApplication::processEvents();  // a queued print request: the report prints again
    return AwaitNewPdf(folder, before);
  }
  // The similarity of a printed PDF to the page the preview shows; one A4 page expected.
  double ComparePrintedPage(const QString& pdf, const Metafile& shown) {
    EXPECT_FALSE(pdf.isEmpty()) << "no PDF appeared in " << folder.toStdString();
    EXPECT_EQ(PdfPages(pdf).size(), 1);
    EXPECT_EQ(PdfPageSize(pdf), QStringLiteral("595 x 842 pts (A4)"));
    const QImage preview = RenderPage(shown, QSize(794, 1123));
    const QImage printed = RasterisePdf(pdf);
    EXPECT_EQ(printed.size(), preview.size());
    // The measure tells pages apart: a blank sheet scores far lower.
    QImage blank(preview.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_LT(Similarity(blank, preview), kSameDrawing - 0.2);
    return Similarity(printed, preview);
  }

  QString queue;
  QString folder;
  std::unique_ptr<TPrintForm> form;
  ScriptedDialogs dialogs;
};

TEST_F(CupsTest, PrintRunAndStoredPagesReachTheQueue) {
  ScopedDialogs scopedDialogs(dialogs);
  QTemporaryDir dir;
  const QString saved = dir.filePath(QStringLiteral("cups.QRP"));
  Metafile shown;
  QString livePdf, storedPdf;
  RunInLoop({[&] {
    TQRStandardPreview* w = PreviewWindows().front();
    shown = w->QRPreview->PreviewImage()->Picture();
    livePdf = PrintFrom(w);
    dialogs.fileAnswers = {{saved}, {saved}};
    w->SaveReport->click();
    w->LoadReport->click();
    ASSERT_TRUE(w->QRPrinter()->LoadedFromFile());
    storedPdf = PrintFrom(w);  // the stored picture, stretched over the sheet
    w->close();
  }});
  form->Report1.Preview();
  const double live = ComparePrintedPage(livePdf, shown);
  const double stored = ComparePrintedPage(storedPdf, shown);
  EXPECT_GE(live, kSameDrawing);
  EXPECT_GE(stored, kSameDrawing);
  std::printf("similarity to the preview: live print %.3f, stored page %.3f\n", live, stored);
}

TEST_F(CupsTest, CopiesAndPageRangeFromPrinterSetupReachTheJob) {
  ScopedDialogs scopedDialogs(dialogs);
  QString pdf;
  RunInLoop({[&] {
    TQRStandardPreview* w = PreviewWindows().front();
    dialogs.setupAnswers = {{queue, 2, QPageLayout::Portrait, true, 1, 1}};
    w->PrintSetup->click();
    pdf = PrintFrom(w);
    w->close();
  }});
  form->Report1.Preview();
  ASSERT_FALSE(pdf.isEmpty());
  EXPECT_EQ(PdfPages(pdf).size(), 2) << "the one page of the range, twice";
  EXPECT_EQ(PdfPageSize(pdf), QStringLiteral("595 x 842 pts (A4)"));
}

}  // namespace
}  // namespace hb9cv
