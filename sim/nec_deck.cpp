#include "sim/nec_deck.h"

#include <charconv>
#include <cmath>

namespace hb9cv {
namespace {

// Shortest round-trip digits; never the locale's separator.
std::string Num(double value) {
  char buf[32];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, result.ptr);
}

std::string Card(const char* name, std::initializer_list<std::string> fields) {
  std::string line = name;
  for (const std::string& f : fields) line += ' ' + f;
  return line + '\n';
}

std::string PatternCard(const PatternCut& cut, bool overGround) {
  const std::string theta = Num(90 - cut.elevationDeg);
  switch (cut.kind) {
    case PatternCut::Kind::Elevation:
      // Over ground only the upper half: nec2c gives nothing below the horizon.
      return overGround ? Card("RP", {"0", "181", "1", "1000", "-90", "0", "1", "1"})
                        : Card("RP", {"0", "360", "1", "1000", "-180", "0", "1", "1"});
    case PatternCut::Kind::Azimuth:
      return Card("RP", {"0", "1", "360", "1000", theta, "0", "1", "1"});
    case PatternCut::Kind::FrontBack:
      return Card("RP", {"0", "1", "2", "1000", theta, "0", "1", "180"});
  }
  return {};
}

}  // namespace

int RowsOf(const PatternCut& cut, bool overGround) {
  switch (cut.kind) {
    case PatternCut::Kind::Elevation:
      return overGround ? 181 : 360;
    case PatternCut::Kind::Azimuth:
      return 360;
    case PatternCut::Kind::FrontBack:
      return 2;
  }
  return 0;
}

double ElevationOfTheta(double thetaDeg) {
  const double e = 90 - thetaDeg;
  return e < 0 ? e + 360 : e;
}

std::string WriteDeck(const AntennaModel& m, const std::vector<FrequencyRun>& runs) {
  const int nz = SegmentsFor(m.radiatorM, m.wavelengthM);
  const int nr = SegmentsFor(m.reflectorM, m.wavelengthM);
  const std::string z = Num(m.heightM.value_or(0));
  const std::string radius = Num(m.diameterM / 2);
  std::string deck;
  deck += "CM HB9CV for " + Num(m.frequencyMhz) + " MHz, idealised model: radiator (tag 1) and\n";
  deck += "CM reflector (tag 2) fed at the centres, joined by a crossed line\n";
  deck += "CE\n";
  deck += Card("GW", {"1", std::to_string(nz), Num(m.spacingM), Num(-m.radiatorM / 2), z,
                      Num(m.spacingM), Num(m.radiatorM / 2), z, radius});
  deck += Card("GW", {"2", std::to_string(nr), "0", Num(-m.reflectorM / 2), z, "0",
                      Num(m.reflectorM / 2), z, radius});
  const bool ground = m.heightM.has_value();
  deck += Card("GE", {ground ? "1" : "0"});
  if (ground) {
    deck += Card("GN", {"0", "0", "0", "0", Num(kGroundPermittivity), Num(kGroundConductivity)});
  }
  const std::string cz = std::to_string(nz / 2 + 1);
  const std::string cr = std::to_string(nr / 2 + 1);
  // Length 0: nec2c takes the distance between the two segments.
  deck += Card("TL", {"1", cz, "2", cr, Num(m.lineImpedanceOhm), "0", "0", "0", "0", "0"});
  deck += Card("EX", {"0", "1", cz, "0", "1", "0"});
  for (const FrequencyRun& run : runs) {
    deck +=
        Card("FR", {"0", std::to_string(run.count), "0", "0", Num(run.startMhz), Num(run.stepMhz)});
    for (const PatternCut& cut : run.cuts) deck += PatternCard(cut, ground);
  }
  deck += "EN\n";
  return deck;
}

}  // namespace hb9cv
