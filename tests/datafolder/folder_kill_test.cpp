// The data folder actions stopped at any moment, by a kill at a counted step and by SIGKILL at
// a random time: whatever the moment, the next start finishes or undoes the action, and finds
// the data folder at its own path holding the old data or the new data exactly, no working
// folder left, and the folder a backup or a restore copies from as it was. The user's next
// step (the same action again, or moving back) then works as on any day.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "datafolder/data_copy.h"
#include "datafolder/folder_actions.h"
#include "folder_snapshot.h"
#include "store/data_file.h"
#include "store/data_folder.h"

namespace quantora {
namespace {

using namespace testing;

// Stops the action at its stop-th step or file, as a kill there would: nothing after it runs.
struct StopAt : FolderActionObserver {
    explicit StopAt(long stop) : left(stop) {}
    void ActionStarted(std::uint64_t) override {}
    void StepStarted(const std::string&) override { Count(); }
    void FileDone() override { Count(); }
    void Count() {
        ++counted;
        if (--left == 0) throw Killed();
    }
    struct Killed {};
    long left;
    long counted = 0;
};

struct Size {
    int groups, jobsPerGroup, items;
};
constexpr Size kSmall{3, 12, 12};
constexpr Size kBig{4, 400, 400};

void MakeData(const std::string& folder, char mark, Size size) {
    std::filesystem::create_directories(folder);
    for (int group = 0; group < size.groups; ++group) {
        EnsureFolder(folder + "Jobs" + std::to_string(group) + "/");
        for (int job = 0; job < size.jobsPerGroup; ++job)
            WriteBytes(folder + "Jobs" + std::to_string(group) + "/Job " + std::to_string(job),
                       std::string(98 * (1 + job % 3), static_cast<char>(mark + group)));
    }
    EnsureFolder(folder + "Lists0/");
    for (int item = 0; item < size.items; ++item)
        WriteBytes(folder + "Lists0/Item " + std::to_string(item), std::string(8, mark));
    WriteBytes(folder + "Groups.dat", std::string(70 * size.groups, mark));
    WriteBytes(folder + "PriceLists.dat", std::string(70, mark));
}

// These runs kill the process, not the power: a memory-backed folder, where it exists, keeps
// each action's flush to the disk from costing the hundreds of runs most of their time.
std::filesystem::path SceneBase() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// How many kills a run tries: QUANTORA_KILLS in the environment asks for a longer campaign.
int Kills(int usual) {
    const char* asked = std::getenv("QUANTORA_KILLS");
    return asked != nullptr ? std::max(1, std::atoi(asked)) : usual;
}

// A first-run default folder holding the data, and a backup (or a folder to move to) beside it.
struct Scene {
    Scene(FolderAction action, Size size) {
        paths = SetUpDataFolder(home.path(), settings).paths;
        MakeData(home.path(), 'a', size);
        data = DataOnly(Snapshot(home.path()));
        selected = elsewhere / "Quantora_Data/";
        if (action == FolderAction::Move) return;
        MakeData(selected, 'k', size);
        // Marked as a finished backup: the restore asks nothing, and a backup goes over an
        // older backup that a restore would take as it stands.
        WriteBytes(selected + kBackupCompleteMarker, "");
        backup = Snapshot(selected);
    }

    void Run(FolderAction action, FolderActionObserver& observer) {
        RunFolderAction(action, paths, selected, settings, observer);
    }

    // What the next start finds, and the user's next step from there.
    void ExpectNothingLost(FolderAction action, const std::string& when) {
        Settings read = ReadSettings(home.path());
        EXPECT_EQ(FinishInterruptedAction(home.path(), read), std::nullopt) << when;
        DataFolderSetUp setUp = SetUpDataFolder(home.path(), read);
        ASSERT_EQ(setUp.unreachableFolder, std::nullopt) << when;
        RemoveStaleTemporaryFiles(setUp.paths);  // a record cut short while it was replaced
        const std::string& found = setUp.paths.dataFolder;
        FolderSnapshot now = DataOnly(Snapshot(found));
        ASSERT_EQ(HiddenEntries(home.path()), std::vector<std::string>()) << when;
        ASSERT_EQ(HiddenEntries(found), std::vector<std::string>()) << when;
        switch (action) {
            case FolderAction::Backup: {
                ASSERT_EQ(found, home.path()) << when;
                ASSERT_EQ(now, data) << when;
                // A restore from the backup folder is refused or asks first, or brings back
                // a whole backup: the older one or this one, never a part of either.
                ActionCheck restore =
                    CheckFolderAction(FolderAction::Restore, setUp.paths, selected);
                if (!restore.refusal && !restore.incompleteBackup) {
                    FolderSnapshot held = DataOnly(Snapshot(selected));
                    ASSERT_TRUE(held == data || held == DataOnly(backup))
                        << when << ": marked complete with " << held.size() << " files";
                }
                break;
            }
            case FolderAction::Restore:
                ASSERT_EQ(found, home.path()) << when;
                ASSERT_TRUE(now == data || now == DataOnly(backup))
                    << when << ": a mixture of " << now.size() << " files " << [&] {
                           std::string d;
                           for (auto& [k, v] : now)
                               if (!data.count(k) || data.at(k) != v) d += k + ";";
                           for (auto& [k, v] : data)
                               if (!now.count(k)) d += "-" + k + ";";
                           return d;
                       }();
                ASSERT_EQ(Snapshot(selected), backup) << "the backup changed " << when;
                break;
            case FolderAction::Move: {
                ASSERT_TRUE(found == home.path() || found == selected) << when << ": " << found;
                ASSERT_EQ(now, data) << when;
                // The folder it did not end in holds no data.
                const std::string& other = found == home.path() ? selected : home.path();
                ASSERT_EQ(DataOnly(Snapshot(other)), FolderSnapshot()) << when;
                break;
            }
            case FolderAction::Use:
                break;
        }

        // The next step: the restore or backup again, or the move on to where it was going
        // or back to the default folder.
        paths = setUp.paths;
        settings = read;
        FolderActionObserver quiet;
        if (action == FolderAction::Move && found == selected) {
            RunFolderAction(action, paths, home.path(), settings, quiet);
            ASSERT_EQ(DataOnly(Snapshot(home.path())), data) << "moving back " << when;
        } else {
            Run(action, quiet);
            FolderSnapshot end =
                DataOnly(Snapshot(action == FolderAction::Move ? selected : home.path()));
            ASSERT_EQ(end, action == FolderAction::Restore ? DataOnly(backup) : data)
                << "again " << when;
        }
    }

    TempFolder home{SceneBase()}, elsewhere{SceneBase()};
    Settings settings;
    DataPaths paths;
    std::string selected;
    FolderSnapshot data, backup;
};

class FolderActionKilled : public ::testing::TestWithParam<FolderAction> {};

// Every step and file of the action in turn, on a small folder.
TEST_P(FolderActionKilled, AtEachCountedStep) {
    FolderAction action = GetParam();
    long steps = 0;
    {
        Scene scene(action, kSmall);
        StopAt counter(-1);
        scene.Run(action, counter);
        steps = counter.counted;
    }
    ASSERT_GT(steps, 50);
    long stride = std::max(1L, steps / Kills(steps));
    for (long stop = 1; stop <= steps; stop += stride) {
        Scene scene(action, kSmall);
        StopAt stopping(stop);
        EXPECT_THROW(scene.Run(action, stopping), StopAt::Killed);
        scene.ExpectNothingLost(action, "after step " + std::to_string(stop));
        if (HasFatalFailure()) return;
    }
}

// SIGKILL at random moments of a bigger action, where a kill also lands inside a file's
// own write or rename.
TEST_P(FolderActionKilled, BySignalAtAnyMoment) {
    FolderAction action = GetParam();
    // How long the whole action takes, so the kills fall all over it.
    auto duration = [&] {
        Scene scene(action, kBig);
        FolderActionObserver quiet;
        auto start = std::chrono::steady_clock::now();
        scene.Run(action, quiet);
        auto took = std::chrono::steady_clock::now() - start;
        return std::chrono::duration_cast<std::chrono::microseconds>(took).count();
    }();

    std::mt19937 random(20261205 + static_cast<int>(action));
    std::uniform_int_distribution<long> wait(0, duration + duration / 10);
    int kills = Kills(30);
    for (int kill = 0; kill < kills; ++kill) {
        Scene scene(action, kBig);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FolderActionObserver quiet;
            scene.Run(action, quiet);
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(wait(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        scene.ExpectNothingLost(action, "after kill " + std::to_string(kill));
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
