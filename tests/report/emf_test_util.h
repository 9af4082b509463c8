#pragma once
// Page-picture test helpers: a sample page, the page after 145 MHz, rendering and comparing.
#include <cstdlib>
#include <ostream>

#include "report/print/qr_printer.h"
#include "report/render/emf_player.h"
#include "report/render/emf_recorder.h"
#include "resources/drawing.h"
#include "tests/report/report_test_util.h"

namespace hb9cv {
// Shows a page picture in test failures by its size and a checksum, not its object bytes.
inline void PrintTo(const Metafile& m, std::ostream* os) {
  *os << "Metafile(" << m.Size() << " bytes, crc " << qChecksum(m.Bytes()) << ")";
}
}  // namespace hb9cv

namespace hb9cv::emftest {

// An A4 page at 96 pixels per inch.
inline const QSize kPagePixels(794, 1123);

using PageFn = std::function<void(Canvas&)>;

// What the report page does not draw itself: coloured fills, a clip around a fill and text,
// and an unclipped picture scaled down.
inline void DrawSamplePage(Canvas& c) {
  c.FillRect({38, 38, 756, 1086}, Qt::white);
  c.SetFont({.pointSize = 9});
  c.TextOut(98, 645,
            QString::fromUtf8("Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu"));
  c.FillRect({98, 700, 300, 720}, QColor(200, 30, 40));
  c.SetClipRect({100, 740, 160, 760});
  c.FillRect({90, 730, 400, 800}, QColor(20, 90, 200));
  c.SetFont({.pointSize = 6, .bold = true});
  c.TextOut(102, 742, QStringLiteral("Kvetorad clipped text beyond"));
  c.ClearClip();
  c.StretchDraw({500, 700, 658, 789}, AntennaDrawing(DrawingBackground::White));
}

inline Metafile RecordPage(const PageFn& draw) {
  EmfRecorder recorder(kPagePixels, QSize(21000, 29700), 96, 96);  // paper in 0.01 mm
  draw(recorder);
  return recorder.Finish();
}

// The same page drawn straight onto an image through the QPainter canvas.
inline QImage RenderDirect(const PageFn& draw) {
  QImage image(kPagePixels, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QPainterCanvas canvas(painter, 96, 96);
  draw(canvas);
  return image;
}

// The page after 145 MHz as a preview build records it.
inline Metafile Page145() {
  auto form = test::FormAfter145MHz();
  TQRPrinter printer;
  form->Report1.Generate(printer);
  return printer.GetPage(1);
}

struct ImageDiff {
  qint64 differing = 0;    // pixels that differ by more than the threshold in some channel
  double meanChannel = 0;  // mean absolute channel difference
};

inline ImageDiff Compare(const QImage& a0, const QImage& b0, int threshold = 0) {
  const QImage a = a0.convertToFormat(QImage::Format_RGB32),
               b = b0.convertToFormat(QImage::Format_RGB32);
  if (a.size() != b.size()) return {1 << 30, 255};  // fails every bound
  ImageDiff d;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
      const int dr = std::abs(qRed(pa) - qRed(pb)), dg = std::abs(qGreen(pa) - qGreen(pb)),
                db = std::abs(qBlue(pa) - qBlue(pb));
      d.differing += std::max({dr, dg, db}) > threshold;
      d.meanChannel += dr + dg + db;
    }
  }
  d.meanChannel /= 3.0 * a.width() * a.height();
  return d;
}

// Dark pixels (ink) inside a rectangle of an image.
inline int InkIn(const QImage& image, const QRect& r, int level = 128) {
  int n = 0;
  const QRect area = r.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += qGray(image.pixel(x, y)) < level;
  }
  return n;
}

}  // namespace hb9cv::emftest
