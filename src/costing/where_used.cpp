#include "costing/where_used.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "costing/job_file.h"
#include "store/code_page.h"
#include "store/collation.h"
#include "store/data_file.h"
#include "store/name_lookup.h"
#include "store/name_slots.h"

namespace quantora {

namespace {

struct SavedJob {
    std::int16_t groupSlot;
    std::string group, job;
    std::vector<JobLine> lines;
};

// A job's key: its group and its folded name, as lines name jobs whatever the letter case.
using JobKey = std::pair<std::int16_t, std::string>;

bool Names(const JobLine& line, const UsedThing& thing) {
    return line.IsJob() == thing.isJob && line.SourceSlot == thing.slot &&
           FoldCase(line.Item) == FoldCase(thing.name);
}

void SortByGroupThenJob(std::vector<JobUse>& uses) {
    std::stable_sort(uses.begin(), uses.end(), [](const JobUse& a, const JobUse& b) {
        if (a.group != b.group) return CollatesBefore(a.group, b.group);
        return CollatesBefore(a.job, b.job);
    });
}

}  // namespace

WhereUsed FindWhereUsed(const DataPaths& paths, const UsedThing& thing) {
    WhereUsed used;
    std::vector<SavedJob> jobs;
    std::map<std::string, std::int16_t> groupOfName;  // folded job name -> a group holding it
    std::set<std::string> shared;
    for (const NamedSlot& group : UsedSlots(paths.GroupIndex())) {
        std::string folder = paths.JobFolder(group.slot);
        for (const std::string& name : ListNormalFiles(folder)) {
            auto [held, first] = groupOfName.emplace(FoldCase(name), group.slot);
            if (!first && held->second != group.slot) shared.insert(held->first);
            try {
                std::optional<std::string> bytes = DataFile::ReadWhole(folder + name);
                if (!bytes) continue;  // gone since it was listed
                jobs.push_back({group.slot, group.name, name, DecodeJobFile(*bytes)});
            } catch (const DataFileError&) {
                used.unreadable.push_back({group.slot, group.name, name, {}, {}});
            }
        }
    }
    used.sharedJobNames.assign(shared.begin(), shared.end());

    // Who uses whom: for each job, the jobs that name it on a line.
    std::map<JobKey, std::vector<std::size_t>> usedBy;
    for (std::size_t j = 0; j < jobs.size(); ++j)
        for (const JobLine& line : jobs[j].lines)
            if (line.IsJob()) usedBy[{line.SourceSlot, FoldCase(line.Item)}].push_back(j);

    // The direct uses, then outwards from them, each job reached once by its shortest path.
    // A path runs from the thing outwards; a use lists it the other way, as opening shows it.
    const JobKey asked{thing.slot, FoldCase(thing.name)};
    std::map<JobKey, std::vector<SavedJobName>> reached;  // job -> the jobs between
    std::deque<std::size_t> next;
    if (thing.isJob) reached[asked] = {};
    auto named = [&](std::size_t j) {
        return SavedJobName{jobs[j].groupSlot, jobs[j].group, jobs[j].job};
    };
    auto key = [&](std::size_t j) { return JobKey{jobs[j].groupSlot, FoldCase(jobs[j].job)}; };
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        Amount quantity;
        bool names = false;
        for (const JobLine& line : jobs[j].lines)
            if (Names(line, thing)) {
                names = true;
                try {
                    quantity += line.Quant;
                } catch (const AmountOverflow&) {
                }
            }
        if (!names) continue;
        if (thing.isJob && key(j) == asked) {
            used.loop.emplace();  // it names itself on a line
            continue;
        }
        used.direct.push_back({jobs[j].groupSlot, jobs[j].group, jobs[j].job, quantity, {}});
        if (reached.emplace(key(j), std::vector<SavedJobName>{}).second) next.push_back(j);
    }
    while (!next.empty()) {
        std::size_t via = next.front();
        next.pop_front();
        std::vector<SavedJobName> path = reached[key(via)];
        path.push_back(named(via));
        auto users = usedBy.find(key(via));
        if (users == usedBy.end()) continue;
        for (std::size_t u : users->second) {
            if (thing.isJob && key(u) == asked && !used.loop)
                used.loop = std::vector<SavedJobName>(path.rbegin(), path.rend());
            if (!reached.emplace(key(u), path).second) continue;
            used.indirect.push_back({jobs[u].groupSlot,
                                     jobs[u].group,
                                     jobs[u].job,
                                     {},
                                     std::vector<SavedJobName>(path.rbegin(), path.rend())});
            next.push_back(u);
        }
    }
    SortByGroupThenJob(used.direct);
    SortByGroupThenJob(used.indirect);
    SortByGroupThenJob(used.unreadable);
    return used;
}

std::string UseDetail(const JobUse& use, const WhereUsed& used) {
    if (use.through.empty()) return QuantityText(use.quantity);
    std::string text = "through ";
    for (std::size_t k = 0; k < use.through.size(); ++k) {
        const SavedJobName& job = use.through[k];
        if (k > 0) text += ", ";
        text += job.job;
        if (std::binary_search(used.sharedJobNames.begin(), used.sharedJobNames.end(),
                               FoldCase(job.job)))
            text += " (" + job.group + ")";
    }
    return text;
}

std::string WhereUsedSummary(const std::string& what, const WhereUsed& used) {
    std::size_t unreadable = used.unreadable.size();
    std::string cannot = std::to_string(unreadable) +
                         (unreadable == 1 ? " job cannot be read" : " jobs cannot be read");
    std::string text;
    if (used.direct.empty() && used.indirect.empty()) {
        text = unreadable == 0 ? "No saved job uses " + what + "."
                               : "No saved job that could be read uses " + what + "; " + cannot +
                                     ", and may use it.";
    } else {
        text = what + " is used by " + std::to_string(used.direct.size()) +
               (used.direct.size() == 1 ? " job" : " jobs") + " directly and " +
               std::to_string(used.indirect.size()) + " through other jobs.";
        if (unreadable > 0) text += " " + cannot + ", and may use it too.";
    }
    if (used.loop) {
        if (used.loop->empty()) {
            text += " " + what + " names itself on a line.";
        } else {
            text += " " + what + " includes itself through ";
            for (std::size_t k = 0; k < used.loop->size(); ++k)
                text += (k > 0 ? ", " : "") + (*used.loop)[k].job;
            text += ".";
        }
    }
    return text;
}

std::string UnreadableJobNote(const JobUse& use) {
    return use.job +
           " cannot be opened: its file cannot be read. It may be damaged, or this "
           "account may not be allowed to read it.";
}

}  // namespace quantora
