#include "foundation/PrinterList.h"

namespace kavina {

QStringList printerList(const QStringList& systemPrinters) {
    QStringList list = systemPrinters;
    list << kPdfPrinterName;
    return list;
}

int defaultPrinterIndex(const QStringList& systemPrinters, const QString& systemDefault) {
    const qsizetype index = systemDefault.isEmpty() ? -1 : systemPrinters.indexOf(systemDefault);
    return int(index >= 0 ? index : systemPrinters.size());
}

}  // namespace kavina
