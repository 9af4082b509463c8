#pragma once
// What the main window's commands decide, apart from any widget: which captions change, to
// what, and in which order.
#include <string>
#include <vector>

#include "calc/dimensions.h"
#include "calc/value_table.h"

namespace hb9cv {

// A value's label on the main window or on the report page.
enum class LabelSet { Window, Report };

struct CaptionWrite {
  ValueId value;
  LabelSet on;
  std::string text;  // UTF-8
  bool operator==(const CaptionWrite&) const = default;
};

// The frequency field always writes its decimal places after a comma, whatever the locale.
inline constexpr char kFieldDecimalSeparator = ',';
// The field's mask and length, and what it shows after a reset.
inline constexpr char kFieldEditMask[] = "9999,999;1;_";
inline constexpr int kFieldMaxLength = 8;
inline constexpr char kFieldResetText[] = "0000,000";

// The outcome of "compute" for one field text.
struct ComputeOutcome {
  bool zero = false;                 // warn instead of computing; the captions stay
  std::vector<CaptionWrite> writes;  // in the order they are to be made
};

// Converts the field's text and computes. Throws EConvertError (before anything has been
// decided) when the text is not a number. `diameterWords`: see ComputeDimensions.
ComputeOutcome ComputeFromField(const std::string& fieldText,
                                std::string_view diameterWords = kDiameterWords);

// The captions for one result, value by value: its window label, then its report label.
std::vector<CaptionWrite> ResultWrites(const DimensionSet& d);

// The captions of a reset: every window value "0", then every report value "0" and its unit.
std::vector<CaptionWrite> ResetWrites();

}  // namespace hb9cv
