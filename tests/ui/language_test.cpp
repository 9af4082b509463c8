// The language the environment chooses, and every window and the page in each language: its texts,
// each caption inside its window or band and clear of the others.
#include "ui/language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

#include "report/model/qr_band.h"
#include "report/preview/standard_preview.h"
#include "report/print_form.h"
#include "tests/ui/test_application.h"
#include "ui/label.h"
#include "ui/main_form.h"
#include "ui/warning_form.h"

namespace hb9cv {
namespace {

TEST(Language, FirstOfCzechOrATranslationWins) {
  // clang-format off
  const struct { const char *language, *lcAll, *lang, *chosen; } rows[] = {
      {"", "", "de_AT.UTF-8", "de"},       {"", "", "en_GB.UTF-8", "en"},
      {"", "", "cs_CZ.UTF-8", "cs"},       {"cs:en", "", "de_DE.UTF-8", "cs"},
      {"fr:de:en", "", "fr_FR.UTF-8", "de"}, {"", "", "fr_FR.UTF-8", ""},
      {"de", "C.UTF-8", "de_DE.UTF-8", ""}, {"de", "", "POSIX", ""},
  };
  // clang-format on
  for (const auto& row : rows) {
    qputenv("LANGUAGE", row.language);
    qputenv("LC_ALL", row.lcAll);
    qputenv("LANG", row.lang);
    EXPECT_EQ(ChooseLanguage(UiLanguages()), QString::fromLatin1(row.chosen)) << row.lang;
  }
}

// Rectangles that must not overlap; each inside `area`.
void ExpectApart(const std::vector<std::pair<QString, QRect>>& boxes, const QRect& area) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_TRUE(area.contains(boxes[i].second)) << boxes[i].first.toStdString();
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      EXPECT_FALSE(boxes[i].second.intersects(boxes[j].second))
          << boxes[i].first.toStdString() << " / " << boxes[j].first.toStdString();
    }
  }
}

std::vector<std::pair<QString, QRect>> LabelBoxes(const QWidget* parent) {
  std::vector<std::pair<QString, QRect>> boxes;
  for (const FormLabel* l : parent->findChildren<FormLabel*>(Qt::FindDirectChildrenOnly)) {
    boxes.emplace_back(l->text(), l->geometry());
  }
  return boxes;
}

// clang-format off
struct Texts {  // main window, warning window, printed page, preview
  const char *lang, *prompt, *menu, *direction, *diameter, *warning, *button;
  const char *title, *frequencyLine, *advice, *close, *page;
};
const Texts kTexts[] = {
    {"C.UTF-8", "Vlož kmitočet =", "&Počítej| |&Nový| |&Tisk| |P&opis antény| |O &aplikaci| |&Konec",
     "Směr       vyzařování", "Průměr 2.89 až 5.17 mm", "Dělění \"0\", ty vole ...", "&Znovu",
     "Výpočet rozměrů antény typu HB9CV", "pro střední kmitočet :",
     "proměnnou kapacitu (5 - 50 pF) a tou nastavit \"ideální stav\", ale to se nikdy v praxi neosvědčilo.",
     "&Close", "Page 1 of 0"},
    {"en_US.UTF-8", "Frequency =", "&Compute| |&New| |&Print| |Antenna &description| |&About| |E&xit",
     "Beam       direction", "Diameter 2.89 to 5.17 mm", "Division by \"0\" ...", "&Again",
     "HB9CV antenna dimensions", "for centre frequency :",
     "coax centre conductor to set the \"ideal state\", but that has never proved itself in practice.",
     "&Close", "Page 1 of 0"},
    {"de_DE.UTF-8", "Frequenz =", "&Berechnen| |&Neu| |&Drucken| |&Antennenbeschreibung| |&Über| |B&eenden",
     "Haupt-       strahlrichtung", "Durchmesser 2.89 bis 5.17 mm", "Teilen durch \"0\" ...", "&Nochmal",
     "Abmessungen einer HB9CV-Antenne", "für Mittenfrequenz :",
     "Innenleiter, um den \"Idealzustand\" einzustellen, aber das hat sich in der Praxis nie bewährt.",
     "&Schließen", "Seite 1 von 0"},
};
// clang-format on

class Windows : public ::testing::TestWithParam<Texts> {
 protected:
  void SetUp() override {
    for (const char* variable : {"LANGUAGE", "LC_ALL"}) qputenv(variable, "");
    qputenv("LANG", GetParam().lang);
    InstallQtTranslation();
  }
  void TearDown() override {
    qputenv("LC_ALL", "C.UTF-8");
    InstallQtTranslation();
  }
};

TEST_P(Windows, MainWindowAfter145MHz) {
  TForm1 form;
  form.SetFieldText("0145,000");
  form.Potej1Click();
  QStringList menu;
  for (const QAction* a : form.MainMenu1->actions()) menu << a->text();
  EXPECT_EQ(menu.join('|'), GetParam().menu);
  EXPECT_EQ(form.Label1->text(), GetParam().prompt);
  EXPECT_EQ(form.Label2->text(), GetParam().direction);
  EXPECT_EQ(form.Label_Q->text(), GetParam().diameter);
  auto row = LabelBoxes(form.centralWidget());
  row.emplace_back("MaskEdit1", form.MaskEdit1->geometry());
  ExpectApart(row, QRect(QPoint(), TForm1::kClientSize));
  ExpectApart(LabelBoxes(form.Panel1), form.Panel1->rect().adjusted(2, 2, -2, -2));
}

TEST_P(Windows, Warning) {
  TForm3 warning;
  EXPECT_EQ(warning.Label1->text(), GetParam().warning);
  EXPECT_EQ(warning.BitBtn1->text(), GetParam().button);
  // The Czech caption has always reached under the button's edge; a translation stays clear.
  if (std::string(GetParam().lang) == "C.UTF-8") return;
  ExpectApart({{"Label1", warning.Label1->geometry()}, {"BitBtn1", warning.BitBtn1->geometry()}},
              warning.rect());
}

TEST_P(Windows, PrintedPage) {
  TPrintForm page;
  page.SetCaption(ValueId::Diameter, GetParam().diameter);
  EXPECT_EQ(
      QStringList({page.QRLabel1->Caption(), page.QRLabel2->Caption(), page.QRLabel11->Caption()}),
      QStringList({GetParam().title, GetParam().frequencyLine, GetParam().advice}));
  std::vector<std::pair<QString, QRect>> boxes;
  for (const auto& element : page.TitleBand1->Elements()) {
    if (const auto* l = dynamic_cast<const TQRLabel*>(element.get())) {
      // The box holds the gap under the text, which the next advice line covers by design.
      const int textHeight = l->Height() * 9 / 10;
      boxes.emplace_back(l->Caption(), QRect(l->Left(), l->Top(), l->Width(), textHeight));
    }
  }
  ExpectApart(boxes, QRect(0, 0, page.TitleBand1->PixelWidth(), page.TitleBand1->PixelHeight()));
}

TEST_P(Windows, Preview) {
  TQRStandardPreview preview;
  preview.UpdateInfo();
  EXPECT_EQ(preview.ExitButton->text(), GetParam().close);
  EXPECT_EQ(preview.findChild<QLabel*>("Panel1")->text(), GetParam().page);
  const QString close = QString(GetParam().close).remove('&');
  EXPECT_GT(preview.ExitButton->width(),
            preview.ExitButton->fontMetrics().horizontalAdvance(close));
}

INSTANTIATE_TEST_SUITE_P(Languages, Windows, ::testing::ValuesIn(kTexts));

}  // namespace
}  // namespace hb9cv
