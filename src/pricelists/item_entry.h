// What the price list editor accepts as an item: the characters its two fields take as they
// are typed, and the name and price that "Add or Update" writes.
#pragma once

#include <optional>
#include <string>

#include "store/amount.h"

namespace quantora {

// The price field takes at most this many typed characters; a price the program shows
// there (a chosen item's) is never cut to it.
inline constexpr std::size_t kMaxTypedPriceLength = 14;

// Whether a character may be typed into the item name field: it fits the data files' code
// page and is none of / \ < > ? * : | and the double quote.
bool IsAllowedInItemName(char32_t c);

// The item name that typed text stands for: blanks at both ends and leading full stops
// removed, and the characters / \ < > ? * : | dropped. Nothing when no usable name is left
// or it does not fit Windows-1252 in 70 characters.
std::optional<std::string> CleanItemName(const std::string& typed);

enum class PriceKey {
    Accepted,
    Refused,  // not a character of an amount: the error sound
    Full,     // the field holds all it may: refused without a sound, as a full field does
};

// A character typed into the price field, which holds fieldLength characters of which
// selectedLength are selected (and so replaced by it).
PriceKey CheckPriceKey(char32_t c, std::size_t fieldLength, std::size_t selectedLength);

enum class EntryRefusal {
    None,
    EmptyName,      // the error sound, the focus to the name
    EmptyPrice,     // the error sound and kPleaseEnterPrice, the focus to the price
    UnusableName,   // only full stops and characters a name cannot hold: as an empty name
    PriceTooLarge,  // more than an Amount can hold: the error sound and kPriceTooLarge
};

inline constexpr const char* kPleaseEnterPrice = " Please enter the price.  ";
inline constexpr const char* kPriceTooLarge =
    "The price is larger than Quantora can hold. Please enter a smaller one.";

struct ItemEntry {
    EntryRefusal refusal = EntryRefusal::None;
    std::string shownName;  // what the name field shows afterwards
    std::string name;       // the item to write, when accepted
    Amount price;
};

// "Add or Update" on the two fields as typed: the refusal, or the cleaned name and the
// parsed price to write. The name field shows the name trimmed even when refused.
ItemEntry CheckItemEntry(const std::string& typedName, const std::string& typedPrice);

}  // namespace quantora
