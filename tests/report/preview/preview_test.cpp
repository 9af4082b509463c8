// The preview window and its control: zoom, navigation, closing, saving, loading and printing
// from the window, and what a preview leaves behind.
#include "report/preview/preview.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "report/model/qr_report.h"
#include "report/preview/progress_form.h"
#include "report/preview/report_printing.h"
#include "report/render/emf_recorder.h"
#include "report/store/page_list.h"
#include "report/store/qr_stream.h"
#include "tests/report/preview_test_util.h"

namespace hb9cv {
namespace {

using namespace pvtest;

// A report file of `count` pages of `pixels` (on `paper`, in 0.01 mm), page n with a bar of
// 20 n pixels.
void SaveReport(const QString& file, int count, QSize pixels = {794, 1123},
                QSize paper = {21000, 29700}) {
  TQRPageList list;
  list.SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  for (int n = 1; n <= count; ++n) {
    EmfRecorder page(pixels, paper, 96, 96);
    page.FillRect({100, 100, 100 + 20 * n, 120}, Qt::black);
    list.AddPage(page.Finish());
  }
  list.Finish();
  list.SaveToFile(file);
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the expected sizes are for a 96 dpi screen";
    ASSERT_TRUE(dir.isValid());
  }
  void TearDown() override {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    QTest::qWait(0);
  }
  // Opens the preview of the form, runs `steps` inside it and returns once it has closed.
  void Preview(std::vector<std::function<void()>> steps) {
    RunInLoop(std::move(steps));
    form->Report1.Preview();
  }
  static TQRStandardPreview* Window() { return PreviewWindows().front(); }

  std::unique_ptr<TPrintForm> form = test::FormAfter145MHz();
  QTemporaryDir dir;
  PdfPrinters printers{dir.path()};
  ScriptedDialogs dialogs;
  ScopedPrinters scopedPrinters{printers};
  ScopedDialogs scopedDialogs{dialogs};
};

TEST_F(PreviewTest, ControlZoomModesAndOutOfRangeValues) {
  TQRPreview preview;
  preview.resize(1000, 600);
  preview.show();
  EXPECT_EQ(preview.Zoom(), 100);
  EXPECT_EQ(preview.Page100(), QSize(794, 1123));
  EXPECT_EQ(preview.PreviewImage()->size(), QSize(798, 1127));  // with outline and shadow
  preview.ZoomToWidth();
  EXPECT_EQ(preview.Zoom(), 113);  // 1000 / 794 * 90 = 113.35
  preview.ZoomToFit();
  EXPECT_EQ(preview.Zoom(), 51);  // min(119.6, 50.8)
  EXPECT_EQ(preview.PreviewImage()->geometry(), QRect(295, 12, 409, 576));
  preview.SetZoom(1);
  preview.SetZoom(2001);
  EXPECT_EQ(std::pair(preview.Zoom(), preview.ZoomState()), std::pair(51, ZoomMode::Fit))
      << "an ignored zoom changes no mode";
  preview.SetZoom(2000);
  EXPECT_EQ(preview.ZoomState(), ZoomMode::Fixed);
  preview.resize(10, 10);
  preview.ZoomToFit();  // a fit below 2 keeps the zoom, yet the mode switches
  EXPECT_EQ(std::pair(preview.Zoom(), preview.ZoomState()), std::pair(2000, ZoomMode::Fit));
  // In width mode a resize zooms again.
  preview.ZoomToWidth();
  preview.resize(500, 600);
  EXPECT_EQ(preview.Zoom(), 57);  // 500 / 794 * 90 = 56.68
  // Fit takes 95 % of the page's scale either way: 836 / 794 * 95 = 100.03, 1182 / 1123 * 95
  // = 99.99.
  for (const QSize size : {QSize(836, 2000), QSize(2000, 1182)}) {
    preview.resize(size);
    preview.ZoomToFit();
    EXPECT_EQ(preview.Zoom(), 100) << size.width() << "x" << size.height();
  }
}

// Five pages loaded from a file; each key and button moves as its row says and the window shows
// that page. Ctrl counts only alone: with Shift or Alt as well, a key does what it does plainly.
TEST_F(PreviewTest, NavigationThroughFivePagesByButtonsAndKeys) {
  const QString file = dir.filePath(QStringLiteral("five.QRP"));
  SaveReport(file, 5);
  using W = TQRStandardPreview;
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
  // A row clicks its button or, without one, presses its key.
  const struct {
    const char* what;
    int page;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QToolButton* W::*button = nullptr;
  } steps[] = {
      {"next", 2, {}, {}, &W::ToolButton2},
      {"PageDown", 3, Qt::Key_PageDown, {}},
      {"PageUp", 2, Qt::Key_PageUp, {}},
      {"Ctrl+PageDown", 5, Qt::Key_PageDown, ctrl},
      {"PageDown on the last", 5, Qt::Key_PageDown, {}},
      {"next on the last", 5, {}, {}, &W::ToolButton2},
      {"Ctrl+Alt+PageUp", 4, Qt::Key_PageUp, ctrl | Qt::AltModifier},
      {"Ctrl+PageUp", 1, Qt::Key_PageUp, ctrl},
      {"PageUp on the first", 1, Qt::Key_PageUp, {}},
      {"previous on the first", 1, {}, {}, &W::PreviousPage},
      {"Ctrl+Shift+PageDown", 2, Qt::Key_PageDown, ctrl | shift},
      {"Shift+PageDown", 3, Qt::Key_PageDown, shift},
      {"End", 5, Qt::Key_End, {}},
      {"previous", 4, {}, {}, &W::PreviousPage},
      {"Home", 1, Qt::Key_Home, {}},
      {"last", 5, {}, {}, &W::LastPage},
      {"Ctrl+Home", 1, Qt::Key_Home, ctrl},
      {"Shift+End", 5, Qt::Key_End, shift},
      {"first", 1, {}, {}, &W::FirstPage},
      {"other keys do nothing", 1, Qt::Key_Down, {}},
  };
  Preview({[&] {
    W* w = Window();
    EXPECT_EQ(std::tuple(w->windowTitle(), w->isMaximized(), w->ZoomToWidth->isChecked(),
                         w->Panel(0)->text(), w->Panel(1)->text(), w->PrintSetup->isEnabled()),
              std::tuple(QStringLiteral("Print Preview"), true, true, QStringLiteral("0%"),
                         QStringLiteral("Page 1 of 1"), true));
    dialogs.fileAnswers = {{file}};
    w->LoadReport->click();
    ASSERT_EQ(w->QRPrinter()->PageCount(), 5);
    EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 5"));
    for (const auto& step : steps) {
      step.button ? (w->*step.button)->click()
                  : QTest::keyClick(w->QRPreview->viewport(), step.key, step.mods);
      EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page %1 of 5").arg(step.page)) << step.what;
      EXPECT_EQ(w->QRPreview->PreviewImage()->Picture(), w->QRPrinter()->GetPage(step.page))
          << step.what;
    }
    QTest::keyClick(w->QRPreview->viewport(), Qt::Key_Escape, ctrl | shift);
    EXPECT_FALSE(w->isVisible()) << "Esc closes whatever else is held";
  }});
  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
}

// The page image: white paper with an outline and a shadow. Zoomed out, the drawing's one-pixel
// lines still show: the spacing arrow's line, 166.9 mm from the paper's left edge, leaves ink
// between the elements.
TEST_F(PreviewTest, PageImageIsWhitePaperWithOutlineAndShadowAndThinLinesShowAtEverySize) {
  TQRPrinter printer;
  form->Report1.Generate(printer);
  TQRPreviewImage image;
  image.SetQRPrinter(&printer);
  image.SetPageNumber(1);
  for (int width = 400; width <= 700; width += 9) {
    QImage page(width, width * 1127 / 798, QImage::Format_RGB32);
    page.fill(Qt::gray);
    QPainter p(&page);
    image.PaintPage(p, page.size());
    const int h = page.height(), line = qRound(width * 166.9 / 210);
    int darkest = 255;
    for (int x = line - 4; x <= line + 4; ++x)
      darkest = std::min(darkest, qGray(page.pixel(x, h * 2 / 5)));
    EXPECT_LT(darkest, 200) << "page width " << width;
    EXPECT_EQ(std::tuple(page.pixel(0, 0), page.pixel(5, h / 2), page.pixel(width - 1, h / 2),
                         page.pixel(width / 2, h - 1)),
              std::tuple(qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0, 0, 0)))
        << "outline, paper, shadow at page width " << width;
  }
}

TEST_F(PreviewTest, ClosingWhileAZoomButtonHandlesEventsKeepsTheWindowUntilItReturns) {
  QPointer<TQRStandardPreview> window;
  Preview({[&] {
    window = Window();
    const int zoom = window->QRPreview->Zoom();
    // The zoom buttons handle waiting events first; a close waiting among them wins.
    QTimer::singleShot(0, window, [&] { window->close(); });
    window->ZoomFit->click();
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->QRPreview->Zoom(), zoom) << "a closed window zooms no more";
  }});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
}

// A printed PDF: one A4 page with the values of 145 MHz on it.
void ExpectPrintedReport(const QString& pdf) {
  EXPECT_EQ(PdfInfo(pdf, "Page size"), "595 x 842 pts (A4)");
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 1) << pdf.toStdString();
  for (const char* text : {"145 MHz", "951,7 mm", "140,6 mm", "Průměr 2,89 až 5,17 mm"}) {
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text << pages[0].toStdString();
  }
}

TEST_F(PreviewTest, PrintSetupSaveLoadAndPrintTheStoredPage) {
  const QString saved = dir.filePath(QStringLiteral("antenna.QRP"));
  const QString landscape = dir.filePath(QStringLiteral("landscape.QRP"));
  SaveReport(landscape, 1, {1123, 794}, {29700, 21000});
  const QString pdf = dir.filePath(QStringLiteral("antenna.pdf"));
  Metafile shown;
  using W = TQRStandardPreview;
  Preview({[&] {
    W* w = Window();
    shown = w->QRPreview->PreviewImage()->Picture();
    // Printer setup sets the report's range and copies, a cancel nothing, "all pages" 0 to 0.
    const ReportPrintSettings& s = form->Report1.PrinterSettings;
    dialogs.setupAnswers = {{QStringLiteral("PDF file"), 2, QPageLayout::Portrait, true, 1, 1}};
    w->PrintSetup->click();
    ASSERT_EQ(dialogs.setupRequests.size(), 1u);
    const PrintSetupRequest& r = dialogs.setupRequests[0];
    EXPECT_EQ(std::tuple(r.printerName, r.minPage, r.maxPage, r.copies),
              std::tuple(QStringLiteral("PDF file"), 1, 1, 1));
    EXPECT_EQ(std::tuple(s.FirstPage, s.LastPage, s.Copies), std::tuple(1, 1, 2));
    w->PrintSetup->click();
    EXPECT_EQ(std::tuple(s.FirstPage, s.LastPage, s.Copies), std::tuple(1, 1, 2));
    dialogs.setupAnswers = {{QStringLiteral("PDF file"), 3, QPageLayout::Portrait, false, 1, 1}};
    w->PrintSetup->click();
    EXPECT_EQ(std::tuple(s.FirstPage, s.LastPage, s.Copies), std::tuple(0, 0, 3));
    dialogs.fileAnswers = {{pdf, 1}, {saved}, {dir.filePath("missing.QRP")}, {landscape}, {saved}};
    w->SaveReport->click();
    EXPECT_EQ(std::pair(s.Copies, form->Report1.PrinterIndex()), std::pair(3, 0)) << "PDF saved";
    w->SaveReport->click();
    ASSERT_TRUE(QFile::exists(saved));
    // A file name that does not exist: a plain notice, nothing else.
    w->LoadReport->click();
    EXPECT_EQ(dialogs.notices,
              (std::vector<std::pair<QString, QString>>{{"HB9CV", "File does not exist"}}));
    EXPECT_FALSE(w->QRPrinter()->LoadedFromFile());
    EXPECT_EQ(dialogs.fileDialogs,
              (std::vector<QStringList>{
                  {"Save report", "Report file(*.QRP)|*.QRP|PDF file (*.pdf)|*.pdf", "QRP"},
                  {"Save report", "Report file(*.QRP)|*.QRP|PDF file (*.pdf)|*.pdf", "QRP"},
                  {"Load report", "Report file (*.QRP)|*.QRP"}}));
    // A page of another shape is laid out again in the zoom mode: pressing it changes nothing.
    for (QToolButton* W::*mode : {&W::ZoomToWidth, &W::ZoomFit}) {
      (w->*mode)->click();
      w->LoadReport->click();
      ASSERT_TRUE(w->QRPrinter()->LoadedFromFile());
      const QRect geometry = w->QRPreview->PreviewImage()->geometry();
      EXPECT_EQ(geometry.width() > geometry.height(), mode == &W::ZoomToWidth);
      (w->*mode)->click();
      EXPECT_EQ(w->QRPreview->PreviewImage()->geometry(), geometry);
    }
    TQRPrinter* p = w->QRPrinter();
    EXPECT_EQ(std::tuple(p->GetPage(1), w->QRPreview->PreviewImage()->Picture(),
                         w->Panel(1)->text(), w->PrintSetup->isEnabled()),
              std::tuple(shown, shown, QStringLiteral("Page 1 of 1"), false));
    // The paper found from the picture: A4 (this printer has no "A4 Small").
    EXPECT_EQ(p->PrinterSettings().PaperSize(), TQRPaperSize::A4);
    QPointer<TQRPrinter> printer = p;
    QPointer<W> window = w;
    // The print of the stored picture handles waiting events before its page: the window
    // closes right then.
    QTimer::singleShot(0, w, [w] { w->close(); });
    w->Print->click();
    EXPECT_FALSE(window.isNull()) << "the window lives until its click has returned";
    EXPECT_FALSE(printer.isNull()) << "the printer outlived the print";
  }});
  QTest::qWait(0);
  EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
  ASSERT_EQ(printers.WrittenFiles().size(), 1);
  ExpectPrintedReport(printers.WrittenFiles()[0]);
  // The second filter saves through the PDF export.
  ExpectPrintedReport(pdf);
  EXPECT_EQ(PdfInfo(pdf, "Title"), "HB9CV – 145 MHz");
}

// Counts the progress windows shown.
struct ProgressWatch : QObject {
  ProgressWatch() { qApp->installEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    shown += e->type() == QEvent::Show && qobject_cast<TQRProgressForm*>(o) != nullptr;
    return false;
  }
  int shown = 0;
};

TEST_F(PreviewTest, PrintButtonPrintsQueuedWithAProgressWindowOrSilentlyWithoutPrinter) {
  TQRPrinter cancelled;
  TQRProgressForm progress(&cancelled);
  progress.CancelButton->click();
  EXPECT_TRUE(cancelled.Cancelled());
  for (const bool withPrinter : {false, true}) {
    SCOPED_TRACE(withPrinter);
    PdfPrinters none(dir.path(), {});
    ScopedPrinters scoped(withPrinter ? printers : none);
    ProgressWatch watch;
    Preview({
        [&] {
          EXPECT_EQ(Window()->QRPrinter()->PrinterOK(), withPrinter);
          Window()->Print->click();
          // The request is queued: nothing has printed when the click returns.
          EXPECT_TRUE(printers.WrittenFiles().isEmpty());
        },
        [&] {
          TQRStandardPreview* w = Window();
          ASSERT_EQ(printers.WrittenFiles().size(), withPrinter ? 1 : 0);
          EXPECT_EQ(watch.shown, withPrinter ? 1 : 0);
          // The preview is not changed by the print run.
          EXPECT_EQ(Printing(form->Report1).CurrentPrinter(), w->QRPrinter());
          EXPECT_EQ(Printing(form->Report1).PrinterCount(), 1);
          EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
          w->close();
        },
    });
  }
}

TEST_F(PreviewTest, HundredPreviewsLeaveNoTemporaryFileBehind) {
  test::ScopedTmpdir tmpdir(dir.path());
  for (int i = 1; i <= 100; ++i) {
    Preview({[&] {
      ASSERT_EQ(test::OpenFilesIn(dir.path()).size(), 1) << "preview " << i;
      // Open but nameless: a crash leaves nothing behind.
      ASSERT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
      Window()->close();
    }});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(test::OpenFilesIn(dir.path()), QStringList()) << "preview " << i;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
}  // namespace hb9cv
