#include "store/name_slots.h"

#include <algorithm>
#include <stdexcept>

#include "store/code_page.h"
#include "store/data_file.h"

namespace quantora {

namespace {

std::string TrimTrailingSpaces(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::uint64_t SlotOffset(std::int16_t slot) {
    // A negative slot is "none selected" (after a deletion); writing there is a caller's bug.
    if (slot < 0) throw std::out_of_range("no such name slot");
    return static_cast<std::uint64_t>(slot) * kNameSlotSize;
}

}  // namespace

std::vector<std::string> DecodeSlots(const std::string& bytes) {
    std::vector<std::string> slots;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kNameSlotSize) {
        if (offset + kNameSlotSize > bytes.size()) {
            slots.emplace_back();
            break;
        }
        slots.push_back(TrimTrailingSpaces(DecodeCp1252(bytes.substr(offset, kNameSlotSize))));
    }
    return slots;
}

std::vector<std::string> ReadSlots(const std::string& path) {
    // Listing a missing index makes nothing: only a change of a slot creates the file.
    return DecodeSlots(DataFile::ReadWhole(path).value_or(std::string()));
}

std::vector<NamedSlot> UsedSlots(const std::string& path) {
    std::vector<NamedSlot> used;
    std::vector<std::string> slots = ReadSlots(path);
    for (std::size_t i = 0; i < slots.size() && i < static_cast<std::size_t>(kMaxSlots); ++i)
        if (!slots[i].empty()) used.push_back({slots[i], static_cast<std::int16_t>(i)});
    return used;
}

std::optional<std::string> EncodeSlotName(const std::string& name) {
    auto bytes = EncodeCp1252(TrimTrailingSpaces(name));
    if (!bytes || bytes->empty() || bytes->size() > kNameSlotSize) return std::nullopt;
    bytes->resize(kNameSlotSize, ' ');
    return bytes;
}

std::optional<std::int16_t> FindSlot(const std::vector<std::string>& slots,
                                     const std::string& name) {
    std::string wanted = FoldCase(TrimTrailingSpaces(name));
    for (std::size_t i = 0; i < slots.size() && i < static_cast<std::size_t>(kMaxSlots); ++i)
        if (!slots[i].empty() && FoldCase(slots[i]) == wanted) return static_cast<std::int16_t>(i);
    return std::nullopt;
}

namespace {

// The index with one slot changed replaces the whole file, on the disk before the change
// counts as made: a crash never leaves half a name, and never loses a group or a list.
void WriteSlot(const std::string& path, std::string content, std::int16_t slot,
               const std::string& encoded) {
    std::size_t offset = SlotOffset(slot);
    if (content.size() < offset) content.resize(offset, ' ');
    content.replace(offset, std::min(kNameSlotSize, content.size() - offset), encoded);
    ReplaceFile(path, content, true);
}

// Read without opening for writing, so that a desk that only reads the folder can; a missing
// index is made, empty, as the data files are.
std::string Content(const std::string& path) {
    if (std::optional<std::string> bytes = DataFile::ReadWhole(path)) return *bytes;
    return DataFile::Open(path).ReadAll();
}

}  // namespace

NewSlotResult AddSlot(const std::string& path, const std::string& name) {
    auto encoded = EncodeSlotName(name);
    if (!encoded) return {SlotChange::BadName};
    std::string content = Content(path);
    std::vector<std::string> slots = DecodeSlots(content);
    if (FindSlot(slots, name)) return {SlotChange::Duplicate};
    std::size_t chosen = slots.size();
    for (std::size_t i = std::min(slots.size(), static_cast<std::size_t>(kMaxSlots)); i-- > 0;) {
        if (slots[i].empty()) {
            chosen = i;
            break;
        }
    }
    if (chosen >= static_cast<std::size_t>(kMaxSlots)) return {SlotChange::Full};
    auto slot = static_cast<std::int16_t>(chosen);
    WriteSlot(path, std::move(content), slot, *encoded);
    return {SlotChange::Done, slot};
}

SlotChange RenameSlot(const std::string& path, std::int16_t slot, const std::string& name) {
    auto encoded = EncodeSlotName(name);
    if (!encoded) return SlotChange::BadName;
    std::string content = Content(path);
    if (FindSlot(DecodeSlots(content), name)) return SlotChange::Duplicate;
    WriteSlot(path, std::move(content), slot, *encoded);
    return SlotChange::Done;
}

void DeleteSlot(const std::string& path, std::int16_t slot) {
    WriteSlot(path, Content(path), slot, std::string(kNameSlotSize, ' '));
}

}  // namespace quantora
