#pragma once
// What the main window's commands decide, apart from any widget: which captions change, to
// what, and in which order.
#include <string>
#include <vector>

#include "calc/dimensions.h"

namespace hb9cv {

// The value places: the window's labels and the report's labels that the commands write.
enum class ValuePlace {
  QRLabel3,  // report: the frequency
  Label_Lambda,
  Label_Z,
  QRLabel_Z,
  Label_R,
  QRLabel_R,
  Label_RZ,
  QRLabel_RZ,
  Label_x,
  QRLabel_x,
  Label_Tz,
  QRLabel_Tz,
  Label_Tr,
  QRLabel_Tr,
  Label_Q,
  QRLabel_Q,
};

bool IsReportPlace(ValuePlace place);

enum class ReportValue;
// The report's value a report place shows (the frequency for QRLabel3 and every other place).
ReportValue ReportValueOf(ValuePlace place);

struct CaptionWrite {
  ValuePlace place;
  std::string text;  // UTF-8
  bool operator==(const CaptionWrite&) const = default;
};

// The frequency field always writes its decimal places after a comma, whatever the locale.
inline constexpr char kFieldDecimalSeparator = ',';
// What the field shows after a reset.
inline constexpr char kFieldResetText[] = "0000,000";

// The outcome of "compute" for one field text.
struct ComputeOutcome {
  bool zero = false;                 // warn instead of computing; the captions stay
  std::vector<CaptionWrite> writes;  // in the order they are to be made
};

// Converts the field's text and computes. Throws EConvertError (before anything has been
// decided) when the text is not a number.
ComputeOutcome ComputeFromField(const std::string& field_text);

// The captions for one result: the report's frequency, the wavelength, then each dimension's
// window label followed by its report label, the diameter last.
std::vector<CaptionWrite> ResultWrites(const DimensionSet& d);

// The captions of a reset: every window value "0", the report's frequency "0 MHz", the rest
// "0 mm".
std::vector<CaptionWrite> ResetWrites();

}  // namespace hb9cv
