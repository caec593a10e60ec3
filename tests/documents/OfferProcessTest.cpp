// An offer modification killed at random moments: the stored offer is always exactly one
// whole version, the old or the new.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "SalesFolder.h"
#include "dbase/FolderCheck.h"
#include "dbase/TestSeed.h"
#include "dbase/Transaction.h"
#include "documents/delivery/DeliverySave.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace U = fields::User;

constexpr int kLines = 3;
const QString kNumber = QStringLiteral("ARA2008/00001");

// Version n of the offer: the header and every line carry "v<n>".
void fillOffer(MemoryDocument& doc, int version) {
    const QString mark = QStringLiteral("v%1").arg(version);
    doc.emptyAll();
    doc.mszamla.append();
    doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
    doc.mszamla.setString(H::MEGJEGYZES, mark);
    doc.mszamla.setDate(H::KIALLIT, QDate(2008, 3, 10));
    doc.mszamla.post();
    for (int p = 1; p <= kLines; ++p) {
        doc.mszamla2.append();
        doc.mszamla2.setFloat(L::ANYAGSZAM, p);
        doc.mszamla2.setString(L::MEGNEVEZES, QStringLiteral("Termék %1").arg(p));
        doc.mszamla2.setString(L::MEGJEGYZES, mark);
        doc.mszamla2.setFloat(L::MENNYISEG, version);
        doc.mszamla2.setFloat(L::EGYSEGAR, 100);
        doc.mszamla2.post();
    }
}

DeliverySaveContext contextFor(TDataModule1& data) {
    DeliverySaveContext context{data, QStringLiteral("Kovács Anna")};
    context.now = [] { return QDateTime(QDate(2008, 3, 10), QTime(9, 0)); };
    return context;
}

// A workstation saving one modification of the offer after the other until it is killed.
pid_t startModifying(const std::string& folder, int firstVersion) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        DeliveryStore store(contextFor(data));
        MemoryDocument doc;
        for (int version = firstVersion;; ++version) {
            fillOffer(doc, version);
            store.store(doc, DeliveryKind::Offer, ReplacedOffer{kNumber, {}, {}});
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

class OfferSaveCrashTest : public SalesFolder {
protected:
    void SetUp() override {
        SalesFolder::SetUp();
        TableHandle& s = data.UserTable();
        s.first();
        s.edit();
        s.setString(U::AELO, QStringLiteral("ARA"));
        s.setInteger(U::AJANLATSZ, 1);
        s.post();
        MemoryDocument doc;
        fillOffer(doc, 1);
        DeliveryStore store(contextFor(data));
        EXPECT_EQ(store.store(doc, DeliveryKind::Offer).number, kNumber);
        data.close();
    }

    // The version stored: one header and its lines, all of one version. 0 when it is not so.
    int storedVersion() {
        TableHandle h(dir.path(), "Szamla.dbf");
        h.open();
        EXPECT_EQ(h.recordCount(), 1u) << "headers under the number";
        h.first();
        EXPECT_EQ(h.asString(H::SZAMLASZAM).trimmed(), kNumber);
        const QString mark = h.asString(H::MEGJEGYZES).trimmed();
        TableHandle l(dir.path(), "Szamla2.dbf");
        l.open();
        int lines = 0;
        for (l.first(); !l.eof() && !l.isEmpty(); l.next()) {
            ++lines;
            EXPECT_EQ(l.asString(L::MEGJEGYZES).trimmed(), mark) << "a line of another version";
            EXPECT_EQ(l.asString(L::SZAMLASZAM).trimmed(), kNumber);
        }
        EXPECT_EQ(lines, kLines);
        TableHandle settings(dir.path(), "user.dbf");
        settings.open();
        settings.first();
        EXPECT_EQ(settings.asInteger(U::AJANLATSZ), 2) << "a modification took a number";
        return mark.mid(1).toInt();
    }
};

TEST_F(OfferSaveCrashTest, AModificationKilledAtAnyMomentLeavesOneWholeVersion) {
    std::mt19937 random(testing_support::testSeed());
    std::uniform_int_distribution<int> pause(0, 40000);
    constexpr int kRuns = 60;
    int version = 1, replaced = 0;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t pid = startModifying(dir.path(), version + 1);
        usleep(useconds_t(pause(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const dbase::RecoveryReport report = dbase::recoverFolder(dir.path());
        ASSERT_FALSE(report.needsCheck) << "run " << run << ": " << report.detail;
        const int now = storedVersion();
        if (HasFailure()) FAIL() << "run " << run;
        ASSERT_GE(now, version);
        if (now > version) ++replaced;
        version = now;
    }
    EXPECT_GT(replaced, 0);
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina::documents
