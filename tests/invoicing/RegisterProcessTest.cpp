// The register's serial changes with other workstations at work: three other processes and
// this one reprint the same documents at once, and no raise is lost; every table and tag of
// the folder checks clean afterwards.

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

#include "RegisterFolder.h"
#include "dbase/FolderCheck.h"
#include "dbase/Table.h"
#include "foundation/FieldFilter.h"

namespace kavina::invoicing {
namespace {

class RegisterProcessTest : public RegisterFolder {
protected:
    std::vector<std::string> checkEveryTable() const { return testing_support::checkAllTables(dir.path()); }
};

TEST_F(RegisterProcessTest, ReprintsOfFourWorkstationsAtOnceLoseNoRaiseOfTheSerial) {
    store({.number = "SZA2008/00001", .serial = 1});
    store({.number = "SZA2008/00002", .serial = 5});
    constexpr int kReprints = 40;
    std::vector<std::unique_ptr<QProcess>> others;
    for (const char* number : {"SZA2008/00001", "SZA2008/00001", "SZA2008/00002"}) {
        auto other = std::make_unique<QProcess>();
        other->start(QStringLiteral(REGISTER_WORKSTATION),
                     {QString::fromStdString(dir.path()), QString::fromLatin1(number), QString::number(kReprints)});
        ASSERT_TRUE(other->waitForStarted());
        others.push_back(std::move(other));
    }
    RegisterRequest request;
    DocumentRegister r(data, prompt, windows, request, options());
    r.open();
    for (int i = 0; i < kReprints; ++i) {
        ASSERT_TRUE(goTo("SZA2008/00002"));
        prompt.answerYesNo(false);
        r.copy();
    }
    for (auto& other : others) {
        ASSERT_TRUE(other->waitForFinished(120000));
        EXPECT_EQ(other->exitCode(), 0) << other->readAllStandardError().toStdString();
    }
    data.SzamlaTable().refresh();
    EXPECT_EQ(serialOf("SZA2008/00001"), 1 + 2 * kReprints);
    EXPECT_EQ(serialOf("SZA2008/00002"), 5 + 2 * kReprints);
    data.close();
    EXPECT_EQ(checkEveryTable(), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina::invoicing
