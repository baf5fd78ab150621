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
    // The folder the user last saved a file in or opened one from (a PDF, an export, a
    // supplier's file), where the next file dialog opens; empty at first.
    std::string fileFolder;
    // Whether the costing sheet says, as a job opens, that prices changed since it was saved.
    bool priceChangeNote = true;
    // The settings record of a desk that only reads a data folder another desk works in (as
    // hexadecimal text), which never writes Kiru.ini; empty until it first changes one.
    std::string readOnlySettings;
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

// Where a file dialog opens: the folder last used while it is still there, else home.
std::string FileDialogFolder(const OwnSettings& settings, const std::string& home);

// Notes the folder of the file the user chose in a file dialog for the next one, in the file
// at path; a setting that cannot be written is simply not remembered.
void RememberFileFolder(const std::string& path, const std::string& chosenFile);

}  // namespace quantora
