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

// Decodes the bitmap of a record (header at offBmi, pixels at offBits) into a top-down image.
QImage DecodeDib(Bytes rec, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                 std::uint32_t cbBits, std::uint32_t usage, DibInfo* info,
                 int maxSide) {
  if (usage != kDibRgbColors || cbBmi < 12 || !rec.Has(offBmi, cbBmi) || !rec.Has(offBits, cbBits)) return {};
  const Bytes bmi = rec.Slice(offBmi, cbBmi);
  const Bytes bits = rec.Slice(offBits, cbBits);
  const std::uint32_t headerSize = bmi.Get<std::uint32_t>(0);
  std::int64_t width = 0, height = 0;
  std::uint32_t bitCount = 0, compression = kBiRgb, colorsUsed = 0, tableEntry = 4;
  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  std::uint64_t tableOffset = headerSize;
  if (headerSize == 12) {
    width = bmi.Get<std::uint16_t>(4);
    height = bmi.Get<std::uint16_t>(6);
    bitCount = bmi.Get<std::uint16_t>(10);
    tableEntry = 3;
  } else if (headerSize >= 40 && bmi.Has(0, headerSize)) {
    width = bmi.Get<std::int32_t>(4);
    height = bmi.Get<std::int32_t>(8);
    bitCount = bmi.Get<std::uint16_t>(14);
    compression = bmi.Get<std::uint32_t>(16);
    colorsUsed = bmi.Get<std::uint32_t>(32);
    if (compression == kBiBitfields) {
      // Masks follow a plain info header, or sit inside the larger ones.
      const std::uint64_t at = 40;
      if (!bmi.Has(at, 12)) return {};
      for (int i = 0; i < 3; ++i) masks[i] = bmi.Get<std::uint32_t>(at + 4u * std::uint32_t(i));
      if (headerSize == 40) tableOffset += 12;
    }
  } else {
    return {};
  }
  const bool topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height <= 0 || width > maxSide || height > maxSide ||
      width * height > kMaxImagePixels) {
    return {};
  }
  if (info) *info = {width, height, topDown};

  if (compression == kBiJpeg || compression == kBiPng) {
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
  if (compression == kBiBitfields) {
    if (bitCount != 16 && bitCount != 32) return {};
  } else if (compression != kBiRgb) {
    return {};  // run-length and other encodings are not played
  } else if (bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return {};
  }

  QList<QRgb> table;
  if (bitCount <= 8) {
    std::uint32_t count = colorsUsed ? colorsUsed : (1u << bitCount);
    count = std::min(count, 1u << bitCount);
    if (!bmi.Has(tableOffset, std::uint64_t(count) * tableEntry)) return {};
    table.resize(1 << bitCount, qRgb(0, 0, 0));
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint64_t at = tableOffset + std::uint64_t(i) * tableEntry;
      table[qsizetype(i)] = qRgb(bmi.Get<std::uint8_t>(at + 2), bmi.Get<std::uint8_t>(at + 1), bmi.Get<std::uint8_t>(at));
    }
  }
  const std::uint64_t stride = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
  if (!bits.Has(0, stride * std::uint64_t(height))) return {};

  const int w = int(width), h = int(height);
  QImage image;
  if (bitCount == 24) {
    image = QImage(w, h, QImage::Format_BGR888);
  } else if (bitCount <= 8) {
    image = QImage(w, h, QImage::Format_Indexed8);
    image.setColorTable(table);
  } else {
    image = QImage(w, h, QImage::Format_RGB32);
  }
  if (image.isNull()) return {};
  const bool plainBgrx = bitCount == 32 && masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0xFF;
  for (int y = 0; y < h; ++y) {
    const unsigned char* src = bits.data() + stride * std::uint64_t(topDown ? y : h - 1 - y);
    uchar* dst = image.scanLine(y);
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
  return image;
}

}  // namespace hb9cv::emf_play
