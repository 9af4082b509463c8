// The report pass: pages, bands, stretching labels and the device protocol.
#include <gtest/gtest.h>

#include "report/model/qr_report.h"
#include "report/store/qr_error.h"
#include "tests/report/report_test_util.h"

namespace hb9cv {
namespace {

using test::CanvasOp;
using test::OpsOfKind;
using test::TestDevice;
using Calls = std::vector<std::string>;

const Float80 kScreen = FactorForDpi(96);

class PassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    report.SetUnits(TQRUnit::MM);
    report.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
  }
  TQRBand* AddBand(TQRBandType type, Float80 height, QColor color = Qt::white) {
    TQRBand* band = report.AddBand(QStringLiteral("b"), type);
    band->Size.LoadValues({height, 1899.708_f80});
    band->Loaded();
    band->SetColor(color);
    return band;
  }
  TQRLabel* AddLabel(TQRBasePanel* parent, const QString& caption, Float80 left, Float80 top) {
    TQRLabel* label = parent->Add<TQRLabel>(caption);
    label->Size.LoadValues({44.979_f80, left, top, 100});
    label->SizeToBounds();
    label->SetCaption(caption);
    return label;
  }
  // Runs the pass on a device of one pixel per unit, or `factor`.
  TestDevice& Run(Float80 factor = 1) {
    device.emplace(factor);
    report.Generate(*device);
    return *device;
  }
  std::vector<CanvasOp> Fills(size_t page = 0) {
    return OpsOfKind(device->pages.at(page).ops, CanvasOp::Fill);
  }

  TReport report{QStringLiteral("report")};
  std::optional<TestDevice> device;
};

TEST_F(PassTest, TitleBandTallerThanThePageSpacePrintsOnOnePage) {
  AddBand(TQRBandType::rbTitle, 2775.479_f80, Qt::yellow);
  EXPECT_EQ(Run().calls, (Calls{"begin", "page", "end"}));
  // From 10 mm to 287.548 mm, 0.548 mm into the bottom margin.
  EXPECT_EQ(Fills().at(0).rect, (DeviceRect{100, 100, 2000, 2875}));
  EXPECT_EQ(
      std::tuple(report.PageCount(), report.Functions.Value(QStringLiteral("PAGENUMBER")).toInt(),
                 report.Building()),
      std::tuple(1, 1, false));
}

TEST_F(PassTest, PrintIfEmptyOffGivesNoPageAndNegativeSpaceZeroesTheMargins) {
  AddBand(TQRBandType::rbTitle, 500);
  report.SetPrintIfEmpty(false);
  EXPECT_EQ(Run().calls, (Calls{"begin", "end"}));
  EXPECT_EQ(report.PageCount(), 0);

  report.SetPrintIfEmpty(true);
  report.Page.LoadValues({1500, 2970, 1500, 2100, 1000, 1200, 0});
  Run();
  EXPECT_EQ(std::pair(Fills().at(0).rect.left, Fills().at(0).rect.top), std::pair(0, 0));
}

TEST_F(PassTest, DeviceProtocolOnCancelFailureAndNestedPass) {
  AddBand(TQRBandType::rbTitle, 500);
  AddBand(TQRBandType::rbSummary, 500);
  // The unit is native during the pass only; a second pass while building does nothing.
  TestDevice nested(1);
  TQRUnit seen = TQRUnit::MM;
  TestDevice first(1);
  first.onNewPage = [&] {
    seen = report.Units();
    report.Generate(nested);
  };
  report.Generate(first);
  EXPECT_EQ(std::tuple(seen, report.Units(), nested.calls),
            std::tuple(TQRUnit::Native, TQRUnit::MM, Calls{}));

  TestDevice cancelled(1);
  cancelled.onNewPage = [&] { cancelled.Cancel(); };
  report.Generate(cancelled);
  EXPECT_EQ(cancelled.calls, (Calls{"begin", "page", "abort"}));

  TestDevice failing(1);
  failing.onNewPage = [] { throw EQRError("Illegal call to NewPage"); };
  EXPECT_THROW(report.Generate(failing), EQRError);
  EXPECT_EQ(std::tuple(failing.calls.back(), report.Building(), report.Units()),
            std::tuple("abort", false, TQRUnit::MM));
  EXPECT_EQ(Run().pages.size(), 1u) << "the report stays usable";
}

TEST_F(PassTest, BandsThatDoNotFitStartANewPage) {
  const struct {
    const char* name;
    Float80 summary, footer = 0, child = 0;
    size_t pages, firstPageFills = 1;
  } cases[] = {
      {"fits below the title", 770, 0, 0, 1, 2},
      {"needs a new page", 771, 0, 0, 2},
      {"taller than the page: prints where it stands", 2771, 0, 0, 1, 2},
      {"the page footer's room is kept free", 761, 10, 0, 2, 2},
      {"a band and its child move together", 700, 0, 71, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TReport r(QStringLiteral("r"));
    r.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
    r.AddBand(QStringLiteral("t"), TQRBandType::rbTitle)->Size.LoadValues({2000, 1000});
    TQRBand* summary = r.AddBand(QStringLiteral("s"), TQRBandType::rbSummary);
    summary->Size.LoadValues({c.summary, 1000});
    if (c.footer > 0) {
      r.AddBand(QStringLiteral("f"), TQRBandType::rbPageFooter)->Size.LoadValues({c.footer, 1000});
    }
    if (c.child > 0) {
      TQRBand* child = r.AddBand(QStringLiteral("c"), TQRBandType::rbChild);
      child->Size.LoadValues({c.child, 1000});
      ASSERT_TRUE(summary->SetChildBand(child));
    }
    r.Loaded();
    TestDevice d(1);
    r.Generate(d);
    ASSERT_EQ(d.pages.size(), c.pages);
    EXPECT_EQ(OpsOfKind(d.pages[0].ops, CanvasOp::Fill).size(), c.firstPageFills);
  }
}

// A line is 39.6875 units; the band may grow to 2770 units on the first page.
TEST_F(PassTest, ABandGrowsIntoExactlyTheSpaceLeft) {
  const std::pair<Float80, QStringList> cases[] = {
      {2690.625_f80, {"l1", "l2", "l3"}},  // two more lines end at 2770: they fit
      {2692, {"l1", "l2"}},                // at 2771.375 the second does not
  };
  for (const auto& [height, firstPage] : cases) {
    TReport r(QStringLiteral("r"));
    r.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
    TQRBand* band = r.AddBand(QStringLiteral("b"), TQRBandType::rbTitle);
    band->Size.LoadValues({height, 1899.708_f80});
    band->Loaded();
    TQRLabel* label = AddLabel(band, QStringLiteral("l1\rl2\rl3\rl4"), 100, height - 100);
    label->SetAutoStretch(true);
    TestDevice d(kScreen);
    r.Generate(d);
    EXPECT_EQ(test::Texts(d.pages.at(0).ops), firstPage) << double(height);
  }
}

TEST_F(PassTest, StretchingLabelContinuesOnNewPages) {
  TQRBand* title = AddBand(TQRBandType::rbTitle, 2700);
  TQRLabel* label = AddLabel(title, QStringLiteral("l1\rl2\rl3\rl4\rl5"), 100, 2600);
  label->SetAutoStretch(true);
  AddLabel(title, QStringLiteral("once"), 100, 100);
  AddLabel(title, QStringLiteral("one\rtwo"), 1000, 100);  // fixed: the second line is cut
  Run(kScreen);
  // A line is 15 pixels, 39.7 units; the band may grow to 2770 units on a page: two lines
  // fit on every page, and only the unfinished label prints again.
  ASSERT_EQ(device->pages.size(), 3u);
  const QStringList expected[] = {{"l1", "l2", "once", "one"}, {"l3", "l4"}, {"l5"}};
  for (size_t page = 0; page < 3; ++page) {
    QStringList texts = test::Texts(device->pages[page].ops);
    texts.sort();
    EXPECT_EQ(texts, expected[page]) << page;
  }
  EXPECT_TRUE(label->Finished());
  const CanvasOp* l3 = test::FindText(device->pages[1].ops, QStringLiteral("l3"));
  ASSERT_NE(l3, nullptr);
  EXPECT_EQ(l3->y, device->YPos(100 + label->Size.Stored(TQRPrintableSize::kTop)));
}

TEST_F(PassTest, LabelThatCanNeverFitDoesNotLoopForEver) {
  TQRBand* title = AddBand(TQRBandType::rbTitle, 2800);
  AddLabel(title, QStringLiteral("a\rb"), 100, 2790)->SetAutoStretch(true);
  EXPECT_LE(Run(kScreen).pages.size(), 2u);
  EXPECT_EQ(device->calls.back(), "end");
}

}  // namespace
}  // namespace hb9cv
