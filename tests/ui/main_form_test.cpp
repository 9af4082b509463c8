// The main window and its zero-frequency warning, driven as a user drives them.
#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <map>
#include <string>

#include "calc/number_text.h"
#include "report/report_link.h"
#include "tests/ui/test_application.h"
#include "ui/label.h"
#include "ui/warning_form.h"

namespace hb9cv {
namespace {

using Captions = std::vector<std::pair<ValueId, std::string>>;

// The first row of the reference table, 145 MHz: the window's labels, and the report's
// captions in the order they are written.
// clang-format off
using WindowCaptionList = std::vector<std::pair<FormLabel* TForm1::*, QString>>;
const WindowCaptionList kWindow145 = {
    {&TForm1::Label_Lambda, "2,06896551724138 m"}, {&TForm1::Label_Z, "951,7 mm"},
    {&TForm1::Label_R, "1036,5 mm"}, {&TForm1::Label_RZ, "258,6 mm"},
    {&TForm1::Label_x, "20,6 mm"}, {&TForm1::Label_Tz, "130,3 mm"},
    {&TForm1::Label_Tr, "140,6 mm"}, {&TForm1::Label_Q, "Průměr 2,89 až 5,17 mm"}};
const Captions kReport145 = {
    {ValueId::Frequency, "145 MHz"}, {ValueId::Z, "951,7 mm"}, {ValueId::R, "1036,5 mm"},
    {ValueId::RZ, "258,6 mm"}, {ValueId::x, "20,6 mm"}, {ValueId::Tz, "130,3 mm"},
    {ValueId::Tr, "140,6 mm"}, {ValueId::Diameter, "Průměr 2,89 až 5,17 mm"}};
// clang-format on

TEST(ComputeFromField, ReadsTheFieldsCommaUnderAPointLocale) {
  SetDecimalSeparator('.');
  const ComputeOutcome outcome = ComputeFromField("0145,500");
  ReadFormatSettings();
  ASSERT_FALSE(outcome.zero);
  EXPECT_EQ(outcome.writes[0].text, "145.5 MHz");  // shown with the locale's separator
  EXPECT_EQ(outcome.writes[1].text, "2.06185567010309 m");
}

class FakeReport : public ReportLink {
 public:
  void SetCaption(ValueId which, const QString& caption) override {
    captions.emplace_back(which, caption.toStdString());
  }
  void Preview() override { ++previews; }
  Captions captions;
  int previews = 0;
};

// The main window with its report and warning, as start-up wires them.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(',');
    form.SetReport(&report);
    form.SetWarningForm(&warning);
    App().SetMainForm(&form);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void TearDown() override {
    App().SetMainForm(nullptr);
    ReadFormatSettings();
  }
  void ComputeWithF5(const QString& fieldText) {
    form.SetFieldText(fieldText);
    QTest::keyClick(form.MaskEdit1, Qt::Key_F5);
  }
  WindowCaptionList WindowCaptions() const {
    WindowCaptionList captions;
    for (const auto& [label, text] : kWindow145)
      captions.emplace_back(label, (form.*label)->Caption());
    return captions;
  }
  void ExpectMenuState(bool resultShown) {
    EXPECT_EQ(form.Nov1->isEnabled(), resultShown);
    EXPECT_EQ(form.Tisk1->isEnabled(), resultShown);
  }

  BoxWatch box;
  FakeReport report;
  TForm3 warning;
  TForm1 form;
};

TEST_F(MainFormTest, ComputesTheReferenceRowWithF5AndRefusesTextThatIsNoNumber) {
  ExpectMenuState(false);
  ComputeWithF5("0145,000");
  EXPECT_EQ(WindowCaptions(), kWindow145);
  EXPECT_EQ(report.captions, kReport145);
  ExpectMenuState(true);
  QTest::keyClick(form.MaskEdit1, Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(report.previews, 1);
  EXPECT_TRUE(box.texts.isEmpty());
  form.SetFieldText("145 ,   ");
  form.Potej1->trigger();
  EXPECT_EQ(box.titles, QStringList({"HB9CV"}));
  EXPECT_EQ(box.texts, QStringList({"'145 ,   ' is not a valid floating point value."}));
  EXPECT_EQ(WindowCaptions(), kWindow145);
  EXPECT_EQ(report.captions, kReport145);
  ExpectMenuState(true);
  EXPECT_EQ(form.FieldText(), "145 ,   ");
  EXPECT_FALSE(warning.isVisible());
}

TEST_F(MainFormTest, ZeroShowsOneWarningKeepsTheLabelsAndDoesNotKeepTheProgramOpen) {
  ComputeWithF5("0145,000");
  ComputeWithF5("0000,000");
  ComputeWithF5("    ,   ");  // blanks and the comma are zero too
  int visible = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    visible += qobject_cast<TForm3*>(w) && w->isVisible();
  EXPECT_EQ(visible, 1);
  EXPECT_TRUE(warning.isVisible());
  ExpectMenuState(false);
  EXPECT_EQ(WindowCaptions(), kWindow145);
  EXPECT_EQ(report.captions, kReport145);
  // The warning belongs to the main window (kept above it, out of the taskbar) and, holding the
  // focus, still lets F5 compute. An owned window counts as active while its owner is: wait for
  // the focus itself.
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == warning.BitBtn1; }));
  EXPECT_EQ(warning.windowType(), Qt::Tool);
  ASSERT_NE(warning.windowHandle(), nullptr);
  EXPECT_EQ(warning.windowHandle()->transientParent(), form.windowHandle());
  EXPECT_EQ(warning.windowHandle()->modality(), Qt::NonModal);
  form.SetFieldText("0050,000");
  QTest::keyClick(warning.BitBtn1, Qt::Key_F5);
  EXPECT_EQ(form.Label_Z->Caption(), "2760 mm");
  EXPECT_TRUE(warning.isVisible());
  ExpectMenuState(true);
  // Closing the main window ends the program though the warning shows.
  QTimer::singleShot(0, &form, [this] { form.Konec1->trigger(); });
  QTimer::singleShot(5000, &form, [] { QCoreApplication::exit(7); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(form.isVisible());
}

// New zeroes everything with place 0 current; the field keeps its place through F5.
TEST_F(MainFormTest, NewZeroesEverythingThenAFrequencyTypedIntoTheField) {
  ComputeWithF5("0145,000");
  report.captions.clear();
  QTest::keyClick(form.MaskEdit1, Qt::Key_N, Qt::AltModifier);
  for (const auto& [label, caption] : WindowCaptions()) EXPECT_EQ(caption, "0");
  EXPECT_EQ(form.FieldText(), "0000,000");
  EXPECT_EQ(QApplication::focusWidget(), form.MaskEdit1);
  EXPECT_EQ(form.MaskEdit1->selectedText(), "0");
  ASSERT_EQ(report.captions.size(), 8u);
  EXPECT_EQ(report.captions.front(), std::make_pair(ValueId::Frequency, std::string("0 MHz")));
  EXPECT_EQ(report.captions.back(), std::make_pair(ValueId::Diameter, std::string("0 mm")));
  ExpectMenuState(true);
  QTest::keyClicks(form.MaskEdit1, "01455");
  QTest::keyClick(form.MaskEdit1, Qt::Key_F5);
  EXPECT_EQ(report.captions[8], std::make_pair(ValueId::Frequency, std::string("145,5 MHz")));
  EXPECT_EQ(form.MaskEdit1->cursorPosition(), 6);
  EXPECT_TRUE(box.texts.isEmpty());
}

// A control as its window's table places it: parent/name x,y, the size (not of a label,
// which follows its text and so the installed font), then the font and text of one that
// shows text; the program's font family unless another is named.
std::string Describe(const QWidget* c) {
  if (c == nullptr) return "missing";
  QString s = QString("%1/%2 %3,%4").arg(c->parentWidget()->objectName(), c->objectName());
  s = s.arg(c->x()).arg(c->y());
  const auto* label = qobject_cast<const FormLabel*>(c);
  const auto* field = qobject_cast<const TMaskEdit*>(c);
  const auto* button = qobject_cast<const QPushButton*>(c);
  if (!label) s += QString(" %1x%2").arg(c->width()).arg(c->height());
  if (!label && !field && !button) return s.toStdString();
  if (c->font().family() != "MS Sans Serif") s += " " + c->font().family();
  s += QString(" %1%2 ").arg(c->font().pixelSize()).arg(c->font().bold() ? " bold" : "");
  if (label) s += label->Caption() + (label->autoFillBackground() ? "" : " (transparent)");
  if (field) s += field->Text();
  if (button) s += button->text() + (button->icon().isNull() ? "" : " (icon)");
  return s.toStdString();
}

void ExpectControls(const QWidget& window, const std::vector<std::string>& rows) {
  for (const std::string& row : rows) {
    const std::string name = row.substr(row.find('/') + 1, row.find(' ') - row.find('/') - 1);
    EXPECT_EQ(Describe(window.findChild<QWidget*>(QString::fromStdString(name))), row);
  }
}

TEST(MainFormLayout, WindowControlsAndMenu) {
  TForm1 form;
  EXPECT_EQ(
      std::tuple(form.windowTitle(), TForm1::kOuterSize, form.font().family(),
                 form.font().pixelSize(), form.centralWidget()->palette().color(QPalette::Window),
                 form.MaskEdit1->palette().color(QPalette::Base),
                 form.Label_Z->alignment() & Qt::AlignHorizontal_Mask),
      std::tuple(QString("Výpočet rozměrů antény typu HB9CV"), QSize(662, 508),
                 QString("MS Sans Serif"), 11, QApplication::palette().color(QPalette::Button),
                 QColor(0, 255, 255), Qt::AlignHCenter));
  // clang-format off
  ExpectControls(form, {
      "/Label1 140,16 16 bold Vlož kmitočet =", "/MaskEdit1 276,12 93x32 19 bold 0000,000",
      "/Label7 376,16 16 bold [MHz]", "/Label3 176,52 11 Vlnová délka :", "/Label_Lambda 248,52 11 0",
      "/Panel1 6,78 641x378", "Panel1/Image1 2,2 637x374",
      "Panel1/Label2 283,24 11 Směr       vyzařování", "Panel1/Label_Z 181,8 11 Zářič",
      "Panel1/Label_R 156,272 11 Reflektor", "Panel1/Label_RZ 556,148 11 0",
      "Panel1/Label_x 460,76 11 0", "Panel1/Label_Tz 344,104 11 0", "Panel1/Label_Tr 204,192 11 0",
      "Panel1/Label_Q 104,70 11 0",
      "Panel1/Label4 376,312 11 Svorky X a X' slouží k připojení koaxiálního kabelu,",
      "Panel1/Label5 376,324 11 X' - střední vodič, X - opletení."});
  const QStringList menu = {
      "Potej1 &Počítej on F5", "N1   off ", "Nov1 &Nový off ", "N2   off ", "Tisk1 &Tisk off ",
      "N4   off ", "Popis1 P&opis antény on ", "N5   off ", "Oaplikaci1 O &aplikaci on ",
      "N3   off ", "Konec1 &Konec on "};
  // clang-format on
  QStringList items;
  for (const QAction* a : form.MainMenu1->actions()) {
    items << QStringList{a->objectName(), a->text(), a->isEnabled() ? "on" : "off",
                         a->shortcut().toString()}
                 .join(' ');
  }
  EXPECT_EQ(items.join('\n').toStdString(), menu.join('\n').toStdString());
}

TEST(WarningForm, WindowAndControls) {
  TForm3 form;
  EXPECT_EQ(
      std::tuple(form.windowTitle(), form.windowFlags().testFlag(Qt::FramelessWindowHint),
                 form.minimumSize(), form.maximumSize(), form.autoFillBackground(),
                 form.palette().color(QPalette::Window)),
      std::tuple(QString("Form3"), true, QSize(432, 43), QSize(432, 43), true, QColor(255, 0, 0)));
  ExpectControls(form, {"Form3/Label1 4,0 32 bold Dělění \"0\", ty vole ...",
                        "Form3/BitBtn1 316,4 109x37 19 bold &Znovu"});
  EXPECT_EQ(std::pair(form.Label1->focusPolicy(), form.BitBtn1->focusPolicy()),
            std::pair(Qt::NoFocus, Qt::StrongFocus));
}

// "&Znovu" hides the warning, not modal and shown once, by each way of choosing it.
TEST(WarningForm, ZnovuHidesItByClickEnterSpaceAndAltZ) {
  TForm3 form;
  const std::vector<std::function<void()>> ways = {
      [&] { QTest::mouseClick(form.BitBtn1, Qt::LeftButton); },
      [&] { QTest::keyClick(form.BitBtn1, Qt::Key_Return); },
      [&] { QTest::keyClick(form.BitBtn1, Qt::Key_Space); },
      [&] { QTest::keyClick(form.BitBtn1, Qt::Key_Z, Qt::AltModifier); }};
  for (size_t way = 0; way < ways.size(); ++way) {
    form.ShowWarning();
    form.ShowWarning();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.BitBtn1);
    QTest::keyClick(form.BitBtn1, Qt::Key_Escape);  // other keys leave it open
    EXPECT_TRUE(form.isVisible());
    ways[way]();
    // A mnemonic presses the button visibly first: the click follows a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 2000)) << "way " << way;
  }
}

}  // namespace
}  // namespace hb9cv
