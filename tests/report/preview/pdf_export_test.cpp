// The report page as a PDF: what the file says about itself, the text that can be read back,
// its look against the preview's page, and the preview's save dialog offering it.
#include "report/preview/pdf_export.h"

#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "calc/errors.h"
#include "report/preview/standard_preview.h"
#include "report/render/emf_player.h"
#include "report/store/qr_error.h"
#include "tests/report/preview_test_util.h"

namespace hb9cv {
namespace {

using namespace pvtest;

// "Key:   value" lines of a tool's output.
QString Field(const QByteArray& out, const QString& key) {
  for (const QString& line : QString::fromUtf8(out).split(QLatin1Char('\n'))) {
    if (line.startsWith(key + QLatin1Char(':'))) return line.mid(key.size() + 1).trimmed();
  }
  return {};
}

bool HaveTools() {
  for (const char* tool : {"pdfinfo", "pdftotext", "pdffonts", "pdftoppm"}) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
  }
  return true;
}

// The box around every dark pixel.
QRect InkBox(const QImage& grey) {
  QRect box;
  for (int y = 0; y < grey.height(); ++y) {
    const uchar* row = grey.constScanLine(y);
    for (int x = 0; x < grey.width(); ++x) {
      if (row[x] < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The shift of `b` against `a`, within ±3 pixels, under which the two look most alike: where
// letters are smoothed differently the sum of differences still has its least at the true
// place of the lines.
QPoint BestShift(const QImage& a, const QImage& b) {
  QPoint best;
  qint64 bestSum = -1;
  for (int dy = -3; dy <= 3; ++dy) {
    for (int dx = -3; dx <= 3; ++dx) {
      qint64 sum = 0;
      for (int y = 3; y < a.height() - 3; ++y) {
        const uchar* ra = a.constScanLine(y);
        const uchar* rb = b.constScanLine(y + dy);
        for (int x = 3; x < a.width() - 3; ++x) sum += std::abs(ra[x] - rb[x + dx]);
      }
      if (bestSum < 0 || sum < bestSum) {
        bestSum = sum;
        best = QPoint(dx, dy);
      }
    }
  }
  return best;
}

class PdfExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTools()) GTEST_SKIP() << "poppler-utils missing";
    ASSERT_TRUE(dir.isValid());
  }
  QString Export(const QString& name) {
    const QString file = dir.filePath(name);
    ExportPdf(form->Report1, file, PdfTitle(QStringLiteral("145 MHz")));
    return file;
  }

  std::unique_ptr<TPrintForm> form = test::FormAfter145MHz();
  QTemporaryDir dir;
};

TEST_F(PdfExportTest, OneA4PageWithTitleCreatorAndTheValuesAsText) {
  const QString file = Export(QStringLiteral("antenna.pdf"));
  const QByteArray info = RunTool(QStringLiteral("pdfinfo"), {file}).value_or(QByteArray());
  EXPECT_EQ(Field(info, QStringLiteral("Pages")), QStringLiteral("1"));
  EXPECT_EQ(Field(info, QStringLiteral("Page size")), QStringLiteral("595 x 842 pts (A4)"));
  EXPECT_EQ(Field(info, QStringLiteral("Title")), QStringLiteral("HB9CV – 145 MHz"));
  EXPECT_EQ(Field(info, QStringLiteral("Creator")), QStringLiteral("hb9cv " HB9CV_VERSION));

  const QStringList pages = PdfPages(file);
  ASSERT_EQ(pages.size(), 1);
  for (const char* text : {"Výpočet rozměrů antény typu HB9CV", "pro střední kmitočet :", "145 MHz",
                           "951,7 mm", "1036,5 mm", "258,6 mm", "20,6 mm", "130,3 mm", "140,6 mm",
                           "Průměr 2,89 až 5,17 mm", "Kvetorad"}) {
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text;
  }

  // Every font embedded. Qt subsets without tagging the names, so the size tells: Liberation
  // Sans alone is 139 kB, the page with both its fonts and the drawing far less.
  const QStringList fonts =
      QString::fromUtf8(RunTool(QStringLiteral("pdffonts"), {file}).value_or(""))
          .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
          .mid(2);
  ASSERT_EQ(fonts.size(), 2);  // regular and bold
  for (const QString& line : fonts) {
    const QStringList cols = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(cols.size(), 7) << line.toStdString();
    EXPECT_TRUE(cols[0].startsWith(QStringLiteral("LiberationSans"))) << line.toStdString();
    EXPECT_EQ(cols[cols.size() - 5], QStringLiteral("yes")) << line.toStdString();  // emb
  }
  EXPECT_LT(QFileInfo(file).size(), 70000);
}

TEST_F(PdfExportTest, LooksLikeThePreviewPage) {
  const QString file = Export(QStringLiteral("antenna.pdf"));
  ASSERT_TRUE(RunTool(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                       QStringLiteral("-singlefile"), file, dir.filePath(QStringLiteral("page"))}));
  const QImage pdf(dir.filePath(QStringLiteral("page.png")));
  TQRPrinter printer;
  form->Report1.Generate(printer);
  const Metafile page = printer.GetPage(1);
  const QImage preview = RenderPage(page, page.PixelSize());
  ASSERT_EQ(pdf.size(), QSize(794, 1123));
  ASSERT_EQ(preview.size(), pdf.size());

  const QImage a = pdf.convertToFormat(QImage::Format_Grayscale8);
  const QImage b = preview.convertToFormat(QImage::Format_Grayscale8);
  const QRect inkA = InkBox(a), inkB = InkBox(b);
  EXPECT_GT(inkB.width(), 600);  // the drawing and the texts are there to compare
  for (const auto& [edgeA, edgeB] :
       {std::pair(inkA.left(), inkB.left()), std::pair(inkA.top(), inkB.top()),
        std::pair(inkA.right(), inkB.right()), std::pair(inkA.bottom(), inkB.bottom())}) {
    EXPECT_NEAR(edgeA, edgeB, 1);
  }
  const QPoint shift = BestShift(a, b);
  // The two pages are 1122.5 and 1123 pixels high: one pixel is rounding.
  EXPECT_LE(shift.manhattanLength(), 1);
}

TEST_F(PdfExportTest, FailureLeavesNoFile) {
  const QString existing = dir.filePath(QStringLiteral("keep.pdf"));
  QFile f(existing);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
  f.close();
  for (const QString& target : {dir.filePath(QStringLiteral("missing/antenna.pdf")), dir.path()}) {
    EXPECT_THROW(ExportPdf(form->Report1, target, QString()), EQRError) << target.toStdString();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.pdf"}));
  // Replacing works and leaves only the new file.
  Export(QStringLiteral("keep.pdf"));
  EXPECT_EQ(PdfPages(existing).size(), 1);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.pdf"}));
}

TEST_F(PdfExportTest, ThePreviewSavesThePdfThroughItsExportHook) {
  ScriptedDialogs dialogs;
  ScopedDialogs scopedDialogs(dialogs);
  const QString pdf = dir.filePath(QStringLiteral("from-preview.pdf"));
  form->Report1.PrinterSettings.Copies = 3;  // print choices do not reach the file
  RunInLoop({[&] {
    TQRStandardPreview* w = PreviewWindows().front();
    dialogs.fileAnswers = {{pdf, 1}};
    w->SaveReport->click();
    w->ExitButton->click();
  }});
  form->Report1.Preview();
  const QByteArray info = RunTool(QStringLiteral("pdfinfo"), {pdf}).value_or(QByteArray());
  EXPECT_EQ(Field(info, QStringLiteral("Pages")), QStringLiteral("1"));
  EXPECT_EQ(Field(info, QStringLiteral("Title")), QStringLiteral("HB9CV – 145 MHz"));
  EXPECT_EQ(form->Report1.PrinterSettings.Copies, 3);
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains(QString::fromUtf8("Průměr 2,89 až 5,17 mm")));
}

}  // namespace
}  // namespace hb9cv
