#include "support/update/UpdateCheck.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

#include "foundation/IniFile.h"
#include "foundation/Prompt.h"
#include "foundation/TextFormat.h"

namespace kavina::support {

namespace {

const QString kSearching = QStringLiteral("Internetes frissítés keresése...");
const QString kVersionPath = QStringLiteral("/kavina/update/version.ini");
const QString kUpdaterPath = QStringLiteral("/kavina/update/kavinaupdate.php?");

QString encoded(const QString& value) {
    QStringEncoder encoder("windows-1250");
    return QString::fromLatin1(QByteArray(encoder.encode(value)).toPercentEncoding());
}

// Restores the status bar however the check ends.
class StatusGuard {
public:
    explicit StatusGuard(UpdateStatus& status) : m_status(status) { m_status.begin(); }
    ~StatusGuard() { m_status.end(); }
    StatusGuard(const StatusGuard&) = delete;
    StatusGuard& operator=(const StatusGuard&) = delete;

private:
    UpdateStatus& m_status;
};

}  // namespace

QString updateQuery(const UpdateQueryValues& v) {
    return "cname=" + encoded(v.computerName) + "&uname=" + encoded(v.userName) + "&ip=" + encoded(v.ip) +
           "&ver=" + encoded(v.buildDate) + "&name=" + encoded(v.header.USER1 + " " + v.header.USER2) +
           "&adr=" + encoded(v.header.CIM);
}

QString localIpAddress() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    QString address;
    for (ifaddrs* a = list; a && address.isEmpty(); a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if ((ntohl(in->sin_addr.s_addr) >> 24) == 127) continue;
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) address = QString::fromLatin1(text);
    }
    freeifaddrs(list);
    return address;
}

void UpdateCheck::run() {
    const StatusGuard guard(m_c.status);
    m_c.status.setStatusText(kSearching);
    const QString userAgent = "Kavina/1.0 (" + dateText(m_c.buildDate) + ")";
    const QDir folder(m_c.programFolder);
    const QString versionPath = folder.filePath(QStringLiteral("version.ini"));
    mail::DownloadResult version;
    if (!m_c.settings.updateServer.isEmpty())
        version = m_c.fetch({.url = m_c.settings.updateServer + kVersionPath,
                             .userAgent = userAgent,
                             .caFile = m_c.settings.caFile,
                             .timeoutSeconds = m_c.settings.timeoutSeconds,
                             .maxBytes = 64 * 1024});
    QSaveFile versionFile(versionPath);
    if (!version.ok || !versionFile.open(QIODevice::WriteOnly) || versionFile.write(version.body) < 0 ||
        !versionFile.commit()) {
        m_c.status.setStatusText(kSearching + " SIKERTELEN!");
        return;
    }
    m_c.status.setStatusText(kSearching + " SIKERES");
    const IniFile ini(versionPath);
    const QString section = QStringLiteral("version");
    const std::optional<QDate> newest =
        parseDateText(ini.readString(section, QStringLiteral("jav"), QStringLiteral("2000.01.01")));
    // A version file that is not ours (an error page, a damaged file) offers nothing.
    if (!newest) {
        m_c.status.setStatusText(kSearching + " SIKERTELEN!");
        return;
    }
    if (*newest <= m_c.buildDate) {
        m_c.status.setStatusText(QStringLiteral("Nincs elérhető frissítés!"));
        return;
    }
    if (!m_c.prompt.askYesNo(QStringLiteral("Figyelem!"), QStringLiteral("Van elérhető frissítés! Szeretné letölteni?"),
                             Icon::Question))
        return;
    const qint64 size = ini.readString(section, QStringLiteral("size")).toLongLong();
    m_c.status.showProgress(size);
    m_c.status.setStatusText(QStringLiteral("Letöltés:"));
    if (!downloadUpdater(size, ini.readString(section, QStringLiteral("sha256")).trimmed().toLower())) {
        m_c.prompt.message(QStringLiteral("Figyelem"), QStringLiteral("Sikertelen letöltés. A frissítés megszakadt."),
                           Icon::Error);
        return;
    }
    m_c.prompt.message(QStringLiteral("Figyelem"),
                       QStringLiteral("A Kavina verzió frissítő sikeresen letöltődött!\nA folyatatáshoz ki kell "
                                      "lépni a programból."),
                       Icon::Information);
    if (!m_c.start(folder.filePath(kUpdaterFileName), m_c.programFolder)) {
        m_c.prompt.message(QStringLiteral("Figyelem"),
                           QStringLiteral("A frissítő program nem indítható el. A frissítés megszakadt."), Icon::Error);
        return;
    }
    m_c.endProgram();
}

bool UpdateCheck::downloadUpdater(qint64 size, const QString& sha256) {
    if (size <= 0 || sha256.size() != 64) return false;
    const mail::DownloadResult updater =
        m_c.fetch({.url = m_c.settings.updateServer + kUpdaterPath + updateQuery(m_c.query),
                   .userAgent = "Kavina/1.0 (" + dateText(m_c.buildDate) + ")",
                   .caFile = m_c.settings.caFile,
                   .timeoutSeconds = m_c.settings.timeoutSeconds,
                   .maxBytes = size,
                   .progress = [this](qint64 bytes) { m_c.status.advanceProgress(bytes); }});
    if (!updater.ok || updater.body.size() != size) return false;
    if (QCryptographicHash::hash(updater.body, QCryptographicHash::Sha256).toHex() != sha256.toLatin1()) return false;
    QSaveFile file(QDir(m_c.programFolder).filePath(kUpdaterFileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(updater.body) != size) return false;
    if (!file.commit()) return false;
    return QFile::setPermissions(file.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                      QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                      QFileDevice::ExeOther);
}

}  // namespace kavina::support
