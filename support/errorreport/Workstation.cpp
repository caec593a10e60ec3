#include "support/errorreport/Workstation.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

#include "foundation/SzamSzov.h"
#include "support/errorreport/ErrorReport.h"

namespace kavina::support {

namespace {

QString environment(const char* name) {
    return qEnvironmentVariable(name);
}

// The first value of a key in /proc/cpuinfo ("model name", "cpu family", "stepping").
QString cpuInfo(const QByteArray& cpuinfo, const QString& key) {
    for (const QByteArray& line : cpuinfo.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0) continue;
        if (QString::fromUtf8(line.left(colon)).trimmed() == key)
            return QString::fromUtf8(line.mid(colon + 1)).trimmed();
    }
    return {};
}

}  // namespace

WorkstationFacts gatherWorkstationFacts(const QString& programFolder) {
    WorkstationFacts f;
    f.userName = environment("USER");
    if (f.userName.isEmpty()) f.userName = environment("LOGNAME");
    if (f.userName.isEmpty())
        if (const passwd* user = getpwuid(geteuid())) f.userName = QString::fromLocal8Bit(user->pw_name);
    f.computerName = QSysInfo::machineHostName();
    f.osText = QSysInfo::prettyProductName() + "\n" + QSysInfo::kernelType() + " " + QSysInfo::kernelVersion();
    f.processorCount = QString::number(QThread::idealThreadCount());
    f.architecture = QSysInfo::currentCpuArchitecture();
    QFile cpu(QStringLiteral("/proc/cpuinfo"));
    if (cpu.open(QIODevice::ReadOnly)) {
        const QByteArray info = cpu.readAll();
        f.processorName = cpuInfo(info, QStringLiteral("model name"));
        f.processorLevel = cpuInfo(info, QStringLiteral("cpu family"));
        f.processorRevision = cpuInfo(info, QStringLiteral("stepping"));
    }
    f.systemDrive = QStorageInfo::root().rootPath();
    const QStorageInfo program(programFolder);
    if (program.isValid()) {
        f.programDrive = program.rootPath();
        f.freeBytes = program.bytesAvailable();
    }
    f.temp = QDir::tempPath();
    f.tmp = environment("TMPDIR");
    return f;
}

QString workstationBlock(const WorkstationFacts& f) {
    const auto item = [](const char* name, const QString& value) {
        QString escaped = htmlEscape(value);
        escaped.replace(QLatin1Char('\n'), QLatin1String("<br>"));
        return QString::fromLatin1(name) + escaped;
    };
    const QString diskFree = f.freeBytes ? groupDigits(*f.freeBytes / 1048576) + " MB" : QString();
    const QStringList items{
        item("USERNAME:", f.userName),
        item("COMPUTERNAME:", f.computerName),
        item("LOGONSERVER:", f.logonServer),
        QString(),
        item("OS:", f.osText),
        item("PROCESSOR:", f.processorCount + f.architecture + ", " + f.processorName + ", " + f.processorLevel + ", " +
                               f.processorRevision),
        QString(),
        item("WINDIR:", f.winDir),
        item("SYSTEMDRIVE:", f.systemDrive),
        item("PROGRAMDRIVE:", f.programDrive),
        item("DISKFREE:", diskFree),
        item("TEMP:", f.temp),
        item("TMP:", f.tmp),
    };
    return items.join(QLatin1String("<br>"));
}

}  // namespace kavina::support
