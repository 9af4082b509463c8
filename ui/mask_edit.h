#pragma once
// The masked entry field as a Qt widget: a QLineEdit that draws the text and the selection,
// while every decision is taken by MaskEditController. Each input path Qt offers (keys, input
// method, mouse, context menu, focus) is turned into a controller call, after which the
// controller's text, selection and modified flag are copied into the line edit. Paths that
// would change the text behind the mask's back are closed: drag and drop, the middle-button
// selection paste, QLineEdit's own undo/redo, and any change made through a QLineEdit pointer,
// which is reverted.
//
// The text is held one byte per character (Latin-1): characters beyond it are typed as
// refused and pasted as "?". Qt's own input mask is not used.
#include <QLineEdit>
#include <QString>
#include <memory>
#include <optional>

#include "report/print/scoped_hook.h"
#include "ui/mask_controller.h"
#include "ui/mask_error.h"

class QMenu;

namespace hb9cv {

class TCustomMaskEdit : public QLineEdit, private MaskEditController::Host {
  Q_OBJECT
 public:
  explicit TCustomMaskEdit(QWidget* parent = nullptr);
  ~TCustomMaskEdit() override;

  // Properties.
  QString EditMask() const;
  void SetEditMask(const QString& mask);
  int MaxLength() const;
  void SetMaxLength(int length);
  // The field's `Text` (for "9999,999;1;_": eight characters, spaces in empty places).
  QString Text() const;
  void SetText(const QString& value);
  bool AutoSelect() const;
  void SetAutoSelect(bool on);
  bool ReadOnly() const;
  void SetReadOnly(bool on);
  bool Modified() const;
  // Clearing is the assignment Text := "".
  void Clear();

  // The field's own operations.
  void Reset();
  void ValidateEdit();  // throws EDBEditError when a required place is empty

  // QLineEdit's text operations, routed through the mask when called on this class.
  void setText(const QString& value) { SetText(value); }
  void clear() { Clear(); }
  void selectAll();
  void cut();
  void copy() const;
  void paste();
  void undo() {}
  void redo() {}

  MaskEditController& Controller() { return *controller_; }
  const MaskEditController& Controller() const { return *controller_; }

  // The menu the right button opens: Cut, Copy, Paste and Select All, each routed through the
  // field. The caller owns it.
  QMenu* CreateContextMenu();

  // The key press a Qt key event stands for; nullopt for keys the field leaves to its window
  // (Tab, anything with Alt).
  static std::optional<KeyStroke> TranslateKey(int key, Qt::KeyboardModifiers modifiers,
                                               const QString& text);

  // The beep every field makes; tests replace it to count beeps.
  class Beeper {
   public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
  };
  // Installs `beeper` (not owned) and returns the one it replaces; nullptr restores
  // QApplication::beep.
  static Beeper* SetBeep(Beeper* beeper);

  // Text conversions between the line edit and the field's single bytes.
  static std::string ToBytes(const QString& text);
  static QString FromBytes(const std::string& bytes);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // Host.
  void Beep() override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  void Refocus() override;

  // Runs a controller call, reports what it throws, and shows the result.
  template <class F>
  void Run(F&& f);
  void Sync();
  void ForeignTextChange();
  // The index of the character under `p`; the text's length right of the last character.
  int CharacterAt(const QPoint& p);

  std::unique_ptr<MaskEditController> controller_;
  bool syncing_ = false;
  bool entered_ = false;  // the field is its window's focused control
};

// The field as the program places it; adds nothing.
class TMaskEdit : public TCustomMaskEdit {
  Q_OBJECT
 public:
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace hb9cv
