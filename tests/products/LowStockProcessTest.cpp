// The low-stock list refreshed over and over while another workstation (a real process) moves
// the stock of the same products: no movement is lost to a flag's post, the flags end as the
// stock says, and the folder checks clean.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "ProductFolder.h"
#include "dbase/FolderCheck.h"
#include "documents/stock/StockRule.h"
#include "products/warehouses/StockReports.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

constexpr int kProducts = 40;
constexpr int kRounds = 12;

// The other workstation: one piece in, then half of it out, into every product, kRounds times.
// Each round waits for a go from the list's side, so that the rounds fall among the list's
// refreshes however fast either side is.
pid_t startMoving(const std::string& folder, const std::vector<documents::ProductRecord>& products, int goes[2]) {
    const pid_t pid = fork();
    if (pid != 0) {
        ::close(goes[0]);
        return pid;
    }
    ::close(goes[1]);
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        documents::StockRule rule(data.dataFolder(), std::chrono::milliseconds(30000));
        for (int round = 0; round < kRounds; ++round) {
            char go = 0;
            if (::read(goes[0], &go, 1) != 1) throw std::runtime_error("the list's side went away");
            for (const documents::ProductRecord& p : products) {
                rule.apply(p, 1);
                rule.apply(p, -0.5);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

bool finished(pid_t pid, int& code) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return false;
    code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

class LowStockProcessTest : public ProductFolder {};

TEST_F(LowStockProcessTest, FlagsWrittenBesideAnotherWorkstationsMovementsLoseNoMovement) {
    std::vector<documents::ProductRecord> products;
    TableHandle& p = data.AnyagTable();
    for (int i = 1; i <= kProducts; ++i) {
        addRow(i, QStringLiteral("Termék %1").arg(i, 3, 10, QLatin1Char('0')), 0);
        p.edit();
        // The flag turns as the stock passes the minimum, so the list keeps writing.
        p.setFloat(A::MINMENNY, i % (kRounds / 2));
        p.post();
        products.push_back({uint32_t(p.bookmark().id), double(i)});
    }
    data.close();  // the child must not inherit this process's files and locks
    int goes[2];
    ASSERT_EQ(::pipe(goes), 0);
    const auto oldPipeHandler = std::signal(SIGPIPE, SIG_IGN);  // a child that failed early reads no more
    const pid_t other = startMoving(dir.path(), products, goes);
    data.open(dir.path());
    int code = -1;
    int written = 0;
    int runs = 0;
    while (!finished(other, code)) {
        if (runs < kRounds) (void)::write(goes[1], "g", 1);  // the next round runs beside this refresh
        written += refreshLowStock(data, std::chrono::milliseconds(30000));
        ++runs;
    }
    ::close(goes[1]);
    std::signal(SIGPIPE, oldPipeHandler);
    ASSERT_EQ(code, 0);
    written += refreshLowStock(data, std::chrono::milliseconds(30000));
    EXPECT_GE(runs, kRounds);
    EXPECT_GT(written, 0);

    TableHandle check(dir.path(), "Anyag.dbf");
    check.open();
    int seen = 0;
    for (check.first(); !check.eof(); check.next(), ++seen) {
        EXPECT_EQ(check.asFloat(A::MENNYISEG), kRounds * 0.5) << check.asString(A::MEGNEVEZES).toStdString();
        EXPECT_EQ(check.asLogical(A::KEVES), check.asFloat(A::MINMENNY) >= kRounds * 0.5);
    }
    EXPECT_EQ(seen, kProducts);
    check.close();
    data.close();
    const std::vector<std::string> faults = testing_support::checkAllTables(dir.path());
    EXPECT_TRUE(faults.empty()) << faults.front();
}

}  // namespace
}  // namespace kavina::products
