#include "datafolder/folder_action_record.h"

#include <array>
#include <vector>

#include "store/data_file.h"

namespace quantora {

namespace {

// The first field names the format, so a record of some later version is not misread.
constexpr std::string_view kFormat = "quantora folder action 1";
constexpr std::array<std::string_view, 2> kActions = {"move", "restore"};
constexpr std::array<std::string_view, 4> kSteps = {"copying", "clearing", "filling", "erasing"};

template <std::size_t N>
std::optional<std::size_t> IndexOf(const std::array<std::string_view, N>& words,
                                   std::string_view word) {
    for (std::size_t i = 0; i < N; ++i)
        if (words[i] == word) return i;
    return std::nullopt;
}

}  // namespace

// Fields end in NUL, the one byte no path can hold.
std::string EncodeActionRecord(const ActionRecord& record) {
    std::string bytes;
    for (std::string_view field : {kFormat, kActions[static_cast<std::size_t>(record.action)],
                                   kSteps[static_cast<std::size_t>(record.step)],
                                   std::string_view(record.from), std::string_view(record.to)}) {
        bytes += field;
        bytes += '\0';
    }
    return bytes;
}

std::optional<ActionRecord> ParseActionRecord(std::string_view bytes) {
    std::vector<std::string_view> fields;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\0');
        if (end == std::string_view::npos) return std::nullopt;
        fields.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    if (fields.size() != 5 || fields[0] != kFormat) return std::nullopt;
    auto action = IndexOf(kActions, fields[1]);
    auto step = IndexOf(kSteps, fields[2]);
    if (!action || !step) return std::nullopt;
    auto folder = [](std::string_view path) {
        return !path.empty() && path.front() == '/' && path.back() == '/';
    };
    if (!folder(fields[3]) || !folder(fields[4])) return std::nullopt;
    ActionRecord record;
    record.action = static_cast<RecordedAction>(*action);
    record.step = static_cast<ActionStep>(*step);
    // A move has two steps only.
    if (record.action == RecordedAction::Move && record.step != ActionStep::Copying &&
        record.step != ActionStep::Erasing)
        return std::nullopt;
    record.from = fields[3];
    record.to = fields[4];
    return record;
}

void WriteActionRecord(const std::string& defaultFolder, const ActionRecord& record) {
    ReplaceFile(defaultFolder + kActionRecordFileName, EncodeActionRecord(record), true);
}

StoredRecord ReadActionRecord(const std::string& defaultFolder) {
    StoredRecord stored;
    std::optional<std::string> bytes;
    try {
        bytes = DataFile::ReadWhole(defaultFolder + kActionRecordFileName);
    } catch (const DataFileError&) {
        stored.present = true;  // there, but unreadable: damaged
        return stored;
    }
    if (!bytes) return stored;
    stored.present = true;
    stored.record = ParseActionRecord(*bytes);
    return stored;
}

void RemoveActionRecord(const std::string& defaultFolder) {
    DeleteDataFile(defaultFolder + kActionRecordFileName);
}

}  // namespace quantora
