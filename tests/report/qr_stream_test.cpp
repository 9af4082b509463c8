// The page stream: memory with a limit, the one move to a temporary file, read-only report files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "calc/errors.h"
#include "report/qr_stream.h"

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

TEST(QRStreamTest, MemoryStreamReadsWritesAndSeeks) {
  TQRStream s(1000);
  EXPECT_TRUE(s.InMemory());
  EXPECT_FALSE(s.ReadOnly());
  EXPECT_TRUE(s.FileName().isEmpty());
  s.Write(Bytes(10));
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Position(), 10);
  ASSERT_TRUE(s.Seek(4));
  char b[4];
  EXPECT_EQ(s.Read(b, 4), 4);
  EXPECT_EQ(QByteArray(b, 4), Bytes(10).mid(4, 4));
  EXPECT_EQ(s.Position(), 8);
  EXPECT_EQ(s.Read(b, 4), 2);  // only two left
  EXPECT_EQ(s.Read(b, 4), 0);
  // Overwriting in the middle, then writing past the end leaves zeros in the gap.
  s.Seek(2);
  s.Write("AB", 2);
  s.Seek(14);
  s.Write("Z", 1);
  QByteArray expected = Bytes(10);
  expected[2] = 'A';
  expected[3] = 'B';
  expected += QByteArray(4, '\0') + "Z";
  EXPECT_EQ(ReadAll(s), expected);
  EXPECT_TRUE(s.Truncate(5));
  EXPECT_EQ(s.Size(), 5);
  EXPECT_FALSE(s.Seek(-1));
}

TEST(QRStreamTest, MovesOnceToAPrivateTemporaryFileBeyondItsLimitAndDeletesIt) {
  QString name;
  {
    TQRStream s(100);
    s.Write(Bytes(100));
    EXPECT_TRUE(s.InMemory()) << "exactly at the limit stays in memory";
    s.Seek(50);
    s.Write(Bytes(60, 3));  // ends at 110: past the limit
    EXPECT_FALSE(s.InMemory());
    name = s.FileName();
    const QFileInfo info(name);
    EXPECT_TRUE(info.exists());
    EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("QRP"))) << name.toStdString();
    EXPECT_EQ(info.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(name).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Content and position survive the move; later writes go to the file.
    EXPECT_EQ(s.Position(), 110);
    s.Write("tail", 4);
    EXPECT_EQ(ReadAll(s), Bytes(100).left(50) + Bytes(60, 3) + "tail");
    EXPECT_EQ(QFileInfo(name).size(), 114);
    EXPECT_TRUE(s.Truncate(60));
    EXPECT_EQ(s.Size(), 60);
    EXPECT_FALSE(s.InMemory()) << "never back to memory";
  }
  EXPECT_FALSE(QFile::exists(name));
}

TEST(QRStreamTest, TheReportPrintersLimitIs100000Bytes) {
  TQRStream s;
  s.Write(Bytes(100000));
  EXPECT_TRUE(s.InMemory());
  s.Write("x", 1);
  EXPECT_FALSE(s.InMemory());
}

TEST(QRStreamTest, ATemporaryFileThatCannotBeCreatedRaisesTheFileError) {
  // A temporary directory that is a plain file.
  QTemporaryDir dir;
  const QString notADirectory = dir.filePath(QStringLiteral("file"));
  QFile(notADirectory).open(QIODevice::WriteOnly);
  const QByteArray saved = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(notADirectory));
  TQRStream s(10);
  try {
    s.Write(Bytes(20));
    ADD_FAILURE() << "no error";
  } catch (const EQRError& e) {
    const std::string expected = "Cannot create file " + notADirectory.toStdString() + "/QRP";
    EXPECT_EQ(e.Message().rfind(expected, 0), 0u) << e.Message();
  }
  if (saved.isNull()) {
    qunsetenv("TMPDIR");
  } else {
    qputenv("TMPDIR", saved);
  }
}

TEST(QRStreamTest, FileModeReadsAReportFileWithoutChangingIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.QRP"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Bytes(300));
  f.close();
  {
    auto s = TQRStream::OpenFile(path);
    EXPECT_TRUE(s->ReadOnly());
    EXPECT_FALSE(s->InMemory());
    EXPECT_EQ(s->FileName(), path);
    EXPECT_EQ(ReadAll(*s), Bytes(300));
    EXPECT_THROW(s->Write("x", 1), EQRError);
    EXPECT_FALSE(s->Truncate(10));
    // Others may still read and write the file while it is open.
    QFile other(path);
    EXPECT_TRUE(other.open(QIODevice::ReadWrite));
  }
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(QFileInfo(path).size(), 300);
}

TEST(QRStreamTest, AMissingFileCannotBeOpened) {
  try {
    TQRStream::OpenFile(QStringLiteral("/nonexistent-hb9cv-dir/b.QRP"));
    ADD_FAILURE() << "no error";
  } catch (const EQRError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file /nonexistent-hb9cv-dir/b.QRP");
  }
}

// Records the size of every write it takes.
class BlockRecorder : public QBuffer {
 public:
  std::vector<qint64> writes;
  int failAt = -1;

 protected:
  qint64 writeData(const char* data, qint64 len) override {
    if (int(writes.size()) == failAt) return -1;
    writes.push_back(len);
    return QBuffer::writeData(data, len);
  }
};

TEST(QRStreamTest, CopiesInBlocksFromTheStartAndKeepsThePosition) {
  for (const qint64 size : {qint64(0), qint64(5), qint64(10240), qint64(25000), qint64(150000)}) {
    SCOPED_TRACE(size);
    TQRStream s;
    s.Write(Bytes(int(size)));
    s.Seek(size / 2);
    BlockRecorder out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(s.CopyTo(out, 10240));
    EXPECT_EQ(out.data(), Bytes(int(size)));
    for (std::size_t i = 0; i + 1 < out.writes.size(); ++i) EXPECT_EQ(out.writes[i], 10240);
    EXPECT_EQ(out.writes.size(), std::size_t((size + 10239) / 10240));
    EXPECT_EQ(s.Position(), size / 2);
  }
  TQRStream s;
  s.Write(Bytes(50000));
  BlockRecorder failing;
  failing.failAt = 2;
  failing.open(QIODevice::WriteOnly);
  EXPECT_FALSE(s.CopyTo(failing, 10240));
}

}  // namespace
}  // namespace hb9cv
