#include "sim/results.h"

#include <cmath>

namespace hb9cv {
namespace {

// The angle from `peak` at which the cut falls below `level`, walking by `dir`.
double HalfWidth(const std::vector<PatternPoint>& cut, size_t peak, int dir, bool circular,
                 double level) {
  const long n = static_cast<long>(cut.size());
  long i = static_cast<long>(peak);
  double width = 0;
  for (long k = 1; k < n; ++k) {
    long j = static_cast<long>(peak) + dir * k;
    if (circular) {
      j = ((j % n) + n) % n;
    } else if (j < 0 || j >= n) {
      return width;
    }
    const double step = std::abs(cut[j].deg - cut[i].deg);
    const double angle = circular ? std::min(step, 360 - step) : step;
    if (cut[j].gainDbi < level) {
      return width + angle * (cut[i].gainDbi - level) / (cut[i].gainDbi - cut[j].gainDbi);
    }
    width += angle;
    i = j;
  }
  return width;
}

}  // namespace

double Beamwidth(const std::vector<PatternPoint>& cut, size_t peak, bool circular) {
  const double level = cut[peak].gainDbi - 3;
  return HalfWidth(cut, peak, -1, circular, level) + HalfWidth(cut, peak, 1, circular, level);
}

double MatchedSwr(std::complex<double> z, std::complex<double> design) {
  // The power-wave reflection against a source impedance of conj(design).
  const double gamma = std::abs((z - design) / (z + std::conj(design)));
  return gamma >= 1 ? INFINITY : (1 + gamma) / (1 - gamma);
}

std::pair<std::optional<double>, std::optional<double>> SwrBand(
    const std::vector<SweepPoint>& sweep, size_t centre, double limit) {
  const auto edge = [&](int dir) -> std::optional<double> {
    for (long i = static_cast<long>(centre);; i += dir) {
      const long j = i + dir;
      if (j < 0 || j >= static_cast<long>(sweep.size())) return std::nullopt;
      const SweepPoint& a = sweep[i];
      const SweepPoint& b = sweep[j];
      if (b.matchedSwr > limit) {
        return a.mhz + (b.mhz - a.mhz) * (limit - a.matchedSwr) / (b.matchedSwr - a.matchedSwr);
      }
    }
  };
  return {edge(-1), edge(1)};
}

double ParabolaPeak(double x0, double step, double y0, double y1, double y2) {
  const double curvature = y0 - 2 * y1 + y2;
  if (curvature == 0) return x0 + step;
  return x0 + step * (1 + 0.5 * (y0 - y2) / curvature);
}

}  // namespace hb9cv
