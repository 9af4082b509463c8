// Draws the antenna picture and the window icon and writes the files that the program embeds:
//   hb9cv_drawing_generator OUTDIR [--quality N] [--png]
// antenna-grey.jpg (the window's copy), antenna-white.jpg (the report's copy), hb9cv.png (icon),
// and with --png lossless antenna-*.png references to compare the JPEGs against.
//   hb9cv_drawing_generator --svg FILE
// writes the same picture as SVG for the web page, the same pixel runs as rectangles; its
// background rectangle has the class "paper", so that the page colours it grey or white.
//
// Every element is a run of whole pixels: no antialiasing, so that the thin dimension lines
// stay one pixel wide and the value labels, which sit at fixed pixel places, meet them.
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

// After <cstdio>: libjpeg's header uses FILE and size_t without declaring them.
#include <jpeglib.h>

namespace {

constexpr int kWidth = 632;
constexpr int kHeight = 355;

class Picture {
 public:
  Picture(int width, int height, QRgb background, QRgb ink)
      : image_(width, height, QImage::Format_RGB32), background_(background), ink_(ink) {
    image_.fill(background);
  }

  // Inclusive ranges, as the layout is measured.
  void Fill(int x0, int x1, int y0, int y1) { Paint(x0, x1, y0, y1, ink_); }
  void Clear(int x0, int x1, int y0, int y1) { Paint(x0, x1, y0, y1, background_); }
  void HLine(int x0, int x1, int y) { Fill(x0, x1, y, y); }
  void VLine(int x, int y0, int y1) { Fill(x, x, y0, y1); }

  // Hollow square: a one-pixel outline; what lies inside is left as it is.
  void Frame(int x0, int x1, int y0, int y1) {
    HLine(x0, x1, y0);
    HLine(x0, x1, y1);
    VLine(x0, y0, y1);
    VLine(x1, y0, y1);
  }

  // Filled arrow head, 7 pixels long and 7 wide, with its tip on the given pixel.
  enum class Dir { Left, Right, Up, Down };
  void Head(int x, int y, Dir dir) {
    for (int k = 0; k < kHeadLength; ++k) {
      const int h = k / 2;
      switch (dir) {
        case Dir::Left:
          VLine(x + k, y - h, y + h);
          break;
        case Dir::Right:
          VLine(x - k, y - h, y + h);
          break;
        case Dir::Up:
          HLine(x - h, x + h, y + k);
          break;
        case Dir::Down:
          HLine(x - h, x + h, y - k);
          break;
      }
    }
  }

  // Dimension lines with a head at each end, tips on the end pixels.
  void HDimension(int x0, int x1, int y) {
    HLine(x0, x1, y);
    Head(x0, y, Dir::Left);
    Head(x1, y, Dir::Right);
  }
  void VDimension(int x, int y0, int y1) {
    VLine(x, y0, y1);
    Head(x, y0, Dir::Up);
    Head(x, y1, Dir::Down);
  }

  QImage& image() { return image_; }

  // Every run in drawing order, clipped to the picture like the pixels.
  std::string Svg() const {
    const int w = image_.width(), h = image_.height();
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(w) + " " +
        std::to_string(h) + "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
        "\" shape-rendering=\"crispEdges\"><rect class=\"paper\" fill=\"#fff\" width=\"" +
        std::to_string(w) + "\" height=\"" + std::to_string(h) + "\"/>";
    for (const Run& r : runs_) {
      const int x0 = std::max(r.x0, 0), x1 = std::min(r.x1, w - 1);
      const int y0 = std::max(r.y0, 0), y1 = std::min(r.y1, h - 1);
      if (x0 > x1 || y0 > y1) continue;
      svg += std::string("<rect") + (r.ink ? "" : " class=\"paper\" fill=\"#fff\"") + " x=\"" +
             std::to_string(x0) + "\" y=\"" + std::to_string(y0) + "\" width=\"" +
             std::to_string(x1 - x0 + 1) + "\" height=\"" + std::to_string(y1 - y0 + 1) + "\"/>";
    }
    return svg + "</svg>\n";
  }

  static constexpr int kHeadLength = 7;

 private:
  void Paint(int x0, int x1, int y0, int y1, QRgb colour) {
    runs_.push_back({x0, x1, y0, y1, colour == ink_});
    for (int y = y0; y <= y1; ++y) {
      if (y < 0 || y >= image_.height()) continue;
      auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
      for (int x = x0; x <= x1; ++x) {
        if (x >= 0 && x < image_.width()) line[x] = colour;
      }
    }
  }

  struct Run {
    int x0, x1, y0, y1;
    bool ink;
  };
  QImage image_;
  std::vector<Run> runs_;
  QRgb background_;
  QRgb ink_;
};

// Letter X as two strokes two pixels wide, filling the box x0..x0+w-1, y0..y0+h-1.
void LetterX(Picture& p, int x0, int y0, int w, int h) {
  for (int r = 0; r < h; ++r) {
    const int d = (r * (w - 2) + (h - 1) / 2) / (h - 1);
    p.HLine(x0 + d, x0 + d + 1, y0 + r);
    p.HLine(x0 + w - 2 - d, x0 + w - 1 - d, y0 + r);
  }
}

Picture AntennaPicture(QRgb background) {
  using Dir = Picture::Dir;
  Picture p(kWidth, kHeight, background, qRgb(0, 0, 0));

  // The two elements and the boom that carries them.
  p.Fill(47, 578, 39, 46);    // radiator
  p.Fill(6, 623, 236, 243);   // reflector
  p.Fill(306, 320, 25, 348);  // boom
  // Direction of radiation: an arrow cut out of the boom's top square (y 25..38).
  for (int k = 0; k <= 4; ++k) p.Clear(313 - k, 313 + k, 27 + k, 27 + k);
  p.Clear(312, 314, 32, 37);

  // Feed terminals and their letters.
  p.Frame(318, 325, 44, 50);  // X
  LetterX(p, 322, 30, 10, 8);
  p.Frame(327, 333, 57, 63);  // X'
  LetterX(p, 335, 52, 9, 8);
  p.Fill(346, 347, 50, 52);  // the prime
  p.VLine(346, 53, 53);

  // Phasing line, three pixels wide. Radiator side: right from X', then up to the radiator.
  p.Fill(334, 436, 61, 63);
  p.Fill(434, 436, 47, 60);
  // Reflector side: down from X', across the boom, down, left, and down to the reflector.
  p.Fill(330, 332, 64, 139);
  p.Fill(293, 329, 137, 139);
  p.Fill(293, 295, 140, 218);
  p.Fill(184, 292, 216, 218);
  p.Fill(184, 186, 219, 235);

  // Radiator length.
  p.HDimension(49, 576, 11);
  p.VLine(47, 8, 36);
  p.VLine(578, 7, 36);
  // Reflector length.
  p.HDimension(8, 621, 277);
  p.VLine(6, 246, 280);
  p.VLine(623, 247, 280);
  // Element spacing.
  p.VDimension(548, 49, 233);
  // Tz: from the phasing line beside the boom to the radiator tap, whose line runs on down.
  p.HDimension(334, 433, 109);
  p.VLine(435, 64, 113);
  // Tr: from the reflector tap's extension line to the phasing line beside the boom.
  p.HDimension(187, 291, 197);
  p.VLine(185, 193, 212);
  // x: the gap between the radiator and the phasing line, with a leader to its value.
  p.VLine(446, 48, 60);
  p.Head(446, 48, Dir::Up);
  p.VLine(446, 64, 74);
  p.Head(446, 64, Dir::Up);
  p.HLine(450, 543, 78);
  // Diameter: an arrow down onto the radiator, a line below it and a leader to its value.
  p.VLine(80, 30, 37);
  p.Head(80, 37, Dir::Down);
  p.VLine(80, 48, 73);
  p.HLine(84, 269, 73);

  return p;
}

// 32 x 32, the sixteen standard colours: the antenna in yellow on black.
QImage Icon() {
  Picture p(32, 32, qRgb(0, 0, 0), qRgb(255, 255, 0));
  p.Fill(9, 22, 7, 8);    // radiator
  p.Fill(3, 28, 23, 24);  // reflector
  p.Fill(15, 16, 3, 29);  // boom
  p.HLine(14, 17, 3);     // its arrow
  p.HLine(13, 18, 4);
  // Phasing line from the feed point beside the boom to both elements.
  p.HLine(17, 21, 12);
  p.VLine(21, 9, 12);
  p.VLine(18, 12, 16);
  p.HLine(12, 18, 16);
  p.VLine(12, 16, 19);
  p.HLine(9, 12, 19);
  p.VLine(9, 19, 22);

  QList<QRgb> vga = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return p.image().convertToFormat(QImage::Format_Indexed8, vga, Qt::ThresholdDither);
}

// Baseline greyscale JPEG: the picture has no colour, and one component keeps the lines free
// of chroma fringes.
bool WriteJpeg(const QImage& image, const std::string& path, int quality) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);  // a tool: libjpeg's default exit on error is fine here
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(image.width());
  cinfo.image_height = static_cast<JDIMENSION>(image.height());
  cinfo.input_components = 1;
  cinfo.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(image.width()));
  while (cinfo.next_scanline < cinfo.image_height) {
    const auto* src =
        reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
    for (int x = 0; x < image.width(); ++x)
      row[static_cast<size_t>(x)] = static_cast<JSAMPLE>(qGray(src[x]));
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTDIR [--quality N] [--png] | --svg FILE\n", argv[0]);
    return 2;
  }
  if (std::strcmp(argv[1], "--svg") == 0 && argc == 3) {
    std::ofstream out(argv[2], std::ios::binary);
    out << AntennaPicture(qRgb(255, 255, 255)).Svg();
    out.close();
    if (out) return 0;
    std::fprintf(stderr, "could not write %s\n", argv[2]);
    return 1;
  }
  const std::string dir = argv[1];
  int quality = 100;
  bool png = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quality") == 0 && i + 1 < argc) {
      quality = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--png") == 0) {
      png = true;
    }
  }
  const QImage grey = AntennaPicture(qRgb(192, 192, 192)).image();
  const QImage white = AntennaPicture(qRgb(255, 255, 255)).image();
  bool ok = WriteJpeg(grey, dir + "/antenna-grey.jpg", quality) &&
            WriteJpeg(white, dir + "/antenna-white.jpg", quality) &&
            Icon().save(QString::fromStdString(dir + "/hb9cv.png"));
  if (png) {
    ok = ok && grey.save(QString::fromStdString(dir + "/antenna-grey.png")) &&
         white.save(QString::fromStdString(dir + "/antenna-white.png"));
  }
  if (!ok) {
    std::fprintf(stderr, "could not write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
