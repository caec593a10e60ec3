#include "e2e/ShopDay.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "app/MainWindowWiring.h"
#include "foundation/CommandBoundary.h"
#include "foundation/NewDataFolder.h"
#include "shell/mainwindow/SessionActions.h"
#include "shell/mainwindow/forms/TForm1.h"
#include "shell/startup/Shutdown.h"
#include "shell/startup/Startup.h"
#include "shell/startup/forms/SessionWindowsQt.h"

namespace kavina::e2e {

namespace {
constexpr int kCommandPatienceMs = 10000;
}

ShopDay::ShopDay() : now(QDate::currentDate(), QTime(9, 0)) {
    createDataFolder(data.path(), {.demo = true, .today = now.date()});
    // The ini file "make run" writes, with the splash left out and the built-in PDF printer
    // writing into the program folder.
    QFile ini(QString::fromStdString(program.path()) + QStringLiteral("/kavinaextra.ini"));
    EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[adatok]\ndatabase='%1'\nkilepett=1\nnologo=1\npdfprinter=nyomtatas\n")
                  .arg(dataFolder())
                  .toUtf8());
    ini.close();
    state =
        std::make_unique<shell::SessionState>(QString::fromStdString(program.path()), prompt, [this] { return now; });
}

ShopDay::~ShopDay() = default;

void ShopDay::runDay(const std::function<void(shell::TForm1&)>& day) {
    QDir::setCurrent(QString::fromStdString(program.path()));
    // An error no command expects fails the day.
    const ScopedErrorReporter reporter([](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected error: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "unexpected error";
        }
    });
    shell::SessionWindowsQt sessionWindows(*state, desktop, {});
    shell::SessionActions actions(*state, sessionWindows, [] {});
    // The sign-in window makes the first user of the new folder and signs it in by itself.
    windows.expect(QStringLiteral("TLogo"), [](QWidget&) {});
    ASSERT_EQ(shell::Startup(*state, sessionWindows, {}, {}).run(), shell::StartupOutcome::Run);
    expectWindowsDone();
    ASSERT_EQ(state->session.currentUser, QStringLiteral("Rendszergazda"));
    app::runMainWindow(*state, actions, sessionWindows, desktop, {}, [&](shell::TForm1& form) {
        settle(200);
        day(form);
        return 0;
    });
    shell::signOut(*state);
}

void ShopDay::command(shell::TForm1& form, const QString& handler) {
    QAction* entry = form.findChild<QAction*>(handler);
    ASSERT_NE(entry, nullptr) << handler.toStdString();
    ASSERT_TRUE(entry->isEnabled()) << handler.toStdString();
    // A command that does not come back in time is stuck in a window the script did not
    // foresee: the windows are closed one by one, so that the day fails instead of hanging.
    QTimer watchdog;
    watchdog.setInterval(kCommandPatienceMs);
    QObject::connect(&watchdog, &QTimer::timeout, [this, handler] {
        QWidget* modal = QApplication::activeModalWidget();
        ADD_FAILURE() << handler.toStdString() << " is stuck in "
                      << (modal ? modal->metaObject()->className() : "no window") << "; prompts:\n"
                      << prompt.transcript().join(QLatin1Char('\n')).toStdString();
        // Leaving a half-made document asks first.
        prompt.answerYesNo(true);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    watchdog.start();
    entry->trigger();
    watchdog.stop();
    settle();
}

void ShopDay::expectPrompts(const QStringList& expected) {
    const QStringList all = prompt.transcript();
    const QStringList seen = all.mid(int(m_promptsSeen));
    m_promptsSeen = size_t(all.size());
    EXPECT_EQ(seen.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(prompt.pendingAnswers(), 0u);
    EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join(QLatin1Char('\n')).toStdString();
}

void ShopDay::expectWindowsDone() {
    EXPECT_EQ(windows.pending(), 0u);
    EXPECT_TRUE(windows.unexpected().isEmpty()) << windows.unexpected().join(QLatin1Char('\n')).toStdString();
    windows.reset();
}

std::unique_ptr<TDataModule1> ShopDay::books() const {
    auto module = std::make_unique<TDataModule1>();
    module->open(data.path());
    return module;
}

QStringList ShopDay::records(TableHandle& table, const Field& key, const QString& value,
                             const std::vector<Field>& shown) {
    QStringList rows;
    table.refresh();
    for (table.first(); !table.eof(); table.next()) {
        if (table.asString(key).trimmed() != value) continue;
        QStringList row;
        for (const Field& f : shown)
            row << QString::fromStdString(f.text()) + QLatin1Char('=') + table.asString(f).trimmed();
        rows << row.join(QLatin1Char(' '));
    }
    return rows;
}

void ShopDay::screenshot(const QString& name) {
    const QString folder = qEnvironmentVariable("KAVINA_E2E_SHOTS");
    if (folder.isEmpty()) return;
    settle(300);
    const QString file = QStringLiteral("%1/%2-%3.png").arg(folder).arg(++m_shots, 2, 10, QLatin1Char('0')).arg(name);
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
}

QStringList ShopDay::newPdfFiles() {
    const QDir dir(pdfFolder());
    QStringList fresh;
    for (const QString& name : dir.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed)) {
        const QString path = dir.filePath(name);
        if (!m_pdfsSeen.contains(path)) fresh << path;
    }
    m_pdfsSeen << fresh;
    return fresh;
}

QString ShopDay::pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace kavina::e2e
