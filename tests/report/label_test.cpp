// Formatting of labels: lines, auto size, height, alignment; pixel bounds and stored size.
#include <gtest/gtest.h>

#include "report/print_form.h"
#include "report/qr_report.h"
#include "report_test_util.h"

namespace hb9cv {
namespace {

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApp();
    report.SetUnits(TQRUnit::MM);
    band = report.AddBand(QStringLiteral("band"), TQRBandType::rbTitle);
    band->Size.LoadValues({2000, 1899.708L});
    report.Loaded();
    label = band->Add<TQRLabel>(QStringLiteral("label"));
    font.pointSize = 10;
    label->SetFont(font);
  }

  // Places the label at pixel bounds; writes them back into the stored size.
  void Place(int left, int top, int width, int height) {
    label->SetBounds(left, top, width, height);
  }
  int Measure(const QString& text) { return report.TextWidth(font, text); }
  int WHeight() { return report.TextHeight(font, QStringLiteral("W")); }

  TReport report{QStringLiteral("report")};
  TQRBand* band = nullptr;
  TQRLabel* label = nullptr;
  CanvasFont font;
};

TEST_F(LabelTest, PixelBoundsWriteBackIntoTheStoredSize) {
  Place(100, 20, 50, 30);
  EXPECT_NEAR(static_cast<double>(label->Size.Stored(TQRPrintableSize::kLeft)), 100 * 254.0 / 96,
              1e-9);
  EXPECT_NEAR(static_cast<double>(label->Size.Stored(TQRPrintableSize::kWidth)), 50 * 254.0 / 96,
              1e-9);
  // And a stored size written in the current unit shows in the pixel bounds.
  label->Size.SetLeft(47.625L);  // mm
  EXPECT_EQ(label->Left(), 180);
}

TEST_F(LabelTest, CaptionChangeGrowsToTheRightFromAFixedLeftEdge) {
  Place(100, 20, 10, 30);
  const long double storedLeft = label->Size.Stored(TQRPrintableSize::kLeft);
  const QString caption = QStringLiteral("Průměr 14,73 až 26,31 mm");
  label->SetCaption(caption);
  EXPECT_EQ(label->Left(), 100);
  EXPECT_EQ(label->Width(), Measure(caption));
  EXPECT_GT(label->Width(), 100);
  EXPECT_EQ(label->Size.Stored(TQRPrintableSize::kLeft), storedLeft);
  EXPECT_NEAR(static_cast<double>(label->Size.Stored(TQRPrintableSize::kWidth)),
              label->Width() * 254.0 / 96 * 100 / 100, 1e-9);
  // A shorter caption narrows it again.
  label->SetCaption(QStringLiteral("0 mm"));
  EXPECT_EQ(label->Left(), 100);
  EXPECT_EQ(label->Width(), Measure(QStringLiteral("0 mm")));
  EXPECT_EQ(label->Lines(), QStringList{QStringLiteral("0 mm")});
}

TEST_F(LabelTest, EmptyCaptionGivesOneEmptyLineAndNoWidth) {
  Place(100, 20, 40, 30);
  label->SetCaption(QString());
  EXPECT_EQ(label->Lines(), QStringList{QString()});
  EXPECT_EQ(label->Width(), 0);
  EXPECT_EQ(label->Size.Stored(TQRPrintableSize::kWidth), 0);
}

TEST_F(LabelTest, FrameLinesWidenAnAutoSizedLabel) {
  Place(100, 20, 40, 30);
  label->Frame.DrawLeft = true;
  label->Frame.DrawRight = true;
  label->Frame.Width = 2;
  label->SetCaption(QString());
  EXPECT_EQ(label->Width(), 4);
}

TEST_F(LabelTest, HeightGrowsToTheCharacterHeightAndNeverShrinks) {
  Place(100, 20, 40, 4);
  label->SetCaption(QStringLiteral("abc"));
  const int grown = WHeight() + 1;
  EXPECT_EQ(label->Height(), grown);
  // A smaller font does not shrink it back.
  font.pointSize = 6;
  label->SetFont(font);
  EXPECT_EQ(label->Height(), grown);
  // A taller one grows it further.
  font.pointSize = 20;
  label->SetFont(font);
  EXPECT_EQ(label->Height(), WHeight() + 1);
  EXPECT_GT(label->Height(), grown);
  // A stored height above the minimum stays.
  Place(100, 20, 40, 200);
  label->SetCaption(QStringLiteral("x"));
  EXPECT_EQ(label->Height(), 200);
}

TEST_F(LabelTest, AlignmentDecidesWhichEdgeStays) {
  const QString caption = QStringLiteral("a longer caption");
  const int width = Measure(caption);
  const struct {
    TAlignment alignment;
    int expectedLeft;
  } cases[] = {
      {TAlignment::taLeftJustify, 300},
      {TAlignment::taRightJustify, 300 + 20 - width},   // right edge at 320 stays
      {TAlignment::taCenter, 300 + (20 - width) / 2},   // towards zero
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    label->SetCaption(QString());
    label->SetAlignment(c.alignment);
    Place(300, 20, 20, 30);
    label->SetCaption(caption);
    EXPECT_EQ(label->Left(), c.expectedLeft);
    EXPECT_EQ(label->Width(), width);
  }
}

TEST_F(LabelTest, AlignToBandMovesTheLabelInsideTheBand) {
  label->SetCaption(QStringLiteral("abc"));
  const int width = label->Width();
  ASSERT_EQ(band->PixelWidth(), 718);
  label->SetAlignment(TAlignment::taRightJustify);
  label->SetAlignToBand(true);
  EXPECT_EQ(label->Left(), 718 - width);
  label->SetAlignment(TAlignment::taCenter);
  EXPECT_EQ(label->Left(), (718 - width) / 2);
  label->SetAlignment(TAlignment::taLeftJustify);
  EXPECT_EQ(label->Left(), 0);
}

TEST_F(LabelTest, CarriageReturnsSplitLinesAndLineFeedsGo) {
  Place(10, 10, 10, 30);
  label->SetCaption(QStringLiteral("first\r\nsecond line\rthird"));
  EXPECT_EQ(label->Lines(), (QStringList{QStringLiteral("first"), QStringLiteral("second line"),
                                         QStringLiteral("third")}));
  EXPECT_EQ(label->Width(), Measure(QStringLiteral("second line")));
}

TEST_F(LabelTest, WordWrapWithoutAutoSize) {
  // Widths are given as the measured width of a text, so the cases hold for any font.
  const struct {
    const char* name;
    QString caption;
    QString widthOf;
    int extra;
    bool wordWrap;
    QStringList expected;
  } cases[] = {
      {"fits", "aaa bbb ccc", "aaa bbb ccc", 0, true, {"aaa bbb ccc"}},
      {"breaks after the blank", "aaa bbb ccc", "aaa bbb ", 0, true, {"aaa bbb ", "ccc"}},
      {"breaks after a hyphen", "aaa-bbb", "aaa-", 1, true, {"aaa-", "bbb"}},
      // The word that did not fit still opens the next line; only what follows it is dropped.
      {"drops the rest without word wrap", "aaa bbb ccc ddd", "aaa bbb ", 0, false,
       {"aaa bbb ", "ccc "}},
      // Characters move into an empty line while it stays narrower than the width.
      {"cuts a long first word", "aaaaaaaa bb", "aaaa", 0, true, {"aaa", "aaaa", "bb"}},
      {"shortens a long later word", "ab aaaaaaaa", "aaaa", 0, true, {"ab ", "aaaa"}},
      {"zero width", "ab", "", 0, true, {""}},
      {"empty caption", "", "abc", 0, true, {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    label->SetAutoSize(false);
    label->SetWordWrap(c.wordWrap);
    Place(10, 10, Measure(c.widthOf) + c.extra, 30);
    label->SetCaption(c.caption);
    EXPECT_EQ(label->Lines(), c.expected);
    EXPECT_EQ(label->Width(), Measure(c.widthOf) + c.extra);  // no auto size
  }
}

TEST_F(LabelTest, AutoSizeIgnoresWordWrap) {
  label->SetWordWrap(true);
  Place(10, 10, 5, 30);
  label->SetCaption(QStringLiteral("aaa bbb ccc"));
  EXPECT_EQ(label->Lines(), QStringList{QStringLiteral("aaa bbb ccc")});
}

TEST_F(LabelTest, NothingIsMeasuredWhileLoading) {
  TQRLabel* loaded = band->Add<TQRLabel>(QStringLiteral("loaded"));
  loaded->BeginLoading();
  loaded->Size.LoadValues({44.979L, 619.125L, 145.521L, 328.083L});
  loaded->SetFont(font);
  loaded->SetCaption(QStringLiteral("a much longer text than the stored one"));
  loaded->Loaded();
  EXPECT_EQ(loaded->Bounds(), (PixelBounds{234, 55, 124, 17}));
  EXPECT_EQ(loaded->Size.Stored(TQRPrintableSize::kWidth), 328.083L);
}

TEST_F(LabelTest, ZeroBoundsAfterLoadingTakeTheResourceBounds) {
  TQRLabel* loaded = band->Add<TQRLabel>(QStringLiteral("loaded"));
  loaded->BeginLoading();
  loaded->Size.LoadValues({1, 0, 100, 1});
  loaded->Loaded({7, 8, 9, 10});
  EXPECT_EQ(loaded->Bounds(), (PixelBounds{7, 38, 9, 10}));
}

TEST(PrintFormGeometry, StoredValuesGiveThePixelBounds) {
  test::EnsureApp();
  TPrintForm form;
  EXPECT_EQ(form.TitleBand1->PixelWidth(), 718);
  EXPECT_EQ(form.TitleBand1->PixelHeight(), 1049);
  EXPECT_EQ(form.QRLabel1->Bounds(), (PixelBounds{180, 18, 371, 25}));
  EXPECT_EQ(form.QRImage1->Bounds(), (PixelBounds{45, 227, 632, 355}));
  EXPECT_EQ(form.Report1.PixelWidth(), 794);
  EXPECT_EQ(form.Report1.PixelHeight(), 1123);
  // The title measures exactly its stored width: "Arial" is the metric-compatible face.
  EXPECT_EQ(form.Report1.TextWidth(form.QRLabel1->Font(), form.QRLabel1->Caption()), 371);
}

}  // namespace
}  // namespace hb9cv
