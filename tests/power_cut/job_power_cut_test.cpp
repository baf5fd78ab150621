// A save and a job paste with the power cut at each of their steps: the costing is afterwards
// the old one or the new one, never a mix, never gone; and once the save or the paste has
// told the user it is done, the new one stays.
#include <gtest/gtest.h>

#include "costing/job_editing.h"
#include "manage/job_operations.h"
#include "power_cut.h"
#include "store/data_file.h"

namespace quantora {
namespace {

using namespace testing;

// Costings long enough to span pages, so that a disk that keeps some pages of a file and not
// others would show.
std::string Costing(char mark, int lines) { return std::string(98 * lines, mark); }

std::string Whole(const std::optional<std::string>& bytes, const std::string& old,
                  const std::string& now) {
    if (!bytes) return "gone";
    if (*bytes == old) return "old";
    if (*bytes == now) return "new";
    return "torn (" + std::to_string(bytes->size()) + " bytes)";
}

TEST(PowerCut, ASaveLeavesTheOldCostingOrTheNewAndASavedOneStays) {
    const std::string old = Costing('o', 90), now = Costing('n', 130);
    MemoryDisk before;
    Settings settings;
    DataPaths paths;
    OpenJob job;
    {
        FileLayerInUse use(before);
        paths = NewDataFolder(settings);
        job = {"Estimate", paths.JobFolder(0) + "Estimate"};
        PutFile(job.path, old);
        PutFile(paths.TempJob(), now);
        before.FlushDisk("/");
    }
    bool saved = false;
    auto save = [&] {
        saved = false;
        SaveJob(paths, job);
        saved = true;
    };
    auto check = [&](const MemoryDisk&) -> std::string {
        std::string found = Whole(DataFile::ReadWhole(job.path), old, now);
        if (found == "old" && saved) return "saved, then lost";
        return found == "old" || found == "new" ? "" : found;
    };
    ExpectEveryCutSurvived(
        "save", before, save, [] { StartAgain(); }, check, 3);
}

TEST(PowerCut, ACutAndPastedCostingIsAlwaysInOneGroupOrTheOther) {
    const std::string costing = Costing('c', 70);
    MemoryDisk before;
    Settings settings;
    DataPaths paths;
    JobClipboard clipboard;
    {
        FileLayerInUse use(before);
        paths = NewDataFolder(settings);
        EnsureFolder(paths.JobFolder(1));
        PutFile(paths.JobFolder(0) + "Porch", costing);
        PutOnClipboard(paths, 0, "Porch", JobClipboard::State::Cut, clipboard);
        before.FlushDisk("/");
    }
    bool pasted = false;
    auto paste = [&] {
        pasted = false;
        PasteJob(paths, 1, clipboard);
        pasted = true;
    };
    auto check = [&](const MemoryDisk&) -> std::string {
        std::string from = Whole(DataFile::ReadWhole(paths.JobFolder(0) + "Porch"), costing, "");
        std::string to = Whole(DataFile::ReadWhole(paths.JobFolder(1) + "Porch"), costing, "");
        if (from != "old" && from != "gone") return "the cut costing is " + from;
        if (to != "old" && to != "gone") return "the pasted costing is " + to;
        if (from == "gone" && to == "gone") return "the costing is in neither group";
        if (pasted && to == "gone") return "pasted, then lost";
        return "";
    };
    ExpectEveryCutSurvived(
        "paste", before, paste, [] { StartAgain(); }, check, 4);
}

}  // namespace
}  // namespace quantora
