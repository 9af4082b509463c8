#pragma once
// The idealised NEC-2 model of a computed design: the radiator and the reflector as two
// parallel straight wires, fed at the radiator's centre, joined centre to centre by a crossed
// transmission line (docs/simulation.md).
#include <optional>
#include <string>

#include "calc/dimensions.h"
#include "calc/translate.h"

namespace hb9cv {

// Line impedance of the phasing line in the model; negative: crossed.
inline constexpr double kLineImpedanceOhm = -50.0;
inline constexpr double kSegmentsPerWavelength = 45.0;
// Average ground.
inline constexpr double kGroundPermittivity = 13.0;
inline constexpr double kGroundConductivity = 0.005;  // S/m
inline constexpr double kMaxHeightM = 1000.0;

struct AntennaModel {
  double frequencyMhz = 0;  // design frequency
  double wavelengthM = 0;
  double radiatorM = 0;  // element lengths and their spacing
  double reflectorM = 0;
  double spacingM = 0;
  double diameterM = 0;
  std::optional<double> heightM;  // none: free space
  double lineImpedanceOhm = kLineImpedanceOhm;
};

// The middle of the recommended diameter range, in millimetres.
double DesignDiameterMm(const DimensionSet& design);

// Throws ERangeError for a diameter that is not positive or is at least half the spacing, and
// for a height that is not positive or above kMaxHeightM.
AntennaModel ModelOf(const DimensionSet& design, std::optional<double> diameterMm,
                     std::optional<double> heightM);

// Both elements scaled by `factor`, the spacing kept.
AntennaModel Scaled(AntennaModel model, double factor);

// Segments for a wire: about kSegmentsPerWavelength a wavelength, always odd so that one
// segment sits at the centre, at least three.
int SegmentsFor(double lengthM, double wavelengthM);

// A number typed by the user: "," or "." as the decimal separator, surrounding blanks allowed.
// Throws EConvertError with `message` (an error message marked for translation, %1 the text)
// for anything else.
double ParseUserNumber(const std::string& text, const char* message);

// The messages for a diameter and a height that are no number.
inline constexpr char kBadDiameter[] =
    HB9CV_TRANSLATE_NOOP("Errors", "'%1' is not a valid diameter in mm");
inline constexpr char kBadHeight[] =
    HB9CV_TRANSLATE_NOOP("Errors", "'%1' is not a valid height in m");

}  // namespace hb9cv
