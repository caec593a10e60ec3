#pragma once
// The moment the shell's logic asks for: the system clock in the program, a fixed one in
// tests (the purge of userlog.dbf depends on the time of day).

#include <QDateTime>
#include <functional>

namespace kavina::shell {

using Clock = std::function<QDateTime()>;

inline Clock systemClock() {
    return [] { return QDateTime::currentDateTime(); };
}

}  // namespace kavina::shell
