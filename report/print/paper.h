#pragma once
// Paper sizes and paper bins as the printer understands them, and the guess of a stored
// page's paper from its picture size.
#include <QPageSize>
#include <QPrinter>
#include <functional>

#include "report/model/qr_report.h"
#include "report/model/qr_units.h"

namespace hb9cv {

// A bin as a Qt printer names it.
QPrinter::PaperSource ToPaperSource(TQRBin bin);

// The Qt page size for a named paper; QPageSize::Custom for Default and Custom.
QPageSize::PageSizeId ToPageSizeId(TQRPaperSize size);

// Paper width and length in stored units (tenths of a millimetre) for a named size, portrait.
Float80 PaperTableWidth(TQRPaperSize size);
Float80 PaperTableLength(TQRPaperSize size);

struct PaperGuess {
  TQRPaperSize size;
  PaperOrientation orientation;
};

// Finds the paper of a stored page from its picture size in pixels and the factor (pixels per
// tenth of a millimetre) it was drawn with. Sizes are compared in whole units of 4 mm, every
// table size from Letter to ESheet is tried in order and a later match overrides an earlier
// one. A matched size is taken only when `acceptSize` allows it, a matched orientation only
// when `orientationSettable`; what is not taken stays as in `current`.
PaperGuess DetectPaper(int pictureWidth, int pictureHeight, Float80 factor,
                       const std::function<bool(TQRPaperSize)>& acceptSize,
                       bool orientationSettable, PaperGuess current);

}  // namespace hb9cv
