#pragma once
// libcurl's process-wide set-up, done once before the first transfer.

namespace kavina::mail {

void ensureCurlInitialised();

}  // namespace kavina::mail
