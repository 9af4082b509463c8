#include "ui/command_line.h"

#include <cstdio>

#include "calc/number_text.h"
#include "calc/value_table.h"

namespace hb9cv {

namespace {

struct KnownOption {
  const char* name;
  enum { Flag, Value, File, OptionalValue } kind;
};

// clang-format off
constexpr KnownOption kOptions[] = {
    {"--help", KnownOption::Flag},           {"--version", KnownOption::Flag},
    {"--json", KnownOption::Flag},           {"--compute", KnownOption::Value},
    {"--pdf", KnownOption::File},            {"--report", KnownOption::File},
    {"--print", KnownOption::OptionalValue}, {"--simulate", KnownOption::Flag},
    {"--nec", KnownOption::File},            {"--diameter", KnownOption::Value},
    {"--height", KnownOption::Value},
};
// clang-format on

constexpr char kUnknownOption[] = HB9CV_TRANSLATE_NOOP("Errors", "unknown option '%1'");
constexpr char kNeedsValue[] = HB9CV_TRANSLATE_NOOP("Errors", "option '%1' needs a value");

const KnownOption* FindOption(const std::string& name) {
  for (const KnownOption& known : kOptions) {
    if (name == known.name) return &known;
  }
  return nullptr;
}

CommandLineOptions Settle(CommandLineOptions options, bool help, bool version);

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineOptions options;
  bool help = false;
  bool version = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h") {
      help = true;
      continue;
    }
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (!arg.empty() && arg[0] == '-') throw CommandLineError(kUnknownOption, {arg});
      throw CommandLineError(HB9CV_TRANSLATE_NOOP("Errors", "unexpected argument '%1'"), {arg});
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const KnownOption* known = FindOption(name);
    if (known == nullptr) throw CommandLineError(kUnknownOption, {name});
    std::optional<std::string> value;
    if (eq != std::string::npos) {
      if (known->kind == KnownOption::Flag) {
        throw CommandLineError(HB9CV_TRANSLATE_NOOP("Errors", "option '%1' takes no value"),
                               {name});
      }
      value = arg.substr(eq + 1);
      if (value->empty() && known->kind != KnownOption::File) {
        throw CommandLineError(kNeedsValue, {name});
      }
    } else if (known->kind == KnownOption::Value || known->kind == KnownOption::File) {
      if (i + 1 >= args.size()) throw CommandLineError(kNeedsValue, {name});
      value = args[++i];
    }
    // Else the output would fail only after the values were computed, naming no file.
    if (known->kind == KnownOption::File && value->empty()) {
      throw CommandLineError(HB9CV_TRANSLATE_NOOP("Errors", "option '%1': no file name given"),
                             {name});
    }

    const auto once = [&](std::optional<std::string>& slot) {
      if (slot) throw CommandLineError(kGivenTwice, {name});
      slot = value.value_or(std::string());
    };
    if (name == "--help") {
      help = true;
    } else if (name == "--version") {
      version = true;
    } else if (name == "--json") {
      options.json = true;
    } else if (name == "--compute") {
      options.frequencies.push_back(*value);
    } else if (name == "--pdf") {
      once(options.pdf);
    } else if (name == "--report") {
      once(options.report);
    } else if (name == "--print") {
      once(options.print);
    } else {
      ReadSimulateOption(options.simulate, name, value.value_or(""));
    }
  }
  return Settle(std::move(options), help, version);
}

namespace {

// What the options ask for together, once every one of them is read.
CommandLineOptions Settle(CommandLineOptions options, bool help, bool version) {
  if (help) {
    options.mode = CommandLineOptions::Mode::Help;
    return options;
  }
  if (version) {
    options.mode = CommandLineOptions::Mode::Version;
    return options;
  }
  CheckSimulateOptions(options.simulate, options.frequencies.size(), options.WantsPage());
  if (options.frequencies.empty()) {
    const char* needs = options.json     ? "--json"
                        : options.pdf    ? "--pdf"
                        : options.report ? "--report"
                        : options.print  ? "--print"
                                         : nullptr;
    if (needs != nullptr) {
      throw CommandLineError(HB9CV_TRANSLATE_NOOP("Errors", "option '%1' needs --compute"),
                             {needs});
    }
    return options;
  }
  // One page per report: a page for several frequencies would need as many reports.
  if (options.frequencies.size() > 1 && options.WantsPage()) {
    throw CommandLineError(
        HB9CV_TRANSLATE_NOOP("Errors", "--pdf, --report and --print take a single --compute"), {});
  }
  options.mode = CommandLineOptions::Mode::Compute;
  return options;
}

}  // namespace

std::string UsageText() {
  return HB9CV_TRANSLATE_NOOP(
      "CommandLine",
      "Usage: hb9cv [OPTION]...\n"
      "Computes the dimensions of a two-element HB9CV antenna for one frequency.\n"
      "Without options the program opens its window.\n"
      "\n"
      "  --compute FREQ   compute for FREQ megahertz: up to four digits, then \",\"\n"
      "                   or \".\" and up to three decimals (145, 145,5, 0145.500);\n"
      "                   may be repeated\n"
      "  --json           print the values as JSON instead of name<TAB>text lines\n"
      "  --pdf FILE       write the report page as a PDF file\n"
      "  --report FILE    write the report file (.QRP) that the preview window loads\n"
      "  --print[=QUEUE]  print the report page on the default or the named printer\n"
      "  --simulate       simulate the design with nec2c (idealised NEC-2 model)\n"
      "  --diameter MM    element diameter for --simulate and --nec; with --simulate\n"
      "                   also the element lengths corrected for it\n"
      "  --height M       height above average ground (default: free space)\n"
      "  --nec FILE       write the model as a NEC-2 deck\n"
      "  -h, --help       show this help and exit\n"
      "      --version    show the version and exit\n"
      "\n"
      "--pdf, --report and --print take a single --compute. Exit status: 0 on success,\n"
      "1 when a frequency is refused or an output fails, 2 for a wrong command line.\n");
}

std::string VersionText() {
  return std::string("hb9cv ") + HB9CV_VERSION + "\n";
}

std::string FormatText(const std::vector<DimensionSet>& blocks) {
  std::string out;
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (b > 0) out += '\n';
    for (const ValueRow& row : kValueTable) out += row.name + ('\t' + blocks[b].*row.text) + '\n';
  }
  return out;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

namespace {

std::string JsonObject(const DimensionSet& d) {
  std::string out;
  for (const ValueRow& row : kValueTable) {
    out += (out.empty() ? "{" : ",") + JsonString(row.name) + ":" + JsonString(d.*row.text);
  }
  // The same digits as the texts, but always with a point: JSON has no other.
  for (const ValueRow& row : kValueTable) {
    for (const ValueNumber& number : row.numbers) {
      if (number.key != nullptr) {
        out += "," + JsonString(number.key) + ":" + FloatToStr(d.*number.field, '.');
      }
    }
  }
  return out + "}";
}

}  // namespace

std::string FormatJson(const std::vector<DimensionSet>& blocks, bool array) {
  std::string out = array ? "[" : "";
  for (size_t b = 0; b < blocks.size(); ++b) out += (b > 0 ? "," : "") + JsonObject(blocks[b]);
  if (array) out += "]";
  return out + "\n";
}

}  // namespace hb9cv
