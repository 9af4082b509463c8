#pragma once
// The one exception guard. Qt is not exception-safe, so no exception may unwind through Qt's
// frames: every function Qt calls that can fail (slots, event handlers) runs inside Guarded(),
// which hands whatever it throws to the installed exception handler.
#include <utility>

namespace hb9cv {

// Where a guarded handler's exceptions go.
class ExceptionHandler {
 public:
  virtual ~ExceptionHandler() = default;
  // Reports the exception being handled; only called inside a catch block.
  virtual void Report() noexcept = 0;
};

// Installs `handler` (not owned; the program installs its error box) and returns the one it
// replaces; nullptr restores the default, a plain critical message box with the error's message.
ExceptionHandler* SetExceptionHandler(ExceptionHandler* handler);

// Passes the exception being handled to the handler. Call only inside a catch block.
void HandleException() noexcept;

// Runs `handler`; whatever it throws is reported and goes no further.
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

}  // namespace hb9cv
