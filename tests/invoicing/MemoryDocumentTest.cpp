// The in-memory document: the fields of the stored document (and the two picker prices on
// the lines), values that copy to the tables unchanged, and the print order of the lines.

#include "invoicing/document/MemoryDocument.h"

#include <gtest/gtest.h>

#include "foundation/Catalogue.h"

namespace kavina {
namespace {

std::vector<std::string> names(const RecordCursor& c) {
    std::vector<std::string> out;
    for (const auto& f : c.fields()) out.push_back(f.name);
    return out;
}

std::vector<std::string> names(const TableDef& def) {
    std::vector<std::string> out;
    for (const auto& f : def.fields) out.push_back(f.name);
    return out;
}

TEST(MemoryDocumentTest, HeaderAndLinesHaveTheStoredFieldsAndThePickerPrices) {
    MemoryDocument doc;
    EXPECT_EQ(names(doc.mszamla), names(catalogue::table(TableId::Szamla)));
    std::vector<std::string> lines = names(catalogue::table(TableId::Szamla2));
    lines.push_back("beszerzar");
    lines.push_back("bbesz");
    EXPECT_EQ(names(doc.mszamla2), lines);
    for (const char* field : {"SZAMLATIP", "PRINT", "MEGJEGYZES", "TELJESCIM", "szlnetto", "szlbrutto"})
        EXPECT_GE(doc.mszamla.fieldIndex(field), 0) << field;
    // A 16-character number with an accented letter is kept whole, as the table keeps it.
    doc.mszamla.append();
    doc.mszamla.setString("SZAMLASZAM", "PGÉ2008/00042XYZ");
    doc.mszamla.post();
    EXPECT_EQ(doc.mszamla.asString("SZAMLASZAM"), "PGÉ2008/00042XYZ");
    doc.empty();
    EXPECT_TRUE(doc.mszamla.isEmpty());
    EXPECT_EQ(doc.mszamla.fieldCount(), int(catalogue::table(TableId::Szamla).fields.size()));
}

TEST(MemoryDocumentTest, TheSourceStockLinesKeepTheStockFieldsAndOnlyOpeningEmptiesThem) {
    MemoryDocument doc;
    EXPECT_EQ(names(doc.mData2),
              (std::vector<std::string>{"SZAMLASZAM", "ANYAGSZAM", "MENNYISEG", "EGYSEG", "AR1", "AR2", "AR3", "ARE",
                                        "EGYSEGAR", "ITJSZAM", "MEGNEVEZES", "NETTOAR", "AFA", "AFAFT", "OSSZESEN",
                                        "ARCSOPORT", "TERMEK", "MEGJEGYZES"}));
    doc.mData2.append();
    doc.mData2.setFloat("MENNYISEG", 2.5);
    doc.mData2.post();
    doc.empty();
    EXPECT_FALSE(doc.mData2.isEmpty());
    doc.emptyAll();
    EXPECT_TRUE(doc.mData2.isEmpty());
}

// Products before services, then by rate; a line whose flag or rate was never set counts
// as a product at 0 %.
TEST(MemoryDocumentTest, LinesSortProductsFirstThenByRateWithEmptyValuesAsFalseAndZero) {
    MemoryDocument doc;
    struct Line {
        const char* name;
        const char* service;
        const char* rate;
    };
    for (Line l : {Line{"munkadíj", "T", "27"},
                   {"csavar", "F", "27"},
                   {"könyv", "F", "5"},
                   {"kiszállás", "T", "5"},
                   {"minta", "", ""},
                   {"alátét", "F", "27"}}) {
        doc.mszamla2.append();
        doc.mszamla2.setString("MEGNEVEZES", l.name);
        doc.mszamla2.setString("TERMEK", l.service);
        doc.mszamla2.setString("AFA", l.rate);
        doc.mszamla2.post();
    }
    doc.sortLinesForPrint();
    QStringList order;
    for (doc.mszamla2.first(); !doc.mszamla2.eof(); doc.mszamla2.next()) order << doc.mszamla2.asString("MEGNEVEZES");
    EXPECT_EQ(order, (QStringList{"minta", "könyv", "csavar", "alátét", "kiszállás", "munkadíj"}));
}

}  // namespace
}  // namespace kavina
