// The page list and the report file: layout, finding records both ways, saving and loading,
// and files that are damaged or hostile.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>

#include "calc/errors.h"
#include "emf_test_util.h"
#include "report/page_list.h"

namespace hb9cv {
namespace {

using emftest::EnsureApp;

qint32 I32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<qint32>(b.constData() + at); }

QByteArray SetI32(QByteArray b, qsizetype at, qint32 v) {
  qToLittleEndian<qint32>(v, b.data() + at);
  return b;
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A small page that tells its number.
Metafile NumberedPage(int n) {
  return emftest::RecordPage([n](Canvas& c) {
    c.SetFont(emftest::Arial(10));
    c.TextOut(100, 100, QStringLiteral("Page %1").arg(n));
    c.FillRect({100, 130, 100 + 10 * n, 140}, Qt::black);
  });
}

std::unique_ptr<TQRPageList> ListOf(int pages, qint64 memoryLimit = TQRStream::kMemoryLimit) {
  auto list = std::make_unique<TQRPageList>();
  list->SetStream(std::make_unique<TQRStream>(memoryLimit));
  for (int n = 1; n <= pages; ++n) list->AddPage(NumberedPage(n));
  list->Finish();
  return list;
}

class PageListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir_;
};

TEST_F(PageListTest, AOnePageReportFileHasTheDocumentedLayout) {
  auto form = emftest::FormAfter145MHz();
  const Metafile page = emftest::RecordReportPage(form->Report1);
  TQRPageList list;
  list.SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  list.AddPage(page);
  list.Finish();
  const QString path = Path("one.QRP");
  const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
  list.SaveToFile(path);
  const QByteArray file = ReadFile(path);
  const qint64 n = page.Size();
  ASSERT_EQ(file.size(), 128 + n + 12);
  EXPECT_EQ(qFromLittleEndian<quint16>(file.constData()), 3);
  EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 2), 305);
  EXPECT_EQ(I32(file, 8), 1);
  EXPECT_EQ(file[25], 0);
  const double when = qFromLittleEndian<double>(file.constData() + 16);
  const double expected = QDate(1899, 12, 30).daysTo(before.date()) + before.time().msecsSinceStartOfDay() / 864e5;
  EXPECT_NEAR(when, expected, 10.0 / 86400);
  EXPECT_EQ(I32(file, 128), 1);                     // page number
  EXPECT_EQ(I32(file, 132), file.size());           // next record: the end
  EXPECT_EQ(file.mid(136, n), page.Bytes());        // the picture as it is
  EXPECT_EQ(I32(file, file.size() - 4), 128);       // this record's start
}

TEST_F(PageListTest, LoadingGivesTheSamePagesAndIdenticalPixels) {
  auto form = emftest::FormAfter145MHz();
  const Metafile page = emftest::RecordReportPage(form->Report1);
  auto list = std::make_unique<TQRPageList>();
  list->SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  list->AddPage(page);
  list->Finish();
  const QString path = Path("page.QRP");
  list->SaveToFile(path);
  auto loaded = TQRPageList::LoadFromFile(path);
  EXPECT_EQ(loaded->PageCount(), 1);
  EXPECT_TRUE(loaded->Stream()->ReadOnly());
  const Metafile again = loaded->GetPage(1);
  EXPECT_EQ(again, page);
  const QImage before = RenderPage(list->GetPage(1), page.PixelSize());
  const QImage after = RenderPage(again, again.PixelSize());
  ASSERT_FALSE(after.isNull());
  EXPECT_EQ(before, after);
  // Saving a loaded report again, even onto its own file, writes the same bytes.
  loaded->SaveToFile(path);
  EXPECT_EQ(ReadFile(path).size(), 128 + page.Size() + 12);
  EXPECT_EQ(TQRPageList::LoadFromFile(path)->GetPage(1), page);
}

TEST_F(PageListTest, ABuildPastTheMemoryLimitMovesToATemporaryFileThatGoesWithTheList) {
  auto form = emftest::FormAfter145MHz();
  const Metafile page = emftest::RecordReportPage(form->Report1);
  ASSERT_GT(page.Size(), 100000);
  auto list = std::make_unique<TQRPageList>();
  list->SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  list->AddPage(page);
  const QString name = list->Stream()->FileName();
  EXPECT_FALSE(list->Stream()->InMemory());
  EXPECT_TRUE(QFileInfo(name).fileName().startsWith(QStringLiteral("QRP")));
  EXPECT_TRUE(QFile::exists(name));
  list->Finish();
  EXPECT_EQ(list->GetPage(1), page);
  list.reset();
  EXPECT_FALSE(QFile::exists(name));
  // Reset forgets the stream too.
  TQRPageList other;
  other.SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  other.AddPage(page);
  const QString second = other.Stream()->FileName();
  other.Reset();
  EXPECT_EQ(other.PageCount(), 0);
  EXPECT_FALSE(QFile::exists(second));
}

TEST_F(PageListTest, TheHeaderSaysOnePageUntilTheBuildFinishes) {
  TQRPageList list;
  list.SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  for (int n = 1; n <= 3; ++n) list.AddPage(NumberedPage(n));
  char header[12];
  list.Stream()->Seek(0);
  list.Stream()->Read(header, 12);
  EXPECT_EQ(qFromLittleEndian<qint32>(header + 8), 1);
  list.Finish();
  list.Stream()->Seek(0);
  list.Stream()->Read(header, 12);
  EXPECT_EQ(qFromLittleEndian<qint32>(header + 8), 3);
  EXPECT_EQ(list.PageCount(), 3);
}

TEST_F(PageListTest, FindsEveryPageInAnyOrder) {
  auto list = ListOf(9);
  std::vector<Metafile> pages;
  for (int n = 1; n <= 9; ++n) pages.push_back(NumberedPage(n));
  const std::vector<std::vector<int>> orders = {
      {1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}, {5, 2, 8, 3, 3, 7, 1, 9, 4, 6},
      {2, 8, 2, 8}, {9, 2, 1, 8}};
  for (const auto& order : orders) {
    for (int n : order) {
      const Metafile got = list->GetPage(n);
      EXPECT_EQ(got, pages[std::size_t(n - 1)]) << n;
    }
  }
  // After a page was added the search starts from the end of the stream.
  list->AddPage(NumberedPage(10));
  EXPECT_EQ(list->GetPage(5), pages[4]);
  EXPECT_TRUE(list->GetPage(0).IsNull());
  EXPECT_TRUE(list->GetPage(11).IsNull());
  EXPECT_TRUE(list->GetPage(-3).IsNull());
}

TEST_F(PageListTest, SteppingReadsTheSameSmallAmountAnywhereInTheList) {
  auto list = ListOf(60);
  TQRStream& s = *list->Stream();
  std::vector<qint64> forward, backward;
  list->GetPage(2);
  for (int n = 3; n < 59; ++n) {
    const qint64 before = s.ReadCount();
    ASSERT_FALSE(list->GetPage(n).IsNull());
    forward.push_back(s.ReadCount() - before);
  }
  for (int n = 57; n > 2; --n) {
    const qint64 before = s.ReadCount();
    ASSERT_FALSE(list->GetPage(n).IsNull());
    backward.push_back(s.ReadCount() - before);
  }
  for (qint64 r : forward) EXPECT_EQ(r, forward.front());
  for (qint64 r : backward) EXPECT_EQ(r, backward.front());
  EXPECT_LE(forward.front(), 3);   // the record header, then the picture
  EXPECT_LE(backward.front(), 7);  // two headers and the offsets before them, then the picture
  // First and last are reached at once from anywhere.
  list->GetPage(30);
  qint64 before = s.ReadCount();
  list->GetPage(60);
  EXPECT_LE(s.ReadCount() - before, 3);
  before = s.ReadCount();
  list->GetPage(1);
  EXPECT_LE(s.ReadCount() - before, 2);
}

TEST_F(PageListTest, AnEmptyReportSavesAndLoads) {
  TQRPageList list;
  list.SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  list.Finish();
  list.SaveToFile(Path("empty.QRP"));
  EXPECT_EQ(ReadFile(Path("empty.QRP")).size(), 128);
  EXPECT_EQ(TQRPageList::LoadFromFile(Path("empty.QRP"))->PageCount(), 0);
  TQRPageList never;  // no build ever attached a stream
  never.SaveToFile(Path("never.QRP"));
  EXPECT_EQ(TQRPageList::LoadFromFile(Path("never.QRP"))->PageCount(), 0);
}

TEST_F(PageListTest, ALoadedReportIsReadOnly) {
  ListOf(2)->SaveToFile(Path("two.QRP"));
  auto loaded = TQRPageList::LoadFromFile(Path("two.QRP"));
  EXPECT_THROW(loaded->AddPage(NumberedPage(3)), EQRError);
  EXPECT_EQ(loaded->PageCount(), 2);
  EXPECT_EQ(loaded->GetPage(2), NumberedPage(2));
  EXPECT_EQ(ReadFile(Path("two.QRP")).size(), loaded->Stream()->Size());
}

TEST_F(PageListTest, AFileChangedAfterLoadingGivesNoPageInsteadOfACrash) {
  ListOf(3)->SaveToFile(Path("three.QRP"));
  auto loaded = TQRPageList::LoadFromFile(Path("three.QRP"));
  const QByteArray good = ReadFile(Path("three.QRP"));
  // Another program cuts the file short, then scribbles over the middle record.
  QFile::resize(Path("three.QRP"), good.size() / 2);
  EXPECT_TRUE(loaded->GetPage(3).IsNull());
  EXPECT_FALSE(loaded->GetPage(1).IsNull());
  QByteArray bad = good;
  const qint64 second = I32(good, 132);
  bad = SetI32(bad, qsizetype(second), 3);  // page number 3 where 2 should be
  WriteFile(Path("three.QRP"), bad);
  EXPECT_TRUE(loaded->GetPage(2).IsNull());

  // Offsets rewritten into a cycle: the search gives up instead of going round.
  ListOf(5)->SaveToFile(Path("five.QRP"));
  auto five = TQRPageList::LoadFromFile(Path("five.QRP"));
  QByteArray cyclic = ReadFile(Path("five.QRP"));
  const qint64 r2 = I32(cyclic, 132);
  const qint64 r3 = I32(cyclic, qsizetype(r2 + 4));
  cyclic = SetI32(cyclic, qsizetype(r2 + 4), 128);             // record 2 points back to record 1
  cyclic = SetI32(cyclic, qsizetype(r3 - 4), qint32(r3));       // record 3 points back to itself
  WriteFile(Path("five.QRP"), cyclic);
  EXPECT_FALSE(five->GetPage(1).IsNull());
  EXPECT_TRUE(five->GetPage(4).IsNull());
  EXPECT_FALSE(five->GetPage(5).IsNull());
  EXPECT_TRUE(five->GetPage(2).IsNull());
}

// ---------------------------------------------------------------------------------------------
// Damaged and hostile files

struct Damage {
  const char* name;
  std::function<QByteArray(QByteArray)> apply;
  const char* message = "Invalid report file %1";
};

TEST_F(PageListTest, DamagedFilesAreRefusedWithAClearErrorAndTheCallerKeepsItsPages) {
  ListOf(3)->SaveToFile(Path("good.QRP"));
  const QByteArray good = ReadFile(Path("good.QRP"));
  const qint32 r2 = I32(good, 132);
  const qint32 r3 = I32(good, r2 + 4);
  const Damage cases[] = {
      {"empty", [](QByteArray) { return QByteArray(); }},
      {"shorter than the header", [](QByteArray b) { return b.left(100); }},
      {"wrong magic", [](QByteArray b) { b[0] = 4; return b; }},
      {"wrong version", [](QByteArray b) { b[2] = 0; return b; }},
      {"negative page count", [](QByteArray b) { return SetI32(b, 8, -1); }},
      {"more pages than records", [](QByteArray b) { return SetI32(b, 8, 4); }},
      {"fewer pages than records", [](QByteArray b) { return SetI32(b, 8, 2); }},
      {"huge page count", [](QByteArray b) { return SetI32(b, 8, 0x7FFFFFFF); }},
      {"compressed", [](QByteArray b) { b[25] = 1; return b; }, "Compressed report file %1 is not supported"},
      {"unknown flag", [](QByteArray b) { b[25] = 7; return b; }},
      {"page number out of order", [r2](QByteArray b) { return SetI32(b, r2, 3); }},
      {"next offset past the end", [](QByteArray b) { return SetI32(b, 132, 0x7FFFFFF0); }},
      {"next offset off a record boundary", [r2](QByteArray b) { return SetI32(b, 132, r2 + 4); }},
      {"next offset pointing back (a cycle)", [r2](QByteArray b) { return SetI32(b, r2 + 4, 128); }},
      {"negative next offset", [](QByteArray b) { return SetI32(b, 132, -8); }},
      {"record offset wrong", [r2](QByteArray b) { return SetI32(b, r2 - 4, 0); }},
      {"last record offset wrong", [r3](QByteArray b) { return SetI32(b, b.size() - 4, r3 + 4); }},
      {"picture signature", [](QByteArray b) { return SetI32(b, 136 + 40, 0); }},
      {"picture not starting with its header", [](QByteArray b) { return SetI32(b, 136, 14); }},
      {"picture size past its record", [](QByteArray b) { return SetI32(b, 136 + 48, I32(b, 136 + 48) + 4); }},
      {"picture size below a header", [](QByteArray b) { return SetI32(b, 136 + 48, 40); }},
      {"cut inside the last record", [](QByteArray b) { return b.left(b.size() - 30); }},
      {"cut inside a record head", [r2](QByteArray b) { return b.left(r2 + 6); }},
      {"bytes after the last record", [](QByteArray b) { return b + QByteArray(16, '\0'); }},
  };
  auto keep = ListOf(2);  // the pages a preview shows while the user loads
  for (const Damage& d : cases) {
    SCOPED_TRACE(d.name);
    const QString path = Path("bad.QRP");
    WriteFile(path, d.apply(good));
    try {
      TQRPageList::LoadFromFile(path);
      ADD_FAILURE() << "loaded";
    } catch (const EQRError& e) {
      EXPECT_EQ(QString::fromStdString(e.Message()), QString::fromLatin1(d.message).arg(path));
    }
  }
  EXPECT_EQ(keep->PageCount(), 2);
  EXPECT_EQ(keep->GetPage(2), NumberedPage(2));
}

TEST_F(PageListTest, AMissingFileCannotBeOpened) {
  const QString path = Path("missing.QRP");
  try {
    TQRPageList::LoadFromFile(path);
    ADD_FAILURE();
  } catch (const EQRError& e) {
    EXPECT_EQ(QString::fromStdString(e.Message()), QStringLiteral("Cannot open file ") + path);
  }
}

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(PageListTest, SavingCopiesTheStreamByteForByte) {
  auto list = ListOf(4);
  list->SaveToFile(Path("four.QRP"));
  TQRStream& s = *list->Stream();
  QByteArray all(s.Size(), '\0');
  s.Seek(0);
  s.Read(all.data(), all.size());
  EXPECT_EQ(ReadFile(Path("four.QRP")), all);
  // Replacing an existing file.
  ListOf(1)->SaveToFile(Path("four.QRP"));
  EXPECT_EQ(TQRPageList::LoadFromFile(Path("four.QRP"))->PageCount(), 1);
}

TEST_F(PageListTest, AFileThatCannotBeCreatedRaisesTheFileError) {
  const QString path = Path("no-such-dir/x.QRP");
  try {
    ListOf(1)->SaveToFile(path);
    ADD_FAILURE();
  } catch (const EQRError& e) {
    EXPECT_EQ(QString::fromStdString(e.Message()), QStringLiteral("Cannot create file ") + path);
  }
}

TEST_F(PageListTest, ASaveThatFailsHalfWayLeavesTheOldFileIntact) {
  auto form = emftest::FormAfter145MHz();
  const Metafile page = emftest::RecordReportPage(form->Report1);
  TQRPageList big;
  big.SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  big.AddPage(page);
  big.Finish();
  const QString path = Path("old.QRP");
  ListOf(1)->SaveToFile(path);
  const QByteArray old = ReadFile(path);
  ASSERT_LT(old.size(), 60000);
  // A file size limit makes writes past 60000 bytes fail, as a full disk would.
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 60000;
  setrlimit(RLIMIT_FSIZE, &limited);
  std::string message;
  try {
    big.SaveToFile(path);
  } catch (const EQRError& e) {
    message = e.Message();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_EQ(QString::fromStdString(message), QStringLiteral("Cannot create file ") + path);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.QRP")});
}

}  // namespace
}  // namespace hb9cv
