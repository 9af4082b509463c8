// Lengths, units and device conversions of the report geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "report/qr_device.h"
#include "report/qr_report.h"
#include "report/qr_units.h"
#include "report_test_util.h"

namespace hb9cv {
namespace {

// A device with only factors and offsets, for the conversions.
class FactorDevice : public QRDevice {
 public:
  FactorDevice(long double x, long double y, int left = 0, int top = 0)
      : x_(x), y_(y), left_(left), top_(top) {}
  long double XFactor() const override { return x_; }
  long double YFactor() const override { return y_; }
  int LeftOffset() const override { return left_; }
  int TopOffset() const override { return top_; }
  long double PaperWidth() const override { return 2100; }
  long double PaperLength() const override { return 2970; }
  void BeginDoc() override {}
  void NewPage() override {}
  void EndDoc() override {}
  void Abort() override {}
  Canvas& PageCanvas() override { std::abort(); }

 private:
  long double x_, y_;
  int left_, top_;
};

TEST(QRRound, HalvesGoToTheEvenNeighbour) {
  const struct {
    long double value;
    int expected;
  } cases[] = {{2.5L, 2}, {3.5L, 4}, {-2.5L, -2}, {0.5L, 0}, {1.5L, 2}, {2.4999L, 2},
               {2.5001L, 3}, {-0.4L, 0}, {793.7L, 794}, {1122.5L, 1122}};
  for (const auto& c : cases) EXPECT_EQ(QRRound(c.value), c.expected) << static_cast<double>(c.value);
}

TEST(QRRound, ClampsWhatDoesNotFitAnInt) {
  EXPECT_EQ(QRRound(1e30L), std::numeric_limits<int>::max());
  EXPECT_EQ(QRRound(-1e30L), std::numeric_limits<int>::min());
  EXPECT_EQ(QRRound(std::numeric_limits<long double>::quiet_NaN()), 0);
  EXPECT_EQ(QRRound(std::numeric_limits<long double>::infinity()), std::numeric_limits<int>::max());
}

TEST(DeviceConversion, ScreenPageAt96PixelsPerInch) {
  const FactorDevice screen(FactorForDpi(96), FactorForDpi(96));
  EXPECT_EQ(screen.XSize(2100), 794);  // 793.7
  EXPECT_EQ(screen.YSize(2970), 1123);  // 1122.52
  EXPECT_EQ(screen.XPos(100), 38);      // 37.8
  EXPECT_EQ(screen.XSize(2.6458L), 1);  // one pixel
  EXPECT_EQ(screen.YSize(2.6458L), 1);
  EXPECT_EQ(screen.XSize(1.3229L), 0);  // just under half a pixel
}

TEST(DeviceConversion, OffsetsMoveThePositionsButNotTheSizes) {
  const FactorDevice printer(FactorForDpi(600), FactorForDpi(300), 42, 17);
  EXPECT_EQ(printer.XPos(100), QRRound((100 - 42) * 600.0L / 254));
  EXPECT_EQ(printer.YPos(100), QRRound((100 - 17) * 300.0L / 254));
  EXPECT_EQ(printer.XSize(100), QRRound(100 * 600.0L / 254));
  EXPECT_EQ(printer.YSize(100), QRRound(100 * 300.0L / 254));
}

TEST(DeviceConversion, RoundsHalvesToEven) {
  const FactorDevice unit(1, 1);
  EXPECT_EQ(unit.XPos(2.5L), 2);
  EXPECT_EQ(unit.XPos(3.5L), 4);
  EXPECT_EQ(unit.YSize(2.5L), 2);
  EXPECT_EQ(unit.YSize(3.5L), 4);
}

// A holder with one horizontal and one vertical value to exercise the conversions.
class Holder : public TQRUnitBase {
 public:
  int Count() const override { return 2; }
  bool IsHorizontal(int index) const override { return index == 0; }
  void SetPixels() override { ++refreshes; }
  double ReportFontSize() const override { return fontSize; }
  int refreshes = 0;
  double fontSize = 10;
};

TEST(Units, ConvertStoredValuesBothWays) {
  Holder holder;
  holder.SetPixelsPerInch(96);
  const long double c10h = 80.0L / (10 * 2.54L);
  const long double c10v = 145.3L / (10 * 2.54L);
  const struct {
    TQRUnit unit;
    bool horizontal;
    long double stored;
    long double expected;
  } cases[] = {
      {TQRUnit::MM, true, 476.25L, 47.625L},
      {TQRUnit::Inches, false, 254, 1},
      {TQRUnit::Pixels, true, 476.25L, 180},
      {TQRUnit::Pixels, false, 2.6458333333333333333L, 1},
      {TQRUnit::Characters, true, 100, 100 / c10h / 10},
      {TQRUnit::Characters, false, 100, 100 / c10v / 10},
      {TQRUnit::Native, true, 123.456L, 123.456L},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.unit));
    EXPECT_NEAR(static_cast<double>(holder.LoadUnit(c.stored, c.unit, c.horizontal)),
                static_cast<double>(c.expected), 1e-12);
    EXPECT_NEAR(static_cast<double>(holder.SaveUnit(c.expected, c.unit, c.horizontal)),
                static_cast<double>(c.stored), 1e-9);
  }
}

TEST(Units, PixelsFollowScreenResolutionAndZoom) {
  Holder holder;
  holder.SetPixelsPerInch(120);
  holder.SetZoom(50);
  // 254 units are one inch: 120 pixels, halved by the zoom.
  EXPECT_NEAR(static_cast<double>(holder.LoadUnit(254, TQRUnit::Pixels, true)), 60, 1e-12);
  EXPECT_NEAR(static_cast<double>(holder.SaveUnit(60, TQRUnit::Pixels, true)), 254, 1e-12);
}

TEST(Units, CharactersUseTheReportFontSize) {
  Holder holder;
  holder.fontSize = -20;  // an absolute size is taken
  EXPECT_NEAR(static_cast<double>(holder.SaveUnit(1, TQRUnit::Characters, true)),
              static_cast<double>(80.0L / (20 * 2.54L) * 10), 1e-12);
}

TEST(Units, ValuesAreReadAndWrittenInTheCurrentUnit) {
  Holder holder;
  holder.SetUnits(TQRUnit::MM);
  holder.SetValue(0, 12.5L);
  EXPECT_EQ(holder.Stored(0), 125);
  EXPECT_EQ(holder.refreshes, 1);
  holder.SetUnits(TQRUnit::Inches);
  EXPECT_EQ(holder.Value(0), 125 / 254.0L);
  holder.SetUnits(TQRUnit::Native);
  EXPECT_EQ(holder.Value(0), 125);
}

TEST(Units, LoadValuesNeedsTheHolderCount) {
  Holder holder;
  holder.LoadValues({1, 2});
  EXPECT_EQ(holder.Stored(1), 2);
  EXPECT_THROW(holder.LoadValues({1, 2, 3}), std::invalid_argument);
}

TEST(Page, ValuesOrderAndDirections) {
  TCustomReport report(QStringLiteral("r"));
  report.SetUnits(TQRUnit::MM);
  report.Page.LoadValues({100, 2970, 100, 2100, 110, 120, 5});
  EXPECT_EQ(report.Page.BottomMargin(), 10);
  EXPECT_EQ(report.Page.Length(), 297);
  EXPECT_EQ(report.Page.TopMargin(), 10);
  EXPECT_EQ(report.Page.Width(), 210);
  EXPECT_EQ(report.Page.LeftMargin(), 11);
  EXPECT_EQ(report.Page.RightMargin(), 12);
  EXPECT_EQ(report.Page.ColumnSpace(), 0.5L);
  const bool horizontal[] = {false, false, false, true, true, true, true};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(report.Page.IsHorizontal(i), horizontal[i]) << i;
  TQRBandSize band(nullptr);
  EXPECT_FALSE(band.IsHorizontal(TQRBandSize::kHeight));
  EXPECT_TRUE(band.IsHorizontal(TQRBandSize::kWidth));
  TQRPrintableSize element(nullptr);
  const bool elementHorizontal[] = {false, true, false, true};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(element.IsHorizontal(i), elementHorizontal[i]) << i;
}

TEST(Page, PaperSizeWritesLengthAndWidth) {
  TCustomReport report(QStringLiteral("r"));
  TQRPage& page = report.Page;
  page.SetPaperSize(TQRPaperSize::A3);
  EXPECT_EQ(page.Stored(TQRPage::kWidth), 2970);
  EXPECT_EQ(page.Stored(TQRPage::kLength), 4200);
  page.SetOrientation(TQROrientation::Landscape);
  EXPECT_EQ(page.Stored(TQRPage::kWidth), 4200);
  EXPECT_EQ(page.Stored(TQRPage::kLength), 2970);
  page.SetUnits(TQRUnit::MM);
  page.SetLength(100);  // ignored: not a custom paper
  EXPECT_EQ(page.Stored(TQRPage::kLength), 2970);
  page.SetPaperSize(TQRPaperSize::Custom);
  page.SetLength(100);
  page.SetWidth(50);
  EXPECT_EQ(page.Stored(TQRPage::kLength), 1000);
  EXPECT_EQ(page.Stored(TQRPage::kWidth), 500);
  page.SetOrientation(TQROrientation::Portrait);  // a custom paper keeps its sizes
  EXPECT_EQ(page.Stored(TQRPage::kLength), 1000);
  page.SetColumns(0);
  EXPECT_EQ(page.Columns(), 1);
}

TEST(Page, PaperTable) {
  EXPECT_STREQ(PaperSizeInfo(TQRPaperSize::A4).name, "A4");
  EXPECT_EQ(PaperSizeInfo(TQRPaperSize::Letter).width, 215.9);
  EXPECT_EQ(PaperSizeInfo(TQRPaperSize::A5).length, 210);
  EXPECT_EQ(PaperSizeInfo(TQRPaperSize::Custom).deviceCode, 256);
  EXPECT_STREQ(PaperSizeInfo(TQRPaperSize::ESheet).name, "ESheet");
}

TEST(Report, UnitsReachPageBandsAndElements) {
  TCustomReport report(QStringLiteral("r"));
  report.SetUnits(TQRUnit::MM);
  TQRBand* band = report.AddBand(QStringLiteral("b"), TQRBandType::rbTitle);
  TQRLabel* label = band->Add<TQRLabel>(QStringLiteral("l"));
  EXPECT_EQ(band->Size.Units(), TQRUnit::MM);
  EXPECT_EQ(label->Size.Units(), TQRUnit::MM);
  report.SetUnits(TQRUnit::Inches);
  EXPECT_EQ(report.Page.Units(), TQRUnit::Inches);
  EXPECT_EQ(band->Size.Units(), TQRUnit::Inches);
  EXPECT_EQ(label->Size.Units(), TQRUnit::Inches);
  EXPECT_EQ(report.Units(), TQRUnit::Inches);
}

TEST(Report, ZoomReachesBandsAndElements) {
  TCustomReport report(QStringLiteral("r"));
  TQRBand* band = report.AddBand(QStringLiteral("b"), TQRBandType::rbTitle);
  TQRLabel* label = band->Add<TQRLabel>(QStringLiteral("l"));
  report.SetZoom(50);
  EXPECT_EQ(band->Zoom(), 50);
  EXPECT_EQ(band->Size.Zoom(), 50);
  EXPECT_EQ(label->Size.Zoom(), 50);
}

TEST(Band, ChildChainCannotBecomeALoop) {
  TCustomReport report(QStringLiteral("r"));
  TQRBand* a = report.AddBand(QStringLiteral("a"), TQRBandType::rbDetail);
  TQRBand* b = report.AddBand(QStringLiteral("b"), TQRBandType::rbChild);
  EXPECT_TRUE(a->SetChildBand(b));
  EXPECT_FALSE(b->SetChildBand(a));
  EXPECT_FALSE(a->SetChildBand(a));
  EXPECT_EQ(b->ChildBand(), nullptr);
  EXPECT_EQ(a->ChildBand(), b);
}

TEST(Frame, LineThickness) {
  const struct {
    int width;
    long double factor;
    int expected;
  } cases[] = {
      {1, FactorForDpi(96), 1},   // 1.33
      {2, FactorForDpi(96), 3},   // 2.67
      {1, FactorForDpi(600), 8},  // 8.33
      {1, 0.01L, 1},              // at least one pixel
      {-1, FactorForDpi(600), 1},
      {0, FactorForDpi(600), 0},
  };
  for (const auto& c : cases) {
    TQRFrame frame;
    frame.Width = c.width;
    EXPECT_EQ(frame.Thickness(c.factor), c.expected) << c.width;
  }
  TQRFrame frame;
  frame.Width = 2;
  EXPECT_EQ(frame.StoredWidth(), 7);  // 7.06 units
}

TEST(Frame, SidesAreFilledRectanglesInsideTheRectangle) {
  test::EnsureApp();
  QImage image(50, 50, QImage::Format_RGB32);
  QPainter painter(&image);
  QPainterCanvas inner(painter, 96, 96);
  test::RecordingCanvas canvas(inner);
  TQRFrame frame;
  frame.Width = 2;
  frame.Color = Qt::red;
  frame.Paint(canvas, {10, 20, 40, 45}, FactorForDpi(96), FactorForDpi(192));
  EXPECT_TRUE(canvas.ops.empty());  // no side chosen
  frame.DrawTop = frame.DrawBottom = frame.DrawLeft = frame.DrawRight = true;
  frame.Paint(canvas, {10, 20, 40, 45}, FactorForDpi(96), FactorForDpi(192));
  ASSERT_EQ(canvas.ops.size(), 4u);
  EXPECT_EQ(canvas.ops[0].rect, (DeviceRect{10, 20, 40, 25}));  // top, 5.33 -> 5
  EXPECT_EQ(canvas.ops[1].rect, (DeviceRect{10, 40, 40, 45}));  // bottom
  EXPECT_EQ(canvas.ops[2].rect, (DeviceRect{10, 20, 13, 45}));  // left, 2.67 -> 3
  EXPECT_EQ(canvas.ops[3].rect, (DeviceRect{37, 20, 40, 45}));  // right
  EXPECT_EQ(canvas.ops[3].color, QColor(Qt::red));
}

}  // namespace
}  // namespace hb9cv
