#pragma once
// The review of the error reports kept in the program folder ("Hibajelentések"): one row per
// "err" + stamp + ".htm" file with its date and time taken from the name and the first line
// of its message (line 34 of the file, unescaped, cut to 100 characters; empty for a shorter
// file), oldest first. The clerk opens a report with the desktop or deletes one or all of
// them, each with its screenshot.

#include <QString>

#include "foundation/Desktop.h"
#include "foundation/Field.h"
#include "foundation/MemTable.h"
#include "foundation/Prompt.h"

namespace kavina::support {

namespace hibajelFields {
inline constexpr Field file{"hibajel", "file"};
inline constexpr Field date{"hibajel", "date"};
inline constexpr Field time{"hibajel", "time"};
inline constexpr Field text{"hibajel", "text"};
}  // namespace hibajelFields

class ErrorReportList {
public:
    ErrorReportList(QString programFolder, Prompt& prompt, Desktop& desktop);

    MemTable& rows() { return m_rows; }

    // Lists the report files again and goes to the first row.
    void reload();
    // "Megtekintés": the current row's report with the desktop's handler.
    void viewCurrent();
    // "Törlés" and "Mindent töröl", each after its question.
    void deleteCurrent();
    void deleteAll();

private:
    // Deletes the row's report and screenshot (whichever of them is there) and the row.
    void deleteRow();

    QString m_folder;
    Prompt& m_prompt;
    Desktop& m_desktop;
    MemTable m_rows{"hibajel"};
};

}  // namespace kavina::support
