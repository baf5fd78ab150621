// Where the data lives: the default folder with the settings and Data.dir, the data folder
// it points to, the paths derived from it, and the content a new data folder starts with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/settings.h"

namespace quantora {

inline constexpr const char* kDataDirFileName = "Data.dir";
// The records a price list's folder keeps of its imports: what the last one changed, so that
// it can be undone, and the names the supplier gave the items whose names were mended. Being
// hidden files, no listing of the folder shows them as items; they go wherever the list goes.
inline constexpr const char* kLastImportRecord = ".quantora-last-import";
inline constexpr const char* kSupplierNamesRecord = ".quantora-supplier-names";
// And the history of its prices: what changed each, and when.
inline constexpr const char* kPriceHistoryRecord = ".quantora-price-history";
inline constexpr const char* kListRecords[] = {kLastImportRecord, kSupplierNamesRecord,
                                               kPriceHistoryRecord};
inline bool IsListRecord(std::string_view name) {
    return name == kLastImportRecord || name == kSupplierNamesRecord || name == kPriceHistoryRecord;
}
inline constexpr const char* kFirstPriceListName = "My First Price List";
inline constexpr const char* kFirstGroupName = "My First Group";
inline constexpr const char* kFirstJobName = "My First Job Costing";

// Folder paths always end in "/".
struct DataPaths {
    std::string defaultFolder;
    std::string dataFolder;

    std::string GroupIndex() const { return dataFolder + "Groups.dat"; }
    std::string PriceListIndex() const { return dataFolder + "PriceLists.dat"; }
    // Jobs<n>/ and Lists<n>/: the number in decimal, no blanks or leading zeros.
    std::string JobFolder(std::int32_t group) const;
    std::string ListFolder(std::int32_t list) const;
    std::string TempJob() const { return WorkFolder() + "Temp.job"; }
    std::string SpareJob() const { return WorkFolder() + "Spare.job"; }
    std::string ClipJob() const { return WorkFolder() + "Clip.job"; }
    // Where each quote sent to a customer is kept as a PDF, as it was printed.
    std::string QuoteFolder() const { return ReadOnly() ? ownQuoteFolder : dataFolder + "Quotes/"; }

    // A desk that only reads a data folder another desk works in writes nothing there: its
    // working files lie in a folder of its own and the quotes it prints are kept in the
    // user's documents. Both empty for the desk that works in the data folder.
    std::string ownWorkFolder{};
    std::string ownQuoteFolder{};
    bool ReadOnly() const { return !ownWorkFolder.empty(); }
    std::string WorkFolder() const { return ReadOnly() ? ownWorkFolder : dataFolder; }
};

struct DataFolderSetUp {
    DataPaths paths;
    // Set when Data.dir named no usable folder (one that cannot be listed, a file, bytes
    // that are no path); the program then runs on the default folder and Data.dir has been
    // removed, or emptied where it could not be.
    std::optional<std::string> unreachableFolder;
};

// Resolves the data folder from Data.dir in the default folder and gives an empty data
// folder its first-run content: the index files, the group "My First Group" with its empty
// job, and the empty price list. Writes the settings and makes sure the current group's
// and price list's folders exist. Throws DataFileError when a data file cannot be opened.
DataFolderSetUp SetUpDataFolder(const std::string& defaultFolder, Settings& settings);

// Clears the temporary files a crash left behind, in the default folder, the data folder and
// the data folder's first-level folders (Jobs<n>/, Lists<n>/). Call it only once this copy
// of the program knows it is the only one running: another copy's are not stale.
void RemoveStaleTemporaryFiles(const DataPaths& paths);

// The data folder as SetUpDataFolder will find it, read before anything is written: the folder
// Data.dir names, or the default folder when Data.dir is empty, missing, unreadable or names no
// folder that can be listed.
std::string DataFolderNamed(const std::string& defaultFolder);

// The data folder that Data.dir's content names: the default folder when it is empty,
// otherwise the path it holds, given its closing "/" when that is missing.
std::string DataFolderFromDataDir(const std::string& content, const std::string& defaultFolder);

// Records a new data folder in Data.dir of the default folder: Data.dir is replaced whole by
// the path, or deleted when the data folder is the default folder itself (compared exactly:
// a folder differing only in letter case is another folder). Throws DataFileError when
// Data.dir cannot be deleted or written.
void WriteDataDir(const std::string& defaultFolder, const std::string& dataFolder);

// The words shown when Data.dir names a folder that cannot be reached.
std::string NotAccessibleMessage(const std::string& folder);

}  // namespace quantora
