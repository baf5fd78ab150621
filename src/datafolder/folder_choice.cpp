#include "datafolder/folder_choice.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "datafolder/folder_access.h"
#include "store/data_file.h"

namespace quantora {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool EndsInIgnoringCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           std::equal(tail.rbegin(), tail.rend(), text.rbegin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The path as the disk resolves it, as far as it exists, ending in "/".
std::string Resolved(const std::string& folder) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, error);
    if (error) return WithSlash(folder);
    return WithSlash(resolved.lexically_normal().string());
}

}  // namespace

bool SameFolder(const std::string& a, const std::string& b) {
    if (WithSlash(a) == WithSlash(b)) return true;
    EntryFacts first, second;
    return Files().Facts(a, first) == 0 && Files().Facts(b, second) == 0 &&
           first.kind == EntryKind::Folder && first.device == second.device &&
           first.identity == second.identity;
}

bool FoldersNest(const std::string& a, const std::string& b) {
    std::string first = Resolved(a), second = Resolved(b);
    if (first == second) return false;
    return first.starts_with(second) || second.starts_with(first);
}

std::string FolderToUse(const std::string& picked, const std::string& programFolder) {
    std::string folder = WithSlash(picked);
    if (SameFolder(folder, programFolder + "Data/")) return folder;
    if (EndsInIgnoringCase(folder, std::string("/") + kDataSubFolder + "/")) return folder;
    return folder + kDataSubFolder + "/";
}

std::optional<std::string> ProgramDataFolderRefusal(const std::string& folder,
                                                    const std::string& programFolder) {
    if (!SameFolder(folder, programFolder + "Data/")) return std::nullopt;
    std::string libnames = folder + "Libnames.dat";
    bool writable = FileExists(libnames) ? Permissions(libnames) == Access::Writable
                                         : Permissions(folder) == Access::Folder;
    if (writable) return std::nullopt;
    return "You do not have write access to this folder. Before you can use it, you must "
           "locate it in \"Computer\", select the security tab in properties and give "
           "yourself full control. ";
}

FolderButtons ButtonsOnOpening(const DataPaths& paths) {
    return {false, !SameFolder(paths.dataFolder, paths.defaultFolder)};
}

FolderButtons ButtonsForSelection(const std::string& selected, const DataPaths& paths) {
    return {!SameFolder(selected, paths.dataFolder), !SameFolder(selected, paths.defaultFolder)};
}

}  // namespace quantora
