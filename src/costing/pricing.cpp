#include "costing/pricing.h"

#include <algorithm>

#include "pricelists/item_file.h"
#include "store/data_file.h"
#include "store/little_endian.h"

namespace quantora {

namespace {

// Closes the given progress windows if pricing leaves early through an exception.
class CloseOnUnwind {
  public:
    CloseOnUnwind(PricingObserver& observer, std::initializer_list<ProgressWindow> windows)
        : observer_(observer), windows_(windows), exceptions_(std::uncaught_exceptions()) {}
    ~CloseOnUnwind() {
        if (std::uncaught_exceptions() > exceptions_)
            for (ProgressWindow w : windows_) observer_.CloseProgress(w);
    }

  private:
    PricingObserver& observer_;
    std::vector<ProgressWindow> windows_;
    int exceptions_;
};

std::string ResolvedPath(const std::string& path) {
    std::string folder(path.substr(0, path.size() - FileNamePart(path).size()));
    auto stored = FindFile(folder, std::string(FileNamePart(path)));
    return stored ? folder + *stored : path;
}

}  // namespace

PricingRun::PricingRun(DataPaths paths, OpenJob openJob, PricingObserver& observer)
    : paths_(std::move(paths)),
      openJob_(std::move(openJob)),
      openJobFile_(ResolvedPath(openJob_.path)),
      observer_(observer) {}

PricingRun::SourceFolderOf& PricingRun::SourceOf(const JobLine& line) {
    std::int32_t key = (line.IsJob() ? 0x10000 : 0) | static_cast<std::uint16_t>(line.SourceSlot);
    auto [it, inserted] = sourceFolders_.try_emplace(key);
    if (inserted)
        it->second.path =
            line.IsJob() ? paths_.JobFolder(line.SourceSlot) : paths_.ListFolder(line.SourceSlot);
    return it->second;
}

const std::string& PricingRun::SourceFolder(const JobLine& line) { return SourceOf(line).path; }

std::optional<std::string> PricingRun::FindJob(const JobLine& line) {
    const std::string& folder = SourceFolder(line);
    // The exact name is by far the common case, and reading the job is what tells that it is
    // there: a run walks every job it finds anyway, and a separate look first would double
    // the calls to the system for each.
    if (IsPlainFileName(line.Item)) {
        std::string exact = folder + line.Item;
        if (images_.contains(exact)) return exact;
        if (std::optional<std::string> bytes = DataFile::ReadWhole(exact)) {
            images_.emplace(exact, std::move(*bytes));
            return exact;
        }
    }
    auto stored = resolver_.Find(folder, line.Item);
    if (!stored) return std::nullopt;
    return folder + *stored;
}

bool PricingRun::RepriceItemLine(JobLine& line) {
    // Each list folder is opened once per run and its items read relative to it.
    SourceFolderOf& list = SourceOf(line);
    if (!list.reader) list.reader = std::make_unique<FolderReader>(list.path);
    auto [known, unread] = list.prices.try_emplace(line.Item);
    if (unread)
        known->second = ReadItemPriceIfPresent(*list.reader, list.path, line.Item, resolver_);
    const std::optional<Amount>& price = known->second;
    if (!price) return false;
    // The sub total is checked too: a line left with a new price and its old sub total (by
    // a crash, or by another program) is put right.
    Amount subTot = SubTotal(line.Quant, *price);
    if (*price == line.Price && subTot == line.SubTot) return false;
    line.Price = *price;
    line.SubTot = subTot;
    return true;
}

std::vector<JobLine> PricingRun::ReadJob(const std::string& path) {
    auto [image, unread] = images_.try_emplace(path);
    // Read without opening for writing; a job that vanished has no lines.
    if (unread) image->second = DataFile::ReadWhole(path).value_or(std::string());
    return DecodeJobFile(image->second);
}

bool PricingRun::OnStack(const std::vector<Frame>& stack, const std::string& path) const {
    for (const Frame& frame : stack)
        if (frame.jobPath == path) return true;
    return false;
}

void PricingRun::QueueRepricing(const std::string& path, std::int32_t k, const JobLine& line) {
    pending_[path].push_back({k, {line.Price, line.SubTot}});
}

bool PricingRun::RepriceOpenJobLine(JobLine& line, bool& cycle) {
    if (!line.IsJob()) return RepriceItemLine(line);
    auto path = FindJob(line);
    if (!path) return false;
    PriceResult result = PriceIt(*path);
    cycle = cycle || result.cycle;
    line.Price = result.total;
    line.SubTot = SubTotal(line.Quant, line.Price);
    return true;
}

PriceResult PricingRun::PriceIt(const std::string& jobPath) {
    CloseOnUnwind guard(observer_, {ProgressWindow::NestedJob, ProgressWindow::Job});
    std::vector<Frame> stack;
    stack.push_back({jobPath, ReadJob(jobPath), 0, Amount{}, Amount{}, -1});
    observer_.JobWalked(jobPath, 1);
    bool firstPass = true;

    while (true) {
        std::size_t depth = stack.size();
        ProgressWindow window = depth == 1 ? ProgressWindow::Job : ProgressWindow::NestedJob;
        {
            Frame& frame = stack.back();
            auto lastLine = static_cast<std::int32_t>(frame.lines.size()) - 1;
            // The window of the job named directly is set up once; the nested window is
            // shown again each time its job is resumed after a job it includes.
            if (depth > 1 || firstPass) {
                observer_.ShowProgress(window, std::string(FileNamePart(frame.jobPath)), lastLine);
                observer_.Pause(500);
            }
            firstPass = false;
        }

        bool descended = false;
        while (!descended &&
               stack.back().nextLine < static_cast<std::int32_t>(stack.back().lines.size())) {
            Frame& frame = stack.back();
            std::int32_t index = frame.nextLine++;
            JobLine& line = frame.lines[index];
            observer_.StepProgress(window);

            if (!line.IsJob()) {
                if (RepriceItemLine(line)) QueueRepricing(frame.jobPath, index, line);
            } else if (auto path = FindJob(line)) {
                if (*path == openJobFile_) {
                    observer_.CycleThroughOpenJob();
                    observer_.CloseProgress(ProgressWindow::Job);
                    observer_.CloseProgress(ProgressWindow::NestedJob);
                    return {Amount{}, true};
                }
                if (auto cached = pricedJobs_.find(*path); cached != pricedJobs_.end()) {
                    line.Price = cached->second;
                    line.SubTot = SubTotal(line.Quant, line.Price);
                    QueueRepricing(frame.jobPath, index, line);
                } else if (OnStack(stack, *path)) {
                    // Descending would never end; the loop adds nothing to the total.
                    observer_.LoopRefused(*path);
                    line.Price = Amount{};
                    line.SubTot = Amount{};
                    QueueRepricing(frame.jobPath, index, line);
                } else {
                    Amount quant = line.Quant;
                    stack.push_back({*path, ReadJob(*path), 0, quant, Amount{}, index});
                    observer_.JobWalked(*path, static_cast<int>(stack.size()));
                    observer_.CloseProgress(ProgressWindow::NestedJob);
                    descended = true;
                    continue;
                }
            }
            frame.jobTotal += line.SubTot;
        }
        if (descended) continue;

        if (stack.size() > 1) {
            observer_.FillProgress(ProgressWindow::NestedJob);
            observer_.Pause(200);
            observer_.CloseProgress(ProgressWindow::NestedJob);
            Frame done = std::move(stack.back());
            stack.pop_back();
            pricedJobs_.try_emplace(done.jobPath, done.jobTotal);
            // The including line shows the fresh total, so the saved job agrees with what
            // it contributed.
            Frame& parent = stack.back();
            JobLine& including = parent.lines[done.lineInParent];
            including.Price = done.jobTotal;
            including.SubTot = SubTotal(done.includedQuant, done.jobTotal);
            QueueRepricing(parent.jobPath, done.lineInParent, including);
            parent.jobTotal += including.SubTot;
            continue;
        }

        observer_.FillProgress(ProgressWindow::Job);
        observer_.Pause(200);
        observer_.CloseProgress(ProgressWindow::NestedJob);
        observer_.CloseProgress(ProgressWindow::Job);
        return {stack.front().jobTotal, false};
    }
}

namespace {

// Adds the sub totals of the lines as they were saved; nothing when they leave the range.
std::optional<Amount> SavedTotal(const std::vector<JobLine>& lines,
                                 const std::vector<PriceChange>& changes) {
    try {
        Amount total;
        std::size_t next = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            bool changed = next < changes.size() && changes[next].line == static_cast<int>(k);
            total += changed ? changes[next++].oldSubTot : lines[k].SubTot;
        }
        return total;
    } catch (const AmountOverflow&) {
        return std::nullopt;
    }
}

}  // namespace

std::map<std::string, JobPriceChanges> PricingRun::ChangedJobs() const {
    std::map<std::string, JobPriceChanges> changed;
    for (const auto& [path, writes] : pending_) {
        auto image = images_.find(path);
        if (image == images_.end()) continue;
        std::vector<JobLine> lines = DecodeJobFile(image->second);
        std::map<std::int32_t, std::pair<Amount, Amount>> last;  // a later write for a line wins
        for (const auto& [k, values] : writes) last[k] = values;
        JobPriceChanges job;
        for (const auto& [k, values] : last) {
            if (k < 0 || static_cast<std::size_t>(k) >= lines.size()) continue;
            JobLine& line = lines[static_cast<std::size_t>(k)];
            if (line.Price == values.first && line.SubTot == values.second) continue;
            job.changes.push_back({k, line.Price, line.SubTot});
            line.Price = values.first;
            line.SubTot = values.second;
        }
        if (job.changes.empty()) continue;
        job.savedTotal = SavedTotal(lines, job.changes);
        try {
            for (const JobLine& line : lines) job.total += line.SubTot;
        } catch (const AmountOverflow&) {
            continue;  // it could not have been priced
        }
        job.lines = std::move(lines);
        changed.emplace(path, std::move(job));
    }
    return changed;
}

void PricingRun::Commit() {
    // A desk that only reads the folder prices from it as it stands and writes none of it.
    if (paths_.ReadOnly()) pending_.clear();
    for (const auto& [path, lines] : pending_) {
        std::string& image = images_[path];
        std::size_t first = image.size(), last = 0;
        std::string field;
        for (const auto& [k, values] : lines) {
            std::size_t offset = static_cast<std::size_t>(k) * kJobRecordSize + kJobPriceOffset;
            if (offset + 16 > image.size()) continue;
            field = EncodePriceAndSubTot(values.first, values.second);
            if (image.compare(offset, 16, field) == 0) continue;
            image.replace(offset, 16, field);
            first = std::min(first, offset);
            last = std::max(last, offset + 16);
        }
        // Repricing changes Price and SubTot only, and leaves a file untouched when nothing
        // changed. A changed job is replaced whole, never written in place: a crash leaves it
        // old or new, and a desk reading the folder meanwhile never reads it half written.
        if (first >= last) continue;
        ReplaceFile(path, image, false);
    }
    pending_.clear();
}

ReloadResult Reload(const DataPaths& paths, const OpenJob& openJob, PricingObserver& observer) {
    CloseOnUnwind guard(observer, {ProgressWindow::Reload});
    std::optional<std::string> saved = DataFile::ReadWhole(openJob.path);
    if (!saved) throw DataFileError(DataFileError::Kind::Open, openJob.path);
    std::string& working = *saved;
    ReloadResult result;
    result.lines = DecodeJobFile(working);
    auto count = static_cast<std::int32_t>(result.lines.size());
    std::vector<std::int32_t> changed;
    if (count > 0) {
        try {
            PricingRun run(paths, openJob, observer);
            observer.ShowProgress(ProgressWindow::Reload, openJob.name, count);
            observer.Pause(1000);
            for (std::int32_t i = 0; i < count; ++i) {
                observer.StepProgress(ProgressWindow::Reload);
                JobLine& line = result.lines[i];
                PriceChange saved{i, line.Price, line.SubTot};
                if (run.RepriceOpenJobLine(line, result.cycle)) {
                    changed.push_back(i);
                    if (line.Price != saved.oldPrice || line.SubTot != saved.oldSubTot)
                        result.changes.push_back(saved);
                }
                result.total += line.SubTot;
            }
            result.savedTotal = SavedTotal(result.lines, result.changes);
            // What changed inside the included jobs is known only before it is written.
            if (!result.changes.empty()) result.included = run.ChangedJobs();
            run.Commit();
        } catch (...) {
            // Whatever stopped the pricing, the sheet's working copy is the job as saved.
            ReplaceFile(paths.TempJob(), working, false);
            throw;
        }
    }
    // The working copy is written once, already priced: the saved job's bytes with the
    // changed prices and sub totals in place, and nothing else of it touched.
    for (std::int32_t i : changed) {
        const JobLine& line = result.lines[i];
        std::size_t at = static_cast<std::size_t>(i) * kJobRecordSize + kJobPriceOffset;
        PutInt64(working, at, line.Price.raw);
        PutInt64(working, at + 8, line.SubTot.raw);
    }
    ReplaceFile(paths.TempJob(), working, false);
    if (count > 0) {
        observer.FillProgress(ProgressWindow::Reload);
        observer.Pause(200);
        observer.CloseProgress(ProgressWindow::Reload);
    }
    return result;
}

}  // namespace quantora
