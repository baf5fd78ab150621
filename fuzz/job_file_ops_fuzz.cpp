// The line operations on a job file of any length, whole records or not: they never fault,
// touch only the records they name, and leave the file whole records plus whatever piece
// it had at the end.
#include <stdexcept>

#include "costing/job_file.h"
#include "fuzz_input.h"
#include "store/data_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    fuzz::Input input(data, size);
    fuzz::ClearScratch();
    std::string job = fuzz::Scratch() + "Job", spare = fuzz::Scratch() + "Spare.job";
    std::string bytes = input.Bytes(255) + input.Bytes(255) + input.Bytes(255);
    ReplaceFile(job, bytes, false);
    auto count = static_cast<std::int32_t>(bytes.size() / kJobRecordSize);
    std::size_t piece = bytes.size() % kJobRecordSize;
    if (static_cast<std::int32_t>(ReadAllLines(job).size()) != count) std::abort();
    std::int32_t k = input.Byte() % (count + 2);
    try {
        JobLine line = ReadLine(job, k);
        line.Price = Amount::FromRaw(input.Byte());
        WriteLine(job, k, line);
        if (ReadLine(job, k) != line) std::abort();
        RebuildWithoutLine(job, spare, k);
        if (static_cast<std::int32_t>(ReadAllLines(job).size()) != count - 1) std::abort();
    } catch (const std::out_of_range&) {
        if (k < count) std::abort();
    }
    std::uint64_t length = DataFile::ReadWhole(job)->size();
    if (length % kJobRecordSize != 0 && length % kJobRecordSize != piece) std::abort();
    return 0;
}
