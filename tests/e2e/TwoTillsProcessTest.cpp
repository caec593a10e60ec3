// Two tills on one data folder at the same moment, each a real process storing a run of
// invoices, cash-register sales, goods receipts and stornos; one is killed in the middle of
// its run and started again. Afterwards every series of numbers is gapless and unique, the
// stock is what the stored receipts and sales make of it, and the folder checks clean.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QRegularExpression>
#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "dbase/FolderCheck.h"
#include "dbase/TestFolder.h"
#include "dbase/TestSeed.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RecordEdit.h"
#include "foundation/TDataModule1.h"
#include "invoicing/document/DocumentKinds.h"

namespace kavina {
namespace {

namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;

constexpr int kDocuments = 100;
constexpr double kStartStock = 10000;
const std::vector<int> kProducts{33, 35, 36, 38};  // cable, sockets and bulbs of the demo shop

pid_t startTill(const std::string& folder, const std::string& name, uint32_t seed) {
    std::vector<std::string> args{TILL_PROGRAM, folder, name, std::to_string(kDocuments), std::to_string(seed)};
    for (int code : kProducts) args.push_back(std::to_string(code));
    const pid_t pid = fork();
    if (pid != 0) return pid;
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(TILL_PROGRAM, argv.data());
    _exit(127);
}

int exitCode(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int linesIn(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return int(file.readAll().count('\n'));
}

class TwoTillsProcessTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    std::string folder = dir.path() + "/adatok";
    std::set<QString> before;  // the demo shop's own documents

    void SetUp() override {
        createDataFolder(folder, {.demo = true});
        TDataModule1 data;
        data.open(folder);
        TableHandle& products = data.AnyagTable();
        for (int code : kProducts) {
            ASSERT_TRUE(products.locate({{A::ANYAGKOD, QString::number(code)}})) << code;
            RecordEdit change = RecordEdit::edit(products);
            products.setFloat(A::MENNYISEG, kStartStock);
            change.post();
        }
        TableHandle& headers = data.SzamlaTable();
        for (headers.first(); !headers.eof(); headers.next()) before.insert(headers.asString(H::SZAMLASZAM).trimmed());
    }
};

TEST_F(TwoTillsProcessTest, TwoTillsOneKilledAndRestartedKeepNumbersGaplessAndStockExact) {
    const uint32_t seed = testing_support::testSeed();
    std::mt19937 random(seed);
    const pid_t second = startTill(folder, "Pénztár2", seed + 2);
    pid_t first = startTill(folder, "Pénztár1", seed + 1);
    // The first till is killed once it is somewhere in the middle of its run.
    const int killAt = std::uniform_int_distribution<int>(5, kDocuments - 10)(random);
    const std::string done = dir.path() + "/Pénztár1.done";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (linesIn(done) < killAt && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(100, 3000)(random)));
    ASSERT_LT(linesIn(done), kDocuments) << "the till ended before it could be killed";
    kill(first, SIGKILL);
    EXPECT_EQ(exitCode(first), -1);
    first = startTill(folder, "Pénztár1", seed + 1);
    EXPECT_EQ(exitCode(first), 0);
    EXPECT_EQ(exitCode(second), 0);

    TDataModule1 data;
    data.open(folder);
    // Every number of every series once, from 1 without a gap.
    std::map<QString, std::set<int>> series;
    std::map<int, double> stock;
    for (int code : kProducts) stock[code] = kStartStock;
    namespace type = invoicing::type;
    std::map<QString, QChar> tillDocuments;
    std::set<QString> tillSeries;
    TableHandle& headers = data.SzamlaTable();
    int stored = 0;
    const QRegularExpression numbered(QStringLiteral("^(.*\\D)(\\d+)$"));
    for (headers.first(); !headers.eof(); headers.next()) {
        const QString number = headers.asString(H::SZAMLASZAM).trimmed();
        const auto match = numbered.match(number);
        ASSERT_TRUE(match.hasMatch()) << number.toStdString();
        EXPECT_TRUE(series[match.captured(1)].insert(match.captured(2).toInt()).second)
            << number.toStdString() << " twice";
        if (!before.count(number)) {
            tillDocuments[number] = headers.asString(H::SZAMLATIP).trimmed().front();
            tillSeries.insert(match.captured(1));
            ++stored;
        }
    }
    // The demo shop holds only the end of last year's invoices: a series is checked from its
    // first stored number on.
    for (const QString& prefix : tillSeries) {
        const std::set<int>& numbers = series[prefix];
        EXPECT_EQ(*numbers.rbegin() - *numbers.begin() + 1, int(numbers.size()))
            << prefix.toStdString() << " has a gap";
    }
    EXPECT_GE(stored, kDocuments * 2 * 7 / 10 - 10);
    // Receipts add their lines, sales still standing take theirs; a storno gave its back.
    TableHandle& lines = data.Szamla2Table();
    lines.clearMasterLink();
    std::map<char16_t, int> kinds;
    for (const auto& [number, code] : tillDocuments) ++kinds[code.unicode()];
    for (lines.first(); !lines.eof(); lines.next()) {
        const auto document = tillDocuments.find(lines.asString(L::SZAMLASZAM).trimmed());
        if (document == tillDocuments.end()) continue;
        const int code = int(lines.asFloat(L::ANYAGSZAM));
        const double quantity = lines.asFloat(L::MENNYISEG);
        if (document->second == type::GoodsReceipt)
            stock[code] += quantity;
        else if (document->second == type::Invoice || document->second == type::CashSale)
            stock[code] -= quantity;
    }
    EXPECT_GT(kinds[type::GoodsReceipt], 0);
    EXPECT_GT(kinds[type::Invoice], 0);
    EXPECT_GT(kinds[type::Cancelled], 0);
    EXPECT_GT(kinds[type::CashSale], 0);
    TableHandle& products = data.AnyagTable();
    for (int code : kProducts) {
        ASSERT_TRUE(products.locate({{A::ANYAGKOD, QString::number(code)}}));
        EXPECT_DOUBLE_EQ(products.asFloat(A::MENNYISEG), stock[code]) << "product " << code;
    }
    data.close();
    EXPECT_EQ(testing_support::checkAllTables(folder), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina
