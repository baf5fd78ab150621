#include "manage/name_index.h"

#include <algorithm>

#include "store/collation.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

template <typename T, typename Name>
void SortByName(std::vector<T>& items, Name name) {
    std::vector<std::pair<std::string, T>> keyed;
    keyed.reserve(items.size());
    for (T& item : items) keyed.emplace_back(CollationKey(name(item)), std::move(item));
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : name(a.second) < name(b.second);
    });
    items.clear();
    for (auto& [key, item] : keyed) items.push_back(std::move(item));
}

std::string IndexFile(const DataPaths& paths, NameIndex index) {
    return index == NameIndex::Groups ? paths.GroupIndex() : paths.PriceListIndex();
}

std::int16_t& CurrentSlotOf(Settings& settings, NameIndex index) {
    return index == NameIndex::Groups ? settings.CurrentGroup : settings.CurrentList;
}

}  // namespace

std::vector<NamedSlot> SortedEntries(const DataPaths& paths, NameIndex index) {
    std::vector<NamedSlot> entries = UsedSlots(IndexFile(paths, index));
    SortByName(entries, [](const NamedSlot& e) { return e.name; });
    return entries;
}

std::vector<std::string> SortedJobNames(const std::string& jobFolder) {
    std::vector<std::string> names = ListNormalFiles(jobFolder);
    SortByName(names, [](const std::string& n) { return n; });
    return names;
}

IndexColumn LoadIndexColumn(const DataPaths& paths, const Settings& settings, NameIndex index) {
    IndexColumn column{SortedEntries(paths, index), -1};
    std::int16_t current = CurrentSlot(settings, index);
    for (std::size_t row = 0; row < column.entries.size(); ++row) {
        if (column.entries[row].slot != current) continue;
        column.selected = static_cast<int>(row);
        EnsureFolder(EntryFolder(paths, index, current));
        break;
    }
    return column;
}

std::int16_t CurrentSlot(const Settings& settings, NameIndex index) {
    return index == NameIndex::Groups ? settings.CurrentGroup : settings.CurrentList;
}

std::string EntryFolder(const DataPaths& paths, NameIndex index, std::int16_t slot) {
    return index == NameIndex::Groups ? paths.JobFolder(slot) : paths.ListFolder(slot);
}

NewSlotResult NewEntry(const DataPaths& paths, Settings& settings, NameIndex index,
                       const std::string& name) {
    NewSlotResult result = AddSlot(IndexFile(paths, index), name);
    if (result.outcome == SlotChange::Done) SelectEntry(paths, settings, index, result.slot);
    return result;
}

SlotChange RenameEntry(const DataPaths& paths, Settings& settings, NameIndex index,
                       const std::string& name) {
    SlotChange outcome = RenameSlot(IndexFile(paths, index), CurrentSlot(settings, index), name);
    if (outcome == SlotChange::Done) WriteSettings(paths.defaultFolder, settings);
    return outcome;
}

void DeleteEntry(const DataPaths& paths, Settings& settings, NameIndex index) {
    std::int16_t& current = CurrentSlotOf(settings, index);
    if (current < 0) return;
    DeleteSlot(IndexFile(paths, index), current);
    std::string folder = EntryFolder(paths, index, current);
    for (const std::string& file : ListNormalFiles(folder)) DeleteDataFile(folder + file);
    for (const char* record : kListRecords) Files().Remove(folder + record);
    Files().RemoveFolder(folder);
    current = kNoneSelected;
    WriteSettings(paths.defaultFolder, settings);
}

void SelectEntry(const DataPaths& paths, Settings& settings, NameIndex index, std::int16_t slot) {
    CurrentSlotOf(settings, index) = slot;
    EnsureFolder(EntryFolder(paths, index, slot));
    WriteSettings(paths.defaultFolder, settings);
}

}  // namespace quantora
