// Sales documents saved by several real processes at once, and saves killed at random moments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>
#include <sstream>

#include "SalesFolder.h"
#include "dbase/TestSeed.h"
#include "dbase/Transaction.h"
#include "dbtool/DbTool.h"
#include "documents/sales/Cancellation.h"
#include "documents/sales/SalesSave.h"
#include "foundation/RuleError.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace U = fields::User;

constexpr int kProducts = 3;
constexpr double kStartStock = 100000;

// An invoice of one piece of each product, cash, to one partner.
void fillInvoice(MemoryDocument& doc) {
    doc.emptyAll();
    doc.mszamla.append();
    doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
    doc.mszamla.setString(H::FIZMOD, QStringLiteral("Készpénz"));
    doc.mszamla.setDate(H::KIALLIT, QDate::currentDate());
    doc.mszamla.setDate(H::FIZHAT, QDate::currentDate());
    doc.mszamla.post();
    for (int p = 1; p <= kProducts; ++p) {
        doc.mszamla2.append();
        doc.mszamla2.setFloat(L::ANYAGSZAM, p);
        doc.mszamla2.setString(L::MEGNEVEZES, QStringLiteral("Termék %1").arg(p));
        doc.mszamla2.setFloat(L::MENNYISEG, 1);
        doc.mszamla2.setFloat(L::EGYSEGAR, 100);
        doc.mszamla2.post();
    }
}

// One workstation: a real process with its own data module, saving invoices through the
// store. Returns the child's process id; the child ends with 0 when every save succeeded.
pid_t startWorkstation(const std::string& folder, int saves) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        IniFile ini(QString::fromStdString(folder + "/gep" + std::to_string(getpid()) + ".ini"));
        IniSettings settings;
        SalesSaveContext context{data, ini, settings, QStringLiteral("gep%1").arg(getpid())};
        context.lockPatience = std::chrono::milliseconds(30000);
        SalesStore store(context);
        MemoryDocument doc;
        for (int i = 0; saves < 0 || i < saves; ++i) {
            fillInvoice(doc);
            store.store(doc, SalesMode::Invoice, {});
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

class SalesProcessTest : public SalesFolder {
protected:
    void SetUp() override {
        SalesFolder::SetUp();
        for (int p = 1; p <= kProducts; ++p) addProduct(p, QStringLiteral("Termék %1").arg(p), kStartStock);
        data.close();
    }

    // Every stored invoice is whole: its lines and log rows are there, the counter is past its
    // number, the numbers have no gap, and the stock is lowered once per invoice. Returns how
    // many invoices are stored.
    int checkWholeDocuments() {
        data.open(dir.path());
        std::set<QString> numbers;
        TableHandle& h = data.SzamlaTable();
        for (h.first(); !h.eof(); h.next()) numbers.insert(h.asString(H::SZAMLASZAM).trimmed());
        const int stored = int(numbers.size());
        EXPECT_EQ(int(h.recordCount()), stored) << "a number was stored twice";
        for (int n = 1; n <= stored; ++n)
            EXPECT_TRUE(
                numbers.count(QStringLiteral("SZA%1/%2").arg(QDate::currentDate().year()).arg(n, 5, 10, QChar('0'))))
                << "gap at " << n;
        for (const char* table : {"Szamla2.dbf", "tranzakcio.dbf"}) {
            TableHandle rows(dir.path(), table);
            rows.open();
            EXPECT_EQ(int(rows.recordCount()), stored * kProducts) << table;
        }
        TableHandle& settings = data.UserTable();
        settings.first();
        EXPECT_EQ(settings.asInteger(U::SZAMLASZ), stored + 1);
        for (int p = 1; p <= kProducts; ++p) EXPECT_EQ(stockOf(p), kStartStock - stored);
        data.close();
        std::ostringstream out, err;
        EXPECT_EQ(dbtool::run({"check", dir.path()}, out, err), 0) << out.str() << err.str();
        EXPECT_TRUE(dbase::keptDamagedJournals(dir.path()).empty());
        return stored;
    }
};

TEST_F(SalesProcessTest, FourWorkstationsSavingAtOnceGetGaplessNumbersAndExactStock) {
    constexpr int kSaves = 100;
    std::vector<pid_t> workstations;
    for (int i = 0; i < 4; ++i) workstations.push_back(startWorkstation(dir.path(), kSaves));
    for (pid_t pid : workstations) EXPECT_EQ(exitCode(pid), 0);
    EXPECT_EQ(checkWholeDocuments(), 4 * kSaves);
}

// A workstation cancelling the invoices 1..count in turn; exits with how many it cancelled
// (the others were refused as cancelled already), or 255 on an error.
pid_t startCancelling(const std::string& folder, int count) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int cancelled = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        DocumentCancellation cancellation(data, std::chrono::milliseconds(30000));
        for (int n = 1; n <= count; ++n) {
            const auto target = cancellation.find(
                QStringLiteral("SZA%1/%2").arg(QDate::currentDate().year()).arg(n, 5, 10, QChar('0')));
            if (!target) _exit(255);
            try {
                cancellation.cancel(*target, CancelMode::Invoice, CancelKind::Storno);
                ++cancelled;
            } catch (const RuleError& refused) {
                if (refused.message() != kAlreadyCancelled) _exit(255);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        _exit(255);
    }
    _exit(cancelled);
}

TEST_F(SalesProcessTest, TwoWorkstationsCancellingTheSameInvoicesCancelEachOnce) {
    constexpr int kInvoices = 30;
    ASSERT_EQ(exitCode(startWorkstation(dir.path(), kInvoices)), 0);
    const pid_t first = startCancelling(dir.path(), kInvoices);
    const pid_t second = startCancelling(dir.path(), kInvoices);
    const int a = exitCode(first), b = exitCode(second);
    ASSERT_NE(a, 255);
    ASSERT_NE(b, 255);
    EXPECT_EQ(a + b, kInvoices);
    data.open(dir.path());
    for (int p = 1; p <= kProducts; ++p) EXPECT_EQ(stockOf(p), kStartStock);
    TableHandle& h = data.SzamlaTable();
    for (h.first(); !h.eof(); h.next()) EXPECT_EQ(h.asString(H::SZAMLATIP).trimmed(), QStringLiteral("S"));
    data.close();
    std::ostringstream out, err;
    EXPECT_EQ(dbtool::run({"check", dir.path()}, out, err), 0) << out.str() << err.str();
}

class SalesSaveCrashTest : public SalesProcessTest {};

TEST_F(SalesSaveCrashTest, ASaveKilledAtAnyMomentLeavesTheDocumentWholeOrAbsent) {
    std::mt19937 random(testing_support::testSeed());
    // A workstation's first invoice also loads the invoice data schemas: the kills must reach
    // past it for some saves to finish.
    std::uniform_int_distribution<int> pause(0, 150000);
    constexpr int kRuns = 200;
    int stored = 0;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t pid = startWorkstation(dir.path(), -1);
        usleep(useconds_t(pause(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const dbase::RecoveryReport report = dbase::recoverFolder(dir.path());
        ASSERT_FALSE(report.needsCheck) << "run " << run << ": " << report.detail;
        stored = checkWholeDocuments();
        if (HasFailure()) FAIL() << "run " << run;
    }
    EXPECT_GT(stored, 0);
}

}  // namespace
}  // namespace kavina::documents
