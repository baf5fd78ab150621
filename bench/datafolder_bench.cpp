// How fast the data folder window moves a big data folder about: a backup through the window
// as a user makes it, erasing a data folder, moving one to a new folder and restoring one from
// a backup. Each is compared with the system's own tools doing the same to the same folder in
// the same run: cp -a, rm -rf, and the two together.
//
// Every case runs three times, interleaved in random order with the others, and keeps its
// quickest run, and what a run leaves goes only with the scratch folder at the end. A disk
// without a journal (as this machine's) searches past every file deleted in the last minutes
// before it makes a new one: a run that comes right after a deleting one is slowed several
// times over by it, whichever of the engine or the floor it is.
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "bench_support.h"
#include "datafolder/data_copy.h"
#include "datafolder/folder_actions.h"
#include "quiet_desk.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "ui/common/application.h"
#include "ui/datafolder/data_folder_window.h"
#include "ui/session.h"

namespace quantora::bench {
namespace {

constexpr int kGroups = 50, kJobs = 500, kLists = 20, kItems = 1250;

struct Fixture {
    Fixture() {
        paths = {folder.path() + "home/", folder.path() + "home/"};
        EnsureFolder(paths.defaultFolder);
        SetUpDataFolder(paths.defaultFolder, settings);
        // A job of a few lines and an item's price: the sizes a real data folder holds.
        std::string job(98 * 6, 'j'), item(8, 'p');
        for (int group = 0; group < kGroups; ++group) {
            EnsureFolder(paths.JobFolder(group));
            for (int j = 0; j < kJobs; ++j)
                WriteFast(paths.JobFolder(group) + "Job " + std::to_string(j), job);
        }
        for (int list = 0; list < kLists; ++list) {
            EnsureFolder(paths.ListFolder(list));
            for (int i = 0; i < kItems; ++i)
                WriteFast(paths.ListFolder(list) + "Item " + std::to_string(i), item);
        }
        SettleDisk();
    }
    // A fresh name under the scratch folder for each run.
    std::string Fresh(const char* what) {
        return folder.path() + what + std::to_string(++runs) + "/";
    }
    ScratchFolder folder;
    DataPaths paths;
    Settings settings;
    int runs = 0;
};

Fixture* fixture;

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::abort();
}
std::string Quoted(const std::string& folder) {
    return "'" + folder.substr(0, folder.size() - 1) + "'";
}
void CopyWithCp(const std::string& from, const std::string& to) {
    Shell("cp -a " + Quoted(from) + " " + Quoted(to));
}

// "Select Folder" on a new folder, then "Make a backup in this folder", until "Backup
// Complete !" shows.
void EngineBackup(benchmark::State& state) {
    KeyLatch keys;
    QuietSounds sounds;
    AnsweringDialogs dialogs(keys);
    Session session(fixture->paths.defaultFolder, fixture->paths, fixture->settings, keys, sounds,
                    dialogs);
    for (auto _ : state) {
        state.PauseTiming();
        dialogs.nextFolder = fixture->Fresh("backup");
        DataFolderWindow window(nullptr, session, [] {});
        window.show();
        state.ResumeTiming();
        QTest::mouseClick(window.findChild<QPushButton*>("DataFolderBtn"), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton*>("MoveBtn2"), Qt::LeftButton);
        if (!window.findChild<QWidget*>("EndMessageFrame")->isVisible()) std::abort();
    }
}

void FloorBackup(benchmark::State& state) {
    for (auto _ : state) {
        std::string target = fixture->Fresh("cp");
        CopyWithCp(fixture->paths.dataFolder, target);
        SettleDisk();  // the copy on the disk, as a backup's is before it is marked complete
    }
}

void EngineErase(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = fixture->Fresh("erase");
        CopyWithCp(fixture->paths.dataFolder, copy);
        SettleDisk();
        state.ResumeTiming();
        EraseData(copy, fixture->paths.defaultFolder, fixture->settings, [] {});
    }
}

void FloorErase(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = fixture->Fresh("rm");
        CopyWithCp(fixture->paths.dataFolder, copy);
        SettleDisk();
        state.ResumeTiming();
        Shell("rm -rf " + Quoted(copy));
    }
}

// A data folder that is not the default folder moved to a new folder beside it.
void EngineMove(benchmark::State& state) {
    FolderActionObserver quiet;
    for (auto _ : state) {
        state.PauseTiming();
        DataPaths paths{fixture->paths.defaultFolder, fixture->Fresh("from")};
        CopyWithCp(fixture->paths.dataFolder, paths.dataFolder);
        std::string target = fixture->Fresh("to");
        SettleDisk();
        state.ResumeTiming();
        RunFolderAction(FolderAction::Move, paths, target, fixture->settings, quiet);
    }
}

// The least a move needs: the copy, the old folder removed, all of it on the disk.
void FloorMove(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string from = fixture->Fresh("cpfrom");
        CopyWithCp(fixture->paths.dataFolder, from);
        std::string target = fixture->Fresh("cpto");
        SettleDisk();
        state.ResumeTiming();
        CopyWithCp(from, target);
        Shell("rm -rf " + Quoted(from));
        SettleDisk();
    }
}

// A data folder that is not the default folder restored from a backup of the same size: the
// backup copied in, the old data put aside and erased.
void EngineRestore(benchmark::State& state) {
    FolderActionObserver quiet;
    for (auto _ : state) {
        state.PauseTiming();
        DataPaths paths{fixture->paths.defaultFolder, fixture->Fresh("restored")};
        CopyWithCp(fixture->paths.dataFolder, paths.dataFolder);
        SettleDisk();
        state.ResumeTiming();
        RunFolderAction(FolderAction::Restore, paths, fixture->paths.dataFolder, fixture->settings,
                        quiet);
    }
}

// The least a restore needs: the backup copied, the old data removed, all of it on the disk.
void FloorRestore(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string old = fixture->Fresh("cpold");
        CopyWithCp(fixture->paths.dataFolder, old);
        std::string target = fixture->Fresh("cpnew");
        SettleDisk();
        state.ResumeTiming();
        CopyWithCp(fixture->paths.dataFolder, target);
        Shell("rm -rf " + Quoted(old));
        SettleDisk();
    }
}

BENCHMARK(EngineBackup)->Name("engine/backup")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FloorBackup)->Name("floor/backup")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(EngineErase)->Name("engine/erase")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FloorErase)->Name("floor/erase")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(EngineMove)->Name("engine/move")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FloorMove)->Name("floor/move")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(EngineRestore)->Name("engine/restore")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FloorRestore)->Name("floor/restore")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    quantora::QuantoraApplication app(argc, argv);
    Fixture data;
    fixture = &data;
    auto t = RunAll(argc, argv, 3);
    PrintCase("backup_50000_files", t["engine/backup"], t["floor/backup"]);
    PrintCase("erase_50000_files", t["engine/erase"], t["floor/erase"]);
    PrintCase("move_50000_files", t["engine/move"], t["floor/move"]);
    PrintCase("restore_50000", t["engine/restore"], t["floor/restore"]);
    return 0;
}
