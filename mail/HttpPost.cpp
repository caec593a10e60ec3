#include "mail/HttpPost.h"

#include <curl/curl.h>

#include <memory>

#include "mail/CurlGlobal.h"

namespace kavina::mail {

namespace {

struct Sink {
    QByteArray* body;
    qint64 maxBytes;
    bool tooLarge = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* userdata) {
    auto* sink = static_cast<Sink*>(userdata);
    const qint64 n = static_cast<qint64>(size * count);
    if (sink->body->size() + n > sink->maxBytes) {
        sink->tooLarge = true;
        return 0;
    }
    sink->body->append(data, static_cast<qsizetype>(n));
    return static_cast<size_t>(n);
}

// Failures that happen before a byte of the request can have reached the server.
bool beforeSending(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT: return true;
        default: return false;
    }
}

}  // namespace

PostResult post(const PostRequest& request) {
    PostResult result;
    ensureCurlInitialised();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        result.error = QStringLiteral("A kapcsolat nem indítható.");
        return result;
    }
    CURL* h = curl.get();
    const QByteArray url = request.url.toUtf8();
    const QByteArray caFile = request.caFile.toLocal8Bit();
    const QByteArray contentType = "Content-Type: " + request.contentType.toUtf8() + "; charset=UTF-8";
    curl_slist* headers = curl_slist_append(nullptr, contentType.constData());
    headers = curl_slist_append(headers, "Accept: application/xml");
    headers = curl_slist_append(headers, "Expect:");
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headersGuard(headers, &curl_slist_free_all);
    Sink sink{&result.body, request.maxBytes};
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty()) curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.connectTimeoutSeconds));
    curl_easy_setopt(h, CURLOPT_TIMEOUT,
                     static_cast<long>(request.connectTimeoutSeconds + request.answerTimeoutSeconds));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
    if (code == CURLE_OK) {
        result.outcome = PostResult::Outcome::Answered;
        return result;
    }
    // A time-out before the secure connection stood (the server unreachable, packets dropped)
    // sent nothing either.
    curl_off_t secured = 0;
    curl_easy_getinfo(h, CURLINFO_APPCONNECT_TIME_T, &secured);
    result.outcome = beforeSending(code) || secured == 0 ? PostResult::Outcome::NotSent : PostResult::Outcome::NoAnswer;
    result.error = sink.tooLarge ? QStringLiteral("A válasz túl nagy.")
                                 : QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(code));
    return result;
}

}  // namespace kavina::mail
