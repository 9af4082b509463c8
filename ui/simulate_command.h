#pragma once
// The simulation on the command line: --simulate prints what the model does, --nec writes its
// deck, --diameter and --height describe the tube and the mast.
#include <cstddef>
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
// Stores one option; throws CommandLineError for one given twice.
void ReadSimulateOption(SimulateOptions& options, const std::string& name,
                        const std::string& value);
// How the options fit the rest of the line; throws CommandLineError when they do not.
void CheckSimulateOptions(const SimulateOptions& options, size_t frequencies, bool wantsPage);

// "name<TAB>value" lines, the sweep and the patterns a line per point.
std::string SimulationText(const SimulationResults& r);
// One JSON object; numbers as JSON numbers, null for what has no value.
std::string SimulationJson(const SimulationResults& r);

// Computes the design for `frequency` (MHz, not zero), writes the deck and/or simulates with
// `program`, and returns the results to print (nothing when only the deck was asked for).
// Throws Exception for a refused value, a deck that cannot be written or a simulation that
// fails. A simulation needs the application object (QProcess's notifiers), which the command
// line starts.
std::string RunSimulate(const SimulateOptions& options, double frequency, bool json,
                        const std::string& program = "nec2c");

}  // namespace hb9cv
