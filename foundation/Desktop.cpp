#include "foundation/Desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace kavina {

OpenRequest resolveOpenRequest(const QString& pathOrAddress) {
    const QString text = pathOrAddress.trimmed();
    OpenRequest request;
    // A scheme of two or more letters (one letter would be a drive letter such as "C:").
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch() || text.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        request.kind = OpenRequest::Kind::Address;
        request.url = QUrl::fromUserInput(text);
        return request;
    }
    const QFileInfo info(text);
    request.kind = OpenRequest::Kind::File;
    request.filePath = info.absoluteFilePath();
    request.workingFolder = info.absolutePath();
    request.url = QUrl::fromLocalFile(request.filePath);
    return request;
}

SystemDesktop::SystemDesktop()
    : SystemDesktop(
          QStringLiteral("xdg-open"),
          [](const QString& program, const QStringList& arguments, const QString& folder) {
              return QProcess::startDetached(program, arguments, folder);
          },
          [](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

SystemDesktop::SystemDesktop(QString fileOpener, StartDetached start, OpenUrl openUrl)
    : m_fileOpener(std::move(fileOpener)), m_start(std::move(start)), m_openUrl(std::move(openUrl)) {}

bool SystemDesktop::openFile(const QString& pathOrAddress) {
    if (pathOrAddress.trimmed().isEmpty()) return false;
    const OpenRequest request = resolveOpenRequest(pathOrAddress);
    if (request.kind == OpenRequest::Kind::Address) return m_openUrl(request.url);
    if (!m_fileOpener.isEmpty() && m_start(m_fileOpener, {request.filePath}, request.workingFolder)) return true;
    return m_openUrl(request.url);
}

}  // namespace kavina
