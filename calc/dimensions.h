#pragma once
// The dimensions of a two-element HB9CV antenna for one centre frequency.
#include <string>
#include <string_view>

#include "calc/translate.h"

namespace hb9cv {

struct DimensionSet {
  double frequency = 0;   // MHz
  double wavelength = 0;  // m
  // Millimetres, each cut down to a whole tenth of a millimetre.
  double Z = 0;   // radiator length
  double R = 0;   // reflector length
  double RZ = 0;  // spacing between reflector and radiator
  double x = 0;   // gap between phasing line and radiator
  double Tz = 0;  // phasing-line tap on the radiator, from the boom
  double Tr = 0;  // phasing-line tap on the reflector, from the boom
  // Recommended element diameter in millimetres, cut down to whole hundredths.
  double Q_low = 0;
  double Q_high = 0;

  // Display texts (UTF-8), written with the current decimal separator.
  std::string frequency_text;   // "145 MHz"
  std::string wavelength_text;  // "2,06896551724138 m"
  std::string Z_text;
  std::string R_text;
  std::string RZ_text;
  std::string x_text;
  std::string Tz_text;
  std::string Tr_text;
  std::string diameter_text;  // "Průměr 2,89 až 5,17 mm"
};

// The diameter text's words around the smallest (%1) and largest (%2) diameter.
inline constexpr char kDiameterWords[] = HB9CV_TRANSLATE_NOOP("Dimensions", "Průměr %1 až %2 mm");

// `frequency` in MHz must be finite and above about 1.63E-10 (below that the reflector, in
// tenths of a millimetre, no longer fits a 64-bit integer); anything else, zero included,
// throws ERangeError. The caller turns a zero away before calling.
// `diameterWords` is kDiameterWords or its translation.
DimensionSet ComputeDimensions(double frequency, std::string_view diameterWords = kDiameterWords);

}  // namespace hb9cv
