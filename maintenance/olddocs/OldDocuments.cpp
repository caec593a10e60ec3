#include "maintenance/olddocs/OldDocuments.h"

#include <QStringList>
#include <QStringLiteral>
#include <optional>

#include "dbase/DbError.h"
#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "foundation/TableHandle.h"
#include "foundation/TextFormat.h"
#include "maintenance/reindex/Reindex.h"

namespace kavina::maintenance {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;

const QString kCaption = QStringLiteral("Figyelem!");

std::string fileOf(TableId id) {
    return catalogue::table(id).fileName;
}

bool issuedBefore(const TableHandle& headers, const QDate& cutoff) {
    const QDate issued = headers.asDate(H::KIALLIT);
    return issued.isValid() && issued < cutoff;
}

// A log row stamped on the cut-off day itself, at any time, stays.
bool loggedBefore(const TableHandle& log, const QDate& cutoff) {
    const QDateTime stamped = log.asDateTime(T::datum);
    return stamped.isValid() && stamped.date() < cutoff;
}

// Commits every given number of changes, so that one transaction never holds a year's
// deletions in memory, and each holds whole documents.
class Batches {
public:
    Batches(std::string folder, int size) : m_folder(std::move(folder)), m_size(size) {}
    void counted() {
        if (!m_open) m_open.emplace(m_folder);
        if (++m_count >= m_size) commit();
    }
    void begin() {
        if (!m_open) m_open.emplace(m_folder);
    }
    void commit() {
        if (m_open) m_open->commit();
        m_open.reset();
        m_count = 0;
    }

private:
    std::string m_folder;
    int m_size;
    int m_count = 0;
    std::optional<dbase::Transaction> m_open;
};

}  // namespace

OldDocumentDeletion::OldDocumentDeletion(TDataModule1& data, Prompt& prompt, QDate today,
                                         std::function<BackupOutcome()> backup)
    : m_data(data), m_prompt(prompt), m_today(today), m_backup(std::move(backup)) {}

bool OldDocumentDeletion::run(const QString& cutoffText, const DeletionProgress& progress) {
    const std::optional<QDate> cutoff = checkedCutoff(cutoffText);
    if (!cutoff || !confirm(*cutoff)) return false;
    switch (m_backup()) {
        case BackupOutcome::Failed: return false;
        case BackupOutcome::Cancelled:
            if (!m_prompt.askYesNoDefaultNo(kCaption, QStringLiteral("Biztonsági mentés nélkül folytatja?"),
                                            Icon::Warning))
                return false;
            break;
        case BackupOutcome::Done: break;
    }
    if (progress.label) progress.label(QStringLiteral("Törlés (szamla.dbf)"));
    deleteDocuments(*cutoff, progress);
    if (progress.label) progress.label(QStringLiteral("Törlés (tranzakcio.dbf)"));
    deleteLogRows(*cutoff, progress);
    packTables();
    return true;
}

std::optional<QDate> OldDocumentDeletion::checkedCutoff(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        m_prompt.warning(kCaption, QStringLiteral("Adja meg a dátumot, amely előtt kiállított bizonylatokat törölni "
                                                  "szeretné!"));
        return std::nullopt;
    }
    const std::optional<QDate> cutoff = parseDateText(trimmed);
    if (!cutoff) {
        m_prompt.warning(kCaption, QStringLiteral("A megadott dátum hibás: ") + trimmed +
                                       QStringLiteral("\nA dátumot éééé.hh.nn alakban adja meg (például 2008.01.01)."));
        return std::nullopt;
    }
    if (*cutoff > m_today) {
        m_prompt.warning(kCaption, QStringLiteral("A dátum nem lehet későbbi a mai napnál!"));
        return std::nullopt;
    }
    return cutoff;
}

bool OldDocumentDeletion::confirm(const QDate& cutoff) {
    const DeletionCount count = countBefore(cutoff);
    const QString day = dateText(cutoff);
    if (count.documents == 0 && count.logRows == 0) {
        m_prompt.information(kCaption, QStringLiteral("Nincs ") + day +
                                           QStringLiteral(" előtti bizonylat vagy készletmozgás, nincs mit törölni."));
        return false;
    }
    QString question = QStringLiteral("A ") + day + QStringLiteral(" előtt kiállított ") +
                       QString::number(count.documents) + QStringLiteral(" bizonylat a tételeivel együtt és ") +
                       QString::number(count.logRows) +
                       QStringLiteral(" készletmozgás végleg törlődik.\nBiztosan törli őket?");
    if (otherInstancesRunning(m_data))
        question += QStringLiteral(
            "\n\nMás munkaállomások is használják az adatbázist: a törölt bizonylatok helye "
            "csak a következő újraindexeléskor szabadul fel.");
    return m_prompt.askYesNo(kCaption, question, Icon::Warning);
}

DeletionCount OldDocumentDeletion::countBefore(const QDate& cutoff) {
    DeletionCount count;
    TableHandle headers(m_data.dataFolder(), fileOf(TableId::Szamla));
    headers.open();
    for (headers.first(); !headers.eof(); headers.next())
        if (issuedBefore(headers, cutoff)) ++count.documents;
    const TableDef& logDef = catalogue::table(TableId::Tranzakcio);
    if (catalogue::existsIn(logDef, m_data.dataFolder())) {
        TableHandle log(m_data.dataFolder(), logDef.fileName);
        log.open();
        for (log.first(); !log.eof(); log.next())
            if (loggedBefore(log, cutoff)) ++count.logRows;
    }
    return count;
}

void OldDocumentDeletion::deleteDocuments(const QDate& cutoff, const DeletionProgress& progress) {
    TableHandle headers(m_data.dataFolder(), fileOf(TableId::Szamla));
    TableHandle lines(m_data.dataFolder(), fileOf(TableId::Szamla2));
    headers.open();
    lines.open();
    lines.setOrder(L::SZAMLASZAM);
    const int count = static_cast<int>(headers.recordCount());
    int done = 0;
    if (progress.headers) progress.headers(0, count);
    Batches batches(m_data.dataFolder(), kDocumentsPerTransaction);
    headers.first();
    while (!headers.eof()) {
        if (progress.headers) progress.headers(++done, count);
        if (!issuedBefore(headers, cutoff)) {
            headers.next();
            continue;
        }
        batches.begin();
        // Lines without a document number belong to no header: they are not this one's.
        const QString number = headers.asString(H::SZAMLASZAM).trimmed();
        if (!number.isEmpty())
            while (lines.findKey(number.toStdString())) lines.deleteRecord();
        headers.deleteRecord();
        batches.counted();
    }
    batches.commit();
}

void OldDocumentDeletion::deleteLogRows(const QDate& cutoff, const DeletionProgress& progress) {
    const TableDef& def = catalogue::table(TableId::Tranzakcio);
    if (!catalogue::existsIn(def, m_data.dataFolder())) return;
    TableHandle log(m_data.dataFolder(), def.fileName);
    log.open();
    const int count = static_cast<int>(log.recordCount());
    int done = 0;
    if (progress.logRows) progress.logRows(0, count);
    Batches batches(m_data.dataFolder(), kLogRowsPerTransaction);
    log.first();
    while (!log.eof()) {
        if (progress.logRows) progress.logRows(++done, count);
        if (!loggedBefore(log, cutoff)) {
            log.next();
            continue;
        }
        batches.begin();
        log.deleteRecord();
        batches.counted();
    }
    batches.commit();
}

void OldDocumentDeletion::packTables() {
    QStringList busy;
    for (TableId id : {TableId::Szamla, TableId::Szamla2, TableId::Tranzakcio}) {
        const TableDef& def = catalogue::table(id);
        if (def.optional && !catalogue::existsIn(def, m_data.dataFolder())) continue;
        try {
            rebuildTable(m_data, id, true);
        } catch (const dbase::DbError& e) {
            if (e.kind() != dbase::DbErrorKind::Busy && !e.contains(dbase::errtext::kTableBusy)) throw;
            busy << QString::fromStdString(def.fileName);
        }
    }
    if (!busy.isEmpty())
        m_prompt.warning(kCaption, QStringLiteral("A törölt bizonylatok helye nem szabadult fel, mert más "
                                                  "munkaállomás is használja a következő táblákat:\n") +
                                       busy.join(QLatin1Char('\n')) +
                                       QStringLiteral("\nA hely a következő újraindexeléskor szabadul fel."));
}

}  // namespace kavina::maintenance
