#pragma once
// Fetches one address into memory, always from the server (never a cached copy). Only a
// complete answer with status 200 counts: a shorter body than the server announced, a read
// error, a time-out or another status is a failure, and the bytes fetched are then worthless.

#include <QByteArray>
#include <QString>
#include <functional>

namespace kavina::mail {

struct DownloadRequest {
    QString url;
    QString userAgent;
    QString caFile;  // certificates to trust besides the system's; empty: the system's only
    int timeoutSeconds = 30;
    qint64 maxBytes = 256LL * 1024 * 1024;
    // Called with the bytes received by each read.
    std::function<void(qint64 bytes)> progress;
};

struct DownloadResult {
    bool ok = false;  // status 200 and every byte announced received
    long status = 0;  // the HTTP status, 0 when no answer came
    QByteArray body;
    QString error;  // why it failed, for the user; empty on success
};

DownloadResult download(const DownloadRequest& request);

}  // namespace kavina::mail
