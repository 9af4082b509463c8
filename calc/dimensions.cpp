#include "calc/dimensions.h"

#include <cstdint>
#include <optional>

#include "calc/errors.h"
#include "calc/extended.h"
#include "calc/number_text.h"

namespace hb9cv {
namespace {

// The extended value nearest 1.4 (significand B333333333333333), and 2.5, 10 and 100.
constexpr Extended kDiameterLow(false, 16383, 0xB333333333333333);
constexpr Extended kDiameterHigh(false, 16384, 0xA000000000000000);
constexpr ExtendedDivisor kTen(Extended(false, 16386, 0xA000000000000000));
constexpr ExtendedDivisor kHundred(Extended(false, 16389, 0xC800000000000000));

[[noreturn]] void OutOfRange(double frequency) {
  throw ERangeError(HB9CV_TRANSLATE_NOOP("Errors", "The dimensions cannot be computed for %1 MHz"),
                    {FloatToStr(frequency)});
}

// `factor` times L10 (the wavelength in tenths of a millimetre), cut down to a whole step: the
// product is taken in extended precision and truncated, integer-divided by `divisor` and scaled
// to millimetres. Where the dimension falls exactly on a step, the double nearest the typed
// frequency makes the product land just below it, and the dimension is cut down by one step,
// which is the behaviour users have compared against.
double CutDown(double frequency, double l10, const Extended& factor, int64_t divisor,
               const ExtendedDivisor& scale) {
  const std::optional<int64_t> n = TruncateToSigned(Multiply(Extended(l10), factor));
  if (!n) OutOfRange(frequency);
  const int64_t m = *n / divisor;
  return static_cast<double>(Divide(ExtendedFromSigned(m), scale));
}

// k thousandths of the wavelength, in whole tenths of a millimetre.
double Length(double frequency, double l10, int k) {
  return CutDown(frequency, l10, ExtendedFromSigned(k), 1000, kTen);
}

// `factor` ten-thousandths of the wavelength, in whole hundredths of a millimetre.
double Diameter(double frequency, double l10, const Extended& factor) {
  return CutDown(frequency, l10, factor, 100, kHundred);
}

std::string Mm(double value) {
  return FloatToStr(value) + " mm";
}

}  // namespace

DimensionSet ComputeDimensions(double frequency, std::string_view diameterWords) {
  // Also false for a NaN; an INF would give a wavelength of zero, which is no antenna either.
  if (!(frequency > 0.0) || frequency > 1.7976931348623157e308) OutOfRange(frequency);
  const Extended f(frequency);
  DimensionSet d;
  d.frequency = frequency;
  d.frequency_text = FloatToStr(frequency) + " MHz";
  d.wavelength = static_cast<double>(Divide(ExtendedFromSigned(300), f));
  d.wavelength_text = FloatToStr(d.wavelength) + " m";
  const double l10 = static_cast<double>(Divide(ExtendedFromSigned(3000000), f));

  d.Z = Length(frequency, l10, 460);
  d.Z_text = Mm(d.Z);
  d.R = Length(frequency, l10, 501);
  d.R_text = Mm(d.R);
  d.RZ = Length(frequency, l10, 125);
  d.RZ_text = Mm(d.RZ);
  d.x = Length(frequency, l10, 10);
  d.x_text = Mm(d.x);
  d.Tz = Length(frequency, l10, 63);
  d.Tz_text = Mm(d.Tz);
  d.Tr = Length(frequency, l10, 68);
  d.Tr_text = Mm(d.Tr);

  d.Q_low = Diameter(frequency, l10, kDiameterLow);
  d.Q_high = Diameter(frequency, l10, kDiameterHigh);
  d.diameter_text = FillPattern(diameterWords, {FloatToStr(d.Q_low), FloatToStr(d.Q_high)});
  return d;
}

}  // namespace hb9cv
