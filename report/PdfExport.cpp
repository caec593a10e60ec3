#include "report/PdfExport.h"

#include <QFile>
#include <QPageSize>

#include "pdf/JpegEncoder.h"
#include "pdf/PdfWriter.h"
#include "report/PagePainter.h"

namespace kavina::report {
namespace {

std::vector<uint8_t> pageJpeg(const PreparedReport& report, int index, const QSize& size, int quality) {
    const QImage picture = renderPage(report, index, size).convertToFormat(QImage::Format_RGB888);
    return pdf::encodeJpeg({picture.constBits(), picture.width(), picture.height(), int(picture.bytesPerLine())},
                           quality);
}

}  // namespace

QSize exportPictureSize(const PageSetup& setup) {
    return pagePictureSize(setup) * 2;
}

QSize exportPageSize(const PageSetup& setup) {
    const QSize points = QPageSize(setup.size).sizePoints();
    return setup.orientation == QPageLayout::Landscape ? points.transposed() : points;
}

void exportPdf(const PreparedReport& report, const QString& path, const PdfExportOptions& options) {
    const QSize size = exportPictureSize(report.setup());
    const QSize page = exportPageSize(report.setup());
    const pdf::PageImage image{size.width(), size.height(), page.width(), page.height()};
    pdf::PdfWriter writer(QFile::encodeName(path).toStdString());
    const int pages = report.pageCount();
    for (int k = 0; k < pages; ++k) {
        writer.addJpegPage(image, pageJpeg(report, k, size, options.jpegQuality));
        if (options.progress) options.progress(k + 1, pages);
    }
    writer.finish();
}

}  // namespace kavina::report
