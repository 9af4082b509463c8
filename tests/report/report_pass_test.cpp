// The report pass: pages, bands, stretching labels, pictures, frames and the device protocol.
#include <gtest/gtest.h>

#include "calc/errors.h"
#include "report/print_form.h"
#include "report/qr_report.h"
#include "report_test_util.h"

namespace hb9cv {
namespace {

using test::CanvasOp;
using test::TestDevice;

constexpr long double kUnit = 1;  // one pixel per tenth of a millimetre

class PassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApp();
    report.SetUnits(TQRUnit::MM);
    report.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
  }

  TQRBand* AddBand(const char* name, TQRBandType type, long double height) {
    TQRBand* band = report.AddBand(QString::fromLatin1(name), type);
    band->Size.LoadValues({height, 1899.708L});
    band->Loaded();
    return band;
  }
  TQRLabel* AddLabel(TQRBand* band, const QString& caption, long double top) {
    TQRLabel* label = band->Add<TQRLabel>(caption);
    label->Size.LoadValues({44.979L, 100, top, 100});
    label->SizeToBounds();
    label->SetCaption(caption);
    return label;
  }

  TReport report{QStringLiteral("report")};
};

TEST_F(PassTest, TitleBandTallerThanThePageSpacePrintsOnOnePage) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 2775.479L);
  title->SetColor(Qt::yellow);
  TestDevice device(kUnit, kUnit);
  report.Generate(device);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"begin", "page", "end"}));
  ASSERT_EQ(device.pages.size(), 1u);
  const auto fills = test::OpsOfKind(device.pages[0].ops, CanvasOp::Fill);
  ASSERT_EQ(fills.size(), 1u);
  // From 10 mm to 287.548 mm, 0.548 mm into the bottom margin.
  EXPECT_EQ(fills[0].rect, (DeviceRect{100, 100, 2000, 2875}));
  EXPECT_EQ(fills[0].color, QColor(Qt::yellow));
  EXPECT_EQ(report.PageCount(), 1);
  EXPECT_EQ(report.Functions.Value(QStringLiteral("PAGENUMBER")).toInt(), 1);
  EXPECT_EQ(report.Functions.Value(QStringLiteral("COLUMNNUMBER")).toInt(), 1);
  EXPECT_FALSE(report.Building());
}

TEST_F(PassTest, PrintIfEmptyOffGivesNoPage) {
  AddBand("title", TQRBandType::rbTitle, 500);
  report.SetPrintIfEmpty(false);
  TestDevice device(kUnit, kUnit);
  report.Generate(device);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(report.PageCount(), 0);
}

TEST_F(PassTest, NegativeSpaceBetweenMarginsZeroesThoseMargins) {
  AddBand("title", TQRBandType::rbTitle, 500);
  report.Page.LoadValues({1500, 2970, 1500, 2100, 1000, 1200, 0});
  TestDevice device(kUnit, kUnit);
  report.Generate(device);
  for (int i : {TQRPage::kBottomMargin, TQRPage::kTopMargin, TQRPage::kLeftMargin,
                TQRPage::kRightMargin}) {
    EXPECT_EQ(report.Page.Stored(i), 0) << i;
  }
  const auto fills = test::OpsOfKind(device.pages.at(0).ops, CanvasOp::Fill);
  EXPECT_EQ(fills.at(0).rect.left, 0);
  EXPECT_EQ(fills.at(0).rect.top, 0);
}

TEST_F(PassTest, UnitIsNativeDuringThePassOnly) {
  AddBand("title", TQRBandType::rbTitle, 500);
  TestDevice device(kUnit, kUnit);
  TQRUnit seen = TQRUnit::MM;
  device.onNewPage = [&] { seen = report.Units(); };
  report.Generate(device);
  EXPECT_EQ(seen, TQRUnit::Native);
  EXPECT_EQ(report.Units(), TQRUnit::MM);
}

TEST_F(PassTest, ASecondPassWhileBuildingDoesNothing) {
  AddBand("title", TQRBandType::rbTitle, 500);
  TestDevice device(kUnit, kUnit);
  TestDevice nested(kUnit, kUnit);
  device.onNewPage = [&] {
    EXPECT_TRUE(report.Building());
    report.Generate(nested);
  };
  report.Generate(device);
  EXPECT_TRUE(nested.calls.empty());
  EXPECT_EQ(device.pages.size(), 1u);
}

TEST_F(PassTest, CancelledBuildAborts) {
  AddBand("title", TQRBandType::rbTitle, 500);
  AddBand("summary", TQRBandType::rbSummary, 500);
  TestDevice device(kUnit, kUnit);
  device.onNewPage = [&] { device.Cancel(); };
  report.Generate(device);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"begin", "page", "abort"}));
}

TEST_F(PassTest, FailingDeviceIsAbortedAndTheReportStaysUsable) {
  AddBand("title", TQRBandType::rbTitle, 500);
  TestDevice device(kUnit, kUnit);
  device.onNewPage = [] { throw EQRError("Illegal call to NewPage"); };
  EXPECT_THROW(report.Generate(device), EQRError);
  EXPECT_EQ(device.calls.back(), "abort");
  EXPECT_FALSE(report.Building());
  EXPECT_EQ(report.Units(), TQRUnit::MM);
  TestDevice second(kUnit, kUnit);
  report.Generate(second);
  EXPECT_EQ(second.pages.size(), 1u);
}

TEST_F(PassTest, BandsThatDoNotFitStartANewPage) {
  const struct {
    const char* name;
    long double summaryHeight;
    size_t pages;
  } cases[] = {
      {"fits below the title", 770, 1},
      {"needs a new page", 771, 2},
      // Taller than the space between the margins: prints where it stands.
      {"taller than the page", 2771, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TReport r(QStringLiteral("r"));
    r.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
    for (auto [type, height] : {std::pair{TQRBandType::rbTitle, 2000.0L},
                                std::pair{TQRBandType::rbSummary, c.summaryHeight}}) {
      TQRBand* band = r.AddBand(QStringLiteral("b"), type);
      band->Size.LoadValues({height, 1000});
    }
    r.Loaded();
    TestDevice device(kUnit, kUnit);
    r.Generate(device);
    EXPECT_EQ(device.pages.size(), c.pages);
    const auto fills = test::OpsOfKind(device.pages.back().ops, CanvasOp::Fill);
    EXPECT_EQ(fills.back().rect.top, c.pages == 1 ? 2100 : 100);
  }
}

TEST_F(PassTest, PageHeaderAndFooterFollowTheOptions) {
  AddBand("title", TQRBandType::rbTitle, 2000);
  AddBand("summary", TQRBandType::rbSummary, 1000);  // forces a second page
  TQRBand* header = AddBand("header", TQRBandType::rbPageHeader, 50);
  header->SetColor(Qt::red);
  TQRBand* footer = AddBand("footer", TQRBandType::rbPageFooter, 60);
  footer->SetColor(Qt::blue);
  const struct {
    bool firstHeader, lastFooter;
    int headersOnPage1, headersOnPage2, footersOnPage1, footersOnPage2;
  } cases[] = {{false, false, 0, 1, 1, 0}, {true, true, 1, 1, 1, 1}};
  for (const auto& c : cases) {
    report.Options.FirstPageHeader = c.firstHeader;
    report.Options.LastPageFooter = c.lastFooter;
    TestDevice device(kUnit, kUnit);
    report.Generate(device);
    ASSERT_EQ(device.pages.size(), 2u);
    auto count = [&](int page, const QColor& color) {
      int n = 0;
      for (const auto& op : test::OpsOfKind(device.pages[page].ops, CanvasOp::Fill)) {
        n += op.color == color;
      }
      return n;
    };
    EXPECT_EQ(count(0, Qt::red), c.headersOnPage1);
    EXPECT_EQ(count(1, Qt::red), c.headersOnPage2);
    EXPECT_EQ(count(0, Qt::blue), c.footersOnPage1);
    EXPECT_EQ(count(1, Qt::blue), c.footersOnPage2);
    // The footer sits on the bottom margin.
    for (const auto& op : test::OpsOfKind(device.pages[0].ops, CanvasOp::Fill)) {
      if (op.color == QColor(Qt::blue)) {
        EXPECT_EQ(op.rect, (DeviceRect{100, 2810, 2000, 2870}));
      }
    }
  }
}

TEST_F(PassTest, AlignToBottomAndDisabledAndEmptyBands) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 300);
  title->SetColor(Qt::red);
  TQRBand* detail = AddBand("detail", TQRBandType::rbDetail, 200);
  detail->SetEnabled(false);
  TQRBand* child = AddBand("child", TQRBandType::rbChild, 1);  // rounds to 0 pixels
  child->SetColor(Qt::green);
  ASSERT_TRUE(detail->SetChildBand(child));
  TQRBand* summary = AddBand("summary", TQRBandType::rbSummary, 400);
  summary->SetAlignToBottom(true);
  summary->SetColor(Qt::blue);
  TestDevice device(kUnit, kUnit);
  report.Generate(device);
  ASSERT_EQ(device.pages.size(), 1u);
  const auto fills = test::OpsOfKind(device.pages[0].ops, CanvasOp::Fill);
  ASSERT_EQ(fills.size(), 2u);  // the disabled band and the empty child draw nothing
  EXPECT_EQ(fills[0].rect, (DeviceRect{100, 100, 2000, 400}));
  EXPECT_EQ(fills[1].rect, (DeviceRect{100, 2470, 2000, 2870}));
}

TEST_F(PassTest, StretchingLabelContinuesOnNewPages) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 2700);
  TQRLabel* label = AddLabel(title, QStringLiteral("l1\rl2\rl3\rl4\rl5"), 2600);
  label->SetAutoStretch(true);
  TQRLabel* other = AddLabel(title, QStringLiteral("once"), 100);
  TestDevice device(FactorForDpi(96), FactorForDpi(96));
  report.Generate(device);
  // A line is 15 pixels, 39.7 units; the band may grow to 2770 units on a page: two lines
  // fit on every page.
  ASSERT_EQ(device.pages.size(), 3u);
  const QStringList expected[] = {{"l1", "l2"}, {"l3", "l4"}, {"l5"}};
  for (size_t page = 0; page < 3; ++page) {
    QStringList texts;
    for (const auto& op : test::OpsOfKind(device.pages[page].ops, CanvasOp::Text)) {
      texts << op.text;
    }
    texts.removeAll(QStringLiteral("once"));
    EXPECT_EQ(texts, expected[page]) << page;
  }
  // Only the unfinished label prints again.
  EXPECT_NE(test::FindText(device.pages[0].ops, QStringLiteral("once")), nullptr);
  EXPECT_EQ(test::FindText(device.pages[1].ops, QStringLiteral("once")), nullptr);
  EXPECT_TRUE(label->Finished());
  EXPECT_TRUE(other->Finished());
  // Each page's lines start at the label's top.
  const CanvasOp* l3 = test::FindText(device.pages[1].ops, QStringLiteral("l3"));
  ASSERT_NE(l3, nullptr);
  EXPECT_EQ(l3->y, device.YPos(100 + label->Size.Stored(TQRPrintableSize::kTop)));
}

TEST_F(PassTest, LabelThatCanNeverFitDoesNotLoopForEver) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 2800);
  TQRLabel* label = AddLabel(title, QStringLiteral("a\rb"), 2790);
  label->SetAutoStretch(true);
  TestDevice device(FactorForDpi(96), FactorForDpi(96));
  report.Generate(device);
  EXPECT_LE(device.pages.size(), 2u);
  EXPECT_EQ(device.calls.back(), "end");
}

TEST_F(PassTest, LinesBelowAFixedLabelAreNotPrinted) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 1000);
  TQRLabel* label = AddLabel(title, QStringLiteral("one\rtwo"), 100);
  TestDevice device(FactorForDpi(96), FactorForDpi(96));
  report.Generate(device);
  EXPECT_NE(test::FindText(device.pages[0].ops, QStringLiteral("one")), nullptr);
  EXPECT_EQ(test::FindText(device.pages[0].ops, QStringLiteral("two")), nullptr);
  EXPECT_TRUE(label->Finished());
  EXPECT_EQ(device.pages.size(), 1u);
}

TEST_F(PassTest, ReportElementsAndFramePrintAtTheEndOfThePage) {
  AddBand("title", TQRBandType::rbTitle, 300);
  TQRLabel* stamp = report.Add<TQRLabel>(QStringLiteral("stamp"));
  stamp->Size.LoadValues({44.979L, 500, 2900, 100});
  stamp->SizeToBounds();
  stamp->SetCaption(QStringLiteral("stamp"));
  report.Frame.DrawTop = true;
  report.Frame.Color = Qt::red;
  TestDevice device(kUnit, kUnit);
  report.Generate(device);
  const auto& ops = device.pages.at(0).ops;
  const CanvasOp* text = test::FindText(ops, QStringLiteral("stamp"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x, 500);
  EXPECT_EQ(text->y, 2900);
  const auto fills = test::OpsOfKind(ops, CanvasOp::Fill);
  EXPECT_EQ(fills.back().rect, (DeviceRect{100, 100, 2000, 104}));  // 3.5 -> 4 pixels
  EXPECT_EQ(fills.back().color, QColor(Qt::red));
}

TEST_F(PassTest, LabelBoxTextAndAlignmentOnThePage) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 500);
  CanvasFont font;
  const QString caption = QStringLiteral("right");
  const struct {
    TAlignment alignment;
    bool transparent;
  } cases[] = {{TAlignment::taLeftJustify, false},
               {TAlignment::taRightJustify, false},
               {TAlignment::taCenter, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    TQRLabel* label = title->Add<TQRLabel>(QStringLiteral("l"));
    label->Size.LoadValues({44.979L, 264.583L, 100, 264.583L});  // 100 pixels wide at 96 dpi
    label->SizeToBounds();
    label->SetAlignment(c.alignment);
    label->SetTransparent(c.transparent);
    label->SetColor(Qt::cyan);
    label->SetAutoSize(false);
    label->SetCaption(caption);
    TestDevice device(FactorForDpi(96), FactorForDpi(96));
    report.Generate(device);
    const auto& ops = device.pages.at(0).ops;
    const int width = report.TextWidth(font, caption);
    const CanvasOp* text = test::FindText(ops, caption);
    ASSERT_NE(text, nullptr);
    const int left = device.XPos(100 + 264.583L);
    const int right = device.XPos(100 + 2 * 264.583L);
    const int expectedX = c.alignment == TAlignment::taLeftJustify    ? left
                          : c.alignment == TAlignment::taRightJustify ? right - width
                                                                        : device.XPos(100 + 1.5L * 264.583L) - width / 2;
    EXPECT_EQ(text->x, expectedX);
    EXPECT_EQ(text->y, device.YPos(200));
    int cyanFills = 0;
    for (const auto& op : test::OpsOfKind(ops, CanvasOp::Fill)) {
      if (op.color != QColor(Qt::cyan)) continue;
      ++cyanFills;
      EXPECT_EQ(op.rect, (DeviceRect{left, device.YPos(200), right, device.YPos(244.979L)}));
    }
    EXPECT_EQ(cyanFills, c.transparent ? 0 : 1);
    label->SetEnabled(false);
  }
}

TEST_F(PassTest, PictureKeepsItsSizeIsCentredAndClipped) {
  TQRBand* title = AddBand("title", TQRBandType::rbTitle, 1500);
  QImage picture(100, 50, QImage::Format_RGB32);
  picture.fill(Qt::black);
  TQRImage* image = title->Add<TQRImage>(QStringLiteral("image"));
  image->Size.LoadValues({529.167L, 264.583L, 100, 529.167L});  // 200 x 200 pixels at 96 dpi
  image->SizeToBounds();
  image->SetPicture(picture);
  const struct {
    bool center, stretch;
    int dpi;
    DeviceRect expected;
  } cases[] = {
      {false, false, 96, {138, 76, 238, 126}},
      {true, false, 96, {188, 151, 288, 201}},
      {true, false, 192, {376, 301, 576, 401}},
      {false, true, 96, {138, 76, 338, 276}},
  };
  for (const auto& c : cases) {
    image->SetCenter(c.center);
    image->SetStretch(c.stretch);
    TestDevice device(FactorForDpi(c.dpi), FactorForDpi(c.dpi));
    report.Generate(device);
    const auto& ops = device.pages.at(0).ops;
    const auto pictures = test::OpsOfKind(ops, CanvasOp::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].rect, c.expected) << c.center << c.stretch << c.dpi;
    EXPECT_EQ(test::OpsOfKind(ops, CanvasOp::Clip).size(), c.stretch ? 0u : 1u);
  }
  // Auto size takes the picture's pixel size and writes it back.
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 100);
  EXPECT_EQ(image->Height(), 50);
  EXPECT_NEAR(static_cast<double>(image->Size.Stored(TQRPrintableSize::kWidth)), 264.583, 1e-3);
}

}  // namespace
}  // namespace hb9cv
