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
      {"'145 ,   ' is not a valid floating point value",
      "'145 ,   ' is not a valid floating point value."},
      {"Already ends.", "Already ends."}, {"", ""}, {"digit 7", "digit 7."},
      {"quote '", "quote '."}, {"slash /", "slash /."}, {"Czech letter ž", "Czech letter ž."},
      {"bracket (x)", "bracket (x)"}, {"exclamation!", "exclamation!"}, {"hyphen -", "hyphen -"},
  };
  // clang-format on
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
  const ScopedHook<ErrorBox> box(&SetErrorBox, [&](const QString&, const QString&) {
    grabber_seen_by_box = QWidget::mouseGrabber();
  });
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

TEST(Application, NotifyCatchesWhatEscapesAHandler) {
  BoxWatch watch;
  Thrower thrower;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::sendPostedEvents(&thrower);
  EXPECT_EQ(watch.texts, QStringList(2, "'abc' is not a valid floating point value."));
}

TEST(Application, ReadsTheDecimalSeparatorAgainOnALocaleNotice) {
  SetDecimalSeparator('#');
  QEvent notice(QEvent::LocaleChange);
  QCoreApplication::sendEvent(&App(), &notice);
  EXPECT_EQ(DecimalSeparator(), '.');  // the tests run under C.UTF-8
}

// Qt's own texts follow the messages locale named in the environment, whether or not the C
// library has it; the field's context menu uses them too.
TEST(Application, QtTextsInTheLanguageOfTheMessagesLocale) {
  const char* const variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  QByteArray saved[3];
  for (int i = 0; i < 3; ++i) saved[i] = qgetenv(variables[i]);
  const struct {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    QString copy, cancel;
  } rows[] = {
      {"cs_CZ.UTF-8", "", "", "&Kopírovat", "Zrušit"},
      {"", "cs_CZ.UTF-8", "en_US.UTF-8", "&Kopírovat", "Zrušit"},
      {"", "", "cs_CZ", "&Kopírovat", "Zrušit"},
      {"C", "", "cs_CZ.UTF-8", "&Copy", "Cancel"},
      {"", "C.UTF-8", "cs_CZ.UTF-8", "&Copy", "Cancel"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.lc_all) + "/" + row.lc_messages + "/" + row.lang);
    qputenv("LC_ALL", row.lc_all);
    qputenv("LC_MESSAGES", row.lc_messages);
    qputenv("LANG", row.lang);
    InstallQtTranslation();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), row.cancel);
    TMaskEdit field;
    std::unique_ptr<QMenu> menu(field.CreateContextMenu());
    const auto* copy = menu->findChild<QAction*>(QStringLiteral("edit-copy"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->text(), row.copy);
  }
  for (int i = 0; i < 3; ++i) {
    if (saved[i].isNull()) {
      qunsetenv(variables[i]);
    } else {
      qputenv(variables[i], saved[i]);
    }
  }
  InstallQtTranslation();
}

TEST(ShowError, DefaultBoxIsAModalStopBoxWithOneOkButton) {
  const ScopedHook<ErrorBox> plain(&SetErrorBox, {});
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
  EXPECT_EQ(seen, QStringLiteral("HB9CV|Something failed.|%1|1").arg(QMessageBox::Critical));
}

}  // namespace
}  // namespace hb9cv
