// The data folder actions killed at any moment: whatever the moment, the next start finds a
// data folder holding every file of the data byte for byte, and the folder a backup or a
// restore copies from is as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "datafolder/folder_actions.h"
#include "folder_snapshot.h"
#include "store/data_file.h"
#include "store/data_folder.h"

namespace quantora {
namespace {

using namespace testing;

constexpr int kKills = 100;
constexpr int kGroups = 4, kJobsPerGroup = 400, kItems = 400;

struct Quiet : FolderActionObserver {
    void StepStarted(const std::string&, std::uint64_t) override {}
    void FileDone() override {}
};

void MakeBigData(const std::string& folder, char mark) {
    for (int group = 0; group < kGroups; ++group) {
        EnsureFolder(folder + "Jobs" + std::to_string(group) + "/");
        for (int job = 0; job < kJobsPerGroup; ++job)
            WriteBytes(folder + "Jobs" + std::to_string(group) + "/Job " + std::to_string(job),
                       std::string(98 * (1 + job % 3), static_cast<char>(mark + group)));
    }
    EnsureFolder(folder + "Lists0/");
    for (int item = 0; item < kItems; ++item)
        WriteBytes(folder + "Lists0/Item " + std::to_string(item), std::string(8, mark));
    WriteBytes(folder + "Groups.dat", std::string(70 * kGroups, mark));
    WriteBytes(folder + "PriceLists.dat", std::string(70, mark));
}

// These runs kill the process, not the power: a memory-backed folder, where it exists, keeps
// each action's flush to the disk from costing the hundreds of runs most of their time.
std::filesystem::path SceneBase() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

class FolderActionKilled : public ::testing::TestWithParam<FolderAction> {
  protected:
    // A first-run default folder holding the data, and a backup beside it.
    struct Scene {
        TempFolder home{SceneBase()}, elsewhere{SceneBase()};
        Settings settings;
        DataPaths paths;
        std::string selected;
        FolderSnapshot data, backup;
    };

    static void SetUpScene(Scene& scene, FolderAction action) {
        scene.paths = SetUpDataFolder(scene.home.path(), scene.settings).paths;
        MakeBigData(scene.home.path(), 'a');
        scene.data = DataOnly(Snapshot(scene.home.path()));
        scene.selected = scene.elsewhere / "Quantora_Data/";
        if (action != FolderAction::Move) {
            MakeBigData(scene.selected, 'k');
            scene.backup = Snapshot(scene.selected);
        }
    }

    static void RunToEnd(Scene& scene, FolderAction action) {
        Quiet quiet;
        RunFolderAction(action, scene.paths, scene.selected, scene.settings, quiet);
    }

    // What the next start finds, and whether that is the data whole.
    static void ExpectNothingLost(Scene& scene, FolderAction action, int kill) {
        Settings settings = ReadSettings(scene.home.path());
        DataFolderSetUp setUp = SetUpDataFolder(scene.home.path(), settings);
        ASSERT_EQ(setUp.unreachableFolder, std::nullopt) << "after kill " << kill;
        const std::string& found = setUp.paths.dataFolder;
        bool whole = HoldsEvery(found, scene.data) ||
                     (action == FolderAction::Restore && HoldsEvery(found, DataOnly(scene.backup)));
        ASSERT_TRUE(whole) << "after kill " << kill << " the data folder " << found
                           << " is not complete";
        if (action == FolderAction::Backup) {
            ASSERT_EQ(found, scene.home.path());
        }
        if (action == FolderAction::Restore) {
            ASSERT_EQ(Snapshot(scene.selected), scene.backup)
                << "the backup changed, kill " << kill;
        }
    }
};

TEST_P(FolderActionKilled, TheDataIsWholeInTheFolderTheNextStartFinds) {
    FolderAction action = GetParam();
    // How long the whole action takes, so the kills fall all over it.
    auto duration = [&] {
        Scene scene;
        SetUpScene(scene, action);
        auto start = std::chrono::steady_clock::now();
        RunToEnd(scene, action);
        auto took = std::chrono::steady_clock::now() - start;
        ExpectNothingLost(scene, action, -1);
        return std::chrono::duration_cast<std::chrono::microseconds>(took).count();
    }();
    if (HasFatalFailure()) return;

    std::mt19937 random(20261205 + static_cast<int>(action));
    std::uniform_int_distribution<long> wait(0, duration + duration / 10);
    for (int kill = 0; kill < kKills; ++kill) {
        Scene scene;
        SetUpScene(scene, action);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RunToEnd(scene, action);
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(wait(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ExpectNothingLost(scene, action, kill);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCopyingAction, FolderActionKilled,
                         ::testing::Values(FolderAction::Move, FolderAction::Backup,
                                           FolderAction::Restore),
                         [](const auto& info) {
                             return std::string(info.param == FolderAction::Move     ? "Move"
                                                : info.param == FolderAction::Backup ? "Backup"
                                                                                     : "Restore");
                         });

}  // namespace
}  // namespace quantora
