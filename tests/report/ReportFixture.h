#pragma once
// A prepared printout of a few pages for the tests of the preview, printing and export:
// every page says its number in large type and carries a frame.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include "report/Layout.h"

namespace kavina::report::testing_report {

inline PreparedReport numberedPages(Layout& layout, int pages) {
    Band& header = layout.addBand(BandKind::PageHeader, "header", 20);
    header.addPageNumber("page", QRectF(0, 0, 100, 20), "{page}. oldal", TextStyle{}.withSize(30));
    for (int i = 0; i < pages; ++i)
        layout.addBand(BandKind::Summary, "body" + std::to_string(i), 250).addFrame("box", QRectF(0, 0, 190, 250), 1);
    return layout.prepare();
}

inline QString runTool(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The poppler tools that read PDF files back.
inline bool popplerAvailable() {
    for (const char* tool : {"pdfinfo", "pdfimages", "pdftoppm"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) return false;
    return true;
}

// The page count pdfinfo reads from the file; -1 when it cannot read it.
inline int pdfPageCount(const QString& file) {
    const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(runTool("pdfinfo", {file}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace kavina::report::testing_report
