#include "support/errorreport/ErrorReportList.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include "support/errorreport/ErrorReport.h"

namespace kavina::support {

namespace F = hibajelFields;

namespace {

const QString kCaption = QStringLiteral("Figyelem");

// Line 34 of the report, as the clerk is to read it.
QString messageLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    for (int line = 1; line < kMessageLine; ++line) {
        start = bytes.indexOf('\n', start);
        if (start < 0) return {};
        ++start;
    }
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    QByteArray raw = bytes.mid(start, end - start);
    if (raw.endsWith('\r')) raw.chop(1);
    QString text = QStringDecoder("windows-1250").decode(raw);
    // Characters the code page lacks were written as character references; an "&" of the
    // message itself is "&amp;" and stays out of their way.
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    QRegularExpressionMatch m;
    while ((m = reference.match(text)).hasMatch()) {
        const char32_t code = m.captured(1).toUInt();
        text.replace(m.capturedStart(), m.capturedLength(), QString::fromUcs4(&code, 1));
    }
    text = htmlUnescape(text);
    // The list is a record set, which keeps Windows-1250 as the tables do.
    QString storable;
    for (QChar c : text.left(100)) {
        QStringEncoder encoder("windows-1250");
        const QByteArray encoded = encoder.encode(QString(c));
        storable += encoder.hasError() || encoded.isEmpty() ? QChar(u'?') : c;
    }
    return storable;
}

}  // namespace

ErrorReportList::ErrorReportList(QString programFolder, Prompt& prompt, Desktop& desktop)
    : m_folder(std::move(programFolder)), m_prompt(prompt), m_desktop(desktop) {
    using dbase::FieldType;
    m_rows.setFields({{std::string(F::file.name), FieldType::Character, 20},
                      {std::string(F::date.name), FieldType::DateTime},
                      {std::string(F::time.name), FieldType::Character, 20},
                      {std::string(F::text.name), FieldType::Character, 100}});
}

void ErrorReportList::reload() {
    m_rows.emptyTable();
    static const QRegularExpression name(QStringLiteral("^err(\\d{2})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(\\d{2})\\.htm$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QDir folder(m_folder);
    for (const QString& fileName : folder.entryList({QStringLiteral("err*.htm")}, QDir::Files)) {
        const QRegularExpressionMatch m = name.match(fileName);
        // Only the program's own names carry a date; another "err....htm" is not a report.
        if (!m.hasMatch()) continue;
        const QDate date(2000 + m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!date.isValid()) continue;
        m_rows.append();
        m_rows.setString(F::file, fileName);
        m_rows.setDateTime(F::date, QDateTime(date, QTime(0, 0)));
        m_rows.setString(F::time, m.captured(4) + ":" + m.captured(5) + ":" + m.captured(6));
        m_rows.setString(F::text, messageLine(folder.filePath(fileName)));
        m_rows.post();
    }
    m_rows.sort({{F::date}, {F::time}});
    m_rows.first();
}

void ErrorReportList::viewCurrent() {
    if (m_rows.isEmpty() || m_rows.eof()) return;
    m_desktop.openFile(QDir(m_folder).filePath(m_rows.asString(F::file).trimmed()));
}

void ErrorReportList::deleteRow() {
    const QDir folder(m_folder);
    const QString fileName = m_rows.asString(F::file).trimmed();
    QFile::remove(folder.filePath(fileName));
    QFile::remove(folder.filePath(fileName.left(fileName.size() - 4) + ".jpg"));
    m_rows.deleteRecord();
}

void ErrorReportList::deleteCurrent() {
    if (m_rows.isEmpty() || m_rows.eof()) return;
    if (!m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné a hibajelentést?"))) return;
    deleteRow();
}

void ErrorReportList::deleteAll() {
    if (m_rows.isEmpty()) return;
    if (!m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné az összes hibajelentést?"))) return;
    m_rows.first();
    while (!m_rows.isEmpty()) deleteRow();
}

}  // namespace kavina::support
