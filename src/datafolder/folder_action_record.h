// The record a move or a restore keeps of how far it has got. It lies in the default folder,
// which every start knows whichever folder the data is in, and is replaced whole at each
// step, so the next start can finish or undo an action that a kill or a power cut cut short.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quantora {

enum class RecordedAction { Move, Restore };

// The steps of the two actions, in their order. A move: Copying (the new folder emptied and
// filled; until this step ends Data.dir names the old folder), then Erasing (Data.dir names
// the new folder; the old one goes). A restore: Copying (the backup copied into a working
// folder inside the data folder), Clearing (the old data moved aside), Filling (the copy
// moved into place), Erasing (the old data put aside is erased).
enum class ActionStep { Copying, Clearing, Filling, Erasing };

struct ActionRecord {
    RecordedAction action = RecordedAction::Move;
    ActionStep step = ActionStep::Copying;
    // Where the data comes from and goes to: a move's old and new data folders, a restore's
    // backup and data folder. Both end in "/".
    std::string from;
    std::string to;

    bool operator==(const ActionRecord&) const = default;
};

inline constexpr const char* kActionRecordFileName = ".quantora-folder-action";

// The record's bytes, and back; nothing for bytes that are no record (a file of another
// version, or damaged).
std::string EncodeActionRecord(const ActionRecord& record);
std::optional<ActionRecord> ParseActionRecord(std::string_view bytes);

// Writes the record in the default folder, on the disk before it returns. Throws
// DataFileError when it cannot be written.
void WriteActionRecord(const std::string& defaultFolder, const ActionRecord& record);
// The record in the default folder, if there is one; a file there that is no record reads as
// damaged.
struct StoredRecord {
    bool present = false;
    std::optional<ActionRecord> record;
};
StoredRecord ReadActionRecord(const std::string& defaultFolder);
// Removes the record once its action is over. Throws DataFileError when it cannot.
void RemoveActionRecord(const std::string& defaultFolder);

}  // namespace quantora
