// Which saved costings use an item or a job: the jobs that name it on a line, and the jobs
// that use it only through other jobs, with the jobs between. Every job of every group is
// read once; a loop among saved jobs is followed no further than once round.
#pragma once

#include <cstdint>
#include <optional>
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

// A saved job: its group and its name.
struct SavedJobName {
    std::int16_t groupSlot = 0;
    std::string group;
    std::string job;
    friend bool operator==(const SavedJobName&, const SavedJobName&) = default;
};

struct JobUse {
    std::int16_t groupSlot = 0;
    std::string group;
    std::string job;
    Amount quantity;  // on the lines naming the thing, added up
    // For a use through other jobs: those jobs, as opening this one shows them, from the job
    // it includes down to the one that names the thing.
    std::vector<SavedJobName> through;
};

struct WhereUsed {
    std::vector<JobUse> direct;      // by group, then job, in the collation of every list
    std::vector<JobUse> indirect;    // likewise
    std::vector<JobUse> unreadable;  // jobs whose file could not be read: they may use it too
    // A job asked about that includes itself: the jobs its loop goes through, from the one it
    // includes on (empty when it names itself on a line). Nothing when it does not.
    std::optional<std::vector<SavedJobName>> loop;
    // The folded names of the jobs that more than one group holds, sorted.
    std::vector<std::string> sharedJobNames;
};

// Reads every saved job once, for reading only: no file is changed, not even its mode.
WhereUsed FindWhereUsed(const DataPaths& paths, const UsedThing& thing);

// What the list says of a use: the quantity of a direct use, or "through " and the jobs
// between, each with its group in brackets where two groups hold jobs of that name.
std::string UseDetail(const JobUse& use, const WhereUsed& used);

// The sentence above the list: how many jobs use the thing (what, as the user knows it:
// quoted), directly and through others; how many could not be read; and a job that includes
// itself.
std::string WhereUsedSummary(const std::string& what, const WhereUsed& used);

// What is said when the user asks to open a job that could not be read.
std::string UnreadableJobNote(const JobUse& use);

}  // namespace quantora
