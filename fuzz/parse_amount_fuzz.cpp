// Any typed text parses to an amount or an overflow, and every amount's shown forms read
// back as the same amount (money form: the amount cut to two decimals).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/amount.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string text(reinterpret_cast<const char*>(data), size);
    Amount value;
    try {
        value = ParseAmount(text);
    } catch (const AmountOverflow&) {
        return 0;
    }
    if (ParseAmount(QuantityText(value)) != value) std::abort();
    if (ParseAmount(AmountText(value)) != value) std::abort();
    if (ParseAmount(MoneyText(value)) != Amount::FromRaw(value.raw / 100 * 100)) std::abort();
    try {
        SubTotal(value, value);
    } catch (const AmountOverflow&) {
    }
    return 0;
}
