// A desk that only reads a data folder another desk works in. The counter clerk looks up a
// price, finds a job or prints a costing while the estimator works: every file the working
// desk writes replaces the old one whole by a rename, so this desk reads each job, item and
// list of names old or new, never half. It writes nothing in the data folder: its working
// copy of an open costing lies in a folder of its own, the quotes it prints are kept in the
// user's documents, and the settings it changes in the program's own settings file.
#pragma once

#include <optional>
#include <string>

#include "datafolder/desk_hold.h"
#include "store/data_folder.h"
#include "store/settings.h"

namespace quantora {

// Refused in a reading desk, for an action that would change the data folder.
inline constexpr const char* kReadOnlyRefusal =
    "This data folder is open read-only, as another computer works in it. Nothing in it can be "
    "changed here.";

// The folder a reading desk keeps its working files in: a folder of its own under
// runtimeFolder (the desk's runtime folder, ending in "/"), made for this process.
std::string ReadOnlyWorkFolder(const std::string& runtimeFolder, long process);

// The data folder as a reading desk sees it: the working files in workFolder, kept quotes
// in documentsFolder's "Quantora Quotes" (both ending in "/"). The folders are not made here.
DataPaths ReadOnlyPaths(DataPaths paths, const std::string& workFolder,
                        const std::string& documentsFolder);

// The window caption of a reading desk: the program's caption, then what the desk saw of
// the hold when it opened the folder.
std::string ReadOnlyCaption(const std::string& caption, const HoldLook& seen);

// The settings a reading desk starts with: those it kept in the program's own settings the
// last time it read a folder (the record's bytes as hexadecimal text), or else the settings
// record's, which it never writes.
Settings ReadOnlySettings(const std::string& keptRecord, const Settings& fromRecord);
// The text the settings are kept as.
std::string KeptSettingsText(const Settings& settings);

// The question asked once when the desk that held the folder lets it go.
std::string FolderFreeQuestion(const std::string& folder, const HoldLook& seen);

// Said after a reading desk printed a quote: where its copy is kept.
std::string QuoteKeptElsewhereNote(const std::string& keptFile);

// Removes the reading desk's working folder and the files in it, as the desk closes.
void RemoveReadOnlyWorkFolder(const std::string& workFolder);

}  // namespace quantora
