#include "field/mask_controller.h"

#include <algorithm>

#include "calc/errors.h"
#include "field/mask_error.h"

namespace hb9cv {
namespace {

int Clamp(int value, int low, int high) {
  return std::max(low, std::min(value, high));
}

bool IsPlace(MaskCharKind kind) {
  return kind == MaskCharKind::kRequiredPlace || kind == MaskCharKind::kOptionalPlace;
}

// Where Ctrl+Left or Ctrl+Right moves the caret: words are separated by spaces.
int WordTarget(const std::string& text, int caret, int direction) {
  const int length = static_cast<int>(text.size());
  int i = Clamp(caret, 0, length);
  if (direction > 0) {
    while (i < length && text[i] != ' ') ++i;
    while (i < length && text[i] == ' ') ++i;
  } else {
    while (i > 0 && text[i - 1] == ' ') --i;
    while (i > 0 && text[i - 1] != ' ') --i;
  }
  return i;
}

}  // namespace

void EditBox::Select(int anchor, int caret) {
  anchor_ = Clamp(anchor, 0, Length());
  caret_ = Clamp(caret, 0, Length());
}

void EditBox::ReplaceSelection(const std::string& s) {
  const int start = SelStart();
  const int removed = SelLength();
  std::string inserted = s;
  if (limit_ > 0) {
    const int room = std::max(0, limit_ - (Length() - removed));
    if (static_cast<int>(inserted.size()) > room) inserted.resize(static_cast<size_t>(room));
  }
  if (removed == 0 && inserted.empty()) return;
  text_.replace(static_cast<size_t>(start), static_cast<size_t>(removed), inserted);
  anchor_ = caret_ = start + static_cast<int>(inserted.size());
  modified_ = true;
}

void EditBox::SetText(const std::string& text) {
  text_ = text;
  anchor_ = caret_ = 0;
  modified_ = false;
}

MaskEditController::MaskEditController(Host& host) : host_(host) {}

// ---- properties ----

void MaskEditController::SetEditMask(const std::string& mask) {
  if (mask == mask_.Mask()) return;
  const int oldStart = box_.SelStart();
  const std::string bare = mask_.BareValueOf(box_.Text());
  mask_ = EditMask(mask);
  SetShown(mask_.Format(bare, mask_.Blank()));
  masked_ = !mask.empty();
  box_.SetLengthLimit(0);
  if (masked_ && mask_.PlaceCount() > 0) box_.SetLengthLimit(mask_.PlaceCount());
  if (focused_) PlaceCaret(oldStart);
}

void MaskEditController::SetMaxLength(int length) {
  box_.SetLengthLimit(masked_ ? mask_.PlaceCount() : length);
}

std::string MaskEditController::Text() const {
  return masked_ ? mask_.TextOf(box_.Text()) : box_.Text();
}

void MaskEditController::SetText(const std::string& value) {
  SetShown(masked_ ? mask_.ShownOf(value) : value);
}

void MaskEditController::SetShown(const std::string& shown) {
  // An unchanged text keeps the caret and the modified flag: assigning the text the field
  // already shows must not disturb the user's place.
  if (shown == box_.Text()) return;
  box_.SetText(shown);
  remembered_ = shown;
  const int next = mask_.NextEditableIndex(box_.SelStart());
  if (next != box_.SelStart()) PlaceCaret(next);
  NormaliseCaret();
}

// ---- caret ----

void MaskEditController::PlaceCaret(int index) {
  const int count = mask_.PlaceCount();
  if (index < 0) index = 0;
  if (index >= count) {
    box_.Select(count, count);
    tracked_ = count;
  } else {
    // The current place: one character selected, the fixed end on its right.
    box_.Select(index + 1, index);
    tracked_ = index;
  }
}

void MaskEditController::NormaliseCaret() {
  if (masked_ && box_.SelLength() == 0) PlaceCaret(box_.Caret());
}

void MaskEditController::StepForward(int index, int distance) {
  int j = mask_.NextEditableIndex(index + distance);
  if (mask_.IsLiteralIndex(j)) j = index;
  PlaceCaret(j);
}

void MaskEditController::StepBack(int index) {
  PlaceCaret(mask_.PreviousEditableIndex(index - 1));
}

// ---- keys ----

void MaskEditController::KeyPress(const KeyStroke& stroke) {
  KeyDown(stroke.key, stroke.state);
  if (stroke.character != KeyStroke::kNoCharacter) Character(stroke.character);
}

void MaskEditController::KeyDown(EditKey key, KeyState state) {
  wordMove_ = false;
  if (masked_ && !state.alt) {
    switch (key) {
      case EditKey::kLeft:
      case EditKey::kRight:
        ArrowKey(key, state);
        if (!state.shift && !state.ctrl) return;
        wordMove_ = state.ctrl;
        break;
      case EditKey::kUp:
      case EditKey::kDown:
        return;
      case EditKey::kHome:
      case EditKey::kEnd:
        HomeEndKey(key, state);
        return;
      case EditKey::kDelete:
        if (!state.shift && CanEdit()) {
          Deleting(key);
          return;
        }
        NormaliseCaret();
        break;
      case EditKey::kBackspace:
        if (CanEdit()) {
          Deleting(key);
          return;
        }
        NormaliseCaret();
        break;
      default:
        NormaliseCaret();
        break;
    }
  }
  BoxKeyDown(key, state);
}

void MaskEditController::KeyUp(EditKey key, KeyState /*state*/) {
  if ((key == EditKey::kLeft || key == EditKey::kRight) && wordMove_) {
    wordMove_ = false;
    NormaliseCaret();
  }
}

void MaskEditController::ArrowKey(EditKey key, KeyState state) {
  if (state.ctrl) return;  // the box moves by words; the key up normalises
  const int count = mask_.PlaceCount();
  if (state.shift) {
    // The box extends the selection afterwards; keep the tracked caret on its moving end.
    if (key == EditKey::kRight) {
      ++tracked_;
      if (box_.SelLength() == 1) {
        box_.Select(box_.SelStart(), box_.SelEnd());
        ++tracked_;
      }
      tracked_ = std::min(tracked_, count);
    } else {
      --tracked_;
      if (box_.SelLength() == 2 && tracked_ > box_.SelStart()) {
        const int start = box_.SelStart();
        box_.Select(start + 1, start + 1);
        --tracked_;
      }
      tracked_ = std::max(tracked_, 0);
    }
    return;
  }
  if (box_.SelLength() > 1) {
    if (box_.SelEnd() == tracked_) --tracked_;
    PlaceCaret(tracked_);
  } else if (key == EditKey::kLeft) {
    StepBack(box_.SelStart());
  } else if (box_.SelLength() == 0) {
    PlaceCaret(box_.SelStart());
  } else {
    StepForward(box_.SelStart(), 1);
  }
}

void MaskEditController::HomeEndKey(EditKey key, KeyState state) {
  const int count = mask_.PlaceCount();
  const bool home = key == EditKey::kHome;
  if (!state.shift) {
    PlaceCaret(home ? 0 : count);
  } else if (home) {
    int end = box_.SelEnd();
    if (box_.SelStart() != tracked_ && box_.SelLength() != 1) end = box_.SelStart() + 1;
    box_.Select(0, end);
    NormaliseCaret();
  } else {
    int start = box_.SelStart();
    if (box_.SelEnd() != tracked_ && box_.SelLength() != 1) start = box_.SelEnd() - 1;
    box_.Select(start, count);
    NormaliseCaret();
  }
  tracked_ = home ? 0 : count;
}

void MaskEditController::Deleting(EditKey key) {
  if (readOnly_) return;
  if (key == EditKey::kBackspace && box_.SelLength() <= 1) {
    const int before = box_.SelStart();
    StepBack(before);
    if (box_.SelStart() == before) return;
  }
  if (box_.SelLength() == 0) return;
  const int start = box_.SelStart();
  const int length = box_.SelLength();
  const std::string blanked = mask_.BlankRange(box_.Text(), start, length);
  box_.ReplaceSelection(blanked.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
  if (length == 1) {
    PlaceCaret(box_.SelStart() - 1);  // the blanked place stays current
  } else {
    PlaceCaret(mask_.NextEditableIndex(start));
  }
}

void MaskEditController::Character(int c) {
  // Ctrl+C, Ctrl+V and Ctrl+X reach the box, which turns them into requests.
  if (c == kCtrlC) return Copy();
  if (c == kCtrlV) return Paste();
  if (c == kCtrlX) return Cut();
  if (!masked_) {
    if (c >= 0) BoxCharacter(static_cast<char>(c));
    return;
  }
  if (c == kEscChar) return Reset();
  if (!CanEdit() || readOnly_) return;
  if (c == kBackspaceChar) return;  // handled on key down
  if (c == kEnterChar) return ValidateOnLeave();
  if (box_.SelLength() > 1) {
    const int start = box_.SelStart();
    Deleting(EditKey::kDelete);
    PlaceCaret(mask_.NextEditableIndex(start));
  }
  const int position = mask_.MaskPositionOf(box_.SelStart());
  if (position != 0 && c >= 0) {
    const EditMask::Acceptance a = mask_.Accept(static_cast<char>(c), position);
    if (a.accepted) {
      box_.ReplaceSelection(std::string(1, a.stored));
      StepForward(box_.Caret(), 0);
      return;
    }
    if (IsPlace(mask_.Classify(position))) {
      // The next literal's own character skips to the place after it ("," before the
      // decimals), keeping what is typed there.
      const int literal = mask_.FirstLiteralAfter(position);
      if (literal != 0 && mask_.LiteralAt(literal) == static_cast<char>(c)) {
        PlaceCaret(mask_.PlacesUpTo(literal));
        return;
      }
    }
  }
  host_.Beep();
}

// ---- the box's own handling ----

void MaskEditController::BoxKeyDown(EditKey key, KeyState state) {
  if (state.alt) return;
  const int length = box_.Length();
  auto move = [&](int target) {
    if (state.shift) {
      box_.Select(box_.Anchor(), target);
    } else {
      box_.Select(target, target);
    }
  };
  switch (key) {
    case EditKey::kLeft:
    case EditKey::kUp:
    case EditKey::kRight:
    case EditKey::kDown: {
      const int direction = (key == EditKey::kLeft || key == EditKey::kUp) ? -1 : 1;
      if (state.ctrl) {
        move(WordTarget(box_.Text(), box_.Caret(), direction));
      } else if (!state.shift && box_.SelLength() > 0) {
        move(direction < 0 ? box_.SelStart() : box_.SelEnd());
      } else {
        move(box_.Caret() + direction);
      }
      break;
    }
    case EditKey::kHome:
      move(0);
      break;
    case EditKey::kEnd:
      move(length);
      break;
    case EditKey::kDelete:
      if (state.shift) {
        Cut();
      } else if (!readOnly_) {
        if (box_.SelLength() == 0) box_.Select(box_.Caret(), box_.Caret() + 1);
        BoxDeleteSelection();
      }
      break;
    case EditKey::kInsert:
      if (state.shift) {
        Paste();
      } else if (state.ctrl) {
        Copy();
      }
      break;
    default:
      break;
  }
}

void MaskEditController::BoxCharacter(char c) {
  if (readOnly_) return;
  if (c == kBackspaceChar) {
    if (box_.SelLength() == 0) box_.Select(box_.Caret() - 1, box_.Caret());
    BoxDeleteSelection();
    return;
  }
  if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') return;
  box_.ReplaceSelection(std::string(1, c));
}

void MaskEditController::BoxDeleteSelection() {
  box_.ReplaceSelection(std::string());
}

// ---- mouse ----

void MaskEditController::MousePress(int index, int character, int x, bool shift) {
  wordMove_ = false;
  if (shift) {
    box_.Select(box_.Anchor(), index);
  } else {
    box_.Select(index, index);
  }
  pressX_ = x;
  pressCharacter_ = character;
}

void MaskEditController::MouseMove(int index) {
  box_.Select(box_.Anchor(), index);
}

void MaskEditController::MouseDoubleClick(int index, int x) {
  // The box selects the word under the pointer.
  const std::string& text = box_.Text();
  int start = Clamp(index, 0, box_.Length());
  int end = start;
  while (start > 0 && text[start - 1] != ' ') --start;
  while (end < box_.Length() && text[end] != ' ') ++end;
  box_.Select(start, end);
  pressX_ = x;
}

void MaskEditController::MouseRelease(int x) {
  // A click, not a drag: the box put its caret on the nearest boundary, which for a click on
  // the right half of a character is the place after it, and the next digit would land there.
  if (box_.SelLength() == 0) box_.Select(pressCharacter_, pressCharacter_);
  tracked_ = box_.SelStart();
  if (box_.SelLength() > 0 && x > pressX_) tracked_ = box_.SelEnd();
  tracked_ = Clamp(tracked_, 0, mask_.PlaceCount());
  NormaliseCaret();
}

// ---- focus ----

void MaskEditController::FocusIn(bool entering, bool leftButtonDown) {
  focused_ = true;
  if (entering) Enter(leftButtonDown);
  NormaliseCaret();
}

void MaskEditController::Enter(bool leftButtonDown) {
  if (!reentering_) {
    remembered_ = box_.Text();
    if (autoSelect_ && !leftButtonDown) box_.Select(0, box_.Length());
  }
  reentering_ = false;
  NormaliseCaret();
}

void MaskEditController::FocusOut(bool leaving) {
  focused_ = false;
  if (!leaving) return;
  ValidateOnLeave();
  NormaliseCaret();
}

// ---- clipboard ----

void MaskEditController::Copy() {
  if (box_.SelLength() == 0) return;
  host_.SetClipboardText(box_.Text().substr(static_cast<size_t>(box_.SelStart()),
                                            static_cast<size_t>(box_.SelLength())));
}

void MaskEditController::Cut() {
  Copy();
  if (readOnly_) return;
  if (masked_) {
    Deleting(EditKey::kDelete);
  } else {
    BoxDeleteSelection();
  }
}

void MaskEditController::Paste() {
  if (readOnly_) return;
  const std::string pasted = host_.ClipboardText();
  if (!masked_) {
    box_.ReplaceSelection(pasted);
    return;
  }
  const int start = box_.SelStart();
  SetShown(mask_.BlankRange(box_.Text(), start, box_.SelLength()));
  const EditMask::MergeResult merged = mask_.Merge(box_.Text(), pasted, start);
  SetShown(merged.shown);
  PlaceCaret(merged.index);
}

void MaskEditController::SelectAll() {
  box_.Select(0, box_.Length());
}

// ---- validation and reset ----

void MaskEditController::Reset() {
  if (!box_.Modified()) return;
  SetShown(remembered_);
  box_.SetModified(false);
}

std::optional<int> MaskEditController::Validate() const {
  return mask_.Validate(box_.Text());
}

void MaskEditController::ValidateError() {
  host_.Beep();
  throw EDBEditError(kInvalidInputMessage, {});
}

void MaskEditController::ValidateOnLeave() {
  if (!masked_ || !box_.Modified()) return;
  const std::optional<int> failed = Validate();
  if (!failed) return;
  reentering_ = true;
  host_.Refocus();
  PlaceCaret(*failed);
  ValidateError();
}

}  // namespace hb9cv
