#pragma once
// A fresh data folder with the data module open on it and an empty settings record, for the
// partner register's tests; a partner is added as the register adds one.

#include <gtest/gtest.h>

#include "ScriptedPartnerWindows.h"
#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "documents/partners/PartnerRegister.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {

class PartnerFolder : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;
    ScriptedPartnerWindows windows;

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        data.UserTable().append();
        data.UserTable().setInteger(fields::User::PARTNERKOD, 0);
        data.UserTable().post();
    }
    void TearDown() override {
        EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString();
        EXPECT_TRUE(windows.failures().isEmpty()) << windows.failures().join('\n').toStdString();
    }

    void addPartner(const QString& name, const QString& group, const QString& street = QStringLiteral("Fő utca 1.")) {
        PartnerFields f;
        f.name = name;
        f.group = group;
        f.street = street;
        createPartner(data.PartnerTable(), data.UserTable(), f);
    }
};

}  // namespace kavina::documents
