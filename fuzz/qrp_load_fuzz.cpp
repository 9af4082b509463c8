// Loads the input as a report file and plays every page, as "Load Report" and the preview do.
// Inputs that are no report file are tried once more with their container repaired around the
// bytes after the first record head, so that mutations inside the pictures reach the player.
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "calc/errors.h"
#include "report/render/emf_player.h"
#include "report/store/page_list.h"
#include "report/store/qr_error.h"

namespace {

constexpr int kMaxPagesPlayed = 16;
QTemporaryDir* gDir = nullptr;

bool LoadAndPlay(const QByteArray& bytes) {
  const QString path = gDir->filePath(QStringLiteral("input.QRP"));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(bytes);
  }
  std::unique_ptr<hb9cv::TQRPageList> list;
  try {
    list = hb9cv::TQRPageList::LoadFromFile(path);
  } catch (const hb9cv::EQRError&) {
    return false;  // refused with a message: fine
  }
  const int count = std::min(list->PageCount(), kMaxPagesPlayed);
  for (int n = 1; n <= count; ++n) {
    const hb9cv::Metafile page = list->GetPage(n);
    if (page.IsNull()) std::abort();  // a file that loaded must give its pages
    // A small target keeps each run fast; the mapping code sees a real scale factor.
    hb9cv::RenderPage(page, QSize(100, 141));
  }
  // And the pages again in reverse, to walk the records backwards.
  for (int n = count; n >= 1; --n) list->GetPage(n);
  return true;
}

// One page record holding `picture`, with the header, offsets and byte count made consistent.
QByteArray OnePageFile(QByteArray picture) {
  if (picture.size() >= 52) qToLittleEndian<qint32>(qint32(picture.size()), picture.data() + 48);
  QByteArray file(128, '\0');
  qToLittleEndian<quint16>(3, file.data());
  qToLittleEndian<quint16>(305, file.data() + 2);
  qToLittleEndian<qint32>(1, file.data() + 8);
  QByteArray head(8, '\0');
  qToLittleEndian<qint32>(1, head.data());
  qToLittleEndian<qint32>(qint32(128 + 8 + picture.size() + 4), head.data() + 4);
  QByteArray tail(4, '\0');
  qToLittleEndian<qint32>(128, tail.data());
  return file + head + picture + tail;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  gDir = new QTemporaryDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (!LoadAndPlay(bytes) && size > 136 + 4)
    LoadAndPlay(OnePageFile(bytes.mid(136, qsizetype(size) - 140)));
  return 0;
}
