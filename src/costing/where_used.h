// Which saved costings use an item or a job: the jobs that name it on a line, and the jobs
// that use it only through other jobs, with the jobs between. Every job of every group is
// read once; a loop among saved jobs is followed no further than once round.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/amount.h"
#include "store/data_folder.h"

namespace quantora {

// An item of the price list in slot, or (isJob) a job of the group in slot.
struct UsedThing {
    bool isJob = false;
    std::int16_t slot = 0;
    std::string name;
};

struct JobUse {
    std::int16_t groupSlot = 0;
    std::string group;
    std::string job;
    Amount quantity;                   // on the lines naming the thing, added up
    std::vector<std::string> through;  // for a use through other jobs: those jobs, nearest last
};

struct WhereUsed {
    std::vector<JobUse> direct;      // by group, then job, in the collation of every list
    std::vector<JobUse> indirect;    // likewise
    std::vector<JobUse> unreadable;  // jobs whose file could not be read: they may use it too
};

WhereUsed FindWhereUsed(const DataPaths& paths, const UsedThing& thing);

}  // namespace quantora
