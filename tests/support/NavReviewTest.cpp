#include <gtest/gtest.h>

#include <QDir>

#include "NavTestServer.h"
#include "common/ScriptedPrompt.h"
#include "foundation/RuleError.h"
#include "support/nav/NavCrypto.h"
#include "support/nav/NavSenderThread.h"
#include "support/nav/NavSetup.h"
#include "support/nav/NavStatus.h"
#include "support/nav/OnlineInvoiceReview.h"
#include "support/nav/TaxpayerLookup.h"

namespace kavina::nav {
namespace {

const QDateTime kNow(QDate(2026, 3, 10), QTime(12, 0));

QueuedInvoice entry(const QString& number, QueueState state, const QDateTime& created = kNow) {
    QueuedInvoice e;
    e.invoiceNumber = number;
    e.operation = QStringLiteral("CREATE");
    e.state = state;
    e.created = created;
    return e;
}

TEST(NavStatusTest, CountsWhatWaitsAndWarnsAtTheDeadlines) {
    std::vector<QueuedInvoice> q{entry("K-1", QueueState::Done), entry("K-2", QueueState::Waiting, kNow.addSecs(-3600)),
                                 entry("K-3", QueueState::Sent)};
    EXPECT_EQ(navStatus(q, true, kNow).text, QStringLiteral("Online számla: 2 számla vár beküldésre"));
    EXPECT_EQ(navStatus(q, true, kNow).level, StatusLevel::Normal);
    q[1].created = kNow.addSecs(-24 * 3600);
    EXPECT_EQ(navStatus(q, true, kNow, QStringLiteral("A NAV szervere nem érhető el")).text,
              QStringLiteral("Online számla: 2 számla vár beküldésre – a legrégebbi 24 óránál régebben! "
                             "(A NAV szervere nem érhető el)"));
    EXPECT_EQ(navStatus(q, true, kNow).level, StatusLevel::Warning);
    q[1].created = kNow.addSecs(-48 * 3600);
    EXPECT_EQ(navStatus(q, true, kNow).level, StatusLevel::Alarm);
    EXPECT_TRUE(navStatus(q, true, kNow).text.contains(QStringLiteral("be kell jelenteni a NAV-nak")));
    EXPECT_EQ(navStatus(q, false, kNow).text,
              QStringLiteral("Online számla: a beküldés nincs beállítva, 2 számla vár"));
    const std::vector<QueuedInvoice> settled{entry("K-1", QueueState::Done), entry("K-2", QueueState::Aborted)};
    const NavStatusLine line = navStatus(settled, true, kNow, QStringLiteral("régi hiba"));
    EXPECT_EQ(line.text, QStringLiteral("Online számla: nincs beküldésre váró számla; 1 visszautasított számla"));
    EXPECT_EQ(line.level, StatusLevel::Warning);
}

TEST(NavStatusTest, RetriesAfterGrowingPausesWhileOffline) {
    EXPECT_EQ(pauseAfter(RoundOutcome::Offline, 1), 15'000);
    EXPECT_EQ(pauseAfter(RoundOutcome::Offline, 2), 30'000);
    EXPECT_EQ(pauseAfter(RoundOutcome::Offline, 4), 120'000);
    EXPECT_EQ(pauseAfter(RoundOutcome::Offline, 50), 15 * 60'000);
    EXPECT_LT(pauseAfter(RoundOutcome::Processing, 0), pauseAfter(RoundOutcome::Finished, 0));
}

class OnlineInvoiceReviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QDateTime day = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        queue.add(entry("2026/0001", QueueState::Done, day));
        queue.add(entry("2026/0002", QueueState::DoneWithWarnings, day));
        QueuedInvoice aborted = entry("2026/0003", QueueState::Aborted, day);
        aborted.messages = QStringLiteral("Hiba: Ez a számlaszám már szerepel a NAV rendszerében.");
        aborted.transactionId = QStringLiteral("T1");
        queue.add(aborted);
        queue.add(entry("2026/0007", QueueState::Waiting, day));
        queue.add(entry("2026/0008", QueueState::Sent, day));
        queue.add(entry("2026/0005", QueueState::Waiting, QDateTime(QDate(2026, 2, 27), QTime(9, 0))));
        queue.add(entry("E-10", QueueState::Done, day));
        queue.add(entry("E-12", QueueState::Done, day));
    }

    QStringList numbers(const std::vector<ReviewRow>& rows) {
        QStringList out;
        for (const ReviewRow& r : rows) out << r.invoiceNumber;
        return out;
    }

    MemoryInvoiceQueue queue;
    ScriptedPrompt prompt;
    // The corrected invoice's data, or the reason it still cannot be reported.
    QString stillWrong;
    OnlineInvoiceReview review{queue, prompt, [this](const QueuedInvoice& e) {
                                   if (!stillWrong.isEmpty()) throw RuleError(stillWrong);
                                   return QByteArray("javított ") + e.invoiceNumber.toUtf8();
                               }};
    QDate from{2026, 3, 1};
    QDate to{2026, 3, 31};
};

TEST_F(OnlineInvoiceReviewTest, FiltersThePeriodByState) {
    EXPECT_EQ(numbers(review.rows(from, to, ReviewFilter::All)),
              (QStringList{"2026/0001", "2026/0002", "2026/0003", "2026/0007", "2026/0008", "E-10", "E-12"}));
    EXPECT_EQ(numbers(review.rows(from, to, ReviewFilter::Waiting)), (QStringList{"2026/0007", "2026/0008"}));
    EXPECT_EQ(numbers(review.rows(from, to, ReviewFilter::Warnings)), (QStringList{"2026/0002"}));
    const std::vector<ReviewRow> aborted = review.rows(from, to, ReviewFilter::Aborted);
    ASSERT_EQ(aborted.size(), 1u);
    EXPECT_EQ(aborted[0].stateText, QStringLiteral("Visszautasítva"));
    EXPECT_EQ(aborted[0].messages, QStringLiteral("Hiba: Ez a számlaszám már szerepel a NAV rendszerében."));
    EXPECT_EQ(aborted[0].created, QStringLiteral("2026.03.02 09:00:00"));
}

TEST_F(OnlineInvoiceReviewTest, ListsTheGapsOfEveryNumberRange) {
    EXPECT_EQ(review.gaps(from, to), (QStringList{"2026/0004 – 2026/0006", "E-11"}));
    EXPECT_EQ(OnlineInvoiceReview::gapsOf({"A1", "A2", "A3"}), QStringList());
    EXPECT_EQ(OnlineInvoiceReview::gapsOf({"SZ-099", "SZ-101", "nincs szám"}), QStringList{"SZ-100"});
}

TEST_F(OnlineInvoiceReviewTest, SendsAnAbortedInvoiceAgainWithItsDataBuiltAgain) {
    const QString question =
        QStringLiteral("yes/no|question|Újraküldés|Újra beküldi a(z) 2026/0003 számla adatait a NAV-nak?");
    prompt.answerYesNo(false);
    EXPECT_FALSE(review.resend(QStringLiteral("3")));
    EXPECT_EQ(queue.all()[2].state, QueueState::Aborted);

    // An invoice that still cannot be reported stays as it was, refused.
    stillWrong = QStringLiteral("A vevő adószáma hiányzik.");
    prompt.answerYesNo(true);
    try {
        review.resend(QStringLiteral("3"));
        ADD_FAILURE() << "resent an invoice that cannot be reported";
    } catch (const RuleError& e) {
        EXPECT_EQ(e.message(), stillWrong);
    }
    EXPECT_EQ(queue.all()[2].state, QueueState::Aborted);
    EXPECT_EQ(queue.all()[2].transactionId, QStringLiteral("T1"));

    stillWrong.clear();
    prompt.answerYesNo(true);
    EXPECT_TRUE(review.resend(QStringLiteral("3")));
    const QueuedInvoice again = queue.all()[2];
    EXPECT_EQ(again.state, QueueState::Waiting);
    EXPECT_EQ(again.invoiceXml, QByteArray("javított 2026/0003"));
    EXPECT_TRUE(again.transactionId.isEmpty());
    EXPECT_TRUE(again.messages.isEmpty());
    EXPECT_EQ(prompt.transcript(), QStringList(3, question));
    EXPECT_THROW(review.resend(QStringLiteral("1")), RuleError);
}

TEST(NavSetupTest, OnlyAnAdministratorStoresTheSettingsAndOnlyThePasswordsHash) {
    testing_support::TestFolder data;
    const QString folder = QString::fromStdString(data.path());
    ScriptedPrompt prompt;
    EXPECT_FALSE(NavSetup(folder, QStringLiteral("Felhasználó"), prompt).mayOpen());
    NavSetup setup(folder, QStringLiteral("Rendszergazda"), prompt);
    EXPECT_TRUE(setup.mayOpen());
    NavSetupFields f = setup.load();
    EXPECT_FALSE(f.passwordStored);
    f.login = QStringLiteral("kavinateszt01");
    f.password = QStringLiteral("Titkos-Jelszó1");
    f.signingKey = QStringLiteral("ce-8f5e-215119fa7dd621DLMRHRLH2S");
    f.exchangeKey = QStringLiteral("rövid");
    f.taxNumber = QStringLiteral("12345678-2-42");
    f.softwareId = QStringLiteral("hu12345678-kavina1");
    EXPECT_FALSE(setup.save(f));
    f.exchangeKey = QStringLiteral("0123456789ABCDEF");
    EXPECT_TRUE(setup.save(f));
    EXPECT_EQ(
        prompt.transcript(),
        (QStringList{
            "message|warning|Online számla beállítások|Az online számla beállításait csak rendszergazda módosíthatja.",
            "message|warning|Online számla beállítások|A cserekulcs 16 karakter hosszú."}));
    const NavSettings stored = loadNavSettings(folder);
    EXPECT_EQ(stored.passwordHash, sha512Hex("Titkos-Jelszó1"));
    EXPECT_EQ(stored.softwareId, QStringLiteral("HU12345678-KAVINA1"));
    EXPECT_TRUE(stored.complete());
    EXPECT_FALSE(QString::fromUtf8(QByteArray::fromStdString(data.read("navbeall.ini"))).contains("Titkos"));
    // An empty password box keeps the stored hash.
    f = setup.load();
    EXPECT_TRUE(f.passwordStored);
    EXPECT_TRUE(f.password.isEmpty());
    f.production = true;
    EXPECT_TRUE(setup.save(f));
    EXPECT_EQ(loadNavSettings(folder).passwordHash, sha512Hex("Titkos-Jelszó1"));
    EXPECT_TRUE(loadNavSettings(folder).production);
}

TEST(TaxpayerLookupTest, FillsNameAndAddressAndAsksBeforeOverwriting) {
    NavTestServer server;
    server.start();
    ScriptedPrompt prompt;
    TaxpayerLookup lookup(server.settings(), prompt, 10);
    const PartnerNameAndAddress expected{QStringLiteral("Próba Kereskedelmi Korlátolt Felelősségű Társaság"),
                                         QStringLiteral("6720"), QStringLiteral("Szeged"),
                                         QStringLiteral("Kárász utca 5. 2. emelet")};
    EXPECT_EQ(lookup.lookup(QStringLiteral("11111111-2-06"), {}), expected);
    EXPECT_TRUE(prompt.transcript().isEmpty());

    prompt.answerYesNo(false);
    EXPECT_EQ(lookup.lookup(QStringLiteral("11111111-2-06"), {QStringLiteral("Régi Név")}), std::nullopt);
    prompt.answerYesNo(true);
    EXPECT_EQ(lookup.lookup(QStringLiteral("11111111-2-06"), {QStringLiteral("Régi Név")}), expected);
    EXPECT_EQ(lookup.lookup(QStringLiteral("22222222-2-06"), {}), std::nullopt);
    EXPECT_EQ(lookup.lookup(QStringLiteral("1234"), {}), std::nullopt);
    const QString question = QStringLiteral(
        "yes/no|question|NAV lekérdezés|A NAV nyilvántartása szerint:\nPróba Kereskedelmi Korlátolt Felelősségű "
        "Társaság\n6720 Szeged, Kárász utca 5. 2. emelet\n\nFelülírja ezekkel a partner nevét és címét?");
    EXPECT_EQ(prompt.transcript(),
              (QStringList{question, question,
                           "message|information|NAV lekérdezés|A NAV nyilvántartásában nincs érvényes adózó ezzel az "
                           "adószámmal.",
                           "message|warning|NAV lekérdezés|Az adószám első 8 számjegye szükséges a lekérdezéshez."}));
    EXPECT_EQ(server.log(QStringLiteral("problems.log")), QStringList());

    ScriptedPrompt unset;
    EXPECT_EQ(TaxpayerLookup(NavSettings(), unset).lookup(QStringLiteral("11111111"), {}), std::nullopt);
    EXPECT_EQ(unset.transcript(), QStringList{"message|warning|NAV lekérdezés|Az online számla kapcsolat nincs "
                                              "beállítva (Beállítások › Online számla beállítások)."});
}

}  // namespace
}  // namespace kavina::nav
