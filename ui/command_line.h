#pragma once
// The command line: options read into a plain record, frequencies read as the field reads
// them, and the computed values printed as text or JSON. Nothing here needs a display or the
// Qt libraries.
#include <optional>
#include <string>
#include <vector>

#include "calc/dimensions.h"
#include "calc/errors.h"
#include "ui/command_line_error.h"
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

// `args` without the program name. Throws CommandLineError.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

// A frequency as typed on the command line, read as the frequency field holds it: up to four
// integer digits, "," or "." and up to three decimals. Throws Exception for a text the field
// could not hold and for zero, which the window refuses too.
double ReadFrequency(const std::string& typed);

// "name<TAB>text" lines, the texts as the window shows them; blocks separated by an empty
// line.
std::string FormatText(const std::vector<DimensionSet>& blocks);
// One JSON object, or an array of them when `array` is set: each value's text under its name,
// then its numbers as JSON numbers (always with a point).
std::string FormatJson(const std::vector<DimensionSet>& blocks, bool array);
std::string JsonString(const std::string& utf8);

// Exit codes.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace hb9cv
