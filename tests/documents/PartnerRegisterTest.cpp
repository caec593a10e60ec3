#include "documents/partners/PartnerRegister.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <cstdio>

#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {
namespace {

class PartnerRegisterTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& settings = data.UserTable();
        settings.append();
        settings.setInteger(fields::User::PARTNERKOD, 41);
        settings.post();
    }

    int64_t add(const QString& name, const QString& group, const QString& street = QStringLiteral("Fő utca 1.")) {
        PartnerFields f;
        f.name = name;
        f.group = group;
        f.town = QStringLiteral("Szeged");
        f.street = street;
        return createPartner(data.PartnerTable(), data.UserTable(), f);
    }

    QStringList visibleNames() {
        QStringList names;
        TableHandle& p = data.PartnerTable();
        for (p.first(); !p.eof(); p.next()) names << p.asString(fields::Partner::NEV);
        return names;
    }

    void addInvoice(const QString& name, const QString& street, bool paid, const QString& type = QStringLiteral("B")) {
        TableHandle& d = data.SzamlaTable();
        d.append();
        d.setString(fields::Szamla::SZAMLASZAM,
                    QStringLiteral("2008/%1").arg(d.recordCount() + 1, 5, 10, QLatin1Char('0')));
        d.setString(fields::Szamla::SZAMLATIP, type);
        d.setString(fields::Szamla::NEV, name);
        d.setString(fields::Szamla::CIM, street);
        d.setLogical(fields::Szamla::FIZETVE, paid);
        d.post();
    }
};

TEST_F(PartnerRegisterTest, ANewPartnerTakesTheNextNumberAndItsCodeFindsIt) {
    EXPECT_EQ(add(QStringLiteral("Kovács és Társa Kft."), QStringLiteral("Vevő")), 42);
    TableHandle& p = data.PartnerTable();
    EXPECT_EQ(p.asString(fields::Partner::VONALKOD), QStringLiteral("4770148115037"));
    EXPECT_EQ(p.asString(fields::Partner::TELJESCIM), QStringLiteral("Szeged Fő utca 1."));
    EXPECT_EQ(p.asInteger(fields::Partner::ARCSOPORT), 4);
    EXPECT_EQ(p.asInteger(fields::Partner::OSSZESBIZF), 8);
    data.UserTable().first();
    EXPECT_EQ(data.UserTable().asInteger(fields::User::PARTNERKOD), 42);
    EXPECT_EQ(partnerCodeOf(5), QStringLiteral("4770148115000"));

    add(QStringLiteral("Másik Bt."), QString());
    ASSERT_TRUE(findByPartnerCode(p, QStringLiteral("4770148115037")));
    EXPECT_EQ(p.asInteger(fields::Partner::PARTNERKOD), 42);
    EXPECT_FALSE(findByPartnerCode(p, QStringLiteral("42")));
    EXPECT_FALSE(findByPartnerCode(p, QString()));
}

TEST_F(PartnerRegisterTest, TabsAreTheDistinctGroupsInCaseInsensitiveOrderAfterMinden) {
    add(QStringLiteral("Alfa"), QStringLiteral("Vevő"));
    add(QStringLiteral("Béta"), QStringLiteral("viszonteladó"));
    add(QStringLiteral("Gamma"), QStringLiteral("Szállító"));
    add(QStringLiteral("Delta"), QString());
    add(QStringLiteral("Epszilon"), QStringLiteral("VEVŐ"));  // after Alfa in name order
    EXPECT_EQ(groupTabs(data.PartnerTable()), (QStringList{QStringLiteral("Minden"), QStringLiteral("Szállító"),
                                                           QStringLiteral("Vevő"), QStringLiteral("viszonteladó")}));
    // A tab shows its group exactly, case included; the first tab shows everyone.
    applyTab(data.PartnerTable(), 2, QStringLiteral("Vevő"));
    EXPECT_EQ(visibleNames(), QStringList{QStringLiteral("Alfa")});
    applyTab(data.PartnerTable(), 0, QStringLiteral("Minden"));
    EXPECT_EQ(visibleNames().size(), 5);
}

TEST_F(PartnerRegisterTest, RenamingAGroupReachesPartnersTheTabHides) {
    add(QStringLiteral("Alfa"), QStringLiteral("Vevő"));
    add(QStringLiteral("Béta"), QStringLiteral("Vevő"));
    add(QStringLiteral("Gamma"), QStringLiteral("Szállító"));
    add(QStringLiteral("Delta"), QStringLiteral("Vevők"));
    applyTab(data.PartnerTable(), 1, QStringLiteral("Szállító"));
    renameGroup(data.PartnerTable(), QStringLiteral("Vevő"), QStringLiteral("Vásárló"));
    EXPECT_EQ(visibleNames(), QStringList{QStringLiteral("Gamma")});  // the tab stays in force
    applyTab(data.PartnerTable(), 1, QStringLiteral("Vásárló"));
    EXPECT_EQ(visibleNames(), (QStringList{QStringLiteral("Alfa"), QStringLiteral("Béta")}));
    applyTab(data.PartnerTable(), 1, QStringLiteral("Vevők"));
    EXPECT_EQ(visibleNames(), QStringList{QStringLiteral("Delta")});
}

TEST_F(PartnerRegisterTest, QuotesAndStarsInNamesMatchOnlyThemselves) {
    add(QStringLiteral("O'Brien Kft."), QStringLiteral("Star*"));
    add(QStringLiteral("Starter Bt."), QStringLiteral("Starter"));
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), false);
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), true);
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), false, QStringLiteral("P"));
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Kossuth tér 2."), false);
    TableHandle& documents = data.SzamlaTable();
    EXPECT_EQ(restrictToInvoices(documents, QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), false), 2);
    clearRestriction(documents);
    EXPECT_EQ(restrictToInvoices(documents, QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), true), 1);
    EXPECT_FALSE(documents.asLogical(fields::Szamla::FIZETVE));
    clearRestriction(documents);
    EXPECT_EQ(documents.recordCount(), 4u);
    applyTab(data.PartnerTable(), 1, QStringLiteral("Star*"));
    EXPECT_EQ(visibleNames(), QStringList{QStringLiteral("O'Brien Kft.")});
}

TEST_F(PartnerRegisterTest, AddressesCompleteOnlyIntoEmptyBoxes) {
    TableHandle& towns = data.TelepTable();
    const std::pair<const char*, const char*> rows[] = {{"1051", "Budapest"}, {"6720", "Szeged"}, {"6721", "Algyő"}};
    for (const auto& [postcode, town] : rows) {
        towns.append();
        towns.setString(fields::Telep::IRSZAM, QString::fromUtf8(postcode));
        towns.setString(fields::Telep::TELEPULES, QString::fromUtf8(town));
        towns.post();
    }
    EXPECT_EQ(completeTown(towns, QStringLiteral("1051"), QString()), QStringLiteral("Budapest"));
    EXPECT_EQ(completeTown(towns, QStringLiteral("1051"), QStringLiteral("Vác")), std::nullopt);
    EXPECT_EQ(completeTown(towns, QStringLiteral("672"), QString()), std::nullopt);  // 4 characters only
    EXPECT_EQ(completePostcode(towns, QStringLiteral("Szeged"), QString()), QStringLiteral("6720"));
    EXPECT_EQ(completePostcode(towns, QStringLiteral("szeged"), QString()), std::nullopt);  // exact name
    EXPECT_EQ(completePostcode(towns, QStringLiteral("Szeged"), QStringLiteral("6700")), std::nullopt);
}

TEST_F(PartnerRegisterTest, TheCsvExportIsWindows1250WithCrLfAndReadsBackInAReader) {
    PartnerFields f;
    f.name = QStringLiteral("Árvíztűrő Kft.");
    f.postcode = QStringLiteral("6720");
    f.town = QStringLiteral("Szeged");
    f.street = QStringLiteral("Tükörfúró u. 5.");
    f.paymentMethod = QStringLiteral("Csekk");
    f.priceGroup = 2;
    createPartner(data.PartnerTable(), data.UserTable(), f);
    const QString path = QString::fromStdString(dir.file("partnerek.csv"));
    exportPartnersCsv(data.PartnerTable(), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("\xC1rv\xEDzt\xFBr\xF5 Kft.;"));  // Windows-1250 bytes
    EXPECT_TRUE(bytes.endsWith(";Csekk;2\r\n"));
    QStringDecoder fromWindows1250("windows-1250");
    const QStringList lines = QString(fromWindows1250(bytes)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\"NÉV\";\"NÉV 2\";\"IRSZ.\"")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\"FIZ.MÓD\";\"ÁRCSOPORT\"")));
    // An independent reader: Python's csv module with the code page.
    const std::string command =
        "/usr/bin/python3 -c \"import csv,sys; rows=list(csv.reader(open(sys.argv[1], "
        "encoding='cp1250', newline=''), delimiter=';')); print(rows[1][0], rows[1][4], "
        "rows[1][15], len(rows[0]))\" " +
        dir.file("partnerek.csv");
    FILE* reader = popen(command.c_str(), "r");
    ASSERT_NE(reader, nullptr);
    char out[256] = {};
    const size_t n = fread(out, 1, sizeof out - 1, reader);
    pclose(reader);
    EXPECT_EQ(std::string(out, n), "Árvíztűrő Kft. Tükörfúró u. 5. Csekk 17\n");
}

// The tax data the partner dialog keeps: the 8-1-2 form with its check digit, and the numbers
// a buyer's VAT status needs.
TEST(PartnerTaxDataTest, TaxNumbersNeedTheirFormCheckDigitAndTheStatusTheirNumbers) {
    PartnerFields f;
    f.vatStatus = "D";
    f.taxNumber = "12345676-2-41";
    EXPECT_EQ(partnerTaxProblem(f), std::nullopt);
    f.taxNumber = "12345678-2-41";  // 8 is not the check digit of 1234567
    EXPECT_EQ(partnerTaxProblem(f), "Az adószám ellenőrző számjegye (a 8. számjegy) hibás.");
    f.taxNumber = "10000001-1-02";
    EXPECT_EQ(partnerTaxProblem(f), std::nullopt);
    for (const char* wrong : {"1234567-2-41", "12345676241", "12345676-2-4", "Adószám: 12345676-2-41"}) {
        f.taxNumber = wrong;
        ASSERT_TRUE(partnerTaxProblem(f)) << wrong;
        EXPECT_TRUE(partnerTaxProblem(f)->startsWith("Az adószám formája")) << wrong;
    }
    f.taxNumber = "12345676-7-41";
    EXPECT_EQ(partnerTaxProblem(f), "Az adószám ÁFA-kódja (a 9. számjegy) csak 1 és 5 között lehet.");
    f.taxNumber.clear();
    EXPECT_EQ(partnerTaxProblem(f), "Belföldi adóalany partnernek meg kell adni az adószámát.");
    f.vatStatus = "P";
    EXPECT_EQ(partnerTaxProblem(f), std::nullopt);
    f.vatStatus = "E";
    EXPECT_TRUE(partnerTaxProblem(f)->startsWith("Közösségi adóalany partnernek"));
    f.euTaxNumber = "atu 12345678";
    EXPECT_EQ(partnerTaxProblem(f), std::nullopt);
    f.vatStatus = "O";
    f.euTaxNumber = "12345678";
    EXPECT_TRUE(partnerTaxProblem(f)->startsWith("A közösségi adószám két betűs országkóddal"));
}

TEST(PartnerTaxDataTest, ThePartnerKeepsItsStatusAndAnOlderRecordGetsOneFromItsTaxNumber) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    TDataModule1 data;
    data.open(dir.path());
    TableHandle& partners = data.PartnerTable();
    partners.append();
    partners.setString(fields::Partner::NEV, QStringLiteral("Régi Kft."));
    partners.setString(fields::Partner::ADOSZAM, QStringLiteral("12345676-2-41"));
    partners.post();
    EXPECT_EQ(loadPartner(partners).vatStatus, "D");
    partners.edit();
    partners.setString(fields::Partner::ADOSZAM, QString());
    partners.post();
    EXPECT_EQ(loadPartner(partners).vatStatus, "P");
    PartnerFields eu;
    eu.name = QStringLiteral("Waage GmbH");
    eu.vatStatus = "E";
    eu.euTaxNumber = "atu12345678";
    data.UserTable().append();
    data.UserTable().post();
    createPartner(partners, data.UserTable(), eu);
    const PartnerFields back = loadPartner(partners);
    EXPECT_EQ(back.vatStatus, "E");
    EXPECT_EQ(back.euTaxNumber, "ATU12345678");
}

}  // namespace
}  // namespace kavina::documents
