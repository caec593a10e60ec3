#pragma once
// A day at the shop on the real program: a new demo data folder beside a program folder with
// its ini file, the start-up and sign-in the program runs, and the main window with the
// program's own command wiring. Only the prompt's answers are scripted; printing goes to the
// built-in PDF printer of the program folder.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "e2e/ModalDriver.h"
#include "foundation/Desktop.h"
#include "foundation/TDataModule1.h"
#include "shell/startup/SessionState.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << "{\n  " << list.join(QStringLiteral("\n  ")).toStdString() << "\n}";
}

namespace kavina::shell {
class TForm1;
}

namespace kavina::e2e {

// The desktop of the suite: records what would have been opened.
class RecordingDesktop : public Desktop {
public:
    QStringList opened;
    bool openFile(const QString& pathOrAddress) override {
        opened << pathOrAddress;
        return true;
    }
};

class ShopDay : public ::testing::Test {
protected:
    ShopDay();
    ~ShopDay() override;

    // Starts the program on the folder, signs in and runs `day` with the main window shown.
    void runDay(const std::function<void(shell::TForm1&)>& day);

    // Runs a main-window command by its handler name, as its menu entry does; returns when the
    // command's windows are closed. Fails when the entry is missing or disabled.
    void command(shell::TForm1& form, const QString& handler);
    // Checks the prompt's messages and questions since the last check, each
    // "kind|icon|caption|text", and that every queued answer was taken.
    void expectPrompts(const QStringList& expected);
    // Checks that every expected window came and no other.
    void expectWindowsDone();

    // With KAVINA_E2E_SHOTS naming a folder (a run on a real display), the screen as it is now,
    // saved there numbered in order; otherwise nothing.
    void screenshot(const QString& name);

    // The PDF files the built-in printer wrote since the last call.
    QStringList newPdfFiles();
    // The text of a PDF file (pdftotext -layout).
    static QString pdfText(const QString& path);

    // The data folder read afresh, apart from the program's handles (whose positions the
    // windows rely on).
    std::unique_ptr<TDataModule1> books() const;
    // The fields of every record of a table matching a field's value, "FIELD=text" joined by
    // blanks, a record a line, in the table's order.
    static QStringList records(TableHandle& table, const Field& key, const QString& value,
                               const std::vector<Field>& shown);

    QString dataFolder() const { return QString::fromStdString(data.path()) + QLatin1Char('/'); }
    QString pdfFolder() const { return QString::fromStdString(program.path()) + QStringLiteral("/nyomtatas"); }

    testing_support::TestFolder program;
    testing_support::TestFolder data;
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
    QDateTime now;
    std::unique_ptr<shell::SessionState> state;
    ModalDriver windows;

private:
    size_t m_promptsSeen = 0;
    int m_shots = 0;
    QStringList m_pdfsSeen;
};

}  // namespace kavina::e2e
