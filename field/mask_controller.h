#pragma once
// The decisions of the masked entry field, without a window: keys, characters, mouse, focus
// and clipboard requests go in; the text, the selection, the modified flag and beeps come out.
// The widget (mask_edit.h) only turns Qt's events into these calls and shows the result.
//
// The field overwrites its text place by place and shows the current place as one selected
// character whose fixed end (anchor) is on its right. Underneath it sits a plain single-line
// edit box (EditBox) with the few operations a platform edit control has: a selection with an
// anchor, replacing the selection within a length limit, setting the whole text, the modified
// flag. The masked rules are layered over that box exactly as they would be over a native one.
#include <optional>
#include <string>

#include "calc/translate.h"
#include "field/edit_mask.h"

namespace hb9cv {

// The plain edit control under the field. Indexes are clamped to the text.
class EditBox {
 public:
  const std::string& Text() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  int Anchor() const { return anchor_; }
  int Caret() const { return caret_; }
  int SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  int SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  int SelLength() const { return SelEnd() - SelStart(); }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  // 0: no limit.
  int LengthLimit() const { return limit_; }
  void SetLengthLimit(int limit) { limit_ = limit < 0 ? 0 : limit; }

  // Selects between the two indexes, the caret standing at the second.
  void Select(int anchor, int caret);
  // Replaces the selection, cutting `s` to what the length limit leaves room for; the caret
  // ends after the inserted text. Sets the modified flag when anything changed. No undo.
  void ReplaceSelection(const std::string& s);
  // Replaces the whole text: caret at 0, nothing selected, modified flag cleared.
  void SetText(const std::string& text);

 private:
  std::string text_;
  int anchor_ = 0;
  int caret_ = 0;
  int limit_ = 0;
  bool modified_ = false;
};

// Keys the field or the edit box handle on key down; every other key is kOther.
enum class EditKey { kOther, kLeft, kRight, kUp, kDown, kHome, kEnd, kDelete, kBackspace, kInsert };

struct KeyState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// One key press as the field receives it: the key down, then the character it types (if any).
struct KeyStroke {
  static constexpr int kNoCharacter = -1;
  // A character that has no single byte in the field's character set.
  static constexpr int kUnrepresentable = -2;
  EditKey key = EditKey::kOther;
  KeyState state;
  int character = kNoCharacter;  // 0..255, or one of the two values above
};

// Control characters as the keyboard types them.
inline constexpr char kCtrlC = '\x03';
inline constexpr char kBackspaceChar = '\x08';
inline constexpr char kEnterChar = '\r';
inline constexpr char kCtrlV = '\x16';
inline constexpr char kCtrlX = '\x18';
inline constexpr char kEscChar = '\x1b';

// The message of a failed validation.
inline constexpr char kInvalidInputMessage[] =
    HB9CV_TRANSLATE_NOOP("Errors", "Invalid input value.  Use escape key to abandon changes");

class MaskEditController {
 public:
  // What the field needs from its surroundings.
  class Host {
   public:
    virtual ~Host() = default;
    virtual void Beep() = 0;
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Takes the input focus back after a failed validation.
    virtual void Refocus() {}
  };

  explicit MaskEditController(Host& host);
  virtual ~MaskEditController() = default;

  // Properties.
  const std::string& EditMaskText() const { return mask_.Mask(); }
  void SetEditMask(const std::string& mask);
  const EditMask& Mask() const { return mask_; }
  bool Masked() const { return masked_; }
  int MaxLength() const { return box_.LengthLimit(); }
  void SetMaxLength(int length);
  std::string Text() const;
  void SetText(const std::string& value);
  void Clear() { SetText(std::string()); }
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool on) { autoSelect_ = on; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }

  // State.
  const EditBox& Box() const { return box_; }
  const std::string& Shown() const { return box_.Text(); }
  bool Modified() const { return box_.Modified(); }
  void SetModified(bool modified) { box_.SetModified(modified); }
  const std::string& RememberedValue() const { return remembered_; }
  // The field keeps Esc for itself while it has something to undo.
  bool WantsEscape() const { return masked_ && box_.Modified(); }

  // Input. A key press is the key down followed by its character.
  void KeyPress(const KeyStroke& stroke);
  void KeyDown(EditKey key, KeyState state);
  void KeyUp(EditKey key, KeyState state);
  void Character(int c);
  // Mouse, left button only; `index` is the caret index nearest the pointer (the boundary a
  // drag selects from and to), `character` the index of the character under the pointer (the
  // text's length right of its last character), `x` the pointer's position.
  void MousePress(int index, int character, int x, bool shift);
  void MouseMove(int index);
  void MouseRelease(int x);
  void MouseDoubleClick(int index, int x);
  // Focus. `entering`: the field becomes the focused control of its window (not merely the
  // window getting the focus back). `leaving`: another control of the window takes the focus.
  void FocusIn(bool entering, bool leftButtonDown);
  void FocusOut(bool leaving);
  // Requests from any source (keys, context menu).
  void Cut();
  void Copy();
  void Paste();
  void SelectAll();

  // The field's own operations; a derived field may change them.
  virtual bool CanEdit() const { return true; }
  virtual void Reset();
  // Pass (nullopt), or the index of the place that fails.
  virtual std::optional<int> Validate() const;
  virtual void ValidateError();
  virtual void ValidateOnLeave();

  // Caret placing (exposed for the widget's tests).
  void PlaceCaret(int index);
  void NormaliseCaret();

 private:
  void SetShown(const std::string& shown);
  void StepForward(int index, int distance);
  void StepBack(int index);
  void Deleting(EditKey key);
  void ArrowKey(EditKey key, KeyState state);
  void HomeEndKey(EditKey key, KeyState state);
  void Enter(bool leftButtonDown);
  // The edit box's own handling of a key the field passed on, and of a typed character.
  void BoxKeyDown(EditKey key, KeyState state);
  void BoxCharacter(char c);
  void BoxDeleteSelection();

  Host& host_;
  EditMask mask_;
  EditBox box_;
  bool masked_ = false;
  int tracked_ = 0;
  int pressX_ = 0;
  int pressCharacter_ = 0;
  std::string remembered_;
  bool reentering_ = false;
  bool autoSelect_ = true;
  bool readOnly_ = false;
  bool focused_ = false;
  bool wordMove_ = false;  // the last key down was Ctrl+Left or Ctrl+Right
};

}  // namespace hb9cv
