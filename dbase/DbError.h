#pragma once
// The one error type of the table engine. Every failure of the engine is a DbError whose text
// names the file and the cause. Texts that callers react to are the constants below; callers
// compare against these, never against literals of their own.

#include <stdexcept>
#include <string>

namespace dbase {

namespace errtext {
inline constexpr const char* kTableBusy = "Table is busy.";
inline constexpr const char* kRecordLocked = "Record is locked by another user.";
}  // namespace errtext

class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text) : std::runtime_error(text) {}

    // True when the text carries the given engine constant.
    bool contains(const char* constant) const { return std::string(what()).find(constant) != std::string::npos; }
};

// Builds "<file>: <cause>", the form of every engine error text.
[[noreturn]] void fail(const std::string& file, const std::string& cause);

}  // namespace dbase
