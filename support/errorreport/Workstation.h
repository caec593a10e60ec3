#pragma once
// The workstation block of the error report: who and where, the operating system and the
// processors, and the folders and free disk space the program works with. The items keep the
// names support has always read them by (USERNAME, COMPUTERNAME, ...); on this platform they
// are filled from its own equivalents, and an item the platform does not have stays empty.

#include <QString>
#include <optional>

namespace kavina::support {

struct WorkstationFacts {
    QString userName;
    QString computerName;
    QString logonServer;
    QString osText;
    QString processorCount;
    QString architecture;
    QString processorName;
    QString processorLevel;
    QString processorRevision;
    QString winDir;
    QString systemDrive;
    QString programDrive;
    std::optional<qint64> freeBytes;  // of the program's drive
    QString temp;
    QString tmp;
};

// The facts of the running system for a program in the folder.
WorkstationFacts gatherWorkstationFacts(const QString& programFolder);

// One HTML line: the items separated by "<br>", in three groups with an empty line between.
// Free space in whole megabytes with digit grouping.
QString workstationBlock(const WorkstationFacts& facts);

}  // namespace kavina::support
