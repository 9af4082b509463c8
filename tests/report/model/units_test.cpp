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
  const std::pair<Float80, int> cases[] = {
      {2.5_f80, 2},       {3.5_f80, 4},    {-2.5_f80, -2},   {0.5_f80, 0},
      {2.4999_f80, 2},    {2.5001_f80, 3}, {-0.4_f80, 0},    {793.7_f80, 794},
      {1122.5_f80, 1122}, {1e30, INT_MAX}, {-1e30, INT_MIN}, {HUGE_VAL, INT_MAX},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(QRRound(value), expected) << double(value);
  EXPECT_EQ(QRRound(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(DeviceConversion, ScreenPageAndPrinterOffsets) {
  const test::TestDevice screen(FactorForDpi(96));
  // 793.7, 1122.52, 37.8, one pixel, just under half a pixel.
  EXPECT_EQ(std::tuple(screen.XSize(2100), screen.YSize(2970), screen.XPos(100),
                       screen.YSize(2.6458_f80), screen.XSize(1.3229_f80)),
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
    Float80 stored, expected;
    int ppi = 96, zoom = 100;
  } cases[] = {
      {TQRUnit::MM, true, 476.25_f80, 47.625_f80},
      {TQRUnit::Inches, false, 254, 1},
      {TQRUnit::Pixels, true, 476.25_f80, 180},
      {TQRUnit::Pixels, false, 2.645833333333333333_f80, 1},
      {TQRUnit::Pixels, true, 254, 60, 120, 50},  // follows resolution and zoom
      {TQRUnit::Native, true, 123.456_f80, 123.456_f80},
      {TQRUnit::Characters, true, 80, 2.54_f80},          // 10 point: c = 80 / 25.4 across
      {TQRUnit::Characters, false, 145.3_f80, 2.54_f80},  // and 145.3 / 25.4 down
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
  holder.SetValue(0, 12.5_f80);
  EXPECT_EQ(std::pair(holder.Stored(0), holder.refreshes), std::pair(Float80(125), 1));
  holder.SetUnits(TQRUnit::Inches);
  EXPECT_EQ(holder.Value(0), Float80(125) / 254);
  EXPECT_THROW(holder.LoadValues({1, 2, 3}), std::invalid_argument);
}

TEST(Page, PaperSizeWritesLengthAndWidth) {
  TCustomReport report(QStringLiteral("r"));
  TQRPage& page = report.Page;
  page.SetPaperSize(TQRPaperSize::A3);
  page.SetOrientation(PaperOrientation::Landscape);
  EXPECT_EQ(std::pair(page.Stored(TQRPage::kWidth), page.Stored(TQRPage::kLength)),
            std::pair(Float80(4200), Float80(2970)));
  page.SetUnits(TQRUnit::MM);
  page.SetLength(100);  // ignored: not a custom paper
  EXPECT_EQ(page.Stored(TQRPage::kLength), 2970);
  page.SetPaperSize(TQRPaperSize::Custom);
  page.SetLength(100);
  EXPECT_EQ(page.Stored(TQRPage::kLength), 1000);
}

TEST(Band, UnitsAndZoomReachTheElements) {
  TCustomReport report(QStringLiteral("r"));
  TQRBand* band = report.AddBand(QStringLiteral("b"), TQRBandType::rbDetail);
  const TQRLabel* label = band->Add<TQRLabel>("l");
  report.SetUnits(TQRUnit::Inches);
  report.SetZoom(50);
  EXPECT_EQ(std::pair(label->Size.Units(), label->Size.Zoom()), std::pair(TQRUnit::Inches, 50));
}

}  // namespace
}  // namespace hb9cv
