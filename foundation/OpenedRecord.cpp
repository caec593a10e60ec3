#include "foundation/OpenedRecord.h"

#include "dbase/DbError.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"

namespace kavina {

namespace {

// Shows every record for as long as it lives, then puts the filter back.
class Unfiltered {
public:
    explicit Unfiltered(TableHandle& handle) : m_handle(handle), m_filtered(handle.filtered()) {
        if (m_filtered) m_handle.setFiltered(false);
    }
    ~Unfiltered() {
        try {
            if (m_filtered) m_handle.setFiltered(true);
        } catch (...) {
            // The filter was in force before; switching it back on cannot meet a new error that
            // the save's own error would not already report.
        }
    }
    Unfiltered(const Unfiltered&) = delete;
    Unfiltered& operator=(const Unfiltered&) = delete;

private:
    TableHandle& m_handle;
    bool m_filtered;
};

}  // namespace

OpenedRecord::OpenedRecord(TableHandle& handle, std::optional<Field> key, OpenedRecordTexts texts)
    : m_handle(handle), m_key(key), m_texts(std::move(texts)), m_mark(handle.bookmark()) {
    if (m_key) m_keyValue = m_handle.asString(*m_key);
    for (int i = 0; i < m_handle.fieldCount(); ++i) m_read.push_back(m_handle.asString(i));
}

namespace {

bool sameName(const QString& name, const Field& field) {
    return name.compare(QString::fromUtf8(field.name.data(), int(field.name.size())), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool OpenedRecord::isHidden(const QString& fieldName) const {
    for (const Field& field : m_texts.hidden)
        if (sameName(fieldName, field)) return true;
    return false;
}

bool OpenedRecord::isIgnored(const QString& fieldName) const {
    for (const Field& field : m_texts.ignored)
        if (sameName(fieldName, field)) return true;
    return false;
}

QString OpenedRecord::labelOf(const QString& fieldName) const {
    for (const auto& [field, label] : m_texts.labels)
        if (sameName(fieldName, field)) return label;
    return fieldName;
}

std::vector<QString> OpenedRecord::valuesNow() const {
    std::vector<QString> values;
    for (int i = 0; i < m_handle.fieldCount(); ++i) values.push_back(m_handle.asString(i));
    return values;
}

QStringList OpenedRecord::differences(const std::vector<QString>& before, const std::vector<QString>& now) const {
    QStringList lines;
    for (size_t i = 0; i < now.size() && i < before.size(); ++i) {
        if (now[i] == before[i]) continue;
        const QString name = QString::fromStdString(m_handle.fields()[i].name);
        if (isIgnored(name)) continue;
        if (isHidden(name))
            lines << labelOf(name) + QStringLiteral(": megváltozott");
        else
            lines << labelOf(name) + QStringLiteral(": ") + before[i] + QStringLiteral(" → ") + now[i];
    }
    return lines;
}

bool OpenedRecord::find() {
    // Read afresh: a record another workstation deleted is found deleted, not as it was.
    m_handle.refresh();
    return m_handle.gotoBookmark(m_mark) && (!m_key || m_handle.asString(*m_key) == m_keyValue);
}

// One attempt at the save. The clerk is asked while the record is not locked; if it changed
// again before the lock, the attempt gives up and the save asks again.
OpenedRecord::Attempt OpenedRecord::attempt(Prompt& prompt, const std::function<void()>& write,
                                            std::vector<QString>& accepted) {
    Unfiltered all(m_handle);
    if (!find()) throw RuleError(m_texts.gone);
    const std::vector<QString> seen = valuesNow();
    if (!differences(accepted, seen).isEmpty()) {
        // Everything changed since the dialog read the record, also what was asked about before.
        const QString question = m_texts.changed + QLatin1Char('\n') +
                                 differences(m_read, seen).join(QLatin1Char('\n')) +
                                 QStringLiteral("\nFelülírja ezeket a változásokat?");
        if (!prompt.askYesNo(QStringLiteral("Figyelem!"), question, Icon::Warning)) return Attempt::Declined;
        accepted = seen;
    }
    try {
        RecordEdit change = RecordEdit::edit(m_handle);
        if (!differences(accepted, valuesNow()).isEmpty()) return Attempt::ChangedAgain;
        write();
        change.post();
        m_read = valuesNow();  // a later save of the same editor compares with what it stored
        return Attempt::Stored;
    } catch (const dbase::DbError&) {
        // Deleted between the question and the lock: the engine refuses the edit.
        if (!find()) throw RuleError(m_texts.gone);
        throw;
    }
}

bool OpenedRecord::save(Prompt& prompt, const std::function<void()>& write) {
    std::vector<QString> accepted = m_read;
    Attempt result = Attempt::ChangedAgain;
    while (result == Attempt::ChangedAgain) result = attempt(prompt, write, accepted);
    if (!m_handle.gotoBookmark(m_mark)) m_handle.first();
    return result == Attempt::Stored;
}

}  // namespace kavina
