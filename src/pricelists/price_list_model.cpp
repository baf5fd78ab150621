#include "pricelists/price_list_model.h"

#include <algorithm>

#include "pricelists/item_file.h"
#include "pricelists/price_import.h"
#include "store/collation.h"
#include "store/data_file.h"

namespace quantora {

namespace {

// The display order: by collation key, names that collate alike in a fixed order by bytes.
bool DisplayOrder(const std::string& keyA, const std::string& nameA, const std::string& keyB,
                  const std::string& nameB) {
    int order = keyA.compare(keyB);
    return order != 0 ? order < 0 : nameA < nameB;
}

}  // namespace

void PriceListModel::LoadNames(const std::string& listFolder, const ItemFilter& filter) {
    listFolder_ = listFolder;
    itemList_.clear();
    itemPrices_.clear();
    priceRead_.clear();
    NameTest passes(filter);
    std::vector<std::string> names = ListItemNames(listFolder);
    std::erase_if(names, [&](const std::string& name) { return !passes(name); });
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::string& name : names) keys.push_back(CollationKey(name));
    // One sort of the whole list, of positions rather than entries: a supplier's list of
    // 100,000 items must not pay a linear insertion per item. A name's key is its place in
    // the folder listing.
    std::vector<std::int32_t> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::int32_t>(i);
    std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        return DisplayOrder(keys[a], names[a], keys[b], names[b]);
    });
    itemList_.reserve(names.size());
    for (std::int32_t key : order) itemList_.push_back({std::move(names[key]), key});
    itemPrices_.assign(itemList_.size(), Amount{});
    priceRead_.assign(itemList_.size(), false);
}

void PriceListModel::ReadEntries(std::vector<const ListEntry*> entries,
                                 const std::function<void()>& progress) {
    std::erase_if(entries, [&](const ListEntry* entry) { return priceRead_[entry->key]; });
    if (entries.empty()) return;
    // The names come from the folder's own listing, so each is read as it stands, relative
    // to the folder, and in the listing's order (the order of the keys): the folder is then
    // looked up the way it is stored, which is measurably quicker than display order.
    std::sort(entries.begin(), entries.end(),
              [](const ListEntry* a, const ListEntry* b) { return a->key < b->key; });
    FolderReader folder(listFolder_);
    for (const ListEntry* entry : entries) {
        auto bytes = folder.ReadHead(entry->name, kItemFileSize);
        itemPrices_[entry->key] = bytes ? DecodeItemPrice(*bytes) : Amount{};
        priceRead_[entry->key] = true;
        if (progress) progress();
    }
}

void PriceListModel::ReadPrices(std::int32_t first, std::int32_t count) {
    std::vector<const ListEntry*> entries;
    for (std::int32_t i = std::max(first, 0); i < first + count && i <= LastIndex(); ++i)
        entries.push_back(&itemList_[static_cast<std::size_t>(i)]);
    ReadEntries(std::move(entries), {});
}

void PriceListModel::ReadAllPrices(const std::function<void()>& progress) {
    std::vector<const ListEntry*> entries;
    entries.reserve(itemList_.size());
    for (const ListEntry& entry : itemList_) entries.push_back(&entry);
    ReadEntries(std::move(entries), progress);
}

bool PriceListModel::AddOrUpdate(const std::string& listFolder, const std::string& name,
                                 Amount price) {
    bool isNew = !ItemExists(listFolder, name);
    WriteItemPrice(listFolder, name, price);
    ForgetLastImport(listFolder);  // a change by hand: the import is no longer the last word
    if (isNew) {
        itemPrices_.push_back(price);
        priceRead_.push_back(true);
        InsertSorted({name, static_cast<std::int32_t>(itemPrices_.size()) - 1});
        return true;
    }
    for (const ListEntry& entry : itemList_) {
        if (entry.name == name) {
            itemPrices_[entry.key] = price;
            priceRead_[entry.key] = true;
            break;
        }
    }
    return false;
}

void PriceListModel::Delete(const std::string& listFolder, const std::string& name) {
    auto it = std::find_if(itemList_.begin(), itemList_.end(),
                           [&](const ListEntry& e) { return e.name == name; });
    // The price outlives its row, as every price read does: a print-out's price column is as
    // wide as the widest of them.
    if (it != itemList_.end()) ReadEntries({&*it}, {});
    DeleteItem(listFolder, name);
    ForgetLastImport(listFolder);
    if (it != itemList_.end()) itemList_.erase(it);
}

void PriceListModel::InsertSorted(ListEntry entry) {
    std::string key = CollationKey(entry.name);
    auto at = std::upper_bound(itemList_.begin(), itemList_.end(), entry,
                               [&](const ListEntry& a, const ListEntry& b) {
                                   return DisplayOrder(key, a.name, CollationKey(b.name), b.name);
                               });
    itemList_.insert(at, std::move(entry));
}

}  // namespace quantora
