#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "documents/StockFolder.h"
#include "documents/sales/forms/LayoutCopyPrinter.h"
#include "foundation/PrinterList.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

// A stored invoice printed through the layout on the built-in PDF printer: one file a copy.
TEST_F(StockFolder, AStoredInvoiceIsPrintedOnceACopyOnThePdfPrinter) {
    addProduct(1, QStringLiteral("Csavar horganyzott 6 mm"), 100);
    TableHandle& settings = data.UserTable();
    settings.first();
    settings.edit();
    settings.setString(fields::User::SELO, QStringLiteral("SZA"));
    settings.setInteger(fields::User::SZAMLASZ, 1);
    settings.setString(fields::User::USER1, QStringLiteral("Példa Bolt Kft."));
    settings.setString(fields::User::CIM, QStringLiteral("6720 Szeged, Kárász utca 10."));
    settings.setString(fields::User::ADOSZAM, QStringLiteral("Adószám: 12345676-2-06"));
    settings.post();

    IniFile ini(QString::fromStdString(dir.path() + "/kavina.ini"));
    IniSettings iniSettings;
    SalesStore store({data, ini, iniSettings, QStringLiteral("Kovács Anna")});
    MemoryDocument doc;
    doc.mszamla.append();
    doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
    doc.mszamla.setString(H::FIZMOD, QStringLiteral("Készpénz"));
    doc.mszamla.setDate(H::KIALLIT, QDate::currentDate());
    doc.mszamla.setDate(H::FIZHAT, QDate::currentDate());
    doc.mszamla.setFloat(H::FIZETENDO, 1270);
    doc.mszamla.post();
    doc.mszamla2.append();
    doc.mszamla2.setFloat(L::ANYAGSZAM, 1);
    doc.mszamla2.setString(L::MEGNEVEZES, QStringLiteral("Csavar horganyzott 6 mm"));
    doc.mszamla2.setFloat(L::MENNYISEG, 10);
    doc.mszamla2.setFloat(L::EGYSEGAR, 100);
    doc.mszamla2.setFloat(L::NETTOAR, 1000);
    doc.mszamla2.setFloat(L::AFA, 27);
    doc.mszamla2.setFloat(L::AFAFT, 270);
    doc.mszamla2.setFloat(L::OSSZESEN, 1270);
    doc.mszamla2.post();
    const StoredSale sale = store.store(doc, SalesMode::Invoice, {});

    const QString pdfFolder = QString::fromStdString(dir.path() + "/nyomtatas");
    TSzamlarEnvironment environment{&data.UserTable(), QString::fromStdString(data.dataFolder()),
                                    QStringLiteral("Kovács Anna")};
    LayoutCopyPrinter printer(data.dataFolder(), environment, {kPdfPrinterName, pdfFolder});
    store.printCopies(sale, SalesMode::Invoice, 2, printer);
    ASSERT_EQ(printer.pdfFiles().size(), 2);
    for (const QString& file : printer.pdfFiles()) {
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
        EXPECT_TRUE(file.contains(QStringLiteral("SZA"))) << file.toStdString();
    }
    if (const char* keep = std::getenv("KAVINA_SCREENSHOTS"))
        for (const QString& file : printer.pdfFiles())
            QFile::copy(file, QString::fromLocal8Bit(keep) + QLatin1Char('/') + QFileInfo(file).fileName());
}

}  // namespace
}  // namespace kavina::documents
