#pragma once
// The settings dialog's view of the data folder in the running program: the settings record
// on the data module's user.dbf handle, the VAT groups and payment methods of its handles,
// and the category handle to re-read.
#include "foundation/Setup.h"
#include "foundation/TDataModule1.h"

namespace kavina {

class DataModuleSetupData : public SetupData {
public:
    explicit DataModuleSetupData(TDataModule1& module) : m_module(module) {}

    QString dataFolder() const override;
    SetupRecord readRecord() override;
    // Appends the record when the table is empty.
    void writeRecord(const SetupRecord& record) override;
    QStringList vatGroups() override;
    QStringList paymentMethods() override;
    void rereadCategories() override;

private:
    TDataModule1& m_module;
};

}  // namespace kavina
