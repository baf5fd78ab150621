#include "store/name_lookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(FindFile, ExactNameFirstThenAnyLetterCase) {
    TempFolder dir;
    WriteBytes(dir / "Nails", "");
    EXPECT_EQ(FindFile(dir.path(), "Nails"), "Nails");
    EXPECT_EQ(FindFile(dir.path(), "NAILS"), "Nails");
    EXPECT_EQ(FindFile(dir.path(), "Nail"), std::nullopt);
    WriteBytes(dir / "nails", "");
    EXPECT_EQ(FindFile(dir.path(), "nails"), "nails");
    EXPECT_EQ(FindFile(dir.path(), "Nails"), "Nails");
}

TEST(FindFile, FoldersHiddenFilesAndUnsafeNamesAreNoFiles) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "Sub");
    WriteBytes(dir / ".hidden", "");
    WriteBytes(dir / "Item", "");
    EXPECT_EQ(FindFile(dir.path(), "Sub"), std::nullopt);
    EXPECT_EQ(FindFile(dir.path(), "sub"), std::nullopt);
    EXPECT_EQ(FindFile(dir.path(), ".hidden"), std::nullopt);
    EXPECT_EQ(FindFile(dir.path(), ""), std::nullopt);
    EXPECT_EQ(
        FindFile(dir.path(),
                 "../" + std::string(std::filesystem::path(dir.path()).parent_path().filename()) +
                     "/Item"),
        std::nullopt);
    EXPECT_EQ(FindFile(dir / "missing/", "Item"), std::nullopt);
    std::vector<std::string> listed = ListNormalFiles(dir.path());
    EXPECT_EQ(listed, std::vector<std::string>{"Item"});
}

TEST(NameResolver, AgreesWithFindFileAndListsAFolderOnlyOnAMiss) {
    TempFolder dir;
    WriteBytes(dir / "Bolt", "");
    WriteBytes(dir / "Widget", "");
    NameResolver resolver;
    EXPECT_EQ(resolver.Find(dir.path(), "bolt"), "Bolt");
    EXPECT_EQ(resolver.Find(dir.path(), "WIDGET"), "Widget");
    EXPECT_EQ(resolver.Find(dir.path(), "Screw"), std::nullopt);
    EXPECT_EQ(resolver.Find(dir.path(), "Bolt"), "Bolt");
    EXPECT_EQ(resolver.Find(dir.path(), "a/b"), std::nullopt);
}

}  // namespace
}  // namespace quantora
