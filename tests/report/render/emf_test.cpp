// Page pictures: recorded pages play back as they were drawn; pictures from other programs play;
// damaged and hostile ones are refused or played harmlessly.
#include <gtest/gtest.h>
#include <uemf.h>

#include <QDir>
#include <QElapsedTimer>
#include <cstring>

#include "report/render/emf_format.h"
#include "report/store/page_list.h"
#include "report/store/qr_error.h"
#include "tests/report/emf_test_util.h"

namespace hb9cv {
namespace {

using namespace emftest;

QByteArray Patch32(QByteArray b, qsizetype at, std::uint32_t v) {
  std::memcpy(b.data() + at, &v, 4);
  return b;
}

// Offset of the first record of a type.
qsizetype Find(const QByteArray& emf, std::uint32_t type) {
  emf::RecordReader reader(emf::Bytes(emf.constData(), std::size_t(emf.size())));
  while (const auto r = reader.Next()) {
    if (r->type == type) return reinterpret_cast<const char*>(r->bytes.data()) - emf.constData();
  }
  return -1;
}

TEST(EmfTest, RecordedPagesPlayBackAsDrawnAtAnySizeAndPlace) {
  const struct {
    const char* name;
    std::function<Metafile()> record;
    std::function<QImage()> direct;
  } cases[] = {
      {"sample", [] { return RecordPage(DrawSamplePage); },
       [] { return RenderDirect(DrawSamplePage); }},
      {"145 MHz", Page145,
       [] {
         auto form = test::FormAfter145MHz();
         return RenderReportPage(form->Report1, FactorForDpi(96), FactorForDpi(96));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Metafile page = c.record();
    ASSERT_TRUE(page.Validate());
    EXPECT_EQ(page.PixelSize(), kPagePixels);
    EXPECT_EQ(c.record(), page);  // every byte written on purpose
    const QImage direct = c.direct();
    const QImage played = RenderPage(page, page.PixelSize());
    const ImageDiff d = Compare(played, direct, 24);
    EXPECT_LE(d.differing, 50) << "mean " << d.meanChannel;
    EXPECT_LT(d.meanChannel, 0.05);
    // The preview draws pages at other sizes and places; the picture follows the target.
    QImage canvas(500, 700, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.fillRect(QRect(50, 60, 397, 562), Qt::white);
    ASSERT_TRUE(PlayEmf(p, page, QRectF(50, 60, 397, 562)));
    p.end();
    const ImageDiff h =
        Compare(canvas.copy(50, 60, 397, 562),
                direct.scaled(397, 562, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 96);
    EXPECT_LT(h.meanChannel, 2.0);
    EXPECT_LT(h.differing, 1500);
    EXPECT_EQ(canvas.pixel(10, 10), QColor(Qt::gray).rgb());  // nothing outside the target
    EXPECT_EQ(canvas.pixel(480, 680), QColor(Qt::gray).rgb());
  }
}

QByteArray SmallPage() {
  return RecordPage([](Canvas& c) {
           c.FillRect({10, 10, 60, 40}, QColor(0, 0, 255));
           c.SetFont({});
           c.TextOut(10, 50, QStringLiteral("Text"));
         })
      .Bytes();
}

TEST(EmfTest, DamagedPicturesAreRefusedWholeAndNothingIsDrawn) {
  const QByteArray good = SmallPage();
  const qsizetype eof = Find(good, U_EMR_EOF), rect = Find(good, U_EMR_RECTANGLE);
  ASSERT_GT(eof, 0);
  ASSERT_GT(rect, 0);
  const QByteArray noEof = Patch32(good.left(eof), 48, std::uint32_t(eof));
  const QByteArray afterEof =
      Patch32(good + good.mid(rect, 24), 48, std::uint32_t(good.size() + 24));
  // Each record check in its order: at least 8 bytes, a multiple of 4, within what is left.
  // clang-format off
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", QByteArray()}, {"cut inside the header", good.left(60)},
      {"byte count larger", Patch32(good, 48, std::uint32_t(good.size() + 4))},
      {"byte count smaller", Patch32(good, 48, std::uint32_t(good.size() - 20))},
      {"signature", Patch32(good, 40, 0x12345678)},
      {"record size zero", Patch32(good, rect + 4, 0)}, {"record size below 8", Patch32(good, rect + 4, 4)},
      {"record size not a multiple of 4", Patch32(good, rect + 4, 26)},
      {"record size past the end", Patch32(good, rect + 4, 0x7FFFFFF0)}, {"no end record", noEof},
      {"record after the end", afterEof}, {"header not first", good.mid(rect, 24) + good},
      {"header record size", Patch32(good, 4, 0xFFFFFFF0)},
  };
  // clang-format on
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const Metafile m(bytes);
    EXPECT_FALSE(m.Validate());
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    EXPECT_FALSE(PlayEmf(p, m, QRectF(0, 0, 100, 100)));
    p.end();
    EXPECT_EQ(InkIn(image, image.rect(), 250), 0);
  }
}

TEST(EmfTest, RecordsThatContradictTheirSizeOrAreUnknownAreSkipped) {
  QByteArray page = SmallPage();
  page = Patch32(page, Find(page, U_EMR_EXTTEXTOUTW) + 44, 100000);  // more characters than held
  page = Patch32(page, Find(page, U_EMR_SETBKMODE), 999);            // an unknown type
  const Metafile m(page);
  ASSERT_TRUE(m.Validate());
  const QImage image = RenderPage(m, m.PixelSize());
  EXPECT_EQ(image.pixel(30, 20), qRgb(0, 0, 255));    // the fill still plays
  EXPECT_EQ(InkIn(image, QRect(10, 50, 60, 20)), 0);  // the text does not
}

// ---------------------------------------------------------------------------------------------
// Pictures from other programs, built record by record with libUEMF as theirs are.

class ForeignEmf {
 public:
  ForeignEmf(int width, int height, int mmW, int mmH) {
    emf_htable_create(32, 32, &handles_);
    Add(U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(width - 1, height - 1)),
                        rectl_set(point32_set(0, 0), point32_set(mmW * 100, mmH * 100)), nullptr, 0,
                        nullptr, sizel_set(width, height), sizel_set(mmW, mmH), 0));
  }
  ~ForeignEmf() { emf_htable_free(&handles_); }
  void Add(char* record) {
    ASSERT_NE(record, nullptr);
    bytes_.append(record, qsizetype(reinterpret_cast<U_EMR*>(record)->nSize));
    std::free(record);
    ++count_;
  }
  EMFHANDLES* H() { return handles_; }
  Metafile Finish() {
    EMFTRACK t{};
    Add(U_EMREOF_set(0, nullptr, &t));
    QByteArray b = Patch32(Patch32(bytes_, 48, std::uint32_t(bytes_.size())), 52, count_);
    const std::uint16_t nHandles = std::uint16_t(handles_->peak + 1);
    std::memcpy(b.data() + 56, &nHandles, 2);
    return Metafile(b);
  }
  void Font(int height, int weight = U_FW_BOLD) {
    uint16_t face[U_LF_FACESIZE] = {'A', 'r', 'i', 'a', 'l', 0};
    U_LOGFONT lf =
        logfont_set(height, 0, 0, 0, weight, 0, 0, 0, U_DEFAULT_CHARSET, 0, 0, 0, 0, face);
    uint32_t font = 0;
    Add(extcreatefontindirectw_set(&font, H(), reinterpret_cast<const char*>(&lf), nullptr));
    Add(selectobject_set(font, H()));
    Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
  }

 private:
  EMFHANDLES* handles_ = nullptr;
  QByteArray bytes_;
  std::uint32_t count_ = 0;
};

U_RECTL R(int l, int t, int r, int b) {
  return rectl_set(point32_set(l, t), point32_set(r, b));
}

// A text record without an advance array (offDx 0), as some programs write them.
char* TextWithoutAdvances(int x, int y, std::u16string text) {
  std::vector<uint32_t> dx(text.size(), 0);
  char* et = emrtext_set(point32_set(x, y), U_NUM_STR(text.size()), 2, text.data(), U_ETO_NONE,
                         R(0, 0, -1, -1), dx.data());
  char* rec = U_EMREXTTEXTOUTW_set(R(0, 0, -1, -1), U_GM_COMPATIBLE, 1, 1,
                                   reinterpret_cast<PU_EMRTEXT>(et));
  std::free(et);
  std::memset(rec + 36 + sizeof(U_EMRTEXT) + sizeof(U_RECTL), 0, 4);
  return rec;
}

TEST(EmfTest, PlaysTheCommonSubsetOfOtherProgramsPictures) {
  ForeignEmf f(200, 200, 50, 50);
  // Logical units of a tenth of a pixel: (1000, 1000) logical is pixel (100, 100).
  f.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  f.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(2000, 2000)));
  f.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(200, 200)));
  f.Add(U_EMRSETWINDOWORGEX_set(point32_set(0, 0)));
  uint32_t red = 0, green = 0, pen = 0;
  f.Add(
      createbrushindirect_set(&red, f.H(), logbrush_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0)));
  f.Add(createbrushindirect_set(&green, f.H(),
                                logbrush_set(U_BS_SOLID, colorref3_set(0, 255, 0), 0)));
  f.Add(createpen_set(&pen, f.H(),
                      logpen_set(U_PS_SOLID, point32_set(0, 0), colorref3_set(0, 0, 255))));
  f.Add(selectobject_set(red, f.H()));
  f.Add(selectobject_set(U_NULL_PEN, f.H()));
  f.Add(U_EMRRECTANGLE_set(R(100, 100, 501, 501)));  // pixels 10..49
  // Saved state: a green 16-bit polygon, then a red rectangle clipped to a band.
  f.Add(U_EMRSAVEDC_set());
  f.Add(selectobject_set(green, f.H()));
  const U_POINT16 tri[] = {point16_set(1000, 100), point16_set(1900, 100), point16_set(1900, 900)};
  f.Add(U_EMRPOLYGON16_set(R(1000, 100, 1900, 900), 3, tri));
  f.Add(U_EMRINTERSECTCLIPRECT_set(R(0, 1200, 2000, 1300)));
  f.Add(selectobject_set(red, f.H()));
  f.Add(U_EMRRECTANGLE_set(R(0, 1000, 2000, 1500)));
  f.Add(U_EMRRESTOREDC_set(-1));
  f.Add(U_EMRRECTANGLE_set(R(100, 1800, 301, 1901)));  // red again, clip gone
  f.Add(selectobject_set(pen, f.H()));
  const U_POINTL line[] = {point32_set(100, 1950), point32_set(1900, 1950)};
  f.Add(U_EMRPOLYLINE_set(R(100, 1950, 1900, 1950), 2, line));
  // A world transform moves the next rectangle 50 logical units right.
  f.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 500, 0)));
  f.Add(selectobject_set(U_BLACK_BRUSH, f.H()));
  f.Add(U_EMRRECTANGLE_set(R(1000, 1800, 1201, 1901)));  // pixels 150..169
  f.Add(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 0, 0), U_MWT_IDENTITY));
  // An 8-bit bitmap with a palette, 2×2 pixels stretched to 20×20 at (10, 60).
  const U_RGBQUAD palette[2] = {rgbquad_set(255, 255, 0, 0), rgbquad_set(0, 255, 255, 0)};
  PU_BITMAPINFO bmi = bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 8, U_BI_RGB, 8, 0, 0, 2, 0),
                                     const_cast<PU_RGBQUAD>(palette));
  char px[8] = {1, 1, 0, 0, 0, 0, 0, 0};  // bottom row cyan, top row yellow
  f.Add(U_EMRSTRETCHDIBITS_set(R(100, 600, 299, 799), point32_set(100, 600), point32_set(200, 200),
                               point32_set(0, 0), point32_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY,
                               bmi, 8, px));
  std::free(bmi);
  // A 16-bit 5-5-5 bitmap at (60, 60): red 16 of 31 is 131.6, rounded to 132.
  bmi = bitmapinfo_set(bitmapinfoheader_set(1, 1, 1, 16, U_BI_RGB, 4, 0, 0, 0, 0), nullptr);
  char px16[4] = {0x00, 0x40, 0, 0};
  f.Add(U_EMRSTRETCHDIBITS_set(R(600, 600, 799, 799), point32_set(600, 600), point32_set(200, 200),
                               point32_set(0, 0), point32_set(1, 1), U_DIB_RGB_COLORS, U_SRCCOPY,
                               bmi, 4, px16));
  std::free(bmi);
  // Text without advances, centred on its reference point on the baseline (100, 175).
  f.Font(-300);
  f.Add(U_EMRSETTEXTALIGN_set(U_TA_CENTER | U_TA_BASELINE));
  f.Add(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 255)));
  f.Add(TextWithoutAdvances(1000, 1750, u"HI"));
  const Metafile m = f.Finish();
  ASSERT_TRUE(m.Validate());
  ASSERT_EQ(m.PixelSize(), QSize(200, 200));
  const QImage img = RenderPage(m, QSize(200, 200));
  const QRgb kRed = qRgb(255, 0, 0), kWhite = qRgb(255, 255, 255);
  const struct {
    int x, y;
    QRgb rgb;
  } pixels[] = {
      {30, 30, kRed},
      {9, 30, kWhite},
      {49, 30, kRed},
      {50, 30, kWhite},  // null pen: edge exclusive
      {185, 20, qRgb(0, 255, 0)},
      {110, 80, kWhite},  // the triangle
      {100, 125, kRed},
      {100, 115, kWhite},
      {100, 135, kWhite},  // the clip band
      {20, 185, kRed},
      {50, 195, qRgb(0, 0, 255)},  // after the restore
      {160, 185, qRgb(0, 0, 0)},
      {110, 185, kWhite},  // world transform
      {70, 70, qRgb(132, 0, 0)},
  };
  for (const auto& px : pixels) EXPECT_EQ(img.pixel(px.x, px.y), px.rgb) << px.x << "," << px.y;
  const QColor top = img.pixelColor(20, 64), bottom = img.pixelColor(20, 76);  // smoothly scaled
  EXPECT_TRUE(top.red() > 220 && top.blue() < 40) << top.name().toStdString();
  EXPECT_TRUE(bottom.red() < 40 && bottom.blue() > 220) << bottom.name().toStdString();
  EXPECT_GT(InkIn(img, QRect(85, 155, 30, 20)), 40);
  EXPECT_EQ(InkIn(img, QRect(85, 176, 30, 3)), 0);
  EXPECT_EQ(InkIn(img, QRect(0, 150, 75, 26)) + InkIn(img, QRect(125, 150, 75, 26)), 0);
  const QImage glyphs = img.copy(85, 155, 30, 20);  // in the text colour
  const auto* bits = reinterpret_cast<const QRgb*>(glyphs.constBits());
  EXPECT_NE(std::count(bits, bits + 600, qRgb(0, 0, 255)), 0);
  // A font of weight 0 has the normal weight.
  const auto text = [](int weight) {
    ForeignEmf g(200, 50, 50, 13);
    g.Font(-30, weight);
    g.Add(TextWithoutAdvances(10, 10, u"HI"));
    return RenderPage(g.Finish(), QSize(200, 50));
  };
  EXPECT_EQ(text(0), text(400));
  EXPECT_NE(text(0), text(700));
  // With the y axis up (0.01 mm units) text stays upright: a 10 mm "T" hangs from (20 mm, 20 mm),
  // pixel (80, 80), down over its stem.
  ForeignEmf up(400, 400, 100, 100);
  up.Add(U_EMRSETMAPMODE_set(U_MM_HIMETRIC));
  up.Font(-1000);
  up.Add(TextWithoutAdvances(2000, -2000, u"T"));
  const QImage t = RenderPage(up.Finish(), QSize(400, 400));
  EXPECT_EQ(InkIn(t, QRect(0, 0, 400, 80)), 0);
  EXPECT_GT(InkIn(t, QRect(70, 100, 60, 15)), 10);
}

// Pictures that once crashed or hung the player (fuzzer findings, giant fonts, transforms and
// viewports, deep saves, handles beyond the table) load and play in reasonable time.
TEST(EmfTest, HostilePicturesLoadAndPlayWithoutHarm) {
  const QDir dir(test::SourcePath(QStringLiteral("tests/report/data/emf_regressions")));
  const QStringList files = dir.entryList({QStringLiteral("*.QRP")}, QDir::Files);
  ASSERT_EQ(files.size(), 7) << dir.path().toStdString();
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<TQRPageList> list;
    try {
      list = TQRPageList::LoadFromFile(dir.filePath(name));
    } catch (const EQRError&) {
      continue;  // what the loader refuses cannot reach the player
    }
    for (int n = 1; n <= list->PageCount(); ++n) {
      const Metafile page = list->GetPage(n);
      ASSERT_FALSE(page.IsNull());
      for (const QSize size : {QSize(100, 141), QSize(794, 1123), QSize(2000, 2828)})
        EXPECT_FALSE(RenderPage(page, size).isNull());
    }
    EXPECT_LT(timer.elapsed(), 10000);
  }
}

}  // namespace
}  // namespace hb9cv
