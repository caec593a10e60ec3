#pragma once
// A new data folder opened through the data module, a scripted prompt and a fixed clock: the
// ground every shell logic test stands on.

#include <gtest/gtest.h>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <ostream>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/TDataModule1.h"
#include "shell/startup/SessionClock.h"
#include "shell/startup/SessionState.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kavina::shell::testing {

// Appends a record of field texts to a handle and posts it.
void appendRow(TableHandle& h, std::initializer_list<std::pair<const char*, QString>> values);
// The values of one field over every record, in the handle's order.
QStringList column(TableHandle& h, const char* field);

class SessionFixture : public ::testing::Test {
protected:
    SessionFixture();
    ~SessionFixture() override;

    testing_support::TestFolder dir;
    TDataModule1 dm;
    ScriptedPrompt prompt;
    QDateTime now{QDate(2024, 5, 17), QTime(15, 0, 30)};
    Clock clock = [this] { return now; };

    // Appends a user to Jogok.dbf.
    void addUser(const QString& name, const QString& password, const QString& role = QStringLiteral("Rendszergazda"),
                 const QString& rights = QStringLiteral("ABFMP13459TUVWGH"));
    // The bytes of a file of the data folder.
    std::string fileBytes(const std::string& name) const;
};

// A program folder with its ini file beside a data folder, and the run-wide state over them,
// for the start-up and the operations that follow it.
class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture();
    ~ProgramFixture() override;

    // The ini file's text.
    QString ini() const { return QString::fromStdString(program.read("kavinaextra.ini")); }

    testing_support::TestFolder program;
    testing_support::TestFolder data;
    ScriptedPrompt prompt;
    QDateTime now{QDate(2024, 5, 17), QTime(15, 0, 30)};
    SessionState state{QString::fromStdString(program.path()), prompt, [this] { return now; }};
};

}  // namespace kavina::shell::testing
