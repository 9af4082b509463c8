// Page pictures: what the recorder writes, how the player draws it back, and how both treat
// pictures from other programs and damaged ones.
#include <gtest/gtest.h>
#include <uemf.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <cstring>
#include <map>

#include "emf_test_util.h"
#include "calc/errors.h"
#include "report/emf_format.h"
#include "report/page_list.h"

namespace hb9cv {
namespace {

using emftest::Compare;
using emftest::EnsureApp;

struct Rec {
  std::uint32_t type;
  QByteArray bytes;
  template <typename T>
  const T& As() const {
    return *reinterpret_cast<const T*>(bytes.constData());
  }
};

// The records of a metafile, split by their own sizes.
std::vector<Rec> Records(const QByteArray& emf) {
  std::vector<Rec> out;
  qsizetype pos = 0;
  while (pos + 8 <= emf.size()) {
    std::uint32_t type, size;
    std::memcpy(&type, emf.constData() + pos, 4);
    std::memcpy(&size, emf.constData() + pos + 4, 4);
    if (size < 8 || pos + size > emf.size()) break;
    out.push_back({type, emf.mid(pos, size)});
    pos += size;
  }
  return out;
}

QString TextOf(const Rec& r) {
  const auto& t = r.As<U_EMREXTTEXTOUTW>();
  const char16_t* s = reinterpret_cast<const char16_t*>(r.bytes.constData() + t.emrtext.offString);
  return QString::fromUtf16(s, t.emrtext.nChars);
}

std::vector<std::uint32_t> DxOf(const Rec& r) {
  const auto& t = r.As<U_EMREXTTEXTOUTW>();
  // The advance array's offset follows the optional rectangle.
  std::uint32_t offDx;
  std::memcpy(&offDx, r.bytes.constData() + 36 + sizeof(U_EMRTEXT) + sizeof(U_RECTL), 4);
  std::vector<std::uint32_t> dx(t.emrtext.nChars);
  std::memcpy(dx.data(), r.bytes.constData() + offDx, dx.size() * 4);
  return dx;
}

class EmfTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
};

TEST_F(EmfTest, HeaderDescribesThePaperAgainstTheScreen) {
  const Metafile page = emftest::RecordPage(emftest::DrawSamplePage);
  ASSERT_TRUE(page.Validate());
  const auto& h = *reinterpret_cast<const U_EMRHEADER*>(page.Bytes().constData());
  EXPECT_EQ(h.emr.iType, U_EMR_HEADER);
  EXPECT_EQ(h.dSignature, 0x464D4520u);
  // Bounds are inclusive: 794 × 1123 pixels end at 793 and 1122.
  EXPECT_EQ(h.rclBounds.left, 0);
  EXPECT_EQ(h.rclBounds.top, 0);
  EXPECT_EQ(h.rclBounds.right, 793);
  EXPECT_EQ(h.rclBounds.bottom, 1122);
  EXPECT_EQ(h.rclFrame.right - h.rclFrame.left, 21000);
  EXPECT_EQ(h.rclFrame.bottom - h.rclFrame.top, 29700);
  EXPECT_EQ(h.szlDevice.cx, 794);
  EXPECT_EQ(h.szlDevice.cy, 1123);
  EXPECT_EQ(h.szlMillimeters.cx, 210);
  EXPECT_EQ(h.szlMillimeters.cy, 297);
  EXPECT_EQ(h.nBytes, static_cast<std::uint32_t>(page.Size()));
  EXPECT_EQ(h.nRecords, Records(page.Bytes()).size());
  EXPECT_EQ(page.PixelSize(), QSize(794, 1123));
  // Each picture is stored whole, whatever size it is drawn at: two 632 × 355 pictures.
  EXPECT_GT(page.Size(), 2 * 632 * 355 * 3);
  EXPECT_LT(page.Size(), 2 * 632 * 355 * 3 + 20000);
}

TEST_F(EmfTest, RecordsFontsTextsFillsClipsAndThePicture) {
  const Metafile page = emftest::RecordPage(emftest::DrawSamplePage);
  const std::vector<Rec> recs = Records(page.Bytes());
  ASSERT_GT(recs.size(), 10u);
  EXPECT_EQ(recs.back().type, U_EMR_EOF);

  std::map<std::uint32_t, U_LOGFONT> fonts;
  std::uint32_t selectedFont = 0, selectedBrush = 0, pen = U_BLACK_PEN;
  std::map<std::uint32_t, std::uint32_t> brushColor;
  bool transparent = false;
  int depth = 0, maxDepth = 0, clipsInsideSave = 0, texts = 0, rectangles = 0, dibs = 0;
  EmfRecorder measure(emftest::kPagePixels, emftest::kPaper, 96, 96);
  for (const Rec& r : recs) {
    switch (r.type) {
      case U_EMR_SETBKMODE: transparent = r.As<U_EMRSETBKMODE>().iMode == U_TRANSPARENT; break;
      case U_EMR_EXTCREATEFONTINDIRECTW: {
        const auto& f = r.As<U_EMREXTCREATEFONTINDIRECTW>();
        fonts[f.ihFont] = f.elfw.elfLogFont;
        break;
      }
      case U_EMR_CREATEBRUSHINDIRECT: {
        const auto& b = r.As<U_EMRCREATEBRUSHINDIRECT>();
        EXPECT_EQ(b.lb.lbStyle, U_BS_SOLID);
        brushColor[b.ihBrush] = *reinterpret_cast<const std::uint32_t*>(&b.lb.lbColor);
        break;
      }
      case U_EMR_SELECTOBJECT: {
        const std::uint32_t ih = r.As<U_EMRSELECTOBJECT>().ihObject;
        if (fonts.count(ih)) selectedFont = ih;
        if (brushColor.count(ih)) selectedBrush = ih;
        if (ih == U_NULL_PEN || ih == U_BLACK_PEN) pen = ih;
        break;
      }
      case U_EMR_SAVEDC: maxDepth = std::max(maxDepth, ++depth); break;
      case U_EMR_RESTOREDC: --depth; break;
      case U_EMR_INTERSECTCLIPRECT: clipsInsideSave += depth > 0; break;
      case U_EMR_RECTANGLE:
        ++rectangles;
        EXPECT_EQ(pen, U_NULL_PEN);
        EXPECT_NE(selectedBrush, 0u);
        break;
      case U_EMR_EXTTEXTOUTW: {
        ++texts;
        EXPECT_TRUE(transparent);
        ASSERT_TRUE(fonts.count(selectedFont));
        const U_LOGFONT& lf = fonts[selectedFont];
        const QString face = QString::fromUtf16(reinterpret_cast<const char16_t*>(lf.lfFaceName));
        EXPECT_EQ(face, QStringLiteral("Arial"));
        // The advances add up to the width the screen measures for the same font.
        CanvasFont cf = emftest::Arial(0, lf.lfWeight == U_FW_BOLD, lf.lfUnderline != 0);
        cf.pointSize = -lf.lfHeight * 72.0 / 96;
        measure.SetFont(cf);
        const QString text = TextOf(r);
        std::uint32_t sum = 0;
        for (std::uint32_t dx : DxOf(r)) sum += dx;
        EXPECT_EQ(int(sum), measure.TextWidth(text)) << text.toStdString();
        break;
      }
      case U_EMR_STRETCHDIBITS: {
        ++dibs;
        const auto& s = r.As<U_EMRSTRETCHDIBITS>();
        const auto& bmi = *reinterpret_cast<const U_BITMAPINFOHEADER*>(r.bytes.constData() + s.offBmiSrc);
        EXPECT_EQ(bmi.biBitCount, 24);
        EXPECT_EQ(bmi.biWidth, 632);
        EXPECT_EQ(bmi.biHeight, 355);
        EXPECT_EQ(s.dwRop, U_SRCCOPY);
        break;
      }
      default: break;
    }
  }
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(clipsInsideSave, 2);
  EXPECT_EQ(texts, 9);
  EXPECT_EQ(rectangles, 5);
  EXPECT_EQ(dibs, 2);
  // Heights of the em square at 96 dpi: 16, 10, 9, 8 and 6 point.
  std::vector<int> heights;
  for (const auto& [ih, lf] : fonts) heights.push_back(lf.lfHeight);
  std::sort(heights.begin(), heights.end());
  EXPECT_EQ(heights, (std::vector<int>{-21, -13, -12, -11, -11, -8}));
}

TEST_F(EmfTest, FontRecordsCarryFaceHeightWeightAndUnderline) {
  const Metafile page = emftest::RecordPage([](Canvas& c) {
    c.SetFont(emftest::Arial(16, true, true));
    c.TextOut(10, 10, QStringLiteral("A"));
  });
  for (const Rec& r : Records(page.Bytes())) {
    if (r.type != U_EMR_EXTCREATEFONTINDIRECTW) continue;
    const U_LOGFONT& lf = r.As<U_EMREXTCREATEFONTINDIRECTW>().elfw.elfLogFont;
    EXPECT_EQ(lf.lfHeight, -21);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    return;
  }
  FAIL() << "no font record";
}

TEST_F(EmfTest, AdvancesPlaceEveryCharacterAsTheScreenDoes) {
  EmfRecorder rec(emftest::kPagePixels, emftest::kPaper, 96, 96);
  for (double points : {6.0, 8.0, 9.0, 10.0, 16.0}) {
    for (bool bold : {false, true}) {
      rec.SetFont(emftest::Arial(points, bold));
      const QString text = QString::fromUtf8("Průměr 2,89 až 5,17 mm \"Tz\" X'");
      const std::vector<int> dx = rec.CharacterAdvances(text);
      ASSERT_EQ(dx.size(), std::size_t(text.size()));
      int position = 0;
      for (qsizetype i = 0; i < text.size(); ++i) {
        EXPECT_GE(dx[std::size_t(i)], 0);
        position += dx[std::size_t(i)];
        EXPECT_NEAR(position, rec.TextWidth(text.left(i + 1)), 1) << points << " " << i;
      }
      EXPECT_EQ(position, rec.TextWidth(text));
    }
  }
}

TEST_F(EmfTest, PlaybackAt96DpiEqualsTheDirectRendering) {
  const Metafile page = emftest::RecordPage(emftest::DrawSamplePage);
  const QImage played = RenderPage(page, page.PixelSize());
  const QImage direct = emftest::RenderDirect(emftest::DrawSamplePage);
  emftest::SaveArtifact(played, QStringLiteral("sample-played.png"));
  emftest::SaveArtifact(direct, QStringLiteral("sample-direct.png"));
  ASSERT_FALSE(played.isNull());
  const emftest::ImageDiff d = Compare(played, direct, 24);
  EXPECT_LE(d.differing, 50) << "max " << d.maxChannel << " mean " << d.meanChannel;
  EXPECT_LT(d.meanChannel, 0.05);
}

TEST_F(EmfTest, PageAfter145MHzPlaysBackAsTheDirectRendering) {
  auto form = emftest::FormAfter145MHz();
  const Metafile page = emftest::RecordReportPage(form->Report1);
  ASSERT_TRUE(page.Validate());
  EXPECT_EQ(page.PixelSize(), QSize(794, 1123));
  const QImage direct = RenderReportPage(form->Report1, FactorForDpi(96), FactorForDpi(96));
  const QImage played = RenderPage(page, direct.size());
  emftest::SaveArtifact(played, QStringLiteral("page145-played.png"));
  emftest::SaveArtifact(direct, QStringLiteral("page145-direct.png"));
  ASSERT_FALSE(played.isNull());
  const emftest::ImageDiff d = Compare(played, direct, 24);
  EXPECT_LE(d.differing, 50) << "max " << d.maxChannel << " mean " << d.meanChannel;
  EXPECT_LT(d.meanChannel, 0.05);
  RecordProperty("page145_bytes", std::to_string(page.Size()));
  // About 675 KB: more than the 100000 bytes a page stream keeps in memory.
  EXPECT_GT(page.Size(), 632 * 355 * 3);
  EXPECT_LT(page.Size(), 690000);

  // Every label of the page is in the picture as text.
  QStringList texts;
  for (const Rec& r : Records(page.Bytes())) {
    if (r.type == U_EMR_EXTTEXTOUTW) texts << TextOf(r);
  }
  EXPECT_TRUE(texts.contains(QStringLiteral("951,7 mm"))) << texts.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(texts.contains(QString::fromUtf8("Průměr 2,89 až 5,17 mm")));
  EXPECT_TRUE(texts.contains(QStringLiteral("145 MHz")));
}

TEST_F(EmfTest, ScaledPlaybackKeepsThePageInPlace) {
  // The preview draws pages at other sizes; the picture follows the target rectangle.
  const Metafile page = emftest::RecordPage(emftest::DrawSamplePage);
  const QImage half = RenderPage(page, QSize(397, 562));
  const QImage full = emftest::RenderDirect(emftest::DrawSamplePage)
                          .scaled(397, 562, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const emftest::ImageDiff d = Compare(half, full, 96);
  EXPECT_LT(d.meanChannel, 2.0);
  EXPECT_LT(d.differing, 1500);
  // A target elsewhere on the painter.
  QImage canvas(900, 1300, QImage::Format_RGB32);
  canvas.fill(Qt::gray);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.fillRect(QRect(50, 60, 794, 1123), Qt::white);
  ASSERT_TRUE(PlayEmf(p, page, QRectF(50, 60, 794, 1123)));
  p.end();
  emftest::SaveArtifact(canvas, QStringLiteral("sample-offset.png"));
  const QImage direct = emftest::RenderDirect(emftest::DrawSamplePage);
  EXPECT_LE(Compare(canvas.copy(50, 60, 794, 1123), direct, 24).differing, 50);
  EXPECT_EQ(canvas.pixel(10, 10), QColor(Qt::gray).rgb());    // nothing outside the target
  EXPECT_EQ(canvas.pixel(880, 1250), QColor(Qt::gray).rgb());
}

// ---------------------------------------------------------------------------------------------
// Damaged pictures

QByteArray Patch32(QByteArray b, qsizetype at, std::uint32_t v) {
  std::memcpy(b.data() + at, &v, 4);
  return b;
}

// Offset of the first record of a type.
qsizetype Find(const QByteArray& emf, std::uint32_t type) {
  qsizetype pos = 0;
  for (const Rec& r : Records(emf)) {
    if (r.type == type) return pos;
    pos += r.bytes.size();
  }
  return -1;
}

QByteArray SmallPage() {
  return emftest::RecordPage([](Canvas& c) {
           c.FillRect({10, 10, 60, 40}, QColor(0, 0, 255));
           c.SetFont(emftest::Arial(10));
           c.TextOut(10, 50, QStringLiteral("Text"));
         })
      .Bytes();
}

TEST_F(EmfTest, RecordingIsDeterministic) {
  // Every byte is written on purpose: two recordings of one page are equal.
  EXPECT_EQ(SmallPage(), SmallPage());
  EXPECT_EQ(emftest::RecordPage(emftest::DrawSamplePage).Bytes(),
            emftest::RecordPage(emftest::DrawSamplePage).Bytes());
}

TEST_F(EmfTest, DamagedPicturesAreRefusedWholeAndNothingIsDrawn) {
  const QByteArray good = SmallPage();
  const qsizetype eof = Find(good, U_EMR_EOF);
  const qsizetype rect = Find(good, U_EMR_RECTANGLE);
  ASSERT_GT(eof, 0);
  ASSERT_GT(rect, 0);
  QByteArray noEof = good.left(eof);
  noEof = Patch32(noEof, 48, std::uint32_t(noEof.size()));
  QByteArray afterEof = good + good.mid(rect, 24);
  afterEof = Patch32(afterEof, 48, std::uint32_t(afterEof.size()));
  QByteArray headerSecond = good.mid(rect, 24) + good;
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"cut inside the header", good.left(60)},
      {"cut short", good.left(good.size() - 4)},
      {"byte count larger", Patch32(good, 48, std::uint32_t(good.size() + 4))},
      {"byte count smaller", Patch32(good, 48, std::uint32_t(good.size() - 20))},
      {"signature", Patch32(good, 40, 0x12345678)},
      {"record size below 8", Patch32(good, rect + 4, 4)},
      {"record size not a multiple of 4", Patch32(good, rect + 4, 26)},
      {"record size past the end", Patch32(good, rect + 4, 0x7FFFFFF0)},
      {"record size zero", Patch32(good, rect + 4, 0)},
      {"no end record", noEof},
      {"record after the end", afterEof},
      {"header not first", headerSecond},
      {"header record size", Patch32(good, 4, 0xFFFFFFF0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Metafile m(c.bytes);
    QString why;
    EXPECT_FALSE(m.Validate(&why));
    EXPECT_FALSE(why.isEmpty());
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    EXPECT_FALSE(PlayEmf(p, m, QRectF(0, 0, 100, 100)));
    p.end();
    EXPECT_EQ(emftest::InkIn(image, image.rect(), 250), 0);
  }
}

TEST_F(EmfTest, RecordsThatContradictTheirSizeOrAreUnknownAreSkipped) {
  QByteArray page = SmallPage();
  // A text record whose string claims more characters than the record holds.
  const qsizetype text = Find(page, U_EMR_EXTTEXTOUTW);
  page = Patch32(page, text + 44, 100000);
  // And an unknown record type in place of the font selection.
  page = Patch32(page, Find(page, U_EMR_SETBKMODE), 999);
  const Metafile m(page);
  ASSERT_TRUE(m.Validate());
  const QImage image = RenderPage(m, m.PixelSize());
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixel(30, 20), qRgb(0, 0, 255));  // the fill still plays
  EXPECT_EQ(emftest::InkIn(image, QRect(10, 50, 60, 20)), 0);  // the text does not
}

// ---------------------------------------------------------------------------------------------
// Pictures from other programs

// Builds a metafile record by record with libUEMF, as other programs' files are built.
class ForeignEmf {
 public:
  ForeignEmf(int width, int height, int mmW, int mmH) {
    emf_htable_create(32, 32, &handles_);
    Add(U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(width - 1, height - 1)),
                        rectl_set(point32_set(0, 0), point32_set(mmW * 100, mmH * 100)), nullptr, 0, nullptr,
                        sizel_set(width, height), sizel_set(mmW, mmH), 0));
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
    QByteArray b = Patch32(bytes_, 48, std::uint32_t(bytes_.size()));
    b = Patch32(b, 52, count_);
    const std::uint16_t nHandles = std::uint16_t(handles_->peak + 1);
    std::memcpy(b.data() + 56, &nHandles, 2);
    return Metafile(b);
  }

 private:
  EMFHANDLES* handles_ = nullptr;
  QByteArray bytes_;
  std::uint32_t count_ = 0;
};

U_RECTL R(int l, int t, int r, int b) { return rectl_set(point32_set(l, t), point32_set(r, b)); }

// A text record without an advance array (offDx 0), as some programs write them.
char* TextWithoutAdvances(int x, int y, std::u16string text) {
  std::vector<uint32_t> dx(text.size(), 0);
  char* et = emrtext_set(point32_set(x, y), U_NUM_STR(text.size()), 2, text.data(), U_ETO_NONE,
                         R(0, 0, -1, -1), dx.data());
  char* rec = U_EMREXTTEXTOUTW_set(R(0, 0, -1, -1), U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(et));
  std::free(et);
  const std::uint32_t zero = 0;
  std::memcpy(rec + 36 + sizeof(U_EMRTEXT) + sizeof(U_RECTL), &zero, 4);
  return rec;
}

TEST_F(EmfTest, PlaysTheCommonSubsetOfOtherProgramsPictures) {
  ForeignEmf f(200, 200, 50, 50);
  // Logical units of a tenth of a pixel, origin moved: (1000, 1000) logical is pixel (100, 100).
  f.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  f.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(2000, 2000)));
  f.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(200, 200)));
  f.Add(U_EMRSETWINDOWORGEX_set(point32_set(0, 0)));
  uint32_t red = 0, green = 0, pen = 0;
  f.Add(createbrushindirect_set(&red, f.H(), logbrush_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0)));
  f.Add(createbrushindirect_set(&green, f.H(), logbrush_set(U_BS_SOLID, colorref3_set(0, 255, 0), 0)));
  f.Add(createpen_set(&pen, f.H(), logpen_set(U_PS_SOLID, point32_set(0, 0), colorref3_set(0, 0, 255))));
  f.Add(selectobject_set(red, f.H()));
  f.Add(selectobject_set(U_NULL_PEN, f.H()));
  f.Add(U_EMRRECTANGLE_set(R(100, 100, 501, 501)));  // pixels 10..49
  // A polygon with 16-bit points in green, drawn after saving the state.
  f.Add(U_EMRSAVEDC_set());
  f.Add(selectobject_set(green, f.H()));
  const U_POINT16 tri[] = {point16_set(1000, 100), point16_set(1900, 100), point16_set(1900, 900)};
  f.Add(U_EMRPOLYGON16_set(R(1000, 100, 1900, 900), 3, tri));
  // Clip away everything but a band, then a red rectangle that only shows inside it.
  f.Add(U_EMRINTERSECTCLIPRECT_set(R(0, 1200, 2000, 1300)));
  f.Add(selectobject_set(red, f.H()));
  f.Add(U_EMRRECTANGLE_set(R(0, 1000, 2000, 1500)));
  f.Add(U_EMRRESTOREDC_set(-1));
  // After the restore: green brush gone (red again), clip gone.
  f.Add(U_EMRRECTANGLE_set(R(100, 1800, 301, 1901)));
  // A blue cosmetic polyline.
  f.Add(selectobject_set(pen, f.H()));
  const U_POINTL line[] = {point32_set(100, 1950), point32_set(1900, 1950)};
  f.Add(U_EMRPOLYLINE_set(R(100, 1950, 1900, 1950), 2, line));
  // A world transform that moves the next drawing by 50 logical units right.
  f.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 500, 0)));
  f.Add(selectobject_set(U_NULL_PEN, f.H()));
  f.Add(selectobject_set(U_BLACK_BRUSH, f.H()));
  f.Add(U_EMRRECTANGLE_set(R(1000, 1800, 1201, 1901)));  // pixels 150..169
  f.Add(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 0, 0), U_MWT_IDENTITY));
  // An unknown record in the middle is stepped over.
  const std::uint32_t unknown[] = {200, 12, 0};
  char* raw = static_cast<char*>(std::malloc(sizeof unknown));
  std::memcpy(raw, unknown, sizeof unknown);
  f.Add(raw);
  // An 8-bit bitmap with a palette, stretched 2×2 pixels → 20×20 pixels at (10, 60).
  const U_RGBQUAD palette[2] = {rgbquad_set(255, 255, 0, 0), rgbquad_set(0, 255, 255, 0)};
  PU_BITMAPINFO bmi = bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 8, U_BI_RGB, 8, 0, 0, 2, 0),
                                     const_cast<PU_RGBQUAD>(palette));
  char px[8] = {1, 1, 0, 0, 0, 0, 0, 0};  // bottom row cyan, top row yellow
  f.Add(U_EMRSTRETCHDIBITS_set(R(100, 600, 299, 799), point32_set(100, 600), point32_set(200, 200),
                               point32_set(0, 0), point32_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, bmi, 8, px));
  std::free(bmi);
  // A text without advances, centred at its reference point on the baseline.
  uint16_t face[U_LF_FACESIZE] = {'A', 'r', 'i', 'a', 'l', 0};
  U_LOGFONT lf = logfont_set(-300, 0, 0, 0, U_FW_BOLD, 0, 0, 0, U_DEFAULT_CHARSET, 0, 0, 0, 0, face);
  uint32_t font = 0;
  f.Add(extcreatefontindirectw_set(&font, f.H(), reinterpret_cast<const char*>(&lf), nullptr));
  f.Add(selectobject_set(font, f.H()));
  f.Add(U_EMRSETTEXTALIGN_set(U_TA_CENTER | U_TA_BASELINE));
  f.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
  f.Add(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 0)));
  f.Add(TextWithoutAdvances(1000, 1750, u"HI"));
  const Metafile m = f.Finish();
  ASSERT_TRUE(m.Validate());
  ASSERT_EQ(m.PixelSize(), QSize(200, 200));

  const QImage img = RenderPage(m, QSize(200, 200));
  emftest::SaveArtifact(img, QStringLiteral("foreign.png"));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.pixel(30, 30), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(9, 30), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(50, 30), qRgb(255, 255, 255));  // null pen: right edge exclusive
  EXPECT_EQ(img.pixel(49, 30), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(185, 20), qRgb(0, 255, 0));     // the triangle
  EXPECT_EQ(img.pixel(110, 80), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(100, 125), qRgb(255, 0, 0));    // inside the clip band
  EXPECT_EQ(img.pixel(100, 115), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(100, 135), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(20, 185), qRgb(255, 0, 0));     // after the restore
  EXPECT_EQ(img.pixel(50, 195), qRgb(0, 0, 255));     // the line
  EXPECT_EQ(img.pixel(160, 185), qRgb(0, 0, 0));      // moved by the world transform
  EXPECT_EQ(img.pixel(110, 185), qRgb(255, 255, 255));
  // The bitmap: yellow top row, cyan bottom row (smoothly scaled, so nearly pure).
  const QColor top = img.pixelColor(20, 64), bottom = img.pixelColor(20, 76);
  EXPECT_GT(top.red(), 220);
  EXPECT_LT(top.blue(), 40);
  EXPECT_LT(bottom.red(), 40);
  EXPECT_GT(bottom.blue(), 220);
  // The text stands on its baseline at y = 175, centred on x = 100.
  EXPECT_GT(emftest::InkIn(img, QRect(85, 155, 30, 20)), 40);
  EXPECT_EQ(emftest::InkIn(img, QRect(85, 176, 30, 3)), 0);
  EXPECT_EQ(emftest::InkIn(img, QRect(0, 150, 75, 26)), 0);
  EXPECT_EQ(emftest::InkIn(img, QRect(125, 150, 75, 26)), 0);
}

TEST_F(EmfTest, MapModesWithTheYAxisUpKeepTextUpright) {
  // 0.01 mm units, y up from the top edge: the picture's top-left is (0, 0), y negative down.
  ForeignEmf f(400, 400, 100, 100);  // 4 pixels per millimetre
  f.Add(U_EMRSETMAPMODE_set(U_MM_HIMETRIC));
  uint16_t face[U_LF_FACESIZE] = {'A', 'r', 'i', 'a', 'l', 0};
  U_LOGFONT lf = logfont_set(-1000, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_DEFAULT_CHARSET, 0, 0, 0, 0, face);
  uint32_t font = 0;
  f.Add(extcreatefontindirectw_set(&font, f.H(), reinterpret_cast<const char*>(&lf), nullptr));
  f.Add(selectobject_set(font, f.H()));
  f.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
  f.Add(TextWithoutAdvances(2000, -2000, u"T"));
  const QImage img = RenderPage(f.Finish(), QSize(400, 400));
  ASSERT_FALSE(img.isNull());
  // A 10 mm (40 pixel) "T" hangs from (20 mm, 20 mm) = pixel (80, 80), its bar at the top.
  int widestRow = -1, widest = 0;
  for (int y = 60; y < 140; ++y) {
    const int ink = emftest::InkIn(img, QRect(70, y, 60, 1));
    if (ink > widest) {
      widest = ink;
      widestRow = y;
    }
  }
  EXPECT_GE(widestRow, 82);
  EXPECT_LE(widestRow, 95);
  EXPECT_EQ(emftest::InkIn(img, QRect(0, 0, 400, 80)), 0);
  EXPECT_GT(emftest::InkIn(img, QRect(70, 100, 60, 15)), 10);
}

TEST_F(EmfTest, HostilePicturesPlayQuicklyAndHarmlessly) {
  uint16_t face[U_LF_FACESIZE] = {'A', 'r', 'i', 'a', 'l', 0};
  const struct {
    const char* name;
    std::function<void(ForeignEmf&)> build;
  } cases[] = {
      {"giant font", [&](ForeignEmf& f) {
         U_LOGFONT lf = logfont_set(-2147483647, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0, face);
         uint32_t h = 0;
         f.Add(extcreatefontindirectw_set(&h, f.H(), reinterpret_cast<const char*>(&lf), nullptr));
         f.Add(selectobject_set(h, f.H()));
         f.Add(TextWithoutAdvances(10, 10, u"Huge"));
       }},
      {"giant world transform", [](ForeignEmf& f) {
         f.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(1e30f, 0, 0, 1e30f, 0, 0)));
         f.Add(U_EMRRECTANGLE_set(R(0, 0, 10, 10)));
         f.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(0, 0, 0, 0, 0, 0)));
         f.Add(U_EMRRECTANGLE_set(R(0, 0, 10, 10)));
       }},
      {"giant viewport", [](ForeignEmf& f) {
         f.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
         f.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(1, 1)));
         f.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(2147483647, -2147483647)));
         const U_POINTL line[] = {point32_set(-5, -5), point32_set(5, 5)};
         f.Add(U_EMRPOLYLINE_set(R(-5, -5, 5, 5), 2, line));
         f.Add(U_EMRINTERSECTCLIPRECT_set(R(-100, -100, 100, 100)));
         f.Add(TextWithoutAdvances(0, 0, u"x"));
       }},
      {"giant dashed pen", [](ForeignEmf& f) {
         uint32_t h = 0;
         f.Add(createpen_set(&h, f.H(), logpen_set(U_PS_DOT, point32_set(2147483647, 0), colorref3_set(1, 2, 3))));
         f.Add(selectobject_set(h, f.H()));
         const U_POINTL line[] = {point32_set(-2147483647, 0), point32_set(2147483647, 100)};
         f.Add(U_EMRPOLYLINE_set(R(0, 0, 1, 1), 2, line));
       }},
      {"deep saves and wild restores", [](ForeignEmf& f) {
         for (int i = 0; i < 3000; ++i) f.Add(U_EMRSAVEDC_set());
         f.Add(U_EMRRESTOREDC_set(-5000));
         f.Add(U_EMRRESTOREDC_set(7));
         f.Add(U_EMRRESTOREDC_set(-2147483647 - 1));
         f.Add(U_EMRRESTOREDC_set(0));
       }},
      {"many clip cuts", [](ForeignEmf& f) {
         for (int i = 0; i < 3000; ++i) f.Add(U_EMREXCLUDECLIPRECT_set(R(i % 97, i % 89, i % 97 + 1, i % 89 + 1)));
         f.Add(U_EMRRECTANGLE_set(R(0, 0, 100, 100)));
       }},
      {"objects beyond the handle table", [](ForeignEmf& f) {
         f.Add(U_EMRCREATEBRUSHINDIRECT_set(60000, logbrush_set(U_BS_SOLID, colorref3_set(1, 2, 3), 0)));
         f.Add(U_EMRCREATEBRUSHINDIRECT_set(0, logbrush_set(U_BS_SOLID, colorref3_set(1, 2, 3), 0)));
         f.Add(U_EMRSELECTOBJECT_set(60000));
         f.Add(U_EMRSELECTOBJECT_set(0x80000063));
         f.Add(U_EMRDELETEOBJECT_set(12345));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ForeignEmf f(100, 100, 26, 26);
    c.build(f);
    const Metafile m = f.Finish();
    ASSERT_TRUE(m.Validate());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(RenderPage(m, QSize(100, 100)).isNull());
    EXPECT_FALSE(RenderPage(m, QSize(2000, 2000)).isNull());
    EXPECT_LT(timer.elapsed(), 10000);  // a sanitizer build on a busy machine included
  }
}

// Report files the fuzzer found crashing, kept as they were found.
TEST_F(EmfTest, FuzzerFindingsLoadAndPlayWithoutHarm) {
  const QDir dir(qEnvironmentVariable("HB9CV_SOURCE_DIR") + QStringLiteral("/tests/report/data/emf_regressions"));
  const QStringList files = dir.entryList({QStringLiteral("*.QRP")}, QDir::Files);
  ASSERT_FALSE(files.isEmpty()) << dir.path().toStdString();
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    QElapsedTimer timer;  // some findings were hangs, not crashes
    timer.start();
    std::unique_ptr<TQRPageList> list;
    try {
      list = TQRPageList::LoadFromFile(dir.filePath(name));
    } catch (const EQRError&) {
      continue;
    }
    for (int n = 1; n <= list->PageCount(); ++n) {
      const Metafile page = list->GetPage(n);
      ASSERT_FALSE(page.IsNull());
      RenderPage(page, QSize(100, 141));
      RenderPage(page, QSize(794, 1123));
    }
    EXPECT_LT(timer.elapsed(), 10000);
  }
}

}  // namespace
}  // namespace hb9cv
