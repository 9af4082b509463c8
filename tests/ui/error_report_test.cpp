#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <stdexcept>
#include <string>

#include "calc/number_text.h"
#include "tests/ui/test_application.h"
#include "ui/mask_edit.h"

namespace hb9cv {
namespace {

TEST(ErrorBoxText, AddsAFullStopAfterCharactersThatSortAfterIt) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"Already ends.", "Already ends."}, {"", ""}, {"digit 7", "digit 7."},
      {"quote '", "quote '."}, {"slash /", "slash /."}, {"Czech letter ž", "Czech letter ž."},
      {"bracket (x)", "bracket (x)"}, {"exclamation!", "exclamation!"}, {"hyphen -", "hyphen -"},
  };
  // clang-format on
  for (const auto& [message, shown] : cases) EXPECT_EQ(ErrorBoxText(message), shown) << message;
}

TEST(Guarded, ShowsEveryErrorButASilentAbortAndCancelsAMouseCapture) {
  QWidget widget;
  widget.show();
  widget.grabMouse();
  struct GrabWatch : BoxWatch {
    void Show(const QString& title, const QString& text) override {
      BoxWatch::Show(title, text + (QWidget::mouseGrabber() ? "|grabbed" : ""));
    }
  } watch;
  Guarded([] { throw EConvertError("'x' is not a valid floating point value"); });
  Guarded([] { throw std::runtime_error("plain standard error"); });
  Guarded([] { throw EAbort(); });
  Guarded([] { throw 42; });
  EXPECT_EQ(watch.titles, QStringList(3, "HB9CV"));
  EXPECT_EQ(watch.texts, QStringList({"'x' is not a valid floating point value.",
                                      "plain standard error.", "Unknown error."}));
}

// An object whose event handler fails, as a handler without its own guard would.
class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EConvertError("'abc' is not a valid floating point value");
    return QObject::event(e);
  }
};

TEST(Application, NotifyCatchesWhatEscapesAHandlerAndReadsTheSeparatorOnALocaleNotice) {
  BoxWatch watch;
  Thrower thrower;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
  EXPECT_EQ(watch.texts, QStringList({"'abc' is not a valid floating point value."}));
  SetDecimalSeparator('#');
  QEvent notice(QEvent::LocaleChange);
  QCoreApplication::sendEvent(&App(), &notice);
  EXPECT_EQ(DecimalSeparator(), '.');  // the tests run under C.UTF-8
}

// Qt's own texts follow the messages locale named in the environment, whether or not the C
// library has it; the field's context menu uses them too.
TEST(Application, QtTextsInTheLanguageOfTheMessagesLocale) {
  std::vector<std::pair<const char*, QByteArray>> saved;
  for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANG"}) saved.emplace_back(v, qgetenv(v));
  // clang-format off
  const struct {
    const char *lcAll, *lcMessages, *lang;
    QString copy;
  } rows[] = {
      {"", "cs_CZ.UTF-8", "en_US.UTF-8", "&Kopírovat"},
      {"", "", "cs_CZ", "&Kopírovat"},
      {"C", "", "cs_CZ.UTF-8", "&Copy"},
  };
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.lcAll) + "/" + row.lcMessages + "/" + row.lang);
    qputenv("LC_ALL", row.lcAll);
    qputenv("LC_MESSAGES", row.lcMessages);
    qputenv("LANG", row.lang);
    InstallQtTranslation();
    TMaskEdit field;
    std::unique_ptr<QMenu> menu(field.CreateContextMenu());
    EXPECT_EQ(menu->findChild<QAction*>("edit-copy")->text(), row.copy);
  }
  for (const auto& [variable, value] : saved) {
    qputenv(variable, value);
    if (value.isNull()) qunsetenv(variable);
  }
  InstallQtTranslation();
}

TEST(ShowError, DefaultBoxIsAModalStopBoxWithOneOkButton) {
  const ScopedHook<ErrorBox*> plain(&SetErrorBox, nullptr);
  QString seen;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = QString("%1|%2|%3|%4").arg(box->windowTitle(), box->text()).arg(box->icon());
    seen = seen.arg(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  ShowError("Something failed");
  EXPECT_EQ(seen, QStringLiteral("HB9CV|Something failed.|%1|1").arg(QMessageBox::Critical));
}

}  // namespace
}  // namespace hb9cv
