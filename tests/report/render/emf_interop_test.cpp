// Our page pictures are real enhanced metafiles: an independent reader (libemf2svg, then
// rsvg-convert) shows the same page. Readers may leave a partial or blank output behind when
// they fail, so the checks look at the content, not at exit codes.
#include <emf2svg.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>

#include "tests/report/emf_test_util.h"

namespace hb9cv {
namespace {

using emftest::InkIn;

// The page as SVG text, or empty when the reader fails.
QString ToSvg(const Metafile& page) {
  generatorOptions options{};
  char nameSpace[] = "";  // with a prefix the reader mixes prefixed and bare tags
  options.nameSpace = nameSpace;
  options.emfplus = true;
  options.svgDelimiter = true;
  options.imgWidth = page.Width();
  options.imgHeight = page.Height();
  QByteArray bytes = page.Bytes();
  char* out = nullptr;
  std::size_t length = 0;
  const int ok = emf2svg(bytes.data(), std::size_t(bytes.size()), &out, &length, &options);
  const QString svg = ok == 1 && out ? QString::fromUtf8(out, qsizetype(length)) : QString();
  std::free(out);
  return svg;
}

// The SVG drawn by rsvg-convert at `size` over white, or a null image.
QImage Rasterise(const QString& svg, QSize size) {
  QProcess rsvg;
  rsvg.start(QStringLiteral("rsvg-convert"),
             {QStringLiteral("-w"), QString::number(size.width()), QStringLiteral("-h"),
              QString::number(size.height()), QStringLiteral("-b"), QStringLiteral("white")});
  rsvg.write(svg.toUtf8());
  rsvg.closeWriteChannel();
  rsvg.waitForFinished(60000);
  return QImage::fromData(rsvg.readAllStandardOutput()).convertToFormat(QImage::Format_RGB32);
}

// Leftmost and rightmost inked column inside a rectangle.
std::pair<int, int> InkExtent(const QImage& image, const QRect& r) {
  int left = r.right() + 1, right = r.left() - 1;
  for (int x = r.left(); x <= r.right(); ++x) {
    if (InkIn(image, QRect(x, r.top(), 1, r.height()), 160) == 0) continue;
    left = std::min(left, x);
    right = std::max(right, x);
  }
  return {left, right};
}

TEST(EmfInteropTest, AnotherReaderShowsThePageAfter145MHz) {
  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("rsvg-convert")).isEmpty())
      << "rsvg-convert is not installed (scripts/install-deps installs it)";
  const Metafile page = emftest::Page145();
  ASSERT_TRUE(page.Validate());
  const QString svg = ToSvg(page);
  // Every text of the page is there as text, and the picture as a bitmap.
  for (const char* text :
       {"951,7 mm", "1036,5 mm", "Průměr 2,89 až 5,17 mm", "145 MHz",
        "Výpočet rozměrů antény typu HB9CV", "Směr vyzařování", "Kvetorad", "<image"}) {
    EXPECT_TRUE(svg.contains(QString::fromUtf8(text))) << text;
  }
  const QImage theirs = Rasterise(svg, page.PixelSize());
  ASSERT_EQ(theirs.size(), page.PixelSize());
  const QImage ours = RenderPage(page, page.PixelSize());

  // The drawing: its thick black element lines sit in the same places.
  const QRect drawing(83, 266, 632, 355);
  const int inkOurs = InkIn(ours, drawing);
  EXPECT_GT(inkOurs, 10000);
  EXPECT_NEAR(InkIn(theirs, drawing), inkOurs, inkOurs / 10);
  EXPECT_LT(emftest::Compare(ours.copy(drawing), theirs.copy(drawing)).meanChannel, 12.0);

  // Each glyph goes where our advances put it: a long advice line ends where ours does.
  const QRect advice(60, 625, 700, 50);
  const auto [l1, r1] = InkExtent(ours, advice);
  const auto [l2, r2] = InkExtent(theirs, advice);
  EXPECT_GT(r1 - l1, 400);
  EXPECT_NEAR(l2, l1, 2);
  EXPECT_NEAR(r2, r1, 4);
}

}  // namespace
}  // namespace hb9cv
