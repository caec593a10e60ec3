#include "support/nav/NavStatus.h"

namespace kavina::nav {

NavStatusLine navStatus(const std::vector<QueuedInvoice>& entries, bool setUp, const QDateTime& now,
                        const QString& problem) {
    int waiting = 0;
    int aborted = 0;
    QDateTime oldest;
    for (const QueuedInvoice& e : entries) {
        if (e.state == QueueState::Aborted) ++aborted;
        if (e.isFinal()) continue;
        ++waiting;
        if (e.created.isValid() && (!oldest.isValid() || e.created < oldest)) oldest = e.created;
    }
    NavStatusLine line;
    if (!setUp) {
        line.level = StatusLevel::Warning;
        line.text = QStringLiteral("Online számla: a beküldés nincs beállítva");
        if (waiting > 0) line.text += QStringLiteral(", %1 számla vár").arg(waiting);
        return line;
    }
    if (waiting == 0) {
        line.text = QStringLiteral("Online számla: nincs beküldésre váró számla");
    } else {
        line.text = QStringLiteral("Online számla: %1 számla vár beküldésre").arg(waiting);
        const qint64 hours = oldest.isValid() ? oldest.secsTo(now) / 3600 : 0;
        if (hours >= 48) {
            line.level = StatusLevel::Alarm;
            line.text += QStringLiteral(" – a legrégebbi 48 óránál régebben! A kiesést be kell jelenteni a NAV-nak.");
        } else if (hours >= 24) {
            line.level = StatusLevel::Warning;
            line.text += QStringLiteral(" – a legrégebbi 24 óránál régebben!");
        }
    }
    if (aborted > 0) {
        line.text += QStringLiteral("; %1 visszautasított számla").arg(aborted);
        if (line.level == StatusLevel::Normal) line.level = StatusLevel::Warning;
    }
    if (!problem.isEmpty() && waiting > 0) line.text += QStringLiteral(" (%1)").arg(problem);
    return line;
}

}  // namespace kavina::nav
