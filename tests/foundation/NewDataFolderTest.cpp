// kavina-db init and --demo: the folder's tables against the catalogue, read by an
// independent dBASE implementation, the reference rows, the demo business's consistency, and
// the refusal of a folder that already holds tables.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "dbase/ExternalTools.h"
#include "dbase/TestFolder.h"
#include "dbtool/DbTool.h"
#include "dbtool/InitCommand.h"
#include "foundation/Catalogue.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TableHandle.h"

namespace kavina {
namespace {

namespace fs = std::filesystem;
using testing_support::TestFolder;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result init(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    std::vector<std::string> all{"init"};
    all.insert(all.end(), args.begin(), args.end());
    const int code = dbtool::runInit(all, out, err);
    return {code, out.str(), err.str()};
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The rows of a table in its default order, each as field name -> text.
std::vector<std::map<std::string, std::string>> rowsOf(const std::string& folder, TableId id) {
    const TableDef& def = catalogue::table(id);
    TableHandle h(folder, def.fileName);
    h.open({.readOnly = true});
    h.setOrder(def.defaultOrder);
    std::vector<std::map<std::string, std::string>> rows;
    for (h.first(); !h.eof(); h.next()) {
        auto& row = rows.emplace_back();
        for (int i = 0; i < h.fieldCount(); ++i) row[h.fields()[size_t(i)].name] = h.asString(i).toStdString();
    }
    return rows;
}

std::vector<std::string> column(const std::vector<std::map<std::string, std::string>>& rows, const std::string& field) {
    std::vector<std::string> out;
    for (const auto& row : rows) out.push_back(row.at(field));
    return out;
}

class NewDataFolderTest : public ::testing::Test {
protected:
    TestFolder dir;
    std::string folder() const { return dir.file("adatok"); }
};

TEST_F(NewDataFolderTest, InitWritesEveryCatalogueTableAsTDbfReadsIt) {
    const auto& tdbf = testing_support::tdbfChecker();
    ASSERT_FALSE(tdbf.command.empty()) << tdbf.problem;
    const Result r = init({folder()});
    ASSERT_EQ(r.code, 0) << r.err;

    std::set<std::string> expected;
    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        SCOPED_TRACE(def.fileName);
        expected.insert(def.fileName);
        const std::string base = def.fileName.substr(0, def.fileName.rfind('.'));
        if (!def.tags.empty()) expected.insert(base + ".mdx");
        for (const auto& f : def.fields)
            if (f.type == dbase::FieldType::Memo) expected.insert(base + ".dbt");

        const auto run = testing_support::run(dir, testing_support::quote(tdbf.command) + " dump " +
                                                       testing_support::quote(folder() + "/" + def.fileName));
        ASSERT_EQ(run.code, 0) << run.err;
        const auto dump = testing_support::parseDump(run.out);
        ASSERT_TRUE(dump.complete) << run.out;
        EXPECT_EQ(dump.header.at("level"), "7");
        EXPECT_EQ(dump.header.at("codepage"), "1250");
        std::vector<std::string> want;  // TDbf shows names in capitals
        for (const auto& f : def.fields)
            want.push_back(upper(f.name) + " " + testing_support::level7Descriptor(f.type, f.width));
        EXPECT_EQ(dump.fields, want);
    }
    EXPECT_EQ(filesIn(folder()), expected) << "the exact file names, and nothing left over";

    std::ostringstream out, err;
    EXPECT_EQ(dbtool::run({"check", folder()}, out, err), 0) << out.str() << err.str();
}

TEST_F(NewDataFolderTest, TagsAreThoseOfTheCatalogueInCreationOrder) {
    ASSERT_EQ(init({folder()}).code, 0);
    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        std::vector<std::string> want, got;
        for (const TagDef& t : def.tags) want.push_back(upper(t.name) + (t.descending ? " desc" : ""));
        if (!def.tags.empty())
            for (const auto& t : dbase::Table::readTagDefinitions(folder(), def.fileName))
                got.push_back(t.name + (t.descending ? " desc" : ""));
        EXPECT_EQ(got, want) << def.fileName;
    }
}

TEST_F(NewDataFolderTest, ReferenceRowsAreThereAndUsersAndSettingsAreLeftToTheFirstStart) {
    ASSERT_EQ(init({folder()}).code, 0);
    const auto groups = rowsOf(folder(), TableId::Arcsoport);
    EXPECT_EQ(column(groups, "ID"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(groups, "ARCSOPORT"),
              (std::vector<std::string>{"1. árcsoport", "2. árcsoport", "3. árcsoport", "Fix árcsoport"}));
    const auto payments = rowsOf(folder(), TableId::Fizmod);  // FIZMOD order: Á after A, before C and K
    EXPECT_EQ(column(payments, "FIZMOD"), (std::vector<std::string>{"Átutalás", "Csekk", "Készpénz"}));
    EXPECT_EQ(column(payments, "HATARIDO"), (std::vector<std::string>{"8", "8", "0"}));
    const auto vat = rowsOf(folder(), TableId::AFA);
    EXPECT_EQ(column(vat, "AFA"), (std::vector<std::string>{"27", "18", "5", "0"}));
    EXPECT_EQ(vat.back().at("MEGNEVEZES"), "FAD");
    EXPECT_EQ(column(rowsOf(folder(), TableId::Egyseg), "EGYSEG"),
              (std::vector<std::string>{"csomag", "db", "kg", "l", "m", "óra"}));
    EXPECT_EQ(column(rowsOf(folder(), TableId::Raktar), "MEGNEVEZES"), std::vector<std::string>{"Törzsraktár"});
    for (TableId empty : {TableId::User, TableId::Jogok, TableId::Userlog, TableId::Partner, TableId::Anyag,
                          TableId::Szamla, TableId::Szamla2})
        EXPECT_TRUE(rowsOf(folder(), empty).empty()) << catalogue::table(empty).fileName;
}

TEST_F(NewDataFolderTest, AFolderHoldingTablesIsRefusedAndLeftAsItWas) {
    fs::create_directories(folder());
    dir.write("adatok/partner.dbf", "not really a table");
    dir.write("adatok/jegyzet.txt", "notes");
    const auto before = filesIn(folder());
    const Result r = init({"--demo", folder()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("already holds tables (partner.dbf)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Nothing was changed"), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(folder()), before);
    EXPECT_EQ(dir.read("adatok/partner.dbf"), "not really a table");

    dir.write("plain-file", "x");
    EXPECT_THROW(createDataFolder(dir.file("plain-file")), FolderRefused);
    EXPECT_EQ(dir.read("plain-file"), "x");
}

TEST_F(NewDataFolderTest, AFolderWithOtherFilesIsFilledAndWrongUsageIsRefused) {
    fs::create_directories(folder());
    dir.write("adatok/jegyzet.txt", "notes");
    const Result r = init({folder()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("22 tables"), std::string::npos) << r.out;
    EXPECT_EQ(dir.read("adatok/jegyzet.txt"), "notes");

    EXPECT_EQ(init({}).code, 2);
    EXPECT_EQ(init({"--demo"}).code, 2);
    EXPECT_EQ(init({"--fast", dir.file("other")}).code, 2);
    EXPECT_EQ(init({dir.file("a"), dir.file("b")}).code, 2);
    EXPECT_FALSE(fs::exists(dir.file("other")));
    EXPECT_FALSE(fs::exists(dir.file("a")));
}

// ---- the demo business ----

class DemoFolderTest : public NewDataFolderTest {
protected:
    void SetUp() override { createDataFolder(folder(), {.demo = true, .today = QDate(2024, 5, 6)}); }

    std::set<std::string> valuesOf(TableId id, const std::string& field) {
        const auto rows = rowsOf(folder(), id);
        const auto list = column(rows, field);
        return {list.begin(), list.end()};
    }
};

TEST_F(DemoFolderTest, PartnersAreCustomersAndSuppliersInKnownTowns) {
    const auto partners = rowsOf(folder(), TableId::Partner);
    ASSERT_EQ(partners.size(), 12u);
    EXPECT_EQ(valuesOf(TableId::Partner, "PCSOPORT"), (std::set<std::string>{"Szállító", "Vevő"}));
    EXPECT_EQ(valuesOf(TableId::PCsoport, "PCSOPORT"), (std::set<std::string>{"Szállító", "Vevő"}));
    std::set<std::pair<std::string, std::string>> towns;
    for (const auto& t : rowsOf(folder(), TableId::Telep)) towns.insert({t.at("TELEPULES"), t.at("IRSZAM")});
    const auto payments = valuesOf(TableId::Fizmod, "FIZMOD");
    std::set<std::string> codes;
    for (const auto& p : partners) {
        SCOPED_TRACE(p.at("NEV"));
        EXPECT_TRUE(towns.count({p.at("VAROS"), p.at("IRSZAM")})) << "town missing from Telep.dbf";
        EXPECT_EQ(p.at("TELJESCIM"), p.at("VAROS") + " " + p.at("UTCA"));
        EXPECT_EQ(p.at("VONALKOD"), std::to_string(4770148114995LL + std::stoll(p.at("PARTNERKOD"))));
        EXPECT_TRUE(payments.count(p.at("FIZMOD")));
        const int group = std::stoi(p.at("ARCSOPORT"));
        EXPECT_TRUE(group >= 1 && group <= 4);
        codes.insert(p.at("PARTNERKOD"));
    }
    EXPECT_EQ(codes.size(), partners.size()) << "partner codes are unique";
}

TEST_F(DemoFolderTest, ProductPricesAreConsistentWithTheirVatRate) {
    const auto products = rowsOf(folder(), TableId::Anyag);
    ASSERT_GE(products.size(), 45u);
    const auto categories = valuesOf(TableId::Kategoria, "KATEGORIA");
    EXPECT_GE(categories.size(), 5u);
    const auto units = valuesOf(TableId::Egyseg, "EGYSEG");
    std::set<double> rates;
    for (const std::string& r : valuesOf(TableId::AFA, "AFA")) rates.insert(std::stod(r));
    std::set<std::string> labels;
    for (const auto& w : rowsOf(folder(), TableId::Raktar))
        labels.insert(w.at("AZON").empty() ? w.at("MEGNEVEZES") : w.at("AZON") + " " + w.at("MEGNEVEZES"));
    std::set<std::string> warehousesUsed;
    int services = 0, binned = 0, pictures = 0;
    for (const auto& p : products) {
        SCOPED_TRACE(p.at("MEGNEVEZES"));
        binned += p.at("KATEGORIA") == "Lomtár";
        EXPECT_TRUE(categories.count(p.at("KATEGORIA")) || p.at("KATEGORIA") == "Lomtár");
        EXPECT_TRUE(units.count(p.at("EGYSEG")));
        const double rate = std::stod(p.at("AFAKULCS"));
        EXPECT_TRUE(rates.count(rate));
        for (const auto& [net, gross] : std::vector<std::pair<std::string, std::string>>{
                 {"BESZERZAR", "bbesz"}, {"AR1", "bar1"}, {"AR2", "bar2"}, {"AR3", "bar3"}, {"FIXAR", "bfixar"}}) {
            const double g = std::stod(p.at(gross));
            EXPECT_EQ(g, std::round(g)) << gross << " is whole forints";
            EXPECT_EQ(std::stod(p.at(net)), std::round(g / (1 + rate / 100) * 10000) / 10000) << net;
        }
        EXPECT_LT(std::stod(p.at("BESZERZAR")), std::stod(p.at("AR1")));
        EXPECT_LE(std::stod(p.at("AR1")), std::stod(p.at("AR2")));
        EXPECT_LE(std::stod(p.at("AR2")), std::stod(p.at("AR3")));
        const bool service = p.at("TERMEK") == "T";
        services += service;
        if (service) {
            EXPECT_EQ(p.at("MENNYISEG"), "0");
            EXPECT_EQ(p.at("MEGJEGYZES"), "");
        } else {
            EXPECT_GT(p.at("VONALKOD").size(), 0u);
            EXPECT_TRUE(labels.count(p.at("MEGJEGYZES"))) << "the label of a warehouse";
            warehousesUsed.insert(p.at("MEGJEGYZES"));
        }
        if (!p.at("KEP").empty()) {
            ++pictures;
            EXPECT_EQ(p.at("KEP").rfind(folder() + "/kepek/", 0), 0u) << "a picture of the data folder";
            EXPECT_FALSE(QImage(QString::fromStdString(p.at("KEP"))).isNull());
        }
    }
    EXPECT_GT(services, 0);
    EXPECT_EQ(binned, 1);
    EXPECT_GE(pictures, 3);
    EXPECT_EQ(warehousesUsed.size(), 3u);
    std::ostringstream out, err;
    EXPECT_EQ(dbtool::run({"check", folder()}, out, err), 0) << out.str() << err.str();
}

// The demo's codes are taken: the settings record carries the counters past them, so the
// first partner or product a newcomer adds gets a new code.
TEST_F(DemoFolderTest, SettingsCountersFollowTheDemoCodes) {
    const auto settings = rowsOf(folder(), TableId::User);
    ASSERT_EQ(settings.size(), 1u);
    const auto maxOf = [&](TableId id, const std::string& field) {
        double m = 0;
        for (const auto& row : rowsOf(folder(), id)) m = std::max(m, std::stod(row.at(field)));
        return m;
    };
    EXPECT_EQ(std::stod(settings[0].at("PARTNERKOD")), maxOf(TableId::Partner, "PARTNERKOD"));
    // The product counter holds one less than the highest code: the next one is counter + 2.
    EXPECT_EQ(std::stod(settings[0].at("ANYAGKOD")), maxOf(TableId::Anyag, "ANYAGKOD") - 1);
    EXPECT_EQ(settings[0].at("SUTOTAG"), "2024");
    for (const char* prefix : {"SELO", "AELO", "GELO", "MELO", "FELO"}) EXPECT_FALSE(settings[0].at(prefix).empty());
    EXPECT_TRUE(rowsOf(folder(), TableId::Jogok).empty()) << "the first start records the first user";
}

// The register has documents to show: their lines add up to their headers, they lie in the
// year of the day the folder was made (or the last) and not after it, their buyers are demo
// partners, and the next invoice number is not one of theirs.
TEST_F(DemoFolderTest, StoredDocumentsAreWholeDatedAndNumberedBeforeTheCounters) {
    const auto headers = rowsOf(folder(), TableId::Szamla);
    const auto lines = rowsOf(folder(), TableId::Szamla2);
    ASSERT_GE(headers.size(), 10u);
    const auto partners = valuesOf(TableId::Partner, "NEV");
    std::set<std::string> numbers;
    for (const auto& h : headers) {
        const std::string number = h.at("SZAMLASZAM");
        numbers.insert(number);
        double net = 0;
        int count = 0;
        for (const auto& l : lines) {
            if (l.at("SZAMLASZAM") != number) continue;
            net += std::stod(l.at("NETTOAR"));
            ++count;
        }
        EXPECT_GT(count, 0) << number;
        EXPECT_NEAR(net, std::stod(h.at("AFAALAP")), 0.005) << number;
        EXPECT_LE(h.at("KIALLIT"), "2024.05.06") << number;
        EXPECT_GE(h.at("KIALLIT"), "2023.01.01") << number;
        if (h.at("SZAMLATIP") != "1") {
            EXPECT_EQ(partners.count(h.at("NEV")), 1u) << number;
        }
    }
    EXPECT_EQ(numbers.size(), headers.size());
    const auto settings = rowsOf(folder(), TableId::User);
    char next[32];
    std::snprintf(next, sizeof next, "SZA2024/%05d", std::stoi(settings[0].at("SZAMLASZ")));
    EXPECT_EQ(numbers.count(next), 0u);
    EXPECT_EQ(numbers.count("SZA2024/00001"), 1u);
}

}  // namespace
}  // namespace kavina
