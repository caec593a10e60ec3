#pragma once
// The loopback servers of the mail and update tests: Python programs beside this file,
// started for one test and stopped with it.

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace kavina::support {

class TestServer {
public:
    // Starts /usr/bin/python3 SCRIPT ARGS and waits for the port it prints.
    TestServer(const QString& script, const QStringList& arguments);
    ~TestServer();
    int port() const { return m_port; }

private:
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
};

QString testScript(const QString& name);

// The summary the mail server wrote of its n-th message (from 1), waiting a moment for it.
QJsonObject receivedMail(const QString& folder, int n);

// A self-signed certificate for 127.0.0.1 made with the openssl command; false when it fails.
bool makeCertificate(const QString& certPath, const QString& keyPath);

}  // namespace kavina::support
