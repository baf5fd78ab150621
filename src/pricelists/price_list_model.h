// The open price list in memory: the names that pass the filter in display order, each
// keyed to its price, as the price list editor shows them sixteen rows at a time. The names
// are all read at once; a price is read the first time its row is wanted, so the first rows of
// a supplier's list of a million items show without waiting on a million files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pricelists/item_filter.h"
#include "store/amount.h"
#include "store/name_store.h"

namespace quantora {

struct ListEntry {
    std::string_view name;  // held by the model for as long as it lives
    std::int32_t key;       // index of the item's price in ItemPrices
};

class PriceListModel {
  public:
    // Lists the folder and keeps the names that pass the filter, sorted in the collation
    // order of every list (case ignored); each name's key is its place among them in the folder
    // listing. No price is read yet. The keys are made and sorted on two threads: a supplier's
    // list of a million names is mostly collation.
    void LoadNames(const std::string& listFolder, const ItemFilter& filter);

    // Reads the prices of the display positions first to first + count - 1 (those there are)
    // that are not read yet, from their files in the folder's own order. An item that vanished
    // meanwhile reads as 0; one whose file is there but cannot be read throws DataFileError.
    void ReadPrices(std::int32_t first, std::int32_t count);
    // Reads every price not read yet, for a print-out or an export; progress is called after
    // each one.
    void ReadAllPrices(const std::function<void()>& progress = {});

    // Adds the item, or changes its price: the file first, then the model. A new item is
    // shown at its sorted place whatever the filter; an existing one that is not shown
    // (filtered out, or listed under another letter case) changes on disk only.
    // Returns true when the item is new. A change by hand forgets the last import, which can
    // then no longer be undone.
    bool AddOrUpdate(const std::string& listFolder, const std::string& name, Amount price);

    // Deletes the item's file (a failure is ignored) and its entry from the shown names.
    void Delete(const std::string& listFolder, const std::string& name);

    PriceListModel() = default;
    PriceListModel(PriceListModel&&) = default;
    PriceListModel& operator=(PriceListModel&&) = default;

    const std::vector<ListEntry>& ItemList() const { return itemList_; }
    // Every price by key, those of deleted rows included; complete after ReadAllPrices.
    const std::vector<Amount>& ItemPrices() const { return itemPrices_; }
    // Entries shown, minus 1: -1 when nothing is shown.
    std::int32_t LastIndex() const { return static_cast<std::int32_t>(itemList_.size()) - 1; }
    // The price of the entry at a display position, once read.
    Amount PriceAt(std::int32_t position) const { return itemPrices_[itemList_[position].key]; }

  private:
    void InsertSorted(ListEntry entry);
    // Reads the prices of the entries not read yet.
    void ReadEntries(std::vector<const ListEntry*> entries, const std::function<void()>& progress);

    std::string listFolder_;
    NameStore names_;
    std::vector<ListEntry> itemList_;
    std::vector<Amount> itemPrices_;
    std::vector<bool> priceRead_;  // by key
};

}  // namespace quantora
