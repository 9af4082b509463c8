#pragma once
// The antenna drawing shown on the main window and on the report page, and the window icon.
// Both drawings are kept as baseline JPEGs inside the program and decoded with libjpeg.
#include <QByteArray>
#include <QIcon>
#include <QImage>

namespace hb9cv {

// Decodes a baseline or progressive JPEG (greyscale, YCbCr or RGB) into a Format_RGB32 image.
// Throws hb9cv::Exception with libjpeg's message when the data is not a complete, valid JPEG;
// corrupt-data warnings count as errors, so a damaged picture is never shown half grey.
QImage DecodeJpeg(const QByteArray& jpeg);

// clang-format off
enum class DrawingBackground {
  Grey,   // the main window's copy: black on red, green and blue 192
  White,  // the report's copy: the same lines on white
};
// clang-format on

// The 632 x 355 antenna picture, decoded once from the embedded JPEG and then shared.
QImage AntennaDrawing(DrawingBackground background);

// The program's 32 x 32 window icon.
QIcon AppIcon();

}  // namespace hb9cv
