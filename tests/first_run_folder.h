// A GoogleTest fixture for core tests that work on a data folder as the first start of
// the program leaves it: the default folder is the data folder.
#pragma once

#include <gtest/gtest.h>

#include "store/data_folder.h"
#include "store/settings.h"
#include "test_files.h"

namespace quantora::testing {

class FirstRunFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = ReadSettings(home.path());
        paths = SetUpDataFolder(home.path(), settings).paths;
    }
    TempFolder home;
    Settings settings;
    DataPaths paths;
};

}  // namespace quantora::testing
