#pragma once
// A fresh data folder with the data module open, a settings record with the price multipliers
// and rounding, and products added straight into the products table, for the stock tests.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "documents/stock/StockRule.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {

// Waits for a child process; its exit code, or -1 when it did not exit by itself.
inline int exitCode(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class StockFolder : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& settings = data.UserTable();
        settings.append();
        settings.setInteger(fields::User::ANYAGKOD, 0);
        settings.setInteger(fields::User::SELOTAG, 1);
        settings.setFloat(fields::User::SZORZO1, 25);
        settings.setFloat(fields::User::SZORZO2, 20);
        settings.setFloat(fields::User::SZORZO3, 10);
        settings.post();
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    // Appends a product (a service when asked) and returns where it is.
    ProductRecord addProduct(double code, const QString& name, double stock, double vatRate = 27,
                             bool service = false) {
        namespace A = fields::Anyag;
        TableHandle& p = data.AnyagTable();
        p.append();
        p.setFloat(A::ANYAGKOD, code);
        p.setString(A::MEGNEVEZES, name);
        p.setString(A::CIKKSZAM, QStringLiteral("C-%1").arg(code));
        p.setString(A::EGYSEG, QStringLiteral("db"));
        p.setFloat(A::MENNYISEG, stock);
        p.setFloat(A::AFAKULCS, vatRate);
        p.setLogical(A::TERMEK, service);
        p.post();
        return {uint32_t(p.bookmark().id), code};
    }

    // The stock as stored on disk now.
    double stockOf(double code) {
        TableHandle& p = data.AnyagTable();
        p.refresh();
        EXPECT_TRUE(p.locate({{fields::Anyag::ANYAGKOD, QString::number(code)}}));
        return p.asFloat(fields::Anyag::MENNYISEG);
    }
};

}  // namespace kavina::documents
