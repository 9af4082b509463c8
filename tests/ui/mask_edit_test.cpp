// The frequency field as the user feels it: a table of keys, clicks and pastes, sent as real key
// and mouse events, and the shown text, `Text`, selection, beeps and clipboard they leave.
#include "ui/mask_edit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tests/ui/test_application.h"

namespace hb9cv {
namespace {

constexpr int kEnd = 8;
// What a field shows after a case: shown text, `Text`, anchor, caret, beeps, clipboard.
using Seen = std::tuple<std::string, std::string, int, int, int, std::string>;
struct Window;
using Action = std::function<void(Window&)>;

int gBeeps = 0;

// A shown window with the field and a button to move the focus to.
struct Window : TCustomMaskEdit::Beeper {
  void Beep() override { ++gBeeps; }
  ScopedHook<TCustomMaskEdit::Beeper*> beep{&TCustomMaskEdit::SetBeep, this};
  explicit Window(const QString& mask = "9999,999;1;_", const QString& text = "0000,000") {
    gBeeps = 0;
    auto* layout = new QVBoxLayout(&window);
    field = new TMaskEdit(&window);
    field->SetEditMask(mask);
    field->SetMaxLength(8);
    field->SetText(text);
    other = new QPushButton("other", &window);
    layout->addWidget(field);
    layout->addWidget(other);
    window.resize(240, 90);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([this] { return field->hasFocus(); }));
  }

  // The run of points whose nearest caret index is `index`: from the middle of the character
  // before it to the middle of the one after it.
  std::pair<int, int> RunOf(int index) const {
    int first = -1, last = -1;
    for (int x = 0; x < field->width(); ++x) {
      if (field->cursorPositionAt(QPoint(x, field->height() / 2)) != index) continue;
      if (first < 0) first = x;
      last = x;
    }
    EXPECT_GE(first, 0) << "no point for index " << index;
    return {first, last};
  }
  // Just inside the left half of the character at `index`, and just inside its right half.
  QPoint LeftHalf(int index) const { return QPoint(RunOf(index).second - 1, field->height() / 2); }
  QPoint RightHalf(int index) const {
    if (index == kEnd) return QPoint(field->width() - 4, field->height() / 2);
    return QPoint(RunOf(index + 1).first + 1, field->height() / 2);
  }
  void Run(const Action& a) { a(*this); }
  Seen Result() const {
    const std::string shown = field->QLineEdit::text().toStdString();
    EXPECT_EQ(shown, field->Controller().Shown());
    const int caret = field->cursorPosition(), start = field->selectionStart();
    const int anchor = !field->hasSelectedText() ? caret
                       : caret == start          ? field->selectionEnd()
                                                 : start;
    return {shown,  field->Text().toStdString(),
            anchor, caret,
            gBeeps, QGuiApplication::clipboard()->text().toStdString()};
  }
  int Current() const {
    return field->selectedText().size() == 1 && field->cursorPosition() == field->selectionStart()
               ? field->cursorPosition()
               : -1;
  }

  QWidget window;
  TMaskEdit* field = nullptr;
  QPushButton* other = nullptr;
};

// A click on the left half of the character at `index`, or on its right half, where the
// nearest caret boundary is the next index; ClickRight(kEnd) clicks right of the last character.
Action Click(int index, bool rightHalf = false) {
  return [=](Window& w) {
    QTest::mouseClick(w.field, Qt::LeftButton, {},
                      rightHalf ? w.RightHalf(index) : w.LeftHalf(index));
  };
}
Action ClickRight(int index) {
  return Click(index, true);
}
Action Type(std::string s) {
  return [=](Window& w) {
    for (char ch : s) QTest::keyClick(w.field, ch);
  };
}
Action Key(int key, Qt::KeyboardModifiers m = Qt::NoModifier, int times = 1) {
  return [=](Window& w) {
    for (int i = 0; i < times; ++i) QTest::keyClick(w.field, static_cast<Qt::Key>(key), m);
  };
}
Action Drag(int from, int to) {
  return [=](Window& w) {
    QTest::mousePress(w.field, Qt::LeftButton, {}, w.LeftHalf(from));
    QTest::mouseMove(w.field, w.LeftHalf(to));
    QTest::mouseRelease(w.field, Qt::LeftButton, {}, w.LeftHalf(to));
  };
}
Action Paste(std::string s, int key = Qt::Key_V, Qt::KeyboardModifiers m = Qt::ControlModifier) {
  return [=](Window& w) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(s));
    QTest::keyClick(w.field, static_cast<Qt::Key>(key), m);
  };
}
Action Assign(std::string s) {
  return [=](Window& w) { w.field->SetText(QString::fromLatin1(s)); };
}
const Action kReadOnly = [](Window& w) { w.field->SetReadOnly(true); };
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;

constexpr int kAll = -1;  // the whole text selected
constexpr std::pair<int, int> kCurrent{-2, -2};

struct Case {
  const char* name;
  std::vector<Action> actions;
  std::string shown, text;
  int current;  // the current place, kEnd or kAll, unless `selection` is given
  int beeps = 0;
  std::pair<int, int> selection = kCurrent;  // anchor, caret
  const char* clipboard = nullptr;

  Seen Expected(const std::string& clipboardSeen) const {
    auto [anchor, caret] = selection;
    if (selection == kCurrent) {
      anchor = current == kAll ? 0 : current == kEnd ? kEnd : current + 1;
      caret = current == kAll ? kEnd : current;
    }
    return {shown, text, anchor, caret, beeps, clipboard ? clipboard : clipboardSeen};
  }
};

// clang-format off
const std::vector<Case> kCases = {
    {"StartUp", {}, "0000,000", "0000,000", kAll},
    {"Type145", {Type("145")}, "145_,___", "145 ,   ", 3},
    {"CommaMovesToDecimals", {Type("145,5")}, "145_,5__", "145 ,5  ", 6},
    {"FillToTheEnd", {Click(0), Type("014550099")}, "0145,500", "0145,500", kEnd},
    {"DigitOnTheComma", {Click(4), Type("7")}, "0000,000", "0000,000", 5},
    {"RightHalfOfPlace0", {Assign("1234,567"), ClickRight(0), Type("9")},
     "9234,567", "9234,567", 1},
    {"RightOfTheLastPlace", {Assign("1234,567"), Click(3), ClickRight(kEnd), Type("9")},
     "1234,567", "1234,567", kEnd},
    {"RefusedCharacters", {Click(0), Type("x.+- ")}, "0000,000", "0000,000", 0, 5},
    {"CommaOnDecimalsBeeps", {Click(6), Type(",")}, "0000,000", "0000,000", 6, 1},
    {"RefusedOverWholeText", {Type("x")}, "____,___", "    ,   ", 0, 1},
    {"BackspaceOverComma", {Assign("1234,567"), Click(5), Key(Qt::Key_Backspace)},
     "123_,567", "123 ,567", 3},
    {"BackspaceOnPlace0", {Click(0), Key(Qt::Key_Backspace)}, "0000,000", "0000,000", 0},
    {"FiveBackspacesFromEnd", {Assign("1234,567"), Key(Qt::Key_End), Key(Qt::Key_Backspace, {}, 5)},
     "12__,___", "12  ,   ", 2},
    {"DeleteKeepsPlace", {Assign("1234,567"), Click(2), Key(Qt::Key_Delete)},
     "12_4,567", "12 4,567", 2},
    {"WholeTextBackspace", {Key(Qt::Key_Backspace)}, "____,___", "    ,   ", 0},
    {"UpDownNothing", {Click(2), Key(Qt::Key_Up), Key(Qt::Key_Down)}, "0000,000", "0000,000", 2},
    {"RightOverComma", {Click(3), Key(Qt::Key_Right)}, "0000,000", "0000,000", 5},
    {"LeftWalkOverComma", {Key(Qt::Key_End), Key(Qt::Key_Left, {}, 4)}, "0000,000", "0000,000", 3},
    {"EscRestores", {Click(0), Type("1"), Key(Qt::Key_Escape)}, "0000,000", "0000,000", 0},
    {"SameTextKeepsPlace", {Click(2), Assign("0000,000")}, "0000,000", "0000,000", 2},
    {"AssignNewText", {Click(2), Assign("12,5")}, "12__,5__", "12  ,5  ", 0},
    {"ShiftLeftPastTheStart",
     {Click(2), Key(Qt::Key_Right, kShift, 2), Key(Qt::Key_Left, kShift, 3)},
     "0000,000", "0000,000", 0, 0, {3, 1}},
    {"ShiftHome", {Click(3), Key(Qt::Key_Home, kShift)}, "0000,000", "0000,000", 0, 0, {0, 4}},
    {"CtrlLeftWordMove", {Click(6), Key(Qt::Key_Left, kCtrl)}, "0000,000", "0000,000", 0},
    {"ShiftEnd", {Click(3), Key(Qt::Key_End, kShift)}, "0000,000", "0000,000", 0, 0, {3, 8}},
    {"RightAfterShiftEnd", {Click(3), Key(Qt::Key_End, kShift), Key(Qt::Key_Right)},
     "0000,000", "0000,000", 7},
    {"DragThenType", {Drag(1, 6), Type("9")}, "09__,_00", "09  , 00", 2},
    {"ReadOnlyChangesNothingSilently", {Assign("1234,567"), kReadOnly, Click(2), Type("9x"),
      Key(Qt::Key_Delete), Key(Qt::Key_Backspace), Paste("55"), Key(Qt::Key_X, kCtrl),
      Key(Qt::Key_Right)},
     "1234,567", "1234,567", 3, 0, kCurrent, "3"},  // cut still copies
    {"Paste14,5", {Click(0), Paste("14,5")}, "14_5,000", "14 5,000", 4},
    {"PasteOverWholeText", {Paste("145")}, "145_,___", "145 ,   ", 3},
    {"PasteEmptyClipboard", {Click(2), Paste("")}, "00_0,000", "00 0,000", 2},
    {"ShiftInsertPastesAndEscHasNothingToUndo",
     {Click(0), Type("9"), Key(Qt::Key_Home), Paste("5", Qt::Key_Insert, kShift), Key(Qt::Key_Escape)},
     "5000,000", "5000,000", 1},
    {"CtrlXCuts", {Assign("1234,567"), Click(2), Key(Qt::Key_X, kCtrl)},
     "12_4,567", "12 4,567", 2, 0, kCurrent, "3"},
    {"ShiftDeleteCuts", {Assign("1234,567"), Drag(5, 7), Key(Qt::Key_Delete, kShift)},
     "1234,__7", "1234,  7", 5, 0, kCurrent, "56"},
    {"CtrlCCopies", {Key(Qt::Key_C, kCtrl)}, "0000,000", "0000,000", kAll, 0, kCurrent, "0000,000"},
    {"CtrlInsertCopies", {Assign("1234,567"), Click(6), Key(Qt::Key_Insert, kCtrl)},
     "1234,567", "1234,567", 6, 0, kCurrent, "6"},
};
// clang-format on

TEST(FieldTable, Widget) {
  for (const Case& c : kCases) {
    Window w;
    for (const Action& a : c.actions) w.Run(a);
    const Seen seen = w.Result();
    EXPECT_EQ(seen, c.Expected(std::get<5>(seen))) << c.name;
  }
}

TEST(MaskEditWidget, OtherMasksAndAChangeOfMask) {
  SetMaskSeparators({'/', ':'});
  const struct {
    const char *mask, *typed, *shown;
    int beeps;
  } rows[] = {
      {"99/99/9999;1;_", "1/2", "1_/2_/____", 0},  // the separator's key skips to the next part
      {"", "abcdefghij", "abcdefgh", 0},  // no mask: an ordinary edit box up to its length limit
  };
  for (const auto& r : rows) {
    Window w(r.mask, "");
    w.Run(Type(r.typed));
    EXPECT_EQ(std::get<0>(w.Result()), r.shown) << r.mask;
    EXPECT_EQ(gBeeps, r.beeps) << r.mask;
  }
  Window w("9999,999;1;_", "12,5");
  w.Run(Click(5));
  w.field->SetEditMask("99999.99;1;_");  // the bare value "12  5" laid into the new places
  EXPECT_EQ(std::get<0>(w.Result()), "12  5.__");
  EXPECT_EQ(w.field->cursorPosition(), 5);
  EXPECT_EQ(w.field->Controller().MaxLength(), 8) << "the new mask's place count";
  // Ctrl+Right is the box's own: over a word and the blanks after it.
  Window words("", "ab  cd  ");
  words.Run(Click(0));
  words.Run(Key(Qt::Key_Right, kCtrl, 2));
  EXPECT_EQ(words.field->cursorPosition(), 8);
}

TEST(MaskEditWidget, EmptyRequiredPlaceKeepsTheFocusUntilEsc) {
  BoxWatch box;
  Window w("000;1;_", "");
  w.Run(Type("12"));
  QTest::keyClick(w.field, Qt::Key_Return);
  w.other->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.field->hasFocus(); }));
  EXPECT_EQ(box.texts, QStringList(2, "Invalid input value.  Use escape key to abandon changes."));
  EXPECT_EQ(gBeeps, 2);
  EXPECT_EQ(w.Current(), 2);  // re-entered without selecting the whole text
  QTest::keyClick(w.field, Qt::Key_Escape);
  w.other->setFocus(Qt::TabFocusReason);
  QTest::qWait(0);  // a refused leave takes the focus back from a posted event
  EXPECT_EQ(std::get<0>(w.Result()), "___");
  EXPECT_TRUE(w.other->hasFocus());
  EXPECT_EQ(box.texts.size(), 2);
}

// The context menu and the input method go through the mask; every other way in is closed; the
// place stays while another window comes and goes.
TEST(MaskEditWidget, OtherWaysIntoTheTextAndAnotherWindow) {
  Window w("9999,999;1;_", "1234,567");
  w.Run(Click(2));
  auto menuItem = [&](const char* name) {
    std::unique_ptr<QMenu> menu(w.field->CreateContextMenu());
    QStringList names;
    for (QAction* a : menu->actions()) {
      if (!a->isSeparator()) names << a->objectName();
    }
    EXPECT_EQ(names, (QStringList{"edit-cut", "edit-copy", "edit-paste", "select-all"}));
    menu->findChild<QAction*>(name)->trigger();
  };
  menuItem("edit-cut");
  EXPECT_EQ(std::get<0>(w.Result()), "12_4,567");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "3");
  QGuiApplication::clipboard()->setText("9x");
  menuItem("edit-paste");
  EXPECT_EQ(std::get<0>(w.Result()), "129_,567");  // "x" is refused by place 3
  EXPECT_EQ(w.Current(), 4);

  w.Run(Click(1));
  QGuiApplication::clipboard()->setText("77", QClipboard::Selection);
  QTest::mouseClick(w.field, Qt::MiddleButton, Qt::NoModifier, w.LeftHalf(1));
  QMimeData mime;
  mime.setText("77");
  QDropEvent drop(QPointF(w.LeftHalf(2)), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.field, &drop);
  EXPECT_FALSE(drop.isAccepted());
  QLineEdit* plain = w.field;  // QLineEdit's own operations, past the field's
  plain->insert("abc");
  plain->setText("x");
  plain->undo();
  plain->del();
  QTest::keyClick(w.field, Qt::Key_Z, kCtrl);  // undo and redo keys are refused characters
  QTest::keyClick(w.field, Qt::Key_Y, kCtrl);
  EXPECT_EQ(std::get<0>(w.Result()), "129_,567");
  EXPECT_EQ(gBeeps, 2);
  EXPECT_FALSE(w.field->isUndoAvailable());

  w.Run(Click(0));
  QInputMethodEvent commit;
  commit.setCommitString("56a");
  QApplication::sendEvent(w.field, &commit);
  EXPECT_EQ(std::get<0>(w.Result()), "569_,567");
  EXPECT_EQ(w.Current(), 2);
  EXPECT_EQ(gBeeps, 3);
  // Another window coming and going keeps the place and the value Esc goes back to.
  QWidget otherWindow;
  otherWindow.show();
  otherWindow.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&otherWindow));
  w.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
  EXPECT_EQ(w.Current(), 2);
  EXPECT_EQ(w.field->Controller().RememberedValue(), "129_,567");
}

}  // namespace
}  // namespace hb9cv
