// The partner's unpaid invoices: amounts as money and dates as days, never the raw floating
// value of a sum.

#include <gtest/gtest.h>

#include <QTableView>

#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "documents/partners/forms/Ttartozasform.h"
#include "foundation/CatalogueFields.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;

class UnpaidInvoicesFormTest : public OpenDataFolder {};

TEST_F(UnpaidInvoicesFormTest, AmountsShowAsMoneyAndDatesAsDays) {
    TableHandle& invoices = data.SzamlaTable();
    invoices.append();
    invoices.setString(H::SZAMLASZAM, QStringLiteral("SZA2008/00001"));
    invoices.setDate(H::KIALLIT, QDate(2008, 3, 10));
    invoices.setFloat(H::AFAALAP, 19260);
    invoices.setFloat(H::AFAFT, 5200.2 + 1e-12);  // a sum of floating values, as stored
    invoices.setFloat(H::FIZETENDO, 24460.2);
    invoices.post();
    invoices.first();
    ScriptedPrompt prompt;
    Ttartozasform dialog(nullptr, invoices, prompt);
    auto* grid = dialog.findChild<QTableView*>("unpaidInvoicesGrid");
    ASSERT_TRUE(grid);
    const auto cell = [grid](int column) { return grid->model()->index(0, column).data().toString(); };
    EXPECT_EQ(cell(2), "2008.03.10");
    EXPECT_EQ(cell(5), "19 260,00");
    EXPECT_EQ(cell(6), "5 200,20");
    EXPECT_EQ(cell(7), "24 460,20");
}

}  // namespace
}  // namespace kavina::documents
