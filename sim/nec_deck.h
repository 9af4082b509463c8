#pragma once
// NEC-2 input decks for the model, written the same in every locale.
#include <string>
#include <vector>

#include "sim/model.h"

namespace hb9cv {

// A radiation-pattern request at 1° steps, or two points for front-to-back.
struct PatternCut {
  enum class Kind {
    Elevation,  // the vertical plane through the boom: a full circle, or the upper half above
                // ground; see ElevationOfTheta()
    Azimuth,    // 360 directions at `elevationDeg`
    FrontBack,  // forward and backward at `elevationDeg`
  };
  Kind kind = Kind::Elevation;
  double elevationDeg = 0;
};

// `count` frequencies from `startMhz` in steps of `stepMhz`, each with these cuts.
struct FrequencyRun {
  double startMhz = 0;
  double stepMhz = 0;
  int count = 1;
  std::vector<PatternCut> cuts;
};

// The geometry (the reflector at x = 0, the radiator at x = spacing, so the beam points
// along +x, azimuth 0°), the source, the crossed line, the ground and the runs.
std::string WriteDeck(const AntennaModel& model, const std::vector<FrequencyRun>& runs);

// The rows of a cut, in the order nec2c prints them.
int RowsOf(const PatternCut& cut, bool overGround);
// The elevation-plane row's theta (at phi 0) as an angle from the forward horizon, upwards
// and on over the zenith: 0 forward, 90 up, 180 backward, 270 down.
double ElevationOfTheta(double thetaDeg);

}  // namespace hb9cv
