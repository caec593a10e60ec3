#include "support/nav/NavExchange.h"

namespace kavina::nav {

ExchangeResult exchange(const NavSettings& settings, const BuiltRequest& request, int connectTimeoutSeconds,
                        int answerTimeoutSeconds) {
    mail::PostRequest post;
    post.url = settings.operationUrl(request.operation);
    post.body = request.xml;
    post.caFile = settings.caFile;
    post.connectTimeoutSeconds = connectTimeoutSeconds;
    post.answerTimeoutSeconds = answerTimeoutSeconds;
    const mail::PostResult result = mail::post(post);
    return {result.outcome, result.body, result.error};
}

}  // namespace kavina::nav
