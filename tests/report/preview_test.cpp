// The preview window and its control: zoom arithmetic, the window's state after "&Tisk",
// navigation, closing, saving, loading and printing from the window.
#include "report/preview.h"

#include <QFileInfo>
#include <QTest>
#include <QtEndian>

#include "preview_test_util.h"
#include "report/page_list.h"
#include "report/progress_form.h"
#include "report/qr_notices.h"
#include "report/qr_report.h"
#include "report/qr_stream.h"
#include "report/report_printing.h"

namespace hb9cv {
namespace {

using namespace pvtest;
namespace z = preview_zoom;

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the expected sizes are for a 96 dpi screen";
  }
  void TearDown() override {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST(PreviewZoom, ArithmeticOfTheA4PageAt96Dpi) {
  const QSize page100(794, 1123);
  EXPECT_EQ(z::WidthZoom(1000, 794), 113);          // 1000 / 794 * 90 = 113.35
  EXPECT_EQ(z::FitZoom({1000, 600}, page100), 51);  // min(119.6, 50.8)
  EXPECT_EQ(z::FitZoom({2000, 5000}, page100), 239);
  EXPECT_EQ(z::FitZoom({10, 10}, page100), 1);  // invalid; the control then keeps its zoom
  EXPECT_FALSE(z::IsValidZoom(1));
  EXPECT_TRUE(z::IsValidZoom(2));
  EXPECT_TRUE(z::IsValidZoom(2000));
  EXPECT_FALSE(z::IsValidZoom(2001));

  const long double f = 96.0L / 254;
  const QRect at100 = z::LayoutPage({1000, 600}, 2100, 2970, 100, f, f);
  EXPECT_EQ(at100.size(), QSize(798, 1127));
  EXPECT_EQ(at100.topLeft(), QPoint(101, 0));  // centred across, taller than the view
  const QRect at51 = z::LayoutPage({1000, 600}, 2100, 2970, 51, f, f);
  EXPECT_EQ(at51.size(), QSize(409, 576));  // 794 * 0.51 = 404.9, 1122.5 * 0.51 = 572.5
  EXPECT_EQ(at51.topLeft(), QPoint(295, 12));
  const QRect wide = z::LayoutPage({1000, 600}, 2100, 2970, 200, f, f);
  EXPECT_EQ(wide.topLeft(), QPoint(0, 0));
}

TEST_F(PreviewTest, ControlZoomModesAndOutOfRangeValues) {
  TQRPreview preview;
  preview.resize(1000, 600);
  preview.show();
  EXPECT_EQ(preview.Zoom(), 100);
  EXPECT_EQ(preview.ZoomState(), TQRZoomState::Fixed);
  EXPECT_EQ(preview.Page100(), QSize(794, 1123));
  EXPECT_EQ(preview.PreviewImage()->size(), QSize(798, 1127));

  preview.ZoomToWidth();
  EXPECT_EQ(preview.Zoom(), 113);
  EXPECT_EQ(preview.ZoomState(), TQRZoomState::Width);
  preview.ZoomToFit();
  EXPECT_EQ(preview.Zoom(), 51);
  EXPECT_EQ(preview.ZoomState(), TQRZoomState::Fit);
  EXPECT_EQ(preview.PreviewImage()->geometry(), QRect(295, 12, 409, 576));

  preview.SetZoom(1);
  preview.SetZoom(2001);
  EXPECT_EQ(preview.Zoom(), 51);
  EXPECT_EQ(preview.ZoomState(), TQRZoomState::Fit) << "an ignored zoom changes no mode";
  preview.SetZoom(2000);
  EXPECT_EQ(preview.ZoomState(), TQRZoomState::Fixed);

  // A fit that comes out below 2 keeps the zoom but still switches the mode.
  preview.SetZoom(100);
  preview.resize(10, 10);
  preview.ZoomToFit();
  EXPECT_EQ(preview.Zoom(), 100);
  EXPECT_EQ(preview.ZoomState(), TQRZoomState::Fit);

  // In width mode a resize zooms again.
  preview.resize(1000, 600);
  preview.ZoomToWidth();
  preview.resize(500, 600);
  EXPECT_EQ(preview.Zoom(), z::WidthZoom(500, 794));
}

TEST_F(PreviewTest, TiskOpensTheWindowAndEscClosesIt) {
  auto form = FormAfter();
  QString tempFile;
  TQRPrinter* printer = nullptr;
  RunInLoop({
      [&] {
        const auto windows = PreviewWindows();
        ASSERT_EQ(windows.size(), 1u);
        TQRStandardPreview* w = windows.front();
        printer = w->QRPrinter();
        ASSERT_NE(printer, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Print Preview"));
        EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(w->ZoomToWidth->isChecked());
        EXPECT_FALSE(w->ZoomFit->isChecked());
        EXPECT_FALSE(w->Zoom100->isChecked());
        EXPECT_EQ(w->Panel(0)->text(), QStringLiteral("0%"));
        EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1"));
        EXPECT_TRUE(w->PrintSetup->isEnabled());
        EXPECT_TRUE(w->Print->isEnabled());
        EXPECT_EQ(printer->Status(), TQRPrinterStatus::Finished);
        EXPECT_EQ(printer->PageCount(), 1);
        EXPECT_TRUE(printer->ShowingPreview());
        EXPECT_EQ(w->QRPreview->ZoomState(), TQRZoomState::Width);
        EXPECT_EQ(w->QRPreview->Zoom(), z::WidthZoom(w->QRPreview->width(), 794));
        EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
        EXPECT_EQ(w->QRPreview->PreviewImage()->Picture().PixelSize(), QSize(794, 1123));
        EXPECT_EQ(form->Report1.Printing().CurrentPrinter(), printer);
        // The page with its bitmap outgrows the memory kept for it.
        ASSERT_NE(printer->PageList().Stream(), nullptr);
        EXPECT_FALSE(printer->PageList().Stream()->InMemory());
        tempFile = printer->PageList().Stream()->FileName();
        EXPECT_TRUE(QFileInfo(tempFile).fileName().startsWith(QStringLiteral("QRP")));
        EXPECT_TRUE(QFile::exists(tempFile));
      },
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        w->Zoom100->click();
        EXPECT_EQ(w->QRPreview->Zoom(), 100);
        EXPECT_EQ(w->QRPreview->ZoomState(), TQRZoomState::Fixed);
        EXPECT_FALSE(w->ZoomToWidth->isChecked());
        EXPECT_EQ(w->QRPreview->PreviewImage()->size(), QSize(798, 1127));
        w->ZoomFit->click();
        EXPECT_EQ(w->QRPreview->ZoomState(), TQRZoomState::Fit);
        EXPECT_EQ(w->QRPreview->Zoom(), z::FitZoom(w->QRPreview->size(), {794, 1123}));
        w->ZoomToWidth->click();
        EXPECT_EQ(w->QRPreview->ZoomState(), TQRZoomState::Width);
      },
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        // Every navigation key and button stays on the only page.
        for (auto [key, mods] : std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
                 {Qt::Key_PageDown, Qt::NoModifier},
                 {Qt::Key_PageUp, Qt::NoModifier},
                 {Qt::Key_PageDown, Qt::ControlModifier},
                 {Qt::Key_PageUp, Qt::ControlModifier},
                 {Qt::Key_Home, Qt::NoModifier},
                 {Qt::Key_End, Qt::NoModifier},
                 {Qt::Key_Right, Qt::NoModifier}}) {
          QTest::keyClick(w->QRPreview->viewport(), key, mods);
          EXPECT_EQ(w->QRPreview->PageNumber(), 1) << key;
          EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1")) << key;
          EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded()) << key;
        }
        for (QToolButton* b : {w->FirstPage, w->PreviousPage, w->ToolButton2, w->LastPage}) {
          b->click();
          EXPECT_EQ(w->QRPreview->PageNumber(), 1);
        }
        EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1"));
        EXPECT_EQ(w->Panel(0)->text(), QStringLiteral("0%"));
        EXPECT_TRUE(w->isVisible()) << "no key so far closes the window";
      },
      [&] { QTest::keyClick(PreviewWindows().front()->QRPreview->viewport(), Qt::Key_Escape); },
  });
  form->Report1.Preview();  // returns once the window has closed

  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_FALSE(tempFile.isEmpty());
  EXPECT_FALSE(QFile::exists(tempFile)) << "the page stream's temporary file is gone";
  EXPECT_EQ(form->Report1.Printing().CurrentPrinter(), nullptr);
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 0);
}

TEST_F(PreviewTest, PageImageIsWhitePaperWithOutlineAndShadow) {
  auto form = FormAfter();
  TQRPrinter printer;
  form->Report1.Generate(printer);
  TQRPreviewImage image;
  image.SetQRPrinter(&printer);
  const QSize size(409, 576);  // the page at 51 %
  image.resize(size);
  image.setAttribute(Qt::WA_NoSystemBackground);
  QImage empty(size, QImage::Format_RGB32);
  empty.fill(QColor(1, 2, 3));
  {
    QPainter p(&empty);
    image.PaintPage(p, size);
  }
  EXPECT_EQ(empty.pixel(100, 100), qRgb(1, 2, 3)) << "nothing is drawn without a picture";

  image.SetPageNumber(1);
  ASSERT_TRUE(image.PictureLoaded());
  QImage shot(size, QImage::Format_RGB32);
  shot.fill(QColor(1, 2, 3));
  {
    QPainter p(&shot);
    image.PaintPage(p, size);
  }
  const int w = size.width();
  const int h = size.height();
  const QRgb black = qRgb(0, 0, 0);
  const QRgb white = qRgb(255, 255, 255);
  EXPECT_EQ(shot.pixel(0, 0), black);
  EXPECT_EQ(shot.pixel(0, h / 2), black);
  EXPECT_EQ(shot.pixel(w / 2, 0), black);
  EXPECT_EQ(shot.pixel(w - 3, h / 2), black) << "outline on the right";
  EXPECT_EQ(shot.pixel(w / 2, h - 3), black) << "outline at the bottom";
  EXPECT_EQ(shot.pixel(w - 1, h / 2), black) << "shadow on the right";
  EXPECT_EQ(shot.pixel(w / 2, h - 1), black) << "shadow at the bottom";
  EXPECT_EQ(shot.pixel(w - 1, 0), qRgb(1, 2, 3)) << "the shadow starts two pixels down";
  EXPECT_EQ(shot.pixel(0, h - 1), qRgb(1, 2, 3)) << "and two pixels in";
  EXPECT_EQ(shot.pixel(5, h - 20), white) << "the paper is white";
  // Zoomed out, the drawing's one-pixel lines still show at every size: the spacing arrow's
  // line (x 548 of the drawing, 166.9 mm from the paper's left edge) leaves ink between the
  // elements.
  for (int width = 400; width <= 700; width += 9) {
    const QSize zoomed(width, width * 1127 / 798);
    QImage page(zoomed, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter p(&page);
      image.PaintPage(p, zoomed);
    }
    const int lineX = qRound(width * 166.9 / 210);
    int darkest = 255;
    for (int x = lineX - 4; x <= lineX + 4; ++x) {
      darkest = std::min(darkest, qGray(page.pixel(x, zoomed.height() * 2 / 5)));
    }
    EXPECT_LT(darkest, 200) << "page width " << width;
  }
  if (const char* keep = std::getenv("HB9CV_KEEP_PREVIEW_IMAGE"))
    shot.save(QString::fromLocal8Bit(keep));
}

TEST_F(PreviewTest, ClosingWhileAZoomButtonHandlesEventsKeepsTheWindowUntilItReturns) {
  auto form = FormAfter();
  QPointer<TQRStandardPreview> window;
  RunInLoop({[&] {
    window = PreviewWindows().front();
    const int zoom = window->QRPreview->Zoom();
    // The zoom buttons handle waiting events first; a close waiting among them wins.
    QTimer::singleShot(0, window, [&] { window->close(); });
    window->ZoomFit->click();
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->QRPreview->Zoom(), zoom) << "a closed window zooms no more";
  }});
  form->Report1.Preview();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 0);
}

TEST_F(PreviewTest, WindowLayoutToolbarAndStatusBar) {
  TQRStandardPreview w;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Print Preview"));
  EXPECT_EQ(w.size(), QSize(652, 579));
  QStringList names;
  for (QAction* a : w.ToolBar1->actions()) names << a->objectName();
  EXPECT_EQ(names, QStringList({"ToolButton1", "", "", "", "Separator1", "", "", "", "",
                                "Separator2", "", "", "Separator3", "", "", "Separator4", ""}));
  struct Expect {
    QToolButton* button;
    const char* name;
    const char* hint;
    int image;
    bool enabled;
  };
  const Expect buttons[] = {
      {w.ZoomFit, "ZoomFit", "Zoom to fit", 0, true},
      {w.Zoom100, "Zoom100", "100%", 1, true},
      {w.ZoomToWidth, "ZoomToWidth", "Zoom to width", 2, true},
      {w.FirstPage, "FirstPage", "First page", 3, true},
      {w.PreviousPage, "PreviousPage", "Previous page", 4, true},
      {w.ToolButton2, "ToolButton2", "Next page", 5, true},
      {w.LastPage, "LastPage", "Last page", 6, true},
      {w.PrintSetup, "PrintSetup", "Printer setup", 7, false},
      {w.Print, "Print", "Print", 8, false},
      {w.SaveReport, "SaveReport", "Save Report", 10, true},
      {w.LoadReport, "LoadReport", "Load Report", 9, true},
  };
  ASSERT_EQ(w.Images.size(), 11);
  for (const Expect& e : buttons) {
    EXPECT_EQ(e.button->objectName(), QString::fromLatin1(e.name));
    EXPECT_EQ(e.button->toolTip(), QString::fromLatin1(e.hint)) << e.name;
    EXPECT_EQ(e.button->isEnabled(), e.enabled) << e.name;
    EXPECT_EQ(e.button->icon().pixmap(16, 16).toImage(),
              w.Images.at(e.image).toImage().convertToFormat(
                  e.button->icon().pixmap(16, 16).toImage().format()))
        << e.name;
  }
  // Every picture differs from every other and has something on it.
  for (int i = 0; i < w.Images.size(); ++i) {
    EXPECT_FALSE(w.Images.at(i).isNull());
    for (int j = i + 1; j < w.Images.size(); ++j) {
      EXPECT_NE(w.Images.at(i).toImage(), w.Images.at(j).toImage()) << i << " " << j;
    }
  }
  EXPECT_EQ(w.ExitButton->text(), QStringLiteral("&Close"));
  EXPECT_EQ(w.ExitButton->size(), QSize(40, 22));
  EXPECT_EQ(w.StatusBar->height(), 19);
  EXPECT_EQ(w.Panel(0)->text(), QStringLiteral("0%"));
  EXPECT_EQ(w.Panel(0)->width(), 40);
  EXPECT_TRUE(w.Panel(0)->alignment() & Qt::AlignRight);
  EXPECT_EQ(w.Panel(1)->text(), QStringLiteral("Page"));

  // One toggle of the zoom group releases the others.
  EXPECT_TRUE(w.ZoomToWidth->isChecked());
  w.ZoomFit->click();
  EXPECT_TRUE(w.ZoomFit->isChecked());
  EXPECT_FALSE(w.ZoomToWidth->isChecked());
  w.Zoom100->click();
  EXPECT_FALSE(w.ZoomFit->isChecked());
  EXPECT_TRUE(w.Zoom100->isChecked());
}

TEST_F(PreviewTest, ProgressTextShowsEveryFifthPercentAndClearsAtTheEnds) {
  TQRStandardPreview w;
  struct Step {
    int percent;
    const char* shown;
  };
  const Step steps[] = {{3, "0%"},   {5, "5%"},   {7, "5%"}, {10, "10%"}, {12, "10%"},
                        {50, "50%"}, {52, "50%"}, {0, ""},   {56, "56%"}, {100, ""}};
  for (const Step& s : steps) {
    // As a posted notice to the control, which the window turns into its status text.
    PostNotice(w.QRPreview, QRNotice::Progress, s.percent);
    QCoreApplication::sendPostedEvents(w.QRPreview);
    EXPECT_EQ(w.Panel(0)->text(), QString::fromLatin1(s.shown)) << s.percent;
  }
}

TEST_F(PreviewTest, ProgressFormShowsFivesAndCancels) {
  TQRPrinter printer;
  TQRProgressForm form(&printer);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Printing progress"));
  EXPECT_EQ(form.size(), QSize(149, 97));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form.Gauge->geometry(), QRect(16, 18, 114, 16));
  EXPECT_EQ(form.Info->geometry(), QRect(0, 44, 145, 13));
  EXPECT_EQ(form.CancelButton->geometry(), QRect(36, 60, 75, 25));
  EXPECT_EQ(form.CancelButton->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(form.Gauge->value(), 0);
  EXPECT_TRUE(form.Info->text().isEmpty());

  PostNotice(&form, QRNotice::Progress, 12);
  QCoreApplication::sendPostedEvents(&form);
  EXPECT_EQ(form.Gauge->value(), 0);
  EXPECT_TRUE(form.Info->text().isEmpty());
  PostNotice(&form, QRNotice::Progress, 25);
  QCoreApplication::sendPostedEvents(&form);
  EXPECT_EQ(form.Gauge->value(), 25);
  EXPECT_EQ(form.Info->text(), QStringLiteral("25%  Completed"));

  EXPECT_FALSE(printer.Cancelled());
  form.CancelButton->click();
  EXPECT_TRUE(printer.Cancelled());
}

TEST_F(PreviewTest, SecondTiskOpensASecondWindowWithItsOwnPrinter) {
  auto form = FormAfter();
  TQRPrinter* first = nullptr;
  TQRPrinter* second = nullptr;
  bool innerReturned = false;
  RunInLoop({[&] {
    ASSERT_EQ(PreviewWindows().size(), 1u);
    first = PreviewWindows().front()->QRPrinter();
    RunInLoop({
                  [&] {
                    const auto windows = PreviewWindows();
                    ASSERT_EQ(windows.size(), 2u);
                    for (TQRStandardPreview* w : windows) {
                      if (w->QRPrinter() != first) second = w->QRPrinter();
                    }
                    ASSERT_NE(second, nullptr);
                    EXPECT_NE(second, first);
                    EXPECT_EQ(form->Report1.Printing().CurrentPrinter(), second);
                    EXPECT_EQ(form->Report1.Printing().PrinterCount(), 2);
                    EXPECT_EQ(second->PageCount(), 1);
                    // Closing the first window discards its printer only; both loops go on.
                    for (TQRStandardPreview* w : windows) {
                      if (w->QRPrinter() == first) w->close();
                    }
                  },
                  [&] {
                    ASSERT_EQ(PreviewWindows().size(), 1u);
                    EXPECT_EQ(PreviewWindows().front()->QRPrinter(), second);
                    EXPECT_EQ(form->Report1.Printing().PrinterCount(), 1);
                    EXPECT_EQ(second->Status(), TQRPrinterStatus::Finished);
                    PreviewWindows().front()->ExitButton->click();
                  },
              },
              2);
    form->Report1.Preview();
    innerReturned = true;
  }});
  form->Report1.Preview();
  EXPECT_TRUE(innerReturned);
  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 0);
}

TEST_F(PreviewTest, ClosingTheNewerWindowFirstLeavesTheOlderOneWorking) {
  auto form = FormAfter();
  RunInLoop({[&] {
    RunInLoop({[&] {
                ASSERT_EQ(PreviewWindows().size(), 2u);
                form->Report1.Printing().CurrentPrinter();
                for (TQRStandardPreview* w : PreviewWindows()) {
                  if (w->QRPrinter() == form->Report1.Printing().CurrentPrinter()) w->close();
                }
              }},
              2);
    form->Report1.Preview();
  }});
  // The report is left without a current printer, so both preview calls have returned; the
  // older window stays open and keeps its pages.
  form->Report1.Preview();
  const auto windows = PreviewWindows();
  ASSERT_EQ(windows.size(), 1u);
  TQRStandardPreview* w = windows.front();
  ASSERT_NE(w->QRPrinter(), nullptr);
  EXPECT_EQ(w->QRPrinter()->PageCount(), 1);
  EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 1);
  w->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 0);
}

class FilePreviewTest : public PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    printers = std::make_unique<PdfPrinters>(dir.path());
  }
  QTemporaryDir dir;
  std::unique_ptr<PdfPrinters> printers;
  ScriptedDialogs dialogs;
};

quint32 U32(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint32>(b.constData() + at);
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

TEST_F(FilePreviewTest, SaveLoadAndPrintTheStoredPage) {
  ScopedPrinters scoped(*printers);
  ScopedDialogs scopedDialogs(dialogs);
  SetReportErrorHandler(&RecordError);
  g_errors.clear();
  auto form = FormAfter();
  const QString saved = dir.filePath(QStringLiteral("antenna.QRP"));
  const QString garbage = dir.filePath(QStringLiteral("garbage.qrp"));
  {
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(300, 'x'));
  }
  Metafile shown;
  RunInLoop({
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        shown = w->QRPreview->PreviewImage()->Picture();
        dialogs.fileAnswers.push_back(FileChoice{saved, 0});
        w->SaveReport->click();
        EXPECT_EQ(dialogs.titles.value(0), QStringLiteral("Save report"));
        EXPECT_EQ(dialogs.filters.value(0), QStringLiteral("Report file(*.QRP)|*.QRP"));
        EXPECT_EQ(dialogs.extensions.value(0), QStringLiteral("QRP"));
        ASSERT_TRUE(QFile::exists(saved));
        QFile f(saved);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        ASSERT_GT(b.size(), 128 + 12);
        EXPECT_EQ(qFromLittleEndian<quint16>(b.constData()), 3);
        EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 2), 305);
        EXPECT_EQ(U32(b, 8), 1u) << "page count";
        EXPECT_EQ(b.at(25), 0) << "not compressed";
        EXPECT_EQ(U32(b, 128), 1u) << "page number of the first record";
        EXPECT_EQ(U32(b, 132), static_cast<quint32>(b.size())) << "next record offset";
        EXPECT_EQ(U32(b, b.size() - 4), 128u) << "the last record starts at 128";
        EXPECT_EQ(b.mid(136, b.size() - 140), shown.Bytes());
      },
      [&] {
        // A file name that does not exist: a plain notice, nothing else.
        TQRStandardPreview* w = PreviewWindows().front();
        dialogs.fileAnswers.push_back(FileChoice{dir.filePath(QStringLiteral("missing.QRP")), 0});
        w->LoadReport->click();
        EXPECT_EQ(dialogs.titles.value(1), QStringLiteral("Load report"));
        EXPECT_EQ(dialogs.filters.value(1), QStringLiteral("Report file (*.QRP)|*.QRP"));
        ASSERT_EQ(dialogs.notices.size(), 1u);
        EXPECT_EQ(dialogs.notices[0].first, QStringLiteral("HB9CV"));
        EXPECT_EQ(dialogs.notices[0].second, QStringLiteral("File does not exist"));
        EXPECT_TRUE(g_errors.empty());
        // A file that is no report file: the error box, and the pages stay.
        dialogs.fileAnswers.push_back(FileChoice{garbage, 0});
        w->LoadReport->click();
        ASSERT_EQ(g_errors.size(), 1u);
        EXPECT_TRUE(g_errors[0].contains(garbage)) << g_errors[0].toStdString();
        EXPECT_EQ(w->QRPrinter()->PageCount(), 1);
        EXPECT_FALSE(w->QRPrinter()->LoadedFromFile());
        EXPECT_EQ(w->QRPrinter()->GetPage(1), shown);
        EXPECT_TRUE(w->PrintSetup->isEnabled());
      },
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        dialogs.fileAnswers.push_back(FileChoice{saved, 0});
        w->LoadReport->click();
        TQRPrinter* p = w->QRPrinter();
        EXPECT_TRUE(p->LoadedFromFile());
        EXPECT_EQ(p->Status(), TQRPrinterStatus::Finished);
        EXPECT_EQ(p->PageCount(), 1);
        EXPECT_EQ(p->GetPage(1), shown);
        EXPECT_EQ(w->QRPreview->PreviewImage()->Picture(), shown);
        EXPECT_EQ(w->Panel(1)->text(), QStringLiteral("Page 1 of 1"));
        EXPECT_FALSE(w->PrintSetup->isEnabled());
        EXPECT_TRUE(w->Print->isEnabled());
        // The paper found from the picture: A4 (this printer has no "A4 Small").
        EXPECT_EQ(p->PrinterSettings().PaperSize(), TQRPaperSize::A4);
        EXPECT_EQ(p->PrinterSettings().Orientation(), TQROrientation::Portrait);
        const int before = printers->WrittenFiles().size();
        w->Print->click();  // prints the stored picture at once
        const QStringList written = printers->WrittenFiles();
        ASSERT_EQ(written.size(), before + 1);
        const PdfFacts info = PdfInfo(written.last());
        EXPECT_EQ(info.pages, 1);
        EXPECT_EQ(info.pageSize, QStringLiteral("595 x 842 pts (A4)"));
        const QString text = PdfText(written.last());
        EXPECT_TRUE(text.contains(QStringLiteral("951,7 mm"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Výpočet rozměrů antény typu HB9CV")));
        w->ExitButton->click();
      },
  });
  form->Report1.Preview();
  SetReportErrorHandler(nullptr);
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 0);
}

TEST_F(FilePreviewTest, SaveBeforeTheBuildHasFinishedWritesNothing) {
  TQRPrinter printer;
  const QString file = dir.filePath(QStringLiteral("early.QRP"));
  printer.Save(file);
  EXPECT_FALSE(QFile::exists(file));
  printer.BeginDoc();
  printer.NewPage();
  printer.Save(file);
  EXPECT_FALSE(QFile::exists(file));
  printer.EndDoc();
  printer.Save(file);
  EXPECT_TRUE(QFile::exists(file));
}

TEST_F(FilePreviewTest, PrinterSetupPassesItsChoicesToTheReport) {
  ScopedPrinters scoped(*printers);
  ScopedDialogs scopedDialogs(dialogs);
  auto form = FormAfter();
  RunInLoop({[&] {
    TQRStandardPreview* w = PreviewWindows().front();
    dialogs.setupAnswers.push_back(
        PrintSetupChoice{QStringLiteral("PDF file"), 2, QPageLayout::Portrait, true, 1, 1});
    w->PrintSetup->click();
    ASSERT_EQ(dialogs.setupRequests.size(), 1u);
    const PrintSetupRequest& r = dialogs.setupRequests[0];
    EXPECT_EQ(r.printerName, QStringLiteral("PDF file"));
    EXPECT_EQ(r.minPage, 1);
    EXPECT_EQ(r.maxPage, 1);
    EXPECT_EQ(r.fromPage, 1);
    EXPECT_EQ(r.toPage, 1);
    EXPECT_EQ(r.copies, 1);
    EXPECT_EQ(r.orientation, QPageLayout::Portrait);
    const TQRPrinterSettings& s = form->Report1.PrinterSettings;
    EXPECT_EQ(s.FirstPage, 1);
    EXPECT_EQ(s.LastPage, 1);
    EXPECT_EQ(s.Copies, 2);
    EXPECT_EQ(form->Report1.PrinterIndex(), 0);

    // Cancel changes nothing.
    w->PrintSetup->click();
    EXPECT_EQ(s.FirstPage, 1);
    EXPECT_EQ(s.Copies, 2);
    EXPECT_EQ(dialogs.setupRequests[1].copies, 2);

    dialogs.setupAnswers.push_back(
        PrintSetupChoice{QStringLiteral("PDF file"), 1, QPageLayout::Portrait, false, 1, 1});
    w->PrintSetup->click();
    EXPECT_EQ(s.FirstPage, 0);
    EXPECT_EQ(s.LastPage, 0);
    EXPECT_EQ(s.Copies, 1);
    w->close();
  }});
  form->Report1.Preview();
}

// Watches progress windows being shown.
class ProgressWatch : public QObject {
 public:
  ProgressWatch() { qApp->installEventFilter(this); }
  ~ProgressWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show) {
      if (auto* f = qobject_cast<TQRProgressForm*>(o)) {
        shown++;
        title = f->windowTitle();
        gauge = f->Gauge->value();
        info = f->Info->text();
      }
    }
    return false;
  }
  int shown = 0;
  QString title;
  int gauge = -1;
  QString info;
};

TEST_F(FilePreviewTest, PrintButtonRunsAPrintWithProgressWindow) {
  ScopedPrinters scoped(*printers);
  auto form = FormAfter();
  ProgressWatch watch;
  RunInLoop({
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        w->Print->click();
        // The request is queued: nothing has printed when the click returns.
        EXPECT_TRUE(printers->WrittenFiles().isEmpty());
        EXPECT_EQ(watch.shown, 0);
      },
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        EXPECT_EQ(watch.shown, 1);
        EXPECT_EQ(watch.title, QStringLiteral("Printing progress"));
        EXPECT_EQ(watch.gauge, 0);
        EXPECT_TRUE(watch.info.isEmpty());
        ASSERT_EQ(printers->WrittenFiles().size(), 1);
        // The preview is not changed by the print run.
        EXPECT_EQ(form->Report1.Printing().CurrentPrinter(), w->QRPrinter());
        EXPECT_EQ(form->Report1.Printing().PrinterCount(), 1);
        EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
        const QString text = PdfText(printers->WrittenFiles().first());
        EXPECT_TRUE(text.contains(QStringLiteral("951,7 mm"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Výpočet rozměrů antény typu HB9CV")));
        EXPECT_EQ(PdfInfo(printers->WrittenFiles().first()).pages, 1);
        w->close();
      },
  });
  form->Report1.Preview();
}

TEST_F(PreviewTest, WithoutAnyPrinterPrintingDoesNothingAndShowsNothing) {
  NoPrinters none;
  ScopedPrinters scoped(none);
  auto form = FormAfter();
  ProgressWatch watch;
  RunInLoop({
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        TQRPrinter* p = w->QRPrinter();
        EXPECT_FALSE(p->PrinterOK());
        // The preview still shows an A4 portrait page.
        EXPECT_EQ(p->PrinterSettings().PaperSize(), TQRPaperSize::A4);
        EXPECT_EQ(p->PageCount(), 1);
        EXPECT_EQ(w->QRPreview->PreviewImage()->Picture().PixelSize(), QSize(794, 1123));
        w->Print->click();
      },
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        EXPECT_EQ(watch.shown, 0);
        EXPECT_EQ(form->Report1.Printing().CurrentPrinter(), w->QRPrinter());
        EXPECT_EQ(form->Report1.Printing().PrinterCount(), 1);
        w->close();
      },
  });
  form->Report1.Preview();
}

TEST_F(FilePreviewTest, ClosingWhileStoredPagesPrintKeepsThePrinterUntilTheEnd) {
  ScopedPrinters scoped(*printers);
  ScopedDialogs scopedDialogs(dialogs);
  auto form = FormAfter();
  const QString saved = dir.filePath(QStringLiteral("stored.QRP"));
  RunInLoop({
      [&] {
        TQRStandardPreview* w = PreviewWindows().front();
        dialogs.fileAnswers.push_back(FileChoice{saved, 0});
        w->SaveReport->click();
        dialogs.fileAnswers.push_back(FileChoice{saved, 0});
        w->LoadReport->click();
        ASSERT_TRUE(w->QRPrinter()->LoadedFromFile());
        QPointer<TQRPrinter> printer = w->QRPrinter();
        QPointer<TQRStandardPreview> window = w;
        // The print handles waiting events before its page: the window closes right then.
        QTimer::singleShot(0, w, [w] { w->close(); });
        w->Print->click();
        EXPECT_FALSE(window.isNull()) << "the window lives until its click has returned";
        EXPECT_FALSE(printer.isNull()) << "the printer outlived the print";
        ASSERT_EQ(printers->WrittenFiles().size(), 1);
      },
  });
  form->Report1.Preview();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_EQ(form->Report1.Printing().PrinterCount(), 0);
  EXPECT_EQ(PdfInfo(printers->WrittenFiles().first()).pages, 1);
}

}  // namespace
}  // namespace hb9cv
