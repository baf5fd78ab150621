#include "power_cut.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/stopped_work.h"
#include "datafolder/folder_actions.h"
#include "store/data_file.h"

namespace quantora::testing {

namespace {

// Every unflushed name change kept with no unflushed content, nothing unflushed kept, and
// mixes drawn from these numbers.
constexpr std::uint64_t kMixes[] = {0, 1, 2, 3, 4, 5};

}  // namespace

CutReport CutAtEveryStep(const MemoryDisk& before, const std::function<void()>& action,
                         const std::function<void()>& restart,
                         const std::function<std::string(const MemoryDisk&)>& check) {
    CutReport report;
    {
        MemoryDisk whole = before;
        FileLayerInUse use(whole);
        action();
        report.steps = whole.Steps() - before.Steps();
    }
    for (std::uint64_t step = 0; step <= report.steps; ++step) {
        for (std::uint64_t mix : kMixes) {
            MemoryDisk disk = before;
            FileLayerInUse use(disk);
            disk.CutPowerAt(before.Steps() + step);
            try {
                action();
            } catch (...) {
            }
            disk.PowerBack(mix);
            std::string wrong;
            try {
                restart();
                wrong = check(disk);
            } catch (const std::exception& error) {
                wrong = std::string("the start failed: ") + error.what();
            }
            ++report.cuts;
            if (wrong.empty()) continue;
            if (report.failures++ == 0)
                report.firstFailure = "cut at step " + std::to_string(step) + " of " +
                                      std::to_string(report.steps) + ", mix " +
                                      std::to_string(mix) + ": " + wrong;
        }
    }
    return report;
}

void ExpectEveryCutSurvived(const char* what, const MemoryDisk& before,
                            const std::function<void()>& action,
                            const std::function<void()>& restart,
                            const std::function<std::string(const MemoryDisk&)>& check,
                            std::uint64_t leastSteps) {
    CutReport report = CutAtEveryStep(before, action, restart, check);
    EXPECT_EQ(report.failures, 0u) << what << ", " << report.firstFailure;
    EXPECT_GE(report.steps, leastSteps) << what;
    std::printf("%s: %llu steps, %llu power cuts\n", what,
                static_cast<unsigned long long>(report.steps),
                static_cast<unsigned long long>(report.cuts));
    MemoryDisk lying = before;
    lying.LieAboutFlushes();
    EXPECT_GT(CutAtEveryStep(lying, action, restart, check).failures, 0u)
        << what << " on a disk that drops its flushes loses nothing: the cuts would miss it";
}

std::map<std::string, std::string> FilesUnder(const MemoryDisk& disk, const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& [path, bytes] : disk.Contents()) {
        if (!path.starts_with(folder) || path.back() == '/') continue;
        std::string within = path.substr(folder.size());
        if (within[0] == '.' || within.find("/.") != std::string::npos) continue;
        files[within] = bytes;
    }
    return files;
}

DataPaths NewDataFolder(Settings& settings) {
    EnsureFolderPath(kHome);
    return SetUpDataFolder(kHome, settings).paths;
}

DataPaths StartAgain() {
    Settings settings = ReadSettings(kHome);
    FinishInterruptedAction(kHome, settings);
    DataPaths paths = SetUpDataFolder(kHome, settings).paths;
    FinishStoppedWork(paths);
    return paths;
}

void PutFile(const std::string& path, const std::string& bytes) {
    EnsureFolderPath(path);
    ReplaceFile(path, bytes, true);
}

}  // namespace quantora::testing
