// The history of a price list's prices: each change of an item's price, when, and by what (typed
// in the price list editor, imported from a supplier's file, or an import undone), so that a
// costing whose price changed can say why. It is a record of the program's own beside the
// list's items, one line a change, only ever added to; it goes wherever the list goes, and is
// kept to a bounded size by dropping its oldest half when it outgrows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/amount.h"

namespace quantora {

enum class PriceSource { Typed, Imported, Undone };

struct PriceHistoryEntry {
    std::int64_t time = 0;  // seconds since 1970, UTC
    PriceSource source = PriceSource::Typed;
    std::string item;
    Amount oldPrice, newPrice;
    std::string file;  // for an import: the name of the supplier's file
    friend bool operator==(const PriceHistoryEntry&, const PriceHistoryEntry&) = default;
};

// The most the record grows to, about ten thousand changes: past it, only the newest changes
// that fill half of it stay.
inline constexpr std::size_t kPriceHistoryLimit = 1 << 20;

// Adds the changes to the list's record in one write, flushed to the disk when durable. A
// change whose item or file name holds a tab or a line break is left out. The record is
// history only: failing to write it changes no price and says nothing.
void AppendPriceHistory(const std::string& listFolder,
                        const std::vector<PriceHistoryEntry>& entries, bool durable);

// The record's lines for the changes, leaving out those with a tab or a line break in a name.
std::string EncodePriceHistory(const std::vector<PriceHistoryEntry>& entries);

// The record's changes, oldest first. A line cut short by a crash, or damaged, is skipped.
std::vector<PriceHistoryEntry> ParsePriceHistory(std::string_view bytes);
std::vector<PriceHistoryEntry> ReadPriceHistory(const std::string& listFolder);

// The last change that set the item (letter case aside) to price; nothing when the record
// does not know.
std::optional<PriceHistoryEntry> LastChangeTo(const std::vector<PriceHistoryEntry>& history,
                                              const std::string& item, Amount price);

// Why, in the user's words: "typed in on 7 December 2026", "imported from supplier.csv on
// 7 December 2026", "put back by Undo Last Import on 7 December 2026".
std::string WhyText(const PriceHistoryEntry& entry);

// The time now, as the record keeps it.
std::int64_t HistoryTimeNow();

}  // namespace quantora
