#include "foundation/TableHandle.h"

#include "foundation/StorableText.h"

#include "dbase/DbError.h"

namespace kavina {

TableHandle::TableHandle(std::string folder, std::string fileName) : m_table(std::move(folder), std::move(fileName)) {}

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
    for (const auto& [field, value] : values) asText.emplace_back(field, value.toStdString());
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

void TableHandle::writeText(int field, const QString& value) {
    requireStorableText(value);
    m_table.setString(field, value.toStdString());
}

}  // namespace kavina
