#pragma once
// The stand-in tax authority of the online invoice tests (nav_server.py) with what the tests
// read of it, and invoice data made from the authority's sample.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "TestServers.h"
#include "dbase/TestFolder.h"
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

// A port nothing listens on right now.
int freePort();

// Invoice data of the given number, valid against the schema.
QByteArray invoiceData(const QString& number);

}  // namespace kavina::nav
