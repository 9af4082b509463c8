#include "sim/simulation.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "sim/nec_deck.h"
#include "sim/nec_output.h"
#include "sim/sim_errors.h"

namespace hb9cv {
namespace {

using Kind = PatternCut::Kind;

// Runs a deck and checks that every run printed its impedance and its patterns in full.
NecOutput RunChecked(NecEngine& nec, const AntennaModel& model,
                     const std::vector<FrequencyRun>& runs) {
  NecOutput out = ParseNecOutput(nec.Run(WriteDeck(model, runs)));
  size_t frequencies = 0;
  std::vector<int> rows;
  for (const FrequencyRun& run : runs) {
    frequencies += static_cast<size_t>(run.count);
    for (int f = 0; f < run.count; ++f) {
      for (const PatternCut& cut : run.cuts) rows.push_back(RowsOf(cut, model.heightM.has_value()));
    }
  }
  bool complete = out.impedances.size() == frequencies && out.patterns.size() == rows.size();
  for (size_t i = 0; complete && i < rows.size(); ++i) {
    complete = out.patterns[i].size() == static_cast<size_t>(rows[i]);
  }
  if (!complete) {
    throw ESimulationError(
        HB9CV_TRANSLATE_NOOP(
            "Errors", "nec2c's output is incomplete: %1 of %2 frequencies, %3 of %4 patterns"),
        {std::to_string(out.impedances.size()), std::to_string(frequencies),
         std::to_string(out.patterns.size()), std::to_string(rows.size())});
  }
  return out;
}

FrequencyRun Single(double mhz, std::vector<PatternCut> cuts) {
  return {mhz, 0, 1, std::move(cuts)};
}

// Gain forward and front-to-back of a FrontBack pattern; the ratio from the fields, whose
// digits find the best front-to-back more finely than the gains' hundredths of a dB.
std::pair<double, double> FrontBack(const std::vector<NecPatternRow>& rows) {
  const double back = rows[1].fieldVm;
  const double ratio = back > 0 ? 20 * std::log10(rows[0].fieldVm / back) : -kNecNull;
  return {rows[0].gainDbi, ratio};
}

// A sweep's front-to-back at `count` frequencies; no matched SWR.
std::vector<SweepPoint> FrontBackSweep(NecEngine& nec, const AntennaModel& model, double start,
                                       double step, int count, double elevationDeg) {
  const NecOutput out =
      RunChecked(nec, model, {{start, step, count, {{Kind::FrontBack, elevationDeg}}}});
  std::vector<SweepPoint> sweep;
  for (int i = 0; i < count; ++i) {
    const auto [gain, fb] = FrontBack(out.patterns[i]);
    sweep.push_back({start + i * step, gain, fb, 0});
  }
  return sweep;
}

size_t Strongest(const std::vector<SweepPoint>& sweep) {
  return static_cast<size_t>(std::max_element(sweep.begin(), sweep.end(),
                                              [](const auto& a, const auto& b) {
                                                return a.frontToBackDb < b.frontToBackDb;
                                              }) -
                             sweep.begin());
}

// The elevation cut in ascending angles.
std::vector<PatternPoint> ElevationCut(const std::vector<NecPatternRow>& rows) {
  std::vector<PatternPoint> cut;
  for (const NecPatternRow& row : rows)
    cut.push_back({ElevationOfTheta(row.thetaDeg), row.gainDbi});
  std::sort(cut.begin(), cut.end(), [](const auto& a, const auto& b) { return a.deg < b.deg; });
  return cut;
}

std::vector<FrequencyRun> ElevationRun(const AntennaModel& model) {
  return {Single(model.frequencyMhz, {{Kind::Elevation, 0}})};
}

}  // namespace

std::string ModelDeck(const SimulationRequest& request) {
  const AntennaModel model = ModelOf(request.design, request.diameterMm, request.heightM);
  return WriteDeck(model, ElevationRun(model));
}

SimulationResults Simulate(const SimulationRequest& request, NecEngine& nec) {
  const AntennaModel model = ModelOf(request.design, request.diameterMm, request.heightM);
  SimulationResults r;
  r.frequencyMhz = model.frequencyMhz;
  r.diameterMm = model.diameterM * 1000;
  r.heightM = model.heightM;

  // First the vertical plane, to find the elevation of the main lobe over ground.
  const NecOutput vertical = RunChecked(nec, model, ElevationRun(model));
  r.feedImpedance = vertical.impedances.front();
  r.elevation = ElevationCut(vertical.patterns.front());
  size_t lobe = 0;
  for (size_t i = 0; i < r.elevation.size() && r.elevation[i].deg <= 90; ++i) {
    if (r.elevation[i].gainDbi > r.elevation[lobe].gainDbi) lobe = i;
  }
  r.elevationDeg = r.elevation[lobe].deg;
  r.beamwidthHDeg = Beamwidth(r.elevation, lobe, !model.heightM);

  // Then the azimuth at that elevation and the sweep.
  const double f0 = model.frequencyMhz;
  const double start = f0 * (1 - kSweepSpan);
  const double step = f0 * 2 * kSweepSpan / (kSweepPoints - 1);
  const NecOutput out =
      RunChecked(nec, model,
                 {Single(f0, {{Kind::Azimuth, r.elevationDeg}}),
                  {start, step, kSweepPoints, {{Kind::FrontBack, r.elevationDeg}}}});
  for (const NecPatternRow& row : out.patterns.front())
    r.azimuth.push_back({row.phiDeg, row.gainDbi});
  const auto& az = r.azimuth;
  r.gainDbi = az[0].gainDbi;
  r.frontToBackDb = az[0].gainDbi - az[180].gainDbi;
  double rear = kNecNull;
  for (size_t i = 90; i <= 270; ++i) rear = std::max(rear, az[i].gainDbi);
  r.frontToRearDb = az[0].gainDbi - rear;
  const size_t beam = static_cast<size_t>(
      std::max_element(az.begin(), az.end(),
                       [](const auto& a, const auto& b) { return a.gainDbi < b.gainDbi; }) -
      az.begin());
  r.beamAzimuthDeg = az[beam].deg;
  r.beamwidthEDeg = Beamwidth(az, beam, true);

  for (int i = 0; i < kSweepPoints; ++i) {
    const auto [gain, fb] = FrontBack(out.patterns[1 + i]);
    r.sweep.push_back(
        {start + i * step, gain, fb, MatchedSwr(out.impedances[1 + i], r.feedImpedance)});
  }
  std::tie(r.swr2LowMhz, r.swr2HighMhz) = SwrBand(r.sweep, kSweepPoints / 2, kMatchedSwrLimit);
  r.bestFbMhz = BestFrontToBackMhz(model, r.elevationDeg, r.sweep, nec);
  if (request.diameterMm) r.corrected = CorrectLengths(request.design, *request.diameterMm, nec);
  return r;
}

double BestFrontToBackMhz(const AntennaModel& model, double elevationDeg,
                          const std::vector<SweepPoint>& coarse, NecEngine& nec) {
  std::vector<SweepPoint> sweep = coarse;
  const double f0 = model.frequencyMhz;
  if (sweep.empty()) {
    sweep =
        FrontBackSweep(nec, model, f0 * (1 - kSweepSpan), f0 * kSweepSpan / 10, 21, elevationDeg);
  }
  const size_t i = Strongest(sweep);
  if (i == 0 || i + 1 == sweep.size()) return sweep[i].mhz;
  // Finer between the neighbours, then the vertex through the best three.
  constexpr int kFine = 21;
  const double from = sweep[i - 1].mhz;
  const double step = (sweep[i + 1].mhz - from) / (kFine - 1);
  const std::vector<SweepPoint> fine = FrontBackSweep(nec, model, from, step, kFine, elevationDeg);
  const size_t j = Strongest(fine);
  if (j == 0 || j + 1 == fine.size()) return fine[j].mhz;
  return ParabolaPeak(fine[j - 1].mhz, step, fine[j - 1].frontToBackDb, fine[j].frontToBackDb,
                      fine[j + 1].frontToBackDb);
}

CorrectedLengths CorrectLengths(const DimensionSet& design, double diameterMm, NecEngine& nec) {
  const double f0 = design.frequency;
  const double target =
      BestFrontToBackMhz(ModelOf(design, std::nullopt, std::nullopt), 0, {}, nec) / f0;
  const AntennaModel tube = ModelOf(design, diameterMm, std::nullopt);
  // The best front-to-back moves almost inversely with the element lengths.
  double factor = 1;
  for (int step = 0; step < 6; ++step) {
    const double ratio = BestFrontToBackMhz(Scaled(tube, factor), 0, {}, nec) / f0;
    if (std::abs(ratio / target - 1) < 2e-5) break;
    factor *= ratio / target;
  }
  const auto cut = [](double mm) { return std::floor(mm * 10 + 1e-6) / 10; };
  return {cut(design.Z * factor), cut(design.R * factor), factor};
}

}  // namespace hb9cv
