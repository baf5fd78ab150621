// Any bytes in the note of who holds a data folder read without fault, and a note that reads
// is written back to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "datafolder/desk_hold.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<DeskHolder> holder = ParseDeskHolder(bytes);
    if (holder && EncodeDeskHolder(*holder) != bytes) std::abort();
    return 0;
}
