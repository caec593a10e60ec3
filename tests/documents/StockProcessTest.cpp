#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "StockFolder.h"
#include "dbase/Transaction.h"
#include "dbtool/DbTool.h"

namespace kavina::documents {
namespace {

namespace A = fields::Anyag;

constexpr int kMovements = 500;

// One workstation: a real process with its own data module on the folder, receiving into the
// product kMovements times, every other movement inside a transaction (with its log row when
// asked). Returns the child's process id.
pid_t startWorkstation(const std::string& folder, const ProductRecord& product, double quantity, bool logRows) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        StockRule rule(data.dataFolder(), std::chrono::milliseconds(30000));
        for (int i = 0; i < kMovements; ++i) {
            if (i % 2 == 0) {
                rule.apply(product, quantity);
                continue;
            }
            dbase::Transaction transaction(data.dataFolder());
            rule.apply(product, quantity);
            if (logRows)
                appendStockLog(data.tranzakcio(), {.articleNumber = QStringLiteral("C-1"),
                                                   .item = QStringLiteral("Csavar"),
                                                   .quantity = quantity,
                                                   .user = QStringLiteral("gep%1").arg(getpid()),
                                                   .when = QDateTime::currentDateTimeUtc(),
                                                   .movement = Movement::RegisterReceiving});
            transaction.commit();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

class StockProcessTest : public StockFolder {
protected:
    void receiveFromTwoWorkstations(bool logRows) {
        const ProductRecord product = addProduct(1, QStringLiteral("Csavar"), 0.5);
        data.close();
        const pid_t first = startWorkstation(dir.path(), product, 1, logRows);
        const pid_t second = startWorkstation(dir.path(), product, 0.25, logRows);
        EXPECT_EQ(exitCode(first), 0);
        EXPECT_EQ(exitCode(second), 0);

        data.open(dir.path());
        EXPECT_EQ(stockOf(1), 0.5 + kMovements * 1.0 + kMovements * 0.25);
        EXPECT_EQ(data.tranzakcio().recordCount(), uint32_t(logRows ? kMovements : 0));
        data.close();
        std::ostringstream out, err;
        EXPECT_EQ(dbtool::run({"check", dir.path()}, out, err), 0) << out.str() << err.str();
    }
};

TEST_F(StockProcessTest, TwoWorkstationsReceivingIntoOneProductBothCount) {
    receiveFromTwoWorkstations(false);
}

// With their log rows, appended inside the same transactions by both workstations.
TEST_F(StockProcessTest, TwoWorkstationsReceivingWithTheirLogRows) {
    receiveFromTwoWorkstations(true);
}

}  // namespace
}  // namespace kavina::documents
