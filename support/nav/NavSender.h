#pragma once
// Reports the queued invoices to the tax authority, one round at a time. A round takes the
// sender lock of the data folder (another workstation holding it ends the round at once), asks
// the status of every sent transaction, looks up sends that got no answer, and sends what is
// ready in requests of at most 100 invoices, then follows them until the authority has decided
// or the round's patience runs out (the next round goes on from the queue).
//
// What is ready: a new invoice at once; a modification or storno only when its base invoice and
// every earlier modification of it are accepted, since the authority refuses a change of an
// invoice it has not finished processing. An invoice whose base is not in the queue (reported
// before the queue existed) goes at once.
//
// A send that gets no answer in time may still have reached the authority, and sending it again
// would be refused as a duplicate number; it stays "sent" without a transaction id until the
// authority's transaction list or invoice check tells whether it arrived. It is sent again only
// when the authority has none of it.

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>

#include "support/nav/InvoiceQueue.h"
#include "support/nav/NavSettings.h"

namespace kavina::nav {

struct SenderOptions {
    int connectTimeoutSeconds = 5;
    int answerTimeoutSeconds = 60;
    int statusPolls = 15;  // status questions per transaction in one round
    int pollPauseMilliseconds = 2000;
    QString programVersion = QStringLiteral("1.0");
    std::function<void(int milliseconds)> sleep;  // the pause between status questions; default: a real sleep
    const std::atomic<bool>* stop = nullptr;      // set: the round ends at the next step
    // Told true right after this workstation took the sender lock and false right before it
    // lets it go.
    std::function<void(bool holding)> lockHeld;
};

enum class RoundOutcome {
    NotSetUp,          // the settings are incomplete: nothing is sent
    OtherWorkstation,  // another workstation is sending
    Offline,           // the authority could not be reached; try again later
    Refused,           // the authority refused the requests themselves (settings, keys, clock)
    Finished,          // every entry that could be settled now is settled
    Processing,        // the authority is still processing some entries
};

struct RoundReport {
    RoundOutcome outcome = RoundOutcome::Finished;
    QString message;  // why the round stopped short, for the clerk
    int sent = 0;     // invoice data sent in this round
};

class NavSender {
public:
    NavSender(NavSettings settings, InvoiceQueue& queue, QString dataFolder, SenderOptions options = {});
    RoundReport runRound();

private:
    class Round;
    NavSettings m_settings;
    InvoiceQueue& m_queue;
    QString m_dataFolder;
    SenderOptions m_options;
};

}  // namespace kavina::nav
