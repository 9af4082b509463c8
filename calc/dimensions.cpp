#include "calc/dimensions.h"

#include <cstdint>

#include "calc/number_text.h"

namespace hb9cv {
namespace {

// `factor` times L10 (the wavelength in tenths of a millimetre), cut down to a whole step: the
// product is taken in extended precision and truncated, integer-divided by `divisor` and scaled
// to millimetres. Where the dimension falls exactly on a step, the double nearest the typed
// frequency makes the product land just below it, and the dimension is cut down by one step,
// which is the behaviour users have compared against.
double CutDown(double l10, long double factor, int64_t divisor, long double scale) {
  const int64_t n = static_cast<int64_t>(static_cast<long double>(l10) * factor);
  const int64_t m = n / divisor;
  return static_cast<double>(static_cast<long double>(m) / scale);
}

// k thousandths of the wavelength, in whole tenths of a millimetre.
double Length(double l10, int k) { return CutDown(l10, k, 1000, 10.0L); }

// `factor` ten-thousandths of the wavelength, in whole hundredths of a millimetre.
double Diameter(double l10, long double factor) { return CutDown(l10, factor, 100, 100.0L); }

std::string Mm(double value) { return FloatToStr(value) + " mm"; }

}  // namespace

DimensionSet ComputeDimensions(double frequency) {
  DimensionSet d;
  d.frequency = frequency;
  d.frequency_text = FloatToStr(frequency) + " MHz";
  d.wavelength = static_cast<double>(300.0L / static_cast<long double>(frequency));
  d.wavelength_text = FloatToStr(d.wavelength) + " m";
  const double l10 = static_cast<double>(3000000.0L / static_cast<long double>(frequency));

  d.Z = Length(l10, 460);
  d.Z_text = Mm(d.Z);
  d.R = Length(l10, 501);
  d.R_text = Mm(d.R);
  d.RZ = Length(l10, 125);
  d.RZ_text = Mm(d.RZ);
  d.x = Length(l10, 10);
  d.x_text = Mm(d.x);
  d.Tz = Length(l10, 63);
  d.Tz_text = Mm(d.Tz);
  d.Tr = Length(l10, 68);
  d.Tr_text = Mm(d.Tr);

  // 1.4L is the extended value nearest 1.4 (significand B333333333333333).
  d.Q_low = Diameter(l10, 1.4L);
  d.Q_high = Diameter(l10, 2.5L);
  d.diameter_text = "Průměr " + FloatToStr(d.Q_low) + " až " + FloatToStr(d.Q_high) + " mm";
  return d;
}

}  // namespace hb9cv
