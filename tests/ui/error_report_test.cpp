#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

#include "calc/number_text.h"

#include "tests/ui/test_application.h"

namespace hb9cv {
namespace {

// Collects what would have been shown in the error box.
class BoxWatch {
 public:
  BoxWatch() {
    previous_ = SetErrorBox([this](const QString& title, const QString& text) {
      titles.push_back(title);
      texts.push_back(text);
    });
  }
  ~BoxWatch() { SetErrorBox(previous_); }
  QStringList titles;
  QStringList texts;

 private:
  ErrorBox previous_;
};

TEST(ErrorBoxText, AddsAFullStopAfterCharactersThatSortAfterIt) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"'145 ,   ' is not a valid floating point value", "'145 ,   ' is not a valid floating point value."},
      {"Already ends.", "Already ends."},
      {"", ""},
      {"ends in a digit 7", "ends in a digit 7."},
      {"ends in a quote '", "ends in a quote '."},
      {"ends in a double quote \"", "ends in a double quote \"."},
      {"slash sorts after the stop /", "slash sorts after the stop /."},
      {"Czech letter ž", "Czech letter ž."},
      {"bracket sorts before (x)", "bracket sorts before (x)"},
      {"exclamation!", "exclamation!"},
      {"hyphen -", "hyphen -"},
      {"ellipsis...", "ellipsis..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
  }
}

TEST(Guarded, ShowsEveryErrorButASilentAbortAndGoesOn) {
  BoxWatch watch;
  bool after = false;
  Guarded([] { throw EConvertError("'x' is not a valid floating point value"); });
  Guarded([] { throw EQRError("No printer"); });
  Guarded([] { throw std::runtime_error("plain standard error"); });
  Guarded([] { throw EAbort(); });
  Guarded([] { throw 42; });
  Guarded([&] { after = true; });
  EXPECT_TRUE(after);
  EXPECT_EQ(watch.texts, QStringList({"'x' is not a valid floating point value.", "No printer.",
                                      "plain standard error.", "Unknown error."}));
  EXPECT_EQ(watch.titles, QStringList(4, "HB9CV"));
}

TEST(Guarded, CancelsAMouseCaptureBeforeTheBox) {
  BoxWatch watch;
  QWidget widget;
  widget.show();
  widget.grabMouse();
  ASSERT_EQ(QWidget::mouseGrabber(), &widget);
  QWidget* grabber_seen_by_box = &widget;
  SetErrorBox([&](const QString&, const QString&) { grabber_seen_by_box = QWidget::mouseGrabber(); });
  Guarded([] { throw Exception("failed"); });
  EXPECT_EQ(grabber_seen_by_box, nullptr);
}

// An object whose event handler fails, as a handler without its own guard would.
class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EConvertError("'abc' is not a valid floating point value");
    return QObject::event(e);
  }
};

TEST(TApplication, NotifyCatchesWhatEscapesAHandler) {
  BoxWatch watch;
  Thrower thrower;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
  EXPECT_EQ(watch.texts, QStringList({"'abc' is not a valid floating point value."}));
  // Posted events go the same way, through the loop.
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::sendPostedEvents(&thrower);
  EXPECT_EQ(watch.texts.size(), 2);
}

TEST(TApplication, ReadsTheDecimalSeparatorAgainOnALocaleNotice) {
  SetDecimalSeparator('#');
  QEvent notice(QEvent::LocaleChange);
  QCoreApplication::sendEvent(&App(), &notice);
  EXPECT_EQ(DecimalSeparator(), '.');  // the tests run under C.UTF-8
}

TEST(TApplication, TitleAndFonts) {
  EXPECT_EQ(QCoreApplication::applicationName(), "HB9CV");
  EXPECT_EQ(QFont::substitute("MS Sans Serif").toLower(), "liberation sans");
  EXPECT_EQ(QFont::substitute("Arial").toLower(), "liberation sans");
  EXPECT_EQ(QFontInfo(QFont("MS Sans Serif")).family(), "Liberation Sans");
  EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST(ShowError, DefaultBoxIsAModalStopBoxWithOneOkButton) {
  const ErrorBox previous = SetErrorBox({});
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool modal = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    modal = box->windowModality() == Qt::ApplicationModal;
    box->button(QMessageBox::Ok)->click();
  });
  ShowError("Something failed");
  SetErrorBox(previous);
  EXPECT_EQ(title, "HB9CV");
  EXPECT_EQ(text, "Something failed.");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(modal);
}

}  // namespace
}  // namespace hb9cv
