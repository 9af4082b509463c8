#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "report/report_link.h"
#include "ui/error_report.h"
#include "ui/label.h"
#include "ui/warning_form.h"

#include "tests/ui/test_application.h"

namespace hb9cv {
namespace {

using P = ValuePlace;

// The first row of the reference table: 145 MHz with a comma as decimal separator.
const std::vector<CaptionWrite> k145 = {
    {P::QRLabel3, "145 MHz"},
    {P::Label_Lambda, "2,06896551724138 m"},
    {P::Label_Z, "951,7 mm"},
    {P::QRLabel_Z, "951,7 mm"},
    {P::Label_R, "1036,5 mm"},
    {P::QRLabel_R, "1036,5 mm"},
    {P::Label_RZ, "258,6 mm"},
    {P::QRLabel_RZ, "258,6 mm"},
    {P::Label_x, "20,6 mm"},
    {P::QRLabel_x, "20,6 mm"},
    {P::Label_Tz, "130,3 mm"},
    {P::QRLabel_Tz, "130,3 mm"},
    {P::Label_Tr, "140,6 mm"},
    {P::QRLabel_Tr, "140,6 mm"},
    {P::Label_Q, "Průměr 2,89 až 5,17 mm"},
    {P::QRLabel_Q, "Průměr 2,89 až 5,17 mm"},
};

class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(','); }
  void TearDown() override { ReadFormatSettings(); }
};

using ComputeFromFieldTest = CommaLocale;

TEST_F(ComputeFromFieldTest, WritesEveryPlaceInOrder) {
  const ComputeOutcome outcome = ComputeFromField("0145,000");
  EXPECT_FALSE(outcome.zero);
  EXPECT_EQ(outcome.writes, k145);
}

TEST_F(ComputeFromFieldTest, ZeroFieldsWarnAndWriteNothing) {
  for (const char* text : {"0000,000", "    ,   "}) {
    const ComputeOutcome outcome = ComputeFromField(text);
    EXPECT_TRUE(outcome.zero) << text;
    EXPECT_TRUE(outcome.writes.empty()) << text;
  }
}

TEST_F(ComputeFromFieldTest, TextsThatAreNoNumberFailBeforeAnything) {
  for (const char* text : {"145 ,   ", "1 4 ,5  ", "", "0145.000"}) {
    try {
      ComputeFromField(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid floating point value");
    }
  }
}

TEST(ComputeFromField, ReadsTheFieldsCommaUnderAPointLocale) {
  SetDecimalSeparator('.');
  const ComputeOutcome outcome = ComputeFromField("0145,500");
  ReadFormatSettings();
  ASSERT_FALSE(outcome.zero);
  EXPECT_EQ(outcome.writes[0].text, "145.5 MHz");  // displayed with the locale's separator
  EXPECT_EQ(outcome.writes[1].text, "2.06185567010309 m");
}

TEST(ResetWrites, ZeroesTheWindowThenTheReport) {
  const std::vector<CaptionWrite> expected = {
      {P::Label_Lambda, "0"}, {P::Label_Z, "0"},         {P::Label_R, "0"},
      {P::Label_RZ, "0"},     {P::Label_x, "0"},         {P::Label_Tz, "0"},
      {P::Label_Tr, "0"},     {P::Label_Q, "0"},         {P::QRLabel3, "0 MHz"},
      {P::QRLabel_Z, "0 mm"}, {P::QRLabel_R, "0 mm"},    {P::QRLabel_RZ, "0 mm"},
      {P::QRLabel_x, "0 mm"}, {P::QRLabel_Tz, "0 mm"},   {P::QRLabel_Tr, "0 mm"},
      {P::QRLabel_Q, "0 mm"},
  };
  EXPECT_EQ(ResetWrites(), expected);
}

// Records what the main window hands to the report.
class FakeReport : public ReportLink {
 public:
  void SetCaption(ReportValue which, const QString& caption) override {
    captions.emplace_back(which, caption.toStdString());
  }
  void Preview() override { ++previews; }
  std::vector<std::pair<ReportValue, std::string>> captions;
  int previews = 0;
};

// The main window with its report and warning, as start-up wires them, and the error box
// replaced by a recorder.
class MainFormTest : public CommaLocale {
 protected:
  void SetUp() override {
    CommaLocale::SetUp();
    previous_box_ = SetErrorBox([this](const QString& title, const QString& text) {
      box_titles.push_back(title);
      box_texts.push_back(text);
    });
    form.SetReport(&report);
    form.SetWarningForm(&warning);
    App().SetMainForm(&form);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void TearDown() override {
    App().SetMainForm(nullptr);
    SetErrorBox(previous_box_);
    CommaLocale::TearDown();
  }

  // Types into the field and presses F5 there, as a user does.
  void ComputeWithF5(const QString& field_text) {
    form.SetFieldText(field_text);
    form.MaskEdit1->setFocus();
    QTest::keyClick(form.MaskEdit1, Qt::Key_F5);
  }

  std::map<P, QString> WindowCaptions() const {
    std::map<P, QString> captions;
    for (P p : {P::Label_Lambda, P::Label_Z, P::Label_R, P::Label_RZ, P::Label_x, P::Label_Tz,
                P::Label_Tr, P::Label_Q}) {
      captions[p] = form.WindowLabel(p)->Caption();
    }
    return captions;
  }

  FakeReport report;
  TForm3 warning;
  TForm1 form;
  QStringList box_titles;
  QStringList box_texts;

 private:
  ErrorBox previous_box_;
};

TEST_F(MainFormTest, StartsWithNoResult) {
  EXPECT_EQ(form.windowTitle(), "Výpočet rozměrů antény typu HB9CV");
  EXPECT_EQ(form.FieldText(), "0000,000");
  EXPECT_EQ(QApplication::focusWidget(), form.MaskEdit1);
  EXPECT_EQ(form.MaskEdit1->selectedText(), "0000,000");
  EXPECT_EQ(form.Label_Z->Caption(), "Zářič");
  EXPECT_EQ(form.Label_R->Caption(), "Reflektor");
  EXPECT_EQ(form.Label_Lambda->Caption(), "0");
  EXPECT_EQ(form.centralWidget()->size(), TForm1::kClientSize);

  const struct {
    QAction* item;
    const char* name;
    const char* caption;
    bool enabled;
  } menu[] = {
      {form.Potej1, "Potej1", "&Počítej", true},   {form.N1, "N1", " ", false},
      {form.Nov1, "Nov1", "&Nový", false},         {form.N2, "N2", " ", false},
      {form.Tisk1, "Tisk1", "&Tisk", false},       {form.N4, "N4", " ", false},
      {form.Popis1, "Popis1", "P&opis antény", true}, {form.N5, "N5", " ", false},
      {form.Oaplikaci1, "Oaplikaci1", "O &aplikaci", true}, {form.N3, "N3", " ", false},
      {form.Konec1, "Konec1", "&Konec", true},
  };
  const QList<QAction*> items = form.MainMenu1->actions();
  ASSERT_EQ(items.size(), 11);
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(items[i], menu[i].item) << menu[i].name;
    EXPECT_EQ(items[i]->objectName(), menu[i].name);
    EXPECT_EQ(items[i]->text(), QString::fromUtf8(menu[i].caption)) << menu[i].name;
    EXPECT_EQ(items[i]->isEnabled(), menu[i].enabled) << menu[i].name;
    EXPECT_EQ(items[i]->menu(), nullptr) << menu[i].name;
  }
  EXPECT_EQ(form.Potej1->shortcut(), QKeySequence(Qt::Key_F5));
}

TEST_F(MainFormTest, ControlsSitAtTheirPlaces) {
  const struct {
    const char* name;
    QRect geometry;  // an empty size: only the corner is fixed, the label sizes itself
  } places[] = {
      {"Label1", {140, 16, 0, 0}},   {"MaskEdit1", {276, 12, 93, 32}}, {"Label7", {376, 16, 0, 0}},
      {"Label3", {176, 52, 0, 0}},   {"Label_Lambda", {248, 52, 0, 0}}, {"Panel1", {6, 78, 641, 378}},
      {"Image1", {2, 2, 637, 374}},  {"Label2", {283, 24, 0, 0}},     {"Label_Z", {181, 8, 0, 0}},
      {"Label_R", {156, 272, 0, 0}}, {"Label_RZ", {556, 148, 0, 0}},  {"Label_x", {460, 76, 0, 0}},
      {"Label_Tz", {344, 104, 0, 0}}, {"Label_Tr", {204, 192, 0, 0}}, {"Label_Q", {104, 70, 0, 0}},
      {"Label4", {376, 312, 0, 0}},  {"Label5", {376, 324, 0, 0}},
  };
  for (const auto& place : places) {
    auto* widget = form.findChild<QWidget*>(place.name);
    ASSERT_NE(widget, nullptr) << place.name;
    EXPECT_EQ(widget->pos(), place.geometry.topLeft()) << place.name;
    if (!place.geometry.isEmpty()) {
      EXPECT_EQ(widget->size(), place.geometry.size()) << place.name;
    }
    if (widget != form.MaskEdit1) {
      EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus) << place.name;
    }
  }
}

TEST_F(MainFormTest, DrawingShowsUnderOpaqueLabels) {
  const QImage panel = form.Panel1->grab().toImage();
  // The picture's top-left pixel lies at (4, 11) of the panel: the radiator bar starts at
  // picture (47, 39), the boom at (306, 25).
  EXPECT_LT(qGray(panel.pixel(4 + 47, 11 + 39)), 40);
  EXPECT_LT(qGray(panel.pixel(4 + 313, 11 + 200)), 40);
  EXPECT_NEAR(qGray(panel.pixel(4 + 46, 11 + 42)), 192, 24);
  // A label hides the drawing with the panel's colour, even where it has no text.
  const QPoint corner = form.Label_RZ->geometry().topRight();
  EXPECT_EQ(panel.pixelColor(corner), form.Panel1->palette().color(QPalette::Window));
  EXPECT_NE(form.Panel1->palette().color(QPalette::Window).red(), 192);
}

TEST_F(MainFormTest, F5InTheFieldComputesAndWritesEveryLabel) {
  ComputeWithF5("0145,000");
  const std::map<P, QString> expected = {
      {P::Label_Lambda, "2,06896551724138 m"}, {P::Label_Z, "951,7 mm"},
      {P::Label_R, "1036,5 mm"},              {P::Label_RZ, "258,6 mm"},
      {P::Label_x, "20,6 mm"},                {P::Label_Tz, "130,3 mm"},
      {P::Label_Tr, "140,6 mm"},              {P::Label_Q, "Průměr 2,89 až 5,17 mm"},
  };
  EXPECT_EQ(WindowCaptions(), expected);
  const std::vector<std::pair<ReportValue, std::string>> report_expected = {
      {ReportValue::Frequency, "145 MHz"},   {ReportValue::Z, "951,7 mm"},
      {ReportValue::R, "1036,5 mm"},         {ReportValue::RZ, "258,6 mm"},
      {ReportValue::x, "20,6 mm"},           {ReportValue::Tz, "130,3 mm"},
      {ReportValue::Tr, "140,6 mm"},         {ReportValue::Q, "Průměr 2,89 až 5,17 mm"},
  };
  EXPECT_EQ(report.captions, report_expected);
  EXPECT_TRUE(form.Nov1->isEnabled());
  EXPECT_TRUE(form.Tisk1->isEnabled());
  EXPECT_FALSE(warning.isVisible());
  EXPECT_TRUE(box_texts.isEmpty());
}

TEST_F(MainFormTest, AltAndTheUnderlinedLetterChoosesAnItem) {
  form.SetFieldText("0145,000");
  QTest::keyClick(form.MaskEdit1, Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(form.Label_Z->Caption(), "951,7 mm");
  QTest::keyClick(form.MaskEdit1, Qt::Key_N, Qt::AltModifier);
  EXPECT_EQ(form.Label_Z->Caption(), "0");
  QTest::keyClick(form.MaskEdit1, Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(report.previews, 1);
}

TEST_F(MainFormTest, LabelsGrowToTheRightFromAFixedLeftEdge) {
  const QRect before = form.Label_Q->geometry();
  const QRect centred_before = form.Label_Z->geometry();
  ComputeWithF5("0145,000");
  EXPECT_EQ(form.Label_Q->geometry().topLeft(), before.topLeft());
  EXPECT_GT(form.Label_Q->width(), before.width() + 50);
  EXPECT_EQ(form.Label_Q->width(), form.Label_Q->fontMetrics().horizontalAdvance(form.Label_Q->Caption()));
  EXPECT_EQ(form.Label_Z->geometry().topLeft(), centred_before.topLeft());
}

TEST_F(MainFormTest, ZeroShowsTheWarningDisablesNewAndPrintAndKeepsTheLabels) {
  ComputeWithF5("0145,000");
  const auto shown = WindowCaptions();
  const size_t report_writes = report.captions.size();
  ComputeWithF5("0000,000");
  EXPECT_TRUE(warning.isVisible());
  EXPECT_FALSE(warning.isModal());
  EXPECT_FALSE(form.Nov1->isEnabled());
  EXPECT_FALSE(form.Tisk1->isEnabled());
  EXPECT_EQ(WindowCaptions(), shown);
  EXPECT_EQ(report.captions.size(), report_writes);
  // The main window stays usable: another computation goes through while the warning shows.
  ComputeWithF5("0050,000");
  EXPECT_EQ(form.Label_Z->Caption(), "2760 mm");
  EXPECT_TRUE(warning.isVisible());
  EXPECT_TRUE(form.Tisk1->isEnabled());
}

TEST_F(MainFormTest, TwoZerosLeaveOneWarning) {
  ComputeWithF5("0000,000");
  ComputeWithF5("    ,   ");
  int visible = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<TForm3*>(w) != nullptr && w->isVisible()) ++visible;
  }
  EXPECT_EQ(visible, 1);
  EXPECT_TRUE(warning.isVisible());
}

TEST_F(MainFormTest, TextThatIsNoNumberShowsTheErrorBoxAndChangesNothing) {
  ComputeWithF5("0145,000");
  const auto shown = WindowCaptions();
  const size_t report_writes = report.captions.size();
  form.SetFieldText("145 ,   ");
  form.Potej1->trigger();
  EXPECT_EQ(box_titles, QStringList({"HB9CV"}));
  EXPECT_EQ(box_texts, QStringList({"'145 ,   ' is not a valid floating point value."}));
  EXPECT_EQ(WindowCaptions(), shown);
  EXPECT_EQ(report.captions.size(), report_writes);
  EXPECT_TRUE(form.Nov1->isEnabled());
  EXPECT_TRUE(form.Tisk1->isEnabled());
  EXPECT_EQ(form.FieldText(), "145 ,   ");
  EXPECT_FALSE(warning.isVisible());
}

TEST_F(MainFormTest, NewZeroesEverythingAndKeepsPrintEnabled) {
  ComputeWithF5("0145,000");
  report.captions.clear();
  form.Label_Q->setFocus();  // takes none; the field keeps it
  form.Nov1->trigger();
  for (const auto& [place, caption] : WindowCaptions()) EXPECT_EQ(caption, "0");
  EXPECT_EQ(form.Label_Z->Caption(), "0");
  EXPECT_EQ(form.FieldText(), "0000,000");
  EXPECT_EQ(QApplication::focusWidget(), form.MaskEdit1);
  ASSERT_EQ(report.captions.size(), 8u);
  EXPECT_EQ(report.captions.front(), std::make_pair(ReportValue::Frequency, std::string("0 MHz")));
  EXPECT_EQ(report.captions.back(), std::make_pair(ReportValue::Q, std::string("0 mm")));
  EXPECT_TRUE(form.Nov1->isEnabled());
  EXPECT_TRUE(form.Tisk1->isEnabled());
}

TEST_F(MainFormTest, TypedIntoTheField) {
  // Typing over the selected start text fills the places from the left.
  QTest::keyClicks(form.MaskEdit1, "145");
  QTest::keyClick(form.MaskEdit1, Qt::Key_F5);
  EXPECT_EQ(box_texts, QStringList({"'145 ,   ' is not a valid floating point value."}));
  EXPECT_EQ(form.Label_Z->Caption(), "Zářič");
  QTest::keyClick(form.MaskEdit1, Qt::Key_Home);
  QTest::keyClicks(form.MaskEdit1, "0145000");
  EXPECT_EQ(form.FieldText(), "0145,000");
  QTest::keyClick(form.MaskEdit1, Qt::Key_F5);
  EXPECT_EQ(form.Label_Z->Caption(), "951,7 mm");
  EXPECT_EQ(box_texts.size(), 1);
}

TEST_F(MainFormTest, PrintOpensThePreviewAndTheOtherItemsDoNothing) {
  ComputeWithF5("0145,000");
  const auto shown = WindowCaptions();
  form.Tisk1->trigger();
  EXPECT_EQ(report.previews, 1);
  form.Popis1->trigger();
  form.Oaplikaci1->trigger();
  EXPECT_EQ(WindowCaptions(), shown);
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(box_texts.isEmpty());
}

TEST_F(MainFormTest, MaximisedKeepsTheControlsWhereTheyAre) {
  form.showMaximized();
  QTest::qWait(20);
  EXPECT_EQ(form.MaskEdit1->geometry(), QRect(276, 12, 93, 32));
  EXPECT_EQ(form.Panel1->geometry(), QRect(6, 78, 641, 378));
  EXPECT_EQ(form.Label_Q->pos(), QPoint(104, 70));
}

TEST_F(MainFormTest, ClosingTheMainWindowEndsTheProgramThoughTheWarningShows) {
  ComputeWithF5("0000,000");
  ASSERT_TRUE(warning.isVisible());
  QTimer::singleShot(0, &form, [this] { form.Konec1->trigger(); });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
  watchdog.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace hb9cv
