#include "field/main_form_model.h"

#include "calc/number_text.h"

namespace hb9cv {

ComputeOutcome ComputeFromField(const std::string& fieldText, std::string_view diameterWords) {
  // Read with the field's own comma: with the locale's separator a "." locale could never
  // convert anything the field can hold.
  const double frequency = static_cast<double>(StrToFloat(fieldText, kFieldDecimalSeparator));
  ComputeOutcome outcome;
  if (frequency == 0.0) {
    outcome.zero = true;
    return outcome;
  }
  outcome.writes = ResultWrites(ComputeDimensions(frequency, diameterWords));
  return outcome;
}

std::vector<CaptionWrite> ResultWrites(const DimensionSet& d) {
  std::vector<CaptionWrite> writes;
  for (const ValueRow& row : kValueTable) {
    if (row.onWindow) writes.push_back({row.id, LabelSet::Window, d.*row.text});
    if (row.onReport) writes.push_back({row.id, LabelSet::Report, d.*row.text});
  }
  return writes;
}

std::vector<CaptionWrite> ResetWrites() {
  std::vector<CaptionWrite> writes;
  for (const ValueRow& row : kValueTable) {
    if (row.onWindow) writes.push_back({row.id, LabelSet::Window, "0"});
  }
  for (const ValueRow& row : kValueTable) {
    if (row.onReport) writes.push_back({row.id, LabelSet::Report, std::string("0 ") + row.unit});
  }
  return writes;
}

}  // namespace hb9cv
