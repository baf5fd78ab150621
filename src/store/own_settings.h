// The program's own settings, beyond the settings record: a small text file under the user's
// configuration folder, one "name=value" a line, so that Kiru.ini keeps exactly the bytes it
// has always had.
#pragma once

#include <string>
#include <vector>

namespace quantora {

// The highest markup on cost a quote takes, in percent.
inline constexpr int kMaxMarkup = 999;

struct OwnSettings {
    // The markup and the unit-price choice of the last quote, offered for the next one.
    int quoteMarkup = 0;
    bool quoteShowsUnitPrices = true;
    // Lines this version does not know, written back as they were, so that a newer version's
    // settings survive a run of this one.
    std::vector<std::string> otherLines;
    friend bool operator==(const OwnSettings&, const OwnSettings&) = default;
};

// The settings in the file; a missing or unreadable file, and any value out of its range,
// give the defaults for what they would have set.
OwnSettings ReadOwnSettings(const std::string& path);

// Writes the settings, replacing the file whole and making its folders as needed. False when
// it could not be written: the settings are then simply not remembered.
bool WriteOwnSettings(const std::string& path, const OwnSettings& settings);

}  // namespace quantora
