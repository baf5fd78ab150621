// How fast a costing cut from one big group is pasted into another, on the disk where users
// keep their data: the paste is one durable copy (the group searched for the name in any
// letter case first) and the cut job's delete. Compared with the least a paste that no crash
// can tear needs: the group's names read once (a job of the name may be there in another
// letter case), the job written the safe way, flushed, and the cut one deleted.
#include <dirent.h>

#include <cstdlib>

#include "bench_support.h"
#include "manage/job_operations.h"
#include "store/data_file.h"
#include "store/data_folder.h"

namespace quantora::bench {
namespace {

constexpr int kJobs = 5'000;
constexpr int kPastes = 100;

struct Fixture {
    Fixture() {
        for (std::int16_t group : {0, 1}) {
            EnsureFolder(paths.JobFolder(group));
            for (int j = 0; j < kJobs; ++j) WriteFast(paths.JobFolder(group) + Name(group, j), job);
        }
        SettleDisk();
    }
    static std::string Name(int group, int j) {
        return (group == 0 ? "Kitchen " : "Porch ") + std::to_string(j);
    }
    // The next job of the first group that no run has moved yet: the cases run in any order.
    std::string NextCut() { return Name(0, moved++); }

    ScratchFolder folder;
    DataPaths paths{folder.path(), folder.path()};
    std::string job = std::string(98 * 20, 'j');  // a costing of twenty lines
    int moved = 0;
};

Fixture* fixture = nullptr;

// Cut in the first group (untimed), then Paste into the second.
void EnginePaste(benchmark::State& state) {
    JobClipboard clipboard;
    for (auto _ : state) {
        state.PauseTiming();
        PutOnClipboard(fixture->paths, 0, fixture->NextCut(), JobClipboard::State::Cut, clipboard);
        state.ResumeTiming();
        PasteJob(fixture->paths, 1, clipboard);
    }
}

void FloorPaste(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string name = fixture->NextCut();
        WriteFast(fixture->paths.ClipJob(), fixture->job);
        state.ResumeTiming();
        DIR* group = ::opendir(fixture->paths.JobFolder(1).c_str());
        if (group == nullptr) std::abort();
        while (const dirent* entry = ::readdir(group)) benchmark::DoNotOptimize(entry->d_name[0]);
        ::closedir(group);
        WriteDurably(fixture->paths.JobFolder(1), name,
                     *DataFile::ReadWhole(fixture->paths.ClipJob()));
        Files().Remove(fixture->paths.JobFolder(0) + name);
    }
}

BENCHMARK(EnginePaste)->Name("engine/paste")->Unit(benchmark::kMillisecond)->Iterations(kPastes);
BENCHMARK(FloorPaste)->Name("floor/paste")->Unit(benchmark::kMillisecond)->Iterations(kPastes);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora::bench;
    Fixture data;
    fixture = &data;
    auto t = RunAll(argc, argv, 3);
    PrintCase("paste_into_5000_jobs", t["engine/paste"], t["floor/paste"]);
    return 0;
}
