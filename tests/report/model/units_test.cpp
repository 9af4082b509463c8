// Lengths, units and device conversions of the report geometry.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "report/model/qr_report.h"
#include "report/model/qr_units.h"
#include "report/render/fonts.h"
#include "tests/report/report_test_util.h"

namespace hb9cv {
namespace {

TEST(QRRound, HalvesGoToTheEvenNeighbourAndOutOfRangeIsClamped) {
  const std::pair<long double, int> cases[] = {
      {2.5L, 2},       {3.5L, 4},        {-2.5L, -2},       {0.5L, 0},
      {2.4999L, 2},    {2.5001L, 3},     {-0.4L, 0},        {793.7L, 794},
      {1122.5L, 1122}, {1e30L, INT_MAX}, {-1e30L, INT_MIN}, {HUGE_VALL, INT_MAX},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(QRRound(value), expected) << double(value);
  EXPECT_EQ(QRRound(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(DeviceConversion, ScreenPageAndPrinterOffsets) {
  const test::TestDevice screen(FactorForDpi(96));
  // 793.7, 1122.52, 37.8, one pixel, just under half a pixel.
  EXPECT_EQ(std::tuple(screen.XSize(2100), screen.YSize(2970), screen.XPos(100),
                       screen.YSize(2.6458L), screen.XSize(1.3229L)),
            std::tuple(794, 1123, 38, 1, 0));
  // The unprintable margin moves positions, not sizes: 137, 196 and 236 pixels.
  const test::TestDevice printer(FactorForDpi(600), 42, 17);
  EXPECT_EQ(std::tuple(printer.XPos(100), printer.YPos(100), printer.XSize(100)),
            std::tuple(137, 196, 236));
}

// One horizontal and one vertical value.
class Holder : public TQRUnitBase {
 public:
  int Count() const override { return 2; }
  bool IsHorizontal(int index) const override { return index == 0; }
  void SetPixels() override { ++refreshes; }
  double ReportFontSize() const override { return 10; }
  int refreshes = 0;
};

TEST(Fonts, ArialOrAnInstalledMetricCompatibleTwin) {
  const std::pair<QStringList, QString> cases[] = {
      {{"DejaVu Sans", "Liberation Sans", "Arial"}, "Arial"},
      {{"Arimo", "DejaVu Sans", "Liberation Sans"}, "Liberation Sans"},
      {{"DejaVu Sans", "arimo"}, "Arimo"},
      {{"DejaVu Sans", "Liberation Serif", "Liberation Mono"}, ""},
      {{}, ""},
  };
  for (const auto& [installed, face] : cases)
    EXPECT_EQ(MetricCompatibleArial(installed), face) << installed.join(',').toStdString();
}

TEST(Units, ConvertStoredValuesBothWays) {
  const struct {
    TQRUnit unit;
    bool horizontal;
    long double stored, expected;
    int ppi = 96, zoom = 100;
  } cases[] = {
      {TQRUnit::MM, true, 476.25L, 47.625L},
      {TQRUnit::Inches, false, 254, 1},
      {TQRUnit::Pixels, true, 476.25L, 180},
      {TQRUnit::Pixels, false, 2.6458333333333333333L, 1},
      {TQRUnit::Pixels, true, 254, 60, 120, 50},  // follows resolution and zoom
      {TQRUnit::Native, true, 123.456L, 123.456L},
      {TQRUnit::Characters, true, 80, 2.54L},       // 10 point: c = 80 / 25.4 across
      {TQRUnit::Characters, false, 145.3L, 2.54L},  // and 145.3 / 25.4 down
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.unit));
    Holder holder;
    holder.SetPixelsPerInch(c.ppi);
    holder.SetZoom(c.zoom);
    EXPECT_NEAR(double(holder.LoadUnit(c.stored, c.unit, c.horizontal)), double(c.expected), 1e-9);
    EXPECT_NEAR(double(holder.SaveUnit(c.expected, c.unit, c.horizontal)), double(c.stored), 1e-9);
  }
}

TEST(Units, ValuesAreReadAndWrittenInTheCurrentUnit) {
  Holder holder;
  holder.SetUnits(TQRUnit::MM);
  holder.SetValue(0, 12.5L);
  EXPECT_EQ(std::pair(holder.Stored(0), holder.refreshes), std::pair(125.0L, 1));
  holder.SetUnits(TQRUnit::Inches);
  EXPECT_EQ(holder.Value(0), 125 / 254.0L);
  EXPECT_THROW(holder.LoadValues({1, 2, 3}), std::invalid_argument);
}

TEST(Page, PaperSizeWritesLengthAndWidth) {
  TCustomReport report(QStringLiteral("r"));
  TQRPage& page = report.Page;
  page.SetPaperSize(TQRPaperSize::A3);
  page.SetOrientation(PaperOrientation::Landscape);
  EXPECT_EQ(std::pair(page.Stored(TQRPage::kWidth), page.Stored(TQRPage::kLength)),
            std::pair(4200.0L, 2970.0L));
  page.SetUnits(TQRUnit::MM);
  page.SetLength(100);  // ignored: not a custom paper
  EXPECT_EQ(page.Stored(TQRPage::kLength), 2970);
  page.SetPaperSize(TQRPaperSize::Custom);
  page.SetLength(100);
  EXPECT_EQ(page.Stored(TQRPage::kLength), 1000);
}

TEST(Band, ChildChainCannotBecomeALoopAndUnitsAndZoomReachTheElements) {
  TCustomReport report(QStringLiteral("r"));
  TQRBand* a = report.AddBand(QStringLiteral("a"), TQRBandType::rbDetail);
  TQRBand* b = report.AddBand(QStringLiteral("b"), TQRBandType::rbChild);
  EXPECT_TRUE(a->SetChildBand(b));
  EXPECT_EQ((std::tuple{b->SetChildBand(a), a->SetChildBand(a), b->ChildBand()}),
            std::tuple(false, false, nullptr));
  const TQRLabel* label = b->Add<TQRLabel>("l");
  report.SetUnits(TQRUnit::Inches);
  report.SetZoom(50);
  EXPECT_EQ(std::pair(label->Size.Units(), label->Size.Zoom()), std::pair(TQRUnit::Inches, 50));
}

}  // namespace
}  // namespace hb9cv
