// The road of one computation through the real frequency field of the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "calc/number_text.h"
#include "report/report_link.h"
#include "tests/ui/test_application.h"
#include "ui/error_report.h"
#include "ui/label.h"
#include "ui/main_form.h"
#include "ui/mask_edit.h"
#include "ui/warning_form.h"

namespace hb9cv {
namespace {

class RecordingReport : public ReportLink {
 public:
  void SetCaption(ReportValue which, const QString& caption) override {
    captions.emplace_back(which, caption.toStdString());
  }
  void Preview() override {}
  std::vector<std::pair<ReportValue, std::string>> captions;
};

class FieldRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(',');
    previous_box_ = SetErrorBox([this](const QString&, const QString& text) { box_texts << text; });
    previous_beep_ = TCustomMaskEdit::SetBeep([this] { ++beeps; });
    form.SetReport(&report);
    form.SetWarningForm(&warning);
    App().SetMainForm(&form);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    field = form.MaskEdit1;
  }
  void TearDown() override {
    App().SetMainForm(nullptr);
    TCustomMaskEdit::SetBeep(previous_beep_);
    SetErrorBox(previous_box_);
    ReadFormatSettings();
  }
  int Current() const {
    return field->selectedText().size() == 1 && field->cursorPosition() == field->selectionStart()
               ? field->cursorPosition()
               : -1;
  }

  RecordingReport report;
  TForm3 warning;
  TForm1 form;
  TMaskEdit* field = nullptr;
  QStringList box_texts;
  int beeps = 0;

 private:
  ErrorBox previous_box_;
  TCustomMaskEdit::BeepFunction previous_beep_;
};

TEST_F(FieldRoad, StartsFocusedWithTheWholeTextSelected) {
  EXPECT_EQ(QApplication::focusWidget(), field);
  EXPECT_EQ(field->EditMask(), QStringLiteral("9999,999;1;_"));
  EXPECT_EQ(field->MaxLength(), 8);
  EXPECT_EQ(field->selectedText(), QStringLiteral("0000,000"));
  EXPECT_EQ(field->Text(), QStringLiteral("0000,000"));
  EXPECT_FALSE(field->Modified());
}

TEST_F(FieldRoad, TypedFrequencyIsComputedWithF5) {
  QTest::keyClicks(field, QStringLiteral("01455"));
  EXPECT_EQ(field->QLineEdit::text(), QStringLiteral("0145,5__"));
  EXPECT_EQ(Current(), 6);
  QTest::keyClick(field, Qt::Key_F5);
  EXPECT_TRUE(box_texts.isEmpty());
  EXPECT_EQ(form.FieldText(), QStringLiteral("0145,5  "));
  EXPECT_EQ(form.Label_Lambda->Caption(), QStringLiteral("2,06185567010309 m"));
  ASSERT_FALSE(report.captions.empty());
  EXPECT_EQ(report.captions.front(), std::make_pair(ReportValue::Frequency, std::string("145,5 MHz")));
  EXPECT_TRUE(form.Nov1->isEnabled());
  EXPECT_EQ(Current(), 6);  // the field keeps its place
  EXPECT_EQ(beeps, 0);
}

TEST_F(FieldRoad, AnIntegerPartWithBlanksIsAConversionError) {
  QTest::keyClicks(field, QStringLiteral("145"));
  EXPECT_EQ(field->QLineEdit::text(), QStringLiteral("145_,___"));
  QTest::keyClick(field, Qt::Key_F5);
  EXPECT_EQ(box_texts, QStringList({"'145 ,   ' is not a valid floating point value."}));
  EXPECT_EQ(form.Label_Lambda->Caption(), QStringLiteral("0"));
  EXPECT_FALSE(form.Nov1->isEnabled());
  EXPECT_EQ(Current(), 3);
}

TEST_F(FieldRoad, NewResetsTheFieldAndEscRestoresIt) {
  QTest::keyClicks(field, QStringLiteral("01455"));
  QTest::keyClick(field, Qt::Key_F5);
  form.Nov1->trigger();
  EXPECT_EQ(field->QLineEdit::text(), QStringLiteral("0000,000"));
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(QApplication::focusWidget(), field);
  QTest::keyClicks(field, QStringLiteral("7,25"));
  EXPECT_EQ(field->QLineEdit::text(), QStringLiteral("7000,250"));
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_EQ(field->QLineEdit::text(), QStringLiteral("0000,000"));
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(beeps, 0);
}

}  // namespace
}  // namespace hb9cv
