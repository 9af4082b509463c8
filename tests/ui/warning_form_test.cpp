#include "ui/warning_form.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "ui/error_report.h"
#include "ui/label.h"

#include "tests/ui/test_application.h"

namespace hb9cv {
namespace {

class WarningFormTest : public ::testing::Test {
 protected:
  TForm3 form;

  void Show() {
    form.ShowWarning();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
};

TEST_F(WarningFormTest, IsARedBorderlessStripWithItsTextAndButton) {
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form.size(), QSize(432, 43));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(form.Label1->Caption(), "Dělění \"0\", ty vole ...");
  EXPECT_EQ(form.Label1->pos(), QPoint(4, 0));
  EXPECT_EQ(form.Label1->font().pixelSize(), 32);
  EXPECT_TRUE(form.Label1->font().bold());
  EXPECT_EQ(form.BitBtn1->text(), "&Znovu");
  EXPECT_EQ(form.BitBtn1->geometry(), QRect(316, 4, 109, 37));
  EXPECT_EQ(form.BitBtn1->font().pixelSize(), 19);
  EXPECT_TRUE(form.BitBtn1->icon().isNull());
  EXPECT_FALSE(form.testAttribute(Qt::WA_QuitOnClose));

  Show();
  const QImage shot = form.grab().toImage();
  EXPECT_EQ(shot.pixelColor(430, 41), QColor(255, 0, 0));  // right of the button, red
  EXPECT_EQ(shot.pixelColor(2, 40), QColor(255, 0, 0));
}

TEST_F(WarningFormTest, ShowsOnceCentredNotModalAndFocusesTheButton) {
  Show();
  form.ShowWarning();
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), form.BitBtn1);
  int warnings = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) warnings += qobject_cast<TForm3*>(w) != nullptr;
  EXPECT_EQ(warnings, 1);
  const QRect screen = form.screen()->geometry();
  EXPECT_EQ(form.geometry().center().x() / 2, screen.center().x() / 2);
  EXPECT_EQ(form.geometry().center().y() / 2, screen.center().y() / 2);
}

// Each way of choosing "&Znovu" hides the window, which stays for the next warning.
TEST_F(WarningFormTest, ZnovuHidesByClickEnterSpaceAndAltZ) {
  const struct {
    const char* how;
    std::function<void(TForm3&)> choose;
  } ways[] = {
      {"click", [](TForm3& f) { QTest::mouseClick(f.BitBtn1, Qt::LeftButton); }},
      {"Enter", [](TForm3& f) { QTest::keyClick(f.BitBtn1, Qt::Key_Return); }},
      {"keypad Enter", [](TForm3& f) { QTest::keyClick(f.BitBtn1, Qt::Key_Enter); }},
      {"Space", [](TForm3& f) { QTest::keyClick(f.BitBtn1, Qt::Key_Space); }},
      {"Alt+Z", [](TForm3& f) { QTest::keyClick(f.BitBtn1, Qt::Key_Z, Qt::AltModifier); }},
  };
  for (const auto& way : ways) {
    Show();
    way.choose(form);
    // A mnemonic presses the button visibly first: the click follows a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 2000)) << way.how;
  }
  Show();
  EXPECT_TRUE(form.isVisible());
}

TEST_F(WarningFormTest, OtherKeysLeaveItOpen) {
  Show();
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_A, Qt::Key_Tab, Qt::Key_F5}) {
    QTest::keyClick(form.BitBtn1, key);
    EXPECT_TRUE(form.isVisible()) << key;
  }
}

}  // namespace
}  // namespace hb9cv
