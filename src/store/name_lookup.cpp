#include "store/name_lookup.h"

#include "store/code_page.h"
#include "store/data_file.h"

namespace quantora {

namespace {

// A link counts as what it leads to.
bool IsRegularEntry(const std::string& folderPath, const FolderEntry& entry) {
    if (entry.kind == EntryKind::File) return true;
    return entry.kind == EntryKind::Link && FileExists(folderPath + entry.name);
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

void ForEachNormalFile(const std::string& folderPath,
                       const std::function<void(std::string_view name)>& each) {
    std::vector<FolderEntry> entries;
    if (Files().List(folderPath, entries) != 0) return;
    for (const FolderEntry& entry : entries) {
        // A name from the folder holds no "/" or NUL; only hidden ones need passing over.
        if (entry.name[0] != '.' && IsRegularEntry(folderPath, entry)) each(entry.name);
    }
}

std::vector<std::string> ListNormalFiles(const std::string& folderPath) {
    std::vector<std::string> names;
    ForEachNormalFile(folderPath, [&](std::string_view name) { names.emplace_back(name); });
    return names;
}

std::optional<std::string> FindFile(const std::string& folderPath, const std::string& name) {
    if (!IsPlainFileName(name)) return std::nullopt;
    if (FileExists(folderPath + name)) return name;
    std::string wanted = FoldCase(name);
    std::optional<std::string> found;
    // Folding never changes a name's length in bytes, so most names are passed over unfolded;
    // the first of the folder's order wins, as it does for every lookup.
    ForEachNormalFile(folderPath, [&](std::string_view candidate) {
        if (!found && candidate.size() == name.size() && FoldCase(candidate) == wanted)
            found = std::string(candidate);
    });
    return found;
}

std::optional<std::string> NameResolver::Find(const std::string& folderPath,
                                              const std::string& name) {
    // A costing names the same few jobs and items on many lines: each is looked up once.
    std::string key = folderPath + name;
    if (auto known = found_.find(key); known != found_.end()) return known->second;
    std::optional<std::string> found = Lookup(folderPath, name);
    found_.emplace(std::move(key), found);
    return found;
}

std::optional<std::string> NameResolver::Lookup(const std::string& folderPath,
                                                const std::string& name) {
    if (!IsPlainFileName(name)) return std::nullopt;
    if (FileExists(folderPath + name)) return name;
    auto [it, inserted] = folders_.try_emplace(folderPath);
    if (inserted) {
        // Keep the first name of each folding, as FindFile does.
        for (std::string& candidate : ListNormalFiles(folderPath))
            it->second.try_emplace(FoldCase(candidate), std::move(candidate));
    }
    auto match = it->second.find(FoldCase(name));
    if (match == it->second.end()) return std::nullopt;
    return match->second;
}

}  // namespace quantora
