#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <atomic>

#include "NavTestServer.h"
#include "support/nav/NavSender.h"
#include "support/nav/NavSenderThread.h"
#include "support/nav/SenderLock.h"

namespace kavina::nav {
namespace {

class NavSenderTest : public ::testing::Test {
protected:
    SenderOptions quick() const {
        SenderOptions o;
        o.connectTimeoutSeconds = 2;
        o.answerTimeoutSeconds = 10;
        o.pollPauseMilliseconds = 20;
        o.statusPolls = 10;
        return o;
    }

    void queue(const QString& number, const QString& operation = QStringLiteral("CREATE"),
               const QString& base = QString(), int modification = 0) {
        QueuedInvoice e;
        e.invoiceNumber = number;
        e.operation = operation;
        e.baseNumber = base;
        e.modificationIndex = modification;
        e.invoiceXml = invoiceData(number);
        e.created = QDateTime::currentDateTimeUtc();
        invoices.add(e);
    }

    QueuedInvoice entry(const QString& key) {
        for (const QueuedInvoice& e : invoices.all())
            if (e.key == key) return e;
        return {};
    }

    RoundReport roundsUntilSettled(NavSender& sender) {
        RoundReport r;
        for (int i = 0; i < 10; ++i) {
            r = sender.runRound();
            if (r.outcome != RoundOutcome::Processing) break;
        }
        return r;
    }

    testing_support::TestFolder data;
    NavTestServer server;
    MemoryInvoiceQueue invoices;
    QString folder = QString::fromStdString(data.path());
};

TEST_F(NavSenderTest, InvoicesSavedWhileTheAuthorityIsDownAreAllAcceptedOnceItIsUp) {
    const int port = freePort();
    queue(QStringLiteral("K-1"));
    // The modification is saved early but must wait until its base is accepted.
    queue(QStringLiteral("K-1/M1"), QStringLiteral("MODIFY"), QStringLiteral("K-1"), 1);
    for (int i = 2; i <= 50; ++i) queue(QStringLiteral("K-%1").arg(i));
    server.start(port);
    NavSettings settings = server.settings();
    server.stop();

    NavSender sender(settings, invoices, folder, quick());
    const RoundReport down = sender.runRound();
    EXPECT_EQ(down.outcome, RoundOutcome::Offline);
    EXPECT_TRUE(down.message.startsWith(QStringLiteral("A NAV szervere nem érhető el"))) << down.message.toStdString();
    for (const QueuedInvoice& e : invoices.all()) EXPECT_EQ(e.state, QueueState::Waiting);

    server.start(port);
    const RoundReport up = roundsUntilSettled(sender);
    EXPECT_EQ(up.outcome, RoundOutcome::Finished) << up.message.toStdString();
    for (const QueuedInvoice& e : invoices.all()) {
        EXPECT_EQ(e.state, QueueState::Done) << e.invoiceNumber.toStdString();
        EXPECT_EQ(server.received(e.invoiceNumber), 1) << e.invoiceNumber.toStdString();
        EXPECT_FALSE(e.transactionId.isEmpty());
    }
    EXPECT_EQ(server.log("problems.log"), QStringList());
    // The fifty new invoices went in one request, the modification in a later one.
    const QStringList received = server.log("received.log");
    ASSERT_EQ(received.size(), 51);
    EXPECT_TRUE(received.last().startsWith(QStringLiteral("K-1/M1 MODIFY")));
    EXPECT_NE(entry("1").transactionId, entry("2").transactionId);
}

TEST_F(NavSenderTest, MoreThanOneHundredGoInSeveralRequests) {
    server.start();
    for (int i = 1; i <= 205; ++i) queue(QStringLiteral("T-%1").arg(i));
    NavSender sender(server.settings(), invoices, folder, quick());
    EXPECT_EQ(roundsUntilSettled(sender).outcome, RoundOutcome::Finished);
    int manage = 0;
    for (const QString& line : server.log("requests.log"))
        if (line.startsWith(QStringLiteral("manageInvoice "))) ++manage;
    EXPECT_EQ(manage, 3);
    const std::vector<QueuedInvoice> all = invoices.all();
    EXPECT_EQ(all[99].batchIndex, 100);
    EXPECT_EQ(all[100].batchIndex, 1);
    EXPECT_EQ(all[204].batchIndex, 5);
    for (const QueuedInvoice& e : all) EXPECT_EQ(e.state, QueueState::Done);
}

TEST_F(NavSenderTest, AStalledSendIsLookedUpAndNotSentAgain) {
    server.start();
    // Another program of the business reported three invoices at the same moment.
    server.control(R"({"stall": 1, "stall_seconds": 4, "foreign": 3})");
    for (int i = 1; i <= 3; ++i) queue(QStringLiteral("S-%1").arg(i));
    SenderOptions options = quick();
    options.answerTimeoutSeconds = 1;
    NavSender sender(server.settings(), invoices, folder, options);
    const RoundReport r = roundsUntilSettled(sender);
    EXPECT_EQ(r.outcome, RoundOutcome::Finished) << r.message.toStdString();
    for (const QueuedInvoice& e : invoices.all()) {
        EXPECT_EQ(e.state, QueueState::Done);
        EXPECT_EQ(server.received(e.invoiceNumber), 1);
    }
    const QStringList requests = server.log("requests.log");
    EXPECT_EQ(requests.filter(QRegularExpression(QStringLiteral("^manageInvoice "))).size(), 1);
    EXPECT_EQ(requests.filter(QRegularExpression(QStringLiteral("^queryTransactionList "))).size(), 1);
}

TEST_F(NavSenderTest, AnUnansweredSendTheAuthorityNeverRecordedIsSentAgain) {
    server.start();
    queue(QStringLiteral("U-1"));
    // A send cut off before the authority recorded it: sent, no transaction, not in its lists.
    QueuedInvoice e = invoices.all().front();
    e.state = QueueState::Sent;
    e.batchIndex = 1;
    e.sent = QDateTime::currentDateTimeUtc().addSecs(-30);
    invoices.update(e);
    NavSender sender(server.settings(), invoices, folder, quick());
    EXPECT_EQ(roundsUntilSettled(sender).outcome, RoundOutcome::Finished);
    EXPECT_EQ(invoices.all().front().state, QueueState::Done);
    EXPECT_EQ(server.received(QStringLiteral("U-1")), 1);
    EXPECT_EQ(server.log("requests.log").filter(QRegularExpression(QStringLiteral("^queryInvoiceCheck "))).size(), 1);
}

TEST_F(NavSenderTest, AbortedAndDuplicateInvoicesKeepTheAuthoritysMessages) {
    server.start();
    server.control(R"({"abort": {"A-2": "A vevő adószáma hibás"}, "warn": ["A-3"]})");
    queue(QStringLiteral("A-1"));
    queue(QStringLiteral("A-2"));
    queue(QStringLiteral("A-3"));
    queue(QStringLiteral("A-1"));
    // A storno of a rejected invoice never goes.
    queue(QStringLiteral("A-2/S"), QStringLiteral("STORNO"), QStringLiteral("A-2"), 1);
    NavSender sender(server.settings(), invoices, folder, quick());
    EXPECT_EQ(roundsUntilSettled(sender).outcome, RoundOutcome::Finished);
    EXPECT_EQ(entry("1").state, QueueState::Done);
    EXPECT_EQ(entry("2").state, QueueState::Aborted);
    EXPECT_EQ(entry("2").messages,
              QStringLiteral("Hiba: A NAV hibakódja: INCORRECT_CUSTOMER_DATA. (A vevő adószáma hibás)"));
    EXPECT_EQ(entry("3").state, QueueState::DoneWithWarnings);
    EXPECT_EQ(entry("3").messages,
              QStringLiteral("Figyelmeztetés: A NAV hibakódja: VAT_RATE_MISMATCH. (Eltérő adómérték)"));
    EXPECT_EQ(entry("4").state, QueueState::Aborted);
    EXPECT_EQ(entry("4").messages,
              QStringLiteral("Hiba: Ez a számlaszám már szerepel a NAV rendszerében. (A számlaszám már létezik)"));
    EXPECT_EQ(entry("5").state, QueueState::Waiting);
    EXPECT_EQ(server.received(QStringLiteral("A-2/S")), 0);
}

TEST_F(NavSenderTest, RefusedRequestsLeaveTheInvoicesWaitingWithTheReason) {
    server.start();
    queue(QStringLiteral("R-1"));
    NavSettings wrong = server.settings();
    wrong.signingKey = QStringLiteral("ez-nem-a-jo-kulcs");
    NavSender sender(wrong, invoices, folder, quick());
    const RoundReport r = sender.runRound();
    EXPECT_EQ(r.outcome, RoundOutcome::Refused);
    EXPECT_EQ(r.message,
              QStringLiteral("Hibás a kérés aláírása: ellenőrizze az aláírókulcsot. (Hibás felhasználó vagy aláírás)"));
    EXPECT_EQ(invoices.all().front().state, QueueState::Waiting);

    NavSettings swapped = server.settings();
    std::swap(swapped.signingKey, swapped.exchangeKey);
    swapped.exchangeKey = swapped.exchangeKey.left(16);
    EXPECT_EQ(NavSender(swapped, invoices, folder, quick()).runRound().outcome, RoundOutcome::Refused);

    NavSettings empty;
    const RoundReport notSet = NavSender(empty, invoices, folder, quick()).runRound();
    EXPECT_EQ(notSet.outcome, RoundOutcome::NotSetUp);
    EXPECT_EQ(server.received(QStringLiteral("R-1")), 0);
}

TEST_F(NavSenderTest, AServerWhoseCertificateIsNotTrustedOrPlainHttpGetsNothing) {
    server.start();
    queue(QStringLiteral("C-1"));
    NavSettings untrusted = server.settings();
    untrusted.caFile.clear();
    const RoundReport r = NavSender(untrusted, invoices, folder, quick()).runRound();
    EXPECT_EQ(r.outcome, RoundOutcome::Offline);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("A NAV szervere nem érhető el"))) << r.message.toStdString();
    NavSettings plain = server.settings();
    plain.serviceUrl.replace(QStringLiteral("https://"), QStringLiteral("http://"));
    EXPECT_EQ(NavSender(plain, invoices, folder, quick()).runRound().outcome, RoundOutcome::Offline);
    EXPECT_EQ(server.log(QStringLiteral("requests.log")), QStringList());
    EXPECT_EQ(invoices.all().front().state, QueueState::Waiting);
}

TEST_F(NavSenderTest, OnlyTheHolderOfTheLockSends) {
    server.start();
    queue(QStringLiteral("L-1"));
    {
        const auto held = SenderLock::tryTake(folder);
        ASSERT_TRUE(held);
        EXPECT_FALSE(SenderLock::tryTake(folder));
        NavSender sender(server.settings(), invoices, folder, quick());
        EXPECT_EQ(sender.runRound().outcome, RoundOutcome::OtherWorkstation);
        EXPECT_EQ(server.received(QStringLiteral("L-1")), 0);
    }
    EXPECT_TRUE(SenderLock::tryTake(folder));
}

TEST_F(NavSenderTest, TheBackgroundSenderReportsWhatIsQueuedAndStopsAtOnce) {
    server.start();
    server.writeSettings(folder);
    queue(QStringLiteral("H-1"));
    std::atomic<int> finished{0};
    NavSenderThread thread(
        folder, [this] { return std::make_unique<LentQueue>(invoices); }, quick());
    QObject::connect(
        &thread, &NavSenderThread::roundFinished, &thread,
        [&](int outcome, const QString&) {
            if (outcome == static_cast<int>(RoundOutcome::Finished)) ++finished;
        },
        Qt::DirectConnection);
    thread.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.load() >= 1; }, 30000));
    EXPECT_EQ(invoices.all().front().state, QueueState::Done);
    // A new invoice wakes the sender without waiting out its pause.
    queue(QStringLiteral("H-2"));
    thread.wake();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.load() >= 2; }, 30000));
    EXPECT_EQ(invoices.all().back().state, QueueState::Done);
    QElapsedTimer clock;
    clock.start();
    thread.stopAndWait();
    EXPECT_LT(clock.elapsed(), 10000);
}

}  // namespace
}  // namespace kavina::nav
