#pragma once
// The stand-in tax authority of the online invoice tests (nav_server.py) with what the tests
// read of it, and invoice data made from the authority's sample.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "TestServers.h"
#include "dbase/TestFolder.h"
#include "support/nav/InvoiceQueue.h"
#include "support/nav/NavSettings.h"

namespace kavina::nav {

class NavTestServer {
public:
    // Makes the certificate; the server starts with start().
    NavTestServer();
    // Starts listening on the given port (0: any free one).
    void start(int port = 0);
    void stop() { m_server.reset(); }
    int port() const { return m_port; }

    // Settings that reach this server with the known user and keys.
    NavSettings settings() const;
    // Stores them in the data folder, as the program reads them.
    void writeSettings(const QString& dataFolder) const;
    // Writes control.json (see nav_server.py).
    void control(const QByteArray& json) const;
    // Lines of one of the server's logs.
    QStringList log(const QString& name) const;
    // How many times the invoice data of this number arrived.
    int received(const QString& invoiceNumber) const;
    QString folder() const { return QString::fromStdString(m_root.path()); }

private:
    testing_support::TestFolder m_root;
    std::unique_ptr<support::TestServer> m_server;
    int m_port = 0;
};

// The technical user and keys the server knows, without its address.
NavSettings knownSettings();

// The queue a test owns, lent to a sender that takes ownership of its queue.
class LentQueue : public InvoiceQueue {
public:
    explicit LentQueue(InvoiceQueue& q) : m_q(q) {}
    std::vector<QueuedInvoice> all() override { return m_q.all(); }
    void update(const QueuedInvoice& e) override { m_q.update(e); }
    void requeue(const QueuedInvoice& e, const QByteArray& xml) override { m_q.requeue(e, xml); }

private:
    InvoiceQueue& m_q;
};

// A port nothing listens on right now.
int freePort();

// Invoice data of the given number, valid against the schema.
QByteArray invoiceData(const QString& number);

}  // namespace kavina::nav
