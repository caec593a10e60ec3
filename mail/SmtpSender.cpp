#include "mail/SmtpSender.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>

#include "mail/CurlGlobal.h"

namespace kavina::mail {

namespace {

struct Upload {
    QByteArray data;
    qsizetype sent = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* userdata) {
    auto* upload = static_cast<Upload*>(userdata);
    const qsizetype room = static_cast<qsizetype>(size * count);
    const qsizetype n = std::min(room, upload->data.size() - upload->sent);
    std::memcpy(buffer, upload->data.constData() + upload->sent, static_cast<size_t>(n));
    upload->sent += n;
    return static_cast<size_t>(n);
}

bool isConnectionFailure(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_URL_MALFORMAT: return true;
        default: return false;
    }
}

}  // namespace

void sendMail(const SmtpAccount& account, const MailMessage& message, const QDateTime& now) {
    Upload upload{composeMime(message, now)};
    if (account.host.isEmpty())
        throw MailError(MailError::Kind::NoConnection, QStringLiteral("Nincs megadva levelezőkiszolgáló."));
    ensureCurlInitialised();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) throw MailError(MailError::Kind::NoConnection, QStringLiteral("A levelezés nem indítható."));
    const QByteArray url = (account.implicitTls ? QByteArrayLiteral("smtps://") : QByteArrayLiteral("smtp://")) +
                           account.host.toUtf8() + ':' + QByteArray::number(account.port);
    const QByteArray user = account.user.toUtf8();
    const QByteArray password = account.password.toUtf8();
    const QByteArray from = '<' + message.fromAddress.toUtf8() + '>';
    const QByteArray to = '<' + message.to.toUtf8() + '>';
    curl_slist* recipients = curl_slist_append(nullptr, to.constData());
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipientsGuard(recipients, &curl_slist_free_all);
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    const QByteArray caFile = account.caFile.toLocal8Bit();
    if (!caFile.isEmpty()) curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, &readUpload);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(upload.data.size()));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(account.timeoutSeconds));
    // A server that stops answering: less than a byte a second for the whole time-out.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(account.timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(account.timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode code = curl_easy_perform(h);
    if (code == CURLE_OK) return;
    const QString detail = QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(code));
    throw MailError(isConnectionFailure(code) ? MailError::Kind::NoConnection : MailError::Kind::Refused,
                    QStringLiteral("A levél küldése sikertelen: ") + detail);
}

}  // namespace kavina::mail
