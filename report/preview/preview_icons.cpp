// The preview toolbar's pictures, drawn rather than read from files.
#include "report/preview/preview_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace hb9cv {

namespace {

QPixmap NewImage() {
  QPixmap pixmap(kPreviewImageSize, kPreviewImageSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A sheet of paper with a folded corner.
void DrawSheet(QPainter& p, const QRectF& r) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 3, r.top());
  path.lineTo(r.right(), r.top() + 3);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(QColor(64, 64, 64), 1));
  p.setBrush(Qt::white);
  p.drawPath(path);
}

void DrawLens(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 40), 1.6));
  p.setBrush(QColor(210, 230, 255));
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(QPen(QColor(120, 70, 20), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
}

void DrawTriangle(QPainter& p, double tipX, double baseX) {
  QPainterPath path;
  path.moveTo(tipX, 8);
  path.lineTo(baseX, 3);
  path.lineTo(baseX, 13);
  path.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 90, 160));
  p.drawPath(path);
}

void DrawPrinter(QPainter& p) {
  DrawSheet(p, QRectF(4.5, 1.5, 7, 6));
  p.setPen(QPen(QColor(48, 48, 48), 1));
  p.setBrush(QColor(170, 170, 170));
  p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 160, 0));
  p.drawRect(QRectF(12, 8, 1.5, 1.5));
}

void DrawActualSize(QPainter& p) {
  DrawLens(p);
  QFont f = p.font();
  f.setPixelSize(7);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QRectF(1.5, 1.5, 9, 9), Qt::AlignCenter, QStringLiteral("1"));
}

void DrawPageWidth(QPainter& p) {
  DrawSheet(p, QRectF(1.5, 0.5, 13, 14));
  p.setPen(QPen(QColor(0, 90, 160), 1.4));
  p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
  p.setBrush(QColor(0, 90, 160));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(6, 5.5), QPointF(6, 10.5)}));
  p.drawPolygon(QPolygonF({QPointF(13, 8), QPointF(10, 5.5), QPointF(10, 10.5)}));
}

void DrawCheckMark(QPainter& p) {
  p.setPen(QPen(QColor(200, 120, 0), 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8.5, 3), QPointF(10.5, 5.5));
  p.drawLine(QPointF(10.5, 5.5), QPointF(15, 0.8));
}

void DrawFolder(QPainter& p) {
  p.setPen(QPen(QColor(120, 90, 0), 1));
  p.setBrush(QColor(230, 190, 60));
  p.drawPolygon(QPolygonF({QPointF(0.5, 3.5), QPointF(5.5, 3.5), QPointF(6.5, 4.5),
                           QPointF(12.5, 4.5), QPointF(12.5, 13.5), QPointF(0.5, 13.5)}));
  p.setBrush(QColor(250, 220, 110));
  p.drawPolygon(
      QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 13.5), QPointF(0.5, 13.5)}));
}

void DrawDisk(QPainter& p) {
  p.setPen(QPen(QColor(20, 30, 80), 1));
  p.setBrush(QColor(50, 80, 170));
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

QPixmap Draw(int index) {
  QPixmap pixmap = NewImage();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 0: {  // whole page
      DrawSheet(p, QRectF(4.5, 0.5, 9, 12));
      DrawLens(p);
      break;
    }
    case 1:  // 100 %
      DrawActualSize(p);
      break;
    case 2:  // page width
      DrawPageWidth(p);
      break;
    case 3:  // first
      p.fillRect(QRectF(3, 3, 2, 10), QColor(0, 90, 160));
      DrawTriangle(p, 5.5, 12);
      break;
    case 4:  // previous
      DrawTriangle(p, 4.5, 11);
      break;
    case 5:  // next
      DrawTriangle(p, 11.5, 5);
      break;
    case 6:  // last
      DrawTriangle(p, 10.5, 4);
      p.fillRect(QRectF(11, 3, 2, 10), QColor(0, 90, 160));
      break;
    case 7:  // printer setup: printer with a check mark
      DrawPrinter(p);
      DrawCheckMark(p);
      break;
    case 8:  // print
      DrawPrinter(p);
      break;
    case 9:  // load: open folder
      DrawFolder(p);
      break;
    case 10:  // save: a disk
      DrawDisk(p);
      break;
    default:
      break;
  }
  return pixmap;
}

}  // namespace

QList<QPixmap> PreviewImages() {
  QList<QPixmap> images;
  for (int i = 0; i <= 10; ++i) images << Draw(i);
  return images;
}

}  // namespace hb9cv
