#pragma once
// A new data folder, empty but for the reference rows, with the data module open on it: the
// ground of the tests that work on the shared handles.

#include <gtest/gtest.h>

#include "dbase/TestFolder.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina {

class OpenDataFolder : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
    }
};

}  // namespace kavina
