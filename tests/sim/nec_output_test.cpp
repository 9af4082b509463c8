#include "sim/nec_output.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sim/sim_errors.h"

namespace hb9cv {
namespace {

std::string Data(const std::string& name) {
  std::ifstream in(std::string(std::getenv("HB9CV_SOURCE_DIR")) + "/tests/sim/data/" + name);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(NecOutputTest, RealOutputs) {
  // Read off the files by eye: impedances, patterns, rows, the first row's theta, gain, |E|.
  struct Row {
    const char* file;
    size_t impedances, patterns, rows;
    std::complex<double> z;
    double theta, gain, field;
  };
  // clang-format off
  const Row rows[] = {
      {"free_145.out", 1, 1, 360, {17.346, 10.282}, -180, 0.95, 1.2611},
      // Over ground the horizon is a null; its row has no polarisation sense.
      {"ground_145_10m.out", 1, 1, 181, {17.161, 10.357}, -90, -999.99, 6.1081e-11},
      {"sweep_145.out", 3, 3, 2, {17.077, 9.5907}, 90, 6.35, 2.3992},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const NecOutput out = ParseNecOutput(Data(row.file));
    ASSERT_EQ(out.impedances.size(), row.impedances);
    ASSERT_EQ(out.patterns.size(), row.patterns);
    EXPECT_EQ(out.patterns.back().size(), row.rows);
    EXPECT_NEAR(out.impedances[0].real(), row.z.real(), 1e-9);
    EXPECT_NEAR(out.impedances[0].imag(), row.z.imag(), 1e-9);
    EXPECT_EQ(out.patterns[0][0].thetaDeg, row.theta);
    EXPECT_EQ(out.patterns[0][0].gainDbi, row.gain);
    EXPECT_NEAR(out.patterns[0][0].fieldVm, row.field, row.field * 1e-9);
  }
  // The sweep's middle frequency, and its rear direction.
  const NecOutput sweep = ParseNecOutput(Data("sweep_145.out"));
  EXPECT_NEAR(sweep.impedances[1].real(), 17.346, 1e-9);
  EXPECT_EQ(sweep.patterns[0][1].phiDeg, 180);
  EXPECT_EQ(sweep.patterns[0][1].gainDbi, -16.23);
}

TEST(NecOutputTest, FailuresAndGarbage) {
  EXPECT_EQ(FailureReason(Data("bad_card.out")), "GEOMETRY DATA CARD ERROR");
  EXPECT_EQ(FailureReason("\n  nec2c: cannot open\n\n"), "nec2c: cannot open");
  EXPECT_EQ(FailureReason(""), "");
  // Text without sections yields nothing; a damaged row is refused.
  EXPECT_TRUE(ParseNecOutput("hello\nworld\n").patterns.empty());
  std::string damaged = Data("sweep_145.out");
  damaged.replace(damaged.find("2.3992E+00"), 10, "2,3992E+00");
  EXPECT_THROW(ParseNecOutput(damaged), ESimulationError);
}

}  // namespace
}  // namespace hb9cv
