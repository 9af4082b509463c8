#pragma once
// The one place where errors that escape an event handler end up: the error box. Handlers run
// inside Guarded() (report/preview/error_guard.h); Application::notify catches whatever still
// gets through.
#include <QString>
#include <functional>
#include <utility>

#include "calc/errors.h"
#include "report/preview/error_guard.h"
#include "report/render/scoped_hook.h"

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

// The program's exception handler (installed by Application): releases a mouse capture,
// ignores EAbort and shows anything else with ShowError. Call only inside a catch block;
// Guarded() and HandleException() reach it.
void ReportException() noexcept;

// Loads Qt's own texts (dialog buttons, the field's context menu) in the language of the
// user's messages locale: LC_ALL, else LC_MESSAGES, else LANG, as Qt reads them, whether or
// not the C library has that locale. Replaces the translation loaded before; returns whether
// one was found. The program's own texts are never translated.
bool InstallQtTranslation();

}  // namespace hb9cv
