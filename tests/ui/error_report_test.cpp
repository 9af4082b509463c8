#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "calc/number_text.h"
#include "tests/ui/test_application.h"

namespace hb9cv {
namespace {

TEST(ErrorBoxText, AddsAFullStopAfterCharactersThatSortAfterIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"'145 ,   ' is not a valid floating point value",
       "'145 ,   ' is not a valid floating point value."},
      {"Already ends.", "Already ends."},
      {"", ""},
      {"digit 7", "digit 7."},
      {"quote '", "quote '."},
      {"slash /", "slash /."},
      {"Czech letter ž", "Czech letter ž."},
      {"bracket (x)", "bracket (x)"},
      {"exclamation!", "exclamation!"},
      {"hyphen -", "hyphen -"},
  };
  for (const auto& [message, shown] : cases) EXPECT_EQ(ErrorBoxText(message), shown) << message;
}

TEST(Guarded, ShowsEveryErrorButASilentAbortAndCancelsAMouseCapture) {
  BoxWatch watch;
  Guarded([] { throw EConvertError("'x' is not a valid floating point value"); });
  Guarded([] { throw std::runtime_error("plain standard error"); });
  Guarded([] { throw EAbort(); });
  Guarded([] { throw 42; });
  EXPECT_EQ(watch.texts, QStringList({"'x' is not a valid floating point value.",
                                      "plain standard error.", "Unknown error."}));
  EXPECT_EQ(watch.titles, QStringList(3, "HB9CV"));

  QWidget widget;
  widget.show();
  widget.grabMouse();
  QWidget* grabber_seen_by_box = &widget;
  SetErrorBox(
      [&](const QString&, const QString&) { grabber_seen_by_box = QWidget::mouseGrabber(); });
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
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::sendPostedEvents(&thrower);
  EXPECT_EQ(watch.texts, QStringList(2, "'abc' is not a valid floating point value."));
}

TEST(TApplication, ReadsTheDecimalSeparatorAgainOnALocaleNotice) {
  SetDecimalSeparator('#');
  QEvent notice(QEvent::LocaleChange);
  QCoreApplication::sendEvent(&App(), &notice);
  EXPECT_EQ(DecimalSeparator(), '.');  // the tests run under C.UTF-8
}

TEST(ShowError, DefaultBoxIsAModalStopBoxWithOneOkButton) {
  const ErrorBox previous = SetErrorBox({});
  QString seen;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = QStringList{box->windowTitle(), box->text(), QString::number(box->icon()),
                       QString::number(box->buttons().size())}
               .join('|');
    box->button(QMessageBox::Ok)->click();
  });
  ShowError("Something failed");
  SetErrorBox(previous);
  EXPECT_EQ(seen, QStringLiteral("HB9CV|Something failed.|%1|1").arg(QMessageBox::Critical));
}

}  // namespace
}  // namespace hb9cv
