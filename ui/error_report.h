#pragma once
// The one place where errors that escape an event handler end up: the error box.
//
// Qt is not exception-safe, so no exception may unwind through Qt's frames. Every function
// that Qt calls (action slots, event handlers that can fail) runs inside Guarded(), which
// catches and reports; TApplication::notify catches whatever still gets through.
#include <QApplication>
#include <QString>
#include <functional>
#include <utility>

#include "calc/errors.h"

namespace hb9cv {

// Unwinds a handler without a message.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// The program's title: the caption of every error box.
inline constexpr char kApplicationTitle[] = "HB9CV";

// The text the error box shows: the message, with a full stop added when it is not empty and
// its last character sorts after "." (a letter, a digit, a quote, "/"...), none after "!", ")",
// "-" or "." itself.
QString ErrorBoxText(const QString& message);

// The box itself; the default shows a modal message box with the stop icon and OK.
using ErrorBox = std::function<void(const QString& title, const QString& text)>;
// Replaces the box (tests watch it without a modal loop); an empty function restores the
// message box. Returns the previous one.
ErrorBox SetErrorBox(ErrorBox box);

// Shows `message` in the error box under the title "HB9CV".
void ShowError(const QString& message);

// Reports the exception being handled: releases a mouse capture, ignores EAbort and shows
// anything else with ShowError. Call only inside a catch block.
void HandleException() noexcept;

// Runs `handler`; whatever it throws is reported here and goes no further.
template <class F>
void Guarded(F&& handler) noexcept {
  try {
    std::forward<F>(handler)();
  } catch (...) {
    HandleException();
  }
}

// A slot for Qt's signals that runs `handler` guarded.
template <class F>
auto GuardedSlot(F handler) {
  return [h = std::move(handler)]() mutable { Guarded(h); };
}

// Loads Qt's own texts (dialog buttons, the field's context menu) in the language of the
// user's messages locale: LC_ALL, else LC_MESSAGES, else LANG, as Qt reads them, whether or
// not the C library has that locale. Replaces the translation loaded before; returns whether
// one was found. The program's own texts are never translated.
bool InstallQtTranslation();

// The application object: title, icon, fonts, Qt's texts, the error backstop, the locale notice and
// the rule that closing the main window ends the program.
class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);

  // The first window created: when it closes the event loop ends, even while other windows
  // (the warning) are still visible.
  void SetMainForm(QWidget* form) { main_form_ = form; }
  QWidget* MainForm() const { return main_form_; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  QWidget* main_form_ = nullptr;
};

}  // namespace hb9cv
