#pragma once
// Posts one request body to an address and reads the whole answer, for web services that answer
// every request with a document (the tax authority's invoice service). TLS certificates are
// always verified; plain HTTP is refused.

#include <QByteArray>
#include <QString>

namespace kavina::mail {

struct PostRequest {
    QString url;  // https:// only
    QByteArray body;
    QString contentType = QStringLiteral("application/xml");
    QString caFile;  // certificates to trust besides the system's; empty: the system's only
    int connectTimeoutSeconds = 5;
    int answerTimeoutSeconds = 60;  // from sending to the end of the answer
    qint64 maxBytes = 64LL * 1024 * 1024;
};

struct PostResult {
    // How far the exchange got: the difference matters to a caller that must not send twice.
    enum class Outcome {
        Answered,  // an answer came (any status)
        NotSent,   // no connection: the server cannot have seen the request
        NoAnswer,  // sent (or possibly sent) but no complete answer in time: it may have been received
    };
    Outcome outcome = Outcome::NotSent;
    long status = 0;
    QByteArray body;
    QString error;  // why it failed, for the user; empty when answered
};

PostResult post(const PostRequest& request);

}  // namespace kavina::mail
