#pragma once
#include <QList>
#include <QPixmap>

namespace hb9cv {

inline constexpr int kPreviewImageSize = 16;

// The toolbar pictures by image-list index: 0 zoom to fit, 1 100 %, 2 zoom to width, 3 first,
// 4 previous, 5 next, 6 last page, 7 printer setup, 8 print, 9 load, 10 save.
QList<QPixmap> PreviewImages();

}  // namespace hb9cv
