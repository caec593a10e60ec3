#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "products/warehouses/Warehouses.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace R = fields::Raktar;

class WarehousesTest : public ProductFolder, public WarehouseWindows {
protected:
    std::deque<std::optional<Warehouse>> answers;
    std::vector<Warehouse> starts;
    std::unique_ptr<Warehouses> warehouses;

    void SetUp() override {
        ProductFolder::SetUp();
        warehouses = std::make_unique<Warehouses>(data, prompt, *this, std::chrono::milliseconds(50));
    }
    std::optional<Warehouse> editWarehouse(const Warehouse& start) override {
        starts.push_back(start);
        if (answers.empty()) return std::nullopt;
        std::optional<Warehouse> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void addWarehouse(const QString& id, const QString& name) {
        TableHandle& w = data.raktar();
        w.append();
        w.setString(R::AZON, id);
        w.setString(R::MEGNEVEZES, name);
        w.post();
    }
    void selectWarehouse(const QString& name) {
        ASSERT_TRUE(data.raktar().locate({{R::MEGNEVEZES, name}})) << name.toStdString();
    }
    // Every product's warehouse text as another workstation reads it, by name.
    std::map<QString, QString> labels() {
        TableHandle p(dir.path(), "Anyag.dbf");
        p.open();
        std::map<QString, QString> out;
        for (p.first(); !p.eof(); p.next()) out[p.asString(A::MEGNEVEZES)] = p.asString(A::MEGJEGYZES);
        return out;
    }
    QStringList stored() {
        TableHandle w(dir.path(), "raktar.dbf");
        w.open();
        QStringList out;
        for (w.first(); !w.eof(); w.next())
            out << w.asString(R::AZON) + "|" + w.asString(R::MEGNEVEZES) + "|" + w.asString(R::CIM);
        return out;
    }
};

TEST_F(WarehousesTest, ARenameCarriesTheLabelToExactlyTheProductsThatHeldIt) {
    addWarehouse(QStringLiteral("K1"), QStringLiteral("Main store"));
    addRow(1, QStringLiteral("Szeg"), 1, QStringLiteral("Szerszám"), QStringLiteral("K1 Main store"));
    addRow(2, QStringLiteral("Csavar"), 1, QStringLiteral("Lomtár"), QStringLiteral("K1 Main store"), true);
    addRow(3, QStringLiteral("Kis eltérés"), 1, QStringLiteral("Szerszám"), QStringLiteral("k1 Main store"));
    addRow(4, QStringLiteral("Máshol"), 1, QStringLiteral("Szerszám"), QStringLiteral("Törzsraktár"));
    // The register shows one product only: the rename still reaches the others.
    data.AnyagTable().setFilter("ANYAGKOD = 4");
    data.AnyagTable().setFiltered(true);
    selectWarehouse(QStringLiteral("Main store"));
    answers.push_back(Warehouse{QStringLiteral("K2"), QStringLiteral("Main store"), QStringLiteral("Fő utca 1.")});
    ASSERT_TRUE(warehouses->modifyCurrent());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], (Warehouse{QStringLiteral("K1"), QStringLiteral("Main store"), QString()}));
    const auto now = labels();
    EXPECT_EQ(now.at(QStringLiteral("Szeg")), QStringLiteral("K2 Main store"));
    EXPECT_EQ(now.at(QStringLiteral("Csavar")), QStringLiteral("K2 Main store"));
    EXPECT_EQ(now.at(QStringLiteral("Kis eltérés")), QStringLiteral("k1 Main store"));
    EXPECT_EQ(now.at(QStringLiteral("Máshol")), QStringLiteral("Törzsraktár"));
    EXPECT_TRUE(stored().contains(QStringLiteral("K2|Main store|Fő utca 1.")));
    EXPECT_TRUE(data.AnyagTable().filtered());
    EXPECT_EQ(data.AnyagTable().filter(), "ANYAGKOD = 4");
    EXPECT_TRUE(prompt.transcript().isEmpty());
}

TEST_F(WarehousesTest, AnEmptyIdentifierGivesTheNameAloneAsLabel) {
    EXPECT_EQ(warehouseLabel(QStringLiteral("K1"), QStringLiteral("Main store")), QStringLiteral("K1 Main store"));
    EXPECT_EQ(warehouseLabel(QString(), QStringLiteral("Main store")), QStringLiteral("Main store"));
    addRow(1, QStringLiteral("Szeg"), 1, QStringLiteral("Szerszám"), QStringLiteral("Törzsraktár"));
    selectWarehouse(QStringLiteral("Törzsraktár"));
    answers.push_back(Warehouse{QStringLiteral("T"), QStringLiteral("Törzsraktár"), QString()});
    ASSERT_TRUE(warehouses->modifyCurrent());
    EXPECT_EQ(labels().at(QStringLiteral("Szeg")), QStringLiteral("T Törzsraktár"));
}

TEST_F(WarehousesTest, AWarehouseAnyProductHoldsCannotBeDeletedBinnedOrWithQuoteAndStar) {
    const QString label = QStringLiteral("Kovács' raktár*");
    addWarehouse(QString(), label);
    addWarehouse(QString(), QStringLiteral("Kovács' raktár"));
    addWarehouse(QString(), QStringLiteral("Üres"));
    // The star must not make the label a prefix, nor the quote break the count.
    addRow(1, QStringLiteral("Lomtárban"), 0, QStringLiteral("Lomtár"), label);
    addRow(2, QStringLiteral("Hosszabb"), 0, QStringLiteral("Szerszám"), QStringLiteral("Kovács' raktár* 2"));
    EXPECT_EQ(warehouses->productsLabelled(label), 1);
    EXPECT_EQ(warehouses->productsLabelled(QStringLiteral("Kovács' raktár")), 0);
    selectWarehouse(label);
    EXPECT_FALSE(warehouses->deleteCurrent());
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|" + kWarehouseInUseMessage});
    EXPECT_TRUE(stored().contains("|" + label + "|"));

    selectWarehouse(QStringLiteral("Kovács' raktár"));
    prompt.answerYesNo(false);
    EXPECT_FALSE(warehouses->deleteCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(warehouses->deleteCurrent());
    EXPECT_FALSE(stored().contains(QStringLiteral("|Kovács' raktár|")));
    EXPECT_EQ(prompt.transcript().mid(1), (QStringList{"yes/no|question|Figyelem!|" + kWarehouseDeleteQuestion,
                                                       "yes/no|question|Figyelem!|" + kWarehouseDeleteQuestion}));
}

TEST_F(WarehousesTest, DuplicateEmptyOrTooLongEntriesAreRefusedAndAskedAgain) {
    const QStringList before = stored();
    answers.push_back(Warehouse{QString(), QStringLiteral("  Törzsraktár "), QString()});  // the same label
    answers.push_back(Warehouse{QStringLiteral("X"), QStringLiteral("   "), QString()});
    answers.push_back(Warehouse{QString(17, QLatin1Char('A')), QStringLiteral("Bolt"), QString()});
    answers.push_back(std::nullopt);
    EXPECT_FALSE(warehouses->add());
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"message|warning|Figyelem!|" + warehouseTakenMessage(QStringLiteral("Törzsraktár")),
                           "message|warning|Figyelem!|" + kWarehouseNoNameMessage,
                           "message|warning|Figyelem!|Az azonosító legfeljebb 16, a megnevezés és a cím legfeljebb "
                           "80 karakter lehet!"}));
    // The dialog opened again with what was typed.
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_EQ(starts[3].id, QString(17, QLatin1Char('A')));

    answers.push_back(
        Warehouse{QString(16, QLatin1Char('A')), QString(80, QChar(u'ő')), QString(80, QLatin1Char('c'))});
    EXPECT_TRUE(warehouses->add());
    EXPECT_EQ(stored().size(), before.size() + 1);
}

TEST_F(WarehousesTest, ChangingAWarehouseKeepsItsOwnLabelButNotAnothersLabel) {
    addWarehouse(QStringLiteral("B"), QStringLiteral("Bolt"));
    selectWarehouse(QStringLiteral("Bolt"));
    // Its own label again (only the address changes) is no duplicate.
    answers.push_back(Warehouse{QStringLiteral("B"), QStringLiteral("Bolt"), QStringLiteral("Piac tér")});
    EXPECT_TRUE(warehouses->modifyCurrent());
    selectWarehouse(QStringLiteral("Bolt"));
    answers.push_back(Warehouse{QString(), QStringLiteral("Törzsraktár"), QString()});
    answers.push_back(std::nullopt);
    EXPECT_FALSE(warehouses->modifyCurrent());
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|" + warehouseTakenMessage(QStringLiteral("Törzsraktár"))});
    EXPECT_TRUE(stored().contains(QStringLiteral("B|Bolt|Piac tér")));
}

TEST_F(WarehousesTest, AProductHeldElsewhereStopsTheRenameAndNothingChanges) {
    addWarehouse(QStringLiteral("K1"), QStringLiteral("Main store"));
    addRow(1, QStringLiteral("Első"), 1, QStringLiteral("Szerszám"), QStringLiteral("K1 Main store"));
    addRow(2, QStringLiteral("Foglalt"), 1, QStringLiteral("Szerszám"), QStringLiteral("K1 Main store"));
    TDataModule1 other;
    other.open(dir.path());
    ASSERT_TRUE(other.AnyagTable().locate({{A::MEGNEVEZES, QStringLiteral("Foglalt")}}));
    other.AnyagTable().edit();
    selectWarehouse(QStringLiteral("Main store"));
    answers.push_back(Warehouse{QStringLiteral("K2"), QStringLiteral("Main store"), QString()});
    EXPECT_FALSE(runCommand(prompt, [&] { warehouses->modifyCurrent(); }));
    other.AnyagTable().cancel();
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_TRUE(prompt.entries()[0].text.startsWith(QStringLiteral("A(z) „Foglalt” termék nem módosítható (")));
    EXPECT_EQ(labels().at(QStringLiteral("Első")), QStringLiteral("K1 Main store"));
    EXPECT_TRUE(stored().contains(QStringLiteral("K1|Main store|")));
    EXPECT_FALSE(data.raktar().isEditing());
}

}  // namespace
}  // namespace kavina::products
