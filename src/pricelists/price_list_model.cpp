#include "pricelists/price_list_model.h"

#include <algorithm>

#include "pricelists/item_file.h"
#include "store/code_page.h"

namespace quantora {

namespace {

bool DisplayOrder(const ListEntry& a, const ListEntry& b) {
    if (a.sortKey != b.sortKey) return a.sortKey < b.sortKey;
    return a.name < b.name;
}

}  // namespace

void PriceListModel::LoadNames(const std::string& listFolder, const ItemFilter& filter) {
    itemList_.clear();
    itemPrices_.clear();
    std::int32_t counter = -1;
    for (std::string& name : ListItemNames(listFolder)) {
        if (!filter.Passes(name)) continue;
        std::u32string key = FoldCase(name);
        itemList_.push_back({std::move(name), ++counter, std::move(key)});
    }
    // One sort of the whole list: a supplier's list of 100,000 items must not pay a linear
    // insertion per item.
    std::sort(itemList_.begin(), itemList_.end(), DisplayOrder);
}

void PriceListModel::LoadPrices(const std::string& listFolder,
                                const std::function<void()>& progress) {
    itemPrices_.assign(itemList_.size(), Amount{});
    NameResolver resolver;
    for (const ListEntry& entry : itemList_) {
        itemPrices_[entry.key] =
            ReadItemPriceIfPresent(listFolder, entry.name, resolver).value_or(Amount{});
        if (progress) progress();
    }
}

bool PriceListModel::AddOrUpdate(const std::string& listFolder, const std::string& name,
                                 Amount price) {
    bool isNew = !ItemExists(listFolder, name);
    WriteItemPrice(listFolder, name, price);
    if (isNew) {
        itemPrices_.push_back(price);
        InsertSorted({name, static_cast<std::int32_t>(itemPrices_.size()) - 1, FoldCase(name)});
        return true;
    }
    for (const ListEntry& entry : itemList_) {
        if (entry.name == name) {
            itemPrices_[entry.key] = price;
            break;
        }
    }
    return false;
}

void PriceListModel::Delete(const std::string& listFolder, const std::string& name) {
    DeleteItem(listFolder, name);
    auto it = std::find_if(itemList_.begin(), itemList_.end(),
                           [&](const ListEntry& e) { return e.name == name; });
    if (it != itemList_.end()) itemList_.erase(it);
}

void PriceListModel::InsertSorted(ListEntry entry) {
    auto at = std::upper_bound(itemList_.begin(), itemList_.end(), entry, DisplayOrder);
    itemList_.insert(at, std::move(entry));
}

}  // namespace quantora
