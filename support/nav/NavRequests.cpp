#include "support/nav/NavRequests.h"

#include <QRandomGenerator>
#include <QXmlStreamWriter>
#include <atomic>

#include "foundation/RuleError.h"
#include "support/nav/NavCrypto.h"

namespace kavina::nav {

namespace {

const QString kApi = QStringLiteral("http://schemas.nav.gov.hu/OSA/3.0/api");
const QString kCommon = QStringLiteral("http://schemas.nav.gov.hu/NTCA/1.0/common");

}  // namespace

// Writes one request: the root, the header, the user and the software; the caller adds the
// body between begin() and finish().
class NavRequests::Writer {
public:
    Writer(const NavRequests& owner, const QString& operation, const QString& root) : m_owner(owner), m_xml(&m_out) {
        m_request.operation = operation;
        m_root = root;
        const QDateTime now = owner.m_clock ? owner.m_clock() : QDateTime::currentDateTimeUtc();
        m_request.requestId = newRequestId(now);
        m_timestamp = requestTimestamp(now);
    }

    QXmlStreamWriter& begin(const std::vector<SignedOperation>& signedOps = {}) {
        const NavSettings& s = m_owner.m_settings;
        m_xml.setAutoFormatting(true);
        m_xml.writeStartDocument();
        m_xml.writeNamespace(kCommon, QStringLiteral("common"));
        m_xml.writeDefaultNamespace(kApi);
        m_xml.writeStartElement(kApi, m_root);
        m_xml.writeStartElement(kCommon, QStringLiteral("header"));
        m_xml.writeTextElement(kCommon, QStringLiteral("requestId"), m_request.requestId);
        m_xml.writeTextElement(kCommon, QStringLiteral("timestamp"), m_timestamp);
        m_xml.writeTextElement(kCommon, QStringLiteral("requestVersion"), QStringLiteral("3.0"));
        m_xml.writeTextElement(kCommon, QStringLiteral("headerVersion"), QStringLiteral("1.0"));
        m_xml.writeEndElement();
        m_xml.writeStartElement(kCommon, QStringLiteral("user"));
        m_xml.writeTextElement(kCommon, QStringLiteral("login"), s.login);
        m_xml.writeStartElement(kCommon, QStringLiteral("passwordHash"));
        m_xml.writeAttribute(QStringLiteral("cryptoType"), QStringLiteral("SHA-512"));
        m_xml.writeCharacters(s.passwordHash.toUpper());
        m_xml.writeEndElement();
        m_xml.writeTextElement(kCommon, QStringLiteral("taxNumber"), s.taxpayerId());
        m_xml.writeStartElement(kCommon, QStringLiteral("requestSignature"));
        m_xml.writeAttribute(QStringLiteral("cryptoType"), QStringLiteral("SHA3-512"));
        m_xml.writeCharacters(requestSignature(m_request.requestId, m_timestamp, s.signingKey, signedOps));
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeStartElement(kApi, QStringLiteral("software"));
        text(QStringLiteral("softwareId"), s.softwareId);
        text(QStringLiteral("softwareName"), QStringLiteral("Kavina"));
        text(QStringLiteral("softwareOperation"), QStringLiteral("LOCAL_SOFTWARE"));
        text(QStringLiteral("softwareMainVersion"), m_owner.m_version);
        text(QStringLiteral("softwareDevName"), QStringLiteral("Kavina"));
        text(QStringLiteral("softwareDevContact"), QStringLiteral("kavina@kavina.hu"));
        text(QStringLiteral("softwareDevCountryCode"), QStringLiteral("HU"));
        m_xml.writeEndElement();
        return m_xml;
    }

    void text(const QString& name, const QString& value) { m_xml.writeTextElement(kApi, name, value); }

    BuiltRequest finish() {
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        m_request.xml = m_out;
        return m_request;
    }

private:
    const NavRequests& m_owner;
    QByteArray m_out;
    QXmlStreamWriter m_xml;
    BuiltRequest m_request;
    QString m_root;
    QString m_timestamp;
};

NavRequests::NavRequests(NavSettings settings, QString programVersion)
    : m_settings(std::move(settings)), m_version(std::move(programVersion)) {}

QString NavRequests::newRequestId(const QDateTime& now) {
    static std::atomic<unsigned> counter{0};
    // One random part for the run of the program: the workstation's mark in the authority's
    // logs, and what keeps two workstations' ids apart within the same millisecond.
    static const QString workstation = [] {
        static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
        QString random;
        for (int i = 0; i < 6; ++i) random += alphabet.at(QRandomGenerator::global()->bounded(alphabet.size()));
        return random;
    }();
    return QStringLiteral("KV") + now.toUTC().toString(QStringLiteral("yyyyMMddHHmmsszzz")) +
           QStringLiteral("%1").arg(counter++ % 1000, 3, 10, QLatin1Char('0')) + workstation;
}

BuiltRequest NavRequests::tokenExchange() const {
    Writer w(*this, QStringLiteral("tokenExchange"), QStringLiteral("TokenExchangeRequest"));
    w.begin();
    return w.finish();
}

BuiltRequest NavRequests::manageInvoice(const QString& exchangeToken,
                                        const std::vector<InvoiceOperation>& operations) const {
    if (operations.empty() || operations.size() > static_cast<size_t>(kMaxOperationsPerRequest))
        throw RuleError(QStringLiteral("Egy beküldés 1–100 számlát tartalmazhat."));
    std::vector<SignedOperation> signedOps;
    std::vector<QByteArray> encoded;
    for (size_t i = 0; i < operations.size(); ++i) {
        if (operations[i].index != static_cast<int>(i) + 1)
            throw RuleError(QStringLiteral("A beküldés sorszámai nem folytonosak."));
        encoded.push_back(operations[i].invoiceXml.toBase64());
        signedOps.push_back({operations[i].operation, encoded.back()});
    }
    Writer w(*this, QStringLiteral("manageInvoice"), QStringLiteral("ManageInvoiceRequest"));
    QXmlStreamWriter& xml = w.begin(signedOps);
    w.text(QStringLiteral("exchangeToken"), exchangeToken);
    xml.writeStartElement(kApi, QStringLiteral("invoiceOperations"));
    w.text(QStringLiteral("compressedContent"), QStringLiteral("false"));
    for (size_t i = 0; i < operations.size(); ++i) {
        xml.writeStartElement(kApi, QStringLiteral("invoiceOperation"));
        w.text(QStringLiteral("index"), QString::number(operations[i].index));
        w.text(QStringLiteral("invoiceOperation"), operations[i].operation);
        w.text(QStringLiteral("invoiceData"), QString::fromLatin1(encoded[i]));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    return w.finish();
}

BuiltRequest NavRequests::queryTransactionStatus(const QString& transactionId) const {
    Writer w(*this, QStringLiteral("queryTransactionStatus"), QStringLiteral("QueryTransactionStatusRequest"));
    w.begin();
    w.text(QStringLiteral("transactionId"), transactionId);
    w.text(QStringLiteral("returnOriginalRequest"), QStringLiteral("false"));
    return w.finish();
}

BuiltRequest NavRequests::queryTransactionList(const QDateTime& from, const QDateTime& to, int page) const {
    Writer w(*this, QStringLiteral("queryTransactionList"), QStringLiteral("QueryTransactionListRequest"));
    QXmlStreamWriter& xml = w.begin();
    w.text(QStringLiteral("page"), QString::number(page));
    xml.writeStartElement(kApi, QStringLiteral("insDate"));
    w.text(QStringLiteral("dateTimeFrom"), requestTimestamp(from));
    w.text(QStringLiteral("dateTimeTo"), requestTimestamp(to));
    xml.writeEndElement();
    return w.finish();
}

BuiltRequest NavRequests::queryInvoiceCheck(const QString& invoiceNumber) const {
    Writer w(*this, QStringLiteral("queryInvoiceCheck"), QStringLiteral("QueryInvoiceCheckRequest"));
    QXmlStreamWriter& xml = w.begin();
    xml.writeStartElement(kApi, QStringLiteral("invoiceNumberQuery"));
    w.text(QStringLiteral("invoiceNumber"), invoiceNumber);
    w.text(QStringLiteral("invoiceDirection"), QStringLiteral("OUTBOUND"));
    xml.writeEndElement();
    return w.finish();
}

BuiltRequest NavRequests::queryTaxpayer(const QString& taxNumber) const {
    QString digits;
    for (const QChar c : taxNumber)
        if (c.isDigit()) digits += c;
    if (digits.size() < 8) throw RuleError(QStringLiteral("Az adószám első 8 számjegye szükséges a lekérdezéshez."));
    Writer w(*this, QStringLiteral("queryTaxpayer"), QStringLiteral("QueryTaxpayerRequest"));
    w.begin();
    w.text(QStringLiteral("taxNumber"), digits.left(8));
    return w.finish();
}

}  // namespace kavina::nav
