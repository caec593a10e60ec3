// The command boundary and the record guard: how an error that escapes a command is sorted,
// and that a record the command was changing is cancelled on the way out, not posted later.

#include "foundation/CommandBoundary.h"

#include <gtest/gtest.h>

#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "dbase/DbError.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/ConversionError.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/TDataModule1.h"

namespace kavina {
namespace {

namespace E = fields::Egyseg;

// A number box's text as a command reads it.
double numberOf(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) throw ConversionError("'" + text.toStdString() + "' is not a valid number");
    return value;
}

TEST(CommandBoundaryTest, ConversionErrorsAreSilentRuleErrorsWarnAndTheRestGoesToTheReporter) {
    ScriptedPrompt prompt;
    EXPECT_TRUE(runCommand(prompt, [] {}));
    EXPECT_FALSE(runCommand(prompt, [] { throw ConversionError("'12,x' is not a number"); }));
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_FALSE(runCommand(prompt, [] { throw RuleError(QStringLiteral("A partnernek nincs számlája!")); }));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|A partnernek nincs számlája!"});

    // Without a reporter the command's own prompt shows the error, an engine error in Hungarian;
    // with one, the reporter has it.
    EXPECT_FALSE(runCommand(
        prompt, [] { throw dbase::DbError("Record is locked by another user.", dbase::DbErrorKind::RecordLocked); }));
    EXPECT_EQ(prompt.transcript().last(),
              "message|error|Hiba|Egy rekordot egy másik felhasználó szerkeszt: Record is locked by another user.");
    QStringList reported;
    {
        const ScopedErrorReporter reporter([&](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                reported << QString::fromUtf8(e.what());
            }
        });
        EXPECT_FALSE(runCommand(prompt, [] { throw std::runtime_error("disk full"); }));
        EXPECT_FALSE(runCommand(prompt, [] { throw RuleError(QStringLiteral("Nem."), QStringLiteral("Hiba!")); }));
    }
    EXPECT_EQ(reported, QStringList{"disk full"});
    EXPECT_EQ(prompt.transcript().size(), 3);
    EXPECT_EQ(prompt.transcript().last(), "message|warning|Hiba!|Nem.");
}

class RecordEditTest : public OpenDataFolder {
protected:
    void SetUp() override {
        OpenDataFolder::SetUp();
        data.EgysegTable().setOrder(E::EGYSEG);
    }

    // What another workstation reads from the file.
    QStringList unitsOnDisk() {
        TableHandle other(dir.path(), "Egyseg.dbf");
        other.open();
        other.setOrder(E::EGYSEG);
        QStringList units;
        for (other.first(); !other.eof(); other.next()) units << other.asString(E::EGYSEG);
        return units;
    }
};

// A command puts the record into edit, sets a field, then meets a text that is not a number:
// the record is not left in edit state, so moving on (which posts a pending change) cannot
// store the half-changed record.
TEST_F(RecordEditTest, AnErrorEscapingTheCommandCancelsTheChangeItStarted) {
    ScriptedPrompt prompt;
    TableHandle& units = data.EgysegTable();
    const QStringList before = unitsOnDisk();
    units.first();
    EXPECT_FALSE(runCommand(prompt, [&] {
        RecordEdit change = RecordEdit::edit(units);
        units.setString(E::EGYSEG, QStringLiteral("félkész"));
        units.setString(E::EGYSEG, QString::number(numberOf(QStringLiteral("12,x"))));
        change.post();
    }));
    EXPECT_FALSE(units.isEditing());
    units.next();
    units.first();
    EXPECT_EQ(unitsOnDisk(), before);

    EXPECT_FALSE(runCommand(prompt, [&] {
        RecordEdit added = RecordEdit::append(units);
        units.setString(E::EGYSEG, QStringLiteral("új"));
        throw RuleError(QStringLiteral("Mégsem."));
    }));
    EXPECT_FALSE(units.isEditing());
    units.last();
    EXPECT_EQ(unitsOnDisk(), before);

    EXPECT_TRUE(runCommand(prompt, [&] {
        RecordEdit added = RecordEdit::append(units);
        units.setString(E::EGYSEG, QStringLiteral("raklap"));
        added.post();
    }));
    EXPECT_TRUE(unitsOnDisk().contains(QStringLiteral("raklap")));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|Mégsem."});
}

}  // namespace
}  // namespace kavina
