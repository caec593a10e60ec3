#include "support/nav/NavSender.h"

#include <QSet>
#include <QThread>
#include <map>

#include "foundation/RuleError.h"
#include "support/nav/NavAnswers.h"
#include "support/nav/NavCrypto.h"
#include "support/nav/NavExchange.h"
#include "support/nav/NavRequests.h"
#include "support/nav/SenderLock.h"

namespace kavina::nav {

namespace {

// The round ends: the authority could not be reached, or answered with a fault of its own.
struct OfflineStop {
    QString message;
};
// The round ends: the authority refused the request itself; sending again will not help until
// the settings are corrected.
struct RefusedStop {
    QString message;
};
// A manageInvoice got no answer in time.
struct Unanswered {
    QString message;
};

// Errors of the authority that pass by themselves: the round is tried again later.
bool temporary(const QString& code) {
    return code == QLatin1String("OPERATION_FAILED") || code == QLatin1String("MAINTENANCE_MODE") || code.isEmpty();
}

// How far back and ahead of a send the authority's list is searched for it: the two clocks
// may differ by some minutes.
constexpr qint64 kLookupMarginSeconds = 15 * 60;

}  // namespace

class NavSender::Round {
public:
    explicit Round(NavSender& owner) : m_o(owner), m_requests(owner.m_settings, owner.m_options.programVersion) {}

    RoundReport run() {
        RoundReport report;
        try {
            settleUnanswered();
            followAllSent();
            sendReady(report);
        } catch (const OfflineStop& s) {
            return {RoundOutcome::Offline, s.message, report.sent};
        } catch (const RefusedStop& s) {
            return {RoundOutcome::Refused, s.message, report.sent};
        }
        for (const QueuedInvoice& e : m_o.m_queue.all())
            if (e.state == QueueState::Sent) report.outcome = RoundOutcome::Processing;
        return report;
    }

private:
    bool stopped() const { return m_o.m_options.stop && m_o.m_options.stop->load(); }

    // Sends one request and returns the answer's text; throws OfflineStop when it did not
    // arrive, Unanswered when it was sent but no answer came in time.
    QByteArray exchange(const BuiltRequest& request) {
        const ExchangeResult result = nav::exchange(m_o.m_settings, request, m_o.m_options.connectTimeoutSeconds,
                                                    m_o.m_options.answerTimeoutSeconds);
        switch (result.outcome) {
            case mail::PostResult::Outcome::NotSent:
                throw OfflineStop{QStringLiteral("A NAV szervere nem érhető el: %1").arg(result.error)};
            case mail::PostResult::Outcome::NoAnswer:
                throw Unanswered{QStringLiteral("A NAV szervere nem válaszolt időben: %1").arg(result.error)};
            case mail::PostResult::Outcome::Answered: break;
        }
        return result.answer;
    }

    // The answer of a question (not a send): no answer is as good as offline.
    QByteArray ask(const BuiltRequest& request) {
        try {
            return exchange(request);
        } catch (const Unanswered& u) {
            throw OfflineStop{u.message};
        }
    }

    // Stops the round on an error answer.
    void require(const NavResult& result) {
        if (result.ok) return;
        if (temporary(result.errorCode)) throw OfflineStop{result.text()};
        throw RefusedStop{result.text()};
    }

    QString token() {
        const TokenAnswer answer = readTokenExchange(ask(m_requests.tokenExchange()));
        require(answer.result);
        try {
            return decodeExchangeToken(answer.encodedToken, m_o.m_settings.exchangeKey);
        } catch (const RuleError& e) {
            throw RefusedStop{e.message()};
        }
    }

    void sendReady(RoundReport& report) {
        while (!stopped()) {
            std::vector<QueuedInvoice> batch = ready();
            if (batch.empty()) return;
            if (batch.size() > static_cast<size_t>(kMaxOperationsPerRequest)) batch.resize(kMaxOperationsPerRequest);
            std::vector<InvoiceOperation> ops;
            for (size_t i = 0; i < batch.size(); ++i)
                ops.push_back({static_cast<int>(i) + 1, batch[i].operation, batch[i].invoiceXml});
            const BuiltRequest request = m_requests.manageInvoice(token(), ops);
            const QDateTime sentAt = QDateTime::currentDateTimeUtc();
            // Marked before the request leaves: when this workstation dies while it is on its
            // way, the next sender finds the entries sent without an answer and looks them up
            // instead of sending them a second time.
            markSent(batch, QString(), sentAt);
            QByteArray answer;
            try {
                answer = exchange(request);
            } catch (const Unanswered& u) {
                report.sent += static_cast<int>(batch.size());
                if (!settleUnanswered()) throw OfflineStop{u.message};
                followAllSent();
                continue;
            } catch (const OfflineStop&) {
                // The request never left: the entries wait as before.
                backToWaiting(batch, QString());
                throw;
            }
            const ManageAnswer manage = readManageInvoice(answer);
            if (!manage.result.ok) {
                // Nothing of a refused request was received: the entries wait, with the reason
                // shown in the window.
                backToWaiting(batch, manage.result.text());
                require(manage.result);
            }
            markSent(batch, manage.transactionId, sentAt);
            report.sent += static_cast<int>(batch.size());
            follow(manage.transactionId);
        }
    }

    void markSent(std::vector<QueuedInvoice>& batch, const QString& transactionId, const QDateTime& at) {
        for (size_t i = 0; i < batch.size(); ++i) {
            QueuedInvoice& e = batch[i];
            e.state = QueueState::Sent;
            e.transactionId = transactionId;
            e.batchIndex = static_cast<int>(i) + 1;
            e.sent = at;
            e.messages.clear();
            m_o.m_queue.update(e);
        }
    }

    void backToWaiting(std::vector<QueuedInvoice>& batch, const QString& messages) {
        for (QueuedInvoice& e : batch) {
            e.state = QueueState::Waiting;
            e.transactionId.clear();
            e.batchIndex = 0;
            e.sent = QDateTime();
            e.messages = messages;
            m_o.m_queue.update(e);
        }
    }

    // The waiting entries that may go now, oldest first.
    std::vector<QueuedInvoice> ready() {
        const std::vector<QueuedInvoice> entries = m_o.m_queue.all();
        std::vector<QueuedInvoice> out;
        for (const QueuedInvoice& e : entries) {
            if (e.state != QueueState::Waiting) continue;
            if (e.operation == QLatin1String("CREATE") || baseSettled(entries, e)) out.push_back(e);
        }
        return out;
    }

    static bool baseSettled(const std::vector<QueuedInvoice>& entries, const QueuedInvoice& change) {
        for (const QueuedInvoice& other : entries) {
            if (other.key == change.key) continue;
            const bool base = other.invoiceNumber == change.baseNumber && other.operation == QLatin1String("CREATE");
            const bool earlier = other.baseNumber == change.baseNumber && other.operation != QLatin1String("CREATE") &&
                                 other.modificationIndex < change.modificationIndex;
            if ((base || earlier) && !other.isDone()) return false;
        }
        return true;
    }

    // Asks the status of every transaction that has entries still sent.
    void followAllSent() {
        QSet<QString> transactions;
        for (const QueuedInvoice& e : m_o.m_queue.all())
            if (e.state == QueueState::Sent && !e.transactionId.isEmpty()) transactions.insert(e.transactionId);
        for (const QString& t : transactions) {
            if (stopped()) return;
            follow(t);
        }
    }

    // Asks the status of one transaction until its entries are settled or patience runs out.
    void follow(const QString& transactionId) {
        for (int poll = 0; poll < m_o.m_options.statusPolls && !stopped(); ++poll) {
            pause();
            const StatusAnswer status = readTransactionStatus(ask(m_requests.queryTransactionStatus(transactionId)));
            require(status.result);
            if (apply(transactionId, status)) return;
        }
    }

    void pause() {
        const int ms = m_o.m_options.pollPauseMilliseconds;
        if (m_o.m_options.sleep)
            m_o.m_options.sleep(ms);
        else
            QThread::msleep(static_cast<unsigned long>(ms));
    }

    // Stores the decided entries of the transaction; true when none is left undecided.
    bool apply(const QString& transactionId, const StatusAnswer& status) {
        bool settled = true;
        for (QueuedInvoice e : m_o.m_queue.all()) {
            if (e.state != QueueState::Sent || e.transactionId != transactionId) continue;
            const ProcessingResult* result = nullptr;
            for (const ProcessingResult& r : status.processing)
                if (r.index == e.batchIndex) result = &r;
            if (!result || (result->status != QLatin1String("DONE") && result->status != QLatin1String("ABORTED"))) {
                settled = false;
                continue;
            }
            e.state = result->status == QLatin1String("ABORTED") ? QueueState::Aborted
                      : result->hasWarnings                      ? QueueState::DoneWithWarnings
                                                                 : QueueState::Done;
            e.messages = result->messages.join(QLatin1Char('\n'));
            e.finished = QDateTime::currentDateTimeUtc();
            m_o.m_queue.update(e);
        }
        return settled;
    }

    // Finds out what became of the sends that got no answer. True when every one of them is
    // known now: adopted under its transaction, or found at the authority; false when some
    // went back to waiting because the authority has none of them.
    bool settleUnanswered() {
        std::map<qint64, std::vector<QueuedInvoice>> groups;
        QSet<QString> known;
        for (const QueuedInvoice& e : m_o.m_queue.all()) {
            if (!e.transactionId.isEmpty()) known.insert(e.transactionId);
            if (e.state == QueueState::Sent && e.transactionId.isEmpty())
                groups[e.sent.toMSecsSinceEpoch()].push_back(e);
        }
        bool allKnown = true;
        for (auto& [at, group] : groups) {
            const QString transactionId = findTransaction(group.front().sent, group.size(), known);
            if (!transactionId.isEmpty()) {
                known.insert(transactionId);
                for (QueuedInvoice& e : group) {
                    e.transactionId = transactionId;
                    m_o.m_queue.update(e);
                }
                continue;
            }
            for (QueuedInvoice& e : group) {
                const InvoiceCheckAnswer check = readInvoiceCheck(ask(m_requests.queryInvoiceCheck(e.invoiceNumber)));
                require(check.result);
                if (check.exists) {
                    e.state = QueueState::Done;
                    e.finished = QDateTime::currentDateTimeUtc();
                    e.messages = QStringLiteral("A beküldésre nem jött válasz, de a NAV nyilvántartja a számlát.");
                } else {
                    e.state = QueueState::Waiting;
                    e.transactionId.clear();
                    e.batchIndex = 0;
                    e.sent = QDateTime();
                    allKnown = false;
                }
                m_o.m_queue.update(e);
            }
        }
        return allKnown;
    }

    // The transaction the authority recorded for a send of this many invoices at this time,
    // other than those the queue knows; empty when there is none. Only the lock's holder
    // sends under this technical user, so an unknown transaction of theirs from that moment is
    // this send.
    QString findTransaction(const QDateTime& sentAt, size_t count, const QSet<QString>& known) {
        const QDateTime from = sentAt.addSecs(-kLookupMarginSeconds);
        const QDateTime to = QDateTime::currentDateTimeUtc().addSecs(kLookupMarginSeconds);
        QString best;
        qint64 bestDistance = 0;
        for (int page = 1;; ++page) {
            const TransactionListAnswer list =
                readTransactionList(ask(m_requests.queryTransactionList(from, to, page)));
            require(list.result);
            for (const auto& t : list.transactions) {
                // Another program of the business may report under its own technical user.
                if (known.contains(t.transactionId) || (!t.user.isEmpty() && t.user != m_o.m_settings.login)) continue;
                if (t.itemCount != 0 && t.itemCount != static_cast<int>(count)) continue;
                const qint64 distance = std::abs(t.insDate.secsTo(sentAt));
                if (best.isEmpty() || distance < bestDistance) {
                    best = t.transactionId;
                    bestDistance = distance;
                }
            }
            if (page >= list.availablePage) break;
        }
        return best;
    }

    NavSender& m_o;
    NavRequests m_requests;
};

NavSender::NavSender(NavSettings settings, InvoiceQueue& queue, QString dataFolder, SenderOptions options)
    : m_settings(std::move(settings)),
      m_queue(queue),
      m_dataFolder(std::move(dataFolder)),
      m_options(std::move(options)) {}

RoundReport NavSender::runRound() {
    if (!m_settings.complete())
        return {RoundOutcome::NotSetUp, QStringLiteral("Az online számla beküldés nincs beállítva."), 0};
    const std::unique_ptr<SenderLock> lock = SenderLock::tryTake(m_dataFolder);
    if (!lock) return {RoundOutcome::OtherWorkstation, QStringLiteral("Egy másik munkaállomás küldi a számlákat."), 0};
    // Destroyed before the lock: the observer hears of the release while it still holds.
    struct Held {
        const std::function<void(bool)>& observer;
        explicit Held(const std::function<void(bool)>& o) : observer(o) {
            if (observer) observer(true);
        }
        ~Held() {
            if (observer) observer(false);
        }
    } held(m_options.lockHeld);
    return Round(*this).run();
}

}  // namespace kavina::nav
