// Formatting of labels: lines, auto size, height, alignment; pixel bounds and stored size.
#include <gtest/gtest.h>

#include <algorithm>

#include "report/model/qr_report.h"
#include "tests/report/report_test_util.h"

namespace hb9cv {
namespace {

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    report.SetUnits(TQRUnit::MM);
    band = report.AddBand(QStringLiteral("band"), TQRBandType::rbTitle);
    band->Size.LoadValues({2000, 1899.708_f80});
    report.Loaded();
    label = band->Add<TQRLabel>(QStringLiteral("label"));
    font.pointSize = 10;
    label->SetFont(font);
  }
  int Measure(const QString& text) { return report.TextWidth(font, text); }
  int WHeight() { return report.TextHeight(font, QStringLiteral("W")); }
  Float80 Stored(int index) { return label->Size.Stored(index); }
  // The report printed at `dpi`: the label's background box and its text, drawn just after.
  std::pair<DeviceRect, test::CanvasOp> Print(int dpi, double widen = 1) {
    test::TestDevice device(FactorForDpi(dpi));
    device.widen = widen;
    report.Generate(device);
    const std::vector<test::CanvasOp> ops = device.pages.at(0).ops;
    const auto text = std::find_if(ops.begin(), ops.end(),
                                   [](const auto& op) { return op.kind == test::CanvasOp::Text; });
    if (text == ops.end() || text == ops.begin()) return {};
    return {std::prev(text)->rect, *text};
  }

  TReport report{QStringLiteral("report")};
  TQRBand* band = nullptr;
  TQRLabel* label = nullptr;
  CanvasFont font;
};

TEST_F(LabelTest, CaptionChangeGrowsToTheRightAndWritesTheStoredWidth) {
  label->SetBounds(100, 20, 10, 30);
  EXPECT_NEAR(double(Stored(TQRPrintableSize::kLeft)), 100 * 254.0 / 96, 1e-9);
  const Float80 storedLeft = Stored(TQRPrintableSize::kLeft);
  for (const QString& caption :
       {QStringLiteral("Průměr 14,73 až 26,31 mm"), QStringLiteral("0 mm")}) {
    label->SetCaption(caption);
    EXPECT_EQ(std::tuple(label->Left(), Stored(TQRPrintableSize::kLeft), label->Width()),
              std::tuple(100, storedLeft, Measure(caption)));
    EXPECT_NEAR(double(Stored(TQRPrintableSize::kWidth)), label->Width() * 254.0 / 96, 1e-9);
  }
  label->SetCaption(QString());
  EXPECT_EQ(std::tuple(label->Lines(), label->Width(), Stored(TQRPrintableSize::kWidth)),
            std::tuple(QStringList{QString()}, 0, 0.0_f80));
  // Frame lines at the sides count into the width.
  label->Frame.DrawLeft = label->Frame.DrawRight = true;
  label->Frame.Width = 2;
  label->SetCaption(QString());
  EXPECT_EQ(label->Width(), 4);
}

TEST_F(LabelTest, HeightGrowsToTheCharacterHeightAndNeverShrinks) {
  label->SetBounds(100, 20, 40, 4);
  label->SetCaption(QStringLiteral("abc"));
  const int grown = WHeight() + 1;
  EXPECT_EQ(label->Height(), grown);
  font.pointSize = 6;
  label->SetFont(font);
  EXPECT_EQ(label->Height(), grown);
  font.pointSize = 20;
  label->SetFont(font);
  EXPECT_EQ(label->Height(), WHeight() + 1);
  EXPECT_GT(label->Height(), grown);
}

TEST_F(LabelTest, AlignmentDecidesWhichEdgeStaysAlsoWhenPrintedTextRunsWider) {
  // Text may run wider on a printer than on the screen it was measured on: the printed box then
  // covers it, a pixel beyond, and keeps the edge the alignment keeps.
  const QString caption = QString::fromUtf8("Průměr 14,73 až 26,31 mm");
  const int width = Measure(caption);
  // Where the caption goes in a box at 300, 20 wide, and in the band, 718 pixels wide.
  const std::tuple<TextAlignment, int, int> cases[] = {
      {TextAlignment::taLeftJustify, 300, 0},
      {TextAlignment::taRightJustify, 320 - width, 718 - width},
      {TextAlignment::taCenter, 300 + (20 - width) / 2, (718 - width) / 2},  // towards zero
  };
  for (const auto& [alignment, left, bandLeft] : cases) {
    SCOPED_TRACE(int(alignment));
    label->SetCaption(QString());
    label->SetAlignment(alignment);
    label->SetBounds(300, 20, 20, 30);
    label->SetCaption(caption);
    EXPECT_EQ(std::pair(label->Left(), label->Width()), std::pair(left, width));
    const DeviceRect place = Print(600).first;
    const auto [box, op] = Print(600, 1.2);
    const DeviceRect text = op.rect;
    ASSERT_EQ(op.text, caption);
    EXPECT_LE(box.left, text.left);
    EXPECT_GE(box.right, text.right);
    if (alignment == TextAlignment::taLeftJustify) {
      EXPECT_EQ(std::pair(box.left, box.right), std::pair(place.left, text.right + 1));
    } else if (alignment == TextAlignment::taRightJustify) {
      EXPECT_EQ(box.right, place.right);
    } else {
      EXPECT_NEAR(box.left + box.right, place.left + place.right, 2);
    }
    label->SetAlignToBand(true);
    EXPECT_EQ(label->Left(), bandLeft);
    label->SetAlignToBand(false);
  }
}

TEST_F(LabelTest, TextStartsInsideTheTopAndLeftFrameLines) {
  label->Frame.DrawTop = label->Frame.DrawLeft = true;
  label->Frame.Width = 9;  // points: 32 stored units, 32 pixels at 254 pixels per inch
  label->SetCaption(QStringLiteral("framed"));
  const auto [box, text] = Print(254);
  ASSERT_EQ(text.text, QStringLiteral("framed"));
  EXPECT_EQ(std::pair(text.x - box.left, text.y - box.top), std::pair(32, 32));
}

TEST_F(LabelTest, LineBreaking) {
  label->SetCaption(QStringLiteral("first\r\nsecond line\rthird"));  // line feeds go
  EXPECT_EQ(label->Lines(), QStringList({"first", "second line", "third"}));
  EXPECT_EQ(label->Width(), Measure(QStringLiteral("second line")));
  // Widths are given as the measured width of a text, so the cases hold for any font.
  const struct {
    QString caption, widthOf;
    int extra;
    bool autoSize, wordWrap;
    QStringList expected;
  } cases[] = {
      {"aaa bbb ccc", "a", 0, true, true, {"aaa bbb ccc"}},  // auto size ignores word wrap
      {"aaa bbb ccc", "aaa bbb ", 0, false, true, {"aaa bbb ", "ccc"}},
      {"aaa-bbb", "aaa-", 1, false, true, {"aaa-", "bbb"}},
      // The word that did not fit still opens the next line; only what follows it is dropped.
      {"aaa bbb ccc ddd", "aaa bbb ", 0, false, false, {"aaa bbb ", "ccc "}},
      // Characters move into an empty line while it stays narrower than the width.
      {"aaaaaaaa bb", "aaaa", 0, false, true, {"aaa", "aaaa", "bb"}},
      {"", "abc", 0, false, true, {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption.toStdString());
    label->SetAutoSize(c.autoSize);
    label->SetWordWrap(c.wordWrap);
    label->SetBounds(10, 10, Measure(c.widthOf) + c.extra, 30);
    label->SetCaption(c.caption);
    EXPECT_EQ(label->Lines(), c.expected);
    EXPECT_TRUE(c.autoSize || label->Width() == Measure(c.widthOf) + c.extra) << "width kept";
  }
}

TEST_F(LabelTest, NothingIsMeasuredWhileLoading) {
  TQRLabel* loaded = band->Add<TQRLabel>(QStringLiteral("loaded"));
  loaded->BeginLoading();
  loaded->Size.LoadValues({44.979_f80, 619.125_f80, 145.521_f80, 328.083_f80});
  loaded->SetFont(font);
  loaded->SetFontSize(8);
  loaded->SetCaption(QStringLiteral("a much longer text than the stored one"));
  loaded->Loaded();
  // The stored point size decides the font.
  EXPECT_EQ(std::tuple(loaded->Bounds(), loaded->Size.Stored(TQRPrintableSize::kWidth),
                       loaded->Font().pointSize),
            std::tuple(PixelBounds{234, 55, 124, 17}, 328.083_f80, 8.0));
}

}  // namespace
}  // namespace hb9cv
