#include "foundation/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "foundation/TextFormat.h"

namespace kavina {
namespace {

const char* encodingName(IniFile::Encoding encoding) {
    return encoding == IniFile::Encoding::Utf8 ? "UTF-8" : "windows-1250";
}

QString decode(const QByteArray& bytes, IniFile::Encoding encoding) {
    QStringDecoder decoder(encodingName(encoding));
    return decoder.decode(bytes);
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

std::vector<IniFile::Line> splitLines(const QByteArray& bytes) {
    std::vector<IniFile::Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        lines.push_back({bytes.mid(start, end - start), bytes.mid(end, next - end)});
        start = next;
    }
    return lines;
}

enum class LineKind { Blank, Comment, Section, Key, Damaged };

struct ParsedLine {
    LineKind kind = LineKind::Damaged;
    QString name;   // section or key
    QString value;  // trimmed, quotes still on
};

ParsedLine parse(const IniFile::Line& line, IniFile::Encoding encoding) {
    const QString text = decode(line.text, encoding).trimmed();
    if (text.isEmpty()) return {LineKind::Blank, {}, {}};
    if (text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#'))) return {LineKind::Comment, {}, {}};
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0) return {};
        return {LineKind::Section, text.mid(1, close - 1).trimmed(), {}};
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals <= 0) return {};
    const QString key = text.left(equals).trimmed();
    if (key.isEmpty()) return {};
    return {LineKind::Key, key, text.mid(equals + 1).trimmed()};
}

QChar enclosingQuote(const QString& value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"')))
        return value.front();
    return {};
}

QString unquote(const QString& value) {
    return enclosingQuote(value).isNull() ? value : value.mid(1, value.size() - 2);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key of a section is, or where a new key of it would go.
struct KeyPlace {
    qsizetype keyLine = -1;      // the line of the key
    qsizetype sectionLine = -1;  // the header of the first block of the section
    qsizetype lastKeyLine = -1;  // the last key of that block (the header when it has none)
};

KeyPlace findKey(const std::vector<IniFile::Line>& lines, IniFile::Encoding encoding, const QString& section,
                 const QString& key) {
    KeyPlace place;
    bool inSection = false;
    bool inFirstBlock = false;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const ParsedLine parsed = parse(lines[size_t(i)], encoding);
        if (parsed.kind == LineKind::Section) {
            inSection = sameName(parsed.name, section);
            inFirstBlock = inSection && place.sectionLine < 0;
            if (inFirstBlock) place.sectionLine = place.lastKeyLine = i;
        } else if (parsed.kind == LineKind::Key && inSection) {
            if (inFirstBlock) place.lastKeyLine = i;
            if (place.keyLine < 0 && sameName(parsed.name, key)) place.keyLine = i;
        }
    }
    return place;
}

QByteArray encode(const QString& text, IniFile::Encoding encoding, const QString& path) {
    QStringEncoder encoder(encodingName(encoding));
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || decode(bytes, encoding) != text)
        throw IniError(
            QStringLiteral("A(z) %1 fájlba nem írható ez a szöveg, mert a fájl kódlapján nem ábrázolható: %2")
                .arg(path, text)
                .toStdString());
    return bytes;
}

// The text after "=": quoted when reading would otherwise change it (blanks at its ends, or
// quotes of its own at both ends), or when the old value was quoted.
QString valueText(const QString& value, QChar oldQuote) {
    QChar quote = oldQuote;
    if (quote.isNull() && (value != value.trimmed() || !enclosingQuote(value).isNull())) quote = QLatin1Char('"');
    return quote.isNull() ? value : quote + value + quote;
}

QByteArray dominantEnding(const std::vector<IniFile::Line>& lines) {
    for (const IniFile::Line& line : lines)
        if (!line.ending.isEmpty()) return line.ending;
    return QByteArrayLiteral("\n");
}

void checkName(const QString& name, const QString& path) {
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('=')) || name.contains(QLatin1Char('\n')) ||
        name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char(']')))
        throw IniError(QStringLiteral("Érvénytelen kulcsnév a(z) %1 fájlban: %2").arg(path, name).toStdString());
}

}  // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {
    load();
}

void IniFile::load() {
    QFile file(m_path);
    m_exists = file.exists();
    m_lines.clear();
    m_encoding = Encoding::Utf8;
    if (!m_exists) return;
    if (!file.open(QIODevice::ReadOnly))
        throw IniError(QStringLiteral("A(z) %1 fájl nem olvasható: %2").arg(m_path, file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();
    m_encoding = isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1250;
    m_lines = splitLines(bytes);
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const KeyPlace place = findKey(m_lines, m_encoding, section, key);
    if (place.keyLine < 0) return std::nullopt;
    return unquote(parse(m_lines[size_t(place.keyLine)], m_encoding).value);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& fallback) const {
    return value(section, key).value_or(fallback);
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    const std::optional<QString> text = value(section, key);
    if (!text) return fallback;
    bool ok = false;
    int number = 0;
    if (text->startsWith(QLatin1Char('$')))
        number = text->mid(1).toInt(&ok, 16);
    else if (text->startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = text->mid(2).toInt(&ok, 16);
    else
        number = text->toInt(&ok, 10);
    return ok ? number : fallback;
}

QDate IniFile::readDate(const QString& section, const QString& key, const QDate& fallback) const {
    const std::optional<QString> text = value(section, key);
    if (!text) return fallback;
    return parseDateText(*text).value_or(fallback);
}

void IniFile::write(const QString& section, const std::vector<std::pair<QString, QString>>& values) {
    checkName(section, m_path);
    for (const auto& [key, value] : values) {
        checkName(key, m_path);
        if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
            throw IniError(QStringLiteral("A(z) %1 kulcs értéke nem tartalmazhat sortörést.").arg(key).toStdString());
    }
    load();
    std::vector<Line> lines = m_lines;
    const QByteArray ending = dominantEnding(lines);
    for (const auto& [key, value] : values) {
        const KeyPlace place = findKey(lines, m_encoding, section, key);
        if (place.keyLine >= 0) {
            Line& line = lines[size_t(place.keyLine)];
            const qsizetype equals = line.text.indexOf('=');
            qsizetype valueStart = equals + 1;
            while (valueStart < line.text.size() && (line.text[valueStart] == ' ' || line.text[valueStart] == '\t'))
                ++valueStart;
            const QChar oldQuote = enclosingQuote(parse(line, m_encoding).value);
            line.text = line.text.left(valueStart) + encode(valueText(value, oldQuote), m_encoding, m_path);
            continue;
        }
        const QByteArray keyLine = encode(key + QLatin1Char('=') + valueText(value, {}), m_encoding, m_path);
        if (!lines.empty() && lines.back().ending.isEmpty()) lines.back().ending = ending;
        if (place.sectionLine >= 0) {
            lines.insert(lines.begin() + place.lastKeyLine + 1, Line{keyLine, ending});
        } else {
            lines.push_back({encode(QLatin1Char('[') + section + QLatin1Char(']'), m_encoding, m_path), ending});
            lines.push_back({keyLine, ending});
        }
    }

    QByteArray bytes;
    for (const Line& line : lines) bytes += line.text + line.ending;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw IniError(QStringLiteral("A(z) %1 fájl nem írható: %2").arg(m_path, file.errorString()).toStdString());
    m_lines = std::move(lines);
    m_exists = true;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    write(section, {{key, value}});
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeDate(const QString& section, const QString& key, const QDate& value) {
    writeString(section, key, dateText(value));
}

}  // namespace kavina
