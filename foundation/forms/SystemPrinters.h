#pragma once
// The printers the operating system offers, for the program's printer list (PrinterList.h).
#include <QString>
#include <QStringList>

namespace kavina {

QStringList systemPrinterNames();
// Empty when the system has no default printer.
QString systemDefaultPrinterName();

}  // namespace kavina
