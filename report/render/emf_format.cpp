#include "report/render/emf_format.h"

#include <uemf_safe.h>

#include <array>

namespace hb9cv::emf {

std::optional<HeaderInfo> ParseHeader(Bytes data) {
  // The record's full length is the record walk's business; a prefix of the metafile is enough
  // here, and every field below lies within it.
  const auto size = data.Get<std::uint32_t>(4);
  if (data.size() < kMinHeaderSize || data.Get<std::uint32_t>(0) != kHeader ||
      size < kMinHeaderSize || size % 4 != 0 || data.Get<std::uint32_t>(40) != kSignature) {
    return std::nullopt;
  }
  HeaderInfo h;
  h.bounds = data.Get<Rect32>(8);
  h.frame = data.Get<Rect32>(24);
  h.nBytes = data.Get<std::uint32_t>(48);
  h.nRecords = data.Get<std::uint32_t>(52);
  h.nHandles = data.Get<std::uint16_t>(56);
  h.deviceWidth = data.Get<std::int32_t>(72);
  h.deviceHeight = data.Get<std::int32_t>(76);
  h.mmWidth = data.Get<std::int32_t>(80);
  h.mmHeight = data.Get<std::int32_t>(84);
  return h;
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

std::optional<Record> RecordReader::Next() {
  if (failed_ || pos_ >= data_.size()) return std::nullopt;
  const std::size_t left = data_.size() - pos_;
  const auto type = data_.Get<std::uint32_t>(pos_);
  const auto size = data_.Get<std::uint32_t>(pos_ + 4);
  // At least 8 bytes, a multiple of 4, within what is left; the header comes first and only
  // first, and nothing may follow the EOF record.
  if (left < 8 || size < 8 || size % 4 != 0 || size > left || (pos_ == 0) != (type == kHeader) ||
      sawEof_) {
    failed_ = true;
    return std::nullopt;
  }
  Record record;
  record.type = type;
  record.bytes = data_.Slice(pos_, size);
  record.safe = checkSafety_ && (type == kHeader || type == kEof || IsPlayedType(type)) &&
                LibrarySaysSafe(record.bytes);
  if (type == kEof) sawEof_ = true;
  pos_ += size;
  return record;
}

bool Validate(Bytes data) {
  const std::optional<HeaderInfo> header = ParseHeader(data);
  if (!header || header->nBytes != data.size()) return false;
  // The structure decides; of the fields only the header's matter here (the player skips other
  // records whose fields are unsafe), so only its fields are checked.
  RecordReader reader(data, false);
  const std::optional<Record> first = reader.Next();
  if (!first || !LibrarySaysSafe(first->bytes)) return false;
  while (reader.Next()) {
  }
  return !reader.Failed() && reader.SawEof();
}

}  // namespace hb9cv::emf
