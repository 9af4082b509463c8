#include "sim/model.h"

#include <gtest/gtest.h>

#include <clocale>

#include "calc/errors.h"
#include "sim/nec_deck.h"

namespace hb9cv {
namespace {

TEST(ModelTest, DeckForTheDesign) {
  // 145 MHz: Z 951,7 mm, R 1036,5 mm, RZ 258,6 mm, diameters 2,89 to 5,17 mm. A locale with a
  // decimal comma must not reach the deck.
  const char* locale = std::setlocale(LC_ALL, "cs_CZ.UTF-8");
  const AntennaModel model = ModelOf(ComputeDimensions(145), std::nullopt, std::nullopt);
  const std::string deck =
      WriteDeck(model, {{145, 0, 1, {{PatternCut::Kind::Azimuth, 0}}},
                        {137.75, 0.25, 61, {{PatternCut::Kind::FrontBack, 20}}}});
  if (locale != nullptr) std::setlocale(LC_ALL, "C");
  EXPECT_EQ(deck.substr(deck.find("CE\n")),
            "CE\n"
            "GW 1 21 0.2586 -0.47585 0 0.2586 0.47585 0 0.0020150000000000003\n"
            "GW 2 23 0 -0.51825 0 0 0.51825 0 0.0020150000000000003\n"
            "GE 0\n"
            "TL 1 11 2 12 -50 0 0 0 0 0\n"
            "EX 0 1 11 0 1 0\n"
            "FR 0 1 0 0 145 0\n"
            "RP 0 1 360 1000 90 0 1 1\n"
            "FR 0 61 0 0 137.75 0.25\n"
            "RP 0 1 2 1000 70 0 1 180\n"
            "EN\n");
  const std::string ground = WriteDeck(ModelOf(ComputeDimensions(145), 6, 10),
                                       {{145, 0, 1, {{PatternCut::Kind::Elevation, 0}}}});
  EXPECT_NE(ground.find("GW 2 23 0 -0.51825 10 0 0.51825 10 0.003\nGE 1\nGN 0 0 0 0 13 0.005\n"),
            std::string::npos);
  EXPECT_NE(ground.find("RP 0 181 1 1000 -90 0 1 1\n"), std::string::npos);
}

TEST(ModelTest, SegmentsAndRefusedValues) {
  // clang-format off
  const std::pair<double, int> segments[] = {
      {0.46, 21}, {0.501, 23}, {1.0, 45}, {0.3, 15}, {0.01, 3}, {0.2, 9},
  };
  // clang-format on
  for (const auto& [wavelengths, n] : segments) EXPECT_EQ(SegmentsFor(wavelengths * 2, 2), n);

  const DimensionSet d = ComputeDimensions(145);  // half the spacing: 129,3 mm
  const std::pair<std::optional<double>, std::optional<double>> refused[] = {
      {0, {}}, {-1, {}}, {129.3, {}}, {{}, 0}, {{}, -5}, {{}, 1000.01},
  };
  for (const auto& [diameter, height] : refused) {
    EXPECT_THROW(ModelOf(d, diameter, height), ERangeError);
  }
  EXPECT_NO_THROW(ModelOf(d, 129.2, 1000));

  const std::pair<const char*, double> numbers[] = {{"4,5", 4.5}, {" 4.5 ", 4.5}, {"12", 12}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(ParseUserNumber(text, "x"), value);
  for (const char* text : {"", "abc", "4,5mm", "4.5.1", "inf"}) {
    EXPECT_THROW(ParseUserNumber(text, "x"), EConvertError) << text;
  }
}

}  // namespace
}  // namespace hb9cv
