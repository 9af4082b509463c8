#pragma once
// The one place where errors that escape an event handler end up: the error box. Handlers run
// inside Guarded() (report/preview/error_guard.h); Application::notify catches whatever still
// gets through.
#include <QString>
#include <utility>

#include "calc/errors.h"
#include "report/preview/error_guard.h"
#include "report/print/scoped_hook.h"
#include "ui/language.h"

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
class ErrorBox {
 public:
  virtual ~ErrorBox() = default;
  virtual void Show(const QString& title, const QString& text) = 0;
};
// Installs `box` (not owned; tests watch it without a modal loop) and returns the one it
// replaces; nullptr restores the message box.
ErrorBox* SetErrorBox(ErrorBox* box);

// Shows `message` in the error box under the title "HB9CV".
void ShowError(const QString& message);

// The program's exception handler: releases a mouse capture, ignores EAbort and shows anything
// else with ShowError. Call only inside a catch block; Guarded() and HandleException() reach it
// through ErrorBoxReporting(), which Application installs.
void ReportException() noexcept;
ExceptionHandler& ErrorBoxReporting();

}  // namespace hb9cv
