#include "ui/command_line.h"

#include <gtest/gtest.h>

#include "calc/number_text.h"
#include "field/typed_frequency.h"

namespace hb9cv {
namespace {

// A parsed line in one string: its error message, or the options it sets.
std::string Parsed(const std::vector<std::string>& args) {
  CommandLineOptions o;
  try {
    o = ParseCommandLine(args);
  } catch (const CommandLineError& e) {
    return e.Message();
  }
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
      {{}, "window"}, {{"--help"}, "help"}, {{"-h"}, "help"}, {{"--version"}, "version"},
      {{"--compute", "145", "--version", "--help"}, "help 145"},
      {{"--compute=145,5", "--json"}, "compute 145,5 json"},
      {{"--json", "--compute", "145", "--compute", "50"}, "compute 145 50 json"},
      {{"--pdf=a=b.pdf", "--compute", "145"}, "compute 145 pdf=a=b.pdf"},
      {{"--compute", "145", "--report", "r.QRP", "--print"}, "compute 145 report=r.QRP print="},
      {{"--print=PDF", "--compute", "145"}, "compute 145 print=PDF"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"}, {{"145"}, "unexpected argument '145'"},
      {{"--compute"}, "option '--compute' needs a value"},
      {{"--compute", "145", "--pdf"}, "option '--pdf' needs a value"},
      {{"--compute", "145", "--pdf", ""}, "option '--pdf': no file name given"},
      {{"--compute", "145", "--report="}, "option '--report': no file name given"},
      {{"--compute", "145", "--print="}, "option '--print' needs a value"},
      {{"--help=1"}, "option '--help' takes no value"},
      {{"--json"}, "option '--json' needs --compute"}, {{"-x"}, "unknown option '-x'"},
      {{"--pdf", "a"}, "option '--pdf' needs --compute"},
      {{"--report", "a"}, "option '--report' needs --compute"},
      {{"--print"}, "option '--print' needs --compute"},
      {{"--compute", "1", "--print", "--print=X"}, "option '--print' given twice"},
      {{"--compute", "1", "--compute", "2", "--print"},
       "--pdf, --report and --print take a single --compute"},
  };
  // clang-format on
  for (const auto& [args, seen] : rows)
    EXPECT_EQ(Parsed(args), seen) << testing::PrintToString(args);
}

// The texts are the calculation's; here: the names, the layouts, the boundary the extended
// arithmetic cuts down, and JSON numbers that keep a point under a comma locale.
TEST(CommandLineTest, TextAndJson) {
  SetDecimalSeparator(',');
  const std::vector<DimensionSet> two = {ComputeDimensions(ReadFrequency("50")),
                                         ComputeDimensions(ReadFrequency("6.9"))};
  EXPECT_EQ(FormatText(two),
            "frequency\t50 MHz\nwavelength\t6 m\nZ\t2760 mm\nR\t3006 mm\nRZ\t750 mm\n"
            "x\t60 mm\nTz\t378 mm\nTr\t408 mm\ndiameter\tPrůměr 8,4 až 15 mm\n\n"
            "frequency\t6,9 MHz\nwavelength\t43,4782608695652 m\nZ\t19999,9 mm\n"
            "R\t21782,6 mm\nRZ\t5434,7 mm\nx\t434,7 mm\nTz\t2739,1 mm\nTr\t2956,5 mm\n"
            "diameter\tPrůměr 60,86 až 108,69 mm\n");
  EXPECT_EQ(FormatJson({ComputeDimensions(145)}, false),
            R"({"frequency":"145 MHz","wavelength":"2,06896551724138 m","Z":"951,7 mm",)"
            R"("R":"1036,5 mm","RZ":"258,6 mm","x":"20,6 mm","Tz":"130,3 mm","Tr":"140,6 mm",)"
            R"("diameter":"Průměr 2,89 až 5,17 mm","frequency_mhz":145,)"
            R"("wavelength_m":2.06896551724138,"Z_mm":951.7,"R_mm":1036.5,"RZ_mm":258.6,)"
            R"("x_mm":20.6,"Tz_mm":130.3,"Tr_mm":140.6,"diameter_min_mm":2.89,)"
            R"("diameter_max_mm":5.17})"
            "\n");
  SetDecimalSeparator('.');
  const std::string array = FormatJson(two, true);
  const std::string tail = R"(,"diameter_min_mm":60.86,"diameter_max_mm":108.69}])"
                           "\n";
  EXPECT_EQ(array.substr(0, 22), R"([{"frequency":"50 MHz")");
  EXPECT_EQ(array.substr(array.size() - tail.size()), tail);
  EXPECT_NE(array.find(R"("diameter_max_mm":15},{"frequency":"6,9 MHz")"), std::string::npos);
  EXPECT_EQ(JsonString("Průměr \"a\\b\"\n\t" + std::string("\x01\x1f", 2)),
            R"("Průměr \"a\\b\"\n\t\u0001\u001f")");
  SetDecimalSeparator(',');
}

}  // namespace
}  // namespace hb9cv
