#include "ui/command_line.h"

#include <gtest/gtest.h>

#include "calc/number_text.h"

namespace hb9cv {
namespace {

// A parsed line in one string: its error message, or the options it sets.
std::string Parsed(const std::vector<std::string>& args) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* e = std::get_if<CommandLineError>(&parsed)) return e->message;
  const auto& o = std::get<CommandLineOptions>(parsed);
  const char* const modes[] = {"window", "help", "version", "compute"};
  std::string s = modes[static_cast<int>(o.mode)];
  for (const std::string& f : o.frequencies) s += " " + f;
  if (o.json) s += " json";
  if (o.pdf) s += " pdf=" + *o.pdf;
  if (o.report) s += " report=" + *o.report;
  if (o.print) s += " print=" + *o.print;
  return s;
}

TEST(CommandLineTest, Lines) {
  // clang-format off
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{}, "window"}, {{"--help"}, "help"}, {{"--version"}, "version"},
      {{"--compute", "145", "--version", "--help"}, "help 145"},
      {{"--compute=145,5", "--json"}, "compute 145,5 json"},
      {{"--json", "--compute", "145", "--compute", "50"}, "compute 145 50 json"},
      {{"--pdf=a=b.pdf", "--compute", "145"}, "compute 145 pdf=a=b.pdf"},
      {{"--compute", "145", "--report", "r.QRP", "--print"}, "compute 145 report=r.QRP print="},
      {{"--print=PDF", "--compute", "145"}, "compute 145 print=PDF"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"}, {{"145"}, "unexpected argument '145'"},
      {{"--compute"}, "option '--compute' needs a value"},
      {{"--compute", "145", "--pdf"}, "option '--pdf' needs a value"},
      {{"--help=1"}, "option '--help' takes no value"},
      {{"--json"}, "option '--json' needs --compute"},
      {{"--print"}, "option '--print' needs --compute"},
      {{"--compute", "1", "--print", "--print=X"}, "option '--print' given twice"},
      {{"--compute", "1", "--compute", "2", "--print"},
       "--pdf, --report and --print take a single --compute"},
  };
  // clang-format on
  for (const auto& [args, seen] : rows)
    EXPECT_EQ(Parsed(args), seen) << testing::PrintToString(args);
}

TEST(CommandLineTest, FrequencyAsTheFieldHoldsIt) {
  // The field text, or the start of the error.
  // clang-format off
  const std::pair<const char*, std::string> rows[] = {
      {"145", "0145,   "},      {"145,5", "0145,5  "},    {"145.5", "0145,5  "},
      {"9999,999", "9999,999"}, {",001", "0000,001"}, {"1.", "0001,   "}, {"0", "0000,   "},
      {"10000", "'10000' has more than four integer digits"},
      {"1,2345", "'1,2345' has more than three decimals"},
      {"", "'' is not a frequency"}, {",", "',' is not a frequency"},
      {"-5", "'-5' is not a frequency"}, {"1,5,5", "'1,5,5' is not a frequency"},
  };
  // clang-format on
  for (const auto& [typed, seen] : rows) {
    std::string error;
    const auto field = FrequencyFieldText(typed, error);
    EXPECT_EQ(field ? *field : error.substr(0, seen.size()), seen) << typed;
  }
}

// The values themselves are the calculation's; here a point stands for the comma, and the
// boundary that only the window's extended arithmetic cuts down is cut down here too.
TEST(CommandLineTest, ComputeOutputAndJsonStrings) {
  SetDecimalSeparator(',');
  std::string error;
  EXPECT_EQ(ComputeFrequency("145.5", error)->values[0].second, "145,5 MHz");
  EXPECT_EQ(ComputeFrequency("6,9", error)->values[2].second, "19999,9 mm");
  // clang-format off
  const std::pair<const char*, const char*> refused[] = {
      {"0", "is zero"}, {"0000,000", "is zero"}, {"0,", "is zero"}, {"12345", "four integer digits"}};
  // clang-format on
  for (const auto& [typed, why] : refused) {
    EXPECT_FALSE(ComputeFrequency(typed, error));
    EXPECT_NE(error.find(why), std::string::npos) << typed << ": " << error;
  }
  const std::vector<ComputedValues> two = {*ComputeFrequency("50", error),
                                           *ComputeFrequency("432", error)};
  SetDecimalSeparator('.');
  EXPECT_NE(
      FormatText(two).find("\nTr\t408 mm\ndiameter\tPrůměr 8,4 až 15 mm\n\nfrequency\t432 MHz\n"),
      std::string::npos);
  EXPECT_EQ(FormatJson({two[0]}, false),
            R"({"frequency":"50 MHz","wavelength":"6 m","Z":"2760 mm","R":"3006 mm",)"
            R"("RZ":"750 mm","x":"60 mm","Tz":"378 mm","Tr":"408 mm",)"
            R"("diameter":"Průměr 8,4 až 15 mm"})"
            "\n");
  const std::string array = FormatJson(two, true);
  EXPECT_EQ(array.substr(0, 22) + array.substr(array.size() - 4),
            "[{\"frequency\":\"50 MHz\"\"}]\n");
  EXPECT_EQ(JsonString("Průměr \"a\\b\"\n\t" + std::string("\x01\x1f", 2)),
            R"("Průměr \"a\\b\"\n\t\u0001\u001f")");
}

}  // namespace
}  // namespace hb9cv
