// The two name indexes of the data folder and what hangs on them: a job group is a slot of
// Groups.dat with the folder Jobs<n>/ of its jobs, a price list a slot of PriceLists.dat with
// the folder Lists<n>/ of its items. New, rename, delete and select, and the sorted lists
// the management window shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/data_folder.h"
#include "store/name_slots.h"
#include "store/settings.h"

namespace quantora {

enum class NameIndex { Groups, PriceLists };

// The value of CurrentGroup or CurrentList when none is selected.
inline constexpr std::int16_t kNoneSelected = -2;

// The used slots of the index in the collation order of every list, each with its slot.
std::vector<NamedSlot> SortedEntries(const DataPaths& paths, NameIndex index);

// The jobs of a group folder: its normal files, in the collation order of every list.
std::vector<std::string> SortedJobNames(const std::string& jobFolder);

// A column of the management window as loading it leaves it: the sorted entries and the
// row of the one CurrentGroup or CurrentList selects (-1 when it is not listed).
struct IndexColumn {
    std::vector<NamedSlot> entries;
    int selected = -1;
};

// Lists the index for its column. The selected entry's folder is made if it went missing,
// as loading the column always does; listing alone creates nothing.
IndexColumn LoadIndexColumn(const DataPaths& paths, const Settings& settings, NameIndex index);

// The current slot of the index: CurrentGroup or CurrentList.
std::int16_t CurrentSlot(const Settings& settings, NameIndex index);
// The folder of a slot: Jobs<n>/ or Lists<n>/.
std::string EntryFolder(const DataPaths& paths, NameIndex index, std::int16_t slot);

// A new entry in the last free slot (or appended), made current and saved in the settings,
// with its folder. Refused as Duplicate when an entry of that name exists (letter case and
// trailing spaces ignored); nothing is written then.
NewSlotResult NewEntry(const DataPaths& paths, Settings& settings, NameIndex index,
                       const std::string& name);

// Renames the current entry in place; its slot, folder and content stay. Refused as
// Duplicate when any entry has the name, the renamed one included.
SlotChange RenameEntry(const DataPaths& paths, Settings& settings, NameIndex index,
                       const std::string& name);

// Frees the current entry's slot, deletes the files of its folder and the folder itself,
// and leaves nothing selected. A folder that still holds something the program did not
// put there (a sub-folder, a hidden file) is left in place with that content. Throws
// DataFileError when a file cannot be deleted; the slot is free by then.
void DeleteEntry(const DataPaths& paths, Settings& settings, NameIndex index);

// Makes an entry current, makes sure its folder exists and saves the settings.
void SelectEntry(const DataPaths& paths, Settings& settings, NameIndex index, std::int16_t slot);

}  // namespace quantora
