#include "TestServers.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QThread>
#include <stdexcept>

namespace kavina::support {

QString testScript(const QString& name) {
    return QStringLiteral(KAVINA_SUPPORT_TEST_DIR "/") + name;
}

TestServer::TestServer(const QString& script, const QStringList& arguments) : m_process(new QProcess) {
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->start(QStringLiteral("/usr/bin/python3"), QStringList{testScript(script)} + arguments);
    if (!m_process->waitForStarted(10000)) throw std::runtime_error("test server did not start");
    for (int i = 0; i < 100 && !m_process->canReadLine(); ++i) m_process->waitForReadyRead(100);
    m_port = m_process->readLine().trimmed().toInt();
    if (m_port <= 0)
        throw std::runtime_error("test server gave no port: " + m_process->readAllStandardError().toStdString());
}

TestServer::~TestServer() {
    m_process->kill();
    m_process->waitForFinished(5000);
}

QJsonObject receivedMail(const QString& folder, int n) {
    const QString path = QDir(folder).filePath(QString::number(n) + ".json");
    for (int i = 0; i < 50 && !QFile::exists(path); ++i) QThread::msleep(100);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool makeCertificate(const QString& certPath, const QString& keyPath) {
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1", "-keyout", keyPath, "-out", certPath});
    return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
}

}  // namespace kavina::support
