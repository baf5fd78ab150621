// The name-slot files Groups.dat and PriceLists.dat: 70-byte, space-padded names whose
// position is the number of the group or price list. Slots never move; a deleted entry
// leaves a slot of spaces behind that a later entry reuses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quantora {

inline constexpr std::size_t kNameSlotSize = 70;
// Slot numbers are kept in 16-bit fields of the settings record and of every job line.
inline constexpr std::int32_t kMaxSlots = 32'768;

struct NamedSlot {
    std::string name;  // UTF-8, trailing spaces removed
    std::int16_t slot;
};

// The slots of a file's content in slot order; a free slot is an empty name and a short
// piece at the end a free slot.
std::vector<std::string> DecodeSlots(const std::string& bytes);

// Every slot of the file in slot order; a free slot reads as an empty name. A short piece
// at the end of a damaged file is a free slot; a missing file has no slots and is not
// created. Throws DataFileError when the file is there but cannot be read.
std::vector<std::string> ReadSlots(const std::string& path);

// The used slots in slot order, as the management window lists them.
std::vector<NamedSlot> UsedSlots(const std::string& path);

// The name in its 70-byte on-disk form; nothing when it does not fit Windows-1252 or is
// longer than a slot.
std::optional<std::string> EncodeSlotName(const std::string& name);

// The slot of a used entry with this name (letter case and trailing spaces ignored).
std::optional<std::int16_t> FindSlot(const std::vector<std::string>& slots,
                                     const std::string& name);

enum class SlotChange { Done, Duplicate, Full, BadName };

struct NewSlotResult {
    SlotChange outcome;
    std::int16_t slot = -1;  // the slot written when outcome is Done
};

// A new entry: refused as Duplicate when any used slot holds the name; otherwise written
// into the highest-numbered free slot, or appended. Full when the file already has every
// slot a 16-bit number can name; BadName when the name cannot be stored.
NewSlotResult AddSlot(const std::string& path, const std::string& name);

// Renames a slot in place. Refused as Duplicate when any used slot, this one included,
// holds the name, so a rename to the same name or a case variant is refused.
SlotChange RenameSlot(const std::string& path, std::int16_t slot, const std::string& name);

// Frees a slot (70 spaces); the file never shrinks.
void DeleteSlot(const std::string& path, std::int16_t slot);

}  // namespace quantora
