// Any Kiru.ini content reads without fault, and repair always yields valid settings that
// survive a write and a read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    Settings repaired = RepairSettings(DecodeSettings(bytes));
    if (RepairSettings(repaired) != repaired) std::abort();
    if (DecodeSettings(EncodeSettings(repaired)) != repaired) std::abort();
    return 0;
}
