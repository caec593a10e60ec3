#include "foundation/PrinterList.h"

namespace kavina {

QStringList printerList(const QStringList& systemPrinters) {
    QStringList list = systemPrinters;
    list << kPdfPrinterName;
    return list;
}

PdfPrinterSetting pdfPrinterSetting(const QString& iniValue) {
    const QString value = iniValue.trimmed();
    if (value == QLatin1String("0")) return {false, {}};
    if (value == QLatin1String("1")) return {true, {}};
    return {true, value};
}

int defaultPrinterIndex(const QStringList& systemPrinters, const QString& systemDefault) {
    const qsizetype index = systemDefault.isEmpty() ? -1 : systemPrinters.indexOf(systemDefault);
    return int(index >= 0 ? index : systemPrinters.size());
}

}  // namespace kavina
