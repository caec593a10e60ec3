#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include "NavTestServer.h"
#include "common/ScriptedPrompt.h"
#include "support/nav/NavSender.h"
#include "support/nav/forms/NavCommands.h"
#include "support/nav/forms/NavReporting.h"
#include "support/nav/forms/NavSetupDialog.h"
#include "support/nav/forms/OnlineInvoiceWindow.h"

namespace kavina::nav {
namespace {

// Kept for a look at the windows: KAVINA_SCREENSHOTS names a folder for the pictures.
void picture(QWidget& w, const char* name) {
    w.show();
    QApplication::processEvents();
    const QPixmap shot = w.grab();
    EXPECT_GT(shot.width(), 300);
    if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
        shot.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
}

QStringList column(const QTableWidget* table, int c) {
    QStringList out;
    for (int r = 0; r < table->rowCount(); ++r) out << table->item(r, c)->text();
    return out;
}

TEST(OnlineInvoiceWindowTest, AnAbortedInvoiceShowsTheAuthoritysMessageAndCanBeSentAgain) {
    NavTestServer server;
    server.start();
    server.control(R"({"abort": {"2026/0002": "A vevő adószáma hibás"}})");
    testing_support::TestFolder data;
    MemoryInvoiceQueue queue;
    for (const char* number : {"2026/0001", "2026/0002", "2026/0004"}) {
        QueuedInvoice e;
        e.invoiceNumber = QString::fromLatin1(number);
        e.operation = QStringLiteral("CREATE");
        e.invoiceXml = invoiceData(e.invoiceNumber);
        e.created = QDateTime::currentDateTime();
        queue.add(e);
    }
    SenderOptions options;
    options.pollPauseMilliseconds = 20;
    NavSender(server.settings(), queue, QString::fromStdString(data.path()), options).runRound();

    ScriptedPrompt prompt;
    OnlineInvoiceReview review(queue, prompt, [](const QueuedInvoice& e) { return invoiceData(e.invoiceNumber); });
    OnlineInvoiceWindow window(nullptr, review, prompt, QDate::currentDate());
    window.show();
    auto* table = window.findChild<QTableWidget*>("invoiceTableWidget");
    EXPECT_EQ(column(table, 0), (QStringList{"2026/0001", "2026/0002", "2026/0004"}));
    EXPECT_EQ(column(table, 2), (QStringList{"Befogadva", "Visszautasítva", "Befogadva"}));
    EXPECT_EQ(table->item(1, 5)->text(),
              QStringLiteral("Hiba: A NAV hibakódja: INCORRECT_CUSTOMER_DATA. (A vevő adószáma hibás)"));
    EXPECT_EQ(window.findChild<QListWidget*>("gapsListWidget")->item(0)->text(), QStringLiteral("2026/0003"));
    table->selectRow(1);
    picture(window, "online-invoice-window");

    window.findChild<QComboBox*>("filterComboBox")->setCurrentIndex(3);
    ASSERT_EQ(table->rowCount(), 1);
    table->selectRow(0);
    EXPECT_TRUE(
        window.findChild<QPlainTextEdit*>("messagesPlainTextEdit")->toPlainText().contains("A vevő adószáma hibás"));
    auto* resend = window.findChild<QPushButton*>("resendPushButton");
    ASSERT_TRUE(resend->isEnabled());
    int queued = 0;
    QObject::connect(&window, &OnlineInvoiceWindow::resendQueued, [&] { ++queued; });
    prompt.answerYesNo(true);
    resend->click();
    EXPECT_EQ(queued, 1);
    EXPECT_EQ(queue.all()[1].state, QueueState::Waiting);
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_EQ(prompt.transcript(),
              QStringList{"yes/no|question|Újraküldés|Újra beküldi a(z) 2026/0002 számla adatait a NAV-nak?"});
}

TEST(NavSetupDialogTest, StoresWhatIsTypedOnlyWhenComplete) {
    testing_support::TestFolder data;
    const QString folder = QString::fromStdString(data.path());
    ScriptedPrompt prompt;
    NavSetup logic(folder, QStringLiteral("Rendszergazda"), prompt);
    NavSetupDialog dialog(nullptr, logic);
    dialog.show();
    dialog.findChild<QLineEdit*>("loginLineEdit")->setText("kavinateszt01");
    dialog.findChild<QLineEdit*>("passwordLineEdit")->setText("jelszo");
    dialog.findChild<QLineEdit*>("signingKeyLineEdit")->setText("ce-8f5e-215119fa7dd621DLMRHRLH2S");
    dialog.findChild<QLineEdit*>("exchangeKeyLineEdit")->setText("0123456789ABCDEF");
    dialog.findChild<QLineEdit*>("taxNumberLineEdit")->setText("1234");
    dialog.findChild<QLineEdit*>("softwareIdLineEdit")->setText("HU12345678-KAVINA1");
    dialog.findChild<QComboBox*>("environmentComboBox")->setCurrentIndex(1);
    picture(dialog, "nav-settings");
    auto* accept = dialog.findChild<QPushButton*>("acceptPushButton");
    accept->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(loadNavSettings(folder).complete());
    dialog.findChild<QLineEdit*>("taxNumberLineEdit")->setText("12345678-2-42");
    accept->click();
    EXPECT_FALSE(dialog.isVisible());
    const NavSettings s = loadNavSettings(folder);
    EXPECT_TRUE(s.complete());
    EXPECT_TRUE(s.production);
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Online számla beállítások|Adja meg az adószámot (legalább "
                          "az első 8 számjegyét)!"});
}

TEST(NavReportingTest, TheStatusLineSaysNotSetUpUntilTheSettingsAreThenWhatWaits) {
    testing_support::TestFolder data;
    const QString folder = QString::fromStdString(data.path());
    MemoryInvoiceQueue queue;
    QueuedInvoice e;
    e.invoiceNumber = QStringLiteral("2026/0001");
    e.operation = QStringLiteral("CREATE");
    e.invoiceXml = invoiceData(e.invoiceNumber);
    e.created = QDateTime::currentDateTime();
    queue.add(e);
    QMainWindow window;
    SenderOptions options;
    options.pollPauseMilliseconds = 20;
    NavReporting reporting(
        *window.statusBar(), folder, [&] { return std::make_unique<LentQueue>(queue); }, options);
    reporting.start();
    auto* label = window.findChild<QLabel*>("navStatusLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Online számla: a beküldés nincs beállítva, 1 számla vár"));

    NavTestServer server;
    server.start();
    server.writeSettings(folder);
    reporting.wake();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return label->text() == QStringLiteral("Online számla: nincs beküldésre váró számla"); }, 30000))
        << label->text().toStdString();
    EXPECT_EQ(queue.all().front().state, QueueState::Done);
}

TEST(NavCommandsTest, TheWindowIsOfferedOnlyWithAQueueAndItsRebuild) {
    ScriptedPrompt prompt;
    QStringList handlers;
    const auto add = [&](const QString& handler, std::function<void()>) { handlers << handler; };
    NavCommandContext context{.prompt = prompt,
                              .parent = [] { return static_cast<QWidget*>(nullptr); },
                              .dataFolder = [] { return QString(); },
                              .currentRole = [] { return QStringLiteral("Rendszergazda"); }};
    addNavCommands(add, context);
    EXPECT_EQ(handlers, QStringList{"mNavBeallitasClick"});
    MemoryInvoiceQueue queue;
    context.queue = [&] { return static_cast<InvoiceQueue*>(&queue); };
    handlers.clear();
    addNavCommands(add, context);
    EXPECT_EQ(handlers, QStringList{"mNavBeallitasClick"});
    context.rebuildInvoiceData = [](const QueuedInvoice& e) { return invoiceData(e.invoiceNumber); };
    handlers.clear();
    addNavCommands(add, context);
    EXPECT_EQ(handlers, (QStringList{"mNavBeallitasClick", "mOnlineSzamlaClick"}));
}

}  // namespace
}  // namespace kavina::nav
