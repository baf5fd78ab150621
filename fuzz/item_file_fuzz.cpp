// Any item file content reads as a price, and every price shows in all three text forms.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pricelists/item_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    Amount price = DecodeItemPrice(bytes);
    if (size >= kItemFileSize && EncodeItemPrice(price) != bytes.substr(0, kItemFileSize))
        std::abort();
    if (ParseAmount(AmountText(price)) != price) std::abort();
    MoneyText(price);
    QuantityText(price);
    return 0;
}
