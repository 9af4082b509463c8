// The language the environment chooses, and every window, the page (on the screen and on a
// 600-dpi printer) and the error messages in each language: its texts, each caption inside its
// window or page and clear of the others.
#include "ui/language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include "report/preview/standard_preview.h"
#include "report/print_form.h"
#include "sim/nec_runner.h"
#include "tests/report/report_test_util.h"
#include "tests/ui/test_application.h"
#include "ui/antenna_form.h"
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

// Every visible label and button of `window` whole (as large as it asks to be) and apart.
void ExpectLaidOut(const QWidget* window) {
  ASSERT_TRUE(window->isVisible());
  QCoreApplication::processEvents();  // the layouts that new texts asked for
  std::vector<std::pair<QString, QRect>> boxes;
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (w->isVisible() && (qobject_cast<const QLabel*>(w) || w->inherits("QAbstractButton"))) {
      const QSize need = w->hasHeightForWidth()
                             ? QSize(w->minimumSizeHint().width(), w->heightForWidth(w->width()))
                             : w->sizeHint();
      const QString text = w->property("text").toString();
      EXPECT_TRUE(w->width() >= need.width() && w->height() >= need.height()) << text.toStdString();
      boxes.emplace_back(text, QRect(w->mapTo(window, QPoint()), w->size()));
    }
  }
  ExpectApart(boxes, window->rect());
}

// clang-format off
struct Texts {  // main window, warning window, printed page, preview, description, About, errors
  const char *lang, *prompt, *menu, *direction, *diameter, *warning, *button;
  const char *title, *frequencyLine, *advice, *close, *page;
  const char *description, *about, *simulationError;
};
const Texts kTexts[] = {
    {"C.UTF-8", "Vlož kmitočet =", "&Počítej| |&Nový| |&Tisk| |P&opis antény| |O &aplikaci| |&Konec",
     "Směr       vyzařování", "Průměr 2.89 až 5.17 mm", "Dělění \"0\", ty vole ...", "&Znovu",
     "Výpočet rozměrů antény typu HB9CV", "pro střední kmitočet :",
     "proměnnou kapacitu (5 - 50 pF) a tou nastavit \"ideální stav\", ale to se nikdy v praxi neosvědčilo.",
     "&Close", "Page 1 of 0", "Popis antény HB9CV", "O aplikaci",
     "The NEC-2 engine nec2c was not found: install the Debian package nec2c"},
    {"en_US.UTF-8", "Frequency =", "&Compute| |&New| |&Print| |Antenna &description| |&About| |E&xit",
     "Beam       direction", "Diameter 2.89 to 5.17 mm", "Division by \"0\" ...", "&Again",
     "HB9CV antenna dimensions", "for centre frequency :",
     "coax centre conductor to set the \"ideal state\", but that has never proved itself in practice.",
     "&Close", "Page 1 of 0", "HB9CV antenna description", "About",
     "The NEC-2 engine nec2c was not found: install the Debian package nec2c"},
    {"de_DE.UTF-8", "Frequenz =", "&Berechnen| |&Neu| |&Drucken| |&Antennenbeschreibung| |&Über| |B&eenden",
     "Haupt-       strahlrichtung", "Durchmesser 2.89 bis 5.17 mm", "Teilen durch \"0\" ...", "&Nochmal",
     "Abmessungen einer HB9CV-Antenne", "für Mittenfrequenz :",
     "Innenleiter, um den \"Idealzustand\" einzustellen, aber das hat sich in der Praxis nie bewährt.",
     "&Schließen", "Seite 1 von 0", "Beschreibung der HB9CV-Antenne", "Über",
     "Das NEC-2-Rechenprogramm nec2c wurde nicht gefunden: bitte das Debian-Paket nec2c installieren"},
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
  for (const int dpi : {96, 600}) {
    test::TestDevice device(FactorForDpi(dpi));
    page.Report1.Generate(device);
    ASSERT_EQ(device.pages.size(), 1u);
    // Each text as far as it runs on that device, inside the page's 10 mm margins.
    std::vector<std::pair<QString, QRect>> boxes;
    for (const test::CanvasOp& t : test::OpsOfKind(device.pages[0].ops, test::CanvasOp::Text)) {
      boxes.emplace_back(t.text, QRect(t.rect.left, t.rect.top, t.rect.right - t.rect.left,
                                       t.rect.bottom - t.rect.top));
    }
    EXPECT_EQ(QStringList({boxes[0].first, boxes[1].first, boxes[17].first}),
              QStringList({GetParam().title, GetParam().frequencyLine, GetParam().advice}));
    const int margin = dpi * 100 / 254;
    ExpectApart(boxes, device.pages[0].image.rect().adjusted(margin, margin, -margin, -margin));
  }
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

TEST_P(Windows, DescriptionAndAbout) {
  TForm1 form1;
  form1.show();
  form1.SetFieldText("0145,000");
  form1.Potej1Click();
  form1.Popis1->trigger();
  auto* form = form1.findChild<TAntennaForm*>();
  QSignalSpy settled(form, &TAntennaForm::Settled);
  ASSERT_TRUE(settled.wait(10000));
  EXPECT_EQ(form->windowTitle(), GetParam().description);
  ExpectLaidOut(form);
  form1.Oaplikaci1->trigger();
  const auto* box = form1.findChild<QMessageBox*>("AboutBox");
  EXPECT_EQ(box->windowTitle(), GetParam().about);
  ExpectLaidOut(box);
}

// The command line's messages are the command-line test's (e2e_cli).
TEST_P(Windows, SimulationError) {
  SimulationRunner missing(nullptr, QStringLiteral("/nonexistent/nec2c"));
  QSignalSpy failed(&missing, &SimulationRunner::Failed);
  missing.Start({ComputeDimensions(145), std::nullopt, std::nullopt});
  ASSERT_TRUE(failed.wait(5000));
  EXPECT_EQ(failed[0][0].toString(), GetParam().simulationError);
}

INSTANTIATE_TEST_SUITE_P(Languages, Windows, ::testing::ValuesIn(kTexts));

}  // namespace
}  // namespace hb9cv
