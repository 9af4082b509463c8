#include "field/typed_frequency.h"

#include "calc/errors.h"
#include "calc/number_text.h"
#include "calc/translate.h"
#include "field/main_form_model.h"

namespace hb9cv {

std::string FieldTextOf(const std::string& typed) {
  const size_t separator = typed.find_first_of(",.");
  const std::string whole = typed.substr(0, separator);
  const std::string decimals =
      separator == std::string::npos ? std::string() : typed.substr(separator + 1);
  const auto digitsOnly = [](const std::string& s) {
    for (char c : s) {
      if (c < '0' || c > '9') return false;
    }
    return true;
  };
  // Messages write numbers as the values are written: with the locale's separator.
  const char point = DecimalSeparator();
  if (!digitsOnly(whole) || !digitsOnly(decimals) || whole.size() + decimals.size() == 0) {
    throw Exception(HB9CV_TRANSLATE_NOOP("Errors",
                                         "'%1' is not a frequency: expected up to four "
                                         "digits, then ',' or '.' and up to three decimals"),
                    {typed});
  }
  if (whole.size() > 4) {
    throw Exception(HB9CV_TRANSLATE_NOOP("Errors",
                                         "'%1' has more than four integer digits (the "
                                         "most is 9999%2999 MHz)"),
                    {typed, std::string(1, point)});
  }
  if (decimals.size() > 3) {
    throw Exception(HB9CV_TRANSLATE_NOOP("Errors",
                                         "'%1' has more than three decimals (the finest "
                                         "step is 0%2001 MHz)"),
                    {typed, std::string(1, point)});
  }
  return std::string(4 - whole.size(), '0') + whole + kFieldDecimalSeparator + decimals +
         std::string(3 - decimals.size(), '0');
}

double ReadFrequency(const std::string& typed) {
  // The same decimal number as the field's, so the same double.
  const double frequency =
      static_cast<double>(StrToFloat(FieldTextOf(typed), kFieldDecimalSeparator));
  if (frequency == 0.0) {
    throw Exception(HB9CV_TRANSLATE_NOOP("Errors", "'%1' is zero: there is nothing to compute"),
                    {typed});
  }
  return frequency;
}

}  // namespace hb9cv
