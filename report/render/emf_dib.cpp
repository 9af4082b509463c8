// Device-independent bitmaps of the blit and DIB records, decoded into images with every size
// and offset checked against the record.
#include <QBuffer>
#include <QImageReader>

#include "report/render/emf_player_state.h"

namespace hb9cv::emf_play {

int MaskShift(std::uint32_t mask) {
  int shift = 0;
  while (mask && !(mask & 1u)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int Channel(std::uint32_t value, std::uint32_t mask) {
  if (!mask) return 0;
  const int shift = MaskShift(mask);
  const std::uint64_t max = std::uint64_t(mask) >> shift;
  return int((std::uint64_t((value & mask) >> shift) * 255 + max / 2) / max);
}

namespace {

// What the bitmap header says, read from a core header (12 bytes) or an info header (40 or
// more).
struct DibHeader {
  std::int64_t width = 0, height = 0;
  std::uint32_t bitCount = 0, compression = kBiRgb, colorsUsed = 0, tableEntry = 4;
  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  std::uint64_t tableOffset = 0;
};

// None for a header of no known size, or one that does not fit the record.
std::optional<DibHeader> ReadDibHeader(Bytes bmi) {
  DibHeader header;
  const std::uint32_t headerSize = bmi.Get<std::uint32_t>(0);
  header.tableOffset = headerSize;
  if (headerSize == 12) {
    header.width = bmi.Get<std::uint16_t>(4);
    header.height = bmi.Get<std::uint16_t>(6);
    header.bitCount = bmi.Get<std::uint16_t>(10);
    header.tableEntry = 3;
    return header;
  }
  if (headerSize < 40 || !bmi.Has(0, headerSize)) return std::nullopt;
  header.width = bmi.Get<std::int32_t>(4);
  header.height = bmi.Get<std::int32_t>(8);
  header.bitCount = bmi.Get<std::uint16_t>(14);
  header.compression = bmi.Get<std::uint32_t>(16);
  header.colorsUsed = bmi.Get<std::uint32_t>(32);
  if (header.compression == kBiBitfields) {
    // Masks follow a plain info header, or sit inside the larger ones.
    const std::uint64_t at = 40;
    if (!bmi.Has(at, 12)) return std::nullopt;
    for (int i = 0; i < 3; ++i) {
      header.masks[i] = bmi.Get<std::uint32_t>(at + 4u * std::uint32_t(i));
    }
    if (headerSize == 40) header.tableOffset += 12;
  }
  return header;
}

// A JPEG or PNG carried whole in the record.
QImage DecodeEmbedded(Bytes bits, DibInfo* info, int maxSide) {
  QByteArray data(reinterpret_cast<const char*>(bits.data()), qsizetype(bits.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > maxSide || size.height() > maxSide ||
      qint64(size.width()) * size.height() > kMaxImagePixels) {
    return {};
  }
  QImage image = reader.read();
  if (info && !image.isNull()) *info = {image.width(), image.height(), true};
  return image;
}

// The header with the masks of an uncompressed or bit-field bitmap settled; none for what is
// not played.
std::optional<DibHeader> SettlePixelFormat(DibHeader header) {
  const std::uint32_t bitCount = header.bitCount;
  if (header.compression == kBiBitfields) {
    if (bitCount != 16 && bitCount != 32) return std::nullopt;
  } else if (header.compression != kBiRgb) {
    return std::nullopt;  // run-length and other encodings are not played
  } else if (bitCount == 16) {
    header.masks[0] = 0x7C00;
    header.masks[1] = 0x03E0;
    header.masks[2] = 0x001F;
  }
  if (bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
      bitCount == 32) {
    return header;
  }
  return std::nullopt;
}

// The palette of a bitmap of up to 8 bits a pixel, padded with black to its full size (empty
// for more bits); none when the record is too short for it.
std::optional<QList<QRgb>> ReadColorTable(Bytes bmi, const DibHeader& header) {
  QList<QRgb> table;
  if (header.bitCount > 8) return table;
  const std::uint32_t full = 1u << header.bitCount;
  const std::uint32_t count = std::min(header.colorsUsed ? header.colorsUsed : full, full);
  if (!bmi.Has(header.tableOffset, std::uint64_t(count) * header.tableEntry)) return std::nullopt;
  table.resize(qsizetype(full), qRgb(0, 0, 0));
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t at = header.tableOffset + std::uint64_t(i) * header.tableEntry;
    table[qsizetype(i)] = qRgb(bmi.Get<std::uint8_t>(at + 2), bmi.Get<std::uint8_t>(at + 1),
                               bmi.Get<std::uint8_t>(at));
  }
  return table;
}

void UnpackRow(const DibHeader& header, const unsigned char* src, uchar* dst, int w) {
  const std::uint32_t bitCount = header.bitCount;
  if (bitCount == 24) {
    std::memcpy(dst, src, std::size_t(w) * 3);
  } else if (bitCount == 8) {
    std::memcpy(dst, src, std::size_t(w));
  } else if (bitCount < 8) {
    const int perByte = 8 / int(bitCount);
    const unsigned mask = (1u << bitCount) - 1;
    for (int x = 0; x < w; ++x) {
      const int shift = int(bitCount) * (perByte - 1 - x % perByte);
      dst[x] = uchar((src[x / perByte] >> shift) & mask);
    }
  } else {
    const std::uint32_t* masks = header.masks;
    const bool plainBgrx =
        bitCount == 32 && masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0xFF;
    auto* out = reinterpret_cast<QRgb*>(dst);
    for (int x = 0; x < w; ++x) {
      std::uint32_t v = 0;
      if (bitCount == 16) {
        v = std::uint32_t(src[2 * x]) | (std::uint32_t(src[2 * x + 1]) << 8);
      } else {
        std::memcpy(&v, src + 4 * x, 4);
      }
      out[x] = plainBgrx ? (0xFF000000u | (v & 0xFFFFFFu))
                         : qRgb(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
    }
  }
}

}  // namespace

// Decodes the bitmap of a record (header at offBmi, pixels at offBits) into a top-down image.
QImage DecodeDib(Bytes rec, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                 std::uint32_t cbBits, std::uint32_t usage, DibInfo* info, int maxSide) {
  if (usage != kDibRgbColors || cbBmi < 12 || !rec.Has(offBmi, cbBmi) ||
      !rec.Has(offBits, cbBits)) {
    return {};
  }
  const Bytes bmi = rec.Slice(offBmi, cbBmi);
  const Bytes bits = rec.Slice(offBits, cbBits);
  const std::optional<DibHeader> read = ReadDibHeader(bmi);
  if (!read) return {};
  const DibHeader& header = *read;
  const bool topDown = header.height < 0;
  const std::int64_t width = header.width, height = std::abs(header.height);
  if (width <= 0 || height <= 0 || width > maxSide || height > maxSide ||
      width * height > kMaxImagePixels) {
    return {};
  }
  if (info) *info = {width, height, topDown};

  if (header.compression == kBiJpeg || header.compression == kBiPng) {
    return DecodeEmbedded(bits, info, maxSide);
  }
  const std::optional<DibHeader> settled = SettlePixelFormat(header);
  if (!settled) return {};
  const std::optional<QList<QRgb>> table = ReadColorTable(bmi, *settled);
  if (!table) return {};
  const std::uint64_t stride = (std::uint64_t(width) * header.bitCount + 31) / 32 * 4;
  if (!bits.Has(0, stride * std::uint64_t(height))) return {};

  const int w = int(width), h = int(height);
  QImage image;
  if (header.bitCount == 24) {
    image = QImage(w, h, QImage::Format_BGR888);
  } else if (header.bitCount <= 8) {
    image = QImage(w, h, QImage::Format_Indexed8);
    image.setColorTable(*table);
  } else {
    image = QImage(w, h, QImage::Format_RGB32);
  }
  if (image.isNull()) return {};
  for (int y = 0; y < h; ++y) {
    const unsigned char* src = bits.data() + stride * std::uint64_t(topDown ? y : h - 1 - y);
    UnpackRow(*settled, src, image.scanLine(y), w);
  }
  return image;
}

}  // namespace hb9cv::emf_play
