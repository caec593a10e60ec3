// Four workstations save 20-line documents in transactions across the catalogue's user.dbf
// (the counter), Szamla.dbf, Szamla2.dbf, tranzakcio.dbf and Anyag.dbf (the stock), keeping
// their handles from save to save, while one of them is killed (SIGKILL) at random moments and
// started again. After every kill and at the end, under the folder lock, the folder must check
// clean (every table and tag), every saved document must be whole, the numbers gapless and the
// stock exact.
//
// CTest runs it for a few seconds; `make soak` for a minute (KAVINA_SOAK_SECONDS). The seed
// comes from KAVINA_SEED and is printed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestFolder.h"
#include "TestSeed.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"

using namespace dbase;
using kavina::TableId;
using testing_support::TestFolder;
using testing_support::testSeed;

namespace {

constexpr int kProducts = 200;
constexpr int kLines = 20;
constexpr double kInitialStock = 1e6;
const TableId kTables[] = {TableId::User, TableId::Szamla, TableId::Szamla2, TableId::Tranzakcio, TableId::Anyag};

std::string documentNumber(int64_t n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "SZA2024/%06lld", static_cast<long long>(n));
    return buf;
}

void makeFolder(const std::string& folder) {
    for (TableId id : kTables) kavina::catalogue::createTable(kavina::catalogue::table(id), folder);
    Table user(folder, "user.dbf");
    user.open();
    user.append();
    user.setInteger("SZAMLASZ", 0);
    user.setString("USER1", "Próba Kft.");
    user.post();
    Table goods(folder, "Anyag.dbf");
    goods.open();
    for (int p = 1; p <= kProducts; ++p) {
        goods.append();
        goods.setFloat("ANYAGKOD", p);
        goods.setString("CIKKSZAM", "CIKK-" + std::to_string(p));
        goods.setString("MEGNEVEZES", "Termék " + std::to_string(p));
        goods.setFloat("MENNYISEG", kInitialStock);
        goods.post();
    }
}

// A workstation's loop: saves until killed, through handles it keeps.
[[noreturn]] void workstation(const std::string& folder, unsigned seed) {
    std::mt19937 rng(seed);
    try {
        Table user(folder, "user.dbf"), head(folder, "Szamla.dbf"), lines(folder, "Szamla2.dbf"),
            log(folder, "tranzakcio.dbf"), goods(folder, "Anyag.dbf");
        for (Table* t : {&user, &head, &lines, &log, &goods}) t->open();
        goods.setOrder("ANYAGKOD");
        for (;;) {
            Transaction tx(folder, FileSystem::real(), {.sync = rng() % 4 == 0});
            user.first();
            user.edit();
            const int64_t n = user.asInteger("SZAMLASZ") + 1;
            user.setInteger("SZAMLASZ", n);
            user.post();
            const std::string number = documentNumber(n);
            head.append();
            head.setString("SZAMLASZAM", number);
            head.setString("SZAMLATIP", "S");
            head.setString("NEV", "Vevő " + std::to_string(rng() % 50));
            head.setString("TELJESCIM", "Budapest, Fő utca " + std::to_string(rng() % 90 + 1) + ".");
            head.setDate("FIZHAT", Date{2024, 1 + int(rng() % 12), 1 + int(rng() % 28)});
            if (rng() % 3 == 0) head.setMemo("MEGJEGYZES", "Szállítás a telephelyre, " + number);
            head.post();
            for (int i = 0; i < kLines; ++i) {
                const int product = int(rng() % kProducts) + 1;
                const double quantity = double(1 + rng() % 5);
                lines.append();
                lines.setString("SZAMLASZAM", number);
                lines.setFloat("ANYAGSZAM", product);
                lines.setFloat("MENNYISEG", quantity);
                lines.setString("MEGNEVEZES", "Termék " + std::to_string(product));
                lines.post();
                log.append();
                log.setString("cikkszam", "CIKK-" + std::to_string(product));
                log.setString("tipus", "Eladás");
                log.setString("bizonylat", number);
                log.setFloat("mennyiseg", -quantity);
                log.post();
                if (!goods.findKey(std::to_string(product))) throw std::runtime_error("no product");
                goods.edit();
                goods.setFloat("MENNYISEG", goods.asFloat("MENNYISEG") - quantity);
                goods.post();
            }
            tx.commit();
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
    }
    _exit(3);  // only a fault ends the loop: the supervisor sees the exit
}

pid_t startWorkstation(const std::string& folder, unsigned seed) {
    const pid_t pid = fork();
    if (pid == 0) workstation(folder, seed);
    return pid;
}

// Everything the checks found wrong, under the folder lock (the journal a killed save left is
// rolled back first, as the next save of any workstation would).
std::vector<std::string> checkFolder(const std::string& folder, int64_t& saved) {
    std::vector<std::string> faults;
    Transaction hold(folder);
    for (TableId id : kTables) {
        Table t(folder, kavina::catalogue::table(id).fileName);
        t.open();
        for (const std::string& f : t.checkIntegrity()) faults.push_back(f);
    }
    Table user(folder, "user.dbf"), head(folder, "Szamla.dbf"), lines(folder, "Szamla2.dbf"),
        log(folder, "tranzakcio.dbf"), goods(folder, "Anyag.dbf");
    for (Table* t : {&user, &head, &lines, &log, &goods}) t->open();
    saved = user.asInteger("SZAMLASZ");
    std::set<std::string> numbers;
    for (head.first(); !head.eof(); head.next())
        if (!numbers.insert(head.asString("SZAMLASZAM")).second)
            faults.push_back("document " + head.asString("SZAMLASZAM") + " is saved twice");
    std::set<std::string> expected;
    for (int64_t n = 1; n <= saved; ++n) expected.insert(documentNumber(n));
    if (numbers != expected)
        faults.push_back(std::to_string(numbers.size()) + " headers for the counter's " + std::to_string(saved) +
                         " documents: the numbers are not 1 to " + std::to_string(saved));
    std::map<std::string, int> lineCount, logCount;
    std::map<int64_t, double> sold, logged;
    for (lines.first(); !lines.eof(); lines.next()) {
        ++lineCount[lines.asString("SZAMLASZAM")];
        sold[int64_t(lines.asFloat("ANYAGSZAM"))] += lines.asFloat("MENNYISEG");
    }
    for (log.first(); !log.eof(); log.next()) {
        ++logCount[log.asString("bizonylat")];
        logged[std::stoll(log.asString("cikkszam").substr(5))] -= log.asFloat("mennyiseg");
    }
    for (const std::string& number : numbers)
        if (lineCount[number] != kLines || logCount[number] != kLines)
            faults.push_back("document " + number + " has " + std::to_string(lineCount[number]) + " lines and " +
                             std::to_string(logCount[number]) + " log rows");
    for (const auto& [number, count] : lineCount)
        if (!numbers.count(number)) faults.push_back(std::to_string(count) + " lines of a document never saved");
    for (goods.first(); !goods.eof(); goods.next()) {
        const auto product = int64_t(goods.asFloat("ANYAGKOD"));
        const double stock = goods.asFloat("MENNYISEG");
        if (std::fabs(kInitialStock - sold[product] - stock) > 1e-6 ||
            std::fabs(sold[product] - logged[product]) > 1e-6)
            faults.push_back("product " + std::to_string(product) + ": stock " + std::to_string(stock) + ", sold " +
                             std::to_string(sold[product]) + ", logged " + std::to_string(logged[product]));
    }
    return faults;
}

int soakSeconds() {
    const char* given = std::getenv("KAVINA_SOAK_SECONDS");
    return given && *given ? std::max(1, std::atoi(given)) : 4;
}

}  // namespace

TEST(SoakCrashTest, FourWorkstationsSavingAndKilledAtRandomLeaveEveryDocumentWhole) {
    TestFolder dir;
    const std::string folder = dir.path();
    makeFolder(folder);
    const unsigned seed = testSeed();
    std::mt19937 rng(seed);
    std::vector<pid_t> stations;
    for (int w = 0; w < 4; ++w) stations.push_back(startWorkstation(folder, seed + 1 + unsigned(w)));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(soakSeconds());
    int kills = 0, checks = 0;
    int64_t saved = 0;
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + rng() % 650));
        const size_t victim = rng() % stations.size();
        kill(stations[victim], SIGKILL);
        int status = 0;
        waitpid(stations[victim], &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "a workstation ended by itself (see its message above)";
        ++kills;
        const auto faults = checkFolder(folder, saved);
        ++checks;
        ASSERT_TRUE(faults.empty()) << "after kill " << kills << ": " << faults.size()
                                    << " faults, the first: " << faults.front();
        stations[victim] = startWorkstation(folder, seed + 100 + unsigned(kills));
    }
    for (pid_t pid : stations) kill(pid, SIGKILL);
    for (pid_t pid : stations) waitpid(pid, nullptr, 0);
    const auto faults = checkFolder(folder, saved);
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults at the end, the first: " << faults.front();
    EXPECT_GT(saved, 0);
    std::printf("%d kills, %d checks, %lld documents saved\n", kills, checks + 1, static_cast<long long>(saved));
    RecordProperty("kills", kills);
    RecordProperty("documents", int(saved));
}
