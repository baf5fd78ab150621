// Pricing: every line of a costing priced again from its source, through jobs that include
// jobs to any depth, with each nested job walked once per run and a job that would include
// the open job refused.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "costing/job_file.h"
#include "costing/pricing_observer.h"
#include "store/amount.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"

namespace quantora {

// The job open in the costing sheet.
struct OpenJob {
    std::string name;  // CurrentJobName
    std::string path;  // CurrentJobPath: its saved job file
};

// A line whose price or sub total a repricing changed: what the file held before.
struct PriceChange {
    std::int32_t line = 0;
    Amount oldPrice;
    Amount oldSubTot;
    friend bool operator==(const PriceChange&, const PriceChange&) = default;
};

// What a repricing changed in one job: its lines as repriced, the changed ones in file order,
// and its total before (nothing when the old sub totals did not add up within range) and
// after.
struct JobPriceChanges {
    std::vector<JobLine> lines;
    std::vector<PriceChange> changes;
    std::optional<Amount> savedTotal;
    Amount total;
};

struct PriceResult {
    Amount total;
    bool cycle = false;  // a job on the way includes the open job; total is then 0
};

// One pricing run: one reload of the open job, or one job pick. It holds the totals of the
// jobs already walked below the first level (PricedJobs) and the repricing it has to write.
// Nothing reaches the disk before Commit, so a run that fails with AmountOverflow leaves
// every file as it was.
class PricingRun {
  public:
    PricingRun(DataPaths paths, OpenJob openJob, PricingObserver& observer);

    // The total of the saved job at jobPath, walking the jobs it includes. Prices that
    // changed at their sources are queued for writing into the walked files. Returns total 0
    // with cycle set when a job on the way includes the open job. Throws AmountOverflow.
    PriceResult PriceIt(const std::string& jobPath);

    // Reprices one line of a costing in memory from its source: a price list line takes its
    // item's price; a job line takes PriceIt's total. A gone source (missing file, empty
    // name) keeps the stored Price and SubTot. Returns whether Price or SubTot must be
    // written; a job line is always written. Throws AmountOverflow.
    bool RepriceOpenJobLine(JobLine& line, bool& cycle);

    // What this run changed inside each job file it walked, by path, for the files where a
    // price or a sub total changed. Call it before Commit.
    std::map<std::string, JobPriceChanges> ChangedJobs() const;

    // Writes everything queued into the files, in place.
    void Commit();

  private:
    // Queues Price and SubTot of line k of a job file for writing.
    void QueueRepricing(const std::string& path, std::int32_t k, const JobLine& line);

    // A job file's lines as this run sees them. Each file is read once per run and its bytes
    // kept: nothing is written before Commit, and Commit patches those bytes.
    std::vector<JobLine> ReadJob(const std::string& path);

    // The folder of a line's source: Jobs<n>/ for a job line, Lists<n>/ otherwise.
    const std::string& SourceFolder(const JobLine& line);

    struct Frame {
        std::string jobPath;
        std::vector<JobLine> lines;
        std::int32_t nextLine = 0;
        Amount includedQuant;
        Amount jobTotal;
        std::int32_t lineInParent = -1;  // the parent's line that included this job
    };

    // The path of the job file a job line names, as it exists; nothing for a gone source. A
    // job found by its exact name is read on the way, into the run's images.
    std::optional<std::string> FindJob(const JobLine& line);
    // Reprices a price list line in place; true when its price changed.
    bool RepriceItemLine(JobLine& line);
    bool OnStack(const std::vector<Frame>& stack, const std::string& path) const;

    DataPaths paths_;
    OpenJob openJob_;
    std::string openJobFile_;  // the open job's file as it exists on disk
    PricingObserver& observer_;
    NameResolver resolver_;
    std::unordered_map<std::string, Amount> pricedJobs_;
    struct SourceFolderOf {
        std::string path;
        std::unique_ptr<FolderReader> reader;  // opened when an item is first read there
        // Each item's price as first read in this run: a costing names the same item on
        // many lines, and its file does not change while the run lasts.
        std::unordered_map<std::string, std::optional<Amount>> prices;
    };
    SourceFolderOf& SourceOf(const JobLine& line);
    std::unordered_map<std::int32_t, SourceFolderOf> sourceFolders_;
    std::unordered_map<std::string, std::string> images_;
    // Per file, the (line, Price, SubTot) writes in the order they were decided; a later one
    // for the same line wins.
    std::map<std::string, std::vector<std::pair<std::int32_t, std::pair<Amount, Amount>>>> pending_;
};

struct ReloadResult {
    Amount total;
    std::vector<JobLine> lines;  // every line of the working copy as repriced
    bool cycle = false;          // at least one line included the open job
    // The lines whose price or sub total differ from the saved job's, and the saved total.
    std::vector<PriceChange> changes;
    std::optional<Amount> savedTotal;
    // What changed inside the jobs the costing includes, at any depth, by their paths.
    std::map<std::string, JobPriceChanges> included;
};

// Makes the working copy Temp.job of the open job as the sheet opens: each line of the saved
// job priced again from its source, job lines through PriceIt, and the total summed. Temp.job
// is written once, whole: the saved job's bytes with the changed Price and SubTot of price
// list lines and those of every job line; gone sources keep their stored values and count
// in the total. The saved job itself is not changed; the jobs it includes are, as PriceIt
// says. A job of no lines shows no progress. Throws DataFileError when the saved job cannot
// be read. Pricing stopped by AmountOverflow or an unreadable source leaves Temp.job a plain
// copy of the saved job; AmountOverflow leaves every other file unchanged too.
ReloadResult Reload(const DataPaths& paths, const OpenJob& openJob, PricingObserver& observer);

}  // namespace quantora
