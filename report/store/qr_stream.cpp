#include "report/store/qr_stream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cstring>

#include "calc/errors.h"
#include "report/store/qr_error.h"

namespace hb9cv {

namespace {

// `format` is an error message marked for translation, with %1 for the file name.
[[noreturn]] void Fail(const char* format, const QString& fileName) {
  throw EQRError(format, {fileName.toStdString()});
}

}  // namespace

TQRStream::TQRStream(qint64 memoryLimit) : limit_(memoryLimit) {}

TQRStream::TQRStream(FileTag, std::unique_ptr<QFile> file) : file_(std::move(file)) {}

TQRStream::~TQRStream() = default;  // QTemporaryFile removes its file

std::unique_ptr<TQRStream> TQRStream::OpenFile(const QString& fileName) {
  auto file = std::make_unique<QFile>(fileName);
  // Other programs may keep reading and writing the file; we only read.
  if (!file->open(QIODevice::ReadOnly))
    Fail(QT_TRANSLATE_NOOP("Errors", "Cannot open file %1"), fileName);
  return std::unique_ptr<TQRStream>(new TQRStream(FileTag{}, std::move(file)));
}

QIODevice* TQRStream::Device() const {
  if (temporary_) return temporary_.get();
  return file_.get();
}

qint64 TQRStream::Read(char* data, qint64 size) {
  std::lock_guard guard(lock_);
  ++reads_;
  if (size <= 0) return 0;
  if (QIODevice* device = Device()) {
    const qint64 n = device->read(data, size);
    return n < 0 ? 0 : n;
  }
  const qint64 n = std::clamp<qint64>(memory_.size() - position_, 0, size);
  if (n > 0) std::memcpy(data, memory_.constData() + position_, std::size_t(n));
  position_ += n;
  return n;
}

void TQRStream::Write(const char* data, qint64 size) {
  std::lock_guard guard(lock_);
  if (size <= 0) return;
  if (file_) Fail(QT_TRANSLATE_NOOP("Errors", "Cannot write file %1"), file_->fileName());
  if (temporary_) {
    if (temporary_->write(data, size) != size)
      Fail(QT_TRANSLATE_NOOP("Errors", "Cannot write file %1"), temporary_->fileName());
    return;
  }
  const qint64 end = position_ + size;
  if (end > memory_.size()) memory_.resize(end, '\0');
  std::memcpy(memory_.data() + position_, data, std::size_t(size));
  position_ = end;
  if (memory_.size() > limit_) MoveToTemporaryFile();
}

void TQRStream::MoveToTemporaryFile() {
  // A TMPDIR that does not exist makes Qt's temporary path empty: never fall back to "/".
  QString directory = QDir::tempPath();
  if (directory.isEmpty()) directory = QStringLiteral("/tmp");
  auto temporary = std::make_unique<QTemporaryFile>(directory + QStringLiteral("/QRPXXXXXX.tmp"));
  temporary->setAutoRemove(true);
  if (!temporary->open())
    Fail(QT_TRANSLATE_NOOP("Errors", "Cannot create file %1"), temporary->fileTemplate());
  if (temporary->write(memory_) != memory_.size() || !temporary->seek(position_)) {
    Fail(QT_TRANSLATE_NOOP("Errors", "Cannot write file %1"), temporary->fileName());
  }
  temporary_ = std::move(temporary);
  memory_ = QByteArray();
}

bool TQRStream::Seek(qint64 position) {
  std::lock_guard guard(lock_);
  if (position < 0) return false;
  if (QIODevice* device = Device()) return device->seek(position);
  position_ = position;
  return true;
}

qint64 TQRStream::Position() const {
  std::lock_guard guard(lock_);
  if (const QIODevice* device = Device()) return device->pos();
  return position_;
}

qint64 TQRStream::Size() const {
  std::lock_guard guard(lock_);
  if (const QIODevice* device = Device()) return device->size();
  return memory_.size();
}

bool TQRStream::Truncate(qint64 size) {
  std::lock_guard guard(lock_);
  if (file_ || size < 0) return false;
  if (temporary_)
    return temporary_->resize(size) && temporary_->seek(std::min(size, temporary_->pos()));
  if (size < memory_.size()) memory_.truncate(size);
  position_ = std::min(position_, size);
  return true;
}

bool TQRStream::InMemory() const {
  std::lock_guard guard(lock_);
  return !temporary_ && !file_;
}

bool TQRStream::ReadOnly() const {
  std::lock_guard guard(lock_);
  return file_ != nullptr;
}

QString TQRStream::FileName() const {
  std::lock_guard guard(lock_);
  if (temporary_) return temporary_->fileName();
  if (file_) return file_->fileName();
  return {};
}

qint64 TQRStream::ReadCount() const {
  std::lock_guard guard(lock_);
  return reads_;
}

bool TQRStream::CopyTo(QIODevice& out, qint64 blockSize) {
  std::lock_guard guard(lock_);
  const qint64 keep = Position();
  if (!Seek(0)) return false;
  QByteArray block(blockSize, '\0');
  bool ok = true;
  for (;;) {
    const qint64 n = Read(block.data(), blockSize);
    if (n <= 0) break;
    if (out.write(block.constData(), n) != n) {
      ok = false;
      break;
    }
  }
  Seek(keep);
  return ok;
}

}  // namespace hb9cv
