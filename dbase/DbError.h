#pragma once
// The one error type of the table engine. Every failure of the engine is a DbError whose text
// names the file and the cause. Texts that callers react to are the constants below; callers
// compare against these, never against literals of their own. Each error also carries one of
// a small, closed set of kinds and the file it concerns, so that the program can tell a clerk
// in plain words what happened to which table.

#include <stdexcept>
#include <string>

namespace dbase {

namespace errtext {
inline constexpr const char* kTableBusy = "Table is busy.";
inline constexpr const char* kRecordLocked = "Record is locked by another user.";
}  // namespace errtext

enum class DbErrorKind {
    Other,         // nothing more specific is known
    Busy,          // another handle or workstation holds the table or the folder
    RecordLocked,  // another user edits the record
    Damaged,       // a file's contents contradict themselves or the format
    Missing,       // a table or one of its files is not there
    Io,            // the operating system refused a read, write, sync or lock
    Invalid,       // a request or value the table cannot take (unknown field, value too wide, bad filter)
};

class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text, DbErrorKind kind = DbErrorKind::Other, std::string file = {})
        : std::runtime_error(text), m_kind(kind), m_file(std::move(file)) {}

    DbErrorKind kind() const { return m_kind; }
    // The path of the file (or folder) the failure concerns; empty when none was named.
    const std::string& file() const { return m_file; }
    // The file name of the table the failure concerns: the file itself for a table, the table
    // of the same base name for its memo or index file; empty when the file is no table's (the
    // folder, the journal).
    std::string tableName() const;

    // True when the text carries the given engine constant.
    bool contains(const char* constant) const { return std::string(what()).find(constant) != std::string::npos; }

private:
    DbErrorKind m_kind;
    std::string m_file;
};

// Builds "<file>: <cause>", the form of every engine error text. The kind follows from the
// engine constant the cause carries (busy, record locked), else it is Other.
[[noreturn]] void fail(const std::string& file, const std::string& cause);
[[noreturn]] void fail(const std::string& file, DbErrorKind kind, const std::string& cause);

}  // namespace dbase
