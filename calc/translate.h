#pragma once
// Texts the user reads, kept in the program's own language where no Qt is at hand.
// HB9CV_TRANSLATE_NOOP(context, text) is the text itself; the translation tools read it as
// QT_TRANSLATE_NOOP (lupdate -tr-function-alias QT_TRANSLATE_NOOP+=HB9CV_TRANSLATE_NOOP), and
// the Qt layer shows it through QCoreApplication::translate(context, text).
#include <string>
#include <string_view>
#include <vector>

#define HB9CV_TRANSLATE_NOOP(context, text) text

namespace hb9cv {

// `pattern` with %1 to %9 replaced by `args` in one pass, so an argument that holds "%2" stays
// as it is; a place without an argument stays too.
inline std::string FillPattern(std::string_view pattern, const std::vector<std::string>& args) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const size_t n = static_cast<size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
      out += args[n];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace hb9cv
