#pragma once
// Little-endian field access and record walking for enhanced metafiles. Every read is checked
// against the bytes it may touch, so hostile data can only make a read come back empty, never
// overrun.
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

namespace hb9cv::emf {

// Record types this program writes or plays (values of the EMF format).
enum RecordType : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kSetViewportExtEx = 11,
  kSetViewportOrgEx = 12,
  kEof = 14,
  kSetMapMode = 17,
  kSetBkMode = 18,
  kSetPolyFillMode = 19,
  kSetStretchBltMode = 21,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kOffsetClipRgn = 26,
  kMoveToEx = 27,
  kExcludeClipRect = 29,
  kIntersectClipRect = 30,
  kScaleViewportExtEx = 31,
  kScaleWindowExtEx = 32,
  kSaveDc = 33,
  kRestoreDc = 34,
  kSetWorldTransform = 35,
  kModifyWorldTransform = 36,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kEllipse = 42,
  kRectangle = 43,
  kLineTo = 54,
  kExtSelectClipRgn = 75,
  kBitBlt = 76,
  kStretchBlt = 77,
  kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82,
  kExtTextOutA = 83,
  kExtTextOutW = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kCreateMonoBrush = 93,
  kCreateDibPatternBrushPt = 94,
  kExtCreatePen = 95,
};

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kMinHeaderSize = 88;      // header without the optional extensions

// A bounded view of bytes; reads outside it give nothing instead of touching memory.
class Bytes {
 public:
  Bytes() = default;
  Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  Bytes(const char* data, std::size_t size)
      : data_(reinterpret_cast<const unsigned char*>(data)), size_(size) {}

  std::size_t size() const { return size_; }
  const unsigned char* data() const { return data_; }

  // True when [offset, offset + length) lies inside the view.
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  template <typename T>
  std::optional<T> Read(std::uint64_t offset) const {
    static_assert(std::is_trivially_copyable_v<T>);
    if (!Has(offset, sizeof(T))) return std::nullopt;
    T value;
    std::memcpy(&value, data_ + offset, sizeof(T));  // little-endian host, unaligned-safe
    return value;
  }

  template <typename T>
  T Get(std::uint64_t offset, T fallback = T{}) const {
    return Read<T>(offset).value_or(fallback);
  }

  Bytes Slice(std::uint64_t offset, std::uint64_t length) const {
    if (!Has(offset, length)) return {};
    return Bytes(data_ + offset, static_cast<std::size_t>(length));
  }

 private:
  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
};

struct Rect32 {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What the header record says about the picture.
struct HeaderInfo {
  Rect32 bounds;             // device pixels, inclusive
  Rect32 frame;              // 0.01 mm
  std::uint32_t nBytes = 0;  // whole metafile
  std::uint32_t nRecords = 0;
  std::uint16_t nHandles = 0;
  std::int32_t deviceWidth = 0, deviceHeight = 0;  // reference device, pixels
  std::int32_t mmWidth = 0, mmHeight = 0;          // reference device, millimetres
};

// Parses the header record at the start of `data`, which may be just the first 88 bytes of a
// metafile. Checks the type, the signature and the record size, not the rest; none when they
// are not those of a header.
std::optional<HeaderInfo> ParseHeader(Bytes data);

struct Record {
  std::uint32_t type = 0;
  Bytes bytes;        // the whole record, size == nSize
  bool safe = false;  // passed the library's record check (known types only)
};

// Walks the records of a metafile. Next() gives none at the end or on a structural error
// (Failed() tells which); a record whose fields contradict its own size is returned with
// safe == false so that it can be skipped.
class RecordReader {
 public:
  // Without `checkSafety` the records' fields are not checked (safe stays false): a walk of the
  // structure alone.
  explicit RecordReader(Bytes data, bool checkSafety = true)
      : data_(data), checkSafety_(checkSafety) {}
  std::optional<Record> Next();
  bool Failed() const { return failed_; }
  bool SawEof() const { return sawEof_; }

 private:
  Bytes data_;
  std::size_t pos_ = 0;
  bool checkSafety_ = true;
  bool failed_ = false;
  bool sawEof_ = false;
};

// True when `type` is one of the records the player understands.
bool IsPlayedType(std::uint32_t type);

// Whether `data` is a whole metafile: header first, nBytes equal to the length, every record
// well-sized, an EOF record last.
bool Validate(Bytes data);

}  // namespace hb9cv::emf
