#include "report/view/ReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include "foundation/PrinterList.h"
#include "report/PagePainter.h"
#include "report/view/PrinterDialog.h"

namespace kavina::report {
namespace {

void setUpPage(QPrinter& printer, const PageSetup& setup) {
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(setup.size), setup.orientation, QMarginsF(0, 0, 0, 0)));
}

// Draws every page into the printer; false when the printer cannot start or take a page.
bool paintAll(QPrinter& printer, const PreparedReport& report) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    for (int k = 0; k < report.pageCount(); ++k) {
        if (k > 0 && !printer.newPage()) return false;
        paintPage(report, k, painter, QRectF(QPointF(0, 0), paper.size()));
    }
    return painter.end();
}

// One run of the built-in printer, through a temporary name so that no partial file stays.
void printPdfRun(const PreparedReport& report, const QString& file) {
    const QString partial = file + QStringLiteral(".part");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial);
    setUpPage(printer, report.setup());
    const bool printed = paintAll(printer, report);
    if (!printed || !QFile::rename(partial, file)) {
        QFile::remove(partial);
        throw PrintError("A PDF nyomtató nem tudta írni: " + QDir::toNativeSeparators(file).toStdString());
    }
}

void printSystemRun(QPrinter& printer, const PreparedReport& report) {
    if (!paintAll(printer, report))
        throw PrintError("A nyomtatás nem sikerült: " + printer.printerName().toStdString());
}

}  // namespace

PrinterChoice configuredPrinter(int printerIndex, const QStringList& systemPrinters, const QString& systemDefault,
                                const QString& programFolder, const QString& pdfFolderSetting) {
    const QStringList printers = printerList(systemPrinters);
    if (printerIndex < 0 || printerIndex >= printers.size())
        printerIndex = defaultPrinterIndex(systemPrinters, systemDefault);
    const QString folder =
        pdfFolderSetting.trimmed().isEmpty() ? QStringLiteral("nyomtatas") : pdfFolderSetting.trimmed();
    return {printers[printerIndex], QDir::cleanPath(QDir(programFolder).absoluteFilePath(folder)), QString(), printers};
}

QString pdfPrintedText(const QStringList& files) {
    QStringList shown;
    for (const QString& file : files) shown << QDir::toNativeSeparators(file);
    return (files.size() == 1 ? QStringLiteral("A PDF nyomtató ebbe a fájlba nyomtatott:\n")
                              : QStringLiteral("A PDF nyomtató ezekbe a fájlokba nyomtatott:\n")) +
           shown.join(QLatin1Char('\n'));
}

ReportPrinter::ReportPrinter(PrinterChoice choice, Clock clock)
    : m_choice(std::move(choice)), m_clock(std::move(clock)), m_runDialog([](QDialog& d) { return d.exec(); }) {}

bool ReportPrinter::isPdfPrinter() const {
    return m_choice.printerName == kPdfPrinterName;
}

QString ReportPrinter::pdfFileName(const QDateTime& when) const {
    QString base = m_choice.documentName.trimmed();
    base.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    if (base.isEmpty()) base = QStringLiteral("nyomtatas");
    base += QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    const QDir folder(m_choice.pdfFolder);
    QString name = base + QStringLiteral(".pdf");
    for (int n = 2; folder.exists(name); ++n)
        name = base + QLatin1Char('_') + QString::number(n) + QStringLiteral(".pdf");
    return folder.filePath(name);
}

QStringList ReportPrinter::print(const PreparedReport& report, int copies) {
    QStringList written;
    if (isPdfPrinter()) {
        if (!QDir().mkpath(m_choice.pdfFolder))
            throw PrintError("A PDF nyomtató mappája nem hozható létre: " + m_choice.pdfFolder.toStdString());
        for (int copy = 0; copy < copies; ++copy) {
            const QString file = pdfFileName(m_clock());
            printPdfRun(report, file);
            written << file;
        }
        return written;
    }
    for (int copy = 0; copy < copies; ++copy) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(m_choice.printerName);
        setUpPage(printer, report.setup());
        printSystemRun(printer, report);
    }
    return written;
}

PrintResult ReportPrinter::setUpAndPrint(const PreparedReport& report, QWidget* parent) {
    const QStringList printers = m_choice.printers.isEmpty() ? QStringList{m_choice.printerName} : m_choice.printers;
    PrinterDialog dialog(printers, m_choice.printerName, parent);
    if (m_runDialog(dialog) != QDialog::Accepted) return {};
    m_choice.printerName = dialog.printerName();
    return {true, print(report, dialog.copies())};
}

}  // namespace kavina::report
