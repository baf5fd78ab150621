// Finding a job by part of its name among every group's jobs, as the find box does while the
// user types: the jobs are listed once when the box opens, and each key only narrows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/data_folder.h"

namespace quantora {

struct FoundJob {
    std::int16_t groupSlot = 0;
    std::string group;
    std::string job;
};

class JobFinder {
  public:
    // Every job of every group, by group and then by job in the collation of every list.
    explicit JobFinder(const DataPaths& paths);

    // The jobs whose names contain text, letter case ignored; none for a text of blanks only.
    // A name that is the text comes first, then the names that start with it, then the rest,
    // each in the order above.
    std::vector<const FoundJob*> Matching(const std::string& text) const;

    std::size_t Count() const { return jobs_.size(); }

  private:
    std::vector<FoundJob> jobs_;
    std::vector<std::string> folded_;  // each job's name folded once
};

// What the find box says when no job's name holds the text.
std::string NothingFoundNote(const std::string& text);

}  // namespace quantora
