// Printing to the system's real print queue. scripts/test makes sure a CUPS scheduler runs and
// a cups-pdf queue is the default printer; these tests skip where no such queue exists (they
// never print on a real printer). The queue writes each job as a PDF into its output folder
// under an unpredictable name, so a test looks for the file that was not there before.
#include <pwd.h>
#include <unistd.h>

#include <QDirIterator>
#include <QTest>

#include "preview_test_util.h"
#include "report/emf_player.h"
#include "report/page_list.h"
#include "report/qr_report.h"
#include "report/report_printing.h"

namespace hb9cv {
namespace {

using namespace pvtest;

QString Trimmed(const std::optional<QByteArray>& out) {
  return out ? QString::fromUtf8(*out).trimmed() : QString();
}

// The folder cups-pdf writes this user's jobs into.
QString CupsPdfFolder() {
  QString out = QStringLiteral("${HOME}/PDF");
  QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
  if (conf.open(QIODevice::ReadOnly)) {
    for (const QByteArray& raw : conf.readAll().split('\n')) {
      const QString line = QString::fromUtf8(raw).trimmed();
      if (line.startsWith(QStringLiteral("Out "))) out = line.mid(4).trimmed();
    }
  }
  const passwd* pw = getpwuid(getuid());
  out.replace(QStringLiteral("${HOME}"),
              pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath());
  out.replace(QStringLiteral("${USER}"), pw ? QString::fromLocal8Bit(pw->pw_name) : QString());
  return out;
}

// The default destination when it is a cups-pdf queue; empty otherwise.
QString CupsPdfDefault() {
  const QString line = Trimmed(RunTool(QStringLiteral("lpstat"), {QStringLiteral("-d")}));
  const int colon = line.lastIndexOf(QLatin1Char(':'));
  if (colon < 0 || !line.startsWith(QStringLiteral("system default destination"))) return {};
  const QString name = line.mid(colon + 1).trimmed();
  const QString device = Trimmed(RunTool(QStringLiteral("lpstat"), {QStringLiteral("-v"), name}));
  return device.contains(QStringLiteral("cups-pdf:")) ? name : QString();
}

QSet<QString> Listing(const QString& folder) {
  QSet<QString> names;
  for (const QString& n : QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
    names.insert(n);
  }
  return names;
}

// Waits for one new, complete PDF in the folder.
QString AwaitNewPdf(const QString& folder, const QSet<QString>& before, int ms = 30000) {
  QString found;
  WaitFor(
      [&] {
        for (const QString& n : Listing(folder)) {
          if (before.contains(n)) continue;
          QFile f(QDir(folder).filePath(n));
          if (!f.open(QIODevice::ReadOnly) || f.size() < 16) continue;
          f.seek(std::max<qint64>(0, f.size() - 64));
          if (f.readAll().trimmed().endsWith("%%EOF")) {
            found = f.fileName();
            return true;
          }
        }
        return false;
      },
      ms);
  return found;
}

// The printed page as the screen would show it: pdftoppm at 96 dpi.
QImage RasterisePdf(const QString& pdf) {
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("page"));
  if (!RunTool(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                QStringLiteral("-singlefile"), pdf, base})) {
    return {};
  }
  return QImage(base + QStringLiteral(".png"));
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
  }
  void TearDown() override {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    QCoreApplication::processEvents();
  }

  // Checks a printed PDF: one A4 page that looks like the page the preview shows.
  void ExpectPrintedPage(const QString& pdf, const Metafile& shown) {
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF appeared in " << folder.toStdString();
    const PdfFacts facts = PdfInfo(pdf);
    EXPECT_EQ(facts.pages, 1);
    EXPECT_EQ(facts.pageSize, QStringLiteral("595 x 842 pts (A4)"));
    const QImage printed = RasterisePdf(pdf);
    ASSERT_FALSE(printed.isNull());
    EXPECT_NEAR(printed.width(), 794, 1);
    EXPECT_NEAR(printed.height(), 1123, 1);
    const QImage preview = RenderPage(shown, QSize(794, 1123));
    ASSERT_FALSE(preview.isNull());
    const double score = Similarity(printed, preview);
    EXPECT_GE(score, kSameDrawing) << pdf.toStdString();
    // The measure tells pages apart: a blank sheet and a shifted page score far lower.
    QImage blank(preview.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_LT(Similarity(blank, preview), kSameDrawing - 0.2);
    QImage shifted(preview.size(), QImage::Format_RGB32);
    shifted.fill(Qt::white);
    QPainter(&shifted).drawImage(QPoint(0, 40), preview);
    EXPECT_LT(Similarity(shifted, preview), score - 0.1);
    lastScore = score;
  }

  QString queue;
  QString folder;
  double lastScore = 0;
};

TEST_F(CupsTest, PrintRunAndStoredPagesReachTheQueue) {
  auto form = FormAfter();
  ScriptedDialogs dialogs;
  ScopedDialogs scopedDialogs(dialogs);
  QTemporaryDir dir;
  const QString saved = dir.filePath(QStringLiteral("cups.QRP"));
  Metafile shown;
  QString livePdf;
  QString storedPdf;
  RunInLoop({
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        shown = w->QRPreview->PreviewImage()->Picture();
        const QSet<QString> before = Listing(folder);
        w->Print->click();
        QCoreApplication::processEvents();  // the queued print request: the report prints again
        livePdf = AwaitNewPdf(folder, before);
        dialogs.fileAnswers.push_back(FileChoice{saved, 0});
        w->SaveReport->click();
        dialogs.fileAnswers.push_back(FileChoice{saved, 0});
        w->LoadReport->click();
        ASSERT_TRUE(w->QRPrinter()->LoadedFromFile());
        const QSet<QString> before2 = Listing(folder);
        w->Print->click();  // the stored picture, stretched over the sheet
        storedPdf = AwaitNewPdf(folder, before2);
        w->close();
      },
  });
  form->Report1.Preview();
  ExpectPrintedPage(livePdf, shown);
  const double liveScore = lastScore;
  ExpectPrintedPage(storedPdf, shown);
  RecordProperty("live_similarity", QString::number(liveScore, 'f', 3).toStdString());
  RecordProperty("stored_similarity", QString::number(lastScore, 'f', 3).toStdString());
  std::printf("similarity to the preview: live print %.3f, stored page %.3f\n", liveScore,
              lastScore);
  // Keep the rendering of the printed page for a look.
  if (const char* keep = std::getenv("HB9CV_KEEP_PRINTED_PAGE")) {
    RasterisePdf(livePdf).save(QString::fromLocal8Bit(keep));
  }
}

TEST_F(CupsTest, CopiesAndPageRangeFromPrinterSetupReachTheJob) {
  auto form = FormAfter();
  ScriptedDialogs dialogs;
  ScopedDialogs scopedDialogs(dialogs);
  QString pdf;
  RunInLoop({
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        dialogs.setupAnswers.push_back(
            PrintSetupChoice{queue, 2, QPageLayout::Portrait, true, 1, 1});
        w->PrintSetup->click();
        const QSet<QString> before = Listing(folder);
        w->Print->click();
        QCoreApplication::processEvents();
        pdf = AwaitNewPdf(folder, before);
        w->close();
      },
  });
  form->Report1.Preview();
  ASSERT_FALSE(pdf.isEmpty());
  // The one page of the range, twice.
  EXPECT_EQ(PdfInfo(pdf).pages, 2);
  EXPECT_EQ(PdfInfo(pdf).pageSize, QStringLiteral("595 x 842 pts (A4)"));

  // A range that starts after the only page: nothing goes to the printer.
  form->Report1.PrinterSettings.FirstPage = 2;
  form->Report1.PrinterSettings.LastPage = 2;
  form->Report1.PrinterSettings.Copies = 1;
  const QSet<QString> before = Listing(folder);
  TQRPrinter p;
  p.SetDestination(TQRPrinterDestination::Printer);
  form->Report1.Generate(p);
  EXPECT_TRUE(AwaitNewPdf(folder, before, 3000).isEmpty());
}

}  // namespace
}  // namespace hb9cv
