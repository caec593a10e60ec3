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
}

void TableHandle::close() {
    m_table.close();
}

void TableHandle::setOrder(const std::string& order) {
    postPending();
    m_table.setOrder(order);
}

void TableHandle::setOrder(const Field& field) {
    checkTable(field);
    setOrder(field.text());
}

bool TableHandle::findKey(std::string_view value) {
    postPending();
    return m_table.findKey(value);
}

bool TableHandle::findNearest(std::string_view value) {
    postPending();
    return m_table.findNearest(value);
}

void TableHandle::refresh() {
    postPending();
    m_table.refresh();
}

void TableHandle::setMasterLink(TableHandle& master, const std::string& masterField, const std::string& detailField) {
    m_table.setMasterLink(master.m_table, masterField, detailField);
}

void TableHandle::first() {
    postPending();
    m_table.first();
}

void TableHandle::last() {
    postPending();
    m_table.last();
}

void TableHandle::next() {
    postPending();
    m_table.next();
}

void TableHandle::prior() {
    postPending();
    m_table.prior();
}

bool TableHandle::gotoBookmark(const CursorMark& mark) {
    postPending();
    return m_table.gotoBookmark({uint32_t(mark.id)});
}

bool TableHandle::locate(const FieldValues& values, const dbase::LocateOptions& options) {
    if (values.empty()) dbase::fail(sourceName(), "a locate needs at least one field");
    std::vector<std::pair<std::string, std::string>> asText;
    for (const auto& [field, value] : values) {
        checkTable(field);
        asText.emplace_back(field.text(), value.toStdString());
    }
    postPending();
    return m_table.locate(asText, options);
}

// A shared handle starts every new or changed record from what is on disk now; the engine's
// edit re-reads the record itself, the refresh brings in what other workstations appended.
void TableHandle::append() {
    postPending();
    if (m_shared) m_table.refresh();
    m_table.append();
}

void TableHandle::edit() {
    postPending();
    if (m_shared) m_table.refresh();
    m_table.edit();
}

void TableHandle::post() {
    postPending();
}

void TableHandle::deleteRecord() {
    postPending();
    m_table.deleteRecord();
    changed();
}

}  // namespace kavina
