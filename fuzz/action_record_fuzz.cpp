// Any bytes in the record of a move or restore read without fault, and a record that reads
// is written back to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "datafolder/folder_action_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<ActionRecord> record = ParseActionRecord(bytes);
    if (record && EncodeActionRecord(*record) != bytes) std::abort();
    return 0;
}
