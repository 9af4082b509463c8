#pragma once
// What a simulation tells about a design, and the arithmetic that reads it off the patterns.
#include <complex>
#include <optional>
#include <utility>
#include <vector>

namespace hb9cv {

// Gain of a half-wave dipole over an isotropic radiator.
inline constexpr double kDipoleGainDbi = 2.15;

struct PatternPoint {
  double deg = 0;
  double gainDbi = 0;
};

struct SweepPoint {
  double mhz = 0;
  double gainDbi = 0;
  double frontToBackDb = 0;
  double matchedSwr = 0;
};

// Lengths for the user's tube, cut to 0.1 mm like the design's.
struct CorrectedLengths {
  double Z = 0;  // mm
  double R = 0;
  double factor = 1;  // applied to both design lengths before cutting
};

struct SimulationResults {
  double frequencyMhz = 0;
  double diameterMm = 0;
  std::optional<double> heightM;  // none: free space
  double gainDbi = 0;             // forward, at elevationDeg
  double frontToBackDb = 0;
  double frontToRearDb = 0;   // against the strongest direction of the rear half
  double beamwidthEDeg = 0;   // in the plane of the elements (azimuth)
  double beamwidthHDeg = 0;   // across it (the vertical plane through the boom)
  double elevationDeg = 0;    // of the main lobe; 0 in free space
  double beamAzimuthDeg = 0;  // where the azimuth cut is strongest; 0 is towards the radiator
  double bestFbMhz = 0;
  std::optional<double> swr2LowMhz;  // none: beyond the sweep
  std::optional<double> swr2HighMhz;
  std::complex<double> feedImpedance;  // at the radiator's centre, not at the taps
  std::vector<SweepPoint> sweep;
  std::vector<PatternPoint> azimuth;    // 0..359°
  std::vector<PatternPoint> elevation;  // from the forward horizon upwards (ElevationOfTheta)
  std::optional<CorrectedLengths> corrected;

  double GainDbd() const { return gainDbi - kDipoleGainDbi; }
};

// The −3 dB width of the lobe around `peak`, interpolated between points; `circular` cuts
// wrap around, others end at their first and last point.
double Beamwidth(const std::vector<PatternPoint>& cut, size_t peak, bool circular);

// The SWR against a match made perfect at the design frequency (conjugate of `design`).
double MatchedSwr(std::complex<double> z, std::complex<double> design);

// Where the matched SWR crosses `limit` going down and up from `centre`, interpolated;
// none where it stays below within the sweep.
std::pair<std::optional<double>, std::optional<double>> SwrBand(
    const std::vector<SweepPoint>& sweep, size_t centre, double limit);

// The abscissa of the vertex of the parabola through three equally spaced points.
double ParabolaPeak(double x0, double step, double y0, double y1, double y2);

}  // namespace hb9cv
