// The A4 report page of Report1: geometry, elements, captions, and the rendered page.
#include "report/print_form.h"

#include <gtest/gtest.h>

#include <QDir>
#include <cmath>
#include <cstdlib>

#include "tests/report/report_test_util.h"

namespace hb9cv {
namespace {

using test::CanvasOp;
using test::TestDevice;

QString SourcePath(const QString& relative) {
  const char* root = std::getenv("HB9CV_SOURCE_DIR");
  return QDir(QString::fromLocal8Bit(root != nullptr ? root : ".")).filePath(relative);
}

// The texts of the 145 MHz computation as the main window hands them over.
const std::pair<ReportValue, const char*> k145MHz[] = {
    {ReportValue::Frequency, "145 MHz"}, {ReportValue::Z, "951,7 mm"},
    {ReportValue::R, "1036,5 mm"},       {ReportValue::RZ, "258,6 mm"},
    {ReportValue::x, "20,6 mm"},         {ReportValue::Tz, "130,3 mm"},
    {ReportValue::Tr, "140,6 mm"},       {ReportValue::Q, "Průměr 2,89 až 5,17 mm"},
};

// Where a stored length of the page lands at `dpi` (the page's top and left margins are 10 mm).
int Px(long double stored, int dpi) {
  return QRRound((100 + stored) * dpi / 254);
}

class PrintFormTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApp(); }
  void Compute145() {
    for (const auto& [which, text] : k145MHz) form.SetCaption(which, QString::fromUtf8(text));
  }
  TestDevice::Page Build(int dpi) {
    TestDevice device(FactorForDpi(dpi));
    form.Report1.Generate(device);
    EXPECT_EQ(device.pages.size(), 1u);
    return device.pages.empty() ? TestDevice::Page{} : std::move(device.pages.front());
  }
  std::vector<const TQRLabel*> Labels() const {
    std::vector<const TQRLabel*> labels;
    for (const auto& element : form.TitleBand1->Elements()) {
      if (const auto* label = dynamic_cast<const TQRLabel*>(element.get())) labels.push_back(label);
    }
    return labels;
  }

  TPrintForm form;
};

TEST_F(PrintFormTest, GeometryAndElements) {
  EXPECT_EQ(form.Report1.PixelWidth(), 794);
  EXPECT_EQ(form.Report1.PixelHeight(), 1123);
  EXPECT_EQ(form.TitleBand1->PixelWidth(), 718);
  EXPECT_EQ(form.TitleBand1->PixelHeight(), 1049);
  EXPECT_EQ(form.QRLabel1->Bounds(), (PixelBounds{180, 18, 371, 25}));
  // The title measures exactly its stored width: "Arial" is the metric-compatible face.
  EXPECT_EQ(form.Report1.TextWidth(form.QRLabel1->Font(), form.QRLabel1->Caption()), 371);
  EXPECT_EQ(form.QRImage1->Bounds(), (PixelBounds{45, 227, 632, 355}));
  EXPECT_EQ(form.QRImage1->Picture().size(), QSize(632, 355));
  ASSERT_EQ(form.TitleBand1->Elements().size(), 21u);
  ASSERT_EQ(Labels().size(), 20u);
  const CanvasFont& title = form.QRLabel1->Font();
  EXPECT_EQ(std::tuple(title.pointSize, title.bold, title.underline), std::tuple(16, true, true));
  for (const TQRLabel* label : Labels()) {
    SCOPED_TRACE(label->Name().toStdString());
    EXPECT_EQ(label->Font().family, QStringLiteral("Arial"));
    EXPECT_EQ(label->Alignment(), TAlignment::taLeftJustify);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_FALSE(label->Transparent());
  }
}

TEST_F(PrintFormTest, PageAfter145MHzAt96And600PixelsPerInch) {
  Compute145();
  for (const int dpi : {96, 600}) {
    SCOPED_TRACE(dpi);
    const TestDevice::Page page = Build(dpi);
    EXPECT_EQ(page.image.size(), dpi == 96 ? QSize(794, 1123) : QSize(4961, 7016));
    const auto fills = test::OpsOfKind(page.ops, CanvasOp::Fill);
    // The band first: white from 10 mm down to 287.548 mm.
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].rect,
              (dpi == 96 ? DeviceRect{38, 38, 756, 1087} : DeviceRect{236, 236, 4724, 6792}));
    // The drawing at its own size: 632 x 355 screen pixels are 3950 x 2218.75 printer pixels.
    const auto pictures = test::OpsOfKind(page.ops, CanvasOp::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    const DeviceRect& drawing = pictures[0].rect;
    EXPECT_EQ(QSize(drawing.Width(), drawing.Height()),
              dpi == 96 ? QSize(632, 355) : QSize(3950, 2219));
    if (dpi == 96) {
      EXPECT_EQ(drawing, (DeviceRect{83, 265, 715, 620}));
    }
    // Every label: a white box as wide as its measured caption, the text at the box's corner.
    QPainter painter;
    for (const TQRLabel* label : Labels()) {
      SCOPED_TRACE(label->Name().toStdString());
      const CanvasOp* text = test::FindText(page.ops, label->Caption());
      ASSERT_NE(text, nullptr);
      const int x = Px(label->Size.Stored(TQRPrintableSize::kLeft), dpi);
      const int y = Px(label->Size.Stored(TQRPrintableSize::kTop), dpi);
      EXPECT_EQ(std::pair(text->x, text->y), std::pair(x, y));
      EXPECT_EQ(text->font, label->Font());
      const auto box = std::find_if(fills.begin(), fills.end(), [&](const CanvasOp& op) {
        return op.rect.left == x && op.rect.top == y;
      });
      ASSERT_NE(box, fills.end());
      if (dpi == 96) {
        EXPECT_EQ(label->Width(), form.Report1.TextWidth(label->Font(), label->Caption()));
        EXPECT_NEAR(box->rect.Width(), label->Width(), 1);
        EXPECT_EQ(box->rect.Height(), label->Height());
        continue;
      }
      // The box covers the text as measured at the printer's resolution; text hinted at the
      // screen's resolution runs a little wider than at the printer's.
      QImage probe(1, 1, QImage::Format_RGB32);
      probe.setDotsPerMeterX(qRound(600 / 0.0254));
      probe.setDotsPerMeterY(qRound(600 / 0.0254));
      painter.begin(&probe);
      QPainterCanvas canvas(painter, 600, 600);
      canvas.SetFont(label->Font());
      const int textWidth = canvas.TextWidth(label->Caption());
      painter.end();
      EXPECT_GE(box->rect.Width(), textWidth);
      EXPECT_LE(box->rect.Width(), textWidth * 1.03 + 13) << textWidth;
    }
  }
  const TestDevice::Page page = Build(96);
  const CanvasOp* frequency = test::FindText(page.ops, QStringLiteral("145 MHz"));
  ASSERT_NE(frequency, nullptr);
  EXPECT_EQ(std::pair(frequency->x, frequency->y), std::pair(412, 93));
}

TEST_F(PrintFormTest, RenderedPageMatchesTheReference) {
  Compute145();
  const QImage page = RenderReportPage(form.Report1, FactorForDpi(96), FactorForDpi(96));
  const QString reference = SourcePath(QStringLiteral("tests/report/data/report-page-145.png"));
  if (std::getenv("HB9CV_UPDATE_REFERENCE") != nullptr) {
    ASSERT_TRUE(page.save(reference));
    ASSERT_TRUE(page.save(SourcePath(QStringLiteral("docs/report-page.png"))));
  }
  const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(expected.size(), page.size()) << reference.toStdString();
  // Glyph edges may shift with the font rasteriser; layout changes move whole shapes.
  int differing = 0;
  long long total = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QRgb a = page.pixel(x, y), b = expected.pixel(x, y);
      const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
      total += d;
      differing += d > 64;
    }
  }
  EXPECT_LE(differing, 300);
  EXPECT_LT(double(total) / (page.width() * page.height()), 0.5);
}

TEST_F(PrintFormTest, AfterResetEveryValuePlaceReadsZero) {
  Compute145();
  // What "&Nový" does to the report.
  for (const auto& [which, text] : k145MHz) {
    form.SetCaption(
        which, which == ReportValue::Frequency ? QStringLiteral("0 MHz") : QStringLiteral("0 mm"));
  }
  const TestDevice::Page page = Build(96);
  const QStringList texts = test::Texts(page.ops);
  EXPECT_EQ(texts.count(QStringLiteral("0 MHz")), 1);
  EXPECT_EQ(texts.count(QStringLiteral("0 mm")), 7);
  for (const auto& [which, text] : k145MHz) EXPECT_FALSE(texts.contains(QString::fromUtf8(text)));
  EXPECT_FALSE(texts.contains(QString::fromUtf8("Průměr")));
  const auto zeros = test::OpsOfKind(page.ops, CanvasOp::Text);
  EXPECT_TRUE(std::any_of(zeros.begin(), zeros.end(), [](const CanvasOp& op) {
    return op.text == QStringLiteral("0 mm") && op.x == 38 + 132;  // the diameter, at 34.925 mm
  }));
}

TEST_F(PrintFormTest, LongDiameterTextGrowsToTheRightOverTheDrawing) {
  const QString text = QString::fromUtf8("Průměr 14,73 až 26,31 mm");  // 28,5 MHz
  form.SetCaption(ReportValue::Q, text);
  EXPECT_EQ(form.QRLabel_Q->Left(), 132);
  EXPECT_NEAR(double(form.QRLabel_Q->Size.Left()), 34.925, 0.0005);
  const int width = form.Report1.TextWidth(form.QRLabel_Q->Font(), text);
  EXPECT_EQ(form.QRLabel_Q->Width(), width);
  EXPECT_NEAR(double(form.QRLabel_Q->Size.Width()), width * 25.4 / 96, 1e-9);

  const TestDevice::Page page = Build(96);
  const auto& ops = page.ops;
  const auto picture = std::find_if(
      ops.begin(), ops.end(), [](const CanvasOp& op) { return op.kind == CanvasOp::Picture; });
  const auto box = std::find_if(ops.begin(), ops.end(), [](const CanvasOp& op) {
    return op.kind == CanvasOp::Fill && op.rect.left == 170 && op.rect.top == 319;
  });
  ASSERT_NE(picture, ops.end());
  ASSERT_NE(box, ops.end());
  EXPECT_GT(box, picture) << "drawn after, so over, the drawing";
  EXPECT_NEAR(box->rect.Width(), width, 1);
  EXPECT_LT(box->rect.right, picture->rect.right);
  // The box is white with the text on it, where the drawing had its lines.
  int dark = 0;
  for (int y = box->rect.top; y < box->rect.bottom; ++y) {
    for (int x = box->rect.left; x < box->rect.right; ++x)
      dark += qGray(page.image.pixel(x, y)) < 128;
  }
  EXPECT_GT(dark, 50);
}

}  // namespace
}  // namespace hb9cv
