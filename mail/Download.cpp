#include "mail/Download.h"

#include <curl/curl.h>

#include <memory>

#include "mail/CurlGlobal.h"

namespace kavina::mail {

namespace {

struct Sink {
    CURL* handle;
    const DownloadRequest* request;
    QByteArray* body;
    bool tooLarge = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* userdata) {
    auto* sink = static_cast<Sink*>(userdata);
    const qint64 n = static_cast<qint64>(size * count);
    if (sink->body->size() + n > sink->request->maxBytes) {
        sink->tooLarge = true;
        return 0;
    }
    sink->body->append(data, static_cast<qsizetype>(n));
    // An error page's bytes are not the download's progress.
    long status = 0;
    curl_easy_getinfo(sink->handle, CURLINFO_RESPONSE_CODE, &status);
    if (sink->request->progress && status == 200) sink->request->progress(n);
    return static_cast<size_t>(n);
}

}  // namespace

DownloadResult download(const DownloadRequest& request) {
    DownloadResult result;
    ensureCurlInitialised();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        result.error = QStringLiteral("A letöltés nem indítható.");
        return result;
    }
    CURL* h = curl.get();
    const QByteArray url = request.url.toUtf8();
    const QByteArray agent = request.userAgent.toUtf8();
    const QByteArray caFile = request.caFile.toLocal8Bit();
    Sink sink{h, &request, &result.body};
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headersGuard(headers, &curl_slist_free_all);
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    if (!caFile.isEmpty()) curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(request.timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
    if (code != CURLE_OK) {
        result.error = sink.tooLarge ? QStringLiteral("A letöltött adat túl nagy.")
                                     : QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(code));
        return result;
    }
    if (result.status != 200) {
        result.error = QStringLiteral("A kiszolgáló válasza: %1").arg(result.status);
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace kavina::mail
