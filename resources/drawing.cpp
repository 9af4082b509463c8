#include "resources/drawing.h"

#include <jpeglib.h>

#include <QFile>
#include <QPixmap>
#include <csetjmp>
#include <cstdio>
#include <string>

#include "calc/errors.h"

namespace hb9cv {
namespace {

// libjpeg reports errors through a callback that must not return. Unwinding a C++ exception
// through libjpeg's C frames is not safe, so the callback jumps back into DecodeInto (which
// owns no objects with destructors) and the exception is thrown from ordinary C++ code.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (level -1) mean corrupt data; libjpeg would go on and fill the rest with grey.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

// Largest picture accepted, so that hostile headers cannot ask for gigabytes.
constexpr JDIMENSION kMaxSide = 8192;

// Returns an empty string on success, else libjpeg's message. Plain C-style control flow only:
// a longjmp out of libjpeg lands here.
std::string DecodeInto(const QByteArray& jpeg, QImage& out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
  err.message[0] = '\0';
  QImage* volatile image = nullptr;
  if (setjmp(err.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    delete image;
    return err.message[0] != '\0' ? std::string(err.message) : std::string("JPEG error");
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    jpeg_destroy_decompress(&cinfo);
    return "Unsupported JPEG colour space";
  }
  if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide) {
    jpeg_destroy_decompress(&cinfo);
    return "JPEG image too large";
  }
  // Straight into the layout of Format_RGB32 (B, G, R, 0xFF in memory on a little-endian
  // machine), without a second pass over the picture.
  const bool direct = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
  cinfo.out_color_space = direct ? JCS_EXT_BGRA : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  image = new QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                     direct ? QImage::Format_RGB32 : QImage::Format_RGB888);
  if (image->isNull()) {
    jpeg_destroy_decompress(&cinfo);
    delete image;
    return "Not enough memory for the JPEG image";
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  out = direct ? *image : image->convertToFormat(QImage::Format_RGB32);
  delete image;
  return {};
}

QByteArray ReadResource(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw Exception("Missing resource " + path.toStdString());
  return file.readAll();
}

}  // namespace

QImage DecodeJpeg(const QByteArray& jpeg) {
  QImage image;
  const std::string error = DecodeInto(jpeg, image);
  if (!error.empty()) throw Exception(error);
  return image;
}

QImage AntennaDrawing(DrawingBackground background) {
  if (background == DrawingBackground::White) {
    static const QImage white =
        DecodeJpeg(ReadResource(QStringLiteral(":/hb9cv/antenna-white.jpg")));
    return white;
  }
  static const QImage grey = DecodeJpeg(ReadResource(QStringLiteral(":/hb9cv/antenna-grey.jpg")));
  return grey;
}

QIcon AppIcon() {
  // Drawn from this map, not read from hb9cv.png: reading any picture file makes Qt look
  // through all its picture format plug-ins, and the first window would wait for that.
  // clang-format off
  static constexpr const char* kRows[32] = {
      "................................",
      "................................",
      "................................",
      "..............####..............",
      ".............######.............",
      "...............##...............",
      "...............##...............",
      ".........##############.........",
      ".........##############.........",
      "...............##....#..........",
      "...............##....#..........",
      "...............##....#..........",
      "...............#######..........",
      "...............##.#.............",
      "...............##.#.............",
      "...............##.#.............",
      "............#######.............",
      "............#..##...............",
      "............#..##...............",
      ".........####..##...............",
      ".........#.....##...............",
      ".........#.....##...............",
      ".........#.....##...............",
      "...##########################...",
      "...##########################...",
      "...............##...............",
      "...............##...............",
      "...............##...............",
      "...............##...............",
      "...............##...............",
      "................................",
      "................................",
  };
  // clang-format on
  QImage image(32, 32, QImage::Format_Indexed8);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 0)});  // black, yellow
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) image.setPixel(x, y, kRows[y][x] == '#' ? 1 : 0);
  }
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace hb9cv
