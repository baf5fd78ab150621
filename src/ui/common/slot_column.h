// A column of groups or price lists as every window shows it: the names in their sorted
// order, each entry carrying its slot number, and the current one selected.
#pragma once

#include <cstdint>
#include <optional>

#include "manage/name_index.h"

class QListWidget;

namespace quantora {

// Fills the column with the loaded entries and selects the one loading chose (none for -1).
void ShowSlotColumn(QListWidget* column, const IndexColumn& loaded);

// The slot number of the selected entry, or nothing when none is selected.
std::optional<std::int16_t> SelectedSlot(const QListWidget* column);

}  // namespace quantora
