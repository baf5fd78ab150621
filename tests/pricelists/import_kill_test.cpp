// An import killed at any moment: every item keeps its old price or has its new one, never a
// torn file; the same import run again finishes the job; and undoing it then puts back the
// list as it was before the first try.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "pricelists/item_file.h"
#include "pricelists/price_import.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

constexpr int kKept = 150;    // in the list and in the file, at a new price
constexpr int kMissing = 30;  // in the list only: deleted
constexpr int kAdded = 60;    // in the file only

std::string Name(int i) { return "Item " + std::to_string(i); }
Amount OldPrice(int i) { return Amount::FromRaw(10'000 + i); }
Amount NewPrice(int i) { return Amount::FromRaw(20'000 + i); }

class ImportKilled : public ::testing::Test {
  protected:
    void SetUp() override {
        csv = "Name,Price\n";
        for (int i = 0; i < kKept + kAdded; ++i)
            csv += Name(i) + "," + AmountText(NewPrice(i)) + "\n";
    }

    void ListBefore() {
        for (const std::string& name : ListItemNames(list.path())) ::unlink((list / name).c_str());
        ForgetLastImport(list.path());
        for (int i = 0; i < kKept; ++i) WriteItemPrice(list.path(), Name(i), OldPrice(i), false);
        for (int i = kKept + kAdded; i < kKept + kAdded + kMissing; ++i)
            WriteItemPrice(list.path(), Name(i), OldPrice(i), false);
    }

    void Import() {
        ImportFile file(csv);
        ImportChoices choices = GuessChoices(file);
        choices.deleteMissing = true;
        ApplyImport(list.path(), PlanImport(file, choices, ReadListContents(list.path())));
    }

    // Every item there is whole and holds one of its two prices; nothing else is there.
    void ExpectNoTornItem() {
        for (const std::string& name : ListItemNames(list.path())) {
            std::string bytes = ReadBytes(list / name);
            ASSERT_EQ(bytes.size(), kItemFileSize) << name;
            int i = std::stoi(name.substr(5));
            Amount price = DecodeItemPrice(bytes);
            ASSERT_TRUE(price == OldPrice(i) || price == NewPrice(i)) << name;
        }
    }

    std::map<std::string, std::string> Items() {
        std::map<std::string, std::string> items;
        for (const std::string& name : ListItemNames(list.path()))
            items[name] = ReadBytes(list / name);
        return items;
    }

    TempFolder list;
    std::string csv;
};

TEST_F(ImportKilled, NoItemIsTornAndTheSameImportFinishesAndUndoesWhole) {
    ListBefore();
    auto before = Items();
    auto started = std::chrono::steady_clock::now();
    Import();
    auto after = Items();
    auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::steady_clock::now() - started)
                    .count();
    ASSERT_EQ(after.size(), static_cast<std::size_t>(kKept + kAdded));

    const char* wanted = std::getenv("QUANTORA_KILLS");
    int kills = wanted ? std::atoi(wanted) : 12;
    std::mt19937 random(20261207);
    std::uniform_int_distribution<long> wait(0, took);
    for (int kill = 0; kill < kills; ++kill) {
        ListBefore();
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Import();
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(wait(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        RemoveStaleTemporaryFiles(list.path());  // as the next start does
        ExpectNoTornItem();
        if (HasFatalFailure()) return;
        Import();
        ASSERT_EQ(Items(), after) << "after kill " << kill;
        UndoLastImport(list.path());
        ASSERT_EQ(Items(), before) << "after kill " << kill;
    }
}

// The next start (or the next opening of the list) finishes from the record what a kill cut
// short, with nothing run again by hand: an import comes out whole, an undoing puts back the
// list as it was before the import.
TEST_F(ImportKilled, TheNextOpeningFinishesAnImportOrAnUndoingFromItsRecord) {
    ListBefore();
    auto before = Items();
    Import();
    auto after = Items();
    const char* wanted = std::getenv("QUANTORA_KILLS");
    int kills = wanted ? std::atoi(wanted) : 12;
    std::mt19937 random(20261208);
    for (bool undoing : {false, true}) {
        for (int kill = 0; kill < kills; ++kill) {
            ListBefore();
            if (undoing) Import();
            pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                undoing ? UndoLastImport(list.path()) : Import();
                ::_exit(0);
            }
            // Killed anywhere from its start to a little past the time a whole run takes.
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 60'000)(random));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            RemoveStaleTemporaryFiles(list.path());
            ExpectNoTornItem();
            if (HasFatalFailure()) return;
            ImportLeftOver left = FinishInterruptedImport(list.path());
            if (undoing) {
                // Killed before the undoing began, the import stands whole; after, it is gone.
                ASSERT_EQ(Items(), CanUndoLastImport(list.path()) ? after : before)
                    << "undoing, kill " << kill;
                continue;
            }
            if (!CanUndoLastImport(list.path())) {  // killed before anything changed
                ASSERT_EQ(Items(), before) << "kill " << kill;
                continue;
            }
            ASSERT_EQ(Items(), after) << "kill " << kill << " left " << static_cast<int>(left);
            UndoLastImport(list.path());
            ASSERT_EQ(Items(), before) << "kill " << kill;
        }
    }
}

}  // namespace
}  // namespace quantora
