#include "report/store/page_list.h"

#include <QDateTime>
#include <QSaveFile>
#include <QtEndian>
#include <array>
#include <limits>
#include <optional>

#include "calc/errors.h"
#include "report/render/emf_format.h"
#include "report/store/qr_error.h"

namespace hb9cv {

namespace {

constexpr qint64 kHeaderBytes = TQRPageList::kHeaderSize;
constexpr quint16 kMagic = 3;
constexpr quint16 kVersion = 305;
constexpr int kCountOffset = 8;
constexpr int kDateOffset = 16;
constexpr int kFlagOffset = 25;
// Page number and next-record offset before the picture, this record's offset after it.
constexpr qint64 kRecordHead = 8;
constexpr qint64 kRecordTail = 4;
constexpr qint64 kPeek = kRecordHead + emf::kMinHeaderSize;

// `format` is an error message marked for translation, with %1 for the file name.
[[noreturn]] void Fail(const char* format, const QString& fileName) {
  throw EQRError(format, {fileName.toStdString()});
}

qint32 I32(const char* p) {
  return qFromLittleEndian<qint32>(p);
}

QByteArray I32Bytes(qint64 value) {
  QByteArray b(4, '\0');
  qToLittleEndian<qint32>(static_cast<qint32>(value), b.data());
  return b;
}

bool ReadAt(TQRStream& s, qint64 position, char* data, qint64 size) {
  return s.Seek(position) && s.ReadExact(data, size);
}

std::optional<qint64> ReadI32At(TQRStream& s, qint64 position) {
  char b[4];
  if (!ReadAt(s, position, b, 4)) return std::nullopt;
  return I32(b);
}

// Days since 30 December 1899 with the time of day as the fraction.
double DateTimeNumber(const QDateTime& when) {
  const qint64 days = QDate(1899, 12, 30).daysTo(when.date());
  return double(days) + when.time().msecsSinceStartOfDay() / 86400000.0;
}

// The metafile length a record announces, after checking its header; -1 when it is not one.
qint64 PictureLength(const char* peek, qint64 recordStart, qint64 streamSize) {
  const std::optional<emf::HeaderInfo> header =
      emf::ParseHeader(emf::Bytes(peek + kRecordHead, emf::kMinHeaderSize));
  if (!header) return -1;
  const qint64 length = header->nBytes;
  if (length < emf::kMinHeaderSize) return -1;
  if (recordStart + kRecordHead + length + kRecordTail > streamSize) return -1;
  return length;
}

QByteArray HeaderBytes(int pageCount) {
  QByteArray header(kHeaderBytes, '\0');
  qToLittleEndian<quint16>(kMagic, header.data());
  qToLittleEndian<quint16>(kVersion, header.data() + 2);
  qToLittleEndian<qint32>(pageCount, header.data() + kCountOffset);
  qToLittleEndian<double>(DateTimeNumber(QDateTime::currentDateTime()),
                          header.data() + kDateOffset);
  header[kFlagOffset] = 0;  // pictures are never compressed
  return header;
}

}  // namespace

TQRPageList::TQRPageList() = default;
TQRPageList::~TQRPageList() = default;

void TQRPageList::SetStream(std::unique_ptr<TQRStream> stream) {
  std::lock_guard guard(lock_);
  stream_ = std::move(stream);
  cursor_ = 0;
}

TQRStream* TQRPageList::Stream() const {
  std::lock_guard guard(lock_);
  return stream_.get();
}

int TQRPageList::PageCount() const {
  std::lock_guard guard(lock_);
  return pageCount_;
}

TQRStream& TQRPageList::EnsureStream() {
  if (!stream_) stream_ = std::make_unique<TQRStream>(TQRStream::kMemoryLimit);
  return *stream_;
}

void TQRPageList::WriteHeader(int pageCount) {
  const QByteArray header = HeaderBytes(pageCount);
  TQRStream& s = EnsureStream();
  s.Seek(0);
  s.Write(header);
}

void TQRPageList::AddPage(const Metafile& page) {
  std::lock_guard guard(lock_);
  TQRStream& s = EnsureStream();
  const int number = pageCount_ + 1;
  const qint64 start = number == 1 ? kHeaderSize : std::max(s.Size(), kHeaderSize);
  const qint64 end = start + kRecordHead + page.Size() + kRecordTail;
  // Offsets are 32-bit in the file.
  if (end > std::numeric_limits<qint32>::max())
    throw EQRError(QT_TRANSLATE_NOOP("Errors", "Report too large for the page stream"), {});
  const qint64 before = s.Size();
  try {
    if (number == 1) WriteHeader(1);
    s.Seek(start);
    QByteArray record;
    record.reserve(end - start);
    record += I32Bytes(number);
    record += I32Bytes(end);
    record += page.Bytes();
    record += I32Bytes(start);
    s.Write(record);
  } catch (...) {
    s.Truncate(before);
    throw;
  }
  s.Seek(end);
  pageCount_ = number;
  cursor_ = end;
}

qint64 TQRPageList::FindRecord(int n) {
  TQRStream& s = *stream_;
  const qint64 size = s.Size();
  const qint64 lastPossible = size - kRecordHead - kRecordTail;
  if (n == 1) return kHeaderSize;
  // The stream's last four bytes point at the last record.
  auto lastRecord = [&]() -> qint64 {
    const qint64 last = ReadI32At(s, size - 4).value_or(-1);
    return last < kHeaderSize || last > lastPossible ? -1 : last;
  };
  if (n == pageCount_) return lastRecord();
  // Otherwise from where the last read ended, the start of a record (or the end of the stream,
  // and then from the last record).
  qint64 at = cursor_ >= kHeaderSize && cursor_ <= lastPossible ? cursor_ : lastRecord();
  if (at < 0) return -1;
  // Every step moves strictly towards the page, and there are at most pageCount_ of them.
  for (int steps = 0; steps <= pageCount_; ++steps) {
    char head[kRecordHead];
    if (!ReadAt(s, at, head, kRecordHead)) return -1;
    const qint64 k = I32(head);
    if (k == n) return at;
    if (k < 1 || k > pageCount_) return -1;
    qint64 next = 0;
    if (k < n) {
      next = I32(head + 4);
      if (next <= at || next > lastPossible) return -1;
    } else {
      next = ReadI32At(s, at - 4).value_or(-1);
      if (next >= at || next < kHeaderSize) return -1;
    }
    at = next;
  }
  return -1;
}

Metafile TQRPageList::GetPage(int pageNumber) {
  std::lock_guard guard(lock_);
  if (!stream_ || pageNumber < 1 || pageNumber > pageCount_) return {};
  TQRStream& s = *stream_;
  const qint64 start = FindRecord(pageNumber);
  if (start < kHeaderSize) return {};
  const qint64 size = s.Size();
  char peek[kPeek];
  if (!ReadAt(s, start, peek, kPeek) || I32(peek) != pageNumber) return {};
  const qint64 length = PictureLength(peek, start, size);
  const qint64 end = start + kRecordHead + length + kRecordTail;
  if (length < 0 || I32(peek + 4) != end) return {};
  QByteArray bytes(length + kRecordTail, Qt::Uninitialized);
  std::memcpy(bytes.data(), peek + kRecordHead, emf::kMinHeaderSize);
  if (!s.ReadExact(bytes.data() + emf::kMinHeaderSize, length - emf::kMinHeaderSize + kRecordTail))
    return {};
  if (I32(bytes.constData() + length) != start) return {};
  bytes.truncate(length);
  cursor_ = end;
  return Metafile(std::move(bytes));
}

void TQRPageList::Finish() {
  std::lock_guard guard(lock_);
  WriteHeader(pageCount_);
  stream_->Seek(stream_->Size());
}

void TQRPageList::Reset() {
  std::lock_guard guard(lock_);
  pageCount_ = 0;
  stream_.reset();
  cursor_ = 0;
}

std::unique_ptr<TQRPageList> TQRPageList::LoadFromFile(const QString& fileName) {
  std::unique_ptr<TQRStream> stream = TQRStream::OpenFile(fileName);
  TQRStream& s = *stream;
  const qint64 size = s.Size();
  std::array<char, kHeaderSize> header{};
  if (size < kHeaderSize || size > std::numeric_limits<qint32>::max() ||
      !ReadAt(s, 0, header.data(), kHeaderSize) ||
      qFromLittleEndian<quint16>(header.data()) != kMagic ||
      qFromLittleEndian<quint16>(header.data() + 2) != kVersion) {
    Fail(QT_TRANSLATE_NOOP("Errors", "Invalid report file %1"), fileName);
  }
  const qint64 count = I32(header.data() + kCountOffset);
  const auto flag = static_cast<unsigned char>(header[kFlagOffset]);
  if (flag == 1)
    Fail(QT_TRANSLATE_NOOP("Errors", "Compressed report file %1 is not supported"), fileName);
  if (flag != 0 || count < 0) Fail(QT_TRANSLATE_NOOP("Errors", "Invalid report file %1"), fileName);

  // Walk every record before anything is replaced: numbers in order, offsets that chain the
  // records without gaps, a complete metafile that fills the record.
  qint64 at = kHeaderSize;
  QByteArray record;
  for (qint64 page = 1; page <= count; ++page) {
    char peek[kPeek];
    if (at + kPeek + kRecordTail > size || !ReadAt(s, at, peek, kPeek) || I32(peek) != page) {
      Fail(QT_TRANSLATE_NOOP("Errors", "Invalid report file %1"), fileName);
    }
    const qint64 length = PictureLength(peek, at, size);
    const qint64 end = at + kRecordHead + length + kRecordTail;
    if (length < 0 || I32(peek + 4) != end)
      Fail(QT_TRANSLATE_NOOP("Errors", "Invalid report file %1"), fileName);
    // The rest of the record in one read: the picture gets the same complete check the player
    // makes before drawing (a page that would only play as a blank sheet must not replace the
    // pages the user has), then the record's own offset at its end.
    record.resize(length + kRecordTail);
    std::memcpy(record.data(), peek + kRecordHead, emf::kMinHeaderSize);
    if (!s.ReadExact(record.data() + emf::kMinHeaderSize,
                     length - emf::kMinHeaderSize + kRecordTail) ||
        I32(record.constData() + length) != at ||
        !emf::Validate(emf::Bytes(record.constData(), static_cast<std::size_t>(length)))) {
      Fail(QT_TRANSLATE_NOOP("Errors", "Invalid report file %1"), fileName);
    }
    at = end;
  }
  if (at != size) Fail(QT_TRANSLATE_NOOP("Errors", "Invalid report file %1"), fileName);

  auto list = std::make_unique<TQRPageList>();
  list->pageCount_ = static_cast<int>(count);
  list->SetStream(std::move(stream));
  return list;
}

void TQRPageList::SaveToFile(const QString& fileName) const {
  std::lock_guard guard(lock_);
  // The old file is replaced only by a complete copy.
  QSaveFile out(fileName);
  if (!out.open(QIODevice::WriteOnly))
    Fail(QT_TRANSLATE_NOOP("Errors", "Cannot create file %1"), fileName);
  bool ok = true;
  if (stream_) {
    ok = stream_->CopyTo(out, kSaveBlockSize);
  } else {
    // No build ever gave this list a stream: a report without pages.
    const QByteArray header = HeaderBytes(pageCount_);
    ok = out.write(header) == header.size();
  }
  if (!ok) {
    out.cancelWriting();
    Fail(QT_TRANSLATE_NOOP("Errors", "Cannot create file %1"), fileName);
  }
  if (!out.commit()) Fail(QT_TRANSLATE_NOOP("Errors", "Cannot create file %1"), fileName);
}

}  // namespace hb9cv
