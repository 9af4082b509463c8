#pragma once
// Plays enhanced metafiles onto a QPainter: every record the recorder writes and the common
// GDI subset that pictures from other programs use. Hostile input is refused or skipped,
// never trusted.
#include <QImage>
#include <QRectF>
#include <QSize>

#include "report/render/metafile.h"

class QPainter;

namespace hb9cv {

// Draws `page` onto `painter` with its frame mapped onto `target` (in the painter's current
// coordinates), clipped to `target`. Returns false and draws nothing when the bytes are not a
// complete metafile (see Metafile::Validate). Unknown and malformed records are skipped.
bool PlayEmf(QPainter& painter, const Metafile& page, const QRectF& target);

// The page drawn over white paper into an image of `size` pixels; a null image when the page
// cannot be played.
QImage RenderPage(const Metafile& page, QSize size);

}  // namespace hb9cv
