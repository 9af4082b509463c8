// The frequency field as the user feels it. The table of keys, clicks and pastes runs twice:
// against the controller, and through real key and mouse events on the widget, which must come
// to the same text, `Text`, selection and beeps.
#include "ui/mask_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "tests/ui/test_application.h"
#include "ui/error_report.h"

namespace hb9cv {
namespace {

constexpr int kEnd = 8;
constexpr int kAll = -1;  // the whole text selected

// ---- the actions of a case ----

struct Action {
  enum Kind { kType, kKey, kClick, kDrag, kPaste, kAssign } kind;
  std::string text;  // typed characters, clipboard text, assigned value
  int key = 0;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  int from = 0, to = 0;
};
Action Type(std::string s) { return {Action::kType, std::move(s)}; }
Action Key(int key, Qt::KeyboardModifiers m = Qt::NoModifier) { return {Action::kKey, {}, key, m}; }
Action Click(int index) { return {Action::kClick, {}, 0, {}, index, index}; }
Action Drag(int from, int to) { return {Action::kDrag, {}, 0, {}, from, to}; }
Action Paste(std::string s) { return {Action::kPaste, std::move(s), Qt::Key_V, Qt::ControlModifier}; }
Action PasteByShiftInsert(std::string s) { return {Action::kPaste, std::move(s), Qt::Key_Insert, Qt::ShiftModifier}; }
Action Assign(std::string s) { return {Action::kAssign, std::move(s)}; }
std::vector<Action> Vec(std::initializer_list<Action> l) { return l; }
std::vector<Action> Repeat(const Action& a, int n) { return std::vector<Action>(static_cast<size_t>(n), a); }
std::vector<Action> operator+(std::vector<Action> a, const std::vector<Action>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Case {
  const char* name;
  std::vector<Action> actions;
  std::string shown;
  std::string text;
  int current;  // the current place, kEnd, or kAll; or a selection given below
  int beeps = 0;
  int anchor = -2, caret = -2;  // an explicit selection instead of `current`
  const char* clipboard = nullptr;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"StartUp", {}, "0000,000", "0000,000", kAll},
      {"Type145", {Type("145")}, "145_,___", "145 ,   ", 3},
      {"Type01455", {Type("01455")}, "0145,5__", "0145,5  ", 6},
      {"CommaMovesToDecimals", {Type("145,5")}, "145_,5__", "145 ,5  ", 6},
      {"OverwriteFromPlace0", {Click(0), Type("145")}, "1450,000", "1450,000", 3},
      {"FillToTheEnd", {Click(0), Type("01455009")}, "0145,500", "0145,500", kEnd},
      {"DigitOnTheComma", {Click(4), Type("7")}, "0000,000", "0000,000", 5},
      {"RefusedCharacters", {Click(0), Type("x.+- ")}, "0000,000", "0000,000", 0, 5},
      {"CommaOnDecimalsBeeps", {Click(6), Type(",")}, "0000,000", "0000,000", 6, 1},
      {"CtrlZIsATypedCharacter", {Click(1), Key(Qt::Key_Z, Qt::ControlModifier)}, "0000,000", "0000,000", 1, 1},
      {"RefusedOverWholeText", {Type("x")}, "____,___", "    ,   ", 0, 1},
      {"BackspaceOverComma", {Assign("1234,567"), Click(5), Key(Qt::Key_Backspace)}, "123_,567", "123 ,567", 3},
      {"BackspaceOnPlace0", {Assign("1234,567"), Click(0), Key(Qt::Key_Backspace)}, "1234,567", "1234,567", 0},
      {"FiveBackspacesFromEnd", Vec({Assign("1234,567"), Key(Qt::Key_End)}) + Repeat(Key(Qt::Key_Backspace), 5),
       "12__,___", "12  ,   ", 2},
      {"DeleteKeepsPlace", {Assign("1234,567"), Click(2), Key(Qt::Key_Delete)}, "12_4,567", "12 4,567", 2},
      {"DeleteAtEnd", {Assign("1234,567"), Key(Qt::Key_End), Key(Qt::Key_Delete)}, "1234,567", "1234,567", kEnd},
      {"WholeTextDelete", {Key(Qt::Key_Delete)}, "____,___", "    ,   ", 0},
      {"WholeTextBackspace", {Key(Qt::Key_Backspace)}, "____,___", "    ,   ", 0},
      {"RightOverComma", {Click(3), Key(Qt::Key_Right)}, "0000,000", "0000,000", 5},
      {"RightStaysAtEnd", {Key(Qt::Key_End), Key(Qt::Key_Right)}, "0000,000", "0000,000", kEnd},
      {"LeftStaysAt0", {Click(0), Key(Qt::Key_Left)}, "0000,000", "0000,000", 0},
      {"RightWalk", Vec({Click(0)}) + Repeat(Key(Qt::Key_Right), 4), "0000,000", "0000,000", 5},
      {"RightWalkToEnd", Vec({Click(0)}) + Repeat(Key(Qt::Key_Right), 9), "0000,000", "0000,000", kEnd},
      {"LeftWalk", Vec({Key(Qt::Key_End)}) + Repeat(Key(Qt::Key_Left), 4), "0000,000", "0000,000", 3},
      {"LeftWalkTo0", Vec({Key(Qt::Key_End)}) + Repeat(Key(Qt::Key_Left), 9), "0000,000", "0000,000", 0},
      {"LeftAfterStartUp", {Key(Qt::Key_Left)}, "0000,000", "0000,000", 0},
      {"RightAfterStartUp", {Key(Qt::Key_Right)}, "0000,000", "0000,000", 0},
      {"UpDownNothing", {Click(2), Key(Qt::Key_Up), Key(Qt::Key_Down)}, "0000,000", "0000,000", 2},
      {"HomeEnd", {Click(5), Key(Qt::Key_Home)}, "0000,000", "0000,000", 0},
      {"EndKey", {Click(5), Key(Qt::Key_End)}, "0000,000", "0000,000", kEnd},
      {"EscRestores", {Click(0), Type("1"), Key(Qt::Key_Escape)}, "0000,000", "0000,000", 0},
      {"SecondEscNothing", {Click(0), Type("1"), Key(Qt::Key_Escape), Click(3), Key(Qt::Key_Escape)},
       "0000,000", "0000,000", 3},
      {"EscAfterTyping", {Type("01455"), Key(Qt::Key_Escape)}, "0000,000", "0000,000", 0},
      {"SameTextKeepsPlace", {Click(2), Assign("0000,000")}, "0000,000", "0000,000", 2},
      {"SameTextKeepsSelection", {Assign("0000,000")}, "0000,000", "0000,000", kAll},
      {"AssignNewText", {Click(2), Assign("12,5")}, "12__,5__", "12  ,5  ", 0},
      {"EnterOnBlankText", {Assign(""), Key(Qt::Key_Return)}, "____,___", "    ,   ", 0},
      {"ShiftRightSelects", {Click(2), Key(Qt::Key_Right, Qt::ShiftModifier), Key(Qt::Key_Right, Qt::ShiftModifier)},
       "0000,000", "0000,000", 0, 0, 2, 5},
      {"ShiftRightAndBack", {Click(2), Key(Qt::Key_Right, Qt::ShiftModifier), Key(Qt::Key_Left, Qt::ShiftModifier)},
       "0000,000", "0000,000", 2},
      {"CtrlRightWordMove", {Click(1), Key(Qt::Key_Right, Qt::ControlModifier)}, "0000,000", "0000,000", kEnd},
      {"CtrlLeftWordMove", {Click(6), Key(Qt::Key_Left, Qt::ControlModifier)}, "0000,000", "0000,000", 0},
      {"DragThenType", {Drag(1, 6), Type("9")}, "09__,_00", "09  , 00", 2},
      {"DragSelects", {Drag(1, 6)}, "0000,000", "0000,000", 0, 0, 1, 6},
      // Paste table.
      {"Paste0145,5", {Click(0), Paste("0145,5")}, "0145,500", "0145,500", 6},
      {"Paste145", {Click(0), Paste("145")}, "1450,000", "1450,000", 3},
      {"Paste14,5", {Click(0), Paste("14,5")}, "14_5,000", "14 5,000", 4},
      {"Paste1234,567", {Click(0), Paste("1234,567")}, "1234,567", "1234,567", kEnd},
      {"Paste12345678", {Assign(""), Click(0), Paste("12345678")}, "1234,567", "1234,567", kEnd},
      {"PasteLetters", {Assign("1234,567"), Click(0), Paste("abc")}, "___4,567", "   4,567", 3},
      {"PasteOnComma", {Click(4), Paste("7")}, "0000,700", "0000,700", 6},
      {"PasteOverWholeText", {Paste("145")}, "145_,___", "145 ,   ", 3},
      {"PasteEmptyClipboard", {Click(2), Paste("")}, "00_0,000", "00 0,000", 2},
      {"ShiftInsertPastes", {Click(0), Type("9"), Key(Qt::Key_Home), PasteByShiftInsert("5"), Key(Qt::Key_Escape)},
       "5000,000", "5000,000", 1},
      // Cut and copy.
      {"CtrlXCuts", {Assign("1234,567"), Click(2), Key(Qt::Key_X, Qt::ControlModifier)}, "12_4,567", "12 4,567", 2,
       0, -2, -2, "3"},
      {"ShiftDeleteCuts", {Assign("1234,567"), Drag(5, 7), Key(Qt::Key_Delete, Qt::ShiftModifier)}, "1234,__7",
       "1234,  7", 5, 0, -2, -2, "56"},
      {"CtrlCCopies", {Key(Qt::Key_C, Qt::ControlModifier)}, "0000,000", "0000,000", kAll, 0, -2, -2, "0000,000"},
      {"CtrlInsertCopies", {Assign("1234,567"), Click(6), Key(Qt::Key_Insert, Qt::ControlModifier)}, "1234,567",
       "1234,567", 6, 0, -2, -2, "6"},
  };
  return cases;
}

// ---- two ways of running a case ----

class Driver {
 public:
  virtual ~Driver() = default;
  virtual void Run(const Action& a) = 0;
  virtual std::string Shown() = 0;
  virtual std::string Text() = 0;
  virtual int Anchor() = 0;
  virtual int Caret() = 0;
  virtual int Beeps() = 0;
  virtual std::string Clipboard() = 0;
};

class ControllerDriver : public Driver, private MaskEditController::Host {
 public:
  ControllerDriver() : c_(*this) {
    c_.SetEditMask("9999,999;1;_");
    c_.SetMaxLength(8);
    c_.SetText("0000,000");
    c_.FocusIn(true, false);
  }
  void Run(const Action& a) override {
    switch (a.kind) {
      case Action::kType:
        for (char ch : a.text) Stroke(QTest::asciiToKey(ch), Qt::NoModifier, QString(QChar::fromLatin1(ch)));
        break;
      case Action::kKey:
        Stroke(a.key, a.modifiers, QString());
        break;
      case Action::kClick:
      case Action::kDrag:
        c_.MousePress(a.from, a.from * 10, false);
        if (a.to != a.from) c_.MouseMove(a.to);
        c_.MouseRelease(a.to * 10);
        break;
      case Action::kPaste:
        clipboard_ = a.text;
        Stroke(a.key, a.modifiers, QString());
        break;
      case Action::kAssign:
        c_.SetText(a.text);
        break;
    }
  }
  std::string Shown() override { return c_.Shown(); }
  std::string Text() override { return c_.Text(); }
  int Anchor() override { return c_.Box().Anchor(); }
  int Caret() override { return c_.Box().Caret(); }
  int Beeps() override { return beeps_; }
  std::string Clipboard() override { return clipboard_; }

 private:
  void Stroke(int key, Qt::KeyboardModifiers m, const QString& text) {
    // The modifier keys themselves go down first, as on a keyboard.
    if (m & Qt::ShiftModifier) c_.KeyDown(EditKey::kOther, {true, false, false});
    if (m & Qt::ControlModifier) c_.KeyDown(EditKey::kOther, {m.testFlag(Qt::ShiftModifier), true, false});
    const auto stroke = TCustomMaskEdit::TranslateKey(key, m, text);
    ASSERT_TRUE(stroke);
    c_.KeyPress(*stroke);
    c_.KeyUp(stroke->key, stroke->state);
  }
  void Beep() override { ++beeps_; }
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }

  MaskEditController c_;
  int beeps_ = 0;
  std::string clipboard_;
};

int g_beeps = 0;

// A window with the field and a button to move the focus to.
class WidgetDriver : public Driver {
 public:
  explicit WidgetDriver(const QString& mask = QStringLiteral("9999,999;1;_"),
                        const QString& text = QStringLiteral("0000,000")) {
    g_beeps = 0;
    TCustomMaskEdit::SetBeep([] { ++g_beeps; });
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    field = new TMaskEdit(window_.get());
    field->SetEditMask(mask);
    field->SetMaxLength(8);
    field->SetText(text);
    field->setFocusPolicy(Qt::StrongFocus);
    other = new QPushButton(QStringLiteral("other"), window_.get());
    other->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(field);
    layout->addWidget(other);
    window_->resize(240, 90);
    window_->show();
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    field->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(field->hasFocus());
  }
  ~WidgetDriver() override { TCustomMaskEdit::SetBeep(nullptr); }

  // A point whose caret index is `index`: the middle of the run of such points.
  QPoint PointOf(int index) const {
    const int y = field->height() / 2;
    int first = -1, last = -1;
    for (int x = 0; x < field->width(); ++x) {
      if (field->cursorPositionAt(QPoint(x, y)) == index) {
        if (first < 0) first = x;
        last = x;
      }
    }
    EXPECT_GE(first, 0) << "no point for index " << index;
    return QPoint((first + last) / 2, y);
  }

  void Run(const Action& a) override {
    switch (a.kind) {
      case Action::kType:
        for (char ch : a.text) QTest::keyClick(field, ch);
        break;
      case Action::kKey:
        QTest::keyClick(field, static_cast<Qt::Key>(a.key), a.modifiers);
        break;
      case Action::kClick:
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, PointOf(a.from));
        break;
      case Action::kDrag:
        QTest::mousePress(field, Qt::LeftButton, Qt::NoModifier, PointOf(a.from));
        QTest::mouseMove(field, PointOf(a.to));
        QTest::mouseRelease(field, Qt::LeftButton, Qt::NoModifier, PointOf(a.to));
        break;
      case Action::kPaste:
        QGuiApplication::clipboard()->setText(QString::fromLatin1(a.text.c_str()));
        QTest::keyClick(field, static_cast<Qt::Key>(a.key), a.modifiers);
        break;
      case Action::kAssign:
        field->SetText(QString::fromLatin1(a.text.c_str()));
        break;
    }
  }
  // What the line edit shows, which must be what the controller holds.
  std::string Shown() override {
    EXPECT_EQ(field->QLineEdit::text().toStdString(), field->Controller().Shown());
    return field->QLineEdit::text().toStdString();
  }
  std::string Text() override { return field->Text().toStdString(); }
  int Anchor() override {
    if (!field->hasSelectedText()) return field->cursorPosition();
    const int start = field->selectionStart();
    return field->cursorPosition() == start ? field->selectionEnd() : start;
  }
  int Caret() override { return field->cursorPosition(); }
  int Beeps() override { return g_beeps; }
  std::string Clipboard() override { return QGuiApplication::clipboard()->text().toStdString(); }

  TMaskEdit* field = nullptr;
  QPushButton* other = nullptr;

 private:
  std::unique_ptr<QWidget> window_;
};

class FieldTable : public ::testing::TestWithParam<std::tuple<bool, size_t>> {};

TEST_P(FieldTable, Case) {
  const auto& [widget, index] = GetParam();
  const Case& c = Cases()[index];
  std::unique_ptr<Driver> d;
  if (widget) {
    d = std::make_unique<WidgetDriver>();
  } else {
    d = std::make_unique<ControllerDriver>();
  }
  for (const Action& a : c.actions) d->Run(a);
  EXPECT_EQ(d->Shown(), c.shown);
  EXPECT_EQ(d->Text(), c.text);
  int anchor = c.anchor, caret = c.caret;
  if (anchor == -2) {
    if (c.current == kAll) {
      anchor = 0, caret = 8;
    } else if (c.current == kEnd) {
      anchor = caret = 8;
    } else {
      anchor = c.current + 1, caret = c.current;
    }
  }
  EXPECT_EQ(d->Anchor(), anchor) << "selection " << d->Anchor() << "->" << d->Caret();
  EXPECT_EQ(d->Caret(), caret) << "selection " << d->Anchor() << "->" << d->Caret();
  EXPECT_EQ(d->Beeps(), c.beeps);
  if (c.clipboard) {
    EXPECT_EQ(d->Clipboard(), c.clipboard);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Both, FieldTable, ::testing::Combine(::testing::Bool(), ::testing::Range<size_t>(0, Cases().size())),
    [](const ::testing::TestParamInfo<FieldTable::ParamType>& info) {
      std::string name = Cases()[std::get<1>(info.param)].name;
      for (char& ch : name) {
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name + (std::get<0>(info.param) ? "_Widget" : "_Controller");
    });


// ---- the widget's own paths ----

int Current(const TMaskEdit& f) {
  return f.selectedText().size() == 1 && f.cursorPosition() == f.selectionStart() ? f.cursorPosition() : -1;
}

class KeyEventCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) ++keys;
    return false;
  }
  int keys = 0;
};

TEST(MaskEditWidget, PlacingTheCaretMakesNoKeyEvents) {
  WidgetDriver d;
  KeyEventCounter counter;
  d.field->installEventFilter(&counter);
  d.Run(Click(6));
  d.field->Controller().PlaceCaret(2);
  d.field->SetText("1,2");
  EXPECT_EQ(counter.keys, 0);
  EXPECT_EQ(Current(*d.field), 0);
  EXPECT_EQ(d.field->selectedText(), QStringLiteral("1"));
}

TEST(MaskEditWidget, ContextMenuOffersOnlyMaskedEditing) {
  WidgetDriver d(QStringLiteral("9999,999;1;_"), QStringLiteral("1234,567"));
  d.Run(Click(2));
  std::unique_ptr<QMenu> menu(d.field->CreateContextMenu());
  QStringList names;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator()) names << a->objectName();
  }
  EXPECT_EQ(names, (QStringList{"edit-cut", "edit-copy", "edit-paste", "select-all"}));
  menu->findChild<QAction*>(QStringLiteral("edit-cut"))->trigger();
  EXPECT_EQ(d.Shown(), "12_4,567");
  EXPECT_EQ(d.Clipboard(), "3");
  QGuiApplication::clipboard()->setText(QStringLiteral("9x"));
  menu.reset(d.field->CreateContextMenu());
  menu->findChild<QAction*>(QStringLiteral("edit-paste"))->trigger();
  EXPECT_EQ(d.Shown(), "129_,567");  // "x" is refused by place 3
  EXPECT_EQ(Current(*d.field), 4);
  menu.reset(d.field->CreateContextMenu());
  menu->findChild<QAction*>(QStringLiteral("select-all"))->trigger();
  EXPECT_EQ(d.field->selectedText(), QStringLiteral("129_,567"));
  d.field->SetReadOnly(true);
  menu.reset(d.field->CreateContextMenu());
  EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("edit-cut"))->isEnabled());
  EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("edit-paste"))->isEnabled());
  EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("edit-copy"))->isEnabled());
}

TEST(MaskEditWidget, OtherPathsIntoTheTextAreClosed) {
  WidgetDriver d;
  d.Run(Click(1));
  QLineEdit* plain = d.field;
  // Middle-button selection paste.
  QGuiApplication::clipboard()->setText(QStringLiteral("99"), QClipboard::Selection);
  QTest::mouseClick(d.field, Qt::MiddleButton, Qt::NoModifier, d.PointOf(2));
  // Drag and drop.
  EXPECT_FALSE(d.field->acceptDrops());
  QMimeData mime;
  mime.setText(QStringLiteral("77"));
  QDropEvent drop(QPointF(d.PointOf(2)), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(d.field, &drop);
  EXPECT_FALSE(drop.isAccepted());
  // QLineEdit's own operations through a QLineEdit pointer.
  plain->insert(QStringLiteral("abc"));
  plain->setText(QStringLiteral("x"));
  plain->undo();
  plain->del();
  // Qt's undo and redo keys are typed control characters, refused.
  QTest::keyClick(d.field, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(d.field, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(d.Shown(), "0000,000");
  EXPECT_EQ(Current(*d.field), 1);
  EXPECT_EQ(d.Beeps(), 2);
  EXPECT_FALSE(d.field->isUndoAvailable());
}

TEST(MaskEditWidget, InputMethodCommitsAreTyped) {
  WidgetDriver d;
  d.Run(Click(0));
  QInputMethodEvent preedit(QStringLiteral("55"), {});
  QApplication::sendEvent(d.field, &preedit);
  EXPECT_EQ(d.Shown(), "0000,000");
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("12a\u0161"));
  QApplication::sendEvent(d.field, &commit);
  EXPECT_EQ(d.Shown(), "1200,000");
  EXPECT_EQ(Current(*d.field), 2);
  EXPECT_EQ(d.Beeps(), 2);
}

TEST(MaskEditWidget, EscapeIsTheFieldsWhileModified) {
  WidgetDriver d;
  int window_escapes = 0;
  auto* action = new QAction(d.field->window());
  action->setShortcut(Qt::Key_Escape);
  d.field->window()->addAction(action);
  QObject::connect(action, &QAction::triggered, [&] { ++window_escapes; });
  d.Run(Click(0));
  d.Run(Type("3"));
  QTest::keyClick(d.field, Qt::Key_Escape);
  EXPECT_EQ(d.Shown(), "0000,000");
  EXPECT_EQ(window_escapes, 0);
  QTest::keyClick(d.field, Qt::Key_Escape);  // nothing to undo: the window's
  EXPECT_EQ(window_escapes, 1);
}

TEST(MaskEditWidget, FocusLeavingAndComingBack) {
  WidgetDriver d;
  d.Run(Click(6));
  d.Run(Type("5"));
  // Focusing the field again while it has the focus changes nothing.
  d.field->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(Current(*d.field), 7);
  // Another window comes forward and goes: the place and the remembered value stay.
  QWidget other_window;
  other_window.show();
  other_window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other_window));
  d.field->window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.field->window()));
  EXPECT_TRUE(d.field->hasFocus());
  EXPECT_EQ(Current(*d.field), 7);
  EXPECT_EQ(d.field->Controller().RememberedValue(), "0000,000");
  // Another control takes the focus: leaving validates (it passes) and entering again
  // selects the whole text.
  d.other->setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(d.field->hasFocus());
  d.field->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(d.field->selectedText(), QStringLiteral("0000,050"));
  EXPECT_EQ(d.field->Controller().RememberedValue(), "0000,050");
  // Entered by a click: no whole-text selection.
  d.other->setFocus(Qt::TabFocusReason);
  d.Run(Click(2));
  EXPECT_EQ(Current(*d.field), 2);
}

TEST(MaskEditWidget, FailedValidationShowsTheErrorAndKeepsTheFocus) {
  std::vector<QString> shown;
  const ErrorBox previous = SetErrorBox([&](const QString&, const QString& text) { shown.push_back(text); });
  {
    WidgetDriver d(QStringLiteral("000;1;_"), QString());
    d.Run(Type("12"));
    QTest::keyClick(d.field, Qt::Key_Return);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QStringLiteral("Invalid input value.  Use escape key to abandon changes."));
    EXPECT_EQ(d.Beeps(), 1);
    EXPECT_EQ(Current(*d.field), 2);
    d.other->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(d.field->hasFocus());
    EXPECT_EQ(Current(*d.field), 2);  // re-entered without selecting the whole text
    QTest::keyClick(d.field, Qt::Key_Escape);
    EXPECT_EQ(d.Shown(), "___");
    d.other->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(d.other->hasFocus());
    d.field->SetText(QStringLiteral("1"));  // assignments are not validated
    EXPECT_EQ(d.Shown(), "1__");
  }
  SetErrorBox(previous);
}

// ---- random use never breaks the shape of the text ----

void ExpectShape(TMaskEdit& f, const std::string& context) {
  const std::string shown = f.QLineEdit::text().toStdString();
  const std::string text = f.Text().toStdString();
  bool ok = shown == f.Controller().Shown() && shown.size() == 8 && shown[4] == ',' && text.size() == 8 &&
            text[4] == ',';
  for (size_t i = 0; ok && i < 8; ++i) {
    if (i == 4) continue;
    ok = (isdigit(static_cast<unsigned char>(shown[i])) || shown[i] == '_') &&
         (text[i] == shown[i] || (shown[i] == '_' && text[i] == ' '));
  }
  ok = ok && f.cursorPosition() >= 0 && f.cursorPosition() <= 8;
  ASSERT_TRUE(ok) << "'" << shown << "' / '" << text << "' after " << context;
}

TEST(MaskEditWidget, RandomUseKeepsTheShape) {
  WidgetDriver d;
  TMaskEdit& f = *d.field;
  std::mt19937 rng(20240611);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string typed = "0123456789012345678901234567890,.,+- xA_";
  const int keys[] = {Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,
                      Qt::Key_Home,   Qt::Key_End,    Qt::Key_Delete, Qt::Key_Backspace,
                      Qt::Key_Insert, Qt::Key_Escape, Qt::Key_Return, Qt::Key_F5};
  const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier,
                                        Qt::ControlModifier, Qt::ShiftModifier | Qt::ControlModifier};
  const char ctrl_keys[] = {'Z', 'C', 'V', 'X', 'A', 'Y'};
  auto random_text = [&] {
    std::string s;
    const int n = pick(11);
    for (int i = 0; i < n; ++i) s.push_back(pick(3) ? typed[static_cast<size_t>(pick(static_cast<int>(typed.size())))] : static_cast<char>(pick(256)));
    return s;
  };
  int total_actions = 0;
  for (int sequence = 0; sequence < 10000; ++sequence) {
    if (pick(20) == 0) f.SetText(pick(2) ? QStringLiteral("0000,000") : QString());
    const int steps = 1 + pick(8);
    for (int step = 0; step < steps; ++step) {
      std::string what;
      const int x = pick(f.width());
      const QPoint at(x, f.height() / 2);
      switch (pick(10)) {
        case 0:
        case 1:
        case 2: {
          const char ch = typed[static_cast<size_t>(pick(static_cast<int>(typed.size())))];
          QTest::keyClick(&f, ch);
          what = std::string("type ") + ch;
          break;
        }
        case 3:
        case 4: {
          const int key = keys[pick(12)];
          QTest::keyClick(&f, static_cast<Qt::Key>(key), mods[pick(5)]);
          what = "key " + std::to_string(key);
          break;
        }
        case 5:
          QTest::keyClick(&f, static_cast<Qt::Key>(Qt::Key_A + ctrl_keys[pick(6)] - 'A'), Qt::ControlModifier);
          what = "ctrl key";
          break;
        case 6:
          if (pick(3)) {
            QTest::mouseClick(&f, Qt::LeftButton, pick(4) ? Qt::NoModifier : Qt::ShiftModifier, at);
          } else if (pick(2)) {
            QTest::mousePress(&f, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseMove(&f, QPoint(pick(f.width()), f.height() / 2));
            QTest::mouseRelease(&f, Qt::LeftButton, Qt::NoModifier, QPoint(pick(f.width()), f.height() / 2));
          } else {
            // A double click as it comes: press, release, double click, release.
            const Qt::MouseButton button = pick(2) ? Qt::LeftButton : Qt::MiddleButton;
            QTest::mouseClick(&f, button, Qt::NoModifier, at);
            QTest::mouseDClick(&f, button, Qt::NoModifier, at);
            QTest::mouseRelease(&f, button, Qt::NoModifier, at);
          }
          what = "mouse at " + std::to_string(x);
          break;
        case 7: {
          const std::string clip = random_text();
          QGuiApplication::clipboard()->setText(QString::fromLatin1(clip.data(), static_cast<qsizetype>(clip.size())));
          if (pick(2)) {
            QTest::keyClick(&f, Qt::Key_V, Qt::ControlModifier);
          } else {
            QTest::keyClick(&f, Qt::Key_Insert, Qt::ShiftModifier);
          }
          what = "paste '" + clip + "'";
          break;
        }
        case 8: {
          std::unique_ptr<QMenu> menu(f.CreateContextMenu());
          const auto actions = menu->actions();
          QAction* a = actions[pick(static_cast<int>(actions.size()))];
          if (a->isEnabled()) a->trigger();
          what = "menu " + a->objectName().toStdString();
          break;
        }
        default: {
          QInputMethodEvent commit;
          const std::string s = random_text();
          commit.setCommitString(QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())));
          QApplication::sendEvent(&f, &commit);
          what = "input method '" + s + "'";
          break;
        }
      }
      ++total_actions;
      ExpectShape(f, what);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
  EXPECT_GT(total_actions, 40000);
  EXPECT_GT(d.Beeps(), 0);
}

}  // namespace
}  // namespace hb9cv
