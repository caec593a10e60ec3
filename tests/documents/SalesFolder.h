#pragma once
// A data folder with products and the counters of sales documents, and stored documents made
// through the program's own save, for the tests of what happens to stored documents.

#include "StockFolder.h"
#include "documents/sales/SalesSave.h"
#include "foundation/CatalogueFields.h"

namespace kavina::documents {

struct SaleLine {
    double code;
    QString name;
    double quantity;
    double unitNet = 1000;
    bool service = false;
};

// Takes no copies and prints nothing.
class NoCopies : public SalesCopyPrinter {
public:
    void printCopy(const StoredSale&, SalesMode, const QString&, int) override {}
};

class SalesFolder : public StockFolder {
protected:
    IniFile ini{QString::fromStdString(dir.path() + "/kavina.ini")};
    IniSettings iniSettings;

    void SetUp() override {
        StockFolder::SetUp();
        namespace U = fields::User;
        TableHandle& settings = data.UserTable();
        settings.first();
        settings.edit();
        settings.setString(U::SELO, QStringLiteral("SZA"));
        // The company data every invoice reports to the tax authority.
        settings.setString(U::USER1, QStringLiteral("Minta Barkács Kft."));
        settings.setString(U::CIM, QStringLiteral("6720 Szeged, Kárász utca 10."));
        settings.setString(U::ADOSZAM, QStringLiteral("Adószám: 12345676-2-06"));
        for (const Field& counter : {U::SZAMLASZ, U::PROFORMA, U::SELEJT, U::DEFUSER}) settings.setInteger(counter, 1);
        settings.setInteger(U::PRNSZAMLA, 2);
        settings.post();
    }

    // Stores a document of the mode with the lines, paid in cash (a proforma by transfer).
    StoredSale storeSale(SalesMode mode, const std::vector<SaleLine>& specs) {
        namespace H = fields::Szamla;
        namespace L = fields::Szamla2;
        MemoryDocument doc;
        doc.mszamla.append();
        doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
        doc.mszamla.setString(H::CIM, QStringLiteral("Fő utca 1."));
        doc.mszamla.setString(H::FIZMOD,
                              mode == SalesMode::Proforma ? QStringLiteral("Átutalás") : QStringLiteral("Készpénz"));
        doc.mszamla.setDate(H::KIALLIT, QDate(2008, 3, 10));
        doc.mszamla.setDate(H::FIZHAT, QDate(2008, 3, 10));
        doc.mszamla.setFloat(H::FIZETENDO, 1270);
        doc.mszamla.post();
        for (const SaleLine& spec : specs) {
            doc.mszamla2.append();
            doc.mszamla2.setFloat(L::ANYAGSZAM, spec.code);
            doc.mszamla2.setString(L::MEGNEVEZES, spec.name);
            doc.mszamla2.setFloat(L::MENNYISEG, spec.quantity);
            doc.mszamla2.setFloat(L::EGYSEGAR, spec.unitNet);
            doc.mszamla2.setLogical(L::TERMEK, spec.service);
            doc.mszamla2.post();
        }
        SalesSaveContext context{data, ini, iniSettings, QStringLiteral("Kovács Anna")};
        context.now = [] { return QDateTime(QDate(2008, 3, 10), QTime(10, 0)); };
        SalesStore store(context);
        return store.store(doc, mode, {});
    }

    // The stored header of a number: its type and state.
    QString typeAndState(const QString& number) {
        TableHandle h(dir.path(), "Szamla.dbf");
        h.open();
        h.setOrder(fields::Szamla::SZAMLASZAM);
        if (!h.findKey(number.toStdString())) return QStringLiteral("(none)");
        return h.asString(fields::Szamla::SZAMLATIP).trimmed() + QLatin1Char('|') +
               h.asString(fields::Szamla::ALLAPOT).trimmed();
    }
};

}  // namespace kavina::documents
