#include "invoicing/document/DocumentNumbering.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <vector>

#include "dbase/TestFolder.h"
#include "dbase/Transaction.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"

namespace kavina::invoicing {
namespace {

const QDate kDay2008(2008, 3, 15);

namespace U = fields::User;

class DocumentNumberingTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    std::unique_ptr<TableHandle> settings;

    void SetUp() override {
        createDataFolder(dir.path());
        settings = std::make_unique<TableHandle>(dir.path(), "user.dbf");
        settings->open();
        settings->append();
        for (const Field& counter : {U::SZAMLASZ, U::PROFORMA, U::SELEJT, U::AJANLATSZ, U::PARTNERKOD})
            settings->setInteger(counter, 1);
        settings->post();
    }

    void set(const Field& field, const QString& text) {
        settings->first();
        settings->edit();
        settings->setString(field, text);
        settings->post();
    }
    int64_t counter(const Field& field) {
        settings->refresh();
        settings->first();
        return settings->asInteger(field);
    }
};

TEST_F(DocumentNumberingTest, NumbersArePrefixYearSlashPaddedCounterSuffix) {
    set(U::SELO, QStringLiteral("SZA"));
    set(U::SZAMLASZ, QStringLiteral("7"));
    EXPECT_EQ(composeNumber(NumberKind::Invoice, *settings, kDay2008), QStringLiteral("SZA2008/00007"));
    set(U::SUTO, QStringLiteral("-B"));
    EXPECT_EQ(composeNumber(NumberKind::Invoice, *settings, kDay2008), QStringLiteral("SZA2008/00007-B"));
    set(U::SELEJT, QStringLiteral("123456"));  // six digits are written whole
    EXPECT_EQ(composeNumber(NumberKind::Scrap, *settings, kDay2008), QStringLiteral("SEL2008/123456"));
    set(U::DEFUSER, QStringLiteral("42"));
    EXPECT_EQ(composeNumber(NumberKind::CashSale, *settings, kDay2008), QStringLiteral("PGÉ2008/00042"));
    EXPECT_EQ(composeNumber(NumberKind::Proforma, *settings, kDay2008), QStringLiteral("PRO2008/00001"));
}

TEST_F(DocumentNumberingTest, TheYearIsTodaysNotTheDocumentsAndEmptyAffixesLeaveTheBareNumber) {
    EXPECT_EQ(takeNumber(NumberKind::Invoice, *settings, QDate(2009, 1, 2)), QStringLiteral("2009/00001"));
    EXPECT_EQ(takeNumber(NumberKind::Invoice, *settings, kDay2008), QStringLiteral("2008/00002"));
}

TEST_F(DocumentNumberingTest, ACorrectiveInvoiceTakesTheNextInvoiceNumber) {
    set(U::SELO, QStringLiteral("SZ"));
    EXPECT_EQ(takeNumber(NumberKind::Invoice, *settings, kDay2008), QStringLiteral("SZ2008/00001"));
    EXPECT_EQ(takeNumber(NumberKind::Corrective, *settings, kDay2008), QStringLiteral("SZ2008/00002"));
    EXPECT_EQ(counter(U::SZAMLASZ), 3);
}

TEST_F(DocumentNumberingTest, AnEmptyCashSaleCounterStartsAtOne) {
    settings->first();
    ASSERT_TRUE(settings->isNull(U::DEFUSER));
    EXPECT_EQ(takeNumber(NumberKind::CashSale, *settings, kDay2008), QStringLiteral("PGÉ2008/00001"));
    EXPECT_EQ(counter(U::DEFUSER), 2);
    // Any save makes sure of it, whatever kind it numbers.
    set(U::DEFUSER, QString());
    takeNumber(NumberKind::Invoice, *settings, kDay2008);
    EXPECT_EQ(counter(U::DEFUSER), 1);
    ensureCounterSet(*settings, U::DEFUSERN);
    EXPECT_EQ(counter(U::DEFUSERN), 1);
    ensureCounterSet(*settings, U::DEFUSERN);
    EXPECT_EQ(counter(U::DEFUSERN), 1);
}

TEST_F(DocumentNumberingTest, AFailedSaveLeavesNoGap) {
    {
        dbase::Transaction save(dir.path());
        EXPECT_EQ(takeNumber(NumberKind::Invoice, *settings, kDay2008), QStringLiteral("2008/00001"));
        // the save fails before it commits
    }
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
    {
        dbase::Transaction save(dir.path());
        EXPECT_EQ(takeNumber(NumberKind::Invoice, *settings, kDay2008), QStringLiteral("2008/00001"));
        save.commit();
    }
    EXPECT_EQ(counter(U::SZAMLASZ), 2);
}

TEST_F(DocumentNumberingTest, InvoiceAndProformaIssueDatesGoToTheirIniKeys) {
    IniFile ini(QString::fromStdString(dir.file("kavinaextra.ini")));
    IniSettings in;
    recordIssueDate(ini, in, NumberKind::Corrective, QDate(2008, 3, 15));
    recordIssueDate(ini, in, NumberKind::Proforma, QDate(2008, 4, 1));
    recordIssueDate(ini, in, NumberKind::DeliveryNote, QDate(2009, 1, 1));
    const IniFile again(ini.path());
    EXPECT_EQ(again.readDate(QStringLiteral("adatok"), QStringLiteral("szamDate"), {}), QDate(2008, 3, 15));
    EXPECT_EQ(again.readDate(QStringLiteral("adatok"), QStringLiteral("proDate"), {}), QDate(2008, 4, 1));
    EXPECT_EQ(in.szamDate, QDate(2008, 3, 15));
    EXPECT_TRUE(dateBeforeLastInvoice(in, QDate(2008, 3, 14)));
    EXPECT_FALSE(dateBeforeLastInvoice(in, QDate(2008, 3, 15)));
}

// Four workstations, each taking 250 numbers at once: every number is taken once, none is
// skipped, and the counter ends 1000 higher.
TEST_F(DocumentNumberingTest, ProcessesTakingNumbersAtOnceNeverShareOrSkipOne) {
    constexpr int kProcesses = 4, kEach = 250;
    std::vector<pid_t> children;
    std::vector<int> pipes;
    for (int p = 0; p < kProcesses; ++p) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            int rc = 0;
            try {
                TableHandle own(dir.path(), "user.dbf");
                own.open();
                for (int i = 0; i < kEach; ++i) {
                    // Every other number is taken outside a save's transaction, where only the
                    // settings record's lock keeps the workstations apart.
                    std::optional<dbase::Transaction> save;
                    if (i % 2 == 0) save.emplace(dir.path());
                    const QByteArray number = takeNumber(NumberKind::Invoice, own, kDay2008).toUtf8() + '\n';
                    if (save) save->commit();
                    if (write(fds[1], number.constData(), size_t(number.size())) != number.size()) rc = 2;
                }
            } catch (const std::exception& e) {
                std::fprintf(stderr, "workstation: %s\n", e.what());
                rc = 1;
            }
            _exit(rc);
        }
        close(fds[1]);
        children.push_back(pid);
        pipes.push_back(fds[0]);
    }
    std::string all;
    for (int fd : pipes) {
        char buf[4096];
        for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) all.append(buf, size_t(n));
        close(fd);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::string> numbers;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        numbers.insert(all.substr(start, end - start));
    ASSERT_EQ(numbers.size(), size_t(kProcesses * kEach));
    for (int n = 1; n <= kProcesses * kEach; ++n) {
        char want[32];
        std::snprintf(want, sizeof want, "2008/%05d", n);
        EXPECT_TRUE(numbers.count(want)) << want;
    }
    EXPECT_EQ(counter(U::SZAMLASZ), 1 + kProcesses * kEach);
}

}  // namespace
}  // namespace kavina::invoicing
