#include "foundation/TDataModule1.h"

#include <stdexcept>

namespace kavina {
namespace {

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

TDataModule1::TDataModule1(QObject* parent) : QObject(parent) {}

// The engine's handles cut their own links when destroyed, in any order.
TDataModule1::~TDataModule1() = default;

void TDataModule1::bind(const std::string& dataFolder) {
    close();
    m_folder = withSeparator(dataFolder);
    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        auto handle = std::make_unique<TableHandle>(m_folder, def.fileName);
        const QString name = QString::fromStdString(def.handleName);
        handle->setSharedHooks([this, name] { emit recordWritten(name); });
        m_handles[def.id] = std::move(handle);
    }
}

void TDataModule1::open(const std::string& dataFolder) {
    bind(dataFolder);
    try {
        for (const TableDef& def : catalogue::tables())
            if (m_handles.count(def.id)) openOne(def, Order::Default);
    } catch (...) {
        close();
        throw;
    }
}

void TDataModule1::close() {
    // Details first: a link must not outlive its master's open table.
    for (auto& [id, handle] : m_handles)
        if (catalogue::table(id).detailOf) handle->clearMasterLink();
    for (auto& [id, handle] : m_handles) handle->close();
    m_handles.clear();
    m_folder.clear();
}

TableHandle& TDataModule1::handle(TableId id) {
    const auto it = m_handles.find(id);
    if (it == m_handles.end())
        throw std::logic_error("the data module has no open handle for " + catalogue::table(id).fileName);
    return *it->second;
}

void TDataModule1::reopen(TableId id, Order order) {
    const TableDef& def = catalogue::table(id);
    closeOne(def);
    openOne(def, order);
}

void TDataModule1::openTable(TableId id, Order order) {
    if (!handle(id).isOpen()) openOne(catalogue::table(id), order);
}

void TDataModule1::closeTable(TableId id) {
    closeOne(catalogue::table(id));
}

void TDataModule1::closeOne(const TableDef& def) {
    TableHandle& h = handle(def.id);
    h.clearMasterLink();
    for (const TableDef& other : catalogue::tables())
        if (other.detailOf && other.detailOf->master == def.id) handle(other.id).clearMasterLink();
    h.close();
}

// Opens the handle unless its optional file is missing, and links it both ways: to its master
// and to the details that follow it.
void TDataModule1::openOne(const TableDef& def, Order order) {
    TableHandle& h = handle(def.id);
    if (def.optional && !catalogue::existsIn(def, m_folder)) return;
    h.open();
    h.setOrder(order == Order::Default ? def.defaultOrder : def.orderAfterReindex);
    if (def.detailOf) {
        TableHandle& master = handle(def.detailOf->master);
        if (master.isOpen()) h.setMasterLink(master, def.detailOf->linkField, def.detailOf->linkField);
    }
    for (const TableDef& other : catalogue::tables()) {
        if (!other.detailOf || other.detailOf->master != def.id) continue;
        TableHandle& detail = handle(other.id);
        if (detail.isOpen()) detail.setMasterLink(h, other.detailOf->linkField, other.detailOf->linkField);
    }
}

}  // namespace kavina
