// The page list and the report file: layout, finding records both ways, saving and loading,
// and files that are damaged or changed behind our back.
#include "report/store/page_list.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "report/store/qr_error.h"
#include "tests/report/emf_test_util.h"

namespace hb9cv {
namespace {

qint32 I32(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<qint32>(b.constData() + at);
}

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

// The message of the report error `action` raises, or "" when it raises none.
QString ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EQRError& e) {
    return QString::fromStdString(e.Message());
  }
  return QString();
}

// A small page that tells its number.
Metafile NumberedPage(int n) {
  return emftest::RecordPage([n](Canvas& c) {
    c.SetFont({});
    c.TextOut(100, 100, QStringLiteral("Page %1").arg(n));
    c.FillRect({100, 130, 100 + 10 * n, 140}, Qt::black);
  });
}

std::unique_ptr<TQRPageList> ListOf(const std::vector<Metafile>& pages, bool finish = true) {
  auto list = std::make_unique<TQRPageList>();
  list->SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  for (const Metafile& page : pages) list->AddPage(page);
  if (finish) list->Finish();
  return list;
}

std::unique_ptr<TQRPageList> ListOf(int pages) {
  std::vector<Metafile> numbered;
  for (int n = 1; n <= pages; ++n) numbered.push_back(NumberedPage(n));
  return ListOf(numbered);
}

class PageListTest : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir_;
};

TEST_F(PageListTest, AOnePageReportFileRoundTripsToIdenticalPixels) {
  const Metafile page = emftest::Page145();
  ASSERT_GT(page.Size(), TQRStream::kMemoryLimit);
  test::ScopedTmpdir tmpdir(dir_.path());
  auto list = ListOf({page}, false);
  // The build has outgrown memory: a temporary file that goes with the list.
  EXPECT_EQ(test::OpenFilesIn(dir_.path()).size(), 1);
  list->Finish();

  const QString path = Path("one.QRP");
  const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
  list->SaveToFile(path);
  const QByteArray file = ReadFile(path);
  ASSERT_EQ(file.size(), 128 + page.Size() + 12);
  // Magic 3, version 305, one page, not compressed.
  EXPECT_EQ(std::tuple(I32(file, 0), I32(file, 8), file[25]), std::tuple(3 | 305 << 16, 1, 0));
  const double days =
      QDate(1899, 12, 30).daysTo(before.date()) + before.time().msecsSinceStartOfDay() / 864e5;
  EXPECT_NEAR(qFromLittleEndian<double>(file.constData() + 16), days, 10.0 / 86400);
  // Page number, next record (the end), the picture, this record's start.
  EXPECT_EQ(std::tuple(I32(file, 128), I32(file, 132), file.mid(136, page.Size()),
                       I32(file, file.size() - 4)),
            std::tuple(1, file.size(), page.Bytes(), 128));

  const QImage built = RenderPage(list->GetPage(1), page.PixelSize());
  list.reset();
  EXPECT_EQ(test::OpenFilesIn(dir_.path()), QStringList());
  auto loaded = TQRPageList::LoadFromFile(path);
  EXPECT_EQ(loaded->PageCount(), 1);
  EXPECT_EQ(loaded->GetPage(1), page);
  EXPECT_EQ(RenderPage(loaded->GetPage(1), page.PixelSize()), built);
  EXPECT_TRUE(loaded->Stream()->ReadOnly());
  EXPECT_FALSE(ErrorOf([&] { loaded->AddPage(page); }).isEmpty());
  loaded->SaveToFile(path);  // onto its own file
  EXPECT_EQ(ReadFile(path), file);
}

TEST_F(PageListTest, EmptyReportsAndResetLists) {
  ListOf(0)->SaveToFile(Path("empty.QRP"));
  EXPECT_EQ(ReadFile(Path("empty.QRP")).size(), 128);
  EXPECT_EQ(TQRPageList::LoadFromFile(Path("empty.QRP"))->PageCount(), 0);
  TQRPageList never;  // no build ever attached a stream
  never.SaveToFile(Path("never.QRP"));
  EXPECT_EQ(TQRPageList::LoadFromFile(Path("never.QRP"))->PageCount(), 0);
  test::ScopedTmpdir tmpdir(dir_.path());
  auto reset = ListOf({emftest::Page145()});
  EXPECT_EQ(test::OpenFilesIn(dir_.path()).size(), 1);
  reset->Reset();
  EXPECT_EQ(reset->PageCount(), 0);
  EXPECT_EQ(test::OpenFilesIn(dir_.path()), QStringList()) << "the temporary file went";
}

TEST_F(PageListTest, FindsEveryPageInAnyOrderSteppingWithFewReads) {
  auto list = ListOf(60);
  for (int n : {5, 2, 8, 3, 3, 7, 1, 60, 4, 6, 2, 58, 2, 58})
    EXPECT_EQ(list->GetPage(n), NumberedPage(n)) << n;
  for (int n : {0, 61, -3}) EXPECT_TRUE(list->GetPage(n).IsNull()) << n;
  // Stepping either way reads one or two record heads, wherever it is in the list; the first
  // and the last page are reached at once.
  TQRStream& s = *list->Stream();
  auto reads = [&](int n) {
    const qint64 before = s.ReadCount();
    EXPECT_EQ(list->GetPage(n), NumberedPage(n)) << n;
    return s.ReadCount() - before;
  };
  list->GetPage(2);
  for (int n = 3; n < 59; ++n) EXPECT_LE(reads(n), 3) << n;  // the head, then the picture
  for (int n = 57; n > 2; --n) EXPECT_LE(reads(n), 7) << n;  // two heads and offsets
  list->GetPage(30);
  EXPECT_LE(reads(60), 3);
  EXPECT_LE(reads(1), 2);
  // After another page the search starts from the end of the stream.
  list->AddPage(NumberedPage(61));
  EXPECT_EQ(list->GetPage(5), NumberedPage(5));
}

TEST_F(PageListTest, AFileChangedAfterLoadingGivesNoPageInsteadOfACrash) {
  ListOf(5)->SaveToFile(Path("five.QRP"));
  auto loaded = TQRPageList::LoadFromFile(Path("five.QRP"));
  const QByteArray good = ReadFile(Path("five.QRP"));
  const qint32 r2 = I32(good, 132), r3 = I32(good, r2 + 4);
  // Another program rewrites the offsets into cycles: record 2 points back to record 1, record 3
  // back to itself. The search gives up instead of going round (braces keep the calls in order).
  WriteFile(Path("five.QRP"), SetI32(SetI32(good, r2 + 4, 128), r3 - 4, r3));
  const auto found = [&](int n) { return !loaded->GetPage(n).IsNull(); };
  EXPECT_EQ((std::tuple{found(1), found(4), found(5), found(2)}),
            std::tuple(true, false, true, false));
  WriteFile(Path("five.QRP"), SetI32(good, r2, 3));  // page number 3 where 2 should be
  EXPECT_FALSE(found(2));
  QFile::resize(Path("five.QRP"), good.size() / 2);  // then cut short
  EXPECT_EQ((std::pair{found(5), found(1)}), std::pair(false, true));
}

TEST_F(PageListTest, DamagedFilesAreRefusedWithAClearErrorAndTheCallerKeepsItsPages) {
  ListOf(3)->SaveToFile(Path("good.QRP"));
  const QByteArray good = ReadFile(Path("good.QRP"));
  const qint32 r2 = I32(good, 132), r3 = I32(good, r2 + 4);
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", QByteArray()},
      {"shorter than the header", good.left(100)},
      {"wrong magic", SetI32(good, 0, 4 | 305 << 16)},
      {"wrong version", SetI32(good, 0, 3)},
      {"negative page count", SetI32(good, 8, -1)},
      {"more pages than records", SetI32(good, 8, 4)},
      {"fewer pages than records", SetI32(good, 8, 2)},
      {"huge page count", SetI32(good, 8, 0x7FFFFFFF)},
      {"unknown flag", SetI32(good, 24, 7 << 8)},
      {"page number out of order", SetI32(good, r2, 3)},
      {"next offset past the end", SetI32(good, 132, 0x7FFFFFF0)},
      {"next offset off a record boundary", SetI32(good, 132, r2 + 4)},
      {"next offset pointing back (a cycle)", SetI32(good, r2 + 4, 128)},
      {"record offset wrong", SetI32(good, r2 - 4, 0)},
      {"last record offset wrong", SetI32(good, good.size() - 4, r3 + 4)},
      {"picture signature", SetI32(good, 136 + 40, 0)},
      {"picture size past its record", SetI32(good, 136 + 48, I32(good, 136 + 48) + 4)},
      {"picture's second record running past it", SetI32(good, 140 + I32(good, 140), 0x10000)},
      {"cut inside the last record", good.left(good.size() - 30)},
      {"bytes after the last record", good + QByteArray(16, '\0')},
  };
  auto keep = ListOf(2);  // the pages a preview shows while the user loads
  const QString path = Path("bad.QRP");
  auto load = [&](const QByteArray& bytes) {
    WriteFile(path, bytes);
    return ErrorOf([&] { TQRPageList::LoadFromFile(path); });
  };
  for (const auto& [name, bytes] : cases)
    EXPECT_EQ(load(bytes), QStringLiteral("Invalid report file ") + path) << name;
  EXPECT_EQ(load(SetI32(good, 24, 1 << 8)),
            QStringLiteral("Compressed report file %1 is not supported").arg(path));
  EXPECT_EQ(ErrorOf([&] { TQRPageList::LoadFromFile(Path("missing.QRP")); }),
            QStringLiteral("Cannot open file ") + Path("missing.QRP"));
  EXPECT_EQ(keep->PageCount(), 2);
  EXPECT_EQ(keep->GetPage(2), NumberedPage(2));
}

TEST_F(PageListTest, ASaveThatFailsLeavesTheOldFileIntact) {
  const QString path = Path("old.QRP");
  EXPECT_EQ(ErrorOf([&] { ListOf(1)->SaveToFile(Path("no-such-dir/x.QRP")); }),
            QStringLiteral("Cannot create file ") + Path("no-such-dir/x.QRP"));
  ListOf(1)->SaveToFile(path);
  const QByteArray old = ReadFile(path);
  ASSERT_LT(old.size(), 60000);
  auto big = ListOf({emftest::Page145()});
  // A file size limit makes writes past 60000 bytes fail half-way, as a full disk would.
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{60000, saved.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limited);
  const QString message = ErrorOf([&] { big->SaveToFile(path); });
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(message, QStringLiteral("Cannot create file ") + path);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.QRP")});
}

}  // namespace
}  // namespace hb9cv
