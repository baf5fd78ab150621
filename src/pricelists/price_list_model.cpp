#include "pricelists/price_list_model.h"

#include <algorithm>
#include <thread>

#include "pricelists/item_file.h"
#include "pricelists/price_history.h"
#include "pricelists/price_import.h"
#include "store/collation.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

// The display order: by collation key, names that collate alike in a fixed order by bytes.
bool DisplayOrder(const std::string& keyA, std::string_view nameA, const std::string& keyB,
                  std::string_view nameB) {
    int order = keyA.compare(keyB);
    return order != 0 ? order < 0 : nameA < nameB;
}

// A name ready for the one sort: the first eight bytes of its collation key as a number, so
// that many comparisons look no further, then the whole key and the name's place in the
// listing. Small, because a million of them are held at once.
struct Sortable {
    std::uint64_t head;
    const char* key;
    std::uint32_t keyLength;
    std::int32_t index;
};

// The sortables of names[first, last), their keys kept back to back in keys.
void MakeSortables(const std::vector<std::string_view>& names, std::size_t first, std::size_t last,
                   std::string& keys, std::vector<Sortable>& sortables) {
    std::vector<std::uint32_t> ends;
    ends.reserve(last - first);
    // A key takes about one and a half times the bytes of its name: reserved once, so that
    // the keys of a big list are never copied while they grow.
    std::size_t nameBytes = 0;
    for (std::size_t i = first; i < last; ++i) nameBytes += names[i].size();
    keys.reserve(nameBytes * 3 / 2 + 64);
    for (std::size_t i = first; i < last; ++i) {
        AppendCollationKey(names[i], keys);
        ends.push_back(static_cast<std::uint32_t>(keys.size()));
    }
    std::uint32_t start = 0;
    for (std::size_t i = first; i < last; ++i) {
        std::uint32_t end = ends[i - first];
        std::uint64_t head = 0;
        for (std::uint32_t b = 0; b < 8; ++b)
            head = head << 8 | (start + b < end ? static_cast<unsigned char>(keys[start + b]) : 0);
        sortables[i] = {head, keys.data() + start, end - start, static_cast<std::int32_t>(i)};
        start = end;
    }
}

}  // namespace

void PriceListModel::LoadNames(const std::string& listFolder, const ItemFilter& filter) {
    listFolder_ = listFolder;
    itemList_.clear();
    itemPrices_.clear();
    priceRead_.clear();
    names_.Clear();
    NameTest passes(filter);
    std::vector<std::string_view> names;
    ForEachNormalFile(listFolder, [&](std::string_view name) {
        if (passes(name)) names.push_back(names_.Add(name));
    });
    // One sort of the whole list, of positions rather than entries: a supplier's list must not
    // pay a linear insertion per item. A name's key is its place in the folder listing.
    // Collation keys never hold a zero byte, so heads padded with zeros order as the keys do.
    std::vector<std::int32_t> order(names.size());
    {
        std::vector<Sortable> sortables(names.size());
        std::string keys, otherKeys;
        auto before = [&](const Sortable& a, const Sortable& b) {
            if (a.head != b.head) return a.head < b.head;
            int byKey =
                std::string_view(a.key, a.keyLength).compare(std::string_view(b.key, b.keyLength));
            return byKey != 0 ? byKey < 0 : names[a.index] < names[b.index];
        };
        std::size_t half = names.size() < 20'000 ? names.size() : names.size() / 2;
        auto first = sortables.begin(), middle = first + static_cast<std::ptrdiff_t>(half);
        std::thread other;
        // The other half is waited for however this one ends.
        struct Joined {
            std::thread& thread;
            ~Joined() {
                if (thread.joinable()) thread.join();
            }
        } joined{other};
        if (half < names.size())
            other = std::thread([&] {
                MakeSortables(names, half, names.size(), otherKeys, sortables);
                std::sort(middle, sortables.end(), before);
            });
        MakeSortables(names, 0, half, keys, sortables);
        std::sort(first, middle, before);
        // The two sorted halves merge straight into the order, which needs no room besides.
        if (other.joinable()) other.join();
        auto left = first, right = middle;
        for (std::int32_t& next : order) {
            bool fromRight = left == middle || (right != sortables.end() && before(*right, *left));
            next = (fromRight ? right++ : left++)->index;
        }
    }
    itemList_.reserve(names.size());
    for (std::int32_t key : order) itemList_.push_back({names[static_cast<std::size_t>(key)], key});
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
        auto bytes = folder.ReadHead(std::string(entry->name), kItemFileSize);
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
    Amount old = isNew ? Amount{} : ReadItemPrice(listFolder, name);
    WriteItemPrice(listFolder, name, price);
    ForgetLastImport(listFolder);  // a change by hand: the import is no longer the last word
    if (isNew || old != price)
        AppendPriceHistory(listFolder,
                           {{HistoryTimeNow(), PriceSource::Typed, name, old, price, {}}}, true);
    if (isNew) {
        itemPrices_.push_back(price);
        priceRead_.push_back(true);
        InsertSorted({names_.Add(name), static_cast<std::int32_t>(itemPrices_.size()) - 1});
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
