// The A4 report page of Report1: every element at its place, in its font, with its caption, in
// drawing order, before and after a computation, on the screen and on a printer.
#include "report/print_form.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/report/report_test_util.h"

namespace hb9cv {
namespace {

using test::CanvasOp;
using test::TestDevice;

// The page's labels as designed: millimetres from the band's corner, the stored size of the
// caption, the font (all "Arial") and the caption, in drawing order. The stored widths
// are those of the designer's fonts: a label measures its caption again when loaded.
struct Element {
  const char* name;
  double left, top, width, height;
  int points;
  bool bold, underline;
  const char* caption;
};
constexpr Element kLabels[] = {
    {"QRLabel1", 47.625, 4.763, 98.160, 6.615, 16, true, true, "Výpočet rozměrů antény typu HB9CV"},
    {"QRLabel2", 61.913, 14.552, 32.808, 4.498, 10, false, false, "pro střední kmitočet :"},
    {"QRLabel3", 98.954, 14.552, 2.117, 4.498, 10, false, false, "0"},
    {"QRLabel_Z", 88.371, 58.737, 6.879, 3.969, 8, false, false, "0 mm"},
    {"QRLabel_R", 101.600, 129.117, 6.879, 3.969, 8, false, false, "0 mm"},
    {"QRLabel_RZ", 158.750, 94.192, 6.879, 4.498, 8, false, false, "0 mm"},
    {"QRLabel_x", 132.292, 76.465, 6.879, 3.969, 8, false, false, "0 mm"},
    {"QRLabel_Tz", 102.923, 84.667, 6.879, 3.969, 8, false, false, "0 mm"},
    {"QRLabel_Tr", 62.442, 107.156, 6.879, 3.969, 8, false, false, "0 mm"},
    {"QRLabel_Q", 34.925, 74.348, 9.260, 4.498, 8, false, false, "Průměr"},
    {"QRLabel4", 15.875, 160.602, 136.790, 4.498, 9, false, false,
     "Připojení koaxiálního napáječe na svorky X a X'. Opletení koaxiálu na \" X \", střední "
     "vodič na \" X' \"."},
    {"QRLabel5", 15.875, 164.835, 137.848, 4.498, 9, false, false,
     "Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu s impedancí 50 Ohmů se PSV může"},
    {"QRLabel6", 15.875, 169.069, 140.758, 4.498, 9, false, false,
     "změnit o hodnotu 0,3. Je možné jemné doladění posunem napájecího vedení \"Tz\" a \"Tr\", "
     "případně"},
    {"QRLabel7", 15.875, 173.302, 140.229, 4.498, 9, false, false,
     "úpravou vzdálenosti \" x \". Někteží dokonce doporučují mezi svorku X' a střední vodič "
     "koaxiálu vřadit"},
    {"QRLabel8", 131.498, 72.496, 1.852, 3.969, 8, true, false, "x"},
    {"QRLabel9", 110.067, 89.694, 3.704, 4.498, 8, true, false, "Tz"},
    {"QRLabel10", 70.908, 112.713, 3.440, 3.969, 8, true, false, "Tr"},
    {"QRLabel11", 15.875, 177.535, 135.996, 4.498, 9, false, false,
     "proměnnou kapacitu (5 - 50 pF) a tou nastavit \"ideální stav\", ale to se nikdy v praxi "
     "neosvědčilo."},
    {"QRLabel12", 82.550, 51.594, 23.548, 4.498, 9, false, false, "Směr vyzařování"},
    {"QRLabel13", 12.700, 272.521, 16.404, 4.498, 6, false, false, "Kvetorad"},
};

// The values on the page, and their captions at 145 MHz: rows 2 to 9 of kLabels.
const ValueId kOnPage[] = {ValueId::Frequency, ValueId::Z,  ValueId::R,  ValueId::RZ,
                           ValueId::x,         ValueId::Tz, ValueId::Tr, ValueId::Diameter};
const char* const k145MHz[] = {"145 MHz", "951,7 mm", "1036,5 mm", "258,6 mm",
                               "20,6 mm", "130,3 mm", "140,6 mm",  "Průměr 2,89 až 5,17 mm"};

// A length of the band at `dpi`: the band starts 10 mm from the paper's edges.
int Px(double mm, int dpi) {
  return int(std::lround((10 + mm) * dpi / 25.4));
}

class PrintFormTest : public ::testing::Test {
 protected:
  void SetCaptions(QStringList& captions, const std::function<QString(int)>& caption) {
    for (int v = 0; v < 8; ++v) {
      captions[v + 2] = caption(v);
      form.SetCaption(kOnPage[v], captions[v + 2]);
    }
  }
  TestDevice::Page Build(int dpi) {
    TestDevice device(FactorForDpi(dpi));
    form.Report1.Generate(device);
    EXPECT_EQ(device.pages.size(), 1u);
    return device.pages.empty() ? TestDevice::Page{} : std::move(device.pages.front());
  }
  // Checks every label of the page: its text, font and place, its white box from the place
  // down by its height, and the drawing order. `captions` by row of kLabels.
  void ExpectLabels(const TestDevice::Page& page, const QStringList& captions, int dpi) {
    std::vector<std::pair<CanvasOp, CanvasOp>> labels;
    for (size_t k = 1; k < page.ops.size(); ++k) {
      if (page.ops[k].kind == CanvasOp::Text) labels.emplace_back(page.ops[k - 1], page.ops[k]);
    }
    ASSERT_EQ(labels.size(), std::size(kLabels));
    for (size_t i = 0; i < std::size(kLabels); ++i) {
      const Element& e = kLabels[i];
      const auto& [box, text] = labels[i];
      SCOPED_TRACE(e.name);
      EXPECT_EQ(std::tuple(text.text, text.font.family, text.font.pointSize, text.font.bold,
                           text.font.underline, text.x, text.y),
                std::tuple(captions[int(i)], QStringLiteral("Arial"), double(e.points), e.bold,
                           e.underline, Px(e.left, dpi), Px(e.top, dpi)));
      EXPECT_EQ(
          std::tuple(box.kind, box.color, box.rect.left, box.rect.top, box.rect.bottom),
          std::tuple(CanvasOp::Fill, QColor(Qt::white), text.x, text.y, Px(e.top + e.height, dpi)));
      // The box is the caption's width as measured on the screen: on the screen exactly the
      // text's, on a printer enough to cover it.
      EXPECT_GE(box.rect.right, text.rect.right);
      EXPECT_TRUE(dpi != 96 || box.rect.right <= text.rect.right + 1) << box.rect.right;
    }
  }

  TPrintForm form;
};

TEST_F(PrintFormTest, EveryElementAtItsPlaceBeforeAndAfter145MHz) {
  QStringList captions;
  for (const Element& e : kLabels) captions << QString::fromUtf8(e.caption);
  for (const bool computed : {false, true}) {
    SCOPED_TRACE(computed);
    if (computed) SetCaptions(captions, [](int v) { return QString::fromUtf8(k145MHz[v]); });
    for (const int dpi : {96, 600}) {
      SCOPED_TRACE(dpi);
      const TestDevice::Page page = Build(dpi);
      EXPECT_EQ(page.image.size(), dpi == 96 ? QSize(794, 1123) : QSize(4961, 7016));
      // The white band first, 189.971 x 277.548 mm; then the drawing after QRLabel3, at its own
      // size of 632 x 355 screen pixels and centred.
      ASSERT_GE(page.ops.size(), 8u);
      EXPECT_EQ(std::tuple(page.ops[0].kind, page.ops[0].rect, page.ops[7].kind, page.ops[7].rect),
                std::tuple(
                    CanvasOp::Fill,
                    DeviceRect{Px(0, dpi), Px(0, dpi), Px(189.971, dpi), Px(277.548, dpi)},
                    CanvasOp::Picture,
                    dpi == 96 ? DeviceRect{83, 265, 715, 620} : DeviceRect{517, 1655, 4467, 3874}));
      ExpectLabels(page, captions, dpi);
    }
  }
  // "&Nový" writes "0 MHz" and "0 mm" everywhere; the diameter's place starts at 34.925 mm.
  SetCaptions(captions,
              [](int v) { return v == 0 ? QStringLiteral("0 MHz") : QStringLiteral("0 mm"); });
  ExpectLabels(Build(96), captions, 96);
}

TEST_F(PrintFormTest, LongDiameterTextCoversTheDrawingToItsRight) {
  const QString text = QString::fromUtf8("Průměr 14,73 až 26,31 mm");  // 28,5 MHz
  form.SetCaption(ValueId::Diameter, text);
  const int width = form.Report1.TextWidth(form.QRLabel_Q->Font(), text);
  EXPECT_EQ(form.QRLabel_Q->Bounds(), (PixelBounds{132, 281, width, 17}));
  EXPECT_NEAR(double(form.QRLabel_Q->Size.Width()), width * 25.4 / 96, 1e-9);
  const TestDevice::Page page = Build(96);
  // White under the text where the drawing had its lines.
  const DeviceRect box{170, 319, 170 + width, 336};
  int dark = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) dark += qGray(page.image.pixel(x, y)) < 128;
  }
  EXPECT_GT(dark, 50);
  EXPECT_LT(dark, width * 17 / 3);
}

// What boxes and texts cannot show: the drawing's own lines, and glyphs that really are drawn.
TEST_F(PrintFormTest, RenderedPageMatchesTheReference) {
  const QImage page =
      RenderReportPage(test::FormAfter145MHz()->Report1, FactorForDpi(96), FactorForDpi(96));
  const QString reference =
      test::SourcePath(QStringLiteral("tests/report/data/report-page-145.png"));
  const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(expected.size(), page.size()) << reference.toStdString();
  // A glyph edge may come out a shade different with another rasteriser; a label moved by one
  // pixel changes a few dozen pixels by far more.
  int differing = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QRgb a = page.pixel(x, y), b = expected.pixel(x, y);
      differing += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                             std::abs(qBlue(a) - qBlue(b))}) > 96;
    }
  }
  EXPECT_LE(differing, 8);
}

}  // namespace
}  // namespace hb9cv
