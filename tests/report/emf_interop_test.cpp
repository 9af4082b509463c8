// Our page pictures are real enhanced metafiles: an independent reader (libemf2svg, then
// rsvg-convert) shows the same page. Readers may leave a partial or blank output behind when
// they fail, so the checks look at the content, not at exit codes.
#include <emf2svg.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "emf_test_util.h"

namespace hb9cv {
namespace {

using emftest::EnsureApp;

// The page as SVG text, or empty when the reader fails.
QString ToSvg(const Metafile& page) {
  generatorOptions options{};
  // With a namespace prefix the reader mixes prefixed and bare tags (invalid XML): none.
  char nameSpace[] = "";
  options.nameSpace = nameSpace;
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  options.imgWidth = page.Width();
  options.imgHeight = page.Height();
  QByteArray bytes = page.Bytes();
  char* out = nullptr;
  std::size_t length = 0;
  const int ok = emf2svg(bytes.data(), std::size_t(bytes.size()), &out, &length, &options);
  QString svg;
  if (ok == 1 && out) svg = QString::fromUtf8(out, qsizetype(length));
  std::free(out);
  return svg;
}

// The SVG drawn by rsvg-convert at the page's pixel size over white, or a null image.
QImage Rasterise(const QString& svg, QSize size, const QString& dir) {
  const QString in = dir + QStringLiteral("/page.svg");
  const QString out = dir + QStringLiteral("/page.png");
  QFile f(in);
  if (!f.open(QIODevice::WriteOnly)) return {};
  f.write(svg.toUtf8());
  f.close();
  QProcess rsvg;
  rsvg.start(QStringLiteral("rsvg-convert"),
             {QStringLiteral("-w"), QString::number(size.width()), QStringLiteral("-h"),
              QString::number(size.height()), QStringLiteral("-b"), QStringLiteral("white"),
              QStringLiteral("-o"), out, in});
  rsvg.waitForFinished(60000);
  QImage image(out);
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// Ink on a grid of cells: which parts of the page carry something.
std::vector<int> InkGrid(const QImage& image, int cell) {
  std::vector<int> grid;
  for (int y = 0; y + cell <= image.height(); y += cell) {
    for (int x = 0; x + cell <= image.width(); x += cell) {
      grid.push_back(emftest::InkIn(image, QRect(x, y, cell, cell), 160));
    }
  }
  return grid;
}

class EmfInteropTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("rsvg-convert")).isEmpty()) {
      GTEST_SKIP() << "rsvg-convert is not installed (scripts/install-deps installs it)";
    }
  }
};

TEST_F(EmfInteropTest, AnotherReaderShowsThePageAfter145MHz) {
  auto form = emftest::FormAfter145MHz();
  const Metafile page = emftest::RecordReportPage(form->Report1);
  ASSERT_TRUE(page.Validate());
  const QString svg = ToSvg(page);
  ASSERT_FALSE(svg.isEmpty());
  // Every text of the page is there as text.
  for (const char* text : {"951,7 mm", "1036,5 mm", "Průměr 2,89 až 5,17 mm", "145 MHz", "Výpočet rozměrů antény typu HB9CV",
                           "Směr vyzařování", "Kvetorad"}) {
    EXPECT_TRUE(svg.contains(QString::fromUtf8(text))) << text;
  }
  // And the picture as a bitmap.
  EXPECT_TRUE(svg.contains(QStringLiteral("<image"))) << svg.left(2000).toStdString();

  QTemporaryDir dir;
  const QImage theirs = Rasterise(svg, page.PixelSize(), dir.path());
  ASSERT_FALSE(theirs.isNull());
  ASSERT_EQ(theirs.size(), page.PixelSize());
  const QImage ours = RenderPage(page, page.PixelSize());
  emftest::SaveArtifact(theirs, QStringLiteral("page145-emf2svg.png"));

  // The drawing: its thick black element lines sit in the same places.
  const QRect drawing(83, 266, 632, 355);
  const int inkOurs = emftest::InkIn(ours, drawing);
  const int inkTheirs = emftest::InkIn(theirs, drawing);
  EXPECT_GT(inkOurs, 10000);
  EXPECT_NEAR(inkTheirs, inkOurs, inkOurs / 10);
  EXPECT_LT(emftest::Compare(ours.copy(drawing), theirs.copy(drawing)).meanChannel, 12.0);

  // The labels: cells of 16 pixels that carry ink in our rendering carry it in theirs, and the
  // other way round, give or take a neighbouring cell.
  const int cell = 16;
  const int columns = ours.width() / cell;
  const std::vector<int> a = InkGrid(ours, cell), b = InkGrid(theirs, cell);
  auto near = [&](const std::vector<int>& grid, std::size_t i) {
    const int x = int(i) % columns, y = int(i) / columns;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= columns) continue;
        const std::size_t k = std::size_t(ny * columns + nx);
        if (k < grid.size() && grid[k] > 0) return true;
      }
    }
    return false;
  };
  int inked = 0, missing = 0, extra = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] > 3) {
      ++inked;
      missing += !near(b, i);
    }
    if (b[i] > 3) extra += !near(a, i);
  }
  EXPECT_GT(inked, 200);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(extra, 0);
  // Text rows of the advice lines and the title are inked in both.
  for (const QRect& r : {QRect(180, 56, 410, 30), QRect(60, 605, 530, 70), QRect(170, 318, 130, 14)}) {
    EXPECT_GT(emftest::InkIn(theirs, r), emftest::InkIn(ours, r) / 3) << r.x() << "," << r.y();
  }
}

TEST_F(EmfInteropTest, AnotherReaderPlacesGlyphsByOurAdvances) {
  // Each character at its own place: the width of a long line matches ours.
  const Metafile page = emftest::RecordPage([](Canvas& c) {
    c.SetFont(emftest::Arial(9));
    c.TextOut(20, 20, QString::fromUtf8("Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu s impedancí 50 Ohmů se PSV může"));
  });
  QTemporaryDir dir;
  const QImage theirs = Rasterise(ToSvg(page), page.PixelSize(), dir.path());
  ASSERT_FALSE(theirs.isNull());
  const QImage ours = RenderPage(page, page.PixelSize());
  auto extent = [](const QImage& image) {
    int left = image.width(), right = -1;
    for (int y = 15; y < 40; ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 160) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    return std::pair(left, right);
  };
  const auto [l1, r1] = extent(ours);
  const auto [l2, r2] = extent(theirs);
  EXPECT_NEAR(l2, l1, 2);
  EXPECT_NEAR(r2, r1, 4);
  EXPECT_GT(r1 - l1, 400);
}

}  // namespace
}  // namespace hb9cv
