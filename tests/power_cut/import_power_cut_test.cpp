// An import and an Undo Last Import with the power cut at each of their steps: after the next
// start the list holds every old price or every new one, never some of each, and an import or
// an undoing that said it was done stays done.
#include <gtest/gtest.h>

#include "power_cut.h"
#include "pricelists/import_file.h"
#include "pricelists/import_plan.h"
#include "pricelists/item_file.h"
#include "pricelists/price_import.h"
#include "store/amount.h"

namespace quantora {
namespace {

using namespace testing;

constexpr int kKept = 8;     // in the list and in the supplier's file, at a new price
constexpr int kMissing = 3;  // in the list only: deleted
constexpr int kAdded = 4;    // in the file only

std::string Name(int i) { return "Item " + std::to_string(i); }

class ImportPowerCut : public ::testing::Test {
  protected:
    void SetUp() override {
        FileLayerInUse use(before);
        paths = NewDataFolder(settings);
        list = paths.ListFolder(0);
        for (int i = 0; i < kKept; ++i)
            WriteItemPrice(list, Name(i), Amount::FromRaw(10'000 + i), true);
        for (int i = kKept + kAdded; i < kKept + kAdded + kMissing; ++i)
            WriteItemPrice(list, Name(i), Amount::FromRaw(10'000 + i), true);
        before.FlushDisk("/");
        old = FilesUnder(before, list);
    }

    void Import() {
        std::string csv = "Name,Price\n";
        for (int i = 0; i < kKept + kAdded; ++i)
            csv += Name(i) + "," + std::to_string(300 + i) + ".25\n";
        ImportFile file(csv);
        ImportChoices choices = GuessChoices(file);
        choices.deleteMissing = true;
        ApplyImport(list, PlanImport(file, choices, ReadListContents(list)));
    }

    // "" when the list after the next start is whole: the items before or the items after,
    // and the one the user was told of once the action said it was done.
    std::string Check(const MemoryDisk& disk, bool done, const std::string& whenDone) {
        std::map<std::string, std::string> items = FilesUnder(disk, list);
        if (items == old) return done && whenDone == "new" ? "done, then undone" : "";
        if (items == imported) return done && whenDone == "old" ? "undone, then back" : "";
        std::string mixed;
        for (const auto& [name, bytes] : items)
            if (!old.contains(name) || old.at(name) != bytes) mixed += name + "; ";
        return "a mix: " + std::to_string(items.size()) + " items, new or changed " + mixed;
    }

    MemoryDisk before;
    Settings settings;
    DataPaths paths;
    std::string list;
    std::map<std::string, std::string> old, imported;
};

TEST_F(ImportPowerCut, TheListHoldsEveryOldPriceOrEveryNewOne) {
    {
        MemoryDisk whole = before;
        FileLayerInUse use(whole);
        Import();
        imported = FilesUnder(whole, list);
    }
    ASSERT_NE(imported, old);
    ASSERT_EQ(imported.size(), static_cast<std::size_t>(kKept + kAdded));
    bool done = false;
    auto import = [&] {
        done = false;
        Import();
        done = true;
    };
    ExpectEveryCutSurvived(
        "import", before, import, [] { StartAgain(); },
        [&](const MemoryDisk& disk) { return Check(disk, done, "new"); }, kKept + kAdded);
}

TEST_F(ImportPowerCut, AnUndoingPutsBackEveryOldPriceOrNone) {
    {
        FileLayerInUse use(before);
        Import();
        before.FlushDisk("/");
        imported = FilesUnder(before, list);
    }
    bool done = false;
    auto undo = [&] {
        done = false;
        UndoLastImport(list);
        done = true;
    };
    ExpectEveryCutSurvived(
        "undo", before, undo, [] { StartAgain(); },
        [&](const MemoryDisk& disk) { return Check(disk, done, "old"); }, kKept + kAdded);
}

}  // namespace
}  // namespace quantora
