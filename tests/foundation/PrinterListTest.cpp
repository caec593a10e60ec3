#include "foundation/PrinterList.h"

#include <gtest/gtest.h>

#include "QtPrinters.h"

namespace kavina {
namespace {

TEST(PrinterListTest, PdfPrinterFollowsTheSystemPrinters) {
    const QStringList system{QStringLiteral("Iroda"), QStringLiteral("Raktár")};
    EXPECT_EQ(printerList(system), (QStringList{QStringLiteral("Iroda"), QStringLiteral("Raktár"), kPdfPrinterName}));
    EXPECT_EQ(defaultPrinterIndex(system, QStringLiteral("Raktár")), 1);
    EXPECT_EQ(defaultPrinterIndex(system, QString()), 2);
    EXPECT_EQ(defaultPrinterIndex({}, QString()), 0);
    EXPECT_EQ(printerList({}), QStringList{kPdfPrinterName});
}

}  // namespace
}  // namespace kavina
