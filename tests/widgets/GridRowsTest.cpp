#include "widgets/GridRows.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cstdlib>
#include <random>

#include "common/OpenDataFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/MemTable.h"

namespace kavina::widgets {
namespace {

namespace A = fields::Anyag;

// Names that test the collation: accents, case, digraphs, blanks, duplicates and empty ones.
const char* const kSyllables[] = {"a", "A", "á", "Á", "b", "cs", "Cs", "c", "o", "ö", "ő",
                                  "Ő", "u", "ü", "ű", "z", "Zs", " ",  "1", "-", "é", "E"};

unsigned seedOfRun() {
    if (const char* given = std::getenv("KAVINA_SEED")) return unsigned(std::strtoul(given, nullptr, 10));
    return std::random_device{}();
}

class GridRowsTest : public OpenDataFolder {
protected:
    void addProducts(int count, unsigned seed) {
        std::mt19937 random(seed);
        TableHandle& p = data.AnyagTable();
        for (int i = 0; i < count; ++i) {
            QString name;
            const int length = int(random() % 5);
            for (int s = 0; s < length; ++s) name += QString::fromUtf8(kSyllables[random() % std::size(kSyllables)]);
            p.append();
            p.setFloat(A::ANYAGKOD, double(random() % 50));
            p.setString(A::MEGNEVEZES, name);
            p.setFloat(A::MENNYISEG, double(random() % 3));
            p.post();
        }
    }
    // The records as the handle itself walks them.
    static std::vector<uint64_t> walked(TableHandle& handle) {
        std::vector<uint64_t> ids;
        for (handle.first(); !handle.eof(); handle.next()) ids.push_back(handle.bookmark().id);
        return ids;
    }
    static std::vector<uint64_t> listed(const GridRows& rows) {
        std::vector<uint64_t> ids;
        for (int i = 0; i < rows.size(); ++i) ids.push_back(rows.mark(i).id);
        return ids;
    }
};

TEST_F(GridRowsTest, TheOrderIsTheTagsOrderWithAndWithoutAFilter) {
    const unsigned seed = seedOfRun();
    std::printf("KAVINA_SEED=%u\n", seed);
    SCOPED_TRACE("KAVINA_SEED=" + std::to_string(seed));
    addProducts(400, seed);
    TableHandle& products = data.AnyagTable();
    GridRows rows(products);
    for (const Field* order : {&A::MEGNEVEZES, &A::CIKKSZAM, &A::ANYAGKOD}) {
        products.setOrder(*order);
        for (bool filtered : {false, true}) {
            products.setFilter("MENNYISEG > 0");
            products.setFiltered(filtered);
            rows.reload();
            EXPECT_EQ(listed(rows), walked(products)) << order->text() << (filtered ? " filtered" : "");
            // Character tags are sorted from one scan; a number tag is walked.
            EXPECT_EQ(rows.source(), order == &A::ANYAGKOD ? GridRows::Source::TagWalk : GridRows::Source::SortedScan);
        }
    }
    products.setFiltered(false);
    products.setOrder(std::string());
    rows.reload();
    EXPECT_EQ(listed(rows), walked(products)) << "physical order";
    EXPECT_EQ(rows.source(), GridRows::Source::PhysicalScan);
}

TEST_F(GridRowsTest, RowsAreReadWhenAskedWithoutMovingTheHandle) {
    addProducts(300, 7);
    TableHandle& products = data.AnyagTable();
    products.setOrder(A::MEGNEVEZES);
    products.first();
    products.next();
    const CursorMark standing = products.bookmark();
    GridRows rows(products, 16);
    const int name = products.fieldNumber(A::MEGNEVEZES);
    rows.setColumns({[name](const RecordCursor& r) { return r.asString(name); }});
    rows.setRowTag([](const RecordCursor& r) { return int(r.asFloat(A::MENNYISEG)); });
    rows.reload();
    EXPECT_EQ(rows.rowsRead(), 0u);
    EXPECT_EQ(products.bookmark().id, standing.id);
    ASSERT_TRUE(products.gotoBookmark(rows.mark(100)));
    EXPECT_EQ(rows.row(100).texts, QStringList{products.asString(A::MEGNEVEZES)});
    EXPECT_EQ(rows.row(100).tag, int(products.asFloat(A::MENNYISEG)));
    EXPECT_EQ(rows.rowsRead(), 1u);
    rows.row(100);
    EXPECT_EQ(rows.rowsRead(), 1u);  // cached
    for (int i = 0; i < 200; ++i) rows.row(i);
    EXPECT_LE(rows.cachedRows(), 16u);
    EXPECT_EQ(rows.rowOf(products.bookmark()), 100);
    EXPECT_EQ(rows.rowOf({999999}), -1);
}

TEST_F(GridRowsTest, ARecordDeletedAfterTheReloadShowsEmpty) {
    addProducts(10, 3);
    TableHandle& products = data.AnyagTable();
    GridRows rows(products);
    rows.setColumns({[](const RecordCursor& r) { return r.asString(A::MEGNEVEZES); }});
    rows.reload();
    ASSERT_TRUE(products.gotoBookmark(rows.mark(4)));
    products.deleteRecord();
    EXPECT_EQ(rows.row(4).texts, QStringList{QString()});
}

TEST_F(GridRowsTest, TheVisitorSeesEveryShownRecordOnce) {
    addProducts(120, 11);
    TableHandle& products = data.AnyagTable();
    products.setOrder(A::MEGNEVEZES);
    filter::restrictExactly(products, "MENNYISEG > 0");
    GridRows rows(products);
    std::vector<uint64_t> seen;
    rows.setVisitor([&](const RecordCursor& r) { seen.push_back(r.bookmark().id); });
    rows.reload();
    std::vector<uint64_t> shown = listed(rows);
    std::sort(seen.begin(), seen.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(seen, shown);
}

TEST_F(GridRowsTest, ARecordSetIsReadWholeOnReload) {
    MemTable towns{"towns"};
    towns.setFields({{fields::Telep::TELEPULES.text(), dbase::FieldType::Character, 30}});
    for (const char* town : {"Szeged", "Algyő"}) {
        towns.append();
        towns.setString(fields::Telep::TELEPULES, QString::fromUtf8(town));
        towns.post();
    }
    towns.last();
    GridRows rows(towns);
    rows.setColumns({[](const RecordCursor& r) { return r.asString(fields::Telep::TELEPULES); }});
    rows.reload();
    EXPECT_EQ(rows.rowsRead(), 2u);
    EXPECT_EQ(rows.row(0).texts, QStringList{"Szeged"});
    EXPECT_EQ(towns.asString(fields::Telep::TELEPULES), QStringLiteral("Algyő"));  // the cursor is back
}

}  // namespace
}  // namespace kavina::widgets
