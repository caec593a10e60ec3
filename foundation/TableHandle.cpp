#include "foundation/TableHandle.h"

#include <strings.h>

#include "dbase/DbError.h"
#include "foundation/Catalogue.h"

namespace kavina {

TableHandle::TableHandle(std::string folder, std::string fileName) : m_table(folder, fileName) {
    if (const TableDef* def = catalogue::findByFileName(fileName)) m_catalogueName = def->fileName;
}

void TableHandle::checkTable(const Field& field) const {
    if (m_catalogueName.empty()) return;
    if (field.table.size() == m_catalogueName.size() &&
        ::strncasecmp(field.table.data(), m_catalogueName.data(), m_catalogueName.size()) == 0)
        return;
    dbase::fail(sourceName(),
                "the field " + field.text() + " of " + std::string(field.table) + " is not a field of this table");
}

TableHandle::~TableHandle() = default;

void TableHandle::setSharedHooks(ChangeListener listener) {
    m_listener = std::move(listener);
    m_shared = true;
}

// The engine posts a pending change itself before it moves; posting here first lets the
// listener hear of it.
void TableHandle::postPending() {
    if (!isEditing()) return;
    m_table.post();
    changed();
}

void TableHandle::changed() {
    if (m_listener) m_listener();
    notify(CursorChange::Written);
}

void TableHandle::open(const dbase::OpenOptions& options) {
    m_table.open(options);
    notify(CursorChange::Reshaped);
}

void TableHandle::close() {
    m_table.close();
    notify(CursorChange::Reshaped);
}

void TableHandle::setFilter(const std::string& expression) {
    m_table.setFilter(expression);
    notify(CursorChange::Reshaped);
}

void TableHandle::setFiltered(bool on) {
    m_table.setFiltered(on);
    notify(CursorChange::Reshaped);
}

void TableHandle::setFilterOptions(const dbase::FilterOptions& options) {
    m_table.setFilterOptions(options);
    notify(CursorChange::Reshaped);
}

void TableHandle::clearMasterLink() {
    m_table.clearMasterLink();
    notify(CursorChange::Reshaped);
}

void TableHandle::setOrder(const std::string& order) {
    postPending();
    m_table.setOrder(order);
    notify(CursorChange::Reshaped);
}

void TableHandle::setOrder(const Field& field) {
    checkTable(field);
    setOrder(field.text());
}

bool TableHandle::findKey(std::string_view value) {
    postPending();
    const bool found = m_table.findKey(value);
    notify(CursorChange::Moved);
    return found;
}

bool TableHandle::findNearest(std::string_view value) {
    postPending();
    const bool found = m_table.findNearest(value);
    notify(CursorChange::Moved);
    return found;
}

void TableHandle::refresh() {
    postPending();
    m_table.refresh();
    // Other workstations' records may have come or gone.
    notify(CursorChange::Reshaped);
}

void TableHandle::setMasterLink(TableHandle& master, const std::string& masterField, const std::string& detailField) {
    m_table.setMasterLink(master.m_table, masterField, detailField);
    notify(CursorChange::Reshaped);
}

void TableHandle::first() {
    postPending();
    m_table.first();
    notify(CursorChange::Moved);
}

void TableHandle::last() {
    postPending();
    m_table.last();
    notify(CursorChange::Moved);
}

void TableHandle::next() {
    postPending();
    m_table.next();
    notify(CursorChange::Moved);
}

void TableHandle::prior() {
    postPending();
    m_table.prior();
    notify(CursorChange::Moved);
}

bool TableHandle::gotoBookmark(const CursorMark& mark) {
    postPending();
    const bool found = m_table.gotoBookmark({uint32_t(mark.id)});
    if (found) notify(CursorChange::Moved);
    return found;
}

bool TableHandle::locate(const FieldValues& values, const dbase::LocateOptions& options) {
    if (values.empty()) dbase::fail(sourceName(), "a locate needs at least one field");
    std::vector<std::pair<std::string, std::string>> asText;
    for (const auto& [field, value] : values) {
        checkTable(field);
        asText.emplace_back(field.text(), value.toStdString());
    }
    postPending();
    const bool found = m_table.locate(asText, options);
    if (found) notify(CursorChange::Moved);
    return found;
}

// A shared handle starts every new or changed record from what is on disk now; the engine's
// edit re-reads the record itself, the refresh brings in what other workstations appended.
void TableHandle::append() {
    postPending();
    if (m_shared) m_table.refresh();
    m_table.append();
    notify(CursorChange::Moved);
}

void TableHandle::edit() {
    postPending();
    if (m_shared) m_table.refresh();
    m_table.edit();
}

void TableHandle::post() {
    postPending();
}

void TableHandle::cancel() {
    m_table.cancel();
    notify(CursorChange::Moved);
}

void TableHandle::deleteRecord() {
    postPending();
    m_table.deleteRecord();
    changed();
    notify(CursorChange::Moved);
}

}  // namespace kavina
