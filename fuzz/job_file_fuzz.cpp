// Any job file content reads without fault, and every line read writes back to the very
// record it came from, trailing spaces of the name aside.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "costing/job_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<quantora::JobLine> lines = DecodeJobFile(bytes);
    if (lines.size() != size / kJobRecordSize) std::abort();
    for (const JobLine& line : lines) {
        std::string record = EncodeJobLine(line);
        if (record.size() != kJobRecordSize || !(DecodeJobLine(record) == line)) std::abort();
    }
    return 0;
}
