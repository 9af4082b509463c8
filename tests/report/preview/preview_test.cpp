// The preview window and its control: zoom, the window's state after "&Tisk", navigation,
// closing, saving, loading and printing from the window, and what a preview leaves behind.
#include "report/preview/preview.h"

#include <malloc.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "calc/errors.h"
#include "report/model/qr_report.h"
#include "report/preview/error_guard.h"
#include "report/preview/progress_form.h"
#include "report/preview/report_printing.h"
#include "report/render/emf_recorder.h"
#include "report/store/page_list.h"
#include "report/store/qr_stream.h"
#include "tests/report/preview_test_util.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();  // the sanitizer's own allocator
#endif

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
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
  // A fit that comes out below 2 keeps the zoom but still switches the mode.
  preview.SetZoom(100);
  preview.resize(10, 10);
  preview.ZoomToFit();
  EXPECT_EQ(std::pair(preview.Zoom(), preview.ZoomState()), std::pair(100, ZoomMode::Fit));
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

TEST_F(PreviewTest, TiskOpensTheWindowAndEscClosesIt) {
  Preview({
      [&] {
        ASSERT_EQ(PreviewWindows().size(), 1u);
        TQRStandardPreview* w = Window();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Print Preview"));
        EXPECT_TRUE(w->isMaximized());
        EXPECT_TRUE(w->ZoomToWidth->isChecked());
        EXPECT_EQ(w->Panel(0)->text(), QStringLiteral("0%"));
        EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1"));
        EXPECT_TRUE(w->PrintSetup->isEnabled());
        EXPECT_TRUE(w->Print->isEnabled());
        EXPECT_EQ(w->QRPreview->PreviewImage()->Picture().PixelSize(), QSize(794, 1123));
        // Every navigation key and button stays on the only page.
        for (auto mods : {Qt::NoModifier, Qt::ControlModifier}) {
          for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End}) {
            QTest::keyClick(w->QRPreview->viewport(), key, mods);
          }
        }
        for (QToolButton* b : {w->FirstPage, w->PreviousPage, w->ToolButton2, w->LastPage})
          b->click();
        EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1"));
        EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
        QTest::keyClick(w->QRPreview->viewport(), Qt::Key_Escape);
      },
  });
  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
}

// Five pages loaded from a file; each key and button moves as its row says and the window shows
// that page. Ctrl counts only alone: with Shift or Alt as well, a key does what it does plainly.
TEST_F(PreviewTest, NavigationThroughFivePagesByButtonsAndKeys) {
  ScopedDialogs scopedDialogs(dialogs);
  const QString file = dir.filePath(QStringLiteral("five.QRP"));
  SaveReport(file, 5);
  using W = TQRStandardPreview;
  const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    return std::function<void(W*)>(
        [k, m](W* w) { QTest::keyClick(w->QRPreview->viewport(), k, m); });
  };
  const auto click = [](QToolButton* W::*button) {
    return std::function<void(W*)>([button](W* w) { (w->*button)->click(); });
  };
  const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
  const struct {
    const char* what;
    std::function<void(W*)> act;
    int page;
  } steps[] = {
      {"next", click(&W::ToolButton2), 2},
      {"PageDown", key(Qt::Key_PageDown), 3},
      {"PageUp", key(Qt::Key_PageUp), 2},
      {"Ctrl+PageDown", key(Qt::Key_PageDown, Qt::ControlModifier), 5},
      {"PageDown on the last", key(Qt::Key_PageDown), 5},
      {"next on the last", click(&W::ToolButton2), 5},
      {"Ctrl+Alt+PageUp", key(Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier), 4},
      {"Ctrl+PageUp", key(Qt::Key_PageUp, Qt::ControlModifier), 1},
      {"PageUp on the first", key(Qt::Key_PageUp), 1},
      {"previous on the first", click(&W::PreviousPage), 1},
      {"Ctrl+Shift+PageDown", key(Qt::Key_PageDown, ctrlShift), 2},
      {"Shift+PageDown", key(Qt::Key_PageDown, Qt::ShiftModifier), 3},
      {"End", key(Qt::Key_End), 5},
      {"previous", click(&W::PreviousPage), 4},
      {"Home", key(Qt::Key_Home), 1},
      {"last", click(&W::LastPage), 5},
      {"Ctrl+Home", key(Qt::Key_Home, Qt::ControlModifier), 1},
      {"Shift+End", key(Qt::Key_End, Qt::ShiftModifier), 5},
      {"first", click(&W::FirstPage), 1},
      {"other keys do nothing", key(Qt::Key_Down), 1},
  };
  Preview({[&] {
    W* w = Window();
    dialogs.fileAnswers = {{file}};
    w->LoadReport->click();
    ASSERT_EQ(w->QRPrinter()->PageCount(), 5);
    EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 5"));
    for (const auto& step : steps) {
      step.act(w);
      EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page %1 of 5").arg(step.page)) << step.what;
      EXPECT_EQ(w->QRPreview->PreviewImage()->Picture(), w->QRPrinter()->GetPage(step.page))
          << step.what;
    }
    QTest::keyClick(w->QRPreview->viewport(), Qt::Key_Escape, ctrlShift);
    EXPECT_FALSE(w->isVisible()) << "Esc closes whatever else is held";
  }});
  EXPECT_TRUE(PreviewWindows().empty());
}

TEST_F(PreviewTest, PageImageIsWhitePaperWithOutlineAndShadow) {
  TQRPrinter printer;
  form->Report1.Generate(printer);
  TQRPreviewImage image;
  image.SetQRPrinter(&printer);
  const auto paint = [&](QSize size) {
    QImage shot(size, QImage::Format_RGB32);
    shot.fill(QColor(1, 2, 3));
    QPainter p(&shot);
    image.PaintPage(p, size);
    return shot;
  };
  const QSize size(409, 576);  // the page at 51 %
  EXPECT_EQ(paint(size).pixel(100, 100), qRgb(1, 2, 3)) << "nothing is drawn without a picture";
  image.SetPageNumber(1);
  const QImage shot = paint(size);
  EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 0)) << "the outline";
  EXPECT_EQ(shot.pixel(5, 500), qRgb(255, 255, 255)) << "the paper is white";
  // Zoomed out, the drawing's one-pixel lines still show at every size: the spacing arrow's
  // line, 166.9 mm from the paper's left edge, leaves ink between the elements.
  for (int width = 400; width <= 700; width += 9) {
    const QImage page = paint(QSize(width, width * 1127 / 798));
    const int lineX = qRound(width * 166.9 / 210);
    int darkest = 255;
    for (int x = lineX - 4; x <= lineX + 4; ++x) {
      darkest = std::min(darkest, qGray(page.pixel(x, page.height() * 2 / 5)));
    }
    EXPECT_LT(darkest, 200) << "page width " << width;
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

// A second "&Tisk" from inside a preview opens a second window with its own printer; closing
// either window first leaves the other one working.
TEST_F(PreviewTest, SecondTiskOpensASecondWindowWithItsOwnPrinter) {
  for (const bool olderFirst : {true, false}) {
    SCOPED_TRACE(olderFirst);
    TQRPrinter* first = nullptr;
    TQRPrinter* second = nullptr;
    std::vector<std::function<void()>> inner = {[&] {
      const auto windows = PreviewWindows();
      ASSERT_EQ(windows.size(), 2u);
      second = Printing(form->Report1).CurrentPrinter();
      EXPECT_NE(second, first);
      EXPECT_EQ(second->PageCount(), 1);
      EXPECT_EQ(Printing(form->Report1).PrinterCount(), 2);
      for (TQRStandardPreview* w : windows) {
        if ((w->QRPrinter() == first) == olderFirst) w->close();
      }
    }};
    if (olderFirst) {
      // The newer window's loop goes on.
      inner.push_back([&] {
        ASSERT_EQ(PreviewWindows().size(), 1u);
        EXPECT_EQ(Window()->QRPrinter(), second);
        EXPECT_EQ(Printing(form->Report1).PrinterCount(), 1);
        Window()->ExitButton->click();
      });
    }
    RunInLoop({[&] {
      first = Window()->QRPrinter();
      RunInLoop(inner, 2);
      form->Report1.Preview();
    }});
    form->Report1.Preview();
    if (!olderFirst) {
      // The report is left without a current printer, so both preview calls have returned;
      // the older window stays open and keeps its pages.
      ASSERT_EQ(PreviewWindows().size(), 1u);
      EXPECT_EQ(Window()->QRPrinter(), first);
      EXPECT_TRUE(Window()->QRPreview->PreviewImage()->PictureLoaded());
      EXPECT_EQ(Printing(form->Report1).PrinterCount(), 1);
      Window()->close();
      QCoreApplication::processEvents();
    }
    EXPECT_TRUE(PreviewWindows().empty());
    EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
  }
}

// A printed PDF: one A4 page with the title and every value of 145 MHz on it.
void ExpectPrintedReport(const QString& pdf) {
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 1) << pdf.toStdString();
  EXPECT_EQ(PdfPageSize(pdf), QStringLiteral("595 x 842 pts (A4)"));
  for (const char* text :
       {"Výpočet rozměrů antény typu HB9CV", "145 MHz", "951,7 mm", "1036,5 mm", "258,6 mm",
        "20,6 mm", "130,3 mm", "140,6 mm", "Průměr 2,89 až 5,17 mm"}) {
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text << "\n"
                                                            << pages[0].toStdString();
  }
}

std::vector<QString> g_errors;
void RecordError() noexcept {
  try {
    throw;
  } catch (const Exception& e) {
    g_errors.push_back(QString::fromStdString(e.Message()));
  } catch (...) {
    g_errors.push_back(QStringLiteral("?"));
  }
}

TEST_F(PreviewTest, SaveLoadAndPrintTheStoredPage) {
  ScopedPrinters scoped(printers);
  ScopedDialogs scopedDialogs(dialogs);
  SetExceptionHandler(&RecordError);
  g_errors.clear();
  const QString saved = dir.filePath(QStringLiteral("antenna.QRP"));
  const QString garbage = dir.filePath(QStringLiteral("garbage.qrp"));
  QFile f(garbage);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(300, 'x')) == 300);
  f.close();
  // Saving before the build has finished writes nothing.
  TQRPrinter early;
  early.BeginDoc();
  early.NewPage();
  early.Save(saved);
  EXPECT_FALSE(QFile::exists(saved));
  Metafile shown;
  Preview({[&] {
    TQRStandardPreview* w = Window();
    shown = w->QRPreview->PreviewImage()->Picture();
    dialogs.fileAnswers = {{saved}, {dir.filePath(QStringLiteral("missing.QRP"))}, {garbage}};
    w->SaveReport->click();
    ASSERT_TRUE(QFile::exists(saved));
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(
        dialogs.fileDialogs[0],
        (QStringList{"Save report", "Report file(*.QRP)|*.QRP|PDF file (*.pdf)|*.pdf", "QRP"}));
    // A file name that does not exist: a plain notice, nothing else.
    w->LoadReport->click();
    EXPECT_EQ(dialogs.notices,
              (std::vector<std::pair<QString, QString>>{{"HB9CV", "File does not exist"}}));
    EXPECT_TRUE(g_errors.empty());
    ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(dialogs.fileDialogs[1], (QStringList{"Load report", "Report file (*.QRP)|*.QRP"}));
    // A file that is no report file: the error box, and the pages stay.
    w->LoadReport->click();
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_TRUE(g_errors[0].contains(garbage)) << g_errors[0].toStdString();
    EXPECT_FALSE(w->QRPrinter()->LoadedFromFile());
    EXPECT_EQ(w->QRPrinter()->GetPage(1), shown);

    dialogs.fileAnswers = {{saved}};
    w->LoadReport->click();
    TQRPrinter* p = w->QRPrinter();
    EXPECT_TRUE(p->LoadedFromFile());
    EXPECT_EQ(p->GetPage(1), shown);
    EXPECT_EQ(w->QRPreview->PreviewImage()->Picture(), shown);
    EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1"));
    EXPECT_FALSE(w->PrintSetup->isEnabled());
    // The paper found from the picture: A4 (this printer has no "A4 Small").
    EXPECT_EQ(p->PrinterSettings().PaperSize(), TQRPaperSize::A4);
    w->Print->click();  // prints the stored picture at once
    ASSERT_EQ(printers.WrittenFiles().size(), 1);
    ExpectPrintedReport(printers.WrittenFiles()[0]);
    w->ExitButton->click();
  }});
  SetExceptionHandler(nullptr);
  EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
}

TEST_F(PreviewTest, LoadingAFileOfAnotherShapeLaysThePageOutAgainInTheZoomMode) {
  ScopedPrinters scoped(printers);
  ScopedDialogs scopedDialogs(dialogs);
  const QString landscape = dir.filePath(QStringLiteral("landscape.QRP"));
  SaveReport(landscape, 1, {1123, 794}, {29700, 21000});
  TQRStandardPreview* w = nullptr;
  const std::function<QToolButton*()> modes[] = {[&] { return w->ZoomToWidth; },
                                                 [&] { return w->ZoomFit; }};
  for (const auto& mode : modes) {
    Preview({[&] {
      w = Window();
      mode()->click();
      dialogs.fileAnswers = {{landscape}};
      w->LoadReport->click();
      ASSERT_TRUE(w->QRPrinter()->LoadedFromFile());
      const QRect shown = w->QRPreview->PreviewImage()->geometry();
      EXPECT_GT(shown.width(), shown.height()) << "the landscape page is shown landscape";
      mode()->click();  // what the user had to press before: nothing may change now
      EXPECT_EQ(w->QRPreview->PreviewImage()->geometry(), shown);
      w->ExitButton->click();
    }});
  }
}

TEST_F(PreviewTest, PrinterSetupSetsTheRangeAndBackToAllPages) {
  ScopedPrinters scoped(printers);
  ScopedDialogs scopedDialogs(dialogs);
  const ReportPrintSettings& s = form->Report1.PrinterSettings;
  Preview({[&] {
    TQRStandardPreview* w = Window();
    dialogs.setupAnswers = {{QStringLiteral("PDF file"), 2, QPageLayout::Portrait, true, 1, 1}};
    w->PrintSetup->click();
    ASSERT_EQ(dialogs.setupRequests.size(), 1u);
    const PrintSetupRequest& r = dialogs.setupRequests[0];
    EXPECT_EQ(std::tuple(r.printerName, r.minPage, r.maxPage, r.copies),
              std::tuple(QStringLiteral("PDF file"), 1, 1, 1));
    EXPECT_EQ(std::tuple(s.FirstPage, s.LastPage, s.Copies), std::tuple(1, 1, 2));
    w->PrintSetup->click();  // cancelled: nothing changes
    EXPECT_EQ(std::tuple(s.FirstPage, s.LastPage, s.Copies), std::tuple(1, 1, 2));
    dialogs.setupAnswers = {{QStringLiteral("PDF file"), 1, QPageLayout::Portrait, false, 1, 1}};
    w->PrintSetup->click();
    EXPECT_EQ(std::tuple(s.FirstPage, s.LastPage, s.Copies), std::tuple(0, 0, 1));
    w->close();
  }});
}

// Watches progress windows being shown.
class ProgressWatch : public QObject {
 public:
  ProgressWatch() { qApp->installEventFilter(this); }
  ~ProgressWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    shown += e->type() == QEvent::Show && qobject_cast<TQRProgressForm*>(o) != nullptr;
    return false;
  }
  int shown = 0;
};

TEST_F(PreviewTest, PrintButtonPrintsWithAProgressWindowOrSilentlyWithoutPrinter) {
  TQRPrinter cancelled;
  TQRProgressForm progress(&cancelled);
  progress.CancelButton->click();
  EXPECT_TRUE(cancelled.Cancelled());
  for (const bool withPrinter : {true, false}) {
    SCOPED_TRACE(withPrinter);
    NoPrinters none;
    ScopedPrinters scoped(withPrinter ? static_cast<PrinterCatalog&>(printers) : none);
    ProgressWatch watch;
    Preview({
        [&] {
          EXPECT_EQ(Window()->QRPrinter()->PrinterOK(), withPrinter);
          Window()->Print->click();
          // The request is queued: nothing has printed when the click returns.
          EXPECT_TRUE(printers.WrittenFiles().isEmpty());
          EXPECT_EQ(watch.shown, 0);
        },
        [&] {
          TQRStandardPreview* w = Window();
          EXPECT_EQ(watch.shown, withPrinter ? 1 : 0);
          ASSERT_EQ(printers.WrittenFiles().size(), withPrinter ? 1 : 0);
          // The preview is not changed by the print run.
          EXPECT_EQ(Printing(form->Report1).CurrentPrinter(), w->QRPrinter());
          EXPECT_EQ(Printing(form->Report1).PrinterCount(), 1);
          EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
          if (withPrinter) {
            ExpectPrintedReport(printers.WrittenFiles()[0]);
            QFile::remove(printers.WrittenFiles()[0]);
          }
          w->close();
        },
    });
  }
}

TEST_F(PreviewTest, ClosingWhileStoredPagesPrintKeepsThePrinterUntilTheEnd) {
  ScopedPrinters scoped(printers);
  ScopedDialogs scopedDialogs(dialogs);
  const QString saved = dir.filePath(QStringLiteral("stored.QRP"));
  Preview({[&] {
    TQRStandardPreview* w = Window();
    dialogs.fileAnswers = {{saved}, {saved}};
    w->SaveReport->click();
    w->LoadReport->click();
    ASSERT_TRUE(w->QRPrinter()->LoadedFromFile());
    QPointer<TQRPrinter> printer = w->QRPrinter();
    QPointer<TQRStandardPreview> window = w;
    // The print handles waiting events before its page: the window closes right then.
    QTimer::singleShot(0, w, [w] { w->close(); });
    w->Print->click();
    EXPECT_FALSE(window.isNull()) << "the window lives until its click has returned";
    EXPECT_FALSE(printer.isNull()) << "the printer outlived the print";
  }});
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Printing(form->Report1).PrinterCount(), 0);
  ASSERT_EQ(printers.WrittenFiles().size(), 1);
  EXPECT_EQ(PdfPages(printers.WrittenFiles()[0]).size(), 1);
}

// Bytes the allocator hands out now.
size_t AllocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

TEST_F(PreviewTest, HundredPreviewsLeaveNoMemoryAndNoTemporaryFileBehind) {
  test::ScopedTmpdir tmpdir(dir.path());
  size_t after10 = 0;
  for (int i = 1; i <= 100; ++i) {
    Preview({[&] {
      ASSERT_EQ(test::OpenFilesIn(dir.path()).size(), 1) << "preview " << i;
      Window()->close();
    }});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(test::OpenFilesIn(dir.path()), QStringList()) << "preview " << i;
    if (i == 10) after10 = AllocatedBytes();
  }
  const size_t after100 = AllocatedBytes();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
  const double growth = (double(after100) - double(after10)) / 1024;
  std::printf("allocated after 10 previews %zu bytes, after 100 %zu bytes: %+.1f KiB\n", after10,
              after100, growth);
  EXPECT_LT(growth, 1024) << "90 previews kept more than 1 MiB";
}

}  // namespace
}  // namespace hb9cv
