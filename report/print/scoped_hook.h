#pragma once
// The one idiom for the program's replaceable global hooks (printers, dialogs, preview windows,
// the exception handler, the error box, the beep): a setter installs a replacement and returns
// the one it replaces, an empty one (nullptr) restores the default, and a ScopedHook installs a
// replacement for one scope. Tests use it so that no replacement outlives its test:
//   ScopedHook printers(&SetPrinters, &pdfPrinters);
#include <utility>

namespace hb9cv {

template <class Hook>
class ScopedHook {
 public:
  using Setter = Hook (*)(Hook);
  ScopedHook(Setter set, Hook hook) : set_(set), previous_(set(std::move(hook))) {}
  ~ScopedHook() { set_(std::move(previous_)); }
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;

 private:
  Setter set_;
  Hook previous_;
};

}  // namespace hb9cv
