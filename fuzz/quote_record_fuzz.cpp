// Any bytes in the record of a job's last quote read without fault, and a record that reads
// is written back to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "costing/quote_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<QuoteRecord> record = ParseQuoteRecord(bytes);
    if (record && ParseQuoteRecord(EncodeQuoteRecord(*record)) != record) std::abort();
    if (record) ChangesSinceQuote(*record, record->lines);
    return 0;
}
