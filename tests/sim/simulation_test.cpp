#include "sim/simulation.h"

#include <gtest/gtest.h>

#include "sim/nec_runner.h"
#include "sim/sim_errors.h"

namespace hb9cv {
namespace {

// Figures measured with nec2c 1.3: the design is the same shape at every frequency, so they
// hardly move; a line that is not crossed turns the beam round and fails every row.
TEST(SimulationTest, FiguresAcrossTheBands) {
  NecProcess nec;
  for (const double mhz : {1.84, 50.1, 145.0, 432.0, 1296.0}) {
    SCOPED_TRACE(mhz);
    const SimulationResults r = Simulate({ComputeDimensions(mhz), std::nullopt, std::nullopt}, nec);
    EXPECT_NEAR(r.gainDbi, 6.36, 0.05);
    EXPECT_NEAR(r.GainDbd(), 4.21, 0.05);
    EXPECT_NEAR(r.frontToBackDb, 22.0, 0.4);
    EXPECT_NEAR(r.frontToRearDb, 18.6, 0.2);
    EXPECT_NEAR(r.beamwidthEDeg, 69.2, 0.5);
    EXPECT_NEAR(r.beamwidthHDeg, 140.0, 0.5);
    EXPECT_EQ(r.beamAzimuthDeg, 0);
    EXPECT_EQ(r.elevationDeg, 0);
    EXPECT_NEAR(r.bestFbMhz / mhz, 0.9862, 0.002);
    EXPECT_NEAR(r.swr2LowMhz.value() / mhz, 0.969, 0.003);
    EXPECT_NEAR(r.swr2HighMhz.value() / mhz, 1.024, 0.003);
    EXPECT_NEAR(r.sweep[30].matchedSwr, 1.0, 1e-3);
    EXPECT_EQ(r.sweep.size(), 61u);
    EXPECT_EQ(r.azimuth.size(), 360u);
    EXPECT_EQ(r.elevation.size(), 360u);
  }
}

TEST(SimulationTest, OverGround) {
  NecProcess nec;
  const SimulationResults r = Simulate({ComputeDimensions(145), std::nullopt, 10}, nec);
  // Ten metres is almost five wavelengths: a low first lobe, the ground's gain added.
  EXPECT_EQ(r.elevationDeg, 3);
  EXPECT_NEAR(r.gainDbi, 12.2, 0.1);
  EXPECT_EQ(r.elevation.size(), 181u);
  EXPECT_EQ(r.beamAzimuthDeg, 0);
}

TEST(SimulationTest, CorrectedLengths) {
  // 145 MHz designs Z 951,7 mm and R 1036,5 mm for about 4 mm; a thicker tube resonates lower
  // and wants shorter elements.
  NecProcess nec;
  const DimensionSet d = ComputeDimensions(145);
  // clang-format off
  const std::tuple<double, double, double> rows[] = {
      {DesignDiameterMm(d), 951.7, 1036.5}, {2, 966.6, 1052.8}, {8, 931.3, 1014.3},
  };
  // clang-format on
  for (const auto& [diameter, z, r] : rows) {
    const CorrectedLengths c = CorrectLengths(d, diameter, nec);
    EXPECT_NEAR(c.Z, z, 0.15) << diameter;
    EXPECT_NEAR(c.R, r, 0.15) << diameter;
  }
}

// Outputs that are not what the decks asked for.
class CannedNec : public NecEngine {
 public:
  explicit CannedNec(std::string text) : text_(std::move(text)) {}
  std::string Run(const std::string&) override { return text_; }

 private:
  std::string text_;
};

TEST(SimulationTest, ShortOrForeignOutput) {
  NecProcess real;
  const std::string whole = real.Run(ModelDeck({ComputeDimensions(145), std::nullopt, {}}));
  for (const std::string& text :
       {std::string("garbage\n"), whole.substr(0, whole.rfind('\n', whole.size() / 2) + 1)}) {
    CannedNec nec(text);
    try {
      Simulate({ComputeDimensions(145), std::nullopt, std::nullopt}, nec);
      ADD_FAILURE() << "no error";
    } catch (const ESimulationError& e) {
      EXPECT_EQ(e.Message().rfind("nec2c's output is incomplete", 0), 0u) << e.Message();
    }
  }
}

}  // namespace
}  // namespace hb9cv
