#include "mail/CurlGlobal.h"

#include <curl/curl.h>

#include <mutex>

namespace kavina::mail {

void ensureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace kavina::mail
