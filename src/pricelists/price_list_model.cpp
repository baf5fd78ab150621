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
    itemList_.clear();
    itemPrices_.clear();
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
}

void PriceListModel::LoadPrices(const std::string& listFolder,
                                const std::function<void()>& progress) {
    itemPrices_.assign(itemList_.size(), Amount{});
    // The names come from the folder's own listing, so each is read as it stands, relative
    // to the folder, and in the listing's order (the order of the keys): the folder is then
    // looked up the way it is stored, which is measurably quicker than display order.
    FolderReader folder(listFolder);
    std::vector<const std::string*> byKey(itemList_.size());
    for (const ListEntry& entry : itemList_) byKey[entry.key] = &entry.name;
    for (std::size_t key = 0; key < byKey.size(); ++key) {
        auto bytes = folder.ReadHead(*byKey[key], kItemFileSize);
        itemPrices_[key] = bytes ? DecodeItemPrice(*bytes) : Amount{};
        if (progress) progress();
    }
}

bool PriceListModel::AddOrUpdate(const std::string& listFolder, const std::string& name,
                                 Amount price) {
    bool isNew = !ItemExists(listFolder, name);
    WriteItemPrice(listFolder, name, price);
    ForgetLastImport(listFolder);  // a change by hand: the import is no longer the last word
    if (isNew) {
        itemPrices_.push_back(price);
        InsertSorted({name, static_cast<std::int32_t>(itemPrices_.size()) - 1});
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
    ForgetLastImport(listFolder);
    auto it = std::find_if(itemList_.begin(), itemList_.end(),
                           [&](const ListEntry& e) { return e.name == name; });
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
