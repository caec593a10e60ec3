// Delivery notes and goods receipts saved by several real processes at once: every document
// is whole, the numbers of each kind have no gap, the stock adds up, and the folder checks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "SalesFolder.h"
#include "dbase/FolderCheck.h"
#include "documents/delivery/DeliverySave.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace U = fields::User;

constexpr double kStartStock = 1000;

// A document of the kind: 2 pieces of product 1 and 1 of product 2, at a purchase price.
void fill(MemoryDocument& doc) {
    doc.emptyAll();
    doc.mszamla.append();
    doc.mszamla.setString(H::NEV, QStringLiteral("Csavar Nagyker Kft."));
    doc.mszamla.setDate(H::KIALLIT, QDate::currentDate());
    doc.mszamla.post();
    for (int p = 1; p <= 2; ++p) {
        doc.mszamla2.append();
        doc.mszamla2.setFloat(L::ANYAGSZAM, p);
        doc.mszamla2.setString(L::MEGNEVEZES, QStringLiteral("Termék %1").arg(p));
        doc.mszamla2.setFloat(L::MENNYISEG, 3 - p);
        doc.mszamla2.setFloat(L::EGYSEGAR, 100);
        doc.mszamla2.setFloat(L::begysegar, 127);
        doc.mszamla2.post();
    }
}

// One workstation saving notes or receipts; exits with 0 when every save succeeded.
pid_t startWorkstation(const std::string& folder, DeliveryKind kind, int saves) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        DeliverySaveContext context{data, QStringLiteral("gep%1").arg(getpid())};
        context.lockPatience = std::chrono::milliseconds(30000);
        DeliveryStore store(context);
        MemoryDocument doc;
        for (int i = 0; i < saves; ++i) {
            fill(doc);
            store.store(doc, kind);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

class DeliveryProcessTest : public SalesFolder {};

TEST_F(DeliveryProcessTest, WorkstationsSavingNotesAndReceiptsAtOnceKeepNumbersAndStockWhole) {
    addProduct(1, QStringLiteral("Termék 1"), kStartStock);
    addProduct(2, QStringLiteral("Termék 2"), kStartStock);
    {
        TableHandle& s = data.UserTable();
        s.first();
        s.edit();
        s.setString(U::FELO, QStringLiteral("SZL"));
        s.setInteger(U::SZLEVSZ, 1);
        s.post();
    }
    data.close();
    constexpr int kSaves = 40;
    std::vector<pid_t> workstations;
    for (DeliveryKind kind : {DeliveryKind::DeliveryNote, DeliveryKind::DeliveryNote, DeliveryKind::GoodsReceipt,
                              DeliveryKind::GoodsReceipt})
        workstations.push_back(startWorkstation(dir.path(), kind, kSaves));
    for (pid_t pid : workstations) EXPECT_EQ(exitCode(pid), 0);

    data.open(dir.path());
    std::set<QString> numbers;
    TableHandle& h = data.SzamlaTable();
    for (h.first(); !h.eof(); h.next()) numbers.insert(h.asString(H::SZAMLASZAM).trimmed());
    EXPECT_EQ(int(numbers.size()), 4 * kSaves);
    const int year = QDate::currentDate().year();
    for (int n = 1; n <= 2 * kSaves; ++n)
        for (const char* prefix : {"SZL", "BSZ"})
            EXPECT_TRUE(numbers.count(QStringLiteral("%1%2/%3").arg(prefix).arg(year).arg(n, 5, 10, QChar('0'))))
                << prefix << " gap at " << n;
    for (const char* table : {"Szamla2.dbf", "tranzakcio.dbf"}) {
        TableHandle rows(dir.path(), table);
        rows.open();
        EXPECT_EQ(int(rows.recordCount()), 4 * kSaves * 2) << table;
    }
    // As many pieces came in as went out.
    EXPECT_EQ(stockOf(1), kStartStock);
    EXPECT_EQ(stockOf(2), kStartStock);
    data.close();
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina::documents
