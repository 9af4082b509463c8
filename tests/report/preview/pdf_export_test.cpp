// The report page as a PDF: a small file that replaces an old one, its look against the
// preview's page, and what a failure leaves. What the file says about itself, its text and its
// fonts are read back by the command line's end-to-end test, which exports the same way.
#include "report/preview/pdf_export.h"

#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "report/render/emf_player.h"
#include "report/store/qr_error.h"
#include "tests/report/preview_test_util.h"

namespace hb9cv {
namespace {

using namespace pvtest;

// The box around every dark pixel.
QRect InkBox(const QImage& image) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  QRect box;
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      if (grey.constScanLine(y)[x] < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

class PdfExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(QStandardPaths::findExecutable("pdftoppm").isEmpty()) << "no pdftoppm";
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

TEST_F(PdfExportTest, ASmallPageThatReplacesAnOldFileAndLooksLikeThePreview) {
  QFile old(dir.filePath(QStringLiteral("antenna.pdf")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
  old.close();
  const QString file = Export(QStringLiteral("antenna.pdf"));  // replaces the old file
  // The fonts go in as subsets, which Qt does not tag in their names, so the size tells:
  // Liberation Sans alone is 139 kB, the page with both its fonts and the drawing far less.
  EXPECT_LT(QFileInfo(file).size(), 70000);

  // The ink of the page at 96 dpi ends where the preview's does, within a pixel of rounding
  // (the pages are 1122.5 and 1123 pixels high).
  RunTool("pdftoppm", {"-r", "96", "-png", "-singlefile", file, dir.filePath("page")});
  const QImage pdf(dir.filePath(QStringLiteral("page.png")));
  TQRPrinter printer;
  form->Report1.Generate(printer);
  const QImage preview = RenderPage(printer.GetPage(1), QSize(794, 1123));
  ASSERT_EQ(pdf.size(), QSize(794, 1123));
  const QRect inkPdf = InkBox(pdf), inkPreview = InkBox(preview);
  EXPECT_GT(inkPreview.width(), 600);  // the drawing and the texts are there to compare
  for (const auto& [a, b] :
       {std::pair(inkPdf.left(), inkPreview.left()), std::pair(inkPdf.top(), inkPreview.top()),
        std::pair(inkPdf.right(), inkPreview.right()),
        std::pair(inkPdf.bottom(), inkPreview.bottom())}) {
    EXPECT_NEAR(a, b, 1);
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({"antenna.pdf", "page.png"}));
}

TEST_F(PdfExportTest, FailureLeavesNoFile) {
  for (const QString& target : {dir.filePath(QStringLiteral("missing/antenna.pdf")), dir.path()}) {
    EXPECT_THROW(ExportPdf(form->Report1, target, QString()), EQRError) << target.toStdString();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
}  // namespace hb9cv
