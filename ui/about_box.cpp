#include "ui/about_box.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include "sim/nec_runner.h"

namespace hb9cv {

QString AboutText(bool nec2cFound) {
  return QCoreApplication::translate(
             "AboutBox",
             "<h3>HB9CV %1</h3>"
             "<p>Výpočet rozměrů dvouprvkové antény typu HB9CV z jejího kmitočtu, s tiskovou "
             "sestavou a simulací navržené antény idealizovaným modelem NEC-2.</p>"
             "<p>Licence: GNU General Public License, verze 2 nebo pozdější "
             "(GPL-2.0-or-later).</p>"
             "<p>Používá knihovny Qt %2 (včetně Qt Charts), libjpeg a libUEMF; simulaci počítá "
             "program nec2c (NEC-2)%3.</p>")
      .arg(QStringLiteral(HB9CV_VERSION), QString::fromLatin1(qVersion()),
           nec2cFound ? QString()
                      : QCoreApplication::translate("AboutBox",
                                                    ", který není nainstalován (balíček nec2c)"));
}

void ShowAboutBox(QWidget* owner) {
  const bool found = !QStandardPaths::findExecutable(QString::fromLatin1(kNecProgram)).isEmpty();
  // Like QMessageBox::about(), without a nested event loop.
  auto* box = new QMessageBox(QMessageBox::Information,
                              QCoreApplication::translate("AboutBox", "O aplikaci"),
                              AboutText(found), QMessageBox::Ok, owner);
  box->setObjectName(QStringLiteral("AboutBox"));
  box->setIconPixmap(owner->windowIcon().pixmap(64, 64));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace hb9cv
