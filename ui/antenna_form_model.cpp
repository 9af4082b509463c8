#include "ui/antenna_form_model.h"

#include <charconv>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "sim/model.h"

namespace hb9cv {
namespace {

std::string Fixed(double value, int decimals) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string text(buf, end.ptr);
  for (char& c : text) {
    if (c == '.') c = DecimalSeparator();
  }
  return text;
}

std::string Band(const SimulationResults& r, Words words) {
  const auto edge = [&](std::optional<double> mhz, const char* beyond) {
    return mhz ? Fixed(*mhz, 3) : words(beyond);
  };
  return FillPattern(words(HB9CV_TRANSLATE_NOOP("AntennaForm", "%1 až %2 MHz")),
                     {edge(r.swr2LowMhz, HB9CV_TRANSLATE_NOOP("AntennaForm", "pod")),
                      edge(r.swr2HighMhz, HB9CV_TRANSLATE_NOOP("AntennaForm", "nad"))});
}

}  // namespace

std::string OwnWords(const char* source) {
  return source;
}

std::optional<DimensionSet> AntennaFormModel::DesignOfField(const std::string& fieldText) {
  const double frequency = static_cast<double>(StrToFloat(fieldText, ','));
  if (frequency == 0) return std::nullopt;
  return ComputeDimensions(frequency);
}

SimulationRequest AntennaFormModel::Request(const std::string& diameterText,
                                            const std::string& heightText) const {
  SimulationRequest request{*design_, std::nullopt, std::nullopt};
  const auto blank = [](const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
  };
  if (!blank(diameterText)) request.diameterMm = ParseUserNumber(diameterText, kBadDiameter);
  if (!blank(heightText)) request.heightM = ParseUserNumber(heightText, kBadHeight);
  // Checks both values before anything runs.
  ModelOf(request.design, request.diameterMm, request.heightM);
  return request;
}

std::vector<std::pair<std::string, std::string>> AntennaFormModel::ResultLines(
    const SimulationResults& r, Words words) {
  // clang-format off
  std::vector<std::pair<std::string, std::string>> lines = {
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Zisk vpřed")), Fixed(r.gainDbi, 1) + " dBi (" + Fixed(r.GainDbd(), 1) + " dBd)"},
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Předozadní poměr")), Fixed(r.frontToBackDb, 1) + " dB"},
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Poměr vpřed / vzad (nejsilnější zadní lalok)")),
       Fixed(r.frontToRearDb, 1) + " dB"},
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Šířka svazku −3 dB v rovině prvků")), Fixed(r.beamwidthEDeg, 0) + "°"},
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Šířka svazku −3 dB kolmo k prvkům")), Fixed(r.beamwidthHDeg, 0) + "°"},
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Nejlepší předozadní poměr na")), Fixed(r.bestFbMhz, 3) + " MHz"},
      {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Pásmo PSV ≤ 2 (přizpůsobeno na návrhovém kmitočtu)")), Band(r, words)},
  };
  // clang-format on
  if (r.heightM) {
    lines.insert(lines.begin() + 1, {words(HB9CV_TRANSLATE_NOOP("AntennaForm", "Vyzařovací úhel")),
                                     Fixed(r.elevationDeg, 0) + "°"});
  }
  return lines;
}

std::string AntennaFormModel::CorrectedText(const DimensionSet& design, const SimulationResults& r,
                                            Words words) {
  if (!r.corrected) return {};
  return FillPattern(words(HB9CV_TRANSLATE_NOOP("AntennaForm",
                                                "Pro průměr %1 mm: zářič Z %2 mm (návrh %3 mm), "
                                                "reflektor R %4 mm (návrh %5 mm); RZ, x, "
                                                "Tz a Tr beze změny.")),
                     {Fixed(r.diameterMm, 2), Fixed(r.corrected->Z, 1), Fixed(design.Z, 1),
                      Fixed(r.corrected->R, 1), Fixed(design.R, 1)});
}

std::string AntennaFormModel::Heading(const SimulationResults& r, Words words) {
  const std::string ground =
      r.heightM
          ? FillPattern(
                words(HB9CV_TRANSLATE_NOOP("AntennaForm", "nad průměrnou zemí ve výšce %1 m")),
                {Fixed(*r.heightM, 1)})
          : words(HB9CV_TRANSLATE_NOOP("AntennaForm", "ve volném prostoru"));
  return FillPattern(
      words(HB9CV_TRANSLATE_NOOP("AntennaForm",
                                 "Idealizovaný model (NEC-2), %1 MHz, průměr prvků %2 mm, %3")),
      {Fixed(r.frequencyMhz, 3), Fixed(r.diameterMm, 2), ground});
}

const char* AntennaDescription() {
  return HB9CV_TRANSLATE_NOOP(
      "AntennaForm",
      "<p><b>HB9CV</b> je dvouprvková směrová anténa: <b>zářič Z</b> a o něco delší "
      "<b>reflektor R</b> na jednom ráhnu ve vzdálenosti <b>RZ</b> (asi osmina vlnové "
      "délky). Napájeny jsou oba prvky: koaxiální kabel je připojen ke svorkám X a X' "
      "u zářiče a <b>fázovací vedení</b> vede od zářiče k reflektoru, mezi nimi "
      "překřížené. Překřížení a délka vedení posunou proud reflektoru asi o 135°, takže "
      "se pole obou prvků sčítají směrem k zářiči a dozadu se ruší.</p>"
      "<p><b>x</b> je vzdálenost vedení od zářiče; vedení a prvek tvoří krátký úsek "
      "vedení, jehož impedanci určuje. <b>Tz</b> a <b>Tr</b> jsou odbočky vedení na zářiči "
      "a na reflektoru, měřené od ráhna: posouváním odboček se mění impedance, kterou "
      "vedení na prvcích vidí, a tím přizpůsobení ke kabelu a rozdělení proudů.</p>");
}

}  // namespace hb9cv
