// The tax authority's invoice data of stored documents: every kind of document and buyer gives
// XML the schemas accept (checked by xmllint, apart from the program's own check) whose amounts
// are the stored totals; corrections are numbered 1, 2... per base invoice, also when two
// workstations save them at once; what cannot be reported is refused before a number is taken.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <random>

#include "InvoiceDataFolder.h"
#include "archive/ZipArchive.h"
#include "dbase/FolderCheck.h"
#include "dbase/TestSeed.h"
#include "foundation/RuleError.h"
#include "foundation/SzamSzov.h"
#include "invoicing/navdata/InvoiceDataQueue.h"
#include "invoicing/navdata/InvoiceDataSchema.h"
#include "invoicing/navdata/TaxAuditExport.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;

const QString kSchemas = QStringLiteral(KAVINA_NAV_SCHEMAS);

// Runs xmllint over the files; its exit status and what it wrote.
std::pair<int, QString> xmllint(const QStringList& files) {
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), QStringList{QStringLiteral("--noout"), QStringLiteral("--schema"),
                                                      kSchemas + QStringLiteral("/invoiceData.xsd")} +
                                              files);
    lint.waitForFinished(600000);
    return {lint.exitCode(), QString::fromUtf8(lint.readAllStandardError())};
}

double amount(const std::map<QString, QString>& values, const QString& name) {
    const auto it = values.find(name);
    return it == values.end() ? std::nan("") : it->second.toDouble();
}

class InvoiceDataTest : public InvoiceDataFolder {
protected:
    struct Stored {
        double net = 0, vat = 0, payable = 0;
        QString method;
    };
    Stored storedTotals(const QString& number) {
        TableHandle h(dir.path(), "Szamla.dbf");
        h.open();
        h.setOrder(H::SZAMLASZAM);
        EXPECT_TRUE(h.findKey(number.toStdString())) << number.toStdString();
        return {h.asFloat(H::AFAALAP), h.asFloat(H::AFAFT), h.asFloat(H::FIZETENDO), h.asString(H::FIZMOD).trimmed()};
    }
    QStringList writeAll(const std::vector<QueueRow>& rows) {
        QStringList files;
        for (size_t i = 0; i < rows.size(); ++i) {
            const QString path = QString::fromStdString(dir.path()) + QStringLiteral("/data%1.xml").arg(i);
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(rows[i].xml);
            files << path;
        }
        return files;
    }
};

TEST_F(InvoiceDataTest, TheOfficialSamplesPassTheProgramsOwnSchemaCheck) {
    for (const char* name : {"Belfoldi termekertekesites.xml", "Belfoldi termekertekesites maganszemelynek.xml",
                             "Tobbszoros modositas 2.xml", "Modositas es ervenytelenites 2.xml"}) {
        QFile f(QStringLiteral(KAVINA_NAV_SAMPLES "/") + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray xml = f.readAll();
        EXPECT_EQ(nav::schemaErrors(xml), std::nullopt) << name;
        QByteArray broken = xml;
        broken.replace("<invoiceAppearance>PAPER</invoiceAppearance>", "<invoiceAppearance>PAPIR</invoiceAppearance>");
        broken.replace("<customerVatStatus>", "<customerVatStatusX>")
            .replace("</customerVatStatus>", "</customerVatStatusX>");
        EXPECT_NE(nav::schemaErrors(broken), std::nullopt) << name;
    }
}

// Many documents of every kind, seeded: invoices to every kind of buyer, with every VAT kind,
// cash and transfer, with and without discount, corrections in chains of two, stornos of
// invoices and of corrections.
TEST_F(InvoiceDataTest, ManyDocumentsOfEveryKindGiveValidDataWhoseAmountsAreTheStoredTotals) {
    const unsigned seed = testing_support::testSeed();
    std::mt19937 random(seed);
    const int documents = 1000;
    const std::vector<double> rates{27, 18, 5, 0};
    const QStringList methods{QStringLiteral("Átutalás"), QStringLiteral("Készpénz"), QStringLiteral("Csekk")};
    const QStringList units{QStringLiteral("db"), QStringLiteral("kg"), QStringLiteral("zsák"), QString()};
    std::vector<QString> invoices;
    std::map<QString, int> corrections;
    int proformas = 0, cashSales = 0;
    for (int n = 0; n < documents; ++n) {
        // The 0 % group changes its kind as the run goes on.
        if (n % 250 == 0) {
            const int phase = n / 250;
            if (phase == 0)
                setZeroRateKind(QStringLiteral("E"), QStringLiteral("AAM"), QStringLiteral("Alanyi adómentes"));
            if (phase == 1)
                setZeroRateKind(QStringLiteral("O"), QStringLiteral("ATK"),
                                QStringLiteral("Áfa tv. 2-3. § hatályán kívüli"));
            if (phase == 2) setZeroRateKind(QString(), QString(), QString());
            if (phase == 3)
                setZeroRateKind(QStringLiteral("E"), QStringLiteral("TAM"), QStringLiteral("Áfa tv. 85. §"));
        }
        std::vector<Line> lines;
        const int count = 1 + int(random() % 4);
        for (int l = 0; l < count; ++l)
            lines.push_back({double(1 + random() % 2), double(1 + random() % 40) / (random() % 3 == 0 ? 4 : 1),
                             double(random() % 200000) / 100, rates[random() % rates.size()],
                             units[random() % units.size()]});
        const int partner = 1 + int(random() % 4);
        const QString method = methods[random() % methods.size()];
        const int discount = random() % 5 == 0 ? int(random() % 20) : 0;
        const int what = int(random() % 20);
        SCOPED_TRACE(QStringLiteral("document %1, seed %2").arg(n).arg(seed).toStdString());
        if (what < 12 || invoices.empty()) {
            invoices.push_back(storeDocument(SalesMode::Invoice, partner, lines, method, {}, discount));
        } else if (what < 16) {
            const QString base = invoices[random() % invoices.size()];
            if (corrections[base] >= 2 || typeAndState(base).startsWith(QLatin1Char('S'))) continue;
            ++corrections[base];
            for (Line& line : lines) line.quantity = -line.quantity;
            storeDocument(SalesMode::Corrective, partner, lines, method, base);
        } else if (what < 18) {
            const QString base = invoices[random() % invoices.size()];
            if (typeAndState(base).startsWith(QLatin1Char('S'))) continue;
            storno(base);
        } else if (what == 18) {
            storeDocument(SalesMode::Proforma, partner, lines);
            ++proformas;
        } else {
            storeDocument(SalesMode::CashSale, partner, lines, QStringLiteral("Készpénz"));
            ++cashSales;
        }
        if (HasFatalFailure()) return;
    }
    const std::vector<QueueRow> rows = queueRows();
    ASSERT_GT(rows.size(), size_t(documents / 2));
    std::set<QString> operations;
    for (const QueueRow& row : rows) {
        SCOPED_TRACE(row.number.toStdString());
        operations.insert(row.operation);
        EXPECT_EQ(row.state, QStringLiteral("W"));
        EXPECT_EQ(row.hash, nav::xmlHash(row.xml));
        const auto values = firstValues(row.xml);
        EXPECT_EQ(values.at(QStringLiteral("invoiceNumber")), row.number);
        QString documentNumber = row.number;
        const double sign = row.operation == QStringLiteral("STORNO") ? -1 : 1;
        if (sign < 0) documentNumber.chop(2);
        const Stored stored = storedTotals(documentNumber);
        EXPECT_EQ(KerekitRound(sign * amount(values, QStringLiteral("invoiceNetAmountHUF"))), KerekitRound(stored.net));
        EXPECT_EQ(KerekitRound(sign * amount(values, QStringLiteral("invoiceVatAmountHUF"))), KerekitRound(stored.vat));
        // The payable amount of a cash invoice is rounded to 0 or 5 forints; the gross is not.
        const double gross = sign * amount(values, QStringLiteral("invoiceGrossAmountHUF"));
        if (stored.method == QStringLiteral("Készpénz")) {
            EXPECT_EQ(cashRound(gross), KerekitRound(stored.payable));
        } else {
            EXPECT_EQ(KerekitRound(gross), KerekitRound(stored.payable));
        }
        if (row.operation != QStringLiteral("CREATE")) {
            EXPECT_EQ(values.at(QStringLiteral("modificationIndex")), QString::number(row.index));
        }
    }
    EXPECT_EQ(operations,
              (std::set<QString>{QStringLiteral("CREATE"), QStringLiteral("MODIFY"), QStringLiteral("STORNO")}));
    EXPECT_GT(proformas + cashSales, 0);
    const auto [status, complaints] = xmllint(writeAll(rows));
    EXPECT_EQ(status, 0) << complaints.left(3000).toStdString();
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

TEST_F(InvoiceDataTest, CorrectionsOfOneInvoiceAreNumberedOneTwoAndTheStornoContinuesTheChain) {
    const QString base = storeDocument(SalesMode::Invoice, 1, {{1, 2, 1000}, {2, 1, 5000}});
    const QString first = storeDocument(SalesMode::Corrective, 1, {{1, -1, 1000}}, QStringLiteral("Átutalás"), base);
    // The second corrects the first: it still modifies the invoice the chain started from.
    const QString second =
        storeDocument(SalesMode::Corrective, 1, {{2, -1, 5000}, {2, 1, 4000}}, QStringLiteral("Átutalás"), first);
    storno(second);
    const std::vector<QueueRow> rows = queueRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].operation, QStringLiteral("CREATE"));
    EXPECT_EQ(rows[1].operation + rows[1].base + QString::number(rows[1].index), "MODIFY" + base + "1");
    EXPECT_EQ(rows[2].operation + rows[2].base + QString::number(rows[2].index), "MODIFY" + base + "2");
    EXPECT_EQ(rows[3].operation + rows[3].base + QString::number(rows[3].index), "STORNO" + base + "3");
    EXPECT_EQ(rows[3].number, second + "-S");
    // New lines are numbered after every line the base and the earlier modifications have.
    EXPECT_EQ(firstValues(rows[1].xml).at("lineNumberReference"), "3");
    EXPECT_EQ(firstValues(rows[2].xml).at("lineNumberReference"), "4");
    EXPECT_EQ(firstValues(rows[3].xml).at("lineNumberReference"), "6");
    EXPECT_EQ(firstValues(rows[3].xml).at("quantity"), "1");  // the negated -1 of the second's first line
    EXPECT_FALSE(rows[0].xml.contains("invoiceReference"));
    EXPECT_EQ(firstValues(rows[1].xml).at("modifyWithoutMaster"), "false");
    // Rebuilding a row gives the same XML.
    nav::InvoiceDataBuilder builder(dir.path() + "/");
    EXPECT_EQ(builder.rebuild(rows[2].number, nav::Operation::Modify, base, 2), rows[2].xml);
    EXPECT_EQ(builder.rebuild(rows[3].number, nav::Operation::Storno, base, 3), rows[3].xml);
}

TEST_F(InvoiceDataTest, BuyersAreReportedByTheirStatusAsIssued) {
    const QString business = storeDocument(SalesMode::Invoice, 1, {{1, 1, 100}});
    const QString person = storeDocument(SalesMode::Invoice, 2, {{1, 1, 100}});
    const QString eu = storeDocument(SalesMode::Invoice, 3, {{1, 1, 100}});
    const QString old = storeDocument(SalesMode::Invoice, 4, {{1, 1, 100}});
    // A later change of the partner does not change what was issued.
    data.PartnerTable().first();
    data.PartnerTable().edit();
    data.PartnerTable().setString(fields::Partner::ADOSZAM, QStringLiteral("99999999-2-41"));
    data.PartnerTable().post();
    const std::vector<QueueRow> rows = queueRows();
    ASSERT_EQ(rows.size(), 4u);
    auto v = firstValues(rows[0].xml);
    EXPECT_EQ(v["customerVatStatus"], "DOMESTIC");
    EXPECT_EQ(v["taxpayerId"], "12345676");  // the supplier's comes first
    EXPECT_TRUE(rows[0].xml.contains("<base:taxpayerId>12345676</base:taxpayerId>"));
    EXPECT_TRUE(rows[0].xml.contains("<customerName>Vevő 1</customerName>"));
    EXPECT_EQ(v["paymentMethod"], "TRANSFER");
    EXPECT_EQ(v["invoiceAppearance"], "PAPER");
    EXPECT_EQ(v["unitOfMeasure"], "PIECE");
    EXPECT_EQ(v["lineNatureIndicator"], "PRODUCT");
    v = firstValues(rows[1].xml);
    EXPECT_EQ(v["customerVatStatus"], "PRIVATE_PERSON");
    EXPECT_FALSE(rows[1].xml.contains("customerName"));
    EXPECT_FALSE(rows[1].xml.contains("customerAddress"));
    v = firstValues(rows[2].xml);
    EXPECT_EQ(v["customerVatStatus"], "OTHER");
    EXPECT_EQ(v["communityVatNumber"], "ATU12345678");
    EXPECT_EQ(v["countryCode"], "HU");  // the supplier's; the buyer's is AT
    EXPECT_TRUE(rows[2].xml.contains("<base:countryCode>AT</base:countryCode>"));
    // A partner stored before the status existed: domestic by its tax number.
    EXPECT_EQ(firstValues(rows[3].xml)["customerVatStatus"], "DOMESTIC");
    TableHandle h(dir.path(), "Szamla.dbf");
    h.open();
    h.setOrder(H::SZAMLASZAM);
    ASSERT_TRUE(h.findKey(business.toStdString()));
    EXPECT_EQ(h.asString(H::BUYERTAX).trimmed(), "12345676-2-41");
    EXPECT_EQ(h.asString(H::BUYERSTAT).trimmed(), "D");
    ASSERT_TRUE(h.findKey(eu.toStdString()));
    EXPECT_EQ(h.asString(H::BUYEREU).trimmed(), "ATU12345678");
    (void)person;
    (void)old;
}

TEST_F(InvoiceDataTest, AnInvoiceThatCannotBeReportedIsRefusedBeforeANumberIsTaken) {
    addPartner(5, QStringLiteral("Adószám Nélkül Kft."), {}, {}, 'D');
    MemoryDocument doc;
    fill(doc, 5, {{1, 1, 100}}, QStringLiteral("Átutalás"));
    NoCopies printer;
    EXPECT_FALSE(store().save(doc, SalesMode::Invoice, {}, prompt, printer));
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, "Figyelem!");
    EXPECT_EQ(prompt.entries()[0].text,
              "A vevő belföldi adóalany, de hiányzik az adószáma (12345676-2-41 formában). Kérem, adja meg a "
              "partner adatai között.");
    EXPECT_THROW(store().store(doc, SalesMode::Invoice, {}), RuleError);
    // The settings lack the company's address: also refused, the counter unchanged.
    TableHandle& settings = data.UserTable();
    settings.first();
    settings.edit();
    settings.setString(fields::User::CIM, QStringLiteral("Szeged"));
    settings.post();
    fill(doc, 1, {{1, 1, 100}}, QStringLiteral("Átutalás"));
    try {
        store().store(doc, SalesMode::Invoice, {});
        ADD_FAILURE() << "stored";
    } catch (const RuleError& refused) {
        EXPECT_TRUE(refused.message().contains("cég címe")) << refused.message().toStdString();
    }
    settings.refresh();
    settings.first();
    EXPECT_EQ(settings.asInteger(fields::User::SZAMLASZ), 1);
    EXPECT_TRUE(queueRows().empty());
    // Documents that are not invoices are stored as before, with no invoice data.
    EXPECT_FALSE(storeDocument(SalesMode::Proforma, 5, {{1, 1, 100}}).isEmpty());
    EXPECT_FALSE(storeDocument(SalesMode::CashSale, 5, {{1, 1, 100}}, QStringLiteral("Készpénz")).isEmpty());
    EXPECT_TRUE(queueRows().empty());
}

TEST_F(InvoiceDataTest, TheSenderIsToldOfEachCommittedRowAndOfNothingElse) {
    int told = 0;
    QStringList seenWhenTold;
    nav::setQueuedListener([&] {
        ++told;
        // Told after the commit: the file on disk (what another workstation's sender reads)
        // already counts every row this process sees.
        QFile file(QString::fromStdString(dir.path() + "/NavQueue.dbf"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(8);
        const auto onDisk = qFromLittleEndian<quint32>(header.constData() + 4);
        const std::vector<QueueRow> rows = queueRows();
        EXPECT_EQ(onDisk, rows.size());
        for (const QueueRow& row : rows) seenWhenTold << row.number;
    });
    const QString invoice = storeDocument(SalesMode::Invoice, 1, {{1, 1, 100}});
    EXPECT_EQ(told, 1);
    EXPECT_EQ(seenWhenTold, QStringList{invoice});

    // A refused save, and documents that are not reported, tell nothing.
    addPartner(5, QStringLiteral("Adószám Nélkül Kft."), {}, {}, 'D');
    EXPECT_THROW(storeDocument(SalesMode::Invoice, 5, {{1, 1, 100}}), RuleError);
    storeDocument(SalesMode::Proforma, 1, {{1, 1, 100}});
    storeDocument(SalesMode::CashSale, 1, {{1, 1, 100}}, QStringLiteral("Készpénz"));
    EXPECT_EQ(told, 1);

    storeDocument(SalesMode::Corrective, 1, {{1, -1, 100}}, QStringLiteral("Átutalás"), invoice);
    EXPECT_EQ(told, 2);
    storno(invoice);
    EXPECT_EQ(told, 3);
    EXPECT_EQ(seenWhenTold.size(), 1 + 2 + 3);
    EXPECT_EQ(seenWhenTold.last(), invoice + QStringLiteral("-S"));
    nav::setQueuedListener({});
}

TEST_F(InvoiceDataTest, ExemptionsAndOutOfScopeCasesCarryTheirCodeAndReason) {
    setZeroRateKind(QStringLiteral("E"), QStringLiteral("AAM"), QStringLiteral("Alanyi adómentes"));
    storeDocument(SalesMode::Invoice, 1, {{1, 1, 100, 0}, {2, 1, 100, 27, QStringLiteral("óra")}});
    setZeroRateKind(QStringLiteral("O"), QStringLiteral("ATK"), QStringLiteral("Áfa tv. hatályán kívüli"));
    storeDocument(SalesMode::Invoice, 1, {{1, 1, 100, 0, QStringLiteral("zsák")}});
    setZeroRateKind(QStringLiteral("E"), QString(), QString());
    EXPECT_THROW(storeDocument(SalesMode::Invoice, 1, {{1, 1, 100, 0}}), RuleError);
    const std::vector<QueueRow> rows = queueRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].xml.contains("<vatExemption>\n"));
    auto v = firstValues(rows[0].xml);
    EXPECT_EQ(v["case"], "AAM");
    EXPECT_EQ(v["reason"], "Alanyi adómentes");
    EXPECT_TRUE(rows[0].xml.contains("<vatPercentage>0.27</vatPercentage>"));
    EXPECT_TRUE(rows[0].xml.contains("<lineNatureIndicator>SERVICE</lineNatureIndicator>"));
    EXPECT_TRUE(rows[0].xml.contains("<unitOfMeasure>HOUR</unitOfMeasure>"));
    v = firstValues(rows[1].xml);
    EXPECT_TRUE(rows[1].xml.contains("<vatOutOfScope>"));
    EXPECT_EQ(v["case"], "ATK");
    EXPECT_EQ(v["unitOfMeasure"], "OWN");
    EXPECT_EQ(v["unitOfMeasureOwn"], "zsák");
}

TEST_F(InvoiceDataTest, TheTaxAuditExportZipsTheDataOfARangeAndNamesMissingNumbers) {
    const QString first = storeDocument(SalesMode::Invoice, 1, {{1, 2, 100}});
    storeDocument(SalesMode::CashSale, 2, {{1, 1, 100}}, QStringLiteral("Készpénz"));
    const QString second = storeDocument(SalesMode::Invoice, 2, {{1, 1, 300}});
    issued = issued.addDays(5);
    m_store.reset();
    const QString third = storeDocument(SalesMode::Invoice, 3, {{2, 1, 700}});
    storno(second);
    const QString zip = QString::fromStdString(dir.path()) + QStringLiteral("/ellenorzes.zip");
    std::vector<std::pair<int, int>> steps;
    const nav::AuditResult all =
        nav::exportTaxAudit(dir.path() + "/", {true, {}, {}, first, third}, zip,
                            [&steps](int done, int count) { steps.emplace_back(done, count); });
    EXPECT_EQ(all.files, 4);
    EXPECT_TRUE(all.skipped.isEmpty());
    EXPECT_EQ(steps.back(), std::make_pair(3, 3));
    archive::ZipReader reader(zip.toStdString());
    std::set<std::string> names;
    for (const archive::EntryInfo& e : reader.entries()) names.insert(e.name);
    const auto file = [](QString number) { return number.replace(QLatin1Char('/'), QLatin1Char('_')).toStdString(); };
    EXPECT_EQ(names, (std::set<std::string>{file(first) + ".xml", file(second) + ".xml", file(second) + "-S.xml",
                                            file(third) + ".xml"}));
    // By issue date: the first day holds the first two.
    const nav::AuditResult firstDay =
        nav::exportTaxAudit(dir.path() + "/", {false, issued.addDays(-5), issued.addDays(-1), {}, {}}, zip);
    EXPECT_EQ(firstDay.files, 3);
    // A range reaching past the last invoice names the numbers no invoice has.
    const QString gap = first.left(first.size() - 1) + QStringLiteral("9");
    try {
        nav::exportTaxAudit(dir.path() + "/", {true, {}, {}, first, gap}, zip);
        ADD_FAILURE() << "exported";
    } catch (const RuleError& refused) {
        EXPECT_TRUE(refused.message().startsWith("A tartományból a következő számú számlák hiányoznak:\n"));
        EXPECT_TRUE(refused.message().contains(gap)) << refused.message().toStdString();
    }
}

// Two workstations correcting the same invoice at the same moment: one gets 1, the other 2.
pid_t startCorrecting(const std::string& folder, const QString& base, QDate issued) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
        TDataModule1 data;
        data.open(folder);
        IniFile ini(QString::fromStdString(folder + "/gep" + std::to_string(getpid()) + ".ini"));
        IniSettings settings;
        SalesSaveContext context{data, ini, settings, QStringLiteral("gep%1").arg(getpid())};
        context.now = [issued] { return QDateTime(issued, QTime(11, 0)); };
        context.lockPatience = std::chrono::milliseconds(30000);
        SalesStore store(context);
        MemoryDocument doc;
        doc.mszamla.append();
        doc.mszamla.setInteger(H::PARTNERKOD, 1);
        doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
        doc.mszamla.setString(H::IRSZAM, QStringLiteral("1234"));
        doc.mszamla.setString(H::VAROS, QStringLiteral("Budapest"));
        doc.mszamla.setString(H::CIM, QStringLiteral("Hármas utca 1."));
        doc.mszamla.setString(H::FIZMOD, QStringLiteral("Átutalás"));
        doc.mszamla.setDate(H::KIALLIT, issued);
        doc.mszamla.post();
        doc.mszamla2.append();
        doc.mszamla2.setFloat(fields::Szamla2::ANYAGSZAM, 1);
        doc.mszamla2.setString(fields::Szamla2::MEGNEVEZES, QStringLiteral("Csavar"));
        doc.mszamla2.setFloat(fields::Szamla2::MENNYISEG, -1);
        doc.mszamla2.setFloat(fields::Szamla2::NETTOAR, -100);
        doc.mszamla2.post();
        store.store(doc, SalesMode::Corrective, {SourceKind::Replacing, base});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workstation: %s\n", e.what());
        status = 1;
    }
    _exit(status);
}

class InvoiceDataProcessTest : public InvoiceDataTest {};

TEST_F(InvoiceDataProcessTest, TwoWorkstationsCorrectingOneInvoiceAtOnceGetIndexesOneAndTwo) {
    const QString base = storeDocument(SalesMode::Invoice, 1, {{1, 2, 100}});
    m_store.reset();
    data.close();
    const pid_t a = startCorrecting(dir.path(), base, issued);
    const pid_t b = startCorrecting(dir.path(), base, issued);
    EXPECT_EQ(exitCode(a), 0);
    EXPECT_EQ(exitCode(b), 0);
    std::vector<QueueRow> rows = queueRows();
    ASSERT_EQ(rows.size(), 3u);
    std::set<int> indexes{rows[1].index, rows[2].index};
    EXPECT_EQ(indexes, (std::set<int>{1, 2}));
    EXPECT_EQ(rows[1].base, base);
    EXPECT_EQ(rows[2].base, base);
    EXPECT_NE(firstValues(rows[1].xml).at("lineNumberReference"), firstValues(rows[2].xml).at("lineNumberReference"));
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

}  // namespace
}  // namespace kavina::documents
