#include "foundation/OpenedRecord.h"

#include <gtest/gtest.h>

#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"

namespace kavina {
namespace {

namespace J = fields::Jogok;

// A prompt whose first question is answered while another workstation changes the record
// again: the change lands between the question and the lock.
class ChangingPrompt final : public ScriptedPrompt {
public:
    std::function<void()> meanwhile;
    bool askYesNo(const QString& caption, const QString& question, Icon icon) override {
        if (meanwhile) std::exchange(meanwhile, nullptr)();
        return ScriptedPrompt::askYesNo(caption, question, icon);
    }
};

class OpenedRecordTest : public OpenDataFolder {
protected:
    ChangingPrompt prompt;
    TableHandle other{dir.path(), std::string(J::kTable)};  // the other workstation's handle

    void SetUp() override {
        OpenDataFolder::SetUp();
        TableHandle& users = data.JogTable();
        for (const char* name : {"Anna", "Béla", "Cecil"}) {
            RecordEdit added = RecordEdit::append(users);
            users.setString(J::FELHASZNAL, QString::fromUtf8(name));
            users.setString(J::JELSZO, QStringLiteral("titok"));
            added.post();
        }
        other.open();
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    void changeElsewhere(const QString& name, const Field& field, const QString& value) {
        ASSERT_TRUE(other.locate({{J::FELHASZNAL, name}}, {}));
        RecordEdit change = RecordEdit::edit(other);
        other.setString(field, value);
        change.post();
    }
    OpenedRecordTexts texts() const {
        return {.gone = QStringLiteral("A felhasználót közben egy másik munkaállomás törölte."),
                .changed = QStringLiteral("A felhasználót közben egy másik munkaállomás módosította:"),
                .labels = {{J::JOGOSULT, QStringLiteral("Jogosultság")}, {J::JELSZO, QStringLiteral("Jelszó")}},
                .hidden = {J::JELSZO}};
    }
};

TEST_F(OpenedRecordTest, TheSaveFindsItsRecordBehindTheFilterAndKeepsTheFilter) {
    TableHandle& users = data.JogTable();
    ASSERT_TRUE(users.locate({{J::FELHASZNAL, QStringLiteral("Béla")}}, {}));
    OpenedRecord opened(users, J::FELHASZNAL, texts());
    filter::restrictExactly(users, filter::equals(J::FELHASZNAL, QStringLiteral("Anna")));  // another window
    EXPECT_TRUE(opened.save(prompt, [&] { users.setString(J::JOGOSULT, QStringLiteral("Felhasználó")); }));
    EXPECT_TRUE(prompt.entries().empty());  // nothing changed elsewhere: nothing asked
    EXPECT_TRUE(users.filtered());
    EXPECT_EQ(users.asString(J::FELHASZNAL), QStringLiteral("Anna"));
    other.refresh();
    ASSERT_TRUE(other.locate({{J::FELHASZNAL, QStringLiteral("Béla")}}, {}));
    EXPECT_EQ(other.asString(J::JOGOSULT), QStringLiteral("Felhasználó"));
    ASSERT_TRUE(other.locate({{J::FELHASZNAL, QStringLiteral("Anna")}}, {}));
    EXPECT_EQ(other.asString(J::JOGOSULT), QString());
}

TEST_F(OpenedRecordTest, AChangeBetweenTheQuestionAndTheLockIsAskedAboutAgainAndASecretIsNotShown) {
    TableHandle& users = data.JogTable();
    ASSERT_TRUE(users.locate({{J::FELHASZNAL, QStringLiteral("Cecil")}}, {}));
    OpenedRecord opened(users, J::FELHASZNAL, texts());
    changeElsewhere(QStringLiteral("Cecil"), J::JELSZO, QStringLiteral("másik"));
    prompt.meanwhile = [&] { changeElsewhere(QStringLiteral("Cecil"), J::JOGOSULT, QStringLiteral("Pénztáros")); };
    prompt.answerYesNo(true);
    prompt.answerYesNo(true);
    EXPECT_TRUE(opened.save(prompt, [&] { users.setString(J::JOGOK, QStringLiteral("X")); }));
    EXPECT_EQ(prompt.transcript(),
              (QStringList{
                  QStringLiteral("yes/no|warning|Figyelem!|A felhasználót közben egy másik munkaállomás módosította:\n"
                                 "Jelszó: megváltozott\nFelülírja ezeket a változásokat?"),
                  QStringLiteral("yes/no|warning|Figyelem!|A felhasználót közben egy másik munkaállomás módosította:\n"
                                 "Jelszó: megváltozott\nJogosultság:  → Pénztáros\n"
                                 "Felülírja ezeket a változásokat?")}));
    other.refresh();
    ASSERT_TRUE(other.locate({{J::FELHASZNAL, QStringLiteral("Cecil")}}, {}));
    EXPECT_EQ(other.asString(J::JOGOK), QStringLiteral("X"));
}

TEST_F(OpenedRecordTest, ARecordDeletedElsewhereIsRefusedAndNothingIsStored) {
    TableHandle& users = data.JogTable();
    ASSERT_TRUE(users.locate({{J::FELHASZNAL, QStringLiteral("Anna")}}, {}));
    OpenedRecord opened(users, J::FELHASZNAL, texts());
    ASSERT_TRUE(other.locate({{J::FELHASZNAL, QStringLiteral("Anna")}}, {}));
    other.deleteRecord();
    try {
        opened.save(prompt, [&] { users.setString(J::JOGOSULT, QStringLiteral("Felhasználó")); });
        ADD_FAILURE() << "saved into a deleted record";
    } catch (const RuleError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("A felhasználót közben egy másik munkaállomás törölte."));
    }
    other.refresh();
    for (other.first(); !other.eof(); other.next()) EXPECT_EQ(other.asString(J::JOGOSULT), QString());
}

}  // namespace
}  // namespace kavina
