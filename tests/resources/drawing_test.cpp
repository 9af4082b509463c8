#include "resources/drawing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <cstdlib>

#include "calc/errors.h"

namespace hb9cv {
namespace {

QByteArray ReadSourceFile(const char* relative) {
  const char* root = std::getenv("HB9CV_SOURCE_DIR");
  QFile file(QString::fromUtf8(root ? root : ".") + "/" + relative);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Pixels of the drawing's elements, each expected black (ink) or in the background colour.
struct Probe {
  const char* what;
  int x;
  int y;
  bool ink;
};

// clang-format off
constexpr Probe kProbes[] = {
    {"radiator top-left", 47, 39, true}, {"radiator bottom-right", 578, 46, true},
    {"left of radiator", 46, 42, false}, {"right of radiator", 579, 42, false},
    {"above radiator", 100, 38, false}, {"below radiator", 100, 47, false},
    {"reflector top-left", 6, 236, true}, {"reflector bottom-right", 623, 243, true},
    {"left of reflector", 5, 240, false}, {"right of reflector", 624, 240, false},
    {"above reflector", 400, 235, false}, {"below reflector", 400, 244, false},
    {"boom left edge", 306, 100, true}, {"boom bottom-right", 320, 348, true},
    {"left of boom", 305, 100, false}, {"right of boom", 321, 100, false},
    {"below boom", 313, 349, false}, {"above boom", 313, 24, false},
    {"boom beside the arrow", 307, 35, true}, {"arrow tip in the boom", 313, 27, false},
    {"arrow shaft in the boom", 313, 35, false}, {"radiator length line", 300, 11, true},
    {"above radiator length line", 300, 10, false}, {"below radiator length line", 300, 12, false},
    {"element spacing line", 548, 150, true}, {"beside element spacing line", 549, 150, false},
    {"reflector tap", 185, 225, true}, {"radiator tap", 435, 55, true},
};
// clang-format on

class DrawingTest : public ::testing::TestWithParam<DrawingBackground> {};

TEST_P(DrawingTest, CommittedJpegHasTheElementsAtTheirPixels) {
  const bool white = GetParam() == DrawingBackground::White;
  const QByteArray jpeg =
      ReadSourceFile(white ? "resources/antenna-white.jpg" : "resources/antenna-grey.jpg");
  ASSERT_FALSE(jpeg.isEmpty());
  const QImage image = DecodeJpeg(jpeg);
  ASSERT_EQ(image.size(), QSize(632, 355));
  const int background = white ? 255 : 192;
  constexpr int kTolerance = 24;  // JPEG ringing next to the black bars
  for (const Probe& p : kProbes) {
    const QRgb pixel = image.pixel(p.x, p.y);
    const int expected = p.ink ? 0 : background;
    for (int channel : {qRed(pixel), qGreen(pixel), qBlue(pixel)}) {
      EXPECT_NEAR(channel, expected, kTolerance) << p.what << " at " << p.x << "," << p.y;
    }
  }
}

TEST_P(DrawingTest, EmbeddedDrawingIsTheCommittedOne) {
  const bool white = GetParam() == DrawingBackground::White;
  const QImage embedded = AntennaDrawing(GetParam());
  const QImage committed = DecodeJpeg(
      ReadSourceFile(white ? "resources/antenna-white.jpg" : "resources/antenna-grey.jpg"));
  EXPECT_EQ(embedded, committed);
  EXPECT_EQ(embedded.format(), QImage::Format_RGB32);
}

INSTANTIATE_TEST_SUITE_P(Backgrounds, DrawingTest,
                         ::testing::Values(DrawingBackground::Grey, DrawingBackground::White));

TEST(DecodeJpeg, RefusesDataThatIsNotACompleteJpeg) {
  const QByteArray good = ReadSourceFile("resources/antenna-grey.jpg");
  ASSERT_GT(good.size(), 1000);
  const QByteArray cases[] = {
      QByteArray(),
      QByteArray("not a picture at all"),
      good.left(2),                // only the start-of-image marker
      good.left(good.size() / 2),  // cut in the middle of the scan
      ReadSourceFile("resources/hb9cv.png"),
  };
  for (const QByteArray& data : cases) {
    EXPECT_THROW(DecodeJpeg(data), Exception) << data.size() << " bytes";
  }
}

TEST(AppIcon, IsThirtyTwoPixelsSquare) {
  static int argc = 1;
  static char name[] = "drawing_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  const QIcon icon = AppIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
  // The same pixels as the icon the desktop installs.
  const QImage installed =
      QImage(QStringLiteral(":/hb9cv/hb9cv.png")).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32), installed);
}

}  // namespace
}  // namespace hb9cv
