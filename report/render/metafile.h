#pragma once
// A page picture: the bytes of one enhanced metafile, as the page list stores it.
#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>

namespace hb9cv {

class Metafile {
 public:
  Metafile() = default;
  // Takes the bytes as they are; Validate() tells whether they form a complete metafile.
  explicit Metafile(QByteArray bytes);

  bool IsNull() const { return bytes_.isEmpty(); }
  const QByteArray& Bytes() const { return bytes_; }
  qint64 Size() const { return bytes_.size(); }

  // False when the bytes do not even start with a metafile header.
  // Size in pixels of the reference device the picture was recorded against: the frame
  // converted with the device's pixels per millimetre.
  int Width() const { return size_.width(); }
  int Height() const { return size_.height(); }
  QSize PixelSize() const { return size_; }
  // The picture frame in hundredths of a millimetre (as stored, right/bottom as given).
  QRect Frame() const { return frame_; }
  // The drawing bounds in reference-device pixels, inclusive.
  QRect Bounds() const { return bounds_; }
  // Frame in reference-device pixels: the area a player maps onto its target rectangle.
  QRectF DeviceFrame() const { return deviceFrame_; }

  // Complete structural check: header, every record's size, the end record, and a header
  // byte count equal to the length.
  bool Validate() const;

  bool operator==(const Metafile& other) const { return bytes_ == other.bytes_; }

 private:
  QByteArray bytes_;
  bool hasHeader_ = false;
  QSize size_;
  QRect frame_;
  QRect bounds_;
  QRectF deviceFrame_;
};

}  // namespace hb9cv
