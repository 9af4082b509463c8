#include "ui/command_line.h"

#include <gtest/gtest.h>

#include "calc/number_text.h"

namespace hb9cv {
namespace {

using Mode = CommandLineOptions::Mode;

struct GoodLine {
  std::vector<std::string> args;
  Mode mode;
  std::vector<std::string> frequencies;
  bool json;
  std::optional<std::string> pdf, report, print;
};

TEST(CommandLineTest, GoodLines) {
  // clang-format off
  const GoodLine rows[] = {
      {{}, Mode::Window, {}, false, {}, {}, {}},
      {{"--help"}, Mode::Help, {}, false, {}, {}, {}},
      {{"-h"}, Mode::Help, {}, false, {}, {}, {}},
      {{"--version"}, Mode::Version, {}, false, {}, {}, {}},
      {{"--compute", "145", "--version", "--help"}, Mode::Help, {"145"}, false, {}, {}, {}},
      {{"--compute", "145"}, Mode::Compute, {"145"}, false, {}, {}, {}},
      {{"--compute=145,5", "--json"}, Mode::Compute, {"145,5"}, true, {}, {}, {}},
      {{"--json", "--compute", "145", "--compute", "50"}, Mode::Compute, {"145", "50"}, true, {}, {}, {}},
      // A value is taken as it stands, even one that looks like an option.
      {{"--compute", "-5"}, Mode::Compute, {"-5"}, false, {}, {}, {}},
      {{"--compute", "145", "--pdf", "a.pdf"}, Mode::Compute, {"145"}, false, "a.pdf", {}, {}},
      {{"--pdf=a=b.pdf", "--compute", "1"}, Mode::Compute, {"1"}, false, "a=b.pdf", {}, {}},
      {{"--compute", "145", "--report", "r.QRP", "--print"}, Mode::Compute, {"145"}, false, {}, "r.QRP", ""},
      {{"--print=PDF", "--compute", "145"}, Mode::Compute, {"145"}, false, {}, {}, "PDF"},
  };
  // clang-format on
  for (const GoodLine& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args));
    const auto parsed = ParseCommandLine(row.args);
    ASSERT_TRUE(std::holds_alternative<CommandLineOptions>(parsed))
        << std::get<CommandLineError>(parsed).message;
    const auto& o = std::get<CommandLineOptions>(parsed);
    EXPECT_EQ(o.mode, row.mode);
    EXPECT_EQ(o.frequencies, row.frequencies);
    EXPECT_EQ(o.json, row.json);
    EXPECT_EQ(o.pdf, row.pdf);
    EXPECT_EQ(o.report, row.report);
    EXPECT_EQ(o.print, row.print);
  }
}

TEST(CommandLineTest, BadLines) {
  // clang-format off
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"}, {{"-x"}, "unknown option '-x'"},
      {{"--compute=145", "--jsn"}, "unknown option '--jsn'"},
      {{"145"}, "unexpected argument '145'"}, {{"--compute"}, "option '--compute' needs a value"},
      {{"--compute="}, "option '--compute' needs a value"},
      {{"--compute", "145", "--pdf"}, "option '--pdf' needs a value"},
      {{"--compute", "145", "--print="}, "option '--print' needs a value"},
      {{"--json=yes", "--compute", "1"}, "option '--json' takes no value"},
      {{"--help=1"}, "option '--help' takes no value"},
      {{"--json"}, "option '--json' needs --compute"},
      {{"--pdf", "a.pdf"}, "option '--pdf' needs --compute"},
      {{"--report", "a.QRP"}, "option '--report' needs --compute"},
      {{"--print"}, "option '--print' needs --compute"},
      {{"--compute", "1", "--pdf", "a", "--pdf", "b"}, "option '--pdf' given twice"},
      {{"--compute", "1", "--print", "--print=X"}, "option '--print' given twice"},
      {{"--compute", "1", "--compute", "2", "--pdf", "a"},
      "--pdf, --report and --print take a single --compute"},
      {{"--compute", "1", "--compute", "2", "--print"},
      "--pdf, --report and --print take a single --compute"},
  };
  // clang-format on
  for (const auto& [args, message] : rows) {
    SCOPED_TRACE(testing::PrintToString(args));
    const auto parsed = ParseCommandLine(args);
    ASSERT_TRUE(std::holds_alternative<CommandLineError>(parsed));
    EXPECT_EQ(std::get<CommandLineError>(parsed).message, message);
  }
}

TEST(CommandLineTest, FrequencyAsTheFieldHoldsIt) {
  const std::pair<const char*, const char*> good[] = {
      {"145", "0145,   "},      {"145,5", "0145,5  "},    {"145.5", "0145,5  "},
      {"0145.500", "0145,500"}, {"9999,999", "9999,999"}, {",001", "0000,001"},
      {"1.", "0001,   "},       {"0", "0000,   "},
  };
  for (const auto& [typed, field] : good) {
    std::string error;
    EXPECT_EQ(FrequencyFieldText(typed, error), std::optional<std::string>(field)) << typed;
  }
  const std::pair<const char*, const char*> bad[] = {
      {"10000", "'10000' has more than four integer digits"},
      {"1,2345", "'1,2345' has more than three decimals"},
      {"", "'' is not a frequency"},
      {",", "',' is not a frequency"},
      {"-5", "'-5' is not a frequency"},
      {"1,5,5", "'1,5,5' is not a frequency"},
      {" 145", "' 145' is not a frequency"},
      {"145MHz", "'145MHz' is not a frequency"},
      {"1e3", "'1e3' is not a frequency"},
  };
  for (const auto& [typed, start] : bad) {
    std::string error;
    EXPECT_EQ(FrequencyFieldText(typed, error), std::nullopt) << typed;
    EXPECT_EQ(error.rfind(start, 0), 0u) << error;
  }
}

class ComputeFrequencyTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(','); }
  void TearDown() override { SetDecimalSeparator('.'); }
};

// The values themselves are the calculation's; here a point stands for the comma, and the
// boundary that only the window's extended arithmetic cuts down is cut down here too.
TEST_F(ComputeFrequencyTest, ValuesAsTheWindowShowsThem) {
  std::string error;
  EXPECT_EQ(ComputeFrequency("145.5", error)->values[0].second, "145,5 MHz");
  EXPECT_EQ(ComputeFrequency("6,9", error)->values[2].second, "19999,9 mm");
}

TEST_F(ComputeFrequencyTest, RefusedFrequencies) {
  for (const char* zero : {"0", "0000,000", ".0", "0,"}) {
    std::string error;
    EXPECT_FALSE(ComputeFrequency(zero, error)) << zero;
    EXPECT_NE(error.find("is zero"), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(ComputeFrequency("12345", error));
  EXPECT_NE(error.find("four integer digits"), std::string::npos);
}

TEST_F(ComputeFrequencyTest, TextAndJsonOutput) {
  std::string error;
  const std::vector<ComputedValues> two = {*ComputeFrequency("50", error),
                                           *ComputeFrequency("432", error)};
  EXPECT_EQ(FormatText({two[0]}),
            "frequency\t50 MHz\nwavelength\t6 m\nZ\t2760 mm\nR\t3006 mm\nRZ\t750 mm\nx\t60 mm\n"
            "Tz\t378 mm\nTr\t408 mm\ndiameter\tPrůměr 8,4 až 15 mm\n");
  const std::string text = FormatText(two);
  EXPECT_NE(text.find("diameter\tPrůměr 8,4 až 15 mm\n\nfrequency\t432 MHz\n"), std::string::npos);
  EXPECT_EQ(FormatJson({two[0]}, false),
            R"({"frequency":"50 MHz","wavelength":"6 m","Z":"2760 mm","R":"3006 mm",)"
            R"("RZ":"750 mm","x":"60 mm","Tz":"378 mm","Tr":"408 mm",)"
            R"("diameter":"Průměr 8,4 až 15 mm"})"
            "\n");
  const std::string array = FormatJson(two, true);
  EXPECT_EQ(array.rfind("[{\"frequency\":\"50 MHz\"", 0), 0u);
  EXPECT_NE(array.find("},{\"frequency\":\"432 MHz\""), std::string::npos);
  EXPECT_EQ(array.substr(array.size() - 4), "\"}]\n");
}

TEST(CommandLineTest, JsonStrings) {
  const std::pair<std::string, std::string> rows[] = {
      {"Průměr", "\"Průměr\""},
      {"a\"b", R"("a\"b")"},
      {"a\\b", R"("a\\b")"},
      {"a\nb\tc", R"("a\nb\tc")"},
      {std::string("\x01\x1f", 2), R"("\u0001\u001f")"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(JsonString(in), out);
}

}  // namespace
}  // namespace hb9cv
