#include "manage/group_operations.h"

#include <unistd.h>

#include <algorithm>

#include "store/code_page.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

template <typename T, typename Name>
void SortByName(std::vector<T>& items, Name name) {
    std::vector<std::pair<std::u32string, T>> keyed;
    keyed.reserve(items.size());
    for (T& item : items) keyed.emplace_back(FoldCase(name(item)), std::move(item));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    items.clear();
    for (auto& [key, item] : keyed) items.push_back(std::move(item));
}

}  // namespace

std::vector<NamedSlot> SortedEntries(const std::string& slotFile) {
    std::vector<NamedSlot> entries = UsedSlots(slotFile);
    SortByName(entries, [](const NamedSlot& e) { return e.name; });
    return entries;
}

std::vector<std::string> SortedJobNames(const std::string& jobFolder) {
    std::vector<std::string> names = ListNormalFiles(jobFolder);
    SortByName(names, [](const std::string& n) { return n; });
    return names;
}

const NamedSlot* SelectedEntry(const std::vector<NamedSlot>& entries, std::int16_t current) {
    for (const NamedSlot& entry : entries)
        if (entry.slot == current) return &entry;
    return nullptr;
}

NewSlotResult NewGroup(const DataPaths& paths, Settings& settings, const std::string& name) {
    NewSlotResult result = AddSlot(paths.GroupIndex(), name);
    if (result.outcome != SlotChange::Done) return result;
    settings.CurrentGroup = result.slot;
    WriteSettings(paths.defaultFolder, settings);
    EnsureFolder(paths.JobFolder(result.slot));
    return result;
}

SlotChange RenameGroup(const DataPaths& paths, Settings& settings, const std::string& name) {
    SlotChange outcome = RenameSlot(paths.GroupIndex(), settings.CurrentGroup, name);
    if (outcome == SlotChange::Done) WriteSettings(paths.defaultFolder, settings);
    return outcome;
}

void DeleteGroup(const DataPaths& paths, Settings& settings) {
    if (settings.CurrentGroup < 0) return;
    DeleteSlot(paths.GroupIndex(), settings.CurrentGroup);
    std::string folder = paths.JobFolder(settings.CurrentGroup);
    for (const std::string& job : ListNormalFiles(folder)) DeleteDataFile(folder + job);
    ::rmdir(folder.substr(0, folder.size() - 1).c_str());
    settings.CurrentGroup = kNoneSelected;
    WriteSettings(paths.defaultFolder, settings);
}

void SelectGroup(const DataPaths& paths, Settings& settings, std::int16_t slot) {
    settings.CurrentGroup = slot;
    WriteSettings(paths.defaultFolder, settings);
}

void SelectPriceList(const DataPaths& paths, Settings& settings, std::int16_t slot) {
    settings.CurrentList = slot;
    EnsureFolder(paths.ListFolder(slot));
    WriteSettings(paths.defaultFolder, settings);
}

}  // namespace quantora
