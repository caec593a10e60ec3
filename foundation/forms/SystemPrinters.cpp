#include "foundation/forms/SystemPrinters.h"

#include <QPrinterInfo>

namespace kavina {

QStringList systemPrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

QString systemDefaultPrinterName() {
    return QPrinterInfo::defaultPrinterName();
}

}  // namespace kavina
