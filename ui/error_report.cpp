#include "ui/error_report.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <exception>
#include <memory>

namespace hb9cv {
namespace {

ErrorBox* g_box = nullptr;

void MessageBoxError(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

// The locale name messages are shown in; setlocale() is not asked, since it answers "C" for
// a locale the C library has not generated, and Qt itself reads the names.
QString MessagesLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QString name = qEnvironmentVariable(variable);
    if (!name.isEmpty()) return name;
  }
  return QStringLiteral("C");
}

}  // namespace

bool InstallQtTranslation() {
  static QPointer<QTranslator> installed;
  if (installed != nullptr) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
  }
  const QString name = MessagesLocaleName();
  // QLocale would read an unknown name as the system locale; these two mean English.
  if (name == u"C" || name == u"POSIX" || name.startsWith(u"C.")) return false;
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  // Only qtbase: the widgets and dialogs the program uses take their texts from it alone.
  if (!translator->load(QLocale(name), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  installed = translator.release();
  QCoreApplication::installTranslator(installed);
  return true;
}

QString ErrorBoxText(const QString& message) {
  if (message.isEmpty()) return message;
  // Quotes sort with the letters here: a message ending in a quoted name gets its stop too.
  const QChar last = message.back();
  if (last > QChar(u'.') || last == QChar(u'\'') || last == QChar(u'"')) return message + u'.';
  return message;
}

ErrorBox* SetErrorBox(ErrorBox* box) {
  return std::exchange(g_box, box);
}

void ShowError(const QString& message) {
  const QString title = QString::fromLatin1(kApplicationTitle);
  const QString text = ErrorBoxText(message);
  if (g_box != nullptr) {
    g_box->Show(title, text);
  } else {
    MessageBoxError(title, text);
  }
}

void ReportException() noexcept {
  try {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    try {
      throw;
    } catch (const EAbort&) {
    } catch (const Exception& e) {
      ShowError(QString::fromStdString(e.Message()));
    } catch (const std::exception& e) {
      ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
      ShowError(QStringLiteral("Unknown error"));
    }
  } catch (...) {
    // The report itself failed (out of memory): there is nobody left to tell.
  }
}

ExceptionHandler& ErrorBoxReporting() {
  class Reporting final : public ExceptionHandler {
   public:
    void Report() noexcept override { ReportException(); }
  };
  static Reporting reporting;
  return reporting;
}

}  // namespace hb9cv
