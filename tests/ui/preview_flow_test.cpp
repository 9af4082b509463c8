// "&Tisk" from the main window: the preview opens inside the command, the main window keeps
// computing while it is open, a second preview shows the new values, and errors of the
// preview's file commands reach the program's error box.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../report/preview_test_util.h"
#include "report/preview/report_printing.h"
#include "test_application.h"
#include "ui/label.h"
#include "ui/main_form.h"

namespace hb9cv {
namespace {

using namespace pvtest;

// Whether a page picture draws `text` (the recorder writes texts as UTF-16).
bool PageShows(const Metafile& page, const QString& text) {
  return page.Bytes().contains(
      QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
}

class PreviewFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(',');
    ASSERT_TRUE(dir.isValid());
    form1.SetReport(&printForm);
    form1.show();
    form1.SetFieldText("0145,000");
    form1.Potej1->trigger();
  }
  void TearDown() override {
    for (TQRStandardPreview* w : PreviewWindows()) w->close();
    QTest::qWait(0);
  }

  QTemporaryDir dir;
  PdfPrinters printers{dir.path()};
  ScopedPrinters scoped{printers};
  TForm1 form1;
  TPrintForm printForm;
};

TEST_F(PreviewFlowTest, MainWindowComputesWhileAPreviewIsOpen) {
  bool innerChecked = false;
  TQRPrinter* newest = nullptr;
  RunInLoop({[&] {
    ASSERT_EQ(PreviewWindows().size(), 1u);
    const Metafile first = PreviewWindows().front()->QRPreview->PreviewImage()->Picture();
    EXPECT_TRUE(PageShows(first, "951,7 mm"));
    EXPECT_TRUE(PageShows(first, "145 MHz"));
    form1.SetFieldText("0435,000");
    form1.Potej1->trigger();
    EXPECT_EQ(form1.Label_Z->Caption(), QStringLiteral("317,2 mm"));
    RunInLoop({[&] {
                 const auto both = PreviewWindows();
                 ASSERT_EQ(both.size(), 2u);
                 newest = Printing(printForm.Report1).CurrentPrinter();
                 for (TQRStandardPreview* w : both) {
                   const Metafile page = w->QRPreview->PreviewImage()->Picture();
                   const bool isNew = w->QRPrinter() == newest;
                   EXPECT_EQ(PageShows(page, "435 MHz"), isNew);
                   EXPECT_EQ(PageShows(page, "145 MHz"), !isNew)
                       << "the first preview keeps its page";
                   if (!isNew) w->close();
                 }
               },
               [&] {  // the newer window goes on with its own printer
                 ASSERT_EQ(PreviewWindows().size(), 1u);
                 EXPECT_EQ(PreviewWindows().front()->QRPrinter(), newest);
                 EXPECT_EQ(Printing(printForm.Report1).PrinterCount(), 1);
                 innerChecked = true;
                 PreviewWindows().front()->close();
               }},
              2);
    form1.Tisk1->trigger();  // a second "&Tisk" from inside the first preview
  }});
  form1.Tisk1->trigger();
  EXPECT_TRUE(innerChecked);
  EXPECT_TRUE(PreviewWindows().empty());
  EXPECT_EQ(Printing(printForm.Report1).PrinterCount(), 0);
  EXPECT_TRUE(form1.isVisible());
}

TEST_F(PreviewFlowTest, FileErrorsOfThePreviewReachTheErrorBox) {
  BoxWatch box;
  ScriptedDialogs dialogs;
  ScopedDialogs scopedDialogs(dialogs);
  const QString garbage = dir.filePath("broken.QRP");
  {
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(500, '\x03'));
  }
  const QString unwritable = dir.filePath("no/such/folder/report.QRP");
  RunInLoop({[&] {
    TQRStandardPreview* w = PreviewWindows().front();
    dialogs.fileAnswers.push_back(FileChoice{garbage, 0});
    w->LoadReport->click();
    dialogs.fileAnswers.push_back(FileChoice{unwritable, 0});
    w->SaveReport->click();
    ASSERT_EQ(box.texts.size(), 2);
    EXPECT_EQ(box.titles, QStringList(2, "HB9CV"));
    EXPECT_TRUE(box.texts[0].contains(garbage) && box.texts[0].endsWith('.'))
        << box.texts[0].toStdString();
    EXPECT_EQ(box.texts[1], QStringLiteral("Cannot create file %1.").arg(unwritable));
    EXPECT_FALSE(w->QRPrinter()->LoadedFromFile());  // the window keeps its pages
    EXPECT_TRUE(w->QRPreview->PreviewImage()->PictureLoaded());
    w->close();
  }});
  form1.Tisk1->trigger();
}

}  // namespace
}  // namespace hb9cv
