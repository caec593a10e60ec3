#pragma once
// "Frissítés keresése...": the version file is fetched from the update server into
// "version.ini" beside the program; when its date "jav" is later than the program's build
// date and the clerk agrees, the updater is downloaded, checked and started, and the program
// ends.
//
// The updater is started only when the server answered with status 200, the body is exactly
// the length the version file gives ("size") and its SHA-256 is the one the version file
// gives ("sha256"). It is written to a temporary file that takes the updater's name only once
// all of that holds, so a failed download never leaves a runnable file behind. The program
// signs off and ends only after the updater started.
//
// The status panel, the progress bar and the status timer of the main window are reached
// through UpdateStatus; the downloads and the start of the updater through functions, so
// tests run the whole check against a server of their own.

#include <QDate>
#include <QString>
#include <functional>

#include "mail/Download.h"
#include "support/errorreport/CompanyHeader.h"
#include "support/errorreport/SupportSettings.h"

namespace kavina {
class Prompt;
}

namespace kavina::support {

class UpdateStatus {
public:
    virtual ~UpdateStatus() = default;
    // The check begins: the status timer stops.
    virtual void begin() = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual void showProgress(qint64 range) = 0;
    virtual void advanceProgress(qint64 bytes) = 0;
    // The check ends, however it ends: the progress bar hides and the timer starts again.
    virtual void end() = 0;
};

// The values of the updater's query, as they are on the workstation.
struct UpdateQueryValues {
    QString computerName;
    QString userName;
    QString ip;
    QString buildDate;
    CompanyHeader header;
};

// "cname=...&uname=...&ip=...&ver=...&name=...&adr=..." with each value's Windows-1250 bytes
// percent-encoded, so that a blank, an accented letter or a "&" reaches the server as it is.
QString updateQuery(const UpdateQueryValues& values);

// The workstation's first non-loopback IPv4 address, or empty.
QString localIpAddress();

struct UpdateContext {
    SupportSettings settings;
    QString programFolder;
    QDate buildDate;
    UpdateQueryValues query;
    Prompt& prompt;
    UpdateStatus& status;
    std::function<mail::DownloadResult(const mail::DownloadRequest&)> fetch = mail::download;
    // Starts the program in the folder without waiting; false when it could not start.
    std::function<bool(const QString& program, const QString& folder)> start;
    // Signs off and ends the program.
    std::function<void()> endProgram;
};

inline const QString kUpdaterFileName = QStringLiteral("kavinaupdate");

class UpdateCheck {
public:
    explicit UpdateCheck(UpdateContext context) : m_c(std::move(context)) {}

    void run();

private:
    // The updater's checked bytes, or nothing after telling the clerk the download failed.
    bool downloadUpdater(qint64 size, const QString& sha256);

    UpdateContext m_c;
};

}  // namespace kavina::support
