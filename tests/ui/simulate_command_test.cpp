#include "ui/simulate_command.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "ui/command_line.h"

namespace hb9cv {
namespace {

TEST(SimulateCommandTest, Lines) {
  // The error, or "ok".
  // clang-format off
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"--compute", "145", "--simulate", "--diameter", "6", "--height=10"}, "ok"},
      {{"--compute", "145", "--nec", "a.nec", "--diameter", "6"}, "ok"},
      {{"--simulate"}, "--simulate and --nec take a single --compute"},
      {{"--compute", "1", "--compute", "2", "--nec", "a"}, "--simulate and --nec take a single --compute"},
      {{"--compute", "1", "--simulate", "--pdf", "a"}, "--simulate and --nec do not go with --pdf, --report or --print"},
      {{"--compute", "1", "--diameter", "6"}, "option '--diameter' needs --simulate or --nec"},
      {{"--compute", "1", "--height", "6"}, "option '--height' needs --simulate or --nec"},
      {{"--compute", "1", "--simulate", "--height", "1", "--height", "2"}, "option '--height' given twice"},
      {{"--compute", "1", "--simulate=1"}, "option '--simulate' takes no value"},
  };
  // clang-format on
  for (const auto& [args, seen] : rows) {
    std::string message = "ok";
    try {
      ParseCommandLine(args);
    } catch (const CommandLineError& e) {
      message = e.Message();
    }
    EXPECT_EQ(message, seen) << testing::PrintToString(args);
  }
}

TEST(SimulateCommandTest, Formats) {
  SimulationResults r;
  r.frequencyMhz = 145;
  r.diameterMm = 4.03;
  r.gainDbi = 6.374;
  r.swr2LowMhz = 140.50611;
  r.sweep = {{137.75, 5.76, 15.6, 1.2345}};
  r.azimuth = {{0, 6.37}, {1, 6.36}, {5, 6.2}};
  r.elevation = {{180, -15.55}};
  r.corrected = CorrectedLengths{951.7, 1036.5, 1};
  EXPECT_EQ(SimulationJson(r),
            "{\"frequency_mhz\":145.000,\"diameter_mm\":4.03,\"height_m\":null,"
            "\"gain_dbi\":6.37,\"gain_dbd\":4.22,\"front_to_back_db\":0.00,"
            "\"front_to_rear_db\":0.00,\"beamwidth_e_deg\":0.0,\"beamwidth_h_deg\":0.0,"
            "\"best_fb_mhz\":0.0000,\"matched_swr2_low_mhz\":140.5061,"
            "\"matched_swr2_high_mhz\":null,\"corrected_Z_mm\":951.7,\"corrected_R_mm\":1036.5,"
            "\"sweep\":[{\"mhz\":137.7500,\"gain_dbi\":5.76,\"front_to_back_db\":15.60,"
            "\"matched_swr\":1.234}],\"azimuth\":[{\"deg\":0,\"gain_dbi\":6.37},"
            "{\"deg\":5,\"gain_dbi\":6.20}],\"elevation\":[{\"deg\":180,\"gain_dbi\":-15.55}]}\n");
  const std::string text = SimulationText(r);
  EXPECT_EQ(text.substr(0, 53), "frequency_mhz\t145.000\ndiameter_mm\t4.03\nheight_m\tnull\n");
  EXPECT_NE(text.find("\nsweep\t137.7500\t5.76\t15.60\t1.234\nazimuth\t0\t6.37\nazimuth\t5\t6.20\n"
                      "elevation\t180\t-15.55\n"),
            std::string::npos);
}

TEST(SimulateCommandTest, Runs) {
  QTemporaryDir dir;
  const std::string deck = dir.filePath(QStringLiteral("m.nec")).toStdString();
  SimulateOptions options;
  options.nec = deck;
  options.diameter = "6";
  EXPECT_NO_THROW(RunSimulate(options, 145, false));
  std::ifstream in(deck);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "CM HB9CV for 145 MHz, idealised model: radiator (tag 1) and");
  // Refused values and a missing engine fail and leave no deck.
  const std::pair<const char*, const char*> refused[] = {
      {"abc", nullptr}, {"0", nullptr}, {"6", "0"}, {"6", "x"}};
  options.nec = dir.filePath(QStringLiteral("x.nec")).toStdString();
  for (const auto& [diameter, height] : refused) {
    options.diameter = diameter;
    options.height = height ? std::optional<std::string>(height) : std::nullopt;
    EXPECT_THROW(RunSimulate(options, 145, true), Exception);
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(*options.nec)));
  options = SimulateOptions{true, {}, {}, {}};
  EXPECT_THROW(RunSimulate(options, 145, true, "/nonexistent/nec2c"), Exception);
}

}  // namespace
}  // namespace hb9cv
