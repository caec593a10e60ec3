// Invoices stored by the program's own save and cancellation reach the stand-in authority
// through the queue table of the folder, and a refused one goes again once it is corrected.

#include <gtest/gtest.h>

#include "NavTestServer.h"
#include "dbase/FolderCheck.h"
#include "documents/InvoiceDataFolder.h"
#include "foundation/CommandBoundary.h"
#include "foundation/RecordEdit.h"
#include "invoicing/navdata/InvoiceDataQueue.h"
#include "support/nav/NavSender.h"
#include "support/nav/OnlineInvoiceReview.h"
#include "support/nav/TableInvoiceQueue.h"

namespace kavina::nav {
namespace {

namespace S = fields::Szamla;

class NavSavedInvoiceTest : public documents::InvoiceDataFolder {
protected:
    void SetUp() override {
        InvoiceDataFolder::SetUp();
        server.start();
    }
    void TearDown() override {
        InvoiceDataFolder::TearDown();
        EXPECT_EQ(server.log(QStringLiteral("problems.log")), QStringList());
        EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
    }

    // Rounds of the sender over the folder's queue until it has nothing left to follow.
    RoundReport report() {
        TableInvoiceQueue queue(folder);
        SenderOptions options;
        options.pollPauseMilliseconds = 20;
        NavSender sender(server.settings(), queue, folder, options);
        RoundReport r = sender.runRound();
        for (int i = 0; i < 20 && r.outcome == RoundOutcome::Processing; ++i) r = sender.runRound();
        return r;
    }

    std::map<QString, QueuedInvoice> entries() {
        std::map<QString, QueuedInvoice> out;
        for (QueuedInvoice& e : TableInvoiceQueue(folder).all()) out[e.invoiceNumber] = std::move(e);
        return out;
    }

    void setStoredBuyerTax(const QString& number, const QString& taxNumber) {
        TableHandle h(dir.path(), "Szamla.dbf");
        h.open();
        h.setOrder(S::SZAMLASZAM);
        ASSERT_TRUE(h.findKey(number.toStdString()));
        RecordEdit change = RecordEdit::edit(h);
        h.setString(S::BUYERTAX, taxNumber);
        change.post();
    }

    NavTestServer server;
    QString folder = QString::fromStdString(dir.path());
};

TEST_F(NavSavedInvoiceTest, SavedInvoicesACorrectionAndAStornoAreAcceptedInTheirOrder) {
    const QString first = storeDocument(SalesMode::Invoice, 1, {{1, 2, 1000}});
    const QString second = storeDocument(SalesMode::Invoice, 2, {{2, 1, 5000}}, QStringLiteral("Készpénz"));
    const QString correction =
        storeDocument(SalesMode::Corrective, 1, {{1, -1, 1000}}, QStringLiteral("Átutalás"), first);
    storno(first);
    const QString storno = first + QStringLiteral("-S");
    ASSERT_EQ(entries().size(), 4u);
    EXPECT_EQ(entries()[storno].state, QueueState::Waiting);

    const RoundReport r = report();
    EXPECT_EQ(r.outcome, RoundOutcome::Finished) << r.message.toStdString();
    const auto after = entries();
    for (const QString& number : {first, second, correction, storno}) {
        ASSERT_TRUE(after.count(number)) << number.toStdString();
        EXPECT_EQ(after.at(number).state, QueueState::Done) << number.toStdString();
        EXPECT_EQ(server.received(number), 1) << number.toStdString();
    }
    // Each change of the invoice waited until the one before it was accepted.
    EXPECT_EQ(after.at(correction).operation, QStringLiteral("MODIFY"));
    EXPECT_EQ(after.at(storno).operation, QStringLiteral("STORNO"));
    EXPECT_GE(after.at(correction).sent, after.at(first).finished);
    EXPECT_GE(after.at(storno).sent, after.at(correction).finished);
    EXPECT_NE(after.at(storno).transactionId, after.at(correction).transactionId);
}

TEST_F(NavSavedInvoiceTest, ARefusedInvoiceGoesAgainWithTheCorrectedBuyer) {
    const QString number = storeDocument(SalesMode::Invoice, 1, {{1, 2, 1000}});
    server.control(QStringLiteral(R"({"abort": {"%1": "A vevő adószáma hibás"}})").arg(number).toUtf8());
    report();
    const QueuedInvoice refused = entries()[number];
    ASSERT_EQ(refused.state, QueueState::Aborted);
    EXPECT_TRUE(refused.invoiceXml.contains("<base:taxpayerId>12345676</base:taxpayerId>"));
    server.control("{}");

    TableInvoiceQueue queue(folder);
    OnlineInvoiceReview review(queue, prompt, [this](const QueuedInvoice& e) {
        InvoiceDataBuilder builder(dir.path());
        return rebuildQueued(builder, e.invoiceNumber, e.operation, e.baseNumber, e.modificationIndex);
    });
    const QString question =
        QStringLiteral("yes/no|question|Újraküldés|Újra beküldi a(z) %1 számla adatait a NAV-nak?").arg(number);

    // A correction that still cannot be reported is told and changes nothing.
    setStoredBuyerTax(number, QStringLiteral("123"));
    prompt.answerYesNo(true);
    runCommand(prompt, [&] { review.resend(refused.key); });
    EXPECT_EQ(prompt.transcript(),
              (QStringList{question, QStringLiteral("message|warning|Figyelem!|A vevő belföldi adóalany, de hiányzik "
                                                    "az adószáma (12345676-2-41 formában). Kérem, adja meg a partner "
                                                    "adatai között.")}));
    EXPECT_EQ(entries()[number].state, QueueState::Aborted);
    EXPECT_EQ(entries()[number].invoiceXml, refused.invoiceXml);

    setStoredBuyerTax(number, QStringLiteral("10000003-1-02"));
    prompt.answerYesNo(true);
    EXPECT_TRUE(review.resend(refused.key));
    const QueuedInvoice again = entries()[number];
    EXPECT_EQ(again.state, QueueState::Waiting);
    EXPECT_TRUE(again.invoiceXml.contains("<base:taxpayerId>10000003</base:taxpayerId>"));
    EXPECT_TRUE(again.messages.isEmpty());
    TableHandle q(dir.path(), "NavQueue.dbf");
    q.open();
    q.first();
    EXPECT_EQ(q.asString(fields::NavQueue::XMLHASH).trimmed(), xmlHash(again.invoiceXml));
    EXPECT_NE(xmlHash(again.invoiceXml), xmlHash(refused.invoiceXml));
    EXPECT_EQ(prompt.transcript().size(), 3);
    EXPECT_EQ(prompt.transcript().last(), question);

    const RoundReport r = report();
    EXPECT_EQ(r.outcome, RoundOutcome::Finished) << r.message.toStdString();
    EXPECT_EQ(entries()[number].state, QueueState::Done);
    EXPECT_EQ(server.received(number), 2);
}

}  // namespace
}  // namespace kavina::nav
