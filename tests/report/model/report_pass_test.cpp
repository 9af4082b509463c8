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

// Letters name the bands, in the order of TQRBandType: T title, H page header, D detail, F page
// footer, S summary; a lower-case letter is the child band of the one before it. Heights: T 300,
// H 200, D as given, F 150, S 250, a child 50. Tops are pixels of one tenth of a millimetre.
TEST(BandChainTest, EachCombinationBuildsItsPages) {
  const std::tuple<const char*, Float80, const char*> cases[] = {
      {"HhTDdFS", 400, "H100 h300 T350 D650 d1050 S1100 F2720"},
      {"HTtDFfSs", 400, "H100 T300 t600 D650 S1050 s1300 F2670 f2820"},
      {"HhTtDdFfSs", 400, "H100 h300 T350 t650 D700 d1100 S1150 s1400 F2670 f2820"},
      // The summary alone fits above the footers' room, with its child it does not.
      {"HhTtDdFfSs", 1650,
       "H100 h300 T350 t650 D700 d2350 F2670 f2820 | H100 h300 S350 s600 F2670 f2820"},
      {"TDS", 2220, "T100 D400 S2620"},  // ends on the bottom margin
      {"TDS", 2221, "T100 D400 | S100"},
      {"TD", 2771, "T100 D400"},  // taller than a page: prints where it stands
  };
  for (const auto& [bands, detail, tops] : cases) {
    const Float80 heights[] = {300, 200, detail, 150, 250};
    TReport r(QStringLiteral("r"));
    r.Page.LoadValues({100, 2970, 100, 2100, 100, 100, 0});
    r.Options = {.FirstPageHeader = true, .LastPageFooter = true};
    TQRBand* parent = nullptr;
    for (const char* letter = bands; *letter != 0; ++letter) {
      const auto kind = QStringLiteral("THDFS").indexOf(QChar(*letter));
      TQRBand* band = r.AddBand(QString(), kind < 0 ? TQRBandType::rbChild : TQRBandType(kind));
      band->Size.LoadValues({kind < 0 ? 50 : heights[kind], 1000});
      band->SetColor(QColor(*letter, 0, 0));  // names the band in the fills
      // A chain that would become a loop is refused.
      ASSERT_TRUE(kind >= 0 || (parent->SetChildBand(band) && !band->SetChildBand(parent)));
      parent = band;
    }
    r.Loaded();
    TestDevice d(1);
    r.Generate(d);
    QStringList printed;
    for (const auto& page : d.pages) {
      if (&page != &d.pages.front()) printed << QStringLiteral("|");
      for (const CanvasOp& fill : OpsOfKind(page.ops, CanvasOp::Fill)) {
        printed << QChar(fill.color.red()) + QString::number(fill.rect.top);
      }
    }
    EXPECT_EQ(printed.join(' '), QString::fromLatin1(tops));
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
