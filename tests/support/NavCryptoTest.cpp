#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTimeZone>

#include "NavTestServer.h"
#include "foundation/RuleError.h"
#include "support/nav/NavAnswers.h"
#include "support/nav/NavCrypto.h"
#include "support/nav/NavRequests.h"
#include "support/nav/NavSchema.h"

namespace kavina::nav {
namespace {

const QString kData = QStringLiteral(KAVINA_NAV_TEST_DATA);
// The key the authority's sample requests are signed with.
const QString kSampleKey = QStringLiteral("ac-ac3a-7f661bff7d342N43CYX4U9FG");

QString capture(const QString& text, const QString& pattern) {
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

TEST(NavSignatureTest, ReproducesTheDocumentedExample) {
    const QString signature =
        requestSignature(QStringLiteral("TSTKFT1222564"), QStringLiteral("2017-12-30T18:25:45.000Z"),
                         QStringLiteral("ce-8f5e-215119fa7dd621DLMRHRLH2S"),
                         {{QStringLiteral("CREATE"), QByteArray("QWJjZDEyMzQ=")},
                          {QStringLiteral("MODIFY"), QByteArray("RGNiYTQzMjE=")}});
    EXPECT_EQ(signature, QStringLiteral("60BC80609EE3B8F42FE904200A49A1921A1DADA08D55319ACD40C59F626514B74EEA49011D37"
                                        "2600A10DBCF8199D590DA9C2841D987308F2D83DAE17C2470C42"));
}

TEST(NavSignatureTest, ReproducesEveryOfficialSampleRequest) {
    const QDir dir(kData + QStringLiteral("/samples/api"));
    const QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files);
    ASSERT_EQ(files.size(), 11);
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        std::vector<SignedOperation> ops;
        // Both invoice and annulment operations are signed in index order; the samples list
        // them so.
        static const QRegularExpression op(QStringLiteral(
            "<(?:invoiceOperation|annulmentOperation)>\\s*<index>\\d+</"
            "index>\\s*<(?:invoiceOperation|annulmentOperation)>"
            "(\\w+)</(?:invoiceOperation|annulmentOperation)>\\s*<(?:invoiceData|invoiceAnnulment)>([^<]*)<"));
        for (auto it = op.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            ops.push_back({m.captured(1), m.captured(2).toLatin1()});
        }
        const QString expected = capture(text, QStringLiteral("<common:requestSignature[^>]*>([0-9A-F]+)<"));
        ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
        EXPECT_EQ(requestSignature(capture(text, QStringLiteral("<common:requestId>([^<]+)<")),
                                   capture(text, QStringLiteral("<common:timestamp>([^<]+)<")), kSampleKey, ops),
                  expected)
            << name.toStdString();
        if (name == QLatin1String("manageInvoice.xml")) {
            ASSERT_EQ(ops.size(), 3u);
            EXPECT_EQ(sha3_512Hex(ops[0].operation.toUtf8() + ops[0].base64Data),
                      capture(text, QStringLiteral("<firstIndexHash>([0-9A-F]+)<")));
        }
    }
}

TEST(NavSignatureTest, SignsTheUtcSecondsWhateverTheOffsetWritten) {
    // Local time with an offset must sign the same instant as its UTC form.
    const QString key = QStringLiteral("k");
    EXPECT_EQ(requestSignature(QStringLiteral("R1"), QStringLiteral("2024-03-01T10:00:00.999+01:00"), key),
              requestSignature(QStringLiteral("R1"), QStringLiteral("2024-03-01T09:00:00.000Z"), key));
    EXPECT_THROW(requestSignature(QStringLiteral("R1"), QStringLiteral("tegnap"), key), RuleError);
    EXPECT_EQ(requestTimestamp(QDateTime(QDate(2024, 3, 1), QTime(10, 0, 0, 5), QTimeZone(3600))),
              QStringLiteral("2024-03-01T09:00:00.005Z"));
}

TEST(NavCryptoTest, HashesThePasswordUpperCase) {
    EXPECT_EQ(sha512Hex("abc"),
              QStringLiteral("DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A2192992A2"
                             "74FC1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F"));
}

TEST(NavCryptoTest, DecryptsTheExchangeTokenWithTheExchangeKey) {
    const QString key = QStringLiteral("0123456789ABCDEF");
    const QString token = QStringLiteral("b1aca173-d9e8-4561-9237-0511eed99eaa2P0ZHLXBRI2U");
    // Encrypted independently with the openssl command.
    const QByteArray fromOpenssl(
        "TkUMTE9kjV7Oc0QzWaNq94Kg2wDqA2jnZ8MGzABeRJXLAfU9xil6kCrifurShbdLNK8zbJ8DGzVWc4xj5h6i9g==");
    EXPECT_EQ(decodeExchangeToken(fromOpenssl, key), token);
    EXPECT_EQ(aes128EcbEncrypt(token.toUtf8(), key.toUtf8()).toBase64(), fromOpenssl);
    // The signing key in place of the exchange key is a common mistake: it must fail loudly.
    EXPECT_THROW(decodeExchangeToken(fromOpenssl, QStringLiteral("ce-8f5e-215119fa7dd621DLMRHRLH2S")), RuleError);
    EXPECT_THROW(decodeExchangeToken(fromOpenssl, QStringLiteral("FEDCBA9876543210")), RuleError);
    EXPECT_THROW(decodeExchangeToken("nem base64!", key), RuleError);
}

}  // namespace
}  // namespace kavina::nav

namespace kavina::nav {
namespace {

QByteArray sampleInvoice() {
    QFile f(kData + QStringLiteral("/samples/data/Belfoldi termekertekesites.xml"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(NavRequestTest, EveryRequestIsValidAndSignedOverWhatItCarries) {
    const NavSchema schema(kData + QStringLiteral("/xsd/invoiceApi.xsd"));
    NavRequests requests(knownSettings());
    const QDateTime fixed(QDate(2026, 1, 2), QTime(23, 30, 5, 120), QTimeZone(3600));
    requests.setClock([&] { return fixed; });
    const QByteArray invoice = sampleInvoice();
    ASSERT_FALSE(invoice.isEmpty());
    const std::vector<BuiltRequest> built{
        requests.tokenExchange(),
        requests.manageInvoice(QStringLiteral("tok"),
                               {{1, QStringLiteral("CREATE"), invoice}, {2, QStringLiteral("MODIFY"), invoice}}),
        requests.queryTransactionStatus(QStringLiteral("4QNFTZQ4HWOAUVHE")),
        requests.queryTransactionList(fixed.addSecs(-60), fixed),
        requests.queryInvoiceCheck(QStringLiteral("2026/000001")),
        requests.queryTaxpayer(QStringLiteral("12345678-1-42"))};
    for (const BuiltRequest& r : built) {
        EXPECT_EQ(schema.problems(r.xml), QStringList()) << r.operation.toStdString() << "\n" << r.xml.toStdString();
        const QString text = QString::fromUtf8(r.xml);
        // The header's time is UTC, and the signature covers its seconds only.
        EXPECT_EQ(capture(text, QStringLiteral("<common:timestamp>([^<]+)<")),
                  QStringLiteral("2026-01-02T22:30:05.120Z"));
        EXPECT_EQ(capture(text, QStringLiteral("<common:taxNumber>([^<]+)<")), QStringLiteral("12345678"));
        std::vector<SignedOperation> ops;
        if (r.operation == QLatin1String("manageInvoice"))
            ops = {{QStringLiteral("CREATE"), invoice.toBase64()}, {QStringLiteral("MODIFY"), invoice.toBase64()}};
        EXPECT_EQ(
            capture(text, QStringLiteral("<common:requestSignature[^>]*>([^<]+)<")),
            requestSignature(r.requestId, QStringLiteral("2026-01-02T22:30:05.000Z"), knownSettings().signingKey, ops));
    }
    EXPECT_NE(built[0].requestId, built[1].requestId);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[+a-zA-Z0-9_]{1,30}$")).match(built[0].requestId).hasMatch());
}

TEST(NavRequestTest, ManageInvoiceTakesAtMostOneHundredGaplessIndexes) {
    NavRequests requests(knownSettings());
    const QByteArray invoice = sampleInvoice();
    std::vector<InvoiceOperation> ops;
    for (int i = 1; i <= kMaxOperationsPerRequest; ++i) ops.push_back({i, QStringLiteral("CREATE"), invoice});
    EXPECT_NO_THROW(requests.manageInvoice(QStringLiteral("t"), ops));
    ops.push_back({101, QStringLiteral("CREATE"), invoice});
    EXPECT_THROW(requests.manageInvoice(QStringLiteral("t"), ops), RuleError);
    EXPECT_THROW(requests.manageInvoice(QStringLiteral("t"), {{1, QStringLiteral("CREATE"), invoice},
                                                              {3, QStringLiteral("CREATE"), invoice}}),
                 RuleError);
    EXPECT_THROW(requests.manageInvoice(QStringLiteral("t"), {}), RuleError);
}

TEST(NavAnswerTest, ReadsResultsWhateverThePrefixes) {
    const QByteArray status = R"(<?xml version="1.0"?>
<x:QueryTransactionStatusResponse xmlns:x="http://schemas.nav.gov.hu/OSA/3.0/api" xmlns:c="http://schemas.nav.gov.hu/NTCA/1.0/common">
 <c:result><c:funcCode>OK</c:funcCode></c:result>
 <x:processingResults>
  <x:processingResult><x:index>1</x:index><x:invoiceStatus>DONE</x:invoiceStatus>
   <x:businessValidationMessages><x:validationResultCode>WARN</x:validationResultCode>
    <x:validationErrorCode>VAT_RATE_MISMATCH</x:validationErrorCode><x:message>Eltérő adómérték</x:message>
   </x:businessValidationMessages></x:processingResult>
  <x:processingResult><x:index>2</x:index><x:invoiceStatus>ABORTED</x:invoiceStatus>
   <x:businessValidationMessages><x:validationResultCode>ERROR</x:validationResultCode>
    <x:validationErrorCode>INVOICE_NUMBER_NOT_UNIQUE</x:validationErrorCode></x:businessValidationMessages>
  </x:processingResult>
 </x:processingResults>
 <other:processingResult xmlns:other="urn:mas"><other:index>9</other:index></other:processingResult>
</x:QueryTransactionStatusResponse>)";
    const StatusAnswer a = readTransactionStatus(status);
    ASSERT_TRUE(a.result.ok);
    ASSERT_EQ(a.processing.size(), 2u);
    EXPECT_EQ(a.processing[0].status, QStringLiteral("DONE"));
    EXPECT_TRUE(a.processing[0].hasWarnings);
    EXPECT_EQ(a.processing[0].messages,
              QStringList{QStringLiteral("Figyelmeztetés: A NAV hibakódja: VAT_RATE_MISMATCH. (Eltérő adómérték)")});
    EXPECT_FALSE(a.processing[1].hasWarnings);
    EXPECT_EQ(a.processing[1].messages,
              QStringList{QStringLiteral("Hiba: Ez a számlaszám már szerepel a NAV rendszerében.")});

    const NavResult error = readResult(R"(<GeneralErrorResponse xmlns="http://schemas.nav.gov.hu/OSA/3.0/api"
 xmlns:common="http://schemas.nav.gov.hu/NTCA/1.0/common"><common:header/><common:result>
 <common:funcCode>ERROR</common:funcCode><common:errorCode>INVALID_REQUEST_SIGNATURE</common:errorCode>
 <common:message>Helytelen kérés aláírás</common:message></common:result></GeneralErrorResponse>)");
    EXPECT_FALSE(error.ok);
    EXPECT_EQ(error.text(),
              QStringLiteral("Hibás a kérés aláírása: ellenőrizze az aláírókulcsot. (Helytelen kérés aláírás)"));
    // A proxy's error page is not mistaken for an answer.
    EXPECT_FALSE(readResult("<html><body>502</body></html>").ok);
    EXPECT_FALSE(readResult("").ok);
}

}  // namespace
}  // namespace kavina::nav
