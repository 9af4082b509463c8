#include "report/render/emf_format.h"

#include <uemf_safe.h>

#include <array>

namespace hb9cv::emf {

bool ParseHeader(Bytes data, HeaderInfo& out) {
  std::uint32_t type = 0, size = 0, signature = 0;
  if (!data.Read(0, type) || !data.Read(4, size) || type != kHeader) return false;
  // The record's full length is the record walk's business; a prefix of the metafile is enough
  // here.
  if (size < kMinHeaderSize || size % 4 != 0 || data.size() < kMinHeaderSize) return false;
  if (!data.Read(40, signature) || signature != kSignature) return false;
  HeaderInfo h;
  data.Read(8, h.bounds);
  data.Read(24, h.frame);
  data.Read(48, h.nBytes);
  data.Read(52, h.nRecords);
  data.Read(56, h.nHandles);
  data.Read(72, h.deviceWidth);
  data.Read(76, h.deviceHeight);
  data.Read(80, h.mmWidth);
  data.Read(84, h.mmHeight);
  out = h;
  return true;
}

bool IsPlayedType(std::uint32_t type) {
  switch (type) {
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo:
    case kPolyPolyline:
    case kPolyPolygon:
    case kSetWindowExtEx:
    case kSetWindowOrgEx:
    case kSetViewportExtEx:
    case kSetViewportOrgEx:
    case kSetMapMode:
    case kSetBkMode:
    case kSetPolyFillMode:
    case kSetStretchBltMode:
    case kSetTextAlign:
    case kSetTextColor:
    case kSetBkColor:
    case kOffsetClipRgn:
    case kMoveToEx:
    case kExcludeClipRect:
    case kIntersectClipRect:
    case kScaleViewportExtEx:
    case kScaleWindowExtEx:
    case kSaveDc:
    case kRestoreDc:
    case kSetWorldTransform:
    case kModifyWorldTransform:
    case kSelectObject:
    case kCreatePen:
    case kCreateBrushIndirect:
    case kDeleteObject:
    case kEllipse:
    case kRectangle:
    case kLineTo:
    case kExtSelectClipRgn:
    case kBitBlt:
    case kStretchBlt:
    case kStretchDiBits:
    case kExtCreateFontIndirectW:
    case kExtTextOutA:
    case kExtTextOutW:
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16:
    case kPolyPolyline16:
    case kPolyPolygon16:
    case kCreateMonoBrush:
    case kCreateDibPatternBrushPt:
    case kExtCreatePen:
      return true;
    default:
      return false;
  }
}

namespace {

// The library checks a record only against its own nSize, and reads its fixed fields before it
// compares; small records are handed over in a zero-padded copy so those reads stay in bounds.
bool LibrarySaysSafe(Bytes record) {
  constexpr std::size_t kPad = 512;
  if (record.size() < kPad) {
    alignas(8) std::array<unsigned char, kPad * 2> copy{};
    std::memcpy(copy.data(), record.data(), record.size());
    return U_emf_record_safe(reinterpret_cast<const char*>(copy.data())) != 0;
  }
  return U_emf_record_safe(reinterpret_cast<const char*>(record.data())) != 0;
}

}  // namespace

bool RecordReader::Next(Record& out) {
  if (failed_ || pos_ >= data_.size()) return false;
  const std::size_t left = data_.size() - pos_;
  std::uint32_t type = 0, size = 0;
  if (left < 8 || !data_.Read(pos_, type) || !data_.Read(pos_ + 4, size) || size < 8 ||
      size % 4 != 0 || size > left) {
    failed_ = true;
    return false;
  }
  // The header comes first and only first; nothing may follow the EOF record.
  if ((pos_ == 0) != (type == kHeader) || sawEof_) {
    failed_ = true;
    return false;
  }
  out.type = type;
  out.bytes = data_.Slice(pos_, size);
  out.safe = checkSafety_ && (type == kHeader || type == kEof || IsPlayedType(type)) &&
             LibrarySaysSafe(out.bytes);
  if (type == kEof) sawEof_ = true;
  pos_ += size;
  return true;
}

bool Validate(Bytes data, const char** why) {
  auto fail = [why](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  HeaderInfo header;
  if (!ParseHeader(data, header)) return fail("no metafile header");
  if (header.nBytes != data.size()) return fail("metafile size differs from its header");
  // The structure decides; of the fields only the header's matter here (the player skips other
  // records whose fields are unsafe), so only its fields are checked.
  RecordReader reader(data, false);
  Record record;
  bool first = true;
  while (reader.Next(record)) {
    if (first && !LibrarySaysSafe(record.bytes)) return fail("damaged metafile header");
    first = false;
  }
  if (reader.Failed()) return fail("damaged metafile record");
  if (!reader.SawEof()) return fail("metafile has no end record");
  return true;
}

}  // namespace hb9cv::emf
