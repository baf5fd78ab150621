// How fast a costing is priced: a big costing over big price lists, a deep chain of jobs
// that share sub-jobs, and a costing made of many small jobs. Each is compared with the
// least file work the same pricing needs.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "bench_support.h"
#include "costing/job_file.h"
#include "costing/price_changes.h"
#include "costing/pricing.h"
#include "pricelists/item_file.h"
#include "pricelists/price_history.h"
#include "services/pause.h"
#include "store/data_file.h"
#include "store/data_folder.h"

namespace quantora::bench {
namespace {

constexpr int kLists = 10;
constexpr int kItemsPerList = 1000;
constexpr int kBigJobLines = 10'000;
constexpr int kParts = 1000;
constexpr int kLinesPerPart = 10;

class CountingObserver : public PricingObserver {
  public:
    void JobWalked(const std::string&, int) override { ++walks; }
    int walks = 0;
};

std::string ItemName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Item %04d", i);
    return name;
}

void WriteJob(const std::string& path, const std::vector<JobLine>& lines) {
    std::string bytes;
    for (const JobLine& line : lines) bytes += EncodeJobLine(line);
    WriteFast(path, bytes);
}

JobLine ItemLine(int list, int item, int quant) {
    return {0, static_cast<std::int16_t>(list), Amount::Whole(quant), ItemName(item), {}, {}};
}

JobLine JobRef(int group, const std::string& name, Amount quant) {
    return {1, static_cast<std::int16_t>(group), quant, name, {}, {}};
}

// A costing that names an item on many lines needs its file read only once.
void Distinct(std::vector<std::string>& files) {
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
}

struct Fixture {
    ScratchFolder folder;
    DataPaths paths{folder.path(), folder.path()};
    std::vector<std::string> bigJobItems;  // each item file the big job names, once
    std::vector<std::string> chainFiles;   // the chain of 30, top first
    std::vector<std::string> partFiles;    // the 1,000 small jobs
    std::vector<std::string> partItems;    // each item file the parts name, once
    std::string bigJob, chainTop, longChainTop, assembly;
    std::string pricedBig, changedBig;      // the big job saved as priced, and before changes
    std::vector<ChangedLine> changedLines;  // 1,000 lines whose price changed

    Fixture() {
        for (int list = 0; list < kLists; ++list) {
            EnsureFolder(paths.ListFolder(list));
            for (int i = 0; i < kItemsPerList; ++i)
                WriteFast(paths.ListFolder(list) + ItemName(i),
                          EncodeItemPrice(Amount::FromRaw(12'500 + i)));
        }
        for (int group = 0; group < 4; ++group) EnsureFolder(paths.JobFolder(group));

        std::vector<JobLine> big;
        for (int i = 0; i < kBigJobLines; ++i) {
            int list = i % kLists, item = (i * 7) % kItemsPerList;
            big.push_back(ItemLine(list, item, 1 + i % 5));
            bigJobItems.push_back(paths.ListFolder(list) + ItemName(item));
        }
        Distinct(bigJobItems);
        bigJob = paths.JobFolder(0) + "Big";
        WriteJob(bigJob, big);
        // The same costing saved at today's prices, and saved before 1,000 of them changed.
        for (int i = 0; i < kBigJobLines; ++i) {
            big[i].Price = Amount::FromRaw(12'500 + (i * 7) % kItemsPerList);
            big[i].SubTot = SubTotal(big[i].Quant, big[i].Price);
        }
        pricedBig = paths.JobFolder(0) + "Priced";
        WriteJob(pricedBig, big);
        std::vector<PriceHistoryEntry> history;
        for (int i = 0; i < kBigJobLines; i += kBigJobLines / 1000) {
            big[i].Price = big[i].Price - Amount::FromRaw(100);
            big[i].SubTot = SubTotal(big[i].Quant, big[i].Price);
            changedLines.push_back({i, big[i], big[i].Price, big[i].SubTot});
            changedLines.back().now.Price = big[i].Price + Amount::FromRaw(100);
        }
        changedBig = paths.JobFolder(0) + "Changed";
        WriteJob(changedBig, big);
        // A list's history of twenty thousand changes, the last to each item its price now.
        for (int round = 0; round < 20; ++round) {
            for (int item = 0; item < 1000; ++item)
                history.push_back({1796000000 + round, PriceSource::Imported, ItemName(item),
                                   Amount{}, Amount::FromRaw(12'500 + item), "supplier.csv"});
            AppendPriceHistory(paths.ListFolder(0), history, false);
            history.clear();
        }

        chainTop = MakeChain(1, 30, chainFiles);
        std::vector<std::string> unused;
        longChainTop = MakeChain(2, 60, unused);

        std::vector<JobLine> parts;
        for (int p = 0; p < kParts; ++p) {
            std::string name = "Part " + std::to_string(p);
            std::vector<JobLine> lines;
            for (int k = 0; k < kLinesPerPart; ++k) {
                int list = (p + k) % kLists, item = (p * 13 + k) % kItemsPerList;
                lines.push_back(ItemLine(list, item, 2));
                partItems.push_back(paths.ListFolder(list) + ItemName(item));
            }
            partFiles.push_back(paths.JobFolder(3) + name);
            WriteJob(partFiles.back(), lines);
            parts.push_back(JobRef(3, name, Amount::Whole(1)));
        }
        Distinct(partItems);
        assembly = paths.JobFolder(3) + "Assembly";
        WriteJob(assembly, parts);
        SettleDisk();
    }

    // Each job of the chain includes the next on two lines, so every level has a shared
    // sub-job; quantities 1 and 0.5 keep the total within range at any depth.
    std::string MakeChain(int group, int depth, std::vector<std::string>& files) {
        for (int level = depth - 1; level >= 0; --level) {
            std::string name = "Chain " + std::to_string(level);
            std::string next = "Chain " + std::to_string(level + 1);
            std::vector<JobLine> lines;
            if (level == depth - 1) {
                lines.push_back(ItemLine(0, 1, 1));
            } else {
                lines.push_back(JobRef(group, next, Amount::Whole(1)));
                lines.push_back(JobRef(group, next, Amount::FromRaw(5'000)));
            }
            files.insert(files.begin(), paths.JobFolder(group) + name);
            WriteJob(files.front(), lines);
        }
        return files.front();
    }

    // Opens a saved job as the costing sheet does: priced into its working copy.
    int Reprice(const std::string& job) {
        CountingObserver observer;
        Reload(paths, {std::string(FileNamePart(job)), job}, observer);
        return observer.walks;
    }
};

Fixture* fixture = nullptr;
int chainWalks = 0;

void EngineBigJob(benchmark::State& state) {
    for (auto _ : state) fixture->Reprice(fixture->bigJob);
}

void FloorBigJob(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& item : fixture->bigJobItems) ReadEightBytes(item);
        WriteWorkingCopy(fixture->bigJob, fixture->paths.TempJob());
    }
}

void EngineChain(benchmark::State& state) {
    for (auto _ : state) chainWalks = fixture->Reprice(fixture->chainTop);
}

void FloorChain(benchmark::State& state) {
    for (auto _ : state) {
        // The top job is the open one: read once, for its working copy.
        for (std::size_t k = 1; k < fixture->chainFiles.size(); ++k)
            ReadAndWriteJob(fixture->chainFiles[k]);
        ReadEightBytes(fixture->paths.ListFolder(0) + ItemName(1));
        WriteWorkingCopy(fixture->chainTop, fixture->paths.TempJob());
    }
}

void EngineAssembly(benchmark::State& state) {
    for (auto _ : state) fixture->Reprice(fixture->assembly);
}

void FloorAssembly(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& job : fixture->partFiles) ReadAndWriteJob(job);
        for (const std::string& item : fixture->partItems) ReadEightBytes(item);
        WriteWorkingCopy(fixture->assembly, fixture->paths.TempJob());
    }
}

// Telling what changed is free: pricing reads the saved and the new price anyway.
void EngineChanged(benchmark::State& state) {
    for (auto _ : state) fixture->Reprice(fixture->changedBig);
}

void FloorChanged(benchmark::State& state) {
    for (auto _ : state) fixture->Reprice(fixture->pricedBig);
}

// Why 1,000 prices changed, from a list's history of 20,000 changes.
void EngineWhy(benchmark::State& state) {
    for (auto _ : state) {
        PriceReasons reasons(fixture->paths);
        std::size_t known = 0;
        for (const ChangedLine& line : fixture->changedLines)
            known += reasons.Why(line.now).empty() ? 0 : 1;
        benchmark::DoNotOptimize(known);
    }
}

// The least it takes: the history read once, and each line's item found and kept by name.
void FloorWhy(benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes =
            *DataFile::ReadWhole(fixture->paths.ListFolder(0) + kPriceHistoryRecord);
        std::unordered_map<std::string_view, std::string_view> last;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            std::string_view line(bytes.data() + start, end - start);
            std::size_t item = 0;
            for (int tab = 0; tab < 4; ++tab) item = line.find('\t', item) + 1;
            last[line.substr(item, line.find('\t', item) - item)] = line;
            start = end + 1;
        }
        benchmark::DoNotOptimize(last.size());
    }
}

BENCHMARK(EngineChanged)
    ->Name("engine/1000_changed")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);
BENCHMARK(FloorChanged)->Name("floor/1000_changed")->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(EngineWhy)->Name("engine/why_1000")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(FloorWhy)->Name("floor/why_1000")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(EngineBigJob)->Name("engine/10000_lines")->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(FloorBigJob)->Name("floor/10000_lines")->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(EngineChain)->Name("engine/chain_30")->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(FloorChain)->Name("floor/chain_30")->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(EngineAssembly)->Name("engine/1000_jobs")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(FloorAssembly)->Name("floor/1000_jobs")->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora;
    using namespace quantora::bench;
    quantora::SetPausesEnabled(false);
    Fixture data;
    fixture = &data;
    auto t = RunAll(argc, argv, 3);
    int longChainWalks = data.Reprice(data.longChainTop);
    PrintCase("10000_lines_10_lists", t["engine/10000_lines"], t["floor/10000_lines"]);
    PrintCase("chain_30_shared", t["engine/chain_30"], t["floor/chain_30"],
              "walks=" + std::to_string(chainWalks) +
                  " walks_at_depth_60=" + std::to_string(longChainWalks));
    PrintCase("1000_jobs_of_10_lines", t["engine/1000_jobs"], t["floor/1000_jobs"]);
    // The floor here is the same opening with no price changed since the save.
    PrintCase("10000_lines_1000_changed", t["engine/1000_changed"], t["floor/1000_changed"]);
    PrintCase("why_1000_changes", t["engine/why_1000"], t["floor/why_1000"]);
    return 0;
}
