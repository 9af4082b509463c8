#include "ui/warning_form.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QWindow>

#include "report/preview/window_place.h"
#include "ui/error_report.h"
#include "ui/forms.h"
#include "ui/label.h"

namespace hb9cv {

// A tool window: out of the taskbar and the window switcher, and kept above its owner.
TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Form3"));
  setFixedSize(kClientSize);
  // Only the main window keeps the program alive.
  setAttribute(Qt::WA_QuitOnClose, false);
  QPalette red = palette();
  red.setColor(QPalette::Window, QColor(255, 0, 0));
  setPalette(red);
  setAutoFillBackground(true);

  Label1 = new FormLabel(QStringLiteral("Label1"),
                         QCoreApplication::translate("TForm3", "Dělění \"0\", ty vole ..."),
                         WindowFont(32, true), this);
  Label1->move(4, 0);

  BitBtn1 = new QPushButton(QCoreApplication::translate("TForm3", "&Znovu"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setFont(WindowFont(19, true));
  BitBtn1->setGeometry(316, 4, 109, 37);
  BitBtn1->setFocusPolicy(Qt::StrongFocus);
  BitBtn1->setAutoDefault(true);  // Enter chooses it, as Space does
  BitBtn1->setFocus();
  connect(BitBtn1, &QPushButton::clicked, this, GuardedSlot([this] { BitBtn1Click(); }));
}

void TForm3::SetOwner(QWidget* owner) {
  owner_ = owner;
}

void TForm3::ShowWarning() {
  if (!isVisible()) CentreOnScreen(*this, kClientSize);
  if (owner_ != nullptr && owner_->window()->windowHandle() != nullptr) {
    // The window system reads the owner when the window is mapped, so it is set before show().
    // An owner, not a parent widget: the warning's lifetime stays with whoever created it.
    winId();
    windowHandle()->setTransientParent(owner_->window()->windowHandle());
  }
  show();
  raise();
  activateWindow();
}

void TForm3::BitBtn1Click() {
  close();
}

}  // namespace hb9cv
