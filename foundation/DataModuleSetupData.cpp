#include "foundation/DataModuleSetupData.h"

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/SettingsRecord.h"

namespace kavina {
namespace {

// One field of every visible record, leaving the shared handle on the record it was on.
QStringList column(TableHandle& handle, const Field& field) {
    QStringList values;
    if (!handle.isOpen()) return values;
    const CursorMark mark = handle.bookmark();
    for (handle.first(); !handle.eof() && !handle.isEmpty(); handle.next()) values << handle.asString(field);
    handle.gotoBookmark(mark);
    return values;
}

}  // namespace

QString DataModuleSetupData::dataFolder() const {
    return QString::fromStdString(m_module.dataFolder());
}

SetupRecord DataModuleSetupData::readRecord() {
    SettingsRecord settings(m_module.UserTable());
    settings.reread();
    SetupRecord record;
    if (!settings.exists()) return record;
    for (const auto& f : setupTextFields()) record.*f.member = settings.text(f.field);
    for (const auto& f : setupIntegerFields()) record.*f.member = int(settings.integer(f.field));
    for (const auto& f : setupNumberFields()) record.*f.member = settings.number(f.field);
    return record;
}

void DataModuleSetupData::writeRecord(const SetupRecord& record) {
    TableHandle& table = m_module.UserTable();
    SettingsRecord settings(table);
    settings.reread();
    RecordEdit change = settings.exists() ? RecordEdit::edit(table) : RecordEdit::append(table);
    for (const auto& f : setupTextFields()) settings.setText(f.field, record.*f.member);
    for (const auto& f : setupIntegerFields()) settings.setInteger(f.field, record.*f.member);
    for (const auto& f : setupNumberFields()) settings.setNumber(f.field, record.*f.member);
    change.post();
}

QStringList DataModuleSetupData::vatGroups() {
    return column(m_module.AFATable(), fields::AFA::MEGNEVEZES);
}

QStringList DataModuleSetupData::paymentMethods() {
    return column(m_module.FizmodTable(), fields::Fizmod::FIZMOD);
}

void DataModuleSetupData::rereadCategories() {
    m_module.KategoriaTable().refresh();
}

}  // namespace kavina
