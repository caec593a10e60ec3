#pragma once
// An ini file that is edited in place: reading follows the desktop's ini rules, writing a key
// changes only that key's line and keeps every other byte (comments, blank lines, key order,
// line endings, unknown keys and damaged lines) as it was.
//
// Encoding: a file that is valid UTF-8 is read as UTF-8; any other file is Windows-1250, as the
// files written by older installations of the program are. Written values keep the file's
// encoding; a new file is UTF-8.
//
// Reading: section and key names ignore case; the first occurrence of a key wins; a value is
// trimmed and one pair of enclosing single or double quotes is removed. A line that is not a
// section, a key, a comment (";" or "#") or blank is skipped.
//
// Writing re-reads the file, applies the changes and replaces the file through a temporary file
// in the same folder, so a failed write leaves the old file whole and another program's
// changes to other keys are kept.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kavina {

// A file that cannot be read or written, or a value that cannot be stored; the text is meant
// for the user.
class IniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    // Reads the file; a missing file reads as empty. Throws IniError when it exists but cannot
    // be read.
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }
    bool exists() const { return m_exists; }

    std::optional<QString> value(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& fallback = {}) const;
    // Decimal, or hexadecimal with "$" or "0x"; anything else gives the fallback.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // A year-first date text ("2008.03.15"); anything else gives the fallback.
    QDate readDate(const QString& section, const QString& key, const QDate& fallback) const;

    // Writes the keys of one section in one replacement of the file. A key that exists keeps
    // its line with its spelling, spacing and quotes and gets the new value; a new key goes
    // after the last key of its section; a new section goes at the end. Throws IniError, with
    // the file unchanged, when a value holds a line break or cannot be written in the file's
    // encoding, or when the file cannot be written.
    void write(const QString& section, const std::vector<std::pair<QString, QString>>& values);
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeDate(const QString& section, const QString& key, const QDate& value);

    struct Line {
        QByteArray text;    // without the line ending
        QByteArray ending;  // "\r\n", "\n", "\r" or empty for a last line without one
    };
    enum class Encoding { Utf8, Windows1250 };

private:
    void load();

    QString m_path;
    bool m_exists = false;
    Encoding m_encoding = Encoding::Utf8;
    std::vector<Line> m_lines;
};

}  // namespace kavina
