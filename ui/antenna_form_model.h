#pragma once
// What the description window shows, apart from any widget: the design it follows, the
// request its fields make, and the result lines.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/dimensions.h"
#include "calc/translate.h"
#include "sim/results.h"
#include "sim/simulation.h"

namespace hb9cv {

// A text of the window in the user's language: `source` is marked
// HB9CV_TRANSLATE_NOOP("AntennaForm", ...). OwnWords keeps the program's own texts.
using Words = std::string (*)(const char* source);
std::string OwnWords(const char* source);

class AntennaFormModel {
 public:
  // The design for the field's text after "&Počítej"; none for a zero.
  static std::optional<DimensionSet> DesignOfField(const std::string& fieldText);
  // None: the description alone.
  void SetDesign(const std::optional<DimensionSet>& design) { design_ = design; }
  const std::optional<DimensionSet>& Design() const { return design_; }

  // The request for the fields' texts; an empty text takes the default (the recommended
  // diameter, free space). Throws EConvertError or ERangeError for a value the model cannot
  // take. Call only with a design.
  SimulationRequest Request(const std::string& diameterText, const std::string& heightText) const;

  // Label and value lines of results, with the program's decimal separator.
  static std::vector<std::pair<std::string, std::string>> ResultLines(const SimulationResults& r,
                                                                      Words words = OwnWords);
  // The corrected lengths beside the design's, or an empty text without them.
  static std::string CorrectedText(const DimensionSet& design, const SimulationResults& r,
                                   Words words = OwnWords);
  // The frame of the simulation section: what was modelled.
  static std::string Heading(const SimulationResults& r, Words words = OwnWords);

 private:
  std::optional<DimensionSet> design_;
};

// The short description of the antenna (HTML).
const char* AntennaDescription();

}  // namespace hb9cv
