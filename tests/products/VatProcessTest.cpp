// A VAT group's rate carried into the products while another workstation (a real process)
// keeps receiving into those products: every product ends at the new rate with its prices
// derived again, no movement of the other workstation is lost, and the folder checks clean.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "ProductFolder.h"
#include "dbtool/DbTool.h"
#include "documents/stock/StockRule.h"
#include "products/vat/VatGroups.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace V = fields::AFA;

constexpr int kProducts = 60;
constexpr int kRounds = 20;

class AcceptingVatWindows : public VatGroupWindows {
public:
    std::optional<VatGroup> editVatGroup(const VatGroup&) override { return VatGroup{QStringLiteral("25%"), 25}; }
};

// The other workstation: receives one piece into every product, kRounds times over.
pid_t startReceiving(const std::string& folder, const std::vector<documents::ProductRecord>& products) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        documents::StockRule rule(data.dataFolder(), std::chrono::milliseconds(30000));
        for (int round = 0; round < kRounds; ++round)
            for (const documents::ProductRecord& p : products) rule.apply(p, 1);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

int exitCode(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class VatProcessTest : public ProductFolder {};

TEST_F(VatProcessTest, ACarriedRateAndAnotherWorkstationsReceivingBothStand) {
    TableHandle& groups = data.AFATable();
    groups.append();
    groups.setString(V::MEGNEVEZES, QStringLiteral("20%"));
    groups.setFloat(V::AFA, 20);
    groups.post();
    std::vector<documents::ProductRecord> products;
    TableHandle& p = data.AnyagTable();
    for (int i = 1; i <= kProducts; ++i) {
        addRow(i, QStringLiteral("Termék %1").arg(i, 3, 10, QLatin1Char('0')), 0);
        p.edit();
        p.setFloat(A::AFAKULCS, 20);
        p.setFloat(A::AR1, 999.99);
        p.post();
        products.push_back({uint32_t(p.bookmark().id), double(i)});
    }
    // The child must not inherit this process's open files (and their locks).
    data.close();
    const pid_t other = startReceiving(dir.path(), products);
    data.open(dir.path());
    usleep(20000);  // the other workstation is under way
    AcceptingVatWindows windows;
    VatGroups vat(data, prompt, windows, std::chrono::milliseconds(30000));
    ASSERT_TRUE(data.AFATable().locate({{V::MEGNEVEZES, QStringLiteral("20%")}}));
    prompt.answerYesNo(true);
    ASSERT_TRUE(vat.modifyCurrent());
    ASSERT_EQ(exitCode(other), 0);
    EXPECT_EQ(prompt.transcript().last(), "message|information|Figyelem!|" + carriedMessage(kProducts));

    TableHandle check(dir.path(), "Anyag.dbf");
    check.open();
    int seen = 0;
    for (check.first(); !check.eof(); check.next(), ++seen) {
        EXPECT_EQ(check.asFloat(A::AFAKULCS), 25);
        EXPECT_EQ(check.asFloat(A::bar1), 1250);
        EXPECT_EQ(check.asFloat(A::AR1), 1000);
        EXPECT_EQ(check.asFloat(A::MENNYISEG), kRounds) << check.asString(A::MEGNEVEZES).toStdString();
    }
    EXPECT_EQ(seen, kProducts);
    check.close();
    data.close();
    std::ostringstream out, err;
    EXPECT_EQ(dbtool::run({"check", dir.path()}, out, err), 0) << out.str() << err.str();
}

}  // namespace
}  // namespace kavina::products
