// The calculation and the frequency field for the web page, as plain C functions over bytes.
// Every entry point catches what the program can throw and keeps its message for the page:
// nothing unwinds into JavaScript.
#include <emscripten/emscripten.h>

#include <string>
#include <vector>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "calc/value_table.h"
#include "field/main_form_model.h"
#include "field/mask_controller.h"
#include "field/typed_frequency.h"

namespace hb9cv {
namespace {

// The page keeps the clipboard and plays the beeps; the field only leaves them here.
class PageHost : public MaskEditController::Host {
 public:
  void Beep() override { ++beeps; }
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }

  int beeps = 0;
  std::string clipboard;
};

PageHost gHost;
MaskEditController gField(gHost);
// What the page reads back after a call: a message, or "value\tlabel set\ttext" lines.
std::string gOut;
std::string gError;
// The error's message pattern and arguments, for the page to show it in the page's language.
std::string gErrorPattern;
std::vector<std::string> gErrorArgs;
// The diameter line's words in the page's language.
std::string gDiameterWords = kDiameterWords;

// Runs `body`; on an error keeps its message and answers false.
template <typename Body>
bool Guarded(Body body) {
  gError.clear();
  gErrorPattern.clear();
  try {
    body();
    return true;
  } catch (const Exception& e) {
    gError = e.Message();
    if (e.Pattern() != nullptr) {
      gErrorPattern = e.Pattern();
      gErrorArgs = e.Args();
    }
  } catch (const std::exception& e) {
    gError = e.what();
  } catch (...) {
    gError = "Unknown error";
  }
  return false;
}

void WriteCaptions(const std::vector<CaptionWrite>& writes) {
  gOut.clear();
  for (const CaptionWrite& w : writes) {
    gOut += RowOf(w.value).name;
    gOut += w.on == LabelSet::Window ? "\twindow\t" : "\treport\t";
    gOut += w.text + "\n";
  }
}

EditKey KeyOf(int key) {
  return key >= 0 && key <= static_cast<int>(EditKey::kInsert) ? static_cast<EditKey>(key)
                                                               : EditKey::kOther;
}

KeyState StateOf(int modifiers) {
  return {(modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0};
}

}  // namespace
}  // namespace hb9cv

using namespace hb9cv;

extern "C" {

// Strings go in through this buffer (bytes, NUL-terminated).
EMSCRIPTEN_KEEPALIVE char* hb_buffer(int size) {
  static std::vector<char> buffer;
  buffer.assign(static_cast<size_t>(size) + 1, '\0');
  return buffer.data();
}
EMSCRIPTEN_KEEPALIVE const char* hb_error() {
  return gError.c_str();
}
// The last error's untranslated pattern, or "" for a message that has none.
EMSCRIPTEN_KEEPALIVE const char* hb_error_pattern() {
  return gErrorPattern.c_str();
}
// The last error's message from the translation of its pattern.
EMSCRIPTEN_KEEPALIVE const char* hb_error_in(const char* translatedPattern) {
  static std::string message;
  message = FillPattern(translatedPattern, gErrorArgs);
  return message.c_str();
}
EMSCRIPTEN_KEEPALIVE void hb_set_diameter_words(const char* words) {
  gDiameterWords = words;
}
EMSCRIPTEN_KEEPALIVE const char* hb_out() {
  return gOut.c_str();
}

// The main window's field as the desktop sets it up.
EMSCRIPTEN_KEEPALIVE int hb_field_init() {
  return Guarded([&] {
    gField.SetEditMask(kFieldEditMask);
    gField.SetMaxLength(kFieldMaxLength);
    gField.SetText(kFieldResetText);
  });
}
// Modifiers: 1 Shift, 2 Ctrl, 4 Alt. `character` as KeyStroke has it.
EMSCRIPTEN_KEEPALIVE int hb_key(int key, int modifiers, int character) {
  return Guarded([&] { gField.KeyPress({KeyOf(key), StateOf(modifiers), character}); });
}
EMSCRIPTEN_KEEPALIVE int hb_key_up(int key, int modifiers) {
  return Guarded([&] { gField.KeyUp(KeyOf(key), StateOf(modifiers)); });
}
EMSCRIPTEN_KEEPALIVE int hb_mouse(int what, int index, int character, int x, int shift) {
  return Guarded([&] {
    switch (what) {
      case 0:
        return gField.MousePress(index, character, x, shift != 0);
      case 1:
        return gField.MouseMove(index);
      case 2:
        return gField.MouseRelease(x);
      default:
        return gField.MouseDoubleClick(index, x);
    }
  });
}
EMSCRIPTEN_KEEPALIVE int hb_focus(int in, int enteringOrLeaving, int leftButtonDown) {
  return Guarded([&] {
    if (in) return gField.FocusIn(enteringOrLeaving != 0, leftButtonDown != 0);
    gField.FocusOut(enteringOrLeaving != 0);
  });
}
// 0 cut, 1 copy, 2 paste (of `clipboard`), 3 select all.
EMSCRIPTEN_KEEPALIVE int hb_edit(int what, const char* clipboard) {
  return Guarded([&] {
    if (what == 2) gHost.clipboard = clipboard;
    switch (what) {
      case 0:
        return gField.Cut();
      case 1:
        return gField.Copy();
      case 2:
        return gField.Paste();
      default:
        return gField.SelectAll();
    }
  });
}
EMSCRIPTEN_KEEPALIVE int hb_set_text(const char* text) {
  return Guarded([&] { gField.SetText(text); });
}
// 0 shown text, 1 Text, 2 clipboard.
EMSCRIPTEN_KEEPALIVE const char* hb_field_string(int which) {
  gOut = which == 0 ? gField.Shown() : which == 1 ? gField.Text() : gHost.clipboard;
  return gOut.c_str();
}
// 0 anchor, 1 caret, 2 beeps since the last call (the count is then cleared), 3 wants Esc.
EMSCRIPTEN_KEEPALIVE int hb_field_number(int which) {
  switch (which) {
    case 0:
      return gField.Box().Anchor();
    case 1:
      return gField.Box().Caret();
    case 2:
      return std::exchange(gHost.beeps, 0);
    default:
      return gField.WantsEscape() ? 1 : 0;
  }
}

// Compute from the field: 0 computed (captions in hb_out), 1 zero, 2 refused (hb_error).
EMSCRIPTEN_KEEPALIVE int hb_compute() {
  int result = 2;
  Guarded([&] {
    const ComputeOutcome outcome = ComputeFromField(gField.Text(), gDiameterWords);
    WriteCaptions(outcome.writes);
    result = outcome.zero ? 1 : 0;
  });
  return result;
}
// "&Nový": the field's reset text, and the captions (hb_out).
EMSCRIPTEN_KEEPALIVE int hb_new() {
  WriteCaptions(ResetWrites());
  return Guarded([&] { gField.SetText(kFieldResetText); });
}
// A typed frequency into the field's text (hb_out), or 0 with the refusal in hb_error.
EMSCRIPTEN_KEEPALIVE int hb_field_text_of(const char* typed) {
  return Guarded([&] { gOut = FieldTextOf(typed); });
}
EMSCRIPTEN_KEEPALIVE void hb_set_decimal_separator(char separator) {
  SetDecimalSeparator(separator);
}

}  // extern "C"
