#include "ui/mask_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "ui/error_report.h"

namespace hb9cv {
namespace {

TCustomMaskEdit::Beeper* g_beeper = nullptr;

EditKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_Left:
      return EditKey::kLeft;
    case Qt::Key_Right:
      return EditKey::kRight;
    case Qt::Key_Up:
      return EditKey::kUp;
    case Qt::Key_Down:
      return EditKey::kDown;
    case Qt::Key_Home:
      return EditKey::kHome;
    case Qt::Key_End:
      return EditKey::kEnd;
    case Qt::Key_Delete:
      return EditKey::kDelete;
    case Qt::Key_Backspace:
      return EditKey::kBackspace;
    case Qt::Key_Insert:
      return EditKey::kInsert;
    default:
      return EditKey::kOther;
  }
}

int CharacterOf(QChar c) {
  return c.unicode() <= 0xff ? c.unicode() : KeyStroke::kUnrepresentable;
}

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(QWidget* parent)
    : QLineEdit(parent),
      controller_(
          std::make_unique<MaskEditController>(static_cast<MaskEditController::Host&>(*this))) {
  setAcceptDrops(false);
  setDragEnabled(false);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  connect(this, &QLineEdit::textChanged, this, [this] { ForeignTextChange(); });
}

TCustomMaskEdit::~TCustomMaskEdit() = default;

// ---- properties ----

QString TCustomMaskEdit::EditMask() const {
  return FromBytes(controller_->EditMaskText());
}
void TCustomMaskEdit::SetEditMask(const QString& mask) {
  Run([&] { controller_->SetEditMask(ToBytes(mask)); });
}
int TCustomMaskEdit::MaxLength() const {
  return controller_->MaxLength();
}
void TCustomMaskEdit::SetMaxLength(int length) {
  Run([&] { controller_->SetMaxLength(length); });
}
QString TCustomMaskEdit::Text() const {
  return FromBytes(controller_->Text());
}
void TCustomMaskEdit::SetText(const QString& value) {
  Run([&] { controller_->SetText(ToBytes(value)); });
}
bool TCustomMaskEdit::AutoSelect() const {
  return controller_->AutoSelect();
}
void TCustomMaskEdit::SetAutoSelect(bool on) {
  controller_->SetAutoSelect(on);
}
bool TCustomMaskEdit::ReadOnly() const {
  return controller_->ReadOnly();
}
void TCustomMaskEdit::SetReadOnly(bool on) {
  controller_->SetReadOnly(on);
  QLineEdit::setReadOnly(on);
}
bool TCustomMaskEdit::Modified() const {
  return controller_->Modified();
}
void TCustomMaskEdit::Clear() {
  Run([&] { controller_->Clear(); });
}

void TCustomMaskEdit::Reset() {
  Run([&] { controller_->Reset(); });
}

void TCustomMaskEdit::ValidateEdit() {
  // Lets the error through to the caller; the field still shows the failing place.
  try {
    controller_->ValidateOnLeave();
  } catch (...) {
    Sync();
    throw;
  }
  Sync();
}

void TCustomMaskEdit::selectAll() {
  Run([&] { controller_->SelectAll(); });
}
void TCustomMaskEdit::cut() {
  Run([&] { controller_->Cut(); });
}
void TCustomMaskEdit::copy() const {
  controller_->Copy();
}
void TCustomMaskEdit::paste() {
  Run([&] { controller_->Paste(); });
}

// ---- host ----

TCustomMaskEdit::Beeper* TCustomMaskEdit::SetBeep(Beeper* beeper) {
  return std::exchange(g_beeper, beeper);
}

void TCustomMaskEdit::Beep() {
  if (g_beeper != nullptr) {
    g_beeper->Beep();
  } else {
    QApplication::beep();
  }
}

std::string TCustomMaskEdit::ClipboardText() {
  return ToBytes(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

void TCustomMaskEdit::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(FromBytes(text), QClipboard::Clipboard);
}

void TCustomMaskEdit::Refocus() {
  // Later, not inside the focus change that is still being delivered.
  QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

std::string TCustomMaskEdit::ToBytes(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar c : text) bytes.push_back(c.unicode() <= 0xff ? static_cast<char>(c.unicode()) : '?');
  return bytes;
}

QString TCustomMaskEdit::FromBytes(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// ---- showing the controller's state ----

template <class F>
void TCustomMaskEdit::Run(F&& f) {
  try {
    std::forward<F>(f)();
  } catch (...) {
    Sync();
    HandleException();
    return;
  }
  Sync();
}

void TCustomMaskEdit::Sync() {
  syncing_ = true;
  const EditBox& box = controller_->Box();
  const QString shown = FromBytes(box.Text());
  if (QLineEdit::text() != shown) QLineEdit::setText(shown);  // also drops Qt's undo history
  if (box.Anchor() == box.Caret()) {
    QLineEdit::setCursorPosition(box.Caret());
  } else {
    // Anchor first: the current place is selected with its fixed end on the right.
    QLineEdit::setSelection(box.Anchor(), box.Caret() - box.Anchor());
  }
  QLineEdit::setModified(box.Modified());
  syncing_ = false;
}

void TCustomMaskEdit::ForeignTextChange() {
  // A change that did not come through the field (a QLineEdit slot called directly, an
  // accessibility client): the mask cannot vouch for it, so the field's text is put back.
  if (!syncing_) Sync();
}

// ---- events ----

bool TCustomMaskEdit::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    // The window's shortcuts come first, as accelerators do; only Esc is kept while the
    // field has something to undo.
    auto* key = static_cast<QKeyEvent*>(e);
    const bool wanted = key->key() == Qt::Key_Escape &&
                        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
                        controller_->WantsEscape();
    e->setAccepted(wanted);
    return true;
  }
  return QLineEdit::event(e);
}

std::optional<KeyStroke> TCustomMaskEdit::TranslateKey(int key, Qt::KeyboardModifiers modifiers,
                                                       const QString& text) {
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return std::nullopt;
  KeyStroke stroke;
  stroke.key = KeyOf(key);
  stroke.state.shift = modifiers.testFlag(Qt::ShiftModifier);
  stroke.state.ctrl = modifiers.testFlag(Qt::ControlModifier);
  stroke.state.alt = modifiers.testFlag(Qt::AltModifier);
  if (stroke.state.alt && !stroke.state.ctrl) return std::nullopt;  // menu keys
  switch (key) {
    case Qt::Key_Backspace:
      stroke.character = kBackspaceChar;
      return stroke;
    case Qt::Key_Escape:
      stroke.character = kEscChar;
      return stroke;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      stroke.character = kEnterChar;
      return stroke;
    default:
      break;
  }
  if (stroke.key != EditKey::kOther) return stroke;
  if (stroke.state.ctrl && !stroke.state.alt) {
    // Ctrl with a letter types its control character (Ctrl+C copies, Ctrl+Z is refused).
    if (key >= Qt::Key_A && key <= Qt::Key_Z) stroke.character = key - Qt::Key_A + 1;
    return stroke;
  }
  if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f) {
    stroke.character = CharacterOf(text.at(0));
  }
  return stroke;
}

void TCustomMaskEdit::keyPressEvent(QKeyEvent* e) {
  const std::optional<KeyStroke> stroke = TranslateKey(e->key(), e->modifiers(), e->text());
  if (!stroke) {
    e->ignore();
    return;
  }
  Run([&] { controller_->KeyPress(*stroke); });
  // Keys the field has no use for go on to the window as well.
  e->setAccepted(stroke->key != EditKey::kOther || stroke->character != KeyStroke::kNoCharacter);
}

void TCustomMaskEdit::keyReleaseEvent(QKeyEvent* e) {
  const std::optional<KeyStroke> stroke = TranslateKey(e->key(), e->modifiers(), QString());
  if (!stroke) {
    e->ignore();
    return;
  }
  Run([&] { controller_->KeyUp(stroke->key, stroke->state); });
  e->accept();
}

void TCustomMaskEdit::inputMethodEvent(QInputMethodEvent* e) {
  // Only committed text counts, character by character as if typed; the preedit string is
  // not shown, since it would stand in the text outside the mask.
  const QString commit = e->commitString();
  for (QChar c : commit) Run([&] { controller_->Character(CharacterOf(c)); });
  e->accept();
}

void TCustomMaskEdit::mousePressEvent(QMouseEvent* e) {
  // Only the left button: the middle button's selection paste and a drag start are closed.
  if (e->button() == Qt::LeftButton) {
    const QPoint p = e->position().toPoint();
    Run([&] {
      controller_->MousePress(cursorPositionAt(p), CharacterAt(p), p.x(),
                              e->modifiers().testFlag(Qt::ShiftModifier));
    });
  }
  e->accept();
}

int TCustomMaskEdit::CharacterAt(const QPoint& p) {
  // cursorPositionAt() rounds to the nearest boundary b, so the pointer lies on the character
  // before b or on the one after it. Boundary b lies half a character to the right of the
  // first point that rounds to b (the middle of the character before it); the line edit keeps
  // its margins and scroll offset to itself, so that point is searched for.
  const int boundary = cursorPositionAt(p);
  const QString shown = QLineEdit::text();
  if (boundary <= 0 || boundary > shown.size()) return 0;
  int low = qMin(0, p.x());
  int high = p.x();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (cursorPositionAt(QPoint(middle, p.y())) >= boundary) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  const qreal before = QFontMetricsF(font()).horizontalAdvance(shown.at(boundary - 1));
  return p.x() < low + before / 2 ? boundary - 1 : boundary;
}

void TCustomMaskEdit::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) {
    Run([&] { controller_->MouseMove(cursorPositionAt(e->position().toPoint())); });
  }
  e->accept();
}

void TCustomMaskEdit::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    Run([&] { controller_->MouseRelease(e->position().toPoint().x()); });
  }
  e->accept();
}

void TCustomMaskEdit::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    const QPoint p = e->position().toPoint();
    Run([&] { controller_->MouseDoubleClick(cursorPositionAt(p), p.x()); });
  }
  e->accept();
}

void TCustomMaskEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);  // caret blinking, input method; the sync restores our selection
  const bool entering = !entered_;
  entered_ = true;
  const bool leftDown = e->reason() == Qt::MouseFocusReason ||
                        QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
  Run([&] { controller_->FocusIn(entering, leftDown); });
}

void TCustomMaskEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  // The window losing the focus (another window, a menu) is no leaving of the field.
  const bool leaving =
      e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
  if (leaving) entered_ = false;
  Run([&] { controller_->FocusOut(leaving); });
}

QMenu* TCustomMaskEdit::CreateContextMenu() {
  auto* menu = new QMenu(this);
  const EditBox& box = controller_->Box();
  const bool selected = box.SelLength() > 0;
  const bool writable = !controller_->ReadOnly();
  // The entries are QLineEdit's own, so Qt's translations name them in the user's language.
  const auto text = [](const char* source) {
    return QCoreApplication::translate("QLineEdit", source);
  };
  QAction* cutAction = menu->addAction(text("Cu&t"), this, [this] { cut(); });
  cutAction->setEnabled(selected && writable);
  QAction* copyAction = menu->addAction(text("&Copy"), this, [this] { copy(); });
  copyAction->setEnabled(selected);
  QAction* pasteAction = menu->addAction(text("&Paste"), this, [this] { paste(); });
  pasteAction->setEnabled(writable && !QGuiApplication::clipboard()->text().isEmpty());
  menu->addSeparator();
  QAction* allAction = menu->addAction(text("Select All"), this, [this] { selectAll(); });
  allAction->setEnabled(box.Length() > 0 && box.SelLength() < box.Length());
  cutAction->setObjectName(QStringLiteral("edit-cut"));
  copyAction->setObjectName(QStringLiteral("edit-copy"));
  pasteAction->setObjectName(QStringLiteral("edit-paste"));
  allAction->setObjectName(QStringLiteral("select-all"));
  return menu;
}

void TCustomMaskEdit::contextMenuEvent(QContextMenuEvent* e) {
  QMenu* menu = CreateContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(e->globalPos());
  e->accept();
}

void TCustomMaskEdit::dragEnterEvent(QDragEnterEvent* e) {
  e->ignore();
}
void TCustomMaskEdit::dragMoveEvent(QDragMoveEvent* e) {
  e->ignore();
}
void TCustomMaskEdit::dropEvent(QDropEvent* e) {
  e->ignore();
}

}  // namespace hb9cv
