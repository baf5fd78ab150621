// The job groups on disk: a group is a name slot of Groups.dat and the folder Jobs<n>/ of
// its jobs. New, rename and delete, and the lists the management window shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/data_folder.h"
#include "store/name_slots.h"
#include "store/settings.h"

namespace quantora {

// The used slots of a name-slot file sorted by name without regard to case, as the
// management window's group and price list columns list them.
std::vector<NamedSlot> SortedEntries(const std::string& slotFile);

// The jobs of a group folder: its normal files, sorted by name without regard to case.
std::vector<std::string> SortedJobNames(const std::string& jobFolder);

// The name that CurrentGroup or CurrentList selects among the entries, if any.
const NamedSlot* SelectedEntry(const std::vector<NamedSlot>& entries, std::int16_t current);

// A new group in the last free slot (or appended), made current and saved in the settings,
// with its job folder. Refused as Duplicate when a group of that name exists (letter case
// and trailing spaces ignored); nothing is written then.
NewSlotResult NewGroup(const DataPaths& paths, Settings& settings, const std::string& name);

// Renames the current group in place; its slot, folder and jobs stay. Refused as Duplicate
// when any group has the name, the renamed one included.
SlotChange RenameGroup(const DataPaths& paths, Settings& settings, const std::string& name);

// Frees the current group's slot, deletes the jobs in its folder and the folder itself, and
// leaves no group selected (CurrentGroup -2). A folder that still holds something the program
// did not put there (a sub-folder, a hidden file) is left in place with that content.
// Throws DataFileError when a job file cannot be deleted; the slot is free by then.
void DeleteGroup(const DataPaths& paths, Settings& settings);

// Makes a group current and saves the settings.
void SelectGroup(const DataPaths& paths, Settings& settings, std::int16_t slot);
// Makes a price list current, makes sure its folder exists and saves the settings.
void SelectPriceList(const DataPaths& paths, Settings& settings, std::int16_t slot);

// The value of CurrentGroup or CurrentList when none is selected.
inline constexpr std::int16_t kNoneSelected = -2;

}  // namespace quantora
