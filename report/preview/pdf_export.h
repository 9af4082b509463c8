#pragma once
// The report page outside the preview window: as a PDF file, as a report file, or on a named
// printer, each without a dialog.
#include <QString>

namespace hb9cv {

class TCustomReport;

// The PDF's document title for a report of one frequency: "HB9CV – 145 MHz".
QString PdfTitle(const QString& frequencyText);

// A print run onto a PDF writer in place of a printer, so that the file holds exactly what paper
// would: A4, text as text in an embedded subset of its font, the drawing as its picture. The
// document is titled `title` and names this program as its creator. Throws EQRError; a file that
// could not be written completely is not left behind, and an existing one stays as it was.
void ExportPdf(TCustomReport& report, const QString& fileName, const QString& title);

// Builds the pages as the preview does and writes them as a report file.
void SaveReportFile(TCustomReport& report, const QString& fileName);

// A print run on `queue`, or on the default printer when it is empty. Throws EQRError when the
// queue is unknown or no printer is installed.
void PrintOnQueue(TCustomReport& report, const QString& queue);

}  // namespace hb9cv
