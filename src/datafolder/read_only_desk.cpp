#include "datafolder/read_only_desk.h"

#include "datafolder/data_copy.h"

namespace quantora {

namespace {

std::string WithoutSeparator(const std::string& folder) {
    return folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string ReadOnlyWorkFolder(const std::string& runtimeFolder, long process) {
    return runtimeFolder + "quantora-read-only-" + std::to_string(process) + "/";
}

DataPaths ReadOnlyPaths(DataPaths paths, const std::string& workFolder,
                        const std::string& documentsFolder) {
    paths.ownWorkFolder = workFolder;
    paths.ownQuoteFolder = documentsFolder + "Quantora Quotes/";
    return paths;
}

std::string ReadOnlyCaption(const std::string& caption, const HoldLook& seen) {
    if (!seen.held) return caption + " (read only)";
    if (!seen.holder) return caption + " (read only: in use on another computer)";
    return caption + " (read only: in use by " + seen.holder->user + " on " +
           seen.holder->computer + ")";
}

std::string KeptSettingsText(const Settings& settings) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : EncodeSettings(settings)) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

Settings ReadOnlySettings(const std::string& keptRecord, const Settings& fromRecord) {
    if (keptRecord.size() != 2 * kSettingsRecordSize) return fromRecord;
    std::string bytes;
    for (std::size_t i = 0; i < keptRecord.size(); i += 2) {
        int high = HexDigit(keptRecord[i]), low = HexDigit(keptRecord[i + 1]);
        if (high < 0 || low < 0) return fromRecord;
        bytes += static_cast<char>(high * 16 + low);
    }
    Settings kept = DecodeSettings(bytes);
    if (kept.Version != Settings{}.Version) return fromRecord;
    return RepairSettings(kept);
}

std::string FolderFreeQuestion(const std::string& folder, const HoldLook& seen) {
    std::string who = seen.holder ? seen.holder->user + " on the computer " + seen.holder->computer
                                  : "The other computer";
    return who + " has closed the data folder " + WithoutSeparator(folder) +
           ".\n\nDo you want to work in it here now? Quantora then reads its lists anew, and "
           "you can change jobs and prices again.";
}

std::string QuoteKeptElsewhereNote(const std::string& keptFile) {
    return "As the data folder is open read-only, the copy of this quote is kept in your own "
           "documents, as " +
           keptFile + ".";
}

void RemoveReadOnlyWorkFolder(const std::string& workFolder) {
    if (!workFolder.empty()) EraseWorkingFolder(workFolder, {});
}

}  // namespace quantora
