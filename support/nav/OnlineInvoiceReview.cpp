#include "support/nav/OnlineInvoiceReview.h"

#include <QRegularExpression>
#include <cassert>
#include <map>
#include <set>

#include "foundation/RuleError.h"

namespace kavina::nav {

namespace {

QString operationText(const QString& operation) {
    if (operation == QLatin1String("MODIFY")) return QStringLiteral("Módosítás");
    if (operation == QLatin1String("STORNO")) return QStringLiteral("Stornó");
    return QStringLiteral("Számla");
}

QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")) : QString();
}

bool passes(const QueuedInvoice& e, ReviewFilter filter) {
    switch (filter) {
        case ReviewFilter::All: return true;
        case ReviewFilter::Waiting: return !e.isFinal();
        case ReviewFilter::Warnings: return e.state == QueueState::DoneWithWarnings;
        case ReviewFilter::Aborted: return e.state == QueueState::Aborted;
    }
    return true;
}

}  // namespace

std::vector<QueuedInvoice> OnlineInvoiceReview::inPeriod(const QDate& from, const QDate& to) {
    std::vector<QueuedInvoice> out;
    for (QueuedInvoice& e : m_queue.all()) {
        const QDate day = e.created.toLocalTime().date();
        if (day >= from && day <= to) out.push_back(std::move(e));
    }
    return out;
}

std::vector<ReviewRow> OnlineInvoiceReview::rows(const QDate& from, const QDate& to, ReviewFilter filter) {
    std::vector<ReviewRow> out;
    for (const QueuedInvoice& e : inPeriod(from, to)) {
        if (!passes(e, filter)) continue;
        out.push_back({e.key, e.invoiceNumber, operationText(e.operation), e.state, stateText(e.state),
                       timeText(e.created), timeText(e.sent), e.transactionId, e.messages});
    }
    return out;
}

QStringList OnlineInvoiceReview::gaps(const QDate& from, const QDate& to) {
    QStringList numbers;
    for (const QueuedInvoice& e : inPeriod(from, to)) numbers << e.invoiceNumber;
    return gapsOf(numbers);
}

QStringList OnlineInvoiceReview::gapsOf(const QStringList& numbers) {
    static const QRegularExpression tail(QStringLiteral("^(.*?)(\\d+)$"));
    struct Range {
        int width = 0;
        std::set<qint64> present;
    };
    std::map<QString, Range> ranges;
    for (const QString& n : numbers) {
        const QRegularExpressionMatch m = tail.match(n.trimmed());
        if (!m.hasMatch()) continue;
        Range& r = ranges[m.captured(1)];
        r.width = std::max(r.width, static_cast<int>(m.capturedLength(2)));
        r.present.insert(m.captured(2).toLongLong());
    }
    QStringList out;
    for (const auto& [prefix, range] : ranges) {
        const auto text = [&, &prefix = prefix, &range = range](qint64 v) {
            return prefix + QStringLiteral("%1").arg(v, range.width, 10, QLatin1Char('0'));
        };
        qint64 previous = -1;
        for (const qint64 v : range.present) {
            if (previous >= 0 && v > previous + 1) {
                out << (v == previous + 2 ? text(previous + 1)
                                          : text(previous + 1) + QStringLiteral(" – ") + text(v - 1));
            }
            previous = v;
        }
    }
    return out;
}

bool OnlineInvoiceReview::resend(const QString& key) {
    for (const QueuedInvoice& e : m_queue.all()) {
        if (e.key != key) continue;
        if (e.state != QueueState::Aborted)
            throw RuleError(QStringLiteral("Csak a NAV által visszautasított számla küldhető újra."));
        if (!m_prompt.askYesNo(QStringLiteral("Újraküldés"),
                               QStringLiteral("Újra beküldi a(z) %1 számla adatait a NAV-nak?").arg(e.invoiceNumber)))
            return false;
        assert(m_rebuild);
        m_queue.requeue(e, m_rebuild(e));
        return true;
    }
    throw RuleError(QStringLiteral("A számla közben eltűnt a beküldendők közül."));
}

}  // namespace kavina::nav
