// Finding a job or item file by name. Windows folders ignore letter case and Linux folders
// do not, so every existence test, read and write of a job or item file goes through here:
// the exact name first, then a file whose name differs only in case.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quantora {

// True for a name that can be a job or item file of a folder: not empty, no "/" or NUL,
// not "." or "..", and not hidden (a leading full stop, which no job or item name has).
// Anything else, from a damaged file for instance, names no file at all.
bool IsPlainFileName(const std::string& name);

// The names of the normal files of a folder (no folders, no hidden files), in the order
// the folder listing gives them. A folder that cannot be listed has none.
std::vector<std::string> ListNormalFiles(const std::string& folderPath);
// The same names handed to each one by one, for a caller that keeps them its own way; a name
// lives only as long as the call.
void ForEachNormalFile(const std::string& folderPath,
                       const std::function<void(std::string_view name)>& each);

// The name of the file in folderPath that is name, exactly or but for letter case (the
// exact name wins, then the first in listing order); nothing when there is none.
std::optional<std::string> FindFile(const std::string& folderPath, const std::string& name);

// FindFile for a run of many lookups (pricing a costing): a folder is listed at most once,
// and only when an exact name misses. Files created during the run are not seen.
class NameResolver {
  public:
    std::optional<std::string> Find(const std::string& folderPath, const std::string& name);

  private:
    std::optional<std::string> Lookup(const std::string& folderPath, const std::string& name);

    std::map<std::string, std::unordered_map<std::string, std::string>> folders_;
    std::unordered_map<std::string, std::optional<std::string>> found_;  // by folder + name
};

}  // namespace quantora
