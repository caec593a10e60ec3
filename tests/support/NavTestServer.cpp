#include "NavTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <stdexcept>

#include "foundation/IniFile.h"
#include "support/nav/NavCrypto.h"

namespace kavina::nav {

NavTestServer::NavTestServer() {
    if (!support::makeCertificate(folder() + "/cert.pem", folder() + "/key.pem"))
        throw std::runtime_error("no certificate");
}

void NavTestServer::start(int port) {
    m_server = std::make_unique<support::TestServer>(
        QStringLiteral("nav_server.py"),
        QStringList{folder(), folder() + "/cert.pem", folder() + "/key.pem",
                    QStringLiteral(KAVINA_NAV_TEST_DATA "/xsd"), QString::number(port)});
    m_port = m_server->port();
}

NavSettings knownSettings() {
    NavSettings s;
    s.login = QStringLiteral("kavinateszt01");
    s.passwordHash = sha512Hex("jelszo");
    s.signingKey = QStringLiteral("ce-8f5e-215119fa7dd621DLMRHRLH2S");
    s.exchangeKey = QStringLiteral("0123456789ABCDEF");
    s.taxNumber = QStringLiteral("12345678-2-42");
    s.softwareId = QStringLiteral("HU12345678-KAVINA1");
    return s;
}

NavSettings NavTestServer::settings() const {
    NavSettings s = knownSettings();
    s.serviceUrl = QStringLiteral("https://127.0.0.1:%1/invoiceService/v3").arg(m_port);
    s.caFile = folder() + "/cert.pem";
    return s;
}

void NavTestServer::writeSettings(const QString& dataFolder) const {
    const NavSettings s = settings();
    saveNavSettings(dataFolder, s);
    IniFile(QDir(dataFolder).filePath(QStringLiteral("navbeall.ini")))
        .write(QStringLiteral("nav"),
               {{QStringLiteral("szolgaltatas"), s.serviceUrl}, {QStringLiteral("cafile"), s.caFile}});
}

void NavTestServer::control(const QByteArray& json) const {
    QFile f(folder() + "/control.json");
    if (!f.open(QIODevice::WriteOnly) || f.write(json) != json.size()) throw std::runtime_error("control.json");
}

QStringList NavTestServer::log(const QString& name) const {
    QFile f(folder() + "/" + name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int NavTestServer::received(const QString& invoiceNumber) const {
    int n = 0;
    for (const QString& line : log(QStringLiteral("received.log")))
        if (line.section(QLatin1Char(' '), 0, 0) == invoiceNumber) ++n;
    return n;
}

int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (fd >= 0) close(fd);
    if (!ok) throw std::runtime_error("no free port");
    return ntohs(address.sin_port);
}

QByteArray invoiceData(const QString& number) {
    static const QByteArray sample = [] {
        QFile f(QStringLiteral(KAVINA_NAV_TEST_DATA "/samples/data/Belfoldi termekertekesites.xml"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const qsizetype start = sample.indexOf("<invoiceNumber>") + 15;
    const qsizetype end = sample.indexOf("</invoiceNumber>");
    QByteArray out = sample;
    out.replace(start, end - start, number.toUtf8());
    return out;
}

}  // namespace kavina::nav
