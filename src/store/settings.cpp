#include "store/settings.h"

#include "store/data_file.h"
#include "store/little_endian.h"

namespace quantora {

namespace {

std::int16_t OneOf(std::int16_t value, std::initializer_list<std::int16_t> valid,
                   std::int16_t fallback) {
    for (std::int16_t v : valid)
        if (v == value) return value;
    return fallback;
}

}  // namespace

std::string EncodeSettings(const Settings& s) {
    std::string bytes = s.Version;
    bytes.resize(4, ' ');
    for (std::int16_t field :
         {s.CurrentList, s.CurrentGroup, s.EditHelp, s.PricesHelp, s.SheetHelp, s.PickHelp,
          s.PrintFontSize, s.PrintTitle, s.PrintTopMargin, s.PrintOrientation})
        AppendInt16(bytes, field);
    return bytes;
}

Settings DecodeSettings(const std::string& raw) {
    std::string bytes = raw.substr(0, kSettingsRecordSize);
    bytes.resize(kSettingsRecordSize, '\0');
    Settings s;
    s.Version = bytes.substr(0, 4);
    std::int16_t* fields[] = {
        &s.CurrentList, &s.CurrentGroup,  &s.EditHelp,   &s.PricesHelp,     &s.SheetHelp,
        &s.PickHelp,    &s.PrintFontSize, &s.PrintTitle, &s.PrintTopMargin, &s.PrintOrientation};
    std::size_t offset = 4;
    for (std::int16_t* field : fields) {
        *field = ReadInt16(bytes, offset);
        offset += 2;
    }
    return s;
}

Settings RepairSettings(Settings s) {
    if (s.CurrentList < 0) s.CurrentList = 0;
    if (s.CurrentGroup < 0) s.CurrentGroup = 0;
    s.EditHelp = OneOf(s.EditHelp, {0, 1}, 1);
    s.PricesHelp = OneOf(s.PricesHelp, {0, 1}, 1);
    s.SheetHelp = OneOf(s.SheetHelp, {0, 1}, 1);
    s.PickHelp = OneOf(s.PickHelp, {0, 1}, 1);
    s.PrintFontSize = OneOf(s.PrintFontSize, {8, 10, 12, 14}, 10);
    s.PrintTitle = OneOf(s.PrintTitle, {0, 1}, 1);
    s.PrintTopMargin = OneOf(s.PrintTopMargin, {1, 2, 3, 4, 5, 6}, 2);
    s.PrintOrientation = OneOf(s.PrintOrientation, {1, 2}, 1);
    return s;
}

Settings ReadSettings(const std::string& defaultFolder) {
    std::string path = defaultFolder + kSettingsFileName;
    DataFile file = DataFile::Open(path);
    std::string bytes = file.ReadAt(0, kSettingsRecordSize);
    file.Close();
    Settings settings = DecodeSettings(bytes);
    if (bytes.size() < kSettingsRecordSize || settings.Version != "2.02") {
        settings = Settings{};
        WriteSettings(defaultFolder, settings);
    }
    return RepairSettings(settings);
}

void WriteSettings(const std::string& defaultFolder, const Settings& settings) {
    // The settings are small and rewritten often; a crash must never leave a torn record,
    // which the next start would throw away with all the user's choices.
    ReplaceFile(defaultFolder + kSettingsFileName, EncodeSettings(settings), true);
}

}  // namespace quantora
