#include "pricelists/item_entry.h"

#include "pricelists/item_filter.h"
#include "store/file_name_rules.h"

namespace quantora {

bool IsAllowedInItemName(char32_t c) { return IsAllowedInFileName(c) && c != U'"'; }

std::optional<std::string> CleanItemName(const std::string& typed) {
    return CleanFileName(typed, kForbiddenNameChars);
}

PriceKey CheckPriceKey(char32_t c, std::size_t fieldLength, std::size_t selectedLength) {
    if (!IsAmountEntryChar(c)) return PriceKey::Refused;
    if (fieldLength - selectedLength >= kMaxTypedPriceLength) return PriceKey::Full;
    return PriceKey::Accepted;
}

ItemEntry CheckItemEntry(const std::string& typedName, const std::string& typedPrice) {
    ItemEntry entry;
    entry.shownName = TrimBlanks(typedName);
    if (entry.shownName.empty()) {
        entry.refusal = EntryRefusal::EmptyName;
        return entry;
    }
    if (typedPrice.empty()) {
        entry.refusal = EntryRefusal::EmptyPrice;
        return entry;
    }
    std::optional<std::string> name = CleanItemName(entry.shownName);
    if (!name) {
        entry.refusal = EntryRefusal::UnusableName;
        return entry;
    }
    entry.shownName = *name;
    try {
        entry.price = ParseAmount(typedPrice);
    } catch (const AmountOverflow&) {
        entry.refusal = EntryRefusal::PriceTooLarge;
        return entry;
    }
    entry.name = *name;
    return entry;
}

}  // namespace quantora
