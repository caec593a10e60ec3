// The folder generator: what it stores hangs together as the program's saves leave it, and
// the same seed makes the same folder.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "GeneratedFolder.h"
#include "dbase/FolderCheck.h"
#include "dbtool/GenerateCommand.h"
#include "dbtool/InitCommand.h"

namespace kavina::reports::year {
namespace {

class FolderGeneratorTest : public GeneratedYear {};

TEST_F(FolderGeneratorTest, TheFolderChecksCleanAndEveryNumberSeriesIsGapless) {
    EXPECT_EQ(testing_support::checkAllTables(folder()), std::vector<std::string>{});
    // "SZA2008/00012": a series is everything before the counter; invoices, corrective and
    // cancelled invoices share theirs.
    std::map<std::string, std::set<int>> series;
    for (const StoredHeader& h : stored().headers) {
        const size_t slash = h.number.find('/');
        ASSERT_NE(slash, std::string::npos) << h.number;
        EXPECT_EQ(h.number.substr(slash - 4, 4), std::to_string(kYear)) << h.number;
        EXPECT_TRUE(series[h.number.substr(0, slash)].insert(std::stoi(h.number.substr(slash + 1))).second)
            << "twice: " << h.number;
    }
    EXPECT_EQ(series.size(), 8u);  // SZA, PGÉ, BSZ, SZL, ARA, PRO, SEL, VIS
    for (const auto& [prefix, numbers] : series) {
        EXPECT_EQ(*numbers.begin(), 1) << prefix;
        EXPECT_EQ(*numbers.rbegin(), int(numbers.size())) << prefix << " has a gap";
    }
}

TEST_F(FolderGeneratorTest, DocumentsAreWholeAndDatedInTheirYear) {
    int lines = 0;
    for (const StoredHeader& h : stored().headers) {
        EXPECT_EQ(h.issued.year(), kYear) << h.number;
        ASSERT_FALSE(h.lines.empty()) << h.number;
        double net = 0;
        for (const StoredLine& l : h.lines) net += l.net;
        lines += int(h.lines.size());
        // The header's net total is its lines' net, in whole forints (less a partner's discount).
        EXPECT_LE(std::fabs(h.net), std::fabs(net) + 1) << h.number;
        EXPECT_GE(std::fabs(h.net), std::fabs(net) * 0.95 - 1) << h.number;
        if (h.type == "J") {
            EXPECT_LT(h.net, 0) << h.number;
        }
    }
    EXPECT_EQ(lines, summary().lines);
    EXPECT_GT(summary().cancelled, 0);
    EXPECT_GT(summary().payments, 0);
}

// Each document moved the stock by its own lines; a cancelled one gave its goods back, and a
// delivery note's invoice took the note's place.
TEST_F(FolderGeneratorTest, StockIsWhatCameInLessWhatWentOut) {
    std::map<double, double> moved;
    int loggedLines = 0;
    for (const StoredHeader& h : stored().headers) {
        double sign = 0;
        if (h.type == "3") sign = 1;
        if (h.type == "B" || h.type == "J" || h.type == "1" || h.type == "4" || h.type == "5") sign = -1;
        if (h.type == "F" && h.state.empty()) sign = -1;
        for (const StoredLine& l : h.lines)
            if (!l.service) moved[l.code] += sign * l.quantity;
        // Every stored line of a document that moves stock has its row in the stock log.
        if (h.type != "A" && h.type != "P" && h.type != "Q") loggedLines += int(h.lines.size());
    }
    int goods = 0;
    for (const StoredProduct& p : stored().products) {
        if (p.service) {
            EXPECT_EQ(p.stock, 0) << p.name;
            continue;
        }
        ++goods;
        EXPECT_NEAR(p.stock, moved[p.code], 1e-6) << p.name;
    }
    EXPECT_GT(goods, 100);
    EXPECT_EQ(stored().logRows, loggedLines);
}

TEST_F(FolderGeneratorTest, CashIsPaidOnIssueAndTransfersLaterOrNotYet) {
    int paidLater = 0, unpaid = 0;
    for (const StoredHeader& h : stored().headers) {
        if (h.type != "B") continue;
        if (h.payment == "Készpénz") {
            EXPECT_TRUE(h.paid) << h.number;
            EXPECT_EQ(h.paidOn, h.issued) << h.number;
            continue;
        }
        if (!h.paid) {
            ++unpaid;
            continue;
        }
        ++paidLater;
        EXPECT_GT(h.paidOn, h.issued) << h.number;
        EXPECT_LE(h.paidOn, QDate(kYear, 12, 31)) << h.number;
    }
    EXPECT_GT(paidLater, 0);
    EXPECT_GT(unpaid, 0);
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FolderGeneratorRunTest, TheSameSeedMakesTheSameFolderAndAnotherSeedAnother) {
    testing_support::TestFolder dir;
    generator::GeneratorOptions options;
    options.year = 2009;
    options.documents = 60;
    options.products = 40;
    options.partners = 10;
    options.linesPerDocument = 3;
    options.seed = 7;
    int reported = 0;
    options.progress = [&](int done, int total) {
        EXPECT_EQ(done, reported + 1);
        EXPECT_EQ(total, 60);
        reported = done;
    };
    generator::generateFolder(dir.file("a"), options);
    EXPECT_EQ(reported, 60);
    options.progress = {};
    generator::generateFolder(dir.file("b"), options);
    options.seed = 8;
    generator::generateFolder(dir.file("c"), options);
    for (const char* table : {"Szamla.dbf", "Szamla2.dbf", "Anyag.dbf", "tranzakcio.dbf", "partner.dbf"})
        EXPECT_EQ(bytesOf(dir.file("a/") + table), bytesOf(dir.file("b/") + table)) << table;
    EXPECT_NE(bytesOf(dir.file("a/Szamla2.dbf")), bytesOf(dir.file("c/Szamla2.dbf")));
}

TEST(FolderGeneratorRunTest, UnusableOptionsAreRefusedBeforeAnythingIsWritten) {
    testing_support::TestFolder dir;
    generator::GeneratorOptions options;
    options.documents = 0;
    EXPECT_THROW(generator::generateFolder(dir.file("none"), options), generator::GeneratorRefused);
    options.documents = 5;
    options.from = QDate(2008, 5, 1);
    options.to = QDate(2008, 4, 1);
    EXPECT_THROW(generator::generateFolder(dir.file("none"), options), generator::GeneratorRefused);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
}

// A folder holding a business keeps its registers, and its documents come after its own.
TEST(FolderGeneratorRunTest, AFolderWithABusinessGetsItsDocumentsAfterItsOwn) {
    testing_support::TestFolder dir;
    generator::GeneratorOptions options;
    options.year = 2010;
    options.documents = 30;
    options.products = 20;
    options.partners = 5;
    options.from = QDate(2010, 3, 1);
    options.to = QDate(2010, 3, 31);
    generator::generateFolder(dir.path(), options);
    options.from = QDate(2010, 4, 1);
    options.to = QDate(2010, 4, 30);
    options.products = 999;
    const generator::GeneratorSummary second = generator::generateFolder(dir.path(), options);
    EXPECT_EQ(second.products, 20);
    const StoredFolder folder = readFolder(dir.path());
    EXPECT_EQ(folder.products.size(), 20u);
    EXPECT_EQ(folder.headers.size(), 60u);
    std::set<std::string> numbers;
    for (const StoredHeader& h : folder.headers) EXPECT_TRUE(numbers.insert(h.number).second) << h.number;
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>{});
}

// The demo folder of "kavina-db init --demo": its generated history stands alone, so the
// numbers of every series rise with the days, as a real shop's do.
TEST(FolderGeneratorRunTest, TheDemoFoldersNumbersFollowItsDays) {
    testing_support::TestFolder dir;
    std::ostringstream out, err;
    ASSERT_EQ(dbtool::runInit({"init", "--demo", dir.path()}, out, err, dbtool::addDemoHistory), 0) << err.str();
    const StoredFolder folder = readFolder(dir.path());
    ASSERT_GE(folder.headers.size(), 300u);
    std::map<std::string, std::map<int, QDate>> series;  // "SZA2026" -> number -> day
    for (const StoredHeader& h : folder.headers) {
        const size_t slash = h.number.find('/');
        ASSERT_NE(slash, std::string::npos) << h.number;
        EXPECT_TRUE(series[h.number.substr(0, slash)].emplace(std::stoi(h.number.substr(slash + 1)), h.issued).second)
            << "twice: " << h.number;
    }
    for (const auto& [prefix, days] : series) {
        EXPECT_EQ(days.begin()->first, 1) << prefix;
        QDate before;
        for (const auto& [number, day] : days) {
            EXPECT_FALSE(before.isValid() && day < before)
                << prefix << "/" << number << " is dated before the number ahead of it";
            before = day;
        }
    }
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina::reports::year
