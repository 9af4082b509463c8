#include "sim/results.h"

#include <gtest/gtest.h>

namespace hb9cv {
namespace {

TEST(ResultsTest, Beamwidth) {
  // Every 10°: 3 dB down at 25° on one side, at 345° on the other.
  std::vector<PatternPoint> cut;
  const double gains[] = {6, 5, 4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 5};
  for (int i = 0; i < 36; ++i) cut.push_back({i * 10.0, gains[i]});
  EXPECT_NEAR(Beamwidth(cut, 0, true), 25 + 15, 1e-9);
  // Not circular: the lobe ends at the cut's end.
  EXPECT_NEAR(Beamwidth(cut, 0, false), 25, 1e-9);
}

TEST(ResultsTest, MatchedSwrAndBand) {
  // clang-format off
  const std::tuple<std::complex<double>, std::complex<double>, double> swr[] = {
      {{17, 10}, {17, 10}, 1.0},
      {{50, 0}, {25, 0}, 2.0},
      {{17, -10}, {17, 10}, 3.0569607559},  // |-20j| / |34 - 20j|
      {{25, 0}, {25, 25}, 2.6180339887},    // |-25j| / |50 - 25j|
  };
  // clang-format on
  for (const auto& [z, design, expected] : swr) EXPECT_NEAR(MatchedSwr(z, design), expected, 1e-9);

  const std::vector<SweepPoint> sweep = {
      {100, 0, 0, 3}, {101, 0, 0, 1.5}, {102, 0, 0, 1}, {103, 0, 0, 1.8}, {104, 0, 0, 1.9}};
  const auto [low, high] = SwrBand(sweep, 2, 2);
  EXPECT_NEAR(low.value(), 100.666666667, 1e-6);
  EXPECT_FALSE(high.has_value());
}

TEST(ResultsTest, ParabolaPeak) {
  // y = -(x - 1.3)^2 at 1, 2, 3; and a vertex left of the middle point.
  EXPECT_NEAR(ParabolaPeak(1, 1, -0.09, -0.49, -2.89), 1.3, 1e-12);
  EXPECT_NEAR(ParabolaPeak(10, 0.5, 4, 4, 3), 10.25, 1e-12);
}

}  // namespace
}  // namespace hb9cv
