// The settings record Kiru.ini in the default folder: 24 bytes, little-endian, kept in
// memory for the whole run and written back at every change.
#pragma once

#include <cstdint>
#include <string>

namespace quantora {

struct Settings {
    std::string Version = "2.02";  // exactly four characters on disk
    std::int16_t CurrentList = 0;
    std::int16_t CurrentGroup = 0;
    std::int16_t EditHelp = 1;
    std::int16_t PricesHelp = 1;
    std::int16_t SheetHelp = 1;
    std::int16_t PickHelp = 1;
    std::int16_t PrintFontSize = 10;
    std::int16_t PrintTitle = 1;
    std::int16_t PrintTopMargin = 2;
    std::int16_t PrintOrientation = 1;

    friend bool operator==(const Settings&, const Settings&) = default;
};

inline constexpr std::size_t kSettingsRecordSize = 24;
inline constexpr const char* kSettingsFileName = "Kiru.ini";

std::string EncodeSettings(const Settings& settings);
// Reads the fields of a record as they stand (bytes missing at the end read as zero).
Settings DecodeSettings(const std::string& bytes);
// Replaces every field outside its valid values by its default. A record of another
// version is not repaired here: ReadSettings replaces it whole.
Settings RepairSettings(Settings settings);

// Reads Kiru.ini from the default folder. A missing file, a short one or one of another
// version is replaced on disk by a fresh record of defaults; out-of-range fields are
// repaired in memory only and reach the file with the next WriteSettings.
Settings ReadSettings(const std::string& defaultFolder);

// Writes the record to Kiru.ini in the default folder, replacing the file safely.
void WriteSettings(const std::string& defaultFolder, const Settings& settings);

}  // namespace quantora
