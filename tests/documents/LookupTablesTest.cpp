#include "documents/partners/LookupTables.h"

#include <gtest/gtest.h>

#include "PartnerFolder.h"

namespace kavina::documents {
namespace {

using LookupTablesTest = PartnerFolder;

TEST_F(LookupTablesTest, GroupsAreAddedRenamedEverywhereAndDeleted) {
    PartnerGroups groups(data, prompt);
    prompt.answerText(QString());
    EXPECT_FALSE(groups.add());
    prompt.answerText(std::nullopt);
    EXPECT_FALSE(groups.add());
    prompt.answerText(QStringLiteral("Vevő"));
    EXPECT_TRUE(groups.add());
    addPartner(QStringLiteral("Alfa"), QStringLiteral("Vevő"));
    addPartner(QStringLiteral("Béta"), QStringLiteral("Szállító"));
    applyTab(data.PartnerTable(), 1, QStringLiteral("Szállító"));  // Alfa is hidden

    prompt.answerText(std::nullopt);  // cancel keeps the name
    EXPECT_FALSE(groups.modifyCurrent());
    prompt.answerText(QStringLiteral("Vásárló"));
    EXPECT_TRUE(groups.modifyCurrent());
    EXPECT_EQ(data.PcsopTable().asString(fields::PCsoport::PCSOPORT), QStringLiteral("Vásárló"));
    applyTab(data.PartnerTable(), 1, QStringLiteral("Vásárló"));
    ASSERT_EQ(data.PartnerTable().recordCount(), 1u);
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV), QStringLiteral("Alfa"));
    EXPECT_EQ(prompt.entries()[3].caption, QStringLiteral("Szerkesztés"));
    EXPECT_EQ(prompt.entries()[3].text, QStringLiteral("Partner csoport:"));
    EXPECT_EQ(prompt.entries()[3].detail, QStringLiteral("Vevő"));

    prompt.answerYesNo(true);
    EXPECT_TRUE(groups.deleteCurrent());
    EXPECT_TRUE(data.PcsopTable().isEmpty());
    EXPECT_FALSE(groups.deleteCurrent());  // nothing left: no question
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::PCSOPORT),
              QStringLiteral("Vásárló"));  // partners keep the name
}

TEST_F(LookupTablesTest, SettlementSearchesMatchPrefixesIgnoringCase) {
    TableHandle& towns = data.TelepTable();
    for (const auto& [postcode, town] : {std::pair{"6720", "Szeged"}, std::pair{"1051", "Budapest"}}) {
        towns.append();
        towns.setString(fields::Telep::IRSZAM, QString::fromUtf8(postcode));
        towns.setString(fields::Telep::TELEPULES, QString::fromUtf8(town));
        towns.post();
    }
    Settlements settlements(data, prompt, windows);
    settlements.searchName(QStringLiteral("sze"));
    EXPECT_EQ(towns.asString(fields::Telep::IRSZAM), QStringLiteral("6720"));
    settlements.searchPostcode(QStringLiteral("10"));
    EXPECT_EQ(towns.asString(fields::Telep::TELEPULES), QStringLiteral("Budapest"));
    prompt.answerYesNo(false);
    EXPECT_FALSE(settlements.deleteCurrent());
    EXPECT_EQ(towns.recordCount(), 2u);
}

TEST_F(LookupTablesTest, SettlementsAreAddedAndChangedThroughTheirDialog) {
    namespace T = fields::Telep;
    TableHandle& towns = data.TelepTable();
    Settlements settlements(data, prompt, windows);
    EXPECT_FALSE(settlements.modifyCurrent());  // no settlement: no dialog
    windows.answerSettlement(Settlement{QStringLiteral("7621"), QStringLiteral("Pécs")});
    EXPECT_TRUE(settlements.add());
    windows.answerSettlement(std::nullopt);
    EXPECT_FALSE(settlements.add());
    windows.answerSettlement(Settlement{QStringLiteral("9021"), QStringLiteral("Győr")});
    EXPECT_TRUE(settlements.add());
    ASSERT_TRUE(towns.locate({{T::TELEPULES, QStringLiteral("Pécs")}}));
    windows.answerSettlement(Settlement{QStringLiteral("7622"), QStringLiteral("Pécs")});
    EXPECT_TRUE(settlements.modifyCurrent());
    EXPECT_EQ(windows.opened(), (QStringList{"settlement|", "settlement|", "settlement|", "settlement|7621 Pécs"}));
    TableHandle other(dir.path(), "Telep.dbf");
    other.open();
    ASSERT_TRUE(other.locate({{T::TELEPULES, QStringLiteral("Pécs")}}));
    EXPECT_EQ(other.asString(T::IRSZAM), QStringLiteral("7622"));
    EXPECT_EQ(other.recordCount(), 2u);
    EXPECT_FALSE(towns.isEditing());
}

}  // namespace
}  // namespace kavina::documents
