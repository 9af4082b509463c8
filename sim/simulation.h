#pragma once
// A design simulated: the runs nec2c makes for it, read into results, and the element lengths
// corrected for another tube diameter.
#include <optional>
#include <string>
#include <vector>

#include "calc/dimensions.h"
#include "sim/model.h"
#include "sim/results.h"

namespace hb9cv {

// Runs one deck and returns nec2c's printed output. The seam tests replace.
class NecEngine {
 public:
  virtual ~NecEngine() = default;
  virtual std::string Run(const std::string& deck) = 0;
};

struct SimulationRequest {
  DimensionSet design;
  std::optional<double> diameterMm;  // none: the middle of the recommended range
  std::optional<double> heightM;     // none: free space
};

// ±5 % around the design frequency.
inline constexpr int kSweepPoints = 61;
inline constexpr double kSweepSpan = 0.05;
inline constexpr double kMatchedSwrLimit = 2.0;

// The deck other NEC programs can run: the model at the design frequency with the vertical
// pattern through the boom, whose forward maximum is the gain Simulate() reports.
std::string ModelDeck(const SimulationRequest& request);

// Throws ERangeError for a bad diameter or height, ESimulationError when nec2c fails.
SimulationResults Simulate(const SimulationRequest& request, NecEngine& nec);

// Where the model's front-to-back is best, at `elevationDeg`; `coarse` is a sweep already made,
// or empty to make one.
double BestFrontToBackMhz(const AntennaModel& model, double elevationDeg,
                          const std::vector<SweepPoint>& coarse, NecEngine& nec);

// Both lengths scaled so that the model with `diameterMm` has its best front-to-back as far
// from the design frequency as the model with the recommended diameter has, in free space.
CorrectedLengths CorrectLengths(const DimensionSet& design, double diameterMm, NecEngine& nec);

}  // namespace hb9cv
