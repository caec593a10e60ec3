// The worksheet editor: numbers taken at the first store, abandoned worksheets removed exactly,
// the copies dialog, the customer copied from the partner, the printed page; and two
// workstations opening new worksheets at once.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "StockFolder.h"
#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "dbase/FolderCheck.h"
#include "documents/worksheets/WorksheetEditor.h"
#include "documents/worksheets/WorksheetList.h"
#include "documents/worksheets/WorksheetPrint.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/RecordEdit.h"

namespace kavina::documents {
namespace {

namespace M = fields::Munkalap;
namespace U = fields::User;
namespace P = fields::Partner;

const QDate kToday(2008, 3, 10);

class ScriptedWorksheetWindows : public WorksheetWindows {
public:
    bool pickPartner() override { return picks; }
    bool addPartner() override { return picks; }
    void preview(const WorksheetValues& values) override { previewed.push_back(values); }
    void print(const WorksheetValues& values, int copies) override {
        if (printerFails) throw std::runtime_error("a nyomtató nem válaszol");
        printed.push_back({values.number, copies});
    }

    bool picks = true;
    bool printerFails = false;
    std::vector<WorksheetValues> previewed;
    std::vector<std::pair<QString, int>> printed;
};

void prepareSettings(TDataModule1& data, int counter, int copies = 2) {
    TableHandle& settings = data.UserTable();
    settings.first();
    if (settings.isEmpty()) {
        settings.append();
        settings.post();
    }
    RecordEdit edit = RecordEdit::edit(settings);
    settings.setString(U::MELO, QStringLiteral("MUN"));
    settings.setString(U::MUTO, QString());
    settings.setInteger(U::MUNKASZ, counter);
    settings.setInteger(U::PRNMUNKA, copies);
    edit.post();
}

class WorksheetTest : public OpenDataFolder {
protected:
    void SetUp() override {
        OpenDataFolder::SetUp();
        prepareSettings(data, 7);
    }
    std::unique_ptr<WorksheetEditor> editor() {
        return std::make_unique<WorksheetEditor>(
            WorksheetContext{data, prompt, windows, QStringLiteral("Kovács Anna"), [] { return kToday; }});
    }
    int counter() {
        data.UserTable().refresh();
        data.UserTable().first();
        return int(data.UserTable().asInteger(U::MUNKASZ));
    }
    static int rowsShown(TableHandle& w) {
        int rows = 0;
        for (w.first(); !w.eof(); w.next()) ++rows;
        return rows;
    }
    QStringList storedNumbers() {
        TableHandle& w = data.Munkalaptable();
        w.refresh();
        QStringList numbers;
        for (w.first(); !w.eof(); w.next()) numbers << w.asString(M::SORSZAM).trimmed();
        numbers.sort();
        return numbers;
    }

    ScriptedPrompt prompt;
    ScriptedWorksheetWindows windows;
};

TEST_F(WorksheetTest, ANewWorksheetGetsItsNumberAndRaisesTheCounterWhenSaved) {
    auto sheet = editor();
    sheet->openNew();
    EXPECT_EQ(sheet->shownNumber(), "MUN2008/00007");
    EXPECT_EQ(counter(), 7) << "opening takes no number";
    sheet->values().hours = 3.5;
    sheet->values().fault = QStringLiteral("Nem indul a kazán.\nZajos a szivattyú.");
    ASSERT_TRUE(sheet->saveAndClose());

    EXPECT_EQ(counter(), 8);
    TableHandle& w = data.Munkalaptable();
    w.refresh();
    ASSERT_EQ(w.recordCount(), 1u);
    w.first();
    EXPECT_EQ(w.asString(M::SORSZAM).trimmed(), "MUN2008/00007");
    EXPECT_EQ(w.asDate(M::DATUM), kToday);
    EXPECT_EQ(w.asString(M::UGYINT).trimmed(), "Kovács Anna");
    EXPECT_EQ(w.asFloat(M::MUNKAORA), 3.5);
    EXPECT_EQ(w.asString(M::HIBA), "Nem indul a kazán.\nZajos a szivattyú.");
    EXPECT_TRUE(sheet->leave()) << "a saved worksheet closes without a question";
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(WorksheetTest, TwoWorksheetsOpenedAtOnceGetDifferentNumbersInTheOrderTheyAreStored) {
    auto first = editor();
    auto second = editor();
    first->openNew();
    second->openNew();
    EXPECT_EQ(first->shownNumber(), second->shownNumber());
    ASSERT_TRUE(second->saveAndClose());
    ASSERT_TRUE(first->saveAndClose());
    EXPECT_EQ(second->values().number, "MUN2008/00007");
    EXPECT_EQ(first->values().number, "MUN2008/00008");
    EXPECT_EQ(storedNumbers(), QStringList({"MUN2008/00007", "MUN2008/00008"}));
    EXPECT_EQ(counter(), 9);
}

TEST_F(WorksheetTest, LeavingANewWorksheetRemovesExactlyItsOwnRecord) {
    auto saved = editor();
    saved->openNew();
    ASSERT_TRUE(saved->saveAndClose());
    auto abandoned = editor();
    abandoned->openNew();
    auto other = editor();
    other->openNew();  // another new worksheet, opened after it and still unsaved

    // The shared handle stands elsewhere and is filtered: the editor still finds its record.
    restrictWorksheetsToYear(data.Munkalaptable(), true, kToday);
    prompt.answerYesNo(false);
    EXPECT_FALSE(abandoned->leave());
    prompt.answerYesNo(true);
    EXPECT_TRUE(abandoned->leave());
    ASSERT_EQ(prompt.entries().size(), 2u);
    for (const auto& e : prompt.entries()) {
        EXPECT_EQ(e.caption, "Figyelem !");
        EXPECT_EQ(e.text, leaveNewWorksheetQuestion());
        EXPECT_EQ(e.icon, Icon::Warning);
    }
    filter::removeRestriction(data.Munkalaptable());
    EXPECT_EQ(storedNumbers(), QStringList({"", "MUN2008/00007"})) << "the saved one and the other new one stay";
    EXPECT_EQ(counter(), 8);
    ASSERT_TRUE(other->saveAndClose());
    EXPECT_EQ(storedNumbers(), QStringList({"MUN2008/00007", "MUN2008/00008"}));
}

TEST_F(WorksheetTest, PrintingStoresFirstAndTheCopiesDialogOnlyDecidesThePrint) {
    auto sheet = editor();
    sheet->openNew();
    prompt.answerCopies(std::nullopt);  // left without printing: still saved
    ASSERT_TRUE(sheet->printAndClose());
    EXPECT_EQ(counter(), 8);
    EXPECT_TRUE(windows.printed.empty());
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].detail, "2") << "preset with PRNMUNKA";

    auto printed = editor();
    printed->openNew();
    prompt.answerCopies(3);
    ASSERT_TRUE(printed->printAndClose());
    EXPECT_EQ(windows.printed, (std::vector<std::pair<QString, int>>{{"MUN2008/00008", 3}}));

    auto failing = editor();
    failing->openNew();
    windows.printerFails = true;
    prompt.answerCopies(1);
    ASSERT_TRUE(failing->printAndClose());
    EXPECT_EQ(prompt.entries().back().text,
              "A(z) MUN2008/00009 számú munkalap el van mentve, de a nyomtatása nem sikerült. Kérem, nyomtassa ki "
              "újra a munkalapok listájából.");
    EXPECT_EQ(storedNumbers(), QStringList({"MUN2008/00007", "MUN2008/00008", "MUN2008/00009"}));
}

TEST_F(WorksheetTest, AModificationKeepsItsNumberAndStampsTodayAndTheUserOnlyWhenStored) {
    auto sheet = editor();
    sheet->openNew();
    ASSERT_TRUE(sheet->saveAndClose());
    TableHandle& w = data.Munkalaptable();
    {
        RecordEdit edit = RecordEdit::edit(w);
        w.setDate(M::DATUM, QDate(2008, 1, 5));
        w.setString(M::UGYINT, QStringLiteral("Régi Ügyintéző"));
        edit.post();
    }
    auto changed = editor();
    changed->openCurrent();
    changed->values().work = QStringLiteral("Szivattyú cserélve");
    prompt.answerYesNo(true);
    EXPECT_TRUE(changed->leave()) << "leaving stores nothing";
    EXPECT_EQ(prompt.entries().back().text, leaveWorksheetQuestion());
    w.refresh();
    w.first();
    EXPECT_EQ(w.asDate(M::DATUM), QDate(2008, 1, 5));
    EXPECT_EQ(w.asString(M::MUNKA), "");

    auto stored = editor();
    stored->openCurrent();
    stored->values().work = QStringLiteral("Szivattyú cserélve");
    ASSERT_TRUE(stored->saveAndClose());
    w.refresh();
    w.first();
    EXPECT_EQ(w.asString(M::SORSZAM).trimmed(), "MUN2008/00007");
    EXPECT_EQ(w.asDate(M::DATUM), kToday);
    EXPECT_EQ(w.asString(M::UGYINT).trimmed(), "Kovács Anna");
    EXPECT_EQ(w.asString(M::MUNKA), "Szivattyú cserélve");
    EXPECT_EQ(counter(), 8);
}

TEST_F(WorksheetTest, ThePickedCustomerIsStoredAtOnceAndLeavingTheBoxRepeatsIt) {
    TableHandle& partners = data.PartnerTable();
    partners.append();
    partners.setString(P::NEV, QStringLiteral("Tóth és Társa Bt."));
    partners.setString(P::NEV2, QStringLiteral("Szerviz"));
    partners.setString(P::IRSZAM, QStringLiteral("6720"));
    partners.setString(P::VAROS, QStringLiteral("Szeged"));
    partners.setString(P::UTCA, QStringLiteral("Kárász utca 1."));
    partners.post();

    auto sheet = editor();
    sheet->openNew();
    EXPECT_FALSE(sheet->repeatLastPartner()) << "nothing picked yet";
    ASSERT_TRUE(sheet->pickPartner());
    TableHandle own(data.dataFolder(), std::string(M::kTable));
    own.open();
    own.first();
    EXPECT_EQ(own.asString(M::NEV).trimmed(), "Tóth és Társa Bt.");
    EXPECT_EQ(own.asString(M::CIM).trimmed(), "Kárász utca 1.");
    EXPECT_EQ(own.asString(M::SORSZAM).trimmed(), "") << "no number before the worksheet is stored";
    own.close();
    sheet->values().name = QStringLiteral("elgépelt");
    EXPECT_TRUE(sheet->repeatLastPartner());
    EXPECT_EQ(sheet->values().name, "Tóth és Társa Bt.");
    EXPECT_EQ(sheet->values().name2, "Szerviz");
}

TEST_F(WorksheetTest, TheListShowsThisYearOrTheArchiveAndTheCopyAsksFirst) {
    TableHandle& w = data.Munkalaptable();
    for (const QDate& date : {QDate(2007, 12, 31), QDate(2008, 1, 1), QDate(2008, 3, 9)}) {
        w.append();
        w.setDate(M::DATUM, date);
        w.post();
    }
    restrictWorksheetsToYear(w, false, kToday);
    EXPECT_EQ(rowsShown(w), 2);
    restrictWorksheetsToYear(w, true, kToday);
    EXPECT_EQ(rowsShown(w), 1);
    prompt.answerYesNo(false);
    EXPECT_FALSE(confirmWorksheetCopy(prompt));
    EXPECT_EQ(prompt.entries()[0].caption, "Figyelem!");
    EXPECT_EQ(prompt.entries()[0].text, "Biztos, hogy újra szeretné nyomtatni a munkalapot?");
}

TEST(WorksheetPrintTest, ThePageCarriesTheCompanyTheCustomerAndTheSpacedValues) {
    WorksheetValues w;
    w.number = QStringLiteral("MUN2008/00007");
    w.name = QStringLiteral("Tóth és Társa Bt.");
    w.name2 = QStringLiteral("Szerviz");
    w.postcode = QStringLiteral("6720");
    w.town = QStringLiteral("Szeged");
    w.hours = 3.5;
    w.plate = QStringLiteral("ABC-123");
    w.kilometres = 42;
    w.travelCost = 12000;
    w.fault = QStringLiteral("Nem indul.");
    WorksheetCompany company{
        QStringLiteral("Minta Kft."), {}, QStringLiteral("Szeged"), {}, QStringLiteral("Köszönjük!"),
        QStringLiteral("Lábléc"),     {}};
    const auto layout = TMunkalapr(w, company, QStringLiteral("www.pelda.hu"));
    const report::PreparedReport pages = layout->prepare();
    ASSERT_EQ(pages.pageCount(), 1);
    const QStringList texts = pages.texts(0, "Worksheet");
    for (const char* expected : {"MUNKALAP ", "Minta Kft.", " Megrendelő ", "Tóth és Társa Bt. Szerviz", "6720 Szeged",
                                 "MUN2008/00007", "Munkaórák száma: 3,5 óra", "Gépkocsi használat ABC-123 frsz 42 km",
                                 "Utazási költség 12000 Ft", "Nem indul.", "Köszönjük!", "Megrendelő aláírása"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected << "\n" << texts.join('|').toStdString();
    EXPECT_TRUE(pages.texts(0, "PageFooter").contains("Kavina 1.0 verzió"));
}

// Two workstations, each opening new worksheets two at a time before saving them, at the same
// moment: every stored worksheet has its own number, and the counter counts them all.
TEST(WorksheetProcessTest, TwoWorkstationsOpeningNewWorksheetsAtOnceGetDifferentNumbers) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    {
        TDataModule1 data;
        data.open(dir.path());
        prepareSettings(data, 1);
        data.close();
    }
    constexpr int kRounds = 25;
    const auto workstation = [&](const char* user) {
        const pid_t pid = fork();
        if (pid != 0) return pid;
        int status = 0;
        try {
            TDataModule1 data;
            data.open(dir.path());
            ScriptedPrompt prompt;
            ScriptedWorksheetWindows windows;
            const WorksheetContext context{data, prompt, windows, QString::fromLatin1(user), [] { return kToday; }};
            for (int i = 0; i < kRounds; ++i) {
                WorksheetEditor a(context), b(context), dropped(context);
                a.openNew();
                b.openNew();
                dropped.openNew();
                if (!b.saveAndClose() || !a.saveAndClose()) status = 2;
                prompt.answerYesNo(true);
                if (!dropped.leave()) status = 3;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "workstation: %s\n", e.what());
            status = 1;
        }
        _exit(status);
    };
    const pid_t first = workstation("egy");
    const pid_t second = workstation("ketto");
    EXPECT_EQ(exitCode(first), 0);
    EXPECT_EQ(exitCode(second), 0);

    TDataModule1 data;
    data.open(dir.path());
    TableHandle& w = data.Munkalaptable();
    std::set<QString> numbers;
    int rows = 0;
    for (w.first(); !w.eof(); w.next(), ++rows) numbers.insert(w.asString(M::SORSZAM).trimmed());
    EXPECT_EQ(rows, 4 * kRounds) << "no abandoned worksheet is left";
    EXPECT_EQ(numbers.size(), size_t(4 * kRounds));
    EXPECT_EQ(*numbers.begin(), "MUN2008/00001");
    EXPECT_EQ(*numbers.rbegin(), QStringLiteral("MUN2008/%1").arg(4 * kRounds, 5, 10, QLatin1Char('0')));
    data.UserTable().first();
    EXPECT_EQ(data.UserTable().asInteger(U::MUNKASZ), 4 * kRounds + 1);
    data.close();
    EXPECT_TRUE(testing_support::checkAllTables(dir.path()).empty());
}

}  // namespace
}  // namespace kavina::documents
