#pragma once
// The preview window: toolbar, the preview control and a status bar, on one report printer.
#include <QButtonGroup>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "report/preview/preview.h"
#include "report/preview/preview_icons.h"
#include "report/print/qr_printer.h"

namespace hb9cv {

class TQRStandardPreview : public QMainWindow {
  Q_OBJECT
 public:
  explicit TQRStandardPreview(QWidget* parent = nullptr);
  ~TQRStandardPreview() override;

  TQRPrinter* QRPrinter() const { return printer_; }
  void SetQRPrinter(TQRPrinter* printer);

  QToolBar* ToolBar1;
  QToolButton* ZoomFit;
  QToolButton* Zoom100;
  QToolButton* ZoomToWidth;
  QToolButton* FirstPage;
  QToolButton* PreviousPage;
  QToolButton* ToolButton2;
  QToolButton* LastPage;
  QToolButton* PrintSetup;
  QToolButton* Print;
  QToolButton* SaveReport;
  QToolButton* LoadReport;
  QToolButton* ExitButton;
  TQRPreview* QRPreview;
  QStatusBar* StatusBar;
  // Status panels: 0 progress, 1 page position.
  QLabel* Panel(int index) const { return index == 0 ? panel0_ : panel1_; }
  QList<QPixmap> Images;

  void ZoomToFitClick();
  void ZoomTo100Click();
  void ZoomToWidthClick();
  void FirstPageClick();
  void PrevPageClick();
  void NextPageClick();
  void LastPageClick();
  void PrintSetupClick();
  void PrintClick();
  void SaveClick();
  void LoadClick();
  void ExitClick();
  // Keys the window takes before its controls; true when the key was one of them.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  void FormResize();
  // "Page n of m" in panel 1.
  void UpdateInfo();
  void QRPreviewPageAvailable(int pageNumber);
  void QRPreviewProgressUpdate(int percent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Keeps the window in existence while one of its handlers runs events: a close meanwhile
  // destroys it only once the handler has returned.
  class KeepAlive {
   public:
    explicit KeepAlive(TQRStandardPreview& window);
    ~KeepAlive();
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

   private:
    TQRStandardPreview& window_;
    bool deleteOnClose_;
  };
  // Handles the events waiting; false when the window was closed meanwhile.
  bool HandleWaitingEvents();
  void CreateToolBar();
  void ConnectButtons();
  void CreateStatusBar();
  QToolButton* AddButton(const char* name, const QString& hint, int image);
  void AddDivider(const char* name, int width = 0);
  void FormClose();

  QPointer<TQRPrinter> printer_;
  QButtonGroup* zoomGroup_;
  QLabel* panel0_;
  QLabel* panel1_;
  int lastProgress_ = 0;
  bool closed_ = false;
};

class TQRStandardPreviewInterface : public PreviewWindowFactory {
 public:
  QWidget* Show(TQRPrinter* printer) override;
};

}  // namespace hb9cv
