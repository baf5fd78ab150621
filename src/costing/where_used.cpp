#include "costing/where_used.h"

#include <algorithm>
#include <deque>
#include <map>

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
    for (const NamedSlot& group : UsedSlots(paths.GroupIndex())) {
        std::string folder = paths.JobFolder(group.slot);
        for (const std::string& name : ListNormalFiles(folder)) {
            try {
                jobs.push_back({group.slot, group.name, name, ReadAllLines(folder + name)});
            } catch (const DataFileError&) {
                used.unreadable.push_back({group.slot, group.name, name, {}, {}});
            }
        }
    }

    // Who uses whom: for each job, the jobs that name it on a line.
    std::map<JobKey, std::vector<std::size_t>> usedBy;
    for (std::size_t j = 0; j < jobs.size(); ++j)
        for (const JobLine& line : jobs[j].lines)
            if (line.IsJob()) usedBy[{line.SourceSlot, FoldCase(line.Item)}].push_back(j);

    // The direct uses, then outwards from them, each job reached once by its shortest path.
    std::map<JobKey, std::vector<std::string>> reached;  // job -> the jobs between
    std::deque<std::size_t> next;
    if (thing.isJob) reached[{thing.slot, FoldCase(thing.name)}] = {};
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
        used.direct.push_back({jobs[j].groupSlot, jobs[j].group, jobs[j].job, quantity, {}});
        if (reached
                .emplace(JobKey{jobs[j].groupSlot, FoldCase(jobs[j].job)},
                         std::vector<std::string>{})
                .second)
            next.push_back(j);
    }
    while (!next.empty()) {
        const SavedJob& via = jobs[next.front()];
        next.pop_front();
        std::vector<std::string> path = reached[{via.groupSlot, FoldCase(via.job)}];
        path.push_back(via.job);
        auto users = usedBy.find({via.groupSlot, FoldCase(via.job)});
        if (users == usedBy.end()) continue;
        for (std::size_t u : users->second) {
            if (!reached.emplace(JobKey{jobs[u].groupSlot, FoldCase(jobs[u].job)}, path).second)
                continue;
            used.indirect.push_back({jobs[u].groupSlot, jobs[u].group, jobs[u].job, {}, path});
            next.push_back(u);
        }
    }
    SortByGroupThenJob(used.direct);
    SortByGroupThenJob(used.indirect);
    SortByGroupThenJob(used.unreadable);
    return used;
}

}  // namespace quantora
