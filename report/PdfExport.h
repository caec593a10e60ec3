#pragma once
// The PDF export of a prepared printout: every page drawn as a picture at twice its natural
// picture size, encoded as JPEG and scaled onto a PDF page of the paper's size in points, so
// that printing the file at actual size gives the paper the printout was laid out on.
// One page's picture exists at a time and each page goes to disk when done, so memory stays
// flat; the file appears under its name only when complete.
#include <QString>
#include <functional>

#include "report/PreparedReport.h"

namespace kavina::report {

struct PdfExportOptions {
    int jpegQuality = 85;
    // Called after each page with the pages done and the page count.
    std::function<void(int done, int total)> progress;
};

// Writes the pages to the file. Throws pdf::PdfError when the file cannot be written (the
// target is then untouched and nothing is left beside it).
void exportPdf(const PreparedReport& report, const QString& path, const PdfExportOptions& options = {});

// The pixel size of every exported page picture: twice the natural page picture.
QSize exportPictureSize(const PageSetup& setup);
// The size in points of every exported page: the paper's, turned for landscape.
QSize exportPageSize(const PageSetup& setup);

}  // namespace kavina::report
