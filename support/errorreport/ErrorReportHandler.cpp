#include "support/errorreport/ErrorReportHandler.h"

#include <cxxabi.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <typeinfo>

#include "dbase/DbError.h"
#include "foundation/ConversionError.h"
#include "foundation/DbErrorText.h"
#include "support/errorreport/DataModuleBlock.h"
#include "support/errorreport/Workstation.h"

namespace kavina::support {

namespace {

QString demangled(const std::type_info* type) {
    if (!type) return QStringLiteral("unknown");
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type->name(), nullptr, nullptr, &status),
                                                     &std::free);
    return QString::fromUtf8(status == 0 && name ? name.get() : type->name());
}

// The lines of a text file of the program folder, as the desktop's editors write them.
QStringList readTextLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QStringDecoder("windows-1250").decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The text in Windows-1250, each character the code page lacks as a character reference.
QByteArray toWindows1250(const QString& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else {
            QStringEncoder encoder("windows-1250");
            const QByteArray encoded = encoder.encode(text.mid(i, length));
            if (encoder.hasError() || encoded.isEmpty() || encoded == "?") {
                out += "&#" + QByteArray::number(static_cast<uint>(code)) + ';';
            } else {
                out += encoded;
            }
        }
        i += length - 1;
    }
    return out;
}

}  // namespace

ErrorIdentity identifyError(std::exception_ptr error) {
    ErrorIdentity id;
    try {
        std::rethrow_exception(error);
    } catch (const ConversionError& e) {
        id.conversion = true;
        id.message = QString::fromUtf8(e.what());
    } catch (const dbase::DbError& e) {
        id.baseTypeName = QStringLiteral("std::runtime_error");
        id.message = dbErrorText(e);
    } catch (const std::runtime_error& e) {
        id.baseTypeName = QStringLiteral("std::runtime_error");
        id.message = QString::fromUtf8(e.what());
    } catch (const std::logic_error& e) {
        id.baseTypeName = QStringLiteral("std::logic_error");
        id.message = QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        id.baseTypeName = QStringLiteral("std::exception");
        id.message = QString::fromUtf8(e.what());
    } catch (...) {
        id.message = QStringLiteral("ismeretlen hiba");
    }
    try {
        std::rethrow_exception(error);
    } catch (...) {
        id.typeName = demangled(abi::__cxa_current_exception_type());
    }
    if (id.typeName == id.baseTypeName) id.baseTypeName = QStringLiteral("std::exception");
    if (id.baseTypeName.isEmpty()) id.baseTypeName = QStringLiteral("---");
    return id;
}

void appendReportFile(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += toWindows1250(line) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error("A hibajelentés nem írható: " + path.toStdString());
}

bool saveScreenshot(const QImage& screen, const QString& path) {
    if (screen.isNull()) return false;
    QImageWriter writer(path, "jpg");
    writer.setQuality(30);
    return writer.write(screen.convertToFormat(QImage::Format_RGB32));
}

QStringList errorWindowLines(const QString& errorText, const QString& reportPath, bool written) {
    QStringList lines{QStringLiteral("A program használata során hiba történt!"),
                      "A rendszer hibaüzenete: " + errorText};
    if (written) {
        lines << "A hibajelentés a " + QDir::toNativeSeparators(reportPath) + " fájlba lett elmentve!"
              << QStringLiteral(
                     "Ha szeretné a hibajelentést email-ben továbbítani felénk, kérjük kattintson a "
                     "\"hibajelentés\" gombra.");
    } else {
        lines << "A hibajelentést nem sikerült a " + QDir::toNativeSeparators(reportPath) + " fájlba menteni!";
    }
    return lines;
}

ErrorReportHandler::ErrorReportHandler(ErrorReportSetup setup, ErrorEnvironment& environment)
    : m_setup(std::move(setup)), m_environment(environment) {}

ErrorReportContent ErrorReportHandler::describe(std::exception_ptr error, const QDateTime& moment) const {
    const ErrorIdentity id = identifyError(error);
    ErrorReportContent c;
    c.executablePath = QDir::toNativeSeparators(m_setup.executablePath);
    c.version = "1.0." + (m_setup.buildDate ? m_setup.buildDate() : QString());
    c.moment = moment;
    c.errorText = composeErrorText(id.typeName, QFileInfo(m_setup.executablePath).fileName(), 0, id.message);
    try {
        c.details = m_environment.windowDetails();
    } catch (...) {
        c.details.activeWindow = c.details.activeObject = QStringLiteral("nincs");
    }
    c.details.typeName = id.typeName;
    c.details.baseTypeName = id.baseTypeName;
    c.details.message = id.message;
    try {
        c.workstationBlock = workstationBlock(gatherWorkstationFacts(m_setup.programFolder));
    } catch (...) {
    }
    const QDir folder(m_setup.programFolder);
    c.iniLines = readTextLines(folder.filePath(m_setup.iniFileName));
    // The report travels by mail and stays in the program folder: the mail account's password
    // is not copied into it.
    for (QString& line : c.iniLines)
        if (line.section(QLatin1Char('='), 0, 0)
                .trimmed()
                .compare(QLatin1String("smtppassword"), Qt::CaseInsensitive) == 0)
            line = line.section(QLatin1Char('='), 0, 0) + QStringLiteral("=*****");
    const QString errorLog = folder.filePath(QStringLiteral("error.log"));
    if (QFileInfo::exists(errorLog)) c.errorLogLines = readTextLines(errorLog);
    try {
        if (TDataModule1* data = m_setup.data ? m_setup.data() : nullptr) c.dataModuleLines = dataModuleBlock(*data);
    } catch (...) {
    }
    c.screenshotName = screenshotFileName(moment);
    return c;
}

void ErrorReportHandler::report(std::exception_ptr error) noexcept {
    try {
        if (identifyError(error).conversion) return;
    } catch (...) {
    }
    ErrorWindowContent window;
    try {
        const QDateTime moment = m_environment.now();
        const QDir folder(m_setup.programFolder);
        const QString reportPath = folder.filePath(errorReportFileName(moment));
        const QString screenshotPath = folder.filePath(screenshotFileName(moment));
        const ErrorReportContent content = describe(error, moment);
        bool written = false;
        try {
            appendReportFile(reportPath, errorReportLines(content));
            written = true;
            // Carried into this report: the next one starts without it.
            if (content.errorLogLines) QFile::remove(folder.filePath(QStringLiteral("error.log")));
        } catch (...) {
        }
        bool shot = false;
        try {
            shot = saveScreenshot(m_environment.captureScreen(), screenshotPath);
        } catch (...) {
        }
        window.lines = errorWindowLines(content.errorText, reportPath, written);
        if (written) window.reportPath = reportPath;
        if (shot) window.screenshotPath = screenshotPath;
    } catch (...) {
        window.lines = QStringList{QStringLiteral("A program használata során hiba történt!")};
    }
    try {
        m_environment.showErrorWindow(window);
    } catch (...) {
        // Showing the window failed too; there is nobody left to tell.
    }
}

}  // namespace kavina::support
