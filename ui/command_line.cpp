#include "ui/command_line.h"

#include <cstdio>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "ui/main_form_model.h"

namespace hb9cv {

namespace {

struct KnownOption {
  const char* name;
  enum { Flag, Value, OptionalValue } kind;
};

// clang-format off
constexpr KnownOption kOptions[] = {
    {"--help", KnownOption::Flag},           {"--version", KnownOption::Flag},
    {"--json", KnownOption::Flag},           {"--compute", KnownOption::Value},
    {"--pdf", KnownOption::Value},           {"--report", KnownOption::Value},
    {"--print", KnownOption::OptionalValue}, {"--simulate", KnownOption::Flag},
    {"--nec", KnownOption::Value},           {"--diameter", KnownOption::Value},
    {"--height", KnownOption::Value},
};
// clang-format on

const KnownOption* FindOption(const std::string& name) {
  for (const KnownOption& known : kOptions) {
    if (name == known.name) return &known;
  }
  return nullptr;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::variant<CommandLineOptions, CommandLineError> Settle(CommandLineOptions options, bool help,
                                                          bool version);

}  // namespace

std::variant<CommandLineOptions, CommandLineError> ParseCommandLine(
    const std::vector<std::string>& args) {
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
      if (!arg.empty() && arg[0] == '-') return CommandLineError{"unknown option '" + arg + "'"};
      return CommandLineError{"unexpected argument '" + arg + "'"};
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const KnownOption* known = FindOption(name);
    if (known == nullptr) return CommandLineError{"unknown option '" + name + "'"};
    std::optional<std::string> value;
    if (eq != std::string::npos) {
      if (known->kind == KnownOption::Flag) {
        return CommandLineError{"option '" + name + "' takes no value"};
      }
      value = arg.substr(eq + 1);
      if (value->empty()) return CommandLineError{"option '" + name + "' needs a value"};
    } else if (known->kind == KnownOption::Value) {
      if (i + 1 >= args.size()) return CommandLineError{"option '" + name + "' needs a value"};
      value = args[++i];
    }

    const auto once = [&](std::optional<std::string>& slot) -> std::optional<CommandLineError> {
      if (slot) return CommandLineError{"option '" + name + "' given twice"};
      slot = value.value_or(std::string());
      return std::nullopt;
    };
    std::optional<CommandLineError> error;
    if (name == "--help") {
      help = true;
    } else if (name == "--version") {
      version = true;
    } else if (name == "--json") {
      options.json = true;
    } else if (name == "--compute") {
      options.frequencies.push_back(*value);
    } else if (name == "--pdf") {
      error = once(options.pdf);
    } else if (name == "--report") {
      error = once(options.report);
    } else if (name == "--print") {
      error = once(options.print);
    } else if (auto e = ReadSimulateOption(options.simulate, name, value.value_or(""))) {
      error = CommandLineError{*e};
    }
    if (error) return *error;
  }
  return Settle(std::move(options), help, version);
}

namespace {

// What the options ask for together, once every one of them is read.
std::variant<CommandLineOptions, CommandLineError> Settle(CommandLineOptions options, bool help,
                                                          bool version) {
  if (help) {
    options.mode = CommandLineOptions::Mode::Help;
    return options;
  }
  if (version) {
    options.mode = CommandLineOptions::Mode::Version;
    return options;
  }
  if (auto e =
          CheckSimulateOptions(options.simulate, options.frequencies.size(), options.WantsPage())) {
    return CommandLineError{*e};
  }
  if (options.frequencies.empty()) {
    const char* needs = options.json     ? "--json"
                        : options.pdf    ? "--pdf"
                        : options.report ? "--report"
                        : options.print  ? "--print"
                                         : nullptr;
    if (needs != nullptr)
      return CommandLineError{std::string("option '") + needs + "' needs --compute"};
    return options;
  }
  // One page per report: a page for several frequencies would need as many reports.
  if (options.frequencies.size() > 1 && options.WantsPage()) {
    return CommandLineError{"--pdf, --report and --print take a single --compute"};
  }
  options.mode = CommandLineOptions::Mode::Compute;
  return options;
}

}  // namespace

std::string UsageText() {
  return "Usage: hb9cv [OPTION]...\n"
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
         "1 when a frequency is refused or an output fails, 2 for a wrong command line.\n";
}

std::string VersionText() {
  return std::string("hb9cv ") + HB9CV_VERSION + "\n";
}

std::optional<std::string> FrequencyFieldText(const std::string& frequency, std::string& error) {
  const size_t separator = frequency.find_first_of(",.");
  const std::string whole = frequency.substr(0, separator);
  const std::string decimals =
      separator == std::string::npos ? std::string() : frequency.substr(separator + 1);
  const auto digits_only = [](const std::string& s) {
    for (char c : s) {
      if (!IsDigit(c)) return false;
    }
    return true;
  };
  if (!digits_only(whole) || !digits_only(decimals) || whole.size() + decimals.size() == 0) {
    error = "'" + frequency +
            "' is not a frequency: expected up to four digits, then ',' or '.' and up to three "
            "decimals";
    return std::nullopt;
  }
  if (whole.size() > 4) {
    error = "'" + frequency + "' has more than four integer digits (the most is 9999,999 MHz)";
    return std::nullopt;
  }
  if (decimals.size() > 3) {
    error = "'" + frequency + "' has more than three decimals (the finest step is 0,001 MHz)";
    return std::nullopt;
  }
  std::string text = std::string(4 - whole.size(), '0') + whole;
  text += kFieldDecimalSeparator;
  text += decimals + std::string(3 - decimals.size(), ' ');
  return text;
}

std::optional<ComputedValues> ComputeFrequency(const std::string& frequency, std::string& error) {
  const std::optional<std::string> field = FrequencyFieldText(frequency, error);
  if (!field) return std::nullopt;
  ComputeOutcome outcome;
  try {
    outcome = ComputeFromField(*field);
  } catch (const Exception& e) {
    error = e.Message();
    return std::nullopt;
  }
  if (outcome.zero) {
    error = "'" + frequency + "' is zero: there is nothing to compute";
    return std::nullopt;
  }
  // clang-format off
  static constexpr std::pair<ValuePlace, const char*> kNames[] = {
      {ValuePlace::QRLabel3, "frequency"}, {ValuePlace::Label_Lambda, "wavelength"},
      {ValuePlace::Label_Z, "Z"},          {ValuePlace::Label_R, "R"},
      {ValuePlace::Label_RZ, "RZ"},        {ValuePlace::Label_x, "x"},
      {ValuePlace::Label_Tz, "Tz"},        {ValuePlace::Label_Tr, "Tr"},
      {ValuePlace::Label_Q, "diameter"},
  };
  // clang-format on
  ComputedValues result;
  for (const auto& [place, name] : kNames) {
    for (const CaptionWrite& write : outcome.writes) {
      if (write.place == place) result.values.emplace_back(name, write.text);
    }
  }
  return result;
}

std::string FormatText(const std::vector<ComputedValues>& blocks) {
  std::string out;
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (b > 0) out += '\n';
    for (const auto& [name, text] : blocks[b].values) out += name + '\t' + text + '\n';
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

std::string FormatJson(const std::vector<ComputedValues>& blocks, bool array) {
  std::string out = array ? "[" : "";
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (b > 0) out += ",";
    out += "{";
    const auto& values = blocks[b].values;
    for (size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out += ",";
      out += JsonString(values[i].first) + ":" + JsonString(values[i].second);
    }
    out += "}";
  }
  if (array) out += "]";
  return out + "\n";
}

std::optional<int> RunWithoutDisplay(const CommandLineOptions& options) {
  switch (options.mode) {
    case CommandLineOptions::Mode::Window:
      return std::nullopt;
    case CommandLineOptions::Mode::Help:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case CommandLineOptions::Mode::Version:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case CommandLineOptions::Mode::Compute:
      break;
  }
  if (options.simulate.Wanted()) {
    std::string error;
    const auto field = FrequencyFieldText(options.frequencies.front(), error);
    if (field) return RunSimulate(options.simulate, *field, options.json);
    std::fprintf(stderr, "hb9cv: %s\n", error.c_str());
    return kExitFailure;
  }
  std::vector<ComputedValues> blocks;
  for (const std::string& frequency : options.frequencies) {
    std::string error;
    std::optional<ComputedValues> values = ComputeFrequency(frequency, error);
    if (!values) {
      std::fprintf(stderr, "hb9cv: %s\n", error.c_str());
      return kExitFailure;
    }
    blocks.push_back(std::move(*values));
  }
  const std::string out =
      options.json ? FormatJson(blocks, options.frequencies.size() > 1) : FormatText(blocks);
  std::fputs(out.c_str(), stdout);
  if (std::fflush(stdout) != 0) return kExitFailure;
  if (options.WantsPage()) return std::nullopt;
  return 0;
}

}  // namespace hb9cv
