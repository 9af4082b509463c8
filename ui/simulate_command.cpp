#include "ui/simulate_command.h"

#include <charconv>
#include <fstream>

#include "calc/dimensions.h"
#include "calc/errors.h"
#include "calc/number_text.h"
#include "sim/model.h"
#include "sim/nec_runner.h"
#include "sim/simulation.h"
#include "ui/command_line_error.h"

namespace hb9cv {
namespace {

std::string Fixed(double value, int decimals) {
  char buf[64];
  const auto result =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  return std::string(buf, result.ptr);
}

// The values in output order: name, text of the number ("null" for none).
using Named = std::vector<std::pair<std::string, std::string>>;

Named Values(const SimulationResults& r) {
  const auto mhz = [](std::optional<double> v) { return v ? Fixed(*v, 4) : "null"; };
  Named values = {
      {"frequency_mhz", Fixed(r.frequencyMhz, 3)},
      {"diameter_mm", Fixed(r.diameterMm, 2)},
      {"height_m", r.heightM ? Fixed(*r.heightM, 2) : "null"},
      {"gain_dbi", Fixed(r.gainDbi, 2)},
      {"gain_dbd", Fixed(r.GainDbd(), 2)},
      {"front_to_back_db", Fixed(r.frontToBackDb, 2)},
      {"front_to_rear_db", Fixed(r.frontToRearDb, 2)},
      {"beamwidth_e_deg", Fixed(r.beamwidthEDeg, 1)},
      {"beamwidth_h_deg", Fixed(r.beamwidthHDeg, 1)},
      {"best_fb_mhz", Fixed(r.bestFbMhz, 4)},
      {"matched_swr2_low_mhz", mhz(r.swr2LowMhz)},
      {"matched_swr2_high_mhz", mhz(r.swr2HighMhz)},
  };
  if (r.corrected) {
    values.emplace_back("corrected_Z_mm", Fixed(r.corrected->Z, 1));
    values.emplace_back("corrected_R_mm", Fixed(r.corrected->R, 1));
  }
  return values;
}

// Every 5°: the cuts are at 1°.
template <typename Each>
void EveryFive(const std::vector<PatternPoint>& cut, Each each) {
  for (const PatternPoint& p : cut) {
    const long deg = std::lround(p.deg);
    if (deg % 5 == 0 && std::abs(p.deg - static_cast<double>(deg)) < 1e-6) each(p);
  }
}

double ReadValue(const std::optional<std::string>& text, const char* message) {
  return ParseUserNumber(*text, message);
}

}  // namespace

bool IsSimulateOption(const std::string& name) {
  return name == "--simulate" || SimulateOptionTakesValue(name);
}

bool SimulateOptionTakesValue(const std::string& name) {
  return name == "--nec" || name == "--diameter" || name == "--height";
}

void ReadSimulateOption(SimulateOptions& options, const std::string& name,
                        const std::string& value) {
  if (name == "--simulate") {
    options.simulate = true;
    return;
  }
  std::optional<std::string>& slot = name == "--nec"        ? options.nec
                                     : name == "--diameter" ? options.diameter
                                                            : options.height;
  if (slot) throw CommandLineError(kGivenTwice, {name});
  slot = value;
}

void CheckSimulateOptions(const SimulateOptions& options, size_t frequencies, bool wantsPage) {
  if (!options.Wanted()) {
    const char* alone = options.diameter ? "--diameter" : options.height ? "--height" : nullptr;
    if (alone != nullptr) {
      throw CommandLineError(
          HB9CV_TRANSLATE_NOOP("Errors", "option '%1' needs --simulate or --nec"), {alone});
    }
    return;
  }
  if (frequencies != 1) {
    throw CommandLineError(
        HB9CV_TRANSLATE_NOOP("Errors", "--simulate and --nec take a single --compute"), {});
  }
  if (wantsPage) {
    throw CommandLineError(
        HB9CV_TRANSLATE_NOOP("Errors",
                             "--simulate and --nec do not go with --pdf, --report or --print"),
        {});
  }
}

std::string SimulationText(const SimulationResults& r) {
  std::string out;
  for (const auto& [name, value] : Values(r)) out += name + '\t' + value + '\n';
  for (const SweepPoint& p : r.sweep) {
    out += "sweep\t" + Fixed(p.mhz, 4) + '\t' + Fixed(p.gainDbi, 2) + '\t' +
           Fixed(p.frontToBackDb, 2) + '\t' + Fixed(p.matchedSwr, 3) + '\n';
  }
  EveryFive(r.azimuth, [&](const PatternPoint& p) {
    out += "azimuth\t" + Fixed(p.deg, 0) + '\t' + Fixed(p.gainDbi, 2) + '\n';
  });
  EveryFive(r.elevation, [&](const PatternPoint& p) {
    out += "elevation\t" + Fixed(p.deg, 0) + '\t' + Fixed(p.gainDbi, 2) + '\n';
  });
  return out;
}

std::string SimulationJson(const SimulationResults& r) {
  std::string out = "{";
  for (const auto& [name, value] : Values(r)) out += "\"" + name + "\":" + value + ",";
  out += "\"sweep\":[";
  for (size_t i = 0; i < r.sweep.size(); ++i) {
    const SweepPoint& p = r.sweep[i];
    out += std::string(i ? "," : "") + "{\"mhz\":" + Fixed(p.mhz, 4) +
           ",\"gain_dbi\":" + Fixed(p.gainDbi, 2) +
           ",\"front_to_back_db\":" + Fixed(p.frontToBackDb, 2) +
           ",\"matched_swr\":" + Fixed(p.matchedSwr, 3) + "}";
  }
  for (const auto& [name, cut] : {std::pair{"azimuth", &r.azimuth}, {"elevation", &r.elevation}}) {
    out += std::string("],\"") + name + "\":[";
    bool first = true;
    EveryFive(*cut, [&](const PatternPoint& p) {
      out += std::string(first ? "" : ",") + "{\"deg\":" + Fixed(p.deg, 0) +
             ",\"gain_dbi\":" + Fixed(p.gainDbi, 2) + "}";
      first = false;
    });
  }
  return out + "]}\n";
}

std::string RunSimulate(const SimulateOptions& options, double frequency, bool json,
                        const std::string& program) {
  SimulationRequest request{ComputeDimensions(frequency), std::nullopt, std::nullopt};
  if (options.diameter) request.diameterMm = ReadValue(options.diameter, kBadDiameter);
  if (options.height) request.heightM = ReadValue(options.height, kBadHeight);
  if (options.nec) {
    const std::string deck = ModelDeck(request);
    std::ofstream file(*options.nec, std::ios::binary);
    if (!(file << deck) || !file.flush()) {
      throw Exception(HB9CV_TRANSLATE_NOOP("Errors", "'%1' could not be written"), {*options.nec});
    }
  }
  if (!options.simulate) return {};
  NecProcess nec(QString::fromStdString(program));
  const SimulationResults results = Simulate(request, nec);
  return json ? SimulationJson(results) : SimulationText(results);
}

}  // namespace hb9cv
