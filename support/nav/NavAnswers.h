#pragma once
// The authority's answers read into plain values, and its codes put into Hungarian for the
// clerk. Elements are matched by namespace and local name: the authority may choose any
// prefixes.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kavina::nav {

// The result block every answer carries (funcCode OK / ERROR, errorCode, message), with the
// schema and technical validation messages of an error answer.
struct NavResult {
    bool ok = false;
    QString funcCode;
    QString errorCode;
    QString message;
    QStringList details;  // the validation messages, already in the clerk's words
    // The result for the clerk: the code's meaning in Hungarian and the authority's own text.
    QString text() const;
};

// Reads the result of any answer. An answer that is not XML or has no result block gives an
// ERROR result saying so.
NavResult readResult(const QByteArray& answer);

struct TokenAnswer {
    NavResult result;
    QByteArray encodedToken;
};
TokenAnswer readTokenExchange(const QByteArray& answer);

struct ManageAnswer {
    NavResult result;
    QString transactionId;
};
ManageAnswer readManageInvoice(const QByteArray& answer);

// One invoice of a transaction as the authority processed it.
struct ProcessingResult {
    int index = 0;
    QString status;  // RECEIVED, PROCESSING, SAVED, DONE, ABORTED
    bool hasWarnings = false;
    QStringList messages;  // technical and business validation messages, in the clerk's words
};
struct StatusAnswer {
    NavResult result;
    std::vector<ProcessingResult> processing;
};
StatusAnswer readTransactionStatus(const QByteArray& answer);

struct TransactionListAnswer {
    NavResult result;
    int currentPage = 0;
    int availablePage = 0;
    struct Transaction {
        QString transactionId;
        QDateTime insDate;
        QString user;  // insCusUser: the technical user that sent it
        QString requestStatus;
        int itemCount = 0;
    };
    std::vector<Transaction> transactions;
};
TransactionListAnswer readTransactionList(const QByteArray& answer);

struct InvoiceCheckAnswer {
    NavResult result;
    bool exists = false;
};
InvoiceCheckAnswer readInvoiceCheck(const QByteArray& answer);

struct TaxpayerAnswer {
    NavResult result;
    bool valid = false;  // taxpayerValidity: the number belongs to a live taxpayer
    QString name;        // the registered name
    QString shortName;   // the short name, when the authority gives one
    QString postalCode;
    QString city;
    QString street;  // street name, public place category, number and the rest, as one line
};
TaxpayerAnswer readTaxpayer(const QByteArray& answer);

// A validation or error code of the authority in the clerk's words, with the authority's own
// text after it when there is one.
QString hungarianMessage(const QString& code, const QString& authorityText);

}  // namespace kavina::nav
