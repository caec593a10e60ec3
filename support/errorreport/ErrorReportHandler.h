#pragma once
// The program-wide reporter of unexpected errors: what escapes a command and is neither a
// conversion error (which ends its command silently) nor a rule error becomes an error
// report ("err" + stamp + ".htm" in the program folder, with the screenshot "err" + stamp +
// ".jpg" beside it) and the error window. A second error within the same second is appended
// to the report of the first. An "error.log" found in the program folder is carried into the
// report and deleted. The settings file is copied into the report without the mail account's
// password.
//
// Every step is guarded on its own: a report that cannot be written (read-only folder, full
// disk), a screenshot that cannot be taken or a table that cannot be read still ends in the
// error window, which then says that the report was not saved. The handler never throws.
//
// What only the windows know (the open windows, the screen, showing the error window) comes in
// through ErrorEnvironment; the program's forms supply it, tests a recording fake.

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

#include "support/errorreport/ErrorReport.h"

namespace kavina {
class TDataModule1;
}

namespace kavina::support {

// What the error window shows and the paths it keeps.
struct ErrorWindowContent {
    QStringList lines;
    QString reportPath;      // empty when the report could not be written
    QString screenshotPath;  // empty when no screenshot was saved
};

class ErrorEnvironment {
public:
    virtual ~ErrorEnvironment() = default;
    virtual QDateTime now() const = 0;
    // The windows, the active one and the focused control, as the report lists them.
    virtual ErrorDetails windowDetails() const = 0;
    // The whole screen; a null image when it cannot be captured.
    virtual QImage captureScreen() const = 0;
    // Shows the error window modally; returns when it is closed.
    virtual void showErrorWindow(const ErrorWindowContent& content) = 0;
};

struct ErrorReportSetup {
    QString programFolder;
    QString executablePath;
    std::function<QString()> buildDate;   // the program's build date text
    std::function<TDataModule1*()> data;  // nullptr before the tables are bound
    QString iniFileName = QStringLiteral("kavinaextra.ini");
};

class ErrorReportHandler {
public:
    ErrorReportHandler(ErrorReportSetup setup, ErrorEnvironment& environment);

    // Reports the error as above. Never throws.
    void report(std::exception_ptr error) noexcept;

    // The report's content for an error, with everything the program knows now; the files
    // are not touched, except that an error.log found is read (and not deleted).
    ErrorReportContent describe(std::exception_ptr error, const QDateTime& moment) const;

private:
    ErrorReportSetup m_setup;
    ErrorEnvironment& m_environment;
};

// The type, its base type and the message of an error in flight.
struct ErrorIdentity {
    QString typeName;
    QString baseTypeName;
    QString message;
    bool conversion = false;  // a conversion error: reported by no one
};
ErrorIdentity identifyError(std::exception_ptr error);

// Writes the lines, CR LF after each, in Windows-1250, after what the file holds already.
// Characters the code page lacks are written as character references. Throws
// std::runtime_error when the file cannot be written.
void appendReportFile(const QString& path, const QStringList& lines);

// Saves the picture as JPEG with quality 30; false when it cannot be saved.
bool saveScreenshot(const QImage& screen, const QString& path);

// The window's lines for a written report, or for one that could not be written.
QStringList errorWindowLines(const QString& errorText, const QString& reportPath, bool written);

}  // namespace kavina::support
