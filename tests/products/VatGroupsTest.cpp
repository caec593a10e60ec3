#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "foundation/FieldFilter.h"
#include "products/register/ProductDialog.h"
#include "products/vat/VatGroups.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace V = fields::AFA;

class VatGroupsTest : public ProductFolder, public VatGroupWindows {
protected:
    std::deque<std::optional<VatGroup>> answers;
    std::vector<VatGroup> starts;
    std::unique_ptr<VatGroups> groups;

    void SetUp() override {
        ProductFolder::SetUp();
        groups = std::make_unique<VatGroups>(data, prompt, *this, std::chrono::milliseconds(50));
        // An older folder: a 20 % group beside today's.
        TableHandle& g = data.AFATable();
        g.append();
        g.setString(V::MEGNEVEZES, QStringLiteral("20%"));
        g.setFloat(V::AFA, 20);
        g.post();
    }
    std::optional<VatGroup> editVatGroup(const VatGroup& start) override {
        starts.push_back(start);
        if (answers.empty()) return std::nullopt;
        std::optional<VatGroup> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void addPriced(double code, const QString& name, double rate, double ar1, bool service = false) {
        addRow(code, name, 1, QStringLiteral("Szerszám"), QStringLiteral("Törzsraktár"), service);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(A::AFAKULCS, rate);
        p.setFloat(A::AR1, ar1);
        p.setFloat(A::bar1, ar1 * (1 + rate / 100));
        p.post();
    }
    const RecordCursor& product(const QString& name) {
        TableHandle& p = data.AnyagTable();
        p.refresh();
        p.setFiltered(false);
        EXPECT_TRUE(p.locate({{A::MEGNEVEZES, name}})) << name.toStdString();
        return p;
    }
    void selectGroup(const QString& name) { ASSERT_TRUE(data.AFATable().locate({{V::MEGNEVEZES, name}})); }
    QStringList groupNames() {
        QStringList names;
        TableHandle& g = data.AFATable();
        g.refresh();
        for (g.first(); !g.eof(); g.next())
            names << QStringLiteral("%1=%2").arg(g.asString(V::MEGNEVEZES).trimmed()).arg(g.asFloat(V::AFA));
        return names;
    }
};

TEST_F(VatGroupsTest, ARateChangeCarriedIntoProductsKeepsTheNetsAndRoundsTheGrosses) {
    addPriced(1, QStringLiteral("Kerek"), 20, 1000);
    addPriced(2, QStringLiteral("Majdnem kerek"), 20, 999.99);
    addPriced(3, QStringLiteral("Kedvezményes"), 5, 1000);
    selectGroup(QStringLiteral("20%"));
    answers.push_back(VatGroup{QStringLiteral("25%"), 25});
    prompt.answerYesNo(true);
    ASSERT_TRUE(groups->modifyCurrent());
    EXPECT_EQ(starts.front(), (VatGroup{QStringLiteral("20%"), 20}));
    for (const char* name : {"Kerek", "Majdnem kerek"}) {
        const RecordCursor& p = product(QString::fromUtf8(name));
        EXPECT_EQ(p.asFloat(A::AFAKULCS), 25) << name;
        EXPECT_EQ(p.asFloat(A::bar1), 1250) << name;
        EXPECT_EQ(p.asFloat(A::AR1), 1000) << name;
        EXPECT_EQ(p.asFloat(A::bbesz), 0) << name;
    }
    EXPECT_EQ(product(QStringLiteral("Kedvezményes")).asFloat(A::bar1), 1050);
    EXPECT_EQ(product(QStringLiteral("Kedvezményes")).asFloat(A::AFAKULCS), 5);
    EXPECT_TRUE(groupNames().contains(QStringLiteral("25%=25")));
    EXPECT_EQ(prompt.transcript(), (QStringList{"yes/no|question|Figyelem!|" + kCarryQuestion,
                                                "message|information|Figyelem!|2 termék, ill. szolgáltatás ÁFA "
                                                "mezője módosítva lett!"}));
}

TEST_F(VatGroupsTest, ServicesAndBinnedProductsAreCarriedAndTheRegistersFilterStays) {
    addPriced(1, QStringLiteral("Kiszállás"), 20, 1000, true);
    addPriced(2, QStringLiteral("Régi"), 20, 1000);
    TableHandle& p = data.AnyagTable();
    p.edit();
    p.setString(A::KATEGORIA, QStringLiteral("Lomtár"));
    p.post();
    filter::restrictExactly(p, filter::equals(A::KATEGORIA, QStringLiteral("Szerszám")));
    selectGroup(QStringLiteral("20%"));
    answers.push_back(VatGroup{QStringLiteral("20%"), 27});
    prompt.answerYesNo(true);
    ASSERT_TRUE(groups->modifyCurrent());
    EXPECT_TRUE(p.filtered());
    EXPECT_EQ(prompt.transcript().last(), "message|information|Figyelem!|" + carriedMessage(2));
    EXPECT_EQ(product(QStringLiteral("Régi")).asFloat(A::bar1), 1270);
}

TEST_F(VatGroupsTest, ANameOnlyChangeStillDerivesThePricesAgainAndCountsThem) {
    addPriced(1, QStringLiteral("Szeg"), 27, 99.99);
    addPriced(2, QStringLiteral("Csavar"), 27, 10);
    selectGroup(QStringLiteral("27%"));
    answers.push_back(VatGroup{QStringLiteral("Általános"), 27});
    prompt.answerYesNo(true);
    ASSERT_TRUE(groups->modifyCurrent());
    EXPECT_EQ(product(QStringLiteral("Szeg")).asFloat(A::bar1), 127);
    EXPECT_EQ(product(QStringLiteral("Szeg")).asFloat(A::AR1), 100);
    EXPECT_EQ(product(QStringLiteral("Csavar")).asFloat(A::AR1), 10.2362);  // gross 12.7 → 13
    EXPECT_EQ(prompt.transcript().last(), "message|information|Figyelem!|" + carriedMessage(2));
}

TEST_F(VatGroupsTest, AnsweringNoChangesTheGroupOnly) {
    addPriced(1, QStringLiteral("Kerek"), 20, 999.99);
    selectGroup(QStringLiteral("20%"));
    answers.push_back(VatGroup{QStringLiteral("25%"), 25});
    prompt.answerYesNo(false);
    ASSERT_TRUE(groups->modifyCurrent());
    EXPECT_EQ(product(QStringLiteral("Kerek")).asFloat(A::AR1), 999.99);
    EXPECT_EQ(product(QStringLiteral("Kerek")).asFloat(A::AFAKULCS), 20);
    EXPECT_TRUE(groupNames().contains(QStringLiteral("25%=25")));
    EXPECT_EQ(prompt.transcript(), QStringList{"yes/no|question|Figyelem!|" + kCarryQuestion});
}

TEST_F(VatGroupsTest, AProductHeldElsewhereStopsTheWholeChange) {
    addPriced(1, QStringLiteral("Első"), 20, 1000);
    addPriced(2, QStringLiteral("Foglalt"), 20, 1000);
    TDataModule1 other;
    other.open(dir.path());
    ASSERT_TRUE(other.AnyagTable().locate({{A::MEGNEVEZES, QStringLiteral("Foglalt")}}));
    other.AnyagTable().edit();  // another workstation holds the product
    selectGroup(QStringLiteral("20%"));
    answers.push_back(VatGroup{QStringLiteral("25%"), 25});
    prompt.answerYesNo(true);
    EXPECT_FALSE(runCommand(prompt, [&] { groups->modifyCurrent(); }));
    other.AnyagTable().cancel();
    ASSERT_EQ(prompt.entries().size(), 2u);
    EXPECT_TRUE(prompt.entries()[1].text.startsWith(QStringLiteral("A(z) „Foglalt” termék nem módosítható (")))
        << prompt.entries()[1].text.toStdString();
    EXPECT_TRUE(prompt.entries()[1].text.endsWith(
        QStringLiteral("ezért sem az ÁFA csoport, sem egyetlen termék ÁFA mezője nem változott.")));
    EXPECT_EQ(product(QStringLiteral("Első")).asFloat(A::AFAKULCS), 20);
    EXPECT_EQ(product(QStringLiteral("Első")).asFloat(A::bar1), 1200);
    EXPECT_TRUE(groupNames().contains(QStringLiteral("20%=20")));
    EXPECT_FALSE(data.AFATable().isEditing());
}

TEST_F(VatGroupsTest, NewAndDeleteLeaveTheProductsRate) {
    addPriced(1, QStringLiteral("Kerek"), 20, 1000);
    EXPECT_FALSE(groups->add()) << "cancelled";
    answers.push_back(VatGroup{QStringLiteral("Különleges"), 7});
    ASSERT_TRUE(groups->add());
    EXPECT_TRUE(groupNames().contains(QStringLiteral("Különleges=7")));
    selectGroup(QStringLiteral("20%"));
    prompt.answerYesNo(false);
    EXPECT_FALSE(groups->deleteCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(groups->deleteCurrent());
    EXPECT_FALSE(groupNames().contains(QStringLiteral("20%=20")));
    EXPECT_EQ(product(QStringLiteral("Kerek")).asFloat(A::AFAKULCS), 20);
}

}  // namespace
}  // namespace kavina::products

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

class UngroupedRateTest : public ProductFolder {};

TEST_F(UngroupedRateTest, AProductWhoseRateHasNoGroupShowsItAndSavingKeepsIt) {
    addRow(1, QStringLiteral("Régi áfás"), 2);
    TableHandle& p = data.AnyagTable();
    p.edit();
    p.setFloat(A::AFAKULCS, 20);
    p.setFloat(A::AR1, 999.99);
    p.post();
    ProductWindow window(data, prompt, dialogs, desktop, options());
    window.open();
    select(QStringLiteral("Régi áfás"));
    dialogs.edits.push_back([](ProductFields f) {
        f.statNumber = QStringLiteral("3214");
        return f;
    });
    ASSERT_TRUE(window.modify());
    ASSERT_EQ(dialogs.starts.size(), 1u);
    EXPECT_EQ(dialogs.starts[0].vatGroup, QStringLiteral("20 % (nincs csoport)"));
    EXPECT_EQ(dialogs.starts[0].ungroupedRate, 20);
    p.refresh();
    ASSERT_TRUE(p.locate({{A::ANYAGKOD, QStringLiteral("1")}}));
    EXPECT_EQ(p.asFloat(A::AFAKULCS), 20);
    EXPECT_EQ(p.asFloat(A::bar1), 1200);
    EXPECT_EQ(p.asString(A::ITJSZAM), QStringLiteral("3214"));
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(UngroupedRateTest, TheDialogListsAndAcceptsTheKeptRateOnly) {
    ProductDialog dialog(data, prompt, settings, false);
    const QString kept = ungroupedVatText(12.5);
    EXPECT_EQ(kept, QStringLiteral("12,5 % (nincs csoport)"));
    EXPECT_FALSE(dialog.vatGroups().contains(kept));
    EXPECT_TRUE(dialog.leftVatGroup(kept).refocus) << "a rate typed in is no group";
    dialog.keepUngroupedRate(12.5);
    EXPECT_EQ(dialog.vatGroups().last(), kept);
    EXPECT_FALSE(dialog.leftVatGroup(kept).refocus);
    EXPECT_EQ(vatRateOf(data.AFATable(), kept, 12.5), 12.5);
    EXPECT_EQ(vatRateOf(data.AFATable(), ungroupedVatText(13), 12.5), std::nullopt);
    EXPECT_EQ(vatRateOf(data.AFATable(), QStringLiteral("27%"), 12.5), 27);
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].text,
              kept + QStringLiteral(": ez az ÁFA-kulcs nincs a programban.\n\rVálasszon a listából!"));
}

}  // namespace
}  // namespace kavina::products
