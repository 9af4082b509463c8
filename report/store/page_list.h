#pragma once
// The page list: a report's built pages as records of one page stream, which is also the layout
// of a saved report file:
//   header, 128 bytes: u16 3, u16 305, 4 reserved, i32 page count, 4 reserved,
//     f64 date and time written (days since 30 Dec 1899), 1 reserved, u8 compression flag,
//     102 reserved;
//   then one record per page, in order: i32 page number, i32 offset of the next record,
//     the page's enhanced metafile, i32 offset of this record.
// All numbers little-endian. A file of two pages whose metafiles are 1000 and 2000 bytes long
// is 3152 bytes; the page count at offset 8 is 2:
//   record 1 at 128: 1 at 128, next record 1140 at 132, metafile 136..1135, 128 at 1136;
//   record 2 at 1140: 2 at 1140, next record 3152 at 1144, metafile 1148..3147, 1140 at 3148.
#include <QString>
#include <memory>
#include <mutex>

#include "report/render/metafile.h"
#include "report/store/qr_error.h"
#include "report/store/qr_stream.h"

namespace hb9cv {

class TQRPageList {
 public:
  static constexpr qint64 kHeaderSize = 128;
  static constexpr qint64 kSaveBlockSize = 10240;

  TQRPageList();
  ~TQRPageList();
  TQRPageList(const TQRPageList&) = delete;
  TQRPageList& operator=(const TQRPageList&) = delete;

  // Attaches a page stream and reads nothing from it; a previous stream is discarded (and its
  // temporary file deleted).
  void SetStream(std::unique_ptr<TQRStream> stream);
  TQRStream* Stream() const;

  int PageCount() const;
  // Pages are always stored uncompressed; the header's flag is written as 0.
  bool Compression() const { return false; }

  // Appends a page as the next record. The first page also writes the header (page count 1).
  // Raises EQRError when the stream cannot take it; the stream is then left as before.
  void AddPage(const Metafile& page);
  // Page n as a new picture, or a null picture when n is outside 1..PageCount() or the record
  // cannot be read (a file changed behind our back). Stepping to the next or previous page
  // reads one record header; the first and last pages are found at once.
  Metafile GetPage(int pageNumber);
  // Writes the header again with the final page count and the current date and time.
  void Finish();
  // Forgets the pages: page count 0 and the stream discarded (its temporary file deleted).
  void Reset();

  // A new page list on the report file, read-only. The whole file is checked first: header,
  // every record's page number and offsets, each page's metafile record by record. Raises
  // EQRError "Cannot open file %s", "Invalid report file %s" or, for a compressed file,
  // "Compressed report file %s is not supported"; nothing is changed then.
  static std::unique_ptr<TQRPageList> LoadFromFile(const QString& fileName);
  // Copies the stream byte for byte into the file, replacing it only once the copy is complete.
  // Raises EQRError "Cannot create file %s"; an existing file is then left intact.
  void SaveToFile(const QString& fileName) const;

 private:
  TQRStream& EnsureStream();
  void WriteHeader(int pageCount);
  qint64 FindRecord(int pageNumber);

  mutable std::recursive_mutex lock_;
  std::unique_ptr<TQRStream> stream_;
  int pageCount_ = 0;
  qint64 cursor_ = 0;  // start of the record after the one read last
};

}  // namespace hb9cv
