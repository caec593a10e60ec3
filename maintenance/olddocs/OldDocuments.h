#pragma once
// "Régi bizonylatok törlése": every document issued before a cut-off date leaves Szamla.dbf
// with its lines in Szamla2.dbf, and the stock log rows of tranzakcio.dbf stamped before that
// day go too. Warranty certificates, worksheets, products, partners, stock quantities and the
// number counters stay as they are.
//
// The cut-off is refused when empty, not a date, or after today. The clerk confirms with the
// count of what is to go, a backup is taken first (a cancelled one is confirmed once more, a
// failed one stops everything), and the deletion runs in engine transactions of whole
// documents, so another workstation never sees a header without its lines. Packing the three
// tables afterwards needs each of them to itself: a table another workstation holds keeps its
// deleted records until the next reindex, and the clerk is told so.

#include <QDate>
#include <QString>
#include <functional>

#include "maintenance/backup/DataTransfer.h"

namespace kavina {
class Prompt;
class TDataModule1;
}  // namespace kavina

namespace kavina::maintenance {

struct DeletionProgress {
    std::function<void(const QString& text)> label;
    std::function<void(int done, int count)> headers;
    std::function<void(int done, int count)> logRows;
};

// How much goes before the cut-off.
struct DeletionCount {
    int documents = 0;
    int logRows = 0;
};

class OldDocumentDeletion {
public:
    // backup runs the backup command (file dialog and window).
    OldDocumentDeletion(TDataModule1& data, Prompt& prompt, QDate today, std::function<BackupOutcome()> backup);

    // The whole "Törlés" with the date box's text. True when the deletion ran.
    bool run(const QString& cutoffText, const DeletionProgress& progress = {});

    DeletionCount countBefore(const QDate& cutoff);

    // Documents (with lines) deleted in one transaction, and log rows likewise.
    static constexpr int kDocumentsPerTransaction = 100;
    static constexpr int kLogRowsPerTransaction = 1000;

private:
    std::optional<QDate> checkedCutoff(const QString& text);
    bool confirm(const QDate& cutoff);
    void deleteDocuments(const QDate& cutoff, const DeletionProgress& progress);
    void deleteLogRows(const QDate& cutoff, const DeletionProgress& progress);
    void packTables();

    TDataModule1& m_data;
    Prompt& m_prompt;
    QDate m_today;
    std::function<BackupOutcome()> m_backup;
};

}  // namespace kavina::maintenance
