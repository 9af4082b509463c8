#include "sim/model.h"

#include <charconv>
#include <cmath>

#include "calc/errors.h"
#include "calc/number_text.h"

namespace hb9cv {

double DesignDiameterMm(const DimensionSet& design) {
  return (design.Q_low + design.Q_high) / 2;
}

AntennaModel ModelOf(const DimensionSet& design, std::optional<double> diameterMm,
                     std::optional<double> heightM) {
  const double diameter = diameterMm.value_or(DesignDiameterMm(design));
  if (!(diameter > 0) || diameter >= design.RZ / 2) {
    throw ERangeError(HB9CV_TRANSLATE_NOOP("Errors",
                                           "The element diameter must be above 0 mm and "
                                           "below half the spacing (%1 mm)"),
                      {FloatToStr(design.RZ / 2)});
  }
  if (heightM && !(*heightM > 0 && *heightM <= kMaxHeightM)) {
    throw ERangeError(HB9CV_TRANSLATE_NOOP(
                          "Errors", "The height above ground must be above 0 m and at most 1000 m"),
                      {});
  }
  AntennaModel m;
  m.frequencyMhz = design.frequency;
  m.wavelengthM = design.wavelength;
  m.radiatorM = design.Z / 1000;
  m.reflectorM = design.R / 1000;
  m.spacingM = design.RZ / 1000;
  m.diameterM = diameter / 1000;
  m.heightM = heightM;
  return m;
}

AntennaModel Scaled(AntennaModel model, double factor) {
  model.radiatorM *= factor;
  model.reflectorM *= factor;
  return model;
}

int SegmentsFor(double lengthM, double wavelengthM) {
  const int n = static_cast<int>(std::lround(kSegmentsPerWavelength * lengthM / wavelengthM));
  return n < 3 ? 3 : n | 1;
}

double ParseUserNumber(const std::string& text, const char* message) {
  std::string s;
  for (char c : text) {
    if (c == ',') c = '.';
    if (c != ' ' && c != '\t') s += c;
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
    throw EConvertError(message, {text});
  }
  return value;
}

}  // namespace hb9cv
