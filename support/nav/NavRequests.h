#pragma once
// The requests of the exchange with the tax authority, as the XML texts sent. Each carries a
// new request id, the UTC time, the technical user with the password's hash and the signature,
// and the software block. Every text is valid against invoiceApi.xsd.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

#include "support/nav/NavSettings.h"

namespace kavina::nav {

// One invoice data of a manageInvoice request: its index (1..n, gapless), the operation and
// the invoice data XML (sent base64 encoded).
struct InvoiceOperation {
    int index = 0;
    QString operation;  // CREATE, MODIFY or STORNO
    QByteArray invoiceXml;
};

// At most this many invoice data travel in one manageInvoice request.
inline constexpr int kMaxOperationsPerRequest = 100;

struct BuiltRequest {
    QString operation;  // "tokenExchange", ...: the last part of the address
    QString requestId;
    QByteArray xml;
};

class NavRequests {
public:
    explicit NavRequests(NavSettings settings, QString programVersion = QStringLiteral("1.0"));

    // The time the next request carries; a clock set by the tests, the system clock otherwise.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    BuiltRequest tokenExchange() const;
    // Requires: 1..100 operations with indexes 1..n in order. Throws RuleError otherwise.
    BuiltRequest manageInvoice(const QString& exchangeToken, const std::vector<InvoiceOperation>& operations) const;
    BuiltRequest queryTransactionStatus(const QString& transactionId) const;
    // The transactions the authority received between the two moments (UTC), page from 1.
    BuiltRequest queryTransactionList(const QDateTime& from, const QDateTime& to, int page = 1) const;
    // Whether the authority holds an outbound invoice of this number.
    BuiltRequest queryInvoiceCheck(const QString& invoiceNumber) const;
    // The taxpayer of a tax number (its first 8 digits are sent).
    BuiltRequest queryTaxpayer(const QString& taxNumber) const;

    // A request id unique for this taxpayer: the time to the millisecond, a count and a random
    // part that sets workstations apart.
    static QString newRequestId(const QDateTime& now);

private:
    class Writer;
    NavSettings m_settings;
    QString m_version;
    std::function<QDateTime()> m_clock;
};

}  // namespace kavina::nav
