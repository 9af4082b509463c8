#include "report/preview/standard_preview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "report/preview/error_guard.h"
#include "report/preview/preview_dialogs.h"
#include "report/preview/preview_icons.h"
#include "report/preview/window_place.h"

namespace hb9cv {

TQRStandardPreview::TQRStandardPreview(QWidget* parent)
    : QMainWindow(parent),
      ToolBar1(new QToolBar(this)),
      QRPreview(new TQRPreview(this)),
      StatusBar(new QStatusBar(this)),
      Images(PreviewImages()),
      zoomGroup_(new QButtonGroup(this)),
      panel0_(new QLabel(QStringLiteral("0%"))),
      panel1_(new QLabel(QCoreApplication::translate("Preview", "Page"))) {
  setObjectName(QStringLiteral("QRStandardPreview"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QCoreApplication::translate("Preview", "Print Preview"));
  resize(652, 579);
  CentreOnScreen(*this, size());
  CreateToolBar();
  ConnectButtons();

  QRPreview->setObjectName(QStringLiteral("QRPreview"));
  setCentralWidget(QRPreview);
  connect(QRPreview, &TQRPreview::OnPageAvailable, this,
          [this](int page) { QRPreviewPageAvailable(page); });
  connect(QRPreview, &TQRPreview::OnProgressUpdate, this,
          [this](int percent) { QRPreviewProgressUpdate(percent); });
  CreateStatusBar();

  // The window sees key presses before any of its controls.
  qApp->installEventFilter(this);
}

void TQRStandardPreview::CreateToolBar() {
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(kPreviewImageSize, kPreviewImageSize));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setContentsMargins(2, 2, 2, 2);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  AddDivider("ToolButton1", 8);
  ZoomFit = AddButton("ZoomFit", QCoreApplication::translate("Preview", "Zoom to fit"), 0);
  Zoom100 = AddButton("Zoom100", QCoreApplication::translate("Preview", "100%"), 1);
  ZoomToWidth =
      AddButton("ZoomToWidth", QCoreApplication::translate("Preview", "Zoom to width"), 2);
  for (QToolButton* b : {ZoomFit, Zoom100, ZoomToWidth}) {
    b->setCheckable(true);
    zoomGroup_->addButton(b);
  }
  zoomGroup_->setExclusive(true);
  ZoomToWidth->setChecked(true);
  AddDivider("Separator1");
  FirstPage = AddButton("FirstPage", QCoreApplication::translate("Preview", "First page"), 3);
  PreviousPage =
      AddButton("PreviousPage", QCoreApplication::translate("Preview", "Previous page"), 4);
  ToolButton2 = AddButton("ToolButton2", QCoreApplication::translate("Preview", "Next page"), 5);
  LastPage = AddButton("LastPage", QCoreApplication::translate("Preview", "Last page"), 6);
  AddDivider("Separator2");
  PrintSetup = AddButton("PrintSetup", QCoreApplication::translate("Preview", "Printer setup"), 7);
  Print = AddButton("Print", QCoreApplication::translate("Preview", "Print"), 8);
  PrintSetup->setEnabled(false);
  Print->setEnabled(false);
  AddDivider("Separator3");
  SaveReport = AddButton("SaveReport", QCoreApplication::translate("Preview", "Save Report"), 10);
  LoadReport = AddButton("LoadReport", QCoreApplication::translate("Preview", "Load Report"), 9);
  AddDivider("Separator4");
  ExitButton = new QToolButton(ToolBar1);
  ExitButton->setObjectName(QStringLiteral("ExitButton"));
  ExitButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
  ExitButton->setText(QCoreApplication::translate("Preview", "&Close"));
  // 40 pixels, or as wide as a longer translation needs.
  const int textWidth =
      ExitButton->fontMetrics().horizontalAdvance(ExitButton->text().remove(u'&'));
  ExitButton->setFixedSize(std::max(40, textWidth + 12), 22);
  ToolBar1->addWidget(ExitButton);
}

void TQRStandardPreview::ConnectButtons() {
  connect(ZoomFit, &QToolButton::clicked, this, [this] { Guarded([this] { ZoomToFitClick(); }); });
  connect(Zoom100, &QToolButton::clicked, this, [this] { Guarded([this] { ZoomTo100Click(); }); });
  connect(ZoomToWidth, &QToolButton::clicked, this,
          [this] { Guarded([this] { ZoomToWidthClick(); }); });
  connect(FirstPage, &QToolButton::clicked, this,
          [this] { Guarded([this] { FirstPageClick(); }); });
  connect(PreviousPage, &QToolButton::clicked, this,
          [this] { Guarded([this] { PrevPageClick(); }); });
  connect(ToolButton2, &QToolButton::clicked, this,
          [this] { Guarded([this] { NextPageClick(); }); });
  connect(LastPage, &QToolButton::clicked, this, [this] { Guarded([this] { LastPageClick(); }); });
  connect(PrintSetup, &QToolButton::clicked, this,
          [this] { Guarded([this] { PrintSetupClick(); }); });
  connect(Print, &QToolButton::clicked, this, [this] { Guarded([this] { PrintClick(); }); });
  connect(SaveReport, &QToolButton::clicked, this, [this] { Guarded([this] { SaveClick(); }); });
  connect(LoadReport, &QToolButton::clicked, this, [this] { Guarded([this] { LoadClick(); }); });
  connect(ExitButton, &QToolButton::clicked, this, [this] { Guarded([this] { ExitClick(); }); });
}

void TQRStandardPreview::CreateStatusBar() {
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setFixedHeight(19);
  StatusBar->setSizeGripEnabled(false);
  panel0_->setObjectName(QStringLiteral("Panel0"));
  panel0_->setFixedWidth(40);
  panel0_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setMinimumWidth(50);
  StatusBar->addWidget(panel0_);
  StatusBar->addWidget(panel1_, 1);
  setStatusBar(StatusBar);
}

TQRStandardPreview::~TQRStandardPreview() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
  if (!closed_) FormClose();
}

QToolButton* TQRStandardPreview::AddButton(const char* name, const QString& hint, int image) {
  auto* button = new QToolButton(ToolBar1);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(hint);
  button->setIcon(QIcon(Images.at(image)));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  ToolBar1->addWidget(button);
  return button;
}

void TQRStandardPreview::AddDivider(const char* name, int width) {
  QAction* action = nullptr;
  if (width > 0) {
    auto* gap = new QWidget(ToolBar1);
    gap->setFixedWidth(width);
    action = ToolBar1->addWidget(gap);
    gap->setObjectName(QString::fromLatin1(name));
  } else {
    action = ToolBar1->addSeparator();
  }
  action->setObjectName(QString::fromLatin1(name));
}

void TQRStandardPreview::SetQRPrinter(TQRPrinter* printer) {
  printer_ = printer;
  QRPreview->SetQRPrinter(printer);
}

TQRStandardPreview::KeepAlive::KeepAlive(TQRStandardPreview& window)
    : window_(window), deleteOnClose_(window.testAttribute(Qt::WA_DeleteOnClose)) {
  window_.setAttribute(Qt::WA_DeleteOnClose, false);
}

TQRStandardPreview::KeepAlive::~KeepAlive() {
  window_.setAttribute(Qt::WA_DeleteOnClose, deleteOnClose_);
  if (window_.closed_ && deleteOnClose_) window_.deleteLater();
}

bool TQRStandardPreview::HandleWaitingEvents() {
  KeepAlive keep(*this);
  // The zoom is worked out from the control's size: a resize still waiting (the window has just
  // been maximised, or the user dragged its edge) lands first, or the page is fitted to the old
  // size.
  QCoreApplication::processEvents();
  return !closed_;
}

void TQRStandardPreview::ZoomToFitClick() {
  if (HandleWaitingEvents()) QRPreview->ZoomToFit();
}

void TQRStandardPreview::ZoomTo100Click() {
  if (HandleWaitingEvents()) QRPreview->SetZoom(100);
}

void TQRStandardPreview::ZoomToWidthClick() {
  if (HandleWaitingEvents()) QRPreview->ZoomToWidth();
}

void TQRStandardPreview::FirstPageClick() {
  QRPreview->SetPageNumber(1);
  UpdateInfo();
}

void TQRStandardPreview::PrevPageClick() {
  QRPreview->SetPageNumber(QRPreview->PageNumber() - 1);
  UpdateInfo();
}

void TQRStandardPreview::NextPageClick() {
  QRPreview->SetPageNumber(QRPreview->PageNumber() + 1);
  UpdateInfo();
}

void TQRStandardPreview::LastPageClick() {
  if (printer_) QRPreview->SetPageNumber(printer_->PageCount());
  UpdateInfo();
}

void TQRStandardPreview::PrintSetupClick() {
  if (printer_) printer_->PrintSetup();
}

void TQRStandardPreview::PrintClick() {
  TQRPrinter* printer = printer_;
  if (printer == nullptr) return;
  // Stored pages print while events are handled, and the window may be closed meanwhile.
  KeepAlive keep(*this);
  printer->Print();
}

void TQRStandardPreview::SaveClick() {
  const QString ext = QStringLiteral("QRP");
  QString filter = QCoreApplication::translate("Preview", "Report file") + QStringLiteral("(*.") +
                   ext + QStringLiteral(")|*.") + ext;
  // A report loaded from a file has no live report behind it to export.
  if (printer_ && printer_->OffersExport())
    filter += QStringLiteral("|") + QCoreApplication::translate("Preview", "PDF file") +
              QStringLiteral(" (*.pdf)|*.pdf");
  const auto choice =
      Dialogs().SaveFile(this, QCoreApplication::translate("Preview", "Save report"), filter, ext);
  if (!choice || !printer_) return;
  if (choice->filterIndex == 0) {
    printer_->Save(choice->fileName);
  } else if (choice->filterIndex == 1 && printer_->OffersExport()) {
    printer_->Export(choice->fileName);
  }
}

void TQRStandardPreview::LoadClick() {
  const QString ext = QStringLiteral("QRP");
  const QString filter = QCoreApplication::translate("Preview", "Report file") +
                         QStringLiteral(" (*.") + ext + QStringLiteral(")|*.") + ext;
  const auto choice =
      Dialogs().OpenFile(this, QCoreApplication::translate("Preview", "Load report"), filter);
  if (!choice || !printer_) return;
  if (!QFileInfo::exists(choice->fileName)) {
    Dialogs().Notice(this, QGuiApplication::applicationDisplayName(),
                     QCoreApplication::translate("Preview", "File does not exist"));
    return;
  }
  printer_->Load(choice->fileName);
  // The file's paper may have another shape than the pages shown so far.
  QRPreview->Relayout();
  QRPreview->SetPageNumber(1);
  QRPreview->PreviewImage()->SetPageNumber(1);
  UpdateInfo();
  PrintSetup->setEnabled(false);
  Print->setEnabled(true);
}

void TQRStandardPreview::ExitClick() {
  close();
}

bool TQRStandardPreview::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers relevant =
      modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool ctrl = relevant == Qt::ControlModifier;
  switch (key) {
    case Qt::Key_Escape:
      ExitClick();
      return true;
    case Qt::Key_PageUp:
      ctrl ? FirstPageClick() : PrevPageClick();
      return true;
    case Qt::Key_PageDown:
      ctrl ? LastPageClick() : NextPageClick();
      return true;
    case Qt::Key_Home:
      FirstPageClick();
      return true;
    case Qt::Key_End:
      LastPageClick();
      return true;
    default:
      return false;
  }
}

void TQRStandardPreview::FormResize() {
  QRPreview->UpdateZoom();
}

void TQRStandardPreview::UpdateInfo() {
  const int count = printer_ ? printer_->PageCount() : 0;
  panel1_->setText(QCoreApplication::translate("Preview", "Page %1 of %2")
                       .arg(QRPreview->PageNumber())
                       .arg(count));
}

void TQRStandardPreview::QRPreviewPageAvailable(int /*pageNumber*/) {
  UpdateInfo();
  if (printer_ && printer_->Status() == PrinterStatus::Finished) {
    PrintSetup->setEnabled(true);
    Print->setEnabled(true);
  }
}

void TQRStandardPreview::QRPreviewProgressUpdate(int percent) {
  if (percent >= lastProgress_ + 5) {
    panel0_->setText(QString::number(percent) + QLatin1Char('%'));
    lastProgress_ = percent;
  }
  if (percent == 0 || percent == 100) panel0_->setText(QString());
}

bool TQRStandardPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool handled = false;
    Guarded([&] { handled = FormKeyDown(key->key(), key->modifiers()); });
    if (handled) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TQRStandardPreview::closeEvent(QCloseEvent* event) {
  Guarded([this] { FormClose(); });
  event->accept();
}

void TQRStandardPreview::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TQRStandardPreview::FormClose() {
  if (closed_) return;
  closed_ = true;
  TQRPrinter* printer = printer_;
  QRPreview->SetQRPrinter(nullptr);
  printer_ = nullptr;
  if (printer != nullptr) printer->ClosePreview();
}

QWidget* TQRStandardPreviewInterface::Show(TQRPrinter* printer) {
  auto* window = new TQRStandardPreview;
  window->setWindowState(Qt::WindowMaximized);
  window->SetQRPrinter(printer);
  if (!printer->Title().isEmpty()) window->setWindowTitle(printer->Title());
  window->ZoomToWidth->setChecked(true);
  if (printer->Status() == PrinterStatus::Finished) window->Print->setEnabled(true);
  window->show();
  window->raise();
  window->activateWindow();
  window->UpdateInfo();
  return window;
}

}  // namespace hb9cv
