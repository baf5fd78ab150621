// Any Groups.dat or PriceLists.dat content reads without fault; every name read that can be
// stored again encodes back to the 70 bytes it came from, spaces aside.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/name_slots.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> slots = DecodeSlots(bytes);
    if (slots.size() != (size + kNameSlotSize - 1) / kNameSlotSize) std::abort();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].empty()) continue;
        auto encoded = EncodeSlotName(slots[i]);
        if (!encoded || DecodeSlots(*encoded).front() != slots[i]) std::abort();
    }
    FindSlot(slots, bytes.substr(0, 70));
    return 0;
}
