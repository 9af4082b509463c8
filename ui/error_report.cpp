#include "ui/error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <exception>

namespace hb9cv {
namespace {

ErrorBox* g_box = nullptr;

void MessageBoxError(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace

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
      ShowError(TranslatedMessage(e));
    } catch (const std::exception& e) {
      ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
      ShowError(
          QCoreApplication::translate(kErrorContext, QT_TRANSLATE_NOOP("Errors", "Unknown error")));
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
