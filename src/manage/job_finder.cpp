#include "manage/job_finder.h"

#include "manage/name_index.h"
#include "store/code_page.h"

namespace quantora {

JobFinder::JobFinder(const DataPaths& paths) {
    for (const NamedSlot& group : SortedEntries(paths, NameIndex::Groups))
        for (std::string& job : SortedJobNames(paths.JobFolder(group.slot))) {
            folded_.push_back(FoldCase(job));
            jobs_.push_back({group.slot, group.name, std::move(job)});
        }
}

std::vector<const FoundJob*> JobFinder::Matching(const std::string& text) const {
    std::vector<const FoundJob*> found;
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return found;
    std::string wanted = FoldCase(text.substr(first, text.find_last_not_of(' ') - first + 1));
    // The name the user most likely means is the one typed whole, then one typed from its
    // start.
    std::vector<const FoundJob*> starting, within;
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        std::size_t at = folded_[i].find(wanted);
        if (at == std::string::npos) continue;
        if (at > 0)
            within.push_back(&jobs_[i]);
        else if (folded_[i].size() == wanted.size())
            found.push_back(&jobs_[i]);
        else
            starting.push_back(&jobs_[i]);
    }
    found.insert(found.end(), starting.begin(), starting.end());
    found.insert(found.end(), within.begin(), within.end());
    return found;
}

std::string NothingFoundNote(const std::string& text) {
    return "No job name holds \"" + text + "\".";
}

}  // namespace quantora
