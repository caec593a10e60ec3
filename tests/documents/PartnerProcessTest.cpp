// Two workstations on one data folder: this process has "Módosítás" open on a partner while a
// second process (partner_workstation) deletes or changes that partner. The save must land on
// the partner the dialog was opened for, or on none, and never lose the other's change
// unasked. Every table and tag of the folder is checked at the end.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <map>

#include "common/ScriptedPrompt.h"
#include "dbase/FolderCheck.h"
#include "dbase/Table.h"
#include "dbase/TestFolder.h"
#include "documents/ScriptedPartnerWindows.h"
#include "documents/partners/PartnerRegister.h"
#include "documents/partners/PartnerWindow.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RuleError.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {
namespace {

namespace P = fields::Partner;
const QString kOpened = QStringLiteral("Szabó Építőipari Bt.");

class PartnerProcessTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;
    ScriptedPartnerWindows windows;

    void SetUp() override {
        createDataFolder(dir.path(), {.demo = true});
        data.open(dir.path());
    }
    void TearDown() override {
        data.close();
        EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString();
        EXPECT_TRUE(windows.failures().isEmpty()) << windows.failures().join('\n').toStdString();
        EXPECT_EQ(checkEveryTable(), std::vector<std::string>{});
    }

    // The other workstation, run to its end.
    void otherWorkstation(const QStringList& args) {
        QProcess other;
        other.start(QStringLiteral(PARTNER_WORKSTATION), QStringList{QString::fromStdString(dir.path())} + args);
        ASSERT_TRUE(other.waitForFinished(30000));
        ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
    }
    // Opens "Módosítás" on the partner; while the dialog is open the other workstation acts,
    // then the clerk accepts the dialog with a new name.
    bool modifyWhile(const QStringList& otherArgs, const QString& newName) {
        TableHandle& partners = data.PartnerTable();
        EXPECT_TRUE(partners.locate({{P::NEV, kOpened}}, {}));
        windows.answerPartner([&](const PartnerFields& shown) -> std::optional<PartnerFields> {
            otherWorkstation(otherArgs);
            PartnerFields typed = shown;
            typed.name = newName;
            return typed;
        });
        PartnerWindow window(data, prompt, windows, PartnerCaller::None);
        return window.modifyCurrent();
    }
    // Every partner as a line of its fields, by partner number, read through a handle of its own.
    std::map<QString, QString> partnersOnDisk() const {
        TableHandle partners(dir.path(), "Partner.DBF");
        partners.open();
        std::map<QString, QString> rows;
        for (partners.first(); !partners.eof(); partners.next()) {
            QStringList values;
            for (int i = 0; i < partners.fieldCount(); ++i) values << partners.asString(i);
            rows[partners.asString(P::PARTNERKOD)] = values.join(QLatin1Char('|'));
        }
        partners.close();
        return rows;
    }
    QString onDisk(const QString& code, const Field& field) const {
        TableHandle partners(dir.path(), "Partner.DBF");
        partners.open();
        QString value;
        if (partners.locate({{P::PARTNERKOD, code}}, {})) value = partners.asString(field);
        partners.close();
        return value;
    }
    std::vector<std::string> checkEveryTable() const { return testing_support::checkAllTables(dir.path()); }
    QString codeOfOpened() {
        TableHandle& partners = data.PartnerTable();
        EXPECT_TRUE(partners.locate({{P::NEV, kOpened}}, {}));
        return partners.asString(P::PARTNERKOD);
    }
};

TEST_F(PartnerProcessTest, ASaveRefusesAPartnerAnotherWorkstationDeletedAndTouchesNoOther) {
    const QString code = codeOfOpened();
    std::map<QString, QString> before = partnersOnDisk();
    try {
        modifyWhile({QStringLiteral("delete"), kOpened}, QStringLiteral("Szabó és Fia Bt."));
        ADD_FAILURE() << "the save did not notice the deleted partner";
    } catch (const RuleError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("A partnert közben egy másik munkaállomás törölte."));
    }
    before.erase(code);
    EXPECT_EQ(partnersOnDisk(), before);  // the deleted one is gone, every other as it was
}

TEST_F(PartnerProcessTest, AChangeOfAnotherWorkstationIsKeptUnlessTheClerkOverwritesIt) {
    const QString code = codeOfOpened();
    const QString phone = onDisk(code, P::TELEFON);
    std::map<QString, QString> others = partnersOnDisk();
    others.erase(code);

    // "Nem": the other workstation's telephone number stays, the new name is not stored.
    prompt.answerYesNo(false);
    EXPECT_FALSE(modifyWhile({QStringLiteral("phone"), kOpened, QStringLiteral("06 1 555 0001")},
                             QStringLiteral("Szabó és Fia Bt.")));
    const QString question = QStringLiteral(
                                 "Figyelem!|A partnert közben egy másik munkaállomás módosította:\n"
                                 "Telefon: %1 → 06 1 555 0001\nFelülírja ezeket a változásokat?")
                                 .arg(phone);
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption + QLatin1Char('|') + prompt.entries()[0].text, question);
    EXPECT_EQ(onDisk(code, P::TELEFON), QStringLiteral("06 1 555 0001"));
    EXPECT_EQ(onDisk(code, P::NEV), kOpened);

    // "Igen": the dialog's values are stored over it, in the same partner.
    prompt.answerYesNo(true);
    EXPECT_TRUE(modifyWhile({QStringLiteral("phone"), kOpened, QStringLiteral("06 1 555 0002")},
                            QStringLiteral("Szabó és Fia Bt.")));
    EXPECT_EQ(prompt.entries().size(), 2u);
    EXPECT_EQ(onDisk(code, P::NEV), QStringLiteral("Szabó és Fia Bt."));
    EXPECT_EQ(onDisk(code, P::TELEFON), QStringLiteral("06 1 555 0001"));  // as the dialog showed it

    std::map<QString, QString> after = partnersOnDisk();
    after.erase(code);
    EXPECT_EQ(after, others);
}

}  // namespace
}  // namespace kavina::documents
