#include "report/store/qr_error.h"
#pragma once
// The page stream: one byte stream that holds a report's pages, in memory while it is small and
// in a temporary file once it outgrows its limit, or read-only on a saved report file.
#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>

class QFile;
class QIODevice;
class QTemporaryFile;

namespace hb9cv {

class TQRStream {
 public:
  // The limit the report printer gives its page streams.
  static constexpr qint64 kMemoryLimit = 100000;

  // A stream in memory; when a write leaves it larger than `memoryLimit` bytes its content
  // moves to a new temporary file "QRP…" in the system's temporary directory (readable by the
  // owner only), which the stream deletes when it is destroyed.
  explicit TQRStream(qint64 memoryLimit = kMemoryLimit);
  // A read-only stream on an existing report file, which stays open (and undeleted) for the
  // stream's lifetime. Raises EQRError "Cannot open file %s".
  static std::unique_ptr<TQRStream> OpenFile(const QString& fileName);
  ~TQRStream();
  TQRStream(const TQRStream&) = delete;
  TQRStream& operator=(const TQRStream&) = delete;

  // Reads up to `size` bytes at the position and advances it; returns the count (0 at the end
  // or on a failed read).
  qint64 Read(char* data, qint64 size);
  // Reads exactly `size` bytes or returns false (the position is then unspecified).
  bool ReadExact(char* data, qint64 size) { return Read(data, size) == size; }
  // Writes at the position, growing the stream. Raises EQRError when the stream is read-only,
  // when the temporary file cannot be created ("Cannot create file %s") or written.
  void Write(const char* data, qint64 size);
  void Write(const QByteArray& data) { Write(data.constData(), data.size()); }
  // Moves the position; positions past the end are allowed and grow the stream on a write.
  bool Seek(qint64 position);
  qint64 Position() const;
  qint64 Size() const;
  // Cuts the stream to `size` bytes (used to take back a half-written page).
  bool Truncate(qint64 size);

  bool InMemory() const;
  bool ReadOnly() const;
  // The temporary file's or the report file's name; empty in memory.
  QString FileName() const;
  // Number of Read() calls so far: how much a search had to look at.
  qint64 ReadCount() const;

  // Copies the whole stream, from offset 0, into `out` in blocks of `blockSize` bytes until a
  // read returns nothing. Returns false when a write to `out` fails.
  bool CopyTo(QIODevice& out, qint64 blockSize);

 private:
  struct FileTag {};
  TQRStream(FileTag, std::unique_ptr<QFile> file);
  void MoveToTemporaryFile();
  QIODevice* Device() const;

  mutable std::recursive_mutex lock_;
  qint64 limit_ = kMemoryLimit;
  QByteArray memory_;
  qint64 position_ = 0;
  std::unique_ptr<QTemporaryFile> temporary_;
  std::unique_ptr<QFile> file_;
  qint64 reads_ = 0;
};

}  // namespace hb9cv
