#pragma once
// The simulation on the command line: --simulate prints what the model does, --nec writes its
// deck, --diameter and --height describe the tube and the mast.
#include <optional>
#include <string>

#include "sim/results.h"

namespace hb9cv {

struct SimulateOptions {
  bool simulate = false;
  // As given; read when the simulation runs.
  std::optional<std::string> nec;
  std::optional<std::string> diameter;
  std::optional<std::string> height;

  bool Wanted() const { return simulate || nec.has_value(); }
};

// Whether `name` is one of the four options.
bool IsSimulateOption(const std::string& name);
bool SimulateOptionTakesValue(const std::string& name);
// Stores one option; an error message for one given twice.
std::optional<std::string> ReadSimulateOption(SimulateOptions& options, const std::string& name,
                                              const std::string& value);
// How the options fit the rest of the line; an error message when they do not.
std::optional<std::string> CheckSimulateOptions(const SimulateOptions& options, size_t frequencies,
                                                bool wantsPage);

// "name<TAB>value" lines, the sweep and the patterns a line per point.
std::string SimulationText(const SimulationResults& r);
// One JSON object; numbers as JSON numbers, null for what has no value.
std::string SimulationJson(const SimulationResults& r);

// Computes the frequency the field text holds, writes the deck and/or simulates with
// `program`; prints and returns the exit code (1 for any failure).
int RunSimulate(const SimulateOptions& options, const std::string& fieldText, bool json,
                const std::string& program = "nec2c");

}  // namespace hb9cv
