// The A4 report page of Report1: settings, elements, captions, and the rendered page.
#include <gtest/gtest.h>

#include <QDir>
#include <cmath>
#include <cstdlib>

#include "report/print_form.h"
#include "report_test_util.h"

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

void Compute145(TPrintForm& form) {
  for (const auto& [which, text] : k145MHz) form.SetCaption(which, QString::fromUtf8(text));
}

class PrintFormTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApp(); }

  // Builds the page onto a recording device.
  TestDevice::Page Build(int dpi) {
    TestDevice device(FactorForDpi(dpi), FactorForDpi(dpi));
    form.Report1.Generate(device);
    EXPECT_EQ(device.pages.size(), 1u);
    return device.pages.empty() ? TestDevice::Page{} : std::move(device.pages.front());
  }

  TPrintForm form;
};

TEST_F(PrintFormTest, ReportSettings) {
  TReport& r = form.Report1;
  EXPECT_EQ(r.Units(), TQRUnit::MM);
  EXPECT_EQ(r.Zoom(), 100);
  EXPECT_EQ(r.Page.PaperSize(), TQRPaperSize::A4);
  EXPECT_EQ(r.Page.Orientation(), TQROrientation::Portrait);
  EXPECT_EQ(r.Page.Columns(), 1);
  const long double values[] = {100, 2970, 100, 2100, 100, 100, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(r.Page.Stored(i), values[i]) << i;
  EXPECT_EQ(r.Font().family, QStringLiteral("Arial"));
  EXPECT_EQ(r.Font().pointSize, 10);
  EXPECT_EQ(r.TextHeight(r.Font(), QStringLiteral("W")) > 0, true);
  EXPECT_FALSE(r.Frame.AnyFrame());
  EXPECT_TRUE(r.Options.FirstPageHeader);
  EXPECT_TRUE(r.Options.LastPageFooter);
  EXPECT_FALSE(r.Options.Compression);
  EXPECT_TRUE(r.PrintIfEmpty());
  EXPECT_EQ(r.PrinterSettings.Copies, 1);
  EXPECT_FALSE(r.PrinterSettings.Duplex);
  EXPECT_EQ(r.PrinterSettings.FirstPage, 0);
  EXPECT_EQ(r.PrinterSettings.LastPage, 0);
  EXPECT_EQ(r.PrinterSettings.OutputBin, TQRBin::Auto);
  EXPECT_TRUE(r.ReportTitle().isEmpty());
  ASSERT_EQ(r.Bands().size(), 1u);
  const TQRCustomBand& band = *form.TitleBand1;
  EXPECT_EQ(band.BandType(), TQRBandType::rbTitle);
  EXPECT_EQ(band.Color(), QColor(Qt::white));
  EXPECT_FALSE(band.Frame.AnyFrame());
  EXPECT_FALSE(band.AlignToBottom());
  EXPECT_FALSE(band.ForceNewPage());
  EXPECT_FALSE(band.ForceNewColumn());
  EXPECT_EQ(band.Size.Stored(TQRBandSize::kHeight), 2775.479L);
  EXPECT_EQ(band.Size.Stored(TQRBandSize::kWidth), 1899.708L);
}

TEST_F(PrintFormTest, ElementsInDrawingOrderWithTheirPlacesAndFonts) {
  const struct {
    const char* name;
    double left, top, width, height;  // mm
    int pointSize;
    bool bold, underline;
    const char* caption;
  } expected[] = {
      {"QRLabel1", 47.625, 4.763, 98.160, 6.615, 16, true, true,
       "Výpočet rozměrů antény typu HB9CV"},
      {"QRLabel2", 61.913, 14.552, 32.808, 4.498, 10, false, false, "pro střední kmitočet :"},
      {"QRLabel3", 98.954, 14.552, 2.117, 4.498, 10, false, false, "0"},
      {"QRImage1", 11.906, 60.060, 167.217, 93.927, 0, false, false, nullptr},
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
  const auto& elements = form.TitleBand1->Elements();
  ASSERT_EQ(elements.size(), std::size(expected));
  for (size_t i = 0; i < elements.size(); ++i) {
    const auto& e = expected[i];
    const TQRPrintable& element = *elements[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(element.Name(), QString::fromLatin1(e.name));
    EXPECT_NEAR(static_cast<double>(element.Size.Left()), e.left, 0.0005);
    EXPECT_NEAR(static_cast<double>(element.Size.Top()), e.top, 0.0005);
    EXPECT_NEAR(static_cast<double>(element.Size.Width()), e.width, 0.0005);
    EXPECT_NEAR(static_cast<double>(element.Size.Height()), e.height, 0.0005);
    // Pixel bounds at 96 pixels per inch follow from the stored size.
    auto px = [](double mm) { return static_cast<int>(std::lround(mm * 10 * 96 / 254)); };
    EXPECT_EQ(element.Bounds(), (PixelBounds{px(e.left), px(e.top), px(e.width), px(e.height)}));
    EXPECT_TRUE(element.Enabled());
    EXPECT_FALSE(element.Frame.AnyFrame());
    const auto* label = dynamic_cast<const TQRLabel*>(&element);
    if (e.caption == nullptr) {
      const auto* image = dynamic_cast<const TQRImage*>(&element);
      ASSERT_NE(image, nullptr);
      EXPECT_EQ(image->Picture().size(), QSize(632, 355));
      EXPECT_TRUE(image->AutoSize());
      EXPECT_TRUE(image->Center());
      EXPECT_FALSE(image->Stretch());
      continue;
    }
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QString::fromUtf8(e.caption));
    EXPECT_EQ(label->Font().family, QStringLiteral("Arial"));
    EXPECT_EQ(label->Font().pointSize, e.pointSize);
    EXPECT_EQ(label->Font().bold, e.bold);
    EXPECT_EQ(label->Font().underline, e.underline);
    EXPECT_EQ(label->Alignment(), TAlignment::taLeftJustify);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_FALSE(label->AutoStretch());
    EXPECT_FALSE(label->AlignToBand());
    EXPECT_FALSE(label->Transparent());
    EXPECT_EQ(label->Color(), QColor(Qt::white));
  }
}

TEST_F(PrintFormTest, CaptionSettersReachTheirLabels) {
  const std::pair<ReportValue, TQRLabel*> cases[] = {
      {ReportValue::Frequency, form.QRLabel3}, {ReportValue::Z, form.QRLabel_Z},
      {ReportValue::R, form.QRLabel_R},        {ReportValue::RZ, form.QRLabel_RZ},
      {ReportValue::x, form.QRLabel_x},        {ReportValue::Tz, form.QRLabel_Tz},
      {ReportValue::Tr, form.QRLabel_Tr},      {ReportValue::Q, form.QRLabel_Q},
  };
  for (const auto& [which, label] : cases) {
    EXPECT_EQ(form.ValueLabel(which), label);
    const QString text = QStringLiteral("value %1").arg(static_cast<int>(which));
    form.SetCaption(which, text);
    EXPECT_EQ(label->Caption(), text);
    EXPECT_EQ(label->Width(), form.Report1.TextWidth(label->Font(), text));
  }
}

TEST_F(PrintFormTest, PageAfter145MHzAt96PixelsPerInch) {
  Compute145(form);
  const TestDevice::Page page = Build(96);
  EXPECT_EQ(page.image.size(), QSize(794, 1123));
  const auto& ops = page.ops;
  // The band first: white from 10 mm down to 287.548 mm.
  const auto fills = test::OpsOfKind(ops, CanvasOp::Fill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].rect, (DeviceRect{38, 38, 756, 1087}));
  EXPECT_EQ(fills[0].color, QColor(Qt::white));
  // The drawing at its own size in its rectangle.
  const auto pictures = test::OpsOfKind(ops, CanvasOp::Picture);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].rect, (DeviceRect{83, 265, 715, 620}));
  // Every label: a white box as wide as its measured caption, the text at the box's corner.
  QStringList drawn;
  for (const auto& element : form.TitleBand1->Elements()) {
    const auto* label = dynamic_cast<const TQRLabel*>(element.get());
    if (label == nullptr) continue;
    SCOPED_TRACE(label->Name().toStdString());
    const int width = form.Report1.TextWidth(label->Font(), label->Caption());
    EXPECT_EQ(label->Width(), width);
    const CanvasOp* text = test::FindText(ops, label->Caption());
    ASSERT_NE(text, nullptr);
    const int x = QRRound((100 + label->Size.Stored(TQRPrintableSize::kLeft)) * 96 / 254);
    const int y = QRRound((100 + label->Size.Stored(TQRPrintableSize::kTop)) * 96 / 254);
    EXPECT_EQ(text->x, x);
    EXPECT_EQ(text->y, y);
    EXPECT_EQ(text->font, label->Font());
    const auto box = std::find_if(fills.begin(), fills.end(), [&](const CanvasOp& op) {
      return op.rect.left == x && op.rect.top == y;
    });
    ASSERT_NE(box, fills.end());
    EXPECT_NEAR(box->rect.Width(), width, 1);
    EXPECT_EQ(box->rect.Height(), label->Height());
    drawn << text->text;
  }
  EXPECT_EQ(drawn.size(), 20);
  const CanvasOp* frequency = test::FindText(ops, QStringLiteral("145 MHz"));
  ASSERT_NE(frequency, nullptr);
  EXPECT_EQ(frequency->x, 412);
  EXPECT_EQ(frequency->y, 93);
}

TEST_F(PrintFormTest, RenderedPageMatchesTheReference) {
  Compute145(form);
  const QImage page = RenderReportPage(form.Report1, FactorForDpi(96), FactorForDpi(96));
  ASSERT_EQ(page.size(), QSize(794, 1123));
  const QString reference = SourcePath(QStringLiteral("tests/report/data/report-page-145.png"));
  if (std::getenv("HB9CV_UPDATE_REFERENCE") != nullptr) {
    ASSERT_TRUE(page.save(reference));
    ASSERT_TRUE(page.save(SourcePath(QStringLiteral("docs/report-page.png"))));
  }
  QImage expected(reference);
  ASSERT_FALSE(expected.isNull()) << reference.toStdString();
  expected = expected.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(expected.size(), page.size());
  // Glyph edges may shift with the font rasteriser; layout changes move whole shapes.
  int differing = 0;
  long long total = 0;
  for (int y = 0; y < page.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(page.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    for (int x = 0; x < page.width(); ++x) {
      const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])),
                              std::abs(qGreen(a[x]) - qGreen(b[x])),
                              std::abs(qBlue(a[x]) - qBlue(b[x]))});
      total += d;
      differing += d > 64;
    }
  }
  EXPECT_LE(differing, 300);
  EXPECT_LT(static_cast<double>(total) / (page.width() * page.height()), 0.5);
  page.save(QStringLiteral("report-page-145-96dpi.png"));
}

TEST_F(PrintFormTest, PageAt600PixelsPerInch) {
  Compute145(form);
  const TestDevice::Page page = Build(600);
  EXPECT_EQ(page.image.size(), QSize(4961, 7016));
  page.image.save(QStringLiteral("report-page-145-600dpi.png"));
  const auto& ops = page.ops;
  const auto fills = test::OpsOfKind(ops, CanvasOp::Fill);
  EXPECT_EQ(fills.at(0).rect, (DeviceRect{236, 236, 4724, 6792}));
  const auto pictures = test::OpsOfKind(ops, CanvasOp::Picture);
  ASSERT_EQ(pictures.size(), 1u);
  // 632 x 355 screen pixels are 3950 x 2218.75 printer pixels.
  EXPECT_EQ(pictures[0].rect.Width(), 3950);
  EXPECT_EQ(pictures[0].rect.Height(), 2219);
  QPainter painter;
  for (const auto& element : form.TitleBand1->Elements()) {
    const auto* label = dynamic_cast<const TQRLabel*>(element.get());
    if (label == nullptr) continue;
    SCOPED_TRACE(label->Name().toStdString());
    const CanvasOp* text = test::FindText(ops, label->Caption());
    ASSERT_NE(text, nullptr);
    const int x = QRRound((100 + label->Size.Stored(TQRPrintableSize::kLeft)) * 600 / 254);
    const int y = QRRound((100 + label->Size.Stored(TQRPrintableSize::kTop)) * 600 / 254);
    EXPECT_EQ(text->x, x);
    EXPECT_EQ(text->y, y);
    // The white box covers the text as measured on the printer-resolution page.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(qRound(600 / 0.0254));
    probe.setDotsPerMeterY(qRound(600 / 0.0254));
    painter.begin(&probe);
    QPainterCanvas canvas(painter, 600, 600);
    canvas.SetFont(label->Font());
    const int textWidth = canvas.TextWidth(label->Caption());
    painter.end();
    const auto box = std::find_if(fills.begin(), fills.end(), [&](const CanvasOp& op) {
      return op.rect.left == x && op.rect.top == y;
    });
    ASSERT_NE(box, fills.end());
    EXPECT_GE(box->rect.Width(), textWidth);
    // Text hinted at the screen's resolution runs a little wider than at the printer's.
    EXPECT_LE(box->rect.Width(), textWidth * 1.03 + 13) << textWidth;
  }
}

TEST_F(PrintFormTest, AfterResetEveryValuePlaceReadsZero) {
  Compute145(form);
  // What "&Nový" does to the report.
  form.SetCaption(ReportValue::Frequency, QStringLiteral("0 MHz"));
  for (ReportValue which : {ReportValue::Z, ReportValue::R, ReportValue::RZ, ReportValue::x,
                            ReportValue::Tz, ReportValue::Tr, ReportValue::Q}) {
    form.SetCaption(which, QStringLiteral("0 mm"));
  }
  const TestDevice::Page page = Build(96);
  QStringList texts;
  for (const auto& op : test::OpsOfKind(page.ops, CanvasOp::Text)) texts << op.text;
  EXPECT_EQ(texts.count(QStringLiteral("0 MHz")), 1);
  EXPECT_EQ(texts.count(QStringLiteral("0 mm")), 7);
  EXPECT_FALSE(texts.contains(QString::fromUtf8("Průměr")));
  for (const auto& [which, text] : k145MHz) EXPECT_FALSE(texts.contains(QString::fromUtf8(text)));
  const CanvasOp* diameter = nullptr;
  for (const auto& op : test::OpsOfKind(page.ops, CanvasOp::Text)) {
    if (op.text == QStringLiteral("0 mm") && op.x == 38 + 132) diameter = &op;
  }
  EXPECT_NE(diameter, nullptr);  // the diameter place, at 34.925 mm
}

TEST_F(PrintFormTest, LongDiameterTextGrowsToTheRightOverTheDrawing) {
  const long double left = form.QRLabel_Q->Size.Stored(TQRPrintableSize::kLeft);
  const QString text = QString::fromUtf8("Průměr 14,73 až 26,31 mm");  // 28,5 MHz
  form.SetCaption(ReportValue::Q, text);
  EXPECT_EQ(form.QRLabel_Q->Left(), 132);
  EXPECT_NEAR(static_cast<double>(form.QRLabel_Q->Size.Left()), 34.925, 0.0005);
  EXPECT_NEAR(static_cast<double>(form.QRLabel_Q->Size.Stored(TQRPrintableSize::kLeft)),
              static_cast<double>(left), 0.01);
  const int width = form.Report1.TextWidth(form.QRLabel_Q->Font(), text);
  EXPECT_EQ(form.QRLabel_Q->Width(), width);
  EXPECT_GT(width, 35);
  EXPECT_NEAR(static_cast<double>(form.QRLabel_Q->Size.Width()), width * 25.4 / 96, 1e-9);

  const TestDevice::Page page = Build(96);
  const auto& ops = page.ops;
  const auto picture = std::find_if(ops.begin(), ops.end(),
                                    [](const CanvasOp& op) { return op.kind == CanvasOp::Picture; });
  ASSERT_NE(picture, ops.end());
  const auto box = std::find_if(ops.begin(), ops.end(), [](const CanvasOp& op) {
    return op.kind == CanvasOp::Fill && op.rect.left == 170 && op.rect.top == 319;
  });
  ASSERT_NE(box, ops.end());
  EXPECT_GT(box - ops.begin(), picture - ops.begin());  // drawn after, so over, the drawing
  EXPECT_NEAR(box->rect.Width(), width, 1);
  EXPECT_GT(box->rect.left, picture->rect.left);
  EXPECT_LT(box->rect.right, picture->rect.right);
  EXPECT_GT(box->rect.top, picture->rect.top);
  // The box is white with the text on it, where the drawing had its lines.
  const QImage& image = page.image;
  int dark = 0;
  for (int y = box->rect.top; y < box->rect.bottom; ++y) {
    for (int x = box->rect.left; x < box->rect.right; ++x) dark += qGray(image.pixel(x, y)) < 128;
  }
  EXPECT_GT(dark, 50);
}

}  // namespace
}  // namespace hb9cv
