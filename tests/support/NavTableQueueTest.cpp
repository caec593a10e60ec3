#include <gtest/gtest.h>

#include "NavTestServer.h"
#include "dbase/FolderCheck.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/TableHandle.h"
#include "support/nav/NavCrypto.h"
#include "support/nav/NavSender.h"
#include "support/nav/TableInvoiceQueue.h"

namespace kavina::nav {
namespace {

namespace Q = fields::NavQueue;

// Writes a waiting row as the save of an invoice does.
void saveRow(const QString& folder, const QString& number, const QString& operation = QStringLiteral("CREATE"),
             const QString& base = QString(), int modification = 0) {
    TableHandle t(folder.toStdString(), std::string(Q::kTable));
    t.open();
    RecordEdit row = RecordEdit::append(t);
    t.setString(Q::INVNUMBER, number);
    t.setString(Q::OPERATION, operation);
    t.setString(Q::BASENUMBER, base);
    t.setInteger(Q::MODINDEX, modification);
    t.setString(Q::STATE, QString::fromLatin1(fields::navQueueState::Waiting.data()));
    t.setString(Q::XML, QString::fromUtf8(invoiceData(number)));
    t.setString(Q::XMLHASH, QStringLiteral("-"));
    t.setDateTime(Q::CREATED, QDateTime(QDate(2026, 3, 2), QTime(9, 30), Qt::UTC));
    row.post();
    t.close();
}

class TableInvoiceQueueTest : public ::testing::Test {
protected:
    void SetUp() override { createDataFolder(data.path()); }
    void TearDown() override { EXPECT_EQ(testing_support::checkAllTables(data.path()), std::vector<std::string>()); }

    testing_support::TestFolder data;
    QString folder = QString::fromStdString(data.path());
};

TEST_F(TableInvoiceQueueTest, ReadsTheSavedRowsAndStoresWhatTheSenderLearns) {
    saveRow(folder, QStringLiteral("2026/0001"));
    saveRow(folder, QStringLiteral("2026/0001-S"), QStringLiteral("STORNO"), QStringLiteral("2026/0001"), 1);
    TableInvoiceQueue queue(folder);
    std::vector<QueuedInvoice> all = queue.all();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].invoiceNumber, QStringLiteral("2026/0001"));
    EXPECT_EQ(all[0].state, QueueState::Waiting);
    EXPECT_EQ(all[0].invoiceXml, invoiceData(QStringLiteral("2026/0001")));
    EXPECT_EQ(all[0].created, QDateTime(QDate(2026, 3, 2), QTime(9, 30)));
    EXPECT_EQ(all[1].operation, QStringLiteral("STORNO"));
    EXPECT_EQ(all[1].baseNumber, QStringLiteral("2026/0001"));
    EXPECT_EQ(all[1].modificationIndex, 1);

    QueuedInvoice e = all[0];
    e.state = QueueState::DoneWithWarnings;
    e.transactionId = QStringLiteral("4QNFTZQ4HWOAUVHE");
    e.batchIndex = 7;
    e.sent = QDateTime(QDate(2026, 3, 2), QTime(9, 31, 5));
    e.finished = QDateTime(QDate(2026, 3, 2), QTime(9, 31, 9));
    e.messages = QStringLiteral("Figyelmeztetés: első\nFigyelmeztetés: második");
    queue.update(e);
    const QueuedInvoice read = TableInvoiceQueue(folder).all()[0];
    EXPECT_EQ(read.state, QueueState::DoneWithWarnings);
    EXPECT_EQ(read.transactionId, e.transactionId);
    EXPECT_EQ(read.batchIndex, 7);
    EXPECT_EQ(read.sent, e.sent);
    EXPECT_EQ(read.finished, e.finished);
    EXPECT_EQ(read.messages, e.messages);

    QueuedInvoice stranger = all[1];
    stranger.invoiceNumber = QStringLiteral("más");
    EXPECT_THROW(queue.update(stranger), RuleError);
    stranger.key = QStringLiteral("99");
    EXPECT_THROW(queue.update(stranger), RuleError);
}

TEST_F(TableInvoiceQueueTest, ARefusedInvoiceIsQueuedAgainWithItsNewDataOnlyWhileStillRefused) {
    saveRow(folder, QStringLiteral("2026/0001"));
    saveRow(folder, QStringLiteral("2026/0002"));
    TableInvoiceQueue window(folder);
    TableInvoiceQueue sender(folder);
    for (QueuedInvoice e : sender.all()) {
        e.state = QueueState::Aborted;
        e.transactionId = QStringLiteral("T1");
        e.messages = QStringLiteral("Hiba: a vevő adószáma hibás");
        sender.update(e);
    }
    const std::vector<QueuedInvoice> seen = window.all();

    const QByteArray corrected =
        invoiceData(QStringLiteral("2026/0001")).replace("</invoiceNumber>", "</invoiceNumber>\n");
    window.requeue(seen[0], corrected);
    const QueuedInvoice again = TableInvoiceQueue(folder).all()[0];
    EXPECT_EQ(again.state, QueueState::Waiting);
    EXPECT_EQ(again.invoiceXml, corrected);
    EXPECT_TRUE(again.transactionId.isEmpty());
    EXPECT_TRUE(again.messages.isEmpty());
    EXPECT_FALSE(again.sent.isValid());
    TableHandle t(data.path(), std::string(Q::kTable));
    t.open();
    t.first();
    EXPECT_EQ(t.asString(Q::XMLHASH).trimmed(), sha3_512Hex(corrected));

    // Another workstation queued the second one again and its sender sent it meanwhile.
    QueuedInvoice moved = sender.all()[1];
    moved.state = QueueState::Sent;
    moved.transactionId = QStringLiteral("T2");
    sender.update(moved);
    try {
        window.requeue(seen[1], corrected);
        ADD_FAILURE() << "queued an entry that is no longer refused";
    } catch (const RuleError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("A(z) 2026/0002 számla állapota közben megváltozott (egy másik "
                                              "munkaállomás már újraküldte), ezért nem küldhető újra."));
    }
    const QueuedInvoice kept = TableInvoiceQueue(folder).all()[1];
    EXPECT_EQ(kept.transactionId, QStringLiteral("T2"));
    EXPECT_EQ(kept.invoiceXml, invoiceData(QStringLiteral("2026/0002")));
}

TEST_F(TableInvoiceQueueTest, InvoicesSavedWhileDownAreAllAcceptedFromTheTable) {
    const int port = freePort();
    for (int i = 1; i <= 50; ++i) saveRow(folder, QStringLiteral("T-%1").arg(i));
    NavTestServer server;
    server.start(port);
    const NavSettings settings = server.settings();
    server.stop();
    TableInvoiceQueue queue(folder);
    SenderOptions options;
    options.pollPauseMilliseconds = 20;
    NavSender sender(settings, queue, folder, options);
    EXPECT_EQ(sender.runRound().outcome, RoundOutcome::Offline);
    server.start(port);
    RoundReport r = sender.runRound();
    for (int i = 0; i < 10 && r.outcome == RoundOutcome::Processing; ++i) r = sender.runRound();
    EXPECT_EQ(r.outcome, RoundOutcome::Finished) << r.message.toStdString();
    for (const QueuedInvoice& e : TableInvoiceQueue(folder).all()) {
        EXPECT_EQ(e.state, QueueState::Done);
        EXPECT_EQ(server.received(e.invoiceNumber), 1);
    }
}

TEST(TableInvoiceQueueMissingTest, AFolderWithoutTheQueueIsToldClearly) {
    testing_support::TestFolder empty;
    try {
        TableInvoiceQueue queue(QString::fromStdString(empty.path()));
        FAIL() << "opened a queue that is not there";
    } catch (const RuleError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Az adatmappában nincs online számla sor (NavQueue.dbf): frissítse az adatbázist."));
    }
}

}  // namespace
}  // namespace kavina::nav
