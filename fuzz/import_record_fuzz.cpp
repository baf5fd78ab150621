// Any bytes as a price list's import record read without fault, name no file outside the
// list, and what reads is written back to bytes that read the same again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pricelists/import_record.h"
#include "store/name_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ImportRecord record = ParseImportRecord(bytes);
    for (const ImportRecordEntry& entry : record.entries)
        if (!IsPlainFileName(entry.name)) std::abort();
    if (ParseImportRecord(EncodeImportRecord(record)) != record) std::abort();
    return 0;
}
