#pragma once
// Hands files and addresses to the desktop's own programs: a document to the program its type
// is associated with, a web address to the browser, a mail address to the mail program.
// Logic reaches it through this interface so that tests record what would have been opened.
#include <QString>
#include <QUrl>
#include <functional>

namespace kavina {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a file path, a web address ("http://...", "www...") or a mail address
    // ("mailto:..."). A file is started with its own folder as the working folder. Returns
    // false when the desktop could not start anything.
    virtual bool openFile(const QString& pathOrAddress) = 0;
};

// What a request to open resolves to: an address for the URL handler, or a file with the
// folder to start its program in.
struct OpenRequest {
    enum class Kind { Address, File } kind = Kind::File;
    QUrl url;
    QString filePath;       // absolute, for files
    QString workingFolder;  // the file's folder, for files
};

OpenRequest resolveOpenRequest(const QString& pathOrAddress);

// The desktop of the running system: addresses go to QDesktopServices; files are started
// through a file opener command (xdg-open by default) in the file's folder, falling back to
// QDesktopServices when the command cannot be started.
class SystemDesktop : public Desktop {
public:
    using StartDetached =
        std::function<bool(const QString& program, const QStringList& arguments, const QString& workingFolder)>;
    using OpenUrl = std::function<bool(const QUrl&)>;

    SystemDesktop();
    // For tests and for workstations that name their own opener command.
    SystemDesktop(QString fileOpener, StartDetached start, OpenUrl openUrl);

    bool openFile(const QString& pathOrAddress) override;

private:
    QString m_fileOpener;
    StartDetached m_start;
    OpenUrl m_openUrl;
};

}  // namespace kavina
