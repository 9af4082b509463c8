// The field's decisions without a window: what the shared key/mouse/paste table does not
// reach (the table itself runs in mask_edit_test.cpp against both the controller and the
// widget).
#include "ui/mask_controller.h"

#include <gtest/gtest.h>

#include "calc/errors.h"

namespace hb9cv {
namespace {

class FakeHost : public MaskEditController::Host {
 public:
  void Beep() override { ++beeps; }
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void Refocus() override { ++refocused; }
  int beeps = 0;
  int refocused = 0;
  std::string clipboard;
};

struct Field {
  explicit Field(const std::string& mask = "9999,999;1;_", const std::string& text = "0000,000")
      : c(host) {
    c.SetEditMask(mask);
    c.SetMaxLength(8);
    c.SetText(text);
    c.FocusIn(true, false);
  }
  void Press(EditKey key, KeyState state = {}, int ch = KeyStroke::kNoCharacter) {
    c.KeyPress({key, state, ch});
    c.KeyUp(key, state);
  }
  void Type(const std::string& s) {
    for (char ch : s) c.KeyPress({EditKey::kOther, {}, static_cast<unsigned char>(ch)});
  }
  void Click(int index) {
    c.MousePress(index, index * 10, false);
    c.MouseRelease(index * 10);
  }
  int Current() const { return c.Box().SelLength() == 1 && c.Box().Anchor() > c.Box().Caret() ? c.Box().Caret() : -1; }
  FakeHost host;
  MaskEditController c;
};

TEST(EditBox, SelectionReplacementAndLimit) {
  EditBox box;
  box.SetText("abcdef");
  box.SetLengthLimit(6);
  box.Select(4, 2);
  EXPECT_EQ(box.SelStart(), 2);
  EXPECT_EQ(box.SelEnd(), 4);
  box.ReplaceSelection("XYZ");  // room for two only
  EXPECT_EQ(box.Text(), "abXYef");
  EXPECT_EQ(box.Caret(), 4);
  EXPECT_TRUE(box.Modified());
  box.SetModified(false);
  box.ReplaceSelection("Q");  // at the limit, nothing selected: no change at all
  EXPECT_EQ(box.Text(), "abXYef");
  EXPECT_FALSE(box.Modified());
  box.Select(-5, 99);
  EXPECT_EQ(box.Anchor(), 0);
  EXPECT_EQ(box.Caret(), 6);
  box.SetText("xy");
  EXPECT_EQ(box.Caret(), 0);
  EXPECT_EQ(box.SelLength(), 0);
}

TEST(MaskController, CreationOrderAndEntering) {
  FakeHost host;
  MaskEditController c(host);
  EXPECT_FALSE(c.Masked());
  c.SetEditMask("9999,999;1;_");
  EXPECT_EQ(c.Shown(), "____,___");
  EXPECT_TRUE(c.Masked());
  c.SetMaxLength(100);
  EXPECT_EQ(c.MaxLength(), 8);
  c.SetText("0000,000");
  EXPECT_EQ(c.Shown(), "0000,000");
  EXPECT_EQ(c.RememberedValue(), "0000,000");
  EXPECT_EQ(c.TrackedCaret(), 0);
  EXPECT_FALSE(c.Modified());
  c.FocusIn(true, false);
  EXPECT_EQ(c.Box().SelStart(), 0);
  EXPECT_EQ(c.Box().SelEnd(), 8);
  // Entered with the mouse button down: no whole-text selection.
  MaskEditController by_mouse(host);
  by_mouse.SetEditMask("9999,999;1;_");
  by_mouse.SetText("0000,000");
  by_mouse.FocusIn(true, true);
  EXPECT_EQ(by_mouse.Box().SelLength(), 1);
}

TEST(MaskController, FocusComingBackKeepsThePlace) {
  Field f;
  f.Click(6);
  f.Type("5");
  f.c.FocusOut(false);  // another window comes forward
  f.c.FocusIn(false, false);
  EXPECT_EQ(f.Current(), 7);
  EXPECT_EQ(f.c.RememberedValue(), "0000,000");
  f.c.FocusOut(true);  // another control of the window: validation passes, nothing changes
  EXPECT_EQ(f.Current(), 7);
  EXPECT_EQ(f.host.beeps, 0);
}

TEST(MaskController, ChangingTheMaskKeepsTheValue) {
  Field f;
  f.Click(2);
  f.c.SetText("12,5");
  f.Click(5);
  f.c.SetEditMask("99999.99;1;_");  // the value's bare "12  5" laid into the new places
  EXPECT_EQ(f.c.Shown(), "12  5.__");
  EXPECT_EQ(f.Current(), 5);  // focused: the caret goes back to the old selection start
  EXPECT_EQ(f.c.MaxLength(), 8);
  f.c.SetEditMask("");
  EXPECT_FALSE(f.c.Masked());
  EXPECT_EQ(f.c.Shown(), "12  5");
  EXPECT_EQ(f.c.MaxLength(), 0);
  f.c.SetMaxLength(3);
  EXPECT_EQ(f.c.MaxLength(), 3);
}

TEST(MaskController, ShiftSelectionsKeepTheTrackedCaretOnTheMovingEnd) {
  Field f;
  f.Click(2);
  const KeyState shift{true, false, false};
  f.Press(EditKey::kRight, shift);
  f.Press(EditKey::kRight, shift);
  EXPECT_EQ(f.c.Box().Anchor(), 2);
  EXPECT_EQ(f.c.Box().Caret(), 5);
  EXPECT_EQ(f.c.TrackedCaret(), 5);
  f.Press(EditKey::kLeft, shift);
  f.Press(EditKey::kLeft, shift);
  EXPECT_EQ(f.Current(), 2);
  f.Press(EditKey::kLeft, shift);  // now growing to the left
  EXPECT_EQ(f.c.Box().Anchor(), 3);
  EXPECT_EQ(f.c.Box().Caret(), 1);
  f.Press(EditKey::kRight);  // plain Right from a wider selection: the tracked caret
  EXPECT_EQ(f.Current(), 1);

  f.Click(3);
  f.Press(EditKey::kHome, shift);
  EXPECT_EQ(f.c.Box().SelStart(), 0);
  EXPECT_EQ(f.c.Box().SelEnd(), 4);
  EXPECT_EQ(f.c.TrackedCaret(), 0);
  f.Click(3);
  f.Press(EditKey::kEnd, shift);
  EXPECT_EQ(f.c.Box().SelStart(), 3);
  EXPECT_EQ(f.c.Box().SelEnd(), 8);
  EXPECT_EQ(f.c.TrackedCaret(), 8);
}

TEST(MaskController, DragRightTracksTheSelectionEnd) {
  Field f;
  f.c.MousePress(1, 10, false);
  f.c.MouseMove(6);
  f.c.MouseRelease(60);
  EXPECT_EQ(f.c.Box().SelStart(), 1);
  EXPECT_EQ(f.c.Box().SelEnd(), 6);
  EXPECT_EQ(f.c.TrackedCaret(), 6);
  f.c.MousePress(6, 60, false);
  f.c.MouseMove(2);
  f.c.MouseRelease(20);
  EXPECT_EQ(f.c.TrackedCaret(), 2);
}

TEST(MaskController, ReadOnlyChangesNothingSilently) {
  Field f("9999,999;1;_", "1234,567");
  f.c.SetReadOnly(true);
  f.Click(2);
  f.Type("9x");
  f.Press(EditKey::kDelete);
  f.Press(EditKey::kBackspace, {}, kBackspaceChar);
  f.host.clipboard = "55";
  f.c.Paste();
  f.c.Cut();
  EXPECT_EQ(f.c.Shown(), "1234,567");
  EXPECT_EQ(f.host.clipboard, "3");  // cut still copies
  EXPECT_EQ(f.host.beeps, 0);
  EXPECT_FALSE(f.c.Modified());
  f.Press(EditKey::kRight);
  EXPECT_EQ(f.Current(), 3);  // moving still works
}

TEST(MaskController, EscapeIsWantedOnlyWhileModified) {
  Field f;
  EXPECT_FALSE(f.c.WantsEscape());
  f.Click(1);
  f.Type("7");
  EXPECT_TRUE(f.c.WantsEscape());
  f.c.KeyPress({EditKey::kOther, {}, kEscChar});
  EXPECT_FALSE(f.c.WantsEscape());
  EXPECT_EQ(f.c.Shown(), "0000,000");
}

TEST(MaskController, FailedValidationRaisesAndKeepsTheFocus) {
  Field f("000-LL;1;_", "");
  EXPECT_EQ(f.c.Shown(), "___-__");
  f.Type("12");
  EXPECT_TRUE(f.c.Modified());
  try {
    f.c.FocusOut(true);
    FAIL() << "no error";
  } catch (const EDBEditError& e) {
    EXPECT_STREQ(e.what(), "Invalid input value.  Use escape key to abandon changes");
  }
  EXPECT_EQ(f.host.beeps, 1);
  EXPECT_EQ(f.host.refocused, 1);
  EXPECT_EQ(f.Current(), 2);
  // Re-entered: neither a new remembered value nor a whole-text selection.
  f.c.FocusIn(true, false);
  EXPECT_EQ(f.Current(), 2);
  EXPECT_EQ(f.c.RememberedValue(), "___-__");
  // Enter validates too; Esc abandons the changes.
  EXPECT_THROW(f.c.KeyPress({EditKey::kOther, {}, kEnterChar}), EDBEditError);
  f.c.KeyPress({EditKey::kOther, {}, kEscChar});
  EXPECT_EQ(f.c.Shown(), "___-__");
  EXPECT_NO_THROW(f.c.FocusOut(true));  // unmodified: not validated
  f.c.FocusIn(true, false);
  f.Type("123AB");
  EXPECT_EQ(f.c.Shown(), "123-AB");
  EXPECT_NO_THROW(f.c.KeyPress({EditKey::kOther, {}, kEnterChar}));
}

TEST(MaskController, LiteralJumpAndCaseInOtherMasks) {
  SetMaskSeparators({'/', ':'});
  Field date("99/99/9999;1;_", "");
  date.Type("1/");  // the separator's own character skips to the next field
  EXPECT_EQ(date.Current(), 3);
  date.Type("2");
  EXPECT_EQ(date.c.Shown(), "1_/2_/____");
  Field upper(">LLL;1;_", "");
  upper.Type("ab1c");
  EXPECT_EQ(upper.c.Shown(), "ABC");
  EXPECT_EQ(upper.host.beeps, 1);
}

TEST(MaskController, WithoutMaskAnOrdinaryEditBox) {
  FakeHost host;
  MaskEditController c(host);
  c.SetMaxLength(5);
  c.SetText("abc");
  c.KeyPress({EditKey::kEnd, {}, KeyStroke::kNoCharacter});
  for (char ch : std::string("defg")) c.KeyPress({EditKey::kOther, {}, static_cast<unsigned char>(ch)});
  EXPECT_EQ(c.Shown(), "abcde");
  c.KeyPress({EditKey::kBackspace, {}, kBackspaceChar});
  c.KeyPress({EditKey::kHome, {}, KeyStroke::kNoCharacter});
  c.KeyPress({EditKey::kDelete, {}, KeyStroke::kNoCharacter});
  EXPECT_EQ(c.Shown(), "bcd");
  c.KeyPress({EditKey::kRight, {true, false, false}, KeyStroke::kNoCharacter});
  c.Cut();
  EXPECT_EQ(host.clipboard, "b");
  EXPECT_EQ(c.Text(), "cd");
  c.KeyPress({EditKey::kOther, {}, kEscChar});
  EXPECT_EQ(c.Shown(), "cd");
  EXPECT_EQ(host.beeps, 0);
}

}  // namespace
}  // namespace hb9cv
