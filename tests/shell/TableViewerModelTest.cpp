// The table viewer's grid over a shared handle: rows in the handle's order, ordering by an
// indexed column, the quick search and its prefix filter, direct edits, and putting the
// handle back as it was.

#include <gtest/gtest.h>

#include "dbase/TestFolder.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"
#include "shell/tableviewer/TableViewerModel.h"

namespace kavina::shell {
namespace {

using testing_support::TestFolder;

class TableViewerModelTest : public ::testing::Test {
protected:
    TestFolder dir;
    TDataModule1 dm;
    QStringList errors;

    void SetUp() override {
        createDataFolder(dir.path());
        dm.open(dir.path());
        addPartner(3, "Szabó Kft.", "Fő utca 1.");
        addPartner(1, "Alfa Bt.", "Kossuth tér 2.");
        addPartner(2, "Szeged Vas Zrt.", "Ady út 3.");
        addPartner(4, "Kovács és Társa", "Bem utca 4.");
        partners().first();
    }

    TableHandle& partners() { return dm.PartnerTable(); }

    void addPartner(int code, const QString& name, const QString& street) {
        partners().append();
        partners().setInteger("PARTNERKOD", code);
        partners().setString("NEV", name);
        partners().setString("UTCA", street);
        partners().post();
    }

    std::unique_ptr<TableViewerModel> model() {
        return std::make_unique<TableViewerModel>(partners(), [this](const QString& e) { errors << e; });
    }

    int column(TableViewerModel& m, const char* field) { return m.handle().fieldNumber(field); }

    QStringList columnTexts(TableViewerModel& m, const char* field) {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r) out << m.data(m.index(r, column(m, field)), Qt::DisplayRole).toString();
        return out;
    }

    QString currentName() { return partners().asString("NEV"); }
};

TEST_F(TableViewerModelTest, ShowsTheRecordsInTheHandlesOrderAndOrdersByAnIndexedColumnOnly) {
    auto m = model();
    EXPECT_EQ(m->columnCount(), partners().fieldCount());
    EXPECT_EQ(m->headerData(column(*m, "NEV"), Qt::Horizontal, Qt::DisplayRole).toString(), "NEV");
    EXPECT_EQ(columnTexts(*m, "NEV"), QStringList({"Alfa Bt.", "Kovács és Társa", "Szabó Kft.", "Szeged Vas Zrt."}));
    EXPECT_EQ(m->orderColumn(), column(*m, "NEV"));

    EXPECT_TRUE(m->orderBy(column(*m, "PARTNERKOD")));
    EXPECT_EQ(columnTexts(*m, "PARTNERKOD"), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(m->orderColumn(), column(*m, "PARTNERKOD"));

    EXPECT_FALSE(m->isIndexed(column(*m, "NEV2")));
    EXPECT_FALSE(m->orderBy(column(*m, "NEV2")));
    EXPECT_EQ(partners().order(), "PARTNERKOD");
}

TEST_F(TableViewerModelTest, QuickSearchLocatesByPrefixIgnoringCaseInTheCurrentOrder) {
    auto m = model();
    EXPECT_EQ(m->quickSearch("SZE"), "");
    EXPECT_EQ(currentName(), "Szeged Vas Zrt.");
    EXPECT_EQ(m->currentRow(), 3);
    EXPECT_EQ(m->quickSearch("kov"), "");
    EXPECT_EQ(currentName(), "Kovács és Társa");

    EXPECT_EQ(m->quickSearch("Zeta"), "Nincs ilyen kezdetű rekord: Zeta");
    EXPECT_EQ(currentName(), "Kovács és Társa");
    EXPECT_EQ(m->rowCount(), 4);
}

TEST_F(TableViewerModelTest, PercentFiltersTheOrderFieldByPrefixAndAnEmptyBoxRemovesTheFilter) {
    auto m = model();
    EXPECT_EQ(m->quickSearch("%sz"), "");
    EXPECT_EQ(columnTexts(*m, "NEV"), QStringList({"Szabó Kft.", "Szeged Vas Zrt."}));
    EXPECT_EQ(m->quickSearch("%sza"), "");
    EXPECT_EQ(columnTexts(*m, "NEV"), QStringList({"Szabó Kft."}));

    EXPECT_EQ(m->quickSearch("%"), "");
    EXPECT_EQ(m->rowCount(), 4);
    EXPECT_FALSE(partners().filtered());

    EXPECT_EQ(m->quickSearch("%a'b"), "");  // a quote in the text is part of the prefix
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_EQ(m->quickSearch(""), "");
    EXPECT_EQ(m->rowCount(), 4);
}

TEST_F(TableViewerModelTest, SearchWithoutAnOrderOrWithAValueTheFieldCannotHoldChangesNothing) {
    partners().setOrder("");
    auto m = model();
    EXPECT_EQ(m->quickSearch("%Sz"), "A kereséshez rendezze a táblát: kattintson egy indexelt oszlop fejlécére.");
    EXPECT_EQ(m->rowCount(), 4);

    ASSERT_TRUE(m->orderBy(column(*m, "PARTNERKOD")));
    EXPECT_EQ(m->quickSearch("%abc"), "A rendezés mezője szám: a % után számot írjon.");
    EXPECT_FALSE(partners().filtered());
    EXPECT_EQ(m->quickSearch("%2"), "");
    EXPECT_EQ(columnTexts(*m, "NEV"), QStringList({"Szeged Vas Zrt."}));
}

TEST_F(TableViewerModelTest, AnEditGoesStraightToDiskAndARefusedValueChangesNothing) {
    auto m = model();
    int written = 0;
    QObject::connect(&dm, &TDataModule1::recordWritten, [&] { ++written; });
    const QModelIndex street = m->index(0, column(*m, "UTCA"));
    ASSERT_TRUE(m->setData(street, "Petőfi sor 9.", Qt::EditRole));
    EXPECT_EQ(m->data(street, Qt::DisplayRole).toString(), "Petőfi sor 9.");
    EXPECT_EQ(written, 1);

    TableHandle other(dir.path() + "/", "Partner.DBF");
    other.open();
    ASSERT_TRUE(other.locate({{"NEV", "Alfa Bt."}}));
    EXPECT_EQ(other.asString("UTCA"), "Petőfi sor 9.");

    const QModelIndex code = m->index(0, column(*m, "PARTNERKOD"));
    EXPECT_FALSE(m->setData(code, "sok", Qt::EditRole));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Az értéket a tábla nem fogadta el:\n"));
    EXPECT_EQ(m->data(code, Qt::DisplayRole).toString(), "1");
    EXPECT_FALSE(partners().isEditing());
}

TEST_F(TableViewerModelTest, ChangingTheOrderKeyMovesTheRowAndAppendAndDeleteFollowTheTable) {
    auto m = model();
    ASSERT_TRUE(m->setData(m->index(0, column(*m, "NEV")), "Zöld Kft.", Qt::EditRole));
    EXPECT_EQ(columnTexts(*m, "NEV").last(), "Zöld Kft.");

    m->appendRecord();
    EXPECT_EQ(m->rowCount(), 5);
    EXPECT_EQ(m->currentRow(), 0);  // the empty name sorts first
    EXPECT_EQ(currentName(), "");
    m->deleteCurrent();
    EXPECT_EQ(m->rowCount(), 4);
    EXPECT_EQ(partners().recordCount(), 4u);
}

TEST_F(TableViewerModelTest, RestoringPutsBackTheOrderTheFilterAndTheRecord) {
    partners().setFilter("PARTNERKOD<>4");
    partners().setFiltered(true);
    ASSERT_TRUE(partners().locate({{"NEV", "Szabó Kft."}}));
    auto m = model();
    EXPECT_EQ(m->rowCount(), 3);
    m->orderBy(column(*m, "UTCA"));
    m->quickSearch("%Fő");
    EXPECT_EQ(m->rowCount(), 1);
    m->moveTo(0);

    m->restoreHandle();
    EXPECT_EQ(partners().order(), "NEV");
    EXPECT_EQ(partners().filter(), "PARTNERKOD<>4");
    EXPECT_TRUE(partners().filtered());
    EXPECT_FALSE(partners().table().filterOptions().caseInsensitive);
    EXPECT_EQ(currentName(), "Szabó Kft.");
    EXPECT_EQ(partners().recordCount(), 3u);
}

}  // namespace
}  // namespace kavina::shell
