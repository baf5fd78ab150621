// Pricing over any costings at all: jobs that include each other in loops and through the
// open job, names in other letter cases, names that are no file names, damaged records.
// It must end, never crash, and leave every job as long as it found it: repricing only
// rewrites prices in place, and the working copy is the open job's length whatever it held.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "costing/job_file.h"
#include "costing/pricing.h"
#include "fuzz_input.h"
#include "pricelists/item_file.h"
#include "store/data_file.h"

namespace {

// The data folder each input starts from: two items in a list and an empty group.
const quantora::MemoryDisk& Start() {
    static const quantora::MemoryDisk start = [] {
        using namespace quantora;
        fuzz::ClearScratch();
        const std::string& folder = fuzz::Scratch();
        EnsureFolder(folder + "Jobs0/");
        EnsureFolder(folder + "Lists0/");
        WriteItemPrice(folder + "Lists0/", "A", Amount::Whole(2));
        WriteItemPrice(folder + "Lists0/", "B", Amount::FromRaw(12345));
        return fuzz::Disk();
    }();
    return start;
}

std::uint64_t SizeOf(const std::string& path) {
    quantora::EntryFacts facts;
    quantora::Files().Facts(path, facts);
    return facts.size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    fuzz::Disk() = Start();
    const std::string& folder = fuzz::Scratch();
    DataPaths paths{folder, folder};
    const char* files[] = {"Temp.job", "Jobs0/A", "Jobs0/B", "Jobs0/C"};
    const char* names[] = {"A", "B", "C", "a", "c", "", "../Jobs0/A", "D"};
    std::string content[4];

    // Each five bytes make a line: which file, kind and slot, which name, quantity, price.
    std::size_t i = 0;
    for (; i + 5 <= size; i += 5) {
        JobLine line;
        line.Kind = static_cast<std::int16_t>(data[i + 1] & 3);
        line.SourceSlot = static_cast<std::int16_t>((data[i + 1] >> 2) & 1);
        line.Item = names[data[i + 2] & 7];
        line.Quant = Amount::FromRaw(static_cast<std::int8_t>(data[i + 3]) * std::int64_t{2500});
        line.Price = Amount::FromRaw(data[i + 4] * std::int64_t{10'000'000});
        line.SubTot = SubTotal(line.Quant, line.Price);
        content[data[i] & 3] += EncodeJobLine(line);
    }
    // What is left over damages the end of the open job.
    content[1].append(reinterpret_cast<const char*>(data) + i, size - i);
    for (int f = 0; f < 4; ++f) ReplaceFile(folder + files[f], content[f], false);

    PricingObserver quiet;
    try {
        Reload(paths, {"A", folder + "Jobs0/A"}, quiet);
    } catch (const AmountOverflow&) {
    }
    for (int f = 1; f < 4; ++f)
        if (SizeOf(folder + files[f]) != content[f].size()) std::abort();
    if (SizeOf(folder + files[0]) != content[1].size()) std::abort();
    return 0;
}
