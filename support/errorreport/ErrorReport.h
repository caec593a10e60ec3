#pragma once
// The error report: a self-contained HTML page describing one error, the program's windows,
// the workstation, the settings file and the state of every table handle. It is written as
// text lines with a fixed head, so that the review list finds the error's message on line 34
// of the file (counting from 1).
//
// Every text put into the page is HTML-escaped here; the workstation and data-module blocks
// arrive as HTML already escaped by their builders.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace kavina::support {

// The report's line of the message, counting from 1.
inline constexpr int kMessageLine = 34;

// What the program knew about the error and its windows at the moment it arose.
struct ErrorDetails {
    QString typeName;
    QString baseTypeName;
    QString message;
    QString sender;        // "type:parent type (name)", "---" for an unnamed one
    QString activeWindow;  // "name:type (caption)" or "nincs"
    QString activeObject;  // "name:type" or "nincs"
    QStringList openWindows;
};

struct ErrorReportContent {
    QString executablePath;
    QString version;  // "1.0." + the build date
    QDateTime moment;
    QString errorText;  // composeErrorText()
    ErrorDetails details;
    QString workstationBlock;  // HTML, one line
    QStringList iniLines;
    std::optional<QStringList> errorLogLines;  // only when an error.log was found
    QStringList dataModuleLines;               // HTML
    QString screenshotName;                    // the screenshot's file name beside the report
};

// "&", "<", ">" and '"' as entities.
QString htmlEscape(const QString& text);
// The reverse of htmlEscape (and of "&nbsp;" and "&#39;"), for showing a report's line.
QString htmlUnescape(const QString& text);

// "Exception " + type + " in module " + module + " at " + 8 hex digits + "." CR LF + message,
// a period added when its last character sorts after ".", CR LF.
QString composeErrorText(const QString& typeName, const QString& moduleName, quint32 address, const QString& message);

// The lines of the report, without line ends.
QStringList errorReportLines(const ErrorReportContent& content);

// The report's file name for the moment: "err" + yymmddhhnnss + ".htm"; the screenshot's the
// same with ".jpg".
QString errorReportFileName(const QDateTime& moment);
QString screenshotFileName(const QDateTime& moment);

}  // namespace kavina::support
