// The description window: its model, the window following the main window, the About text.
#include "ui/antenna_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "ui/about_box.h"
#include "ui/main_form.h"

namespace hb9cv {
namespace {

TEST(AntennaFormTest, Model) {
  SetDecimalSeparator(',');
  SimulationResults r;
  r.frequencyMhz = 145;
  r.diameterMm = 8;
  r.gainDbi = 6.37;
  r.frontToBackDb = 21.92;
  r.bestFbMhz = 143.0104;
  r.swr2HighMhz = 148.5294;
  r.corrected = CorrectedLengths{931.3, 1014.3, 0.98};
  const auto lines = AntennaFormModel::ResultLines(r);
  EXPECT_EQ(lines[0].second, "6,4 dBi (4,2 dBd)");
  EXPECT_EQ(lines[1].second, "21,9 dB");
  EXPECT_EQ(lines[5].second, "143,010 MHz");
  EXPECT_EQ(lines[6].second, "pod až 148,529 MHz");
  EXPECT_EQ(AntennaFormModel::Heading(r),
            "Idealizovaný model (NEC-2), 145,000 MHz, průměr prvků 8,00 mm, ve volném prostoru");
  EXPECT_EQ(AntennaFormModel::CorrectedText(ComputeDimensions(145), r),
            "Pro průměr 8,00 mm: zářič Z 931,3 mm (návrh 951,7 mm), reflektor R 1014,3 mm (návrh "
            "1036,5 mm); RZ, x, Tz a Tr beze změny.");
  r.heightM = 10;
  r.elevationDeg = 3;
  EXPECT_EQ(AntennaFormModel::ResultLines(r)[1].second, "3°");

  EXPECT_FALSE(AntennaFormModel::DesignOfField("0000,000").has_value());
  AntennaFormModel model;
  model.SetDesign(AntennaFormModel::DesignOfField("0145,   "));
  EXPECT_EQ(model.Request("", " ").diameterMm, std::nullopt);
  EXPECT_EQ(model.Request("6,5", "12").heightM, 12);
  EXPECT_THROW(model.Request("x", ""), EConvertError);
  EXPECT_THROW(model.Request("200", ""), ERangeError);
  EXPECT_THROW(model.Request("", "0"), ERangeError);
}

TEST(AntennaFormTest, FollowsTheMainWindow) {
  TForm1 form1;
  form1.show();
  form1.SetFieldText(QStringLiteral("0145,000"));
  form1.Potej1Click();
  form1.Popis1->trigger();
  auto* form = form1.findChild<TAntennaForm*>();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isWindow());
  QSignalSpy settled(form, &TAntennaForm::Settled);
  ASSERT_TRUE(settled.wait(10000));
  EXPECT_TRUE(
      form->Status->text().startsWith(QStringLiteral("Idealizovaný model (NEC-2), 145,000")));
  EXPECT_TRUE(form->Results->text().contains(QStringLiteral("6,4 dBi")));

  // The plots as files.
  QTemporaryDir dir;
  form->SavePlots(dir.filePath(QStringLiteral("p")));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).join(u' '),
            QStringLiteral("p-azimuth.png p-azimuth.svg p-elevation.png p-elevation.svg "
                           "p-sweep.png p-sweep.svg"));

  // A value the model cannot take is told; opening again keeps the one window.
  form->HeightEdit->setText(QStringLiteral("2000"));
  form->Simulate();
  EXPECT_TRUE(form->Status->text().contains(QStringLiteral("at most 1000 m")));
  form1.Popis1->trigger();
  EXPECT_EQ(form1.findChildren<TAntennaForm*>().size(), 1);

  // "&Nový" and a zero leave the description alone.
  form1.Nov1Click();
  EXPECT_TRUE(form->SimulationBox->isHidden());
  form->HeightEdit->clear();
  form1.SetFieldText(QStringLiteral("0050,000"));
  form1.Potej1Click();
  EXPECT_FALSE(form->SimulationBox->isHidden());
  ASSERT_TRUE(settled.wait(10000));
  form1.SetFieldText(QStringLiteral("0000,000"));
  form1.Potej1Click();
  EXPECT_TRUE(form->SimulationBox->isHidden());
}

// The box itself, in every language, is the language test's.
TEST(AntennaFormTest, AboutBox) {
  const QString text = AboutText(false);
  for (const char* part :
       {"HB9CV " HB9CV_VERSION, "GPL-2.0-or-later", "Qt Charts", "nec2c", "balíček nec2c"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
  }
  EXPECT_FALSE(AboutText(true).contains(QStringLiteral("balíček")));
}

}  // namespace
}  // namespace hb9cv
