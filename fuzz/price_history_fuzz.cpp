// Any bytes in a price list's price history read without fault, and what reads is written
// back to lines that read the same again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pricelists/price_history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<PriceHistoryEntry> entries = ParsePriceHistory(bytes);
    if (ParsePriceHistory(EncodePriceHistory(entries)) != entries) std::abort();
    for (const PriceHistoryEntry& entry : entries)
        LastChangeTo(entries, entry.item, entry.newPrice);
    return 0;
}
