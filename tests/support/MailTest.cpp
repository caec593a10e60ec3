#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>

#include "TestServers.h"
#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "mail/SmtpSender.h"
#include "support/errorreport/ErrorMail.h"
#include "support/update/Feedback.h"

namespace kavina::support {
namespace {

using namespace std::string_literals;

const QString kMailbox = QStringLiteral("kavina@lumetra.test");
const QString kPassword = QStringLiteral("Tit0k!7");

class MailTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    QString folder() const { return QString::fromStdString(dir.path()); }
    QString received() const { return QDir(folder()).filePath("received"); }
    CompanyHeader header{"Kovács", "és Társa Bt.", "1111 Budapest, Fő u. 1.", "06-1-234-5678", "iroda@kovacs.test"};
    QDateTime now{QDate(2007, 3, 14), QTime(15, 30, 5)};

    void SetUp() override { QDir().mkpath(received()); }
    SupportSettings settings(int port, const QString& password = kPassword) const {
        SupportSettings s;
        s.mailbox = kMailbox;
        s.smtp = {.host = "127.0.0.1", .port = port, .user = kMailbox, .password = password, .timeoutSeconds = 5};
        return s;
    }
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        const QString path = QDir(folder()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QString sha256(const QByteArray& bytes) {
        return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
};

TEST_F(MailTest, ErrorReportReachesTheServerWithLoginAndBothAttachments) {
    TestServer server(QStringLiteral("smtp_server.py"), {received(), kMailbox, kPassword});
    QByteArray report = "<html>\r\nHibajelentés\r\n";
    report += QByteArray(5000, 'r');
    QByteArray shot(7000, '\0');
    for (int i = 0; i < shot.size(); ++i) shot[i] = static_cast<char>(i * 7);
    const QString reportPath = writeFile("err070314153005.htm", report);
    const QString shotPath = writeFile("err070314153005.jpg", shot);
    ScriptedPrompt prompt;
    const SupportSettings s = settings(server.port());
    ASSERT_TRUE(mailErrorReport(s, errorReportMail(s, header, now, reportPath, shotPath), prompt,
                                [](const auto& account, const auto& message) { mail::sendMail(account, message); }));
    EXPECT_TRUE(prompt.entries().empty());
    const QJsonObject mail = receivedMail(received(), 1);
    EXPECT_EQ(mail["auth_mechanisms"].toArray(), QJsonArray{"LOGIN"});
    EXPECT_EQ(mail["mail_from"].toString(), kMailbox);
    EXPECT_EQ(mail["rcpt_tos"].toArray(), QJsonArray{kMailbox});
    EXPECT_EQ(mail["subject"].toString(), "Kavina hibajelentés");
    EXPECT_EQ(mail["from"].toString(), "Kavina <" + kMailbox + ">");
    EXPECT_TRUE(mail["has_date"].toBool());
    EXPECT_TRUE(mail["has_message_id"].toBool());
    EXPECT_FALSE(mail["tls"].toBool());  // this server offers no STARTTLS
    EXPECT_EQ(mail["body"].toString().toStdString(),
              "Kavina hibajelentés!\n=====================\n"
              "Felhasználó:Kovács és Társa Bt.\nCím:1111 Budapest, Fő u. 1.\n"
              "Telefon:06-1-234-5678\nE-mail:iroda@kovacs.test\n\n"
              "Dátum, idő:2007.03.14, 15:30:05"s);
    const QJsonArray attachments = mail["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(attachments[0]["filename"].toString(), "err070314153005.htm");
    EXPECT_EQ(attachments[0]["type"].toString(), "text/html");
    EXPECT_EQ(attachments[0]["sha256"].toString(), sha256(report));
    EXPECT_EQ(attachments[1]["filename"].toString(), "err070314153005.jpg");
    EXPECT_EQ(attachments[1]["type"].toString(), "image/jpeg");
    EXPECT_EQ(attachments[1]["size"].toInt(), shot.size());
    EXPECT_EQ(attachments[1]["sha256"].toString(), sha256(shot));
}

TEST_F(MailTest, StartTlsIsUsedWhenTheServerOffersIt) {
    const QString cert = QDir(folder()).filePath("cert.pem");
    const QString key = QDir(folder()).filePath("key.pem");
    ASSERT_TRUE(makeCertificate(cert, key));
    TestServer server(QStringLiteral("smtp_server.py"), {received(), kMailbox, kPassword, cert, key});
    SupportSettings s = settings(server.port());
    s.smtp.caFile = cert;
    mail::sendMail(s.smtp, errorReportMail(s, header, now, {}, {}));
    const QJsonObject mail = receivedMail(received(), 1);
    EXPECT_TRUE(mail["tls"].toBool());
    EXPECT_EQ(mail["auth_mechanisms"].toArray(), QJsonArray{"LOGIN"});
    // A server whose certificate is not trusted gets neither the password nor the report.
    SupportSettings untrusted = settings(server.port());
    EXPECT_THROW(mail::sendMail(untrusted.smtp, errorReportMail(untrusted, header, now, {}, {})), mail::MailError);
    EXPECT_FALSE(QFile::exists(QDir(received()).filePath("2.json")));
}

TEST_F(MailTest, RefusedLoginAndMissingServerAreToldApartAndNothingIsThrown) {
    const auto send = [](const auto& account, const auto& message) { mail::sendMail(account, message); };
    const QString reportPath = writeFile("err.htm", "x");
    {
        TestServer server(QStringLiteral("smtp_server.py"), {received(), kMailbox, kPassword});
        ScriptedPrompt prompt;
        const SupportSettings s = settings(server.port(), "rossz");
        EXPECT_FALSE(mailErrorReport(s, errorReportMail(s, header, now, reportPath, {}), prompt, send));
        EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|A hibajelentés küldése sikertelen!"});
        EXPECT_FALSE(QFile::exists(QDir(received()).filePath("1.json")));
    }
    ScriptedPrompt prompt;
    const SupportSettings s = settings(1);  // nothing listens on port 1
    EXPECT_FALSE(mailErrorReport(s, errorReportMail(s, header, now, reportPath, {}), prompt, send));
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|Nincs elérhető internet kapcsolat, ezért a hibajelentés küldése "
                          "sikertelen!"});
}

TEST_F(MailTest, ServerThatNeverAnswersIsGivenUpAfterTheTimeout) {
    TestServer silent(QStringLiteral("smtp_server.py"), {"--silent"});
    SupportSettings s = settings(silent.port());
    s.smtp.timeoutSeconds = 2;
    ScriptedPrompt prompt;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(mailErrorReport(s, errorReportMail(s, header, now, {}, {}), prompt,
                                 [](const auto& account, const auto& message) { mail::sendMail(account, message); }));
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|Nincs elérhető internet kapcsolat, ezért a hibajelentés küldése "
                          "sikertelen!"});
}

TEST_F(MailTest, FeedbackCarriesTheClerksFieldsAndMessageLines) {
    TestServer server(QStringLiteral("smtp_server.py"), {received(), kMailbox, kPassword});
    FeedbackInput input = initialFeedback(header);
    EXPECT_EQ(input.name, "Kovács és Társa Bt.");
    EXPECT_EQ(input.email, "iroda@kovacs.test");
    EXPECT_EQ(input.phone, "06-1-234-5678");
    EXPECT_TRUE(input.message.isEmpty());
    input.phone = "+36 30 111 2222";
    input.message = "Első sor ű\nMásodik sor <b>";
    const SupportSettings s = settings(server.port());
    sendFeedback(s, feedbackMail(s, header, input, now),
                 [](const auto& account, const auto& message) { mail::sendMail(account, message); });
    const QJsonObject mail = receivedMail(received(), 1);
    EXPECT_EQ(mail["subject"].toString(), "Kavina üzenetküldés");
    EXPECT_TRUE(mail["attachments"].toArray().isEmpty());
    EXPECT_EQ(mail["body"].toString().toStdString(),
              "Kavina üzenetküldés\n====================\n"
              "Felhasználó:Kovács és Társa Bt.\nCím:1111 Budapest, Fő u. 1.\n"
              "Telefon:06-1-234-5678\nE-mail:iroda@kovacs.test\n\n"
              "Megadott felhasználó:Kovács és Társa Bt.\nMegadott telefon:+36 30 111 2222\n"
              "Megadott e-mail:iroda@kovacs.test\n\nDátum, idő:2007.03.14, 15:30:05\n\n"
              "Üzenet:\nElső sor ű\nMásodik sor <b>"s);
    // Sending without a server is the caller's error to report.
    EXPECT_THROW(sendFeedback(settings(1), feedbackMail(s, header, input, now),
                              [](const auto& account, const auto& message) { mail::sendMail(account, message); }),
                 mail::MailError);
}

}  // namespace
}  // namespace kavina::support
