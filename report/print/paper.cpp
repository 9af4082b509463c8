#include "report/print/paper.h"

#include <cmath>

namespace hb9cv {

QPrinter::PaperSource ToPaperSource(TQRBin bin) {
  switch (bin) {
    case TQRBin::First:
    case TQRBin::Upper:
      return QPrinter::Upper;
    case TQRBin::Lower:
      return QPrinter::Lower;
    case TQRBin::Middle:
      return QPrinter::Middle;
    case TQRBin::Manual:
      return QPrinter::Manual;
    case TQRBin::Envelope:
      return QPrinter::Envelope;
    case TQRBin::EnvManual:
      return QPrinter::EnvelopeManual;
    case TQRBin::Auto:
      return QPrinter::Auto;
    case TQRBin::Tractor:
      return QPrinter::Tractor;
    case TQRBin::SmallFormat:
      return QPrinter::SmallFormat;
    case TQRBin::LargeFormat:
      return QPrinter::LargeFormat;
    case TQRBin::LargeCapacity:
      return QPrinter::LargeCapacity;
    case TQRBin::Cassette:
    case TQRBin::Last:
      return QPrinter::Cassette;
  }
  return QPrinter::Auto;
}

QPageSize::PageSizeId ToPageSizeId(TQRPaperSize size) {
  if (size == TQRPaperSize::Default || size == TQRPaperSize::Custom) return QPageSize::Custom;
  return QPageSize::id(PaperSizeInfo(size).deviceCode);
}

Float80 PaperTableWidth(TQRPaperSize size) {
  return Float80(PaperSizeInfo(size).width) * 10;
}

Float80 PaperTableLength(TQRPaperSize size) {
  return Float80(PaperSizeInfo(size).length) * 10;
}

PaperGuess DetectPaper(int pictureWidth, int pictureHeight, Float80 factor,
                       const std::function<bool(TQRPaperSize)>& acceptSize,
                       bool orientationSettable, PaperGuess current) {
  if (!(factor > 0)) return current;
  // Whole multiples of 4 mm: picture pixels -> tenths of a millimetre -> 4 mm steps.
  const auto quarters = [](Float80 v) { return static_cast<long long>(Truncate(v)); };
  const long long w = quarters(pictureWidth / factor / 40);
  const long long l = quarters(pictureHeight / factor / 40);
  PaperGuess result = current;
  const auto take = [&](TQRPaperSize size, PaperOrientation orientation) {
    if (acceptSize(size)) result.size = size;
    if (orientationSettable) result.orientation = orientation;
  };
  for (int i = static_cast<int>(TQRPaperSize::Letter); i <= static_cast<int>(TQRPaperSize::ESheet);
       ++i) {
    const auto paper = static_cast<TQRPaperSize>(i);
    const long long a = quarters(Float80(PaperSizeInfo(paper).width) / 4);
    const long long b = quarters(Float80(PaperSizeInfo(paper).length) / 4);
    if (w == a && l == b) take(paper, PaperOrientation::Portrait);
    if (l == a && w == b) take(paper, PaperOrientation::Landscape);
  }
  return result;
}

}  // namespace hb9cv
