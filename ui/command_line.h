#pragma once
// The command line: options read into a plain record, and the computation printed as text or
// JSON. Nothing here needs a display or the Qt libraries.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ui/simulate_command.h"

namespace hb9cv {

struct CommandLineOptions {
  enum class Mode { Window, Help, Version, Compute };
  Mode mode = Mode::Window;
  // As given after --compute, in order; checked when they are computed.
  std::vector<std::string> frequencies;
  bool json = false;
  std::optional<std::string> pdf;
  std::optional<std::string> report;
  // --print: the queue, empty for the default one.
  std::optional<std::string> print;
  SimulateOptions simulate;

  // The report page is wanted as a file or on paper.
  bool WantsPage() const { return pdf || report || print; }
};

struct CommandLineError {
  std::string message;  // one line, without the usage hint
};

// `args` without the program name.
std::variant<CommandLineOptions, CommandLineError> ParseCommandLine(
    const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

// What the frequency field holds for a frequency as typed on the command line: up to four
// integer digits, "," or "." and up to three decimals. The integer places are filled with
// leading zeros and the untouched decimal places stay blank, as typing 0, 1, 4, 5 over the
// field leaves them ("0145,   "). nullopt with `error` set when the field could not hold it.
std::optional<std::string> FrequencyFieldText(const std::string& frequency, std::string& error);

// One computed frequency: the value names of the output and the label texts (UTF-8), in the
// order the names are printed.
struct ComputedValues {
  std::vector<std::pair<std::string, std::string>> values;
};

// Reads `frequency` as the field would hold it and computes as the compute command does.
// nullopt with `error` set for a text the field cannot hold, one that does not convert, or
// zero.
std::optional<ComputedValues> ComputeFrequency(const std::string& frequency, std::string& error);

// "name<TAB>text" lines; blocks separated by an empty line.
std::string FormatText(const std::vector<ComputedValues>& blocks);
// One JSON object, or an array of them when `array` is set.
std::string FormatJson(const std::vector<ComputedValues>& blocks, bool array);
std::string JsonString(const std::string& utf8);

// --help, --version and --compute without a page; nullopt when the window or the report is
// needed. Writes to the streams and returns the exit code.
std::optional<int> RunWithoutDisplay(const CommandLineOptions& options);

// Exit codes.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace hb9cv
