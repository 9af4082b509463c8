// The page stream: memory with a limit, the one move to a temporary file, read-only report files.
#include "report/store/qr_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "report/store/qr_error.h"
#include "tests/report/report_test_util.h"

namespace hb9cv {
namespace {

QByteArray Bytes(int n, int seed = 0) {
  QByteArray b(n, '\0');
  for (int i = 0; i < n; ++i) b[i] = char((i * 7 + seed) & 0xFF);
  return b;
}

QByteArray ReadAll(TQRStream& s) {
  s.Seek(0);
  QByteArray b(s.Size(), '\0');
  EXPECT_EQ(s.Read(b.data(), b.size()), b.size());
  return b;
}

TEST(QRStreamTest, MovesOnceToAPrivateTemporaryFileBeyondItsLimitAndDeletesIt) {
  QTemporaryDir dir;
  test::ScopedTmpdir tmpdir(dir.path());
  {
    TQRStream s(100);
    s.Write(Bytes(90));
    s.Seek(95);
    s.Write("12345", 5);
    EXPECT_TRUE(s.InMemory()) << "exactly at the limit stays in memory";
    EXPECT_EQ(ReadAll(s), Bytes(90) + QByteArray(5, '\0') + "12345");
    char b[4];
    s.Seek(98);
    EXPECT_EQ(s.Read(b, 4), 2);  // only two left
    s.Seek(50);
    s.Write(Bytes(60, 3));  // ends at 110: past the limit
    EXPECT_FALSE(s.InMemory());
    // Seen from outside: one file in the temporary directory, for this user only.
    const QStringList files = test::OpenFilesIn(dir.path());
    ASSERT_EQ(files.size(), 1);
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(files[0]).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Content and position survive the move; later writes, also past the end, go to the file.
    EXPECT_EQ(s.Position(), 110);
    s.Seek(112);
    s.Write("tail", 4);
    EXPECT_EQ(ReadAll(s), Bytes(50) + Bytes(60, 3) + QByteArray(2, '\0') + "tail");
    ASSERT_EQ(stat(QFile::encodeName(files[0]).constData(), &st), 0);
    EXPECT_EQ(st.st_size, 116);
    EXPECT_TRUE(s.Truncate(60));
    EXPECT_EQ(s.Size(), 60);
    EXPECT_FALSE(s.InMemory()) << "never back to memory";
  }
  EXPECT_EQ(test::OpenFilesIn(dir.path()), QStringList());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(QRStreamTest, ATemporaryFileThatCannotBeCreatedRaisesTheFileError) {
  QTemporaryDir dir;  // a temporary directory that is a plain file
  const QString notADirectory = dir.filePath(QStringLiteral("file"));
  QFile(notADirectory).open(QIODevice::WriteOnly);
  test::ScopedTmpdir tmpdir(notADirectory);
  TQRStream s(10);
  try {
    s.Write(Bytes(20));
    ADD_FAILURE() << "no error";
  } catch (const EQRError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file " + notADirectory.toStdString() + "/QRP", 0),
              0u)
        << e.Message();
  }
}

}  // namespace
}  // namespace hb9cv
