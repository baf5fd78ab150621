// What a costing's repricing changed since it was saved, as the sheet tells it: a note when it
// opens, and the list of changed lines with the largest effect first, which a job line opens
// one level down into the job it includes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "costing/pricing.h"
#include "pricelists/price_export.h"
#include "pricelists/price_history.h"
#include "store/data_folder.h"

namespace quantora {

struct ChangedLine {
    std::int32_t line = 0;  // in the job's file
    JobLine now;            // the line as repriced
    Amount oldPrice, oldSubTot;
    Amount PriceChange() const { return now.Price - oldPrice; }
    Amount SubTotChange() const { return now.SubTot - oldSubTot; }
};

// The changed lines of a job, the largest change of sub total first (ties in file order).
std::vector<ChangedLine> ChangedLines(const std::vector<JobLine>& lines,
                                      const std::vector<PriceChange>& changes);

// The note the sheet shows when prices changed: "Prices changed since last saved: 12 lines;
// total 1,234.56 → 1,290.10 (+4.5 %)". The percentage is left out when the saved total is 0
// or unknown.
std::string PriceChangeNote(std::size_t changedLines, const std::optional<Amount>& savedTotal,
                            Amount total);

// What the sheet says as a job opens: the price change note when lines changed since the save,
// the move since the last quote after it ("...; cost +3.1 % since the quote to ...") or alone
// ("Cost +3.1 % since ..."); nothing when neither has anything to say.
std::optional<std::string> OpeningNote(std::size_t changedLines,
                                       const std::optional<Amount>& savedTotal, Amount total,
                                       const std::optional<std::string>& sinceQuote);

// The changes inside the job a job line names, from what the opening's repricing found; none
// when nothing changed there (or the line names no job).
const JobPriceChanges* IncludedChanges(const ReloadResult& reload, const DataPaths& paths,
                                       const JobLine& line);

// Why an item line's price is what it is now, from its list's price history: "imported from
// supplier.csv on 7 December 2026". Each list's history is read once.
class PriceReasons {
  public:
    explicit PriceReasons(DataPaths paths) : paths_(std::move(paths)) {}
    // Empty for a job's line, or when the history does not know.
    std::string Why(const JobLine& line);

  private:
    DataPaths paths_;
    // By list: each item's last change (by its folded name), from the list's history.
    std::map<std::int16_t, std::unordered_map<std::string, PriceHistoryEntry>> lastChanges_;
};

// The changed lines, as listed, out to a spreadsheet: item or job, quantity, old and new price,
// the change, the change of the sub total; then the total's old and new values.
std::string PriceChangesCsv(const std::vector<ChangedLine>& lines,
                            const std::optional<Amount>& savedTotal, Amount total, CsvForm form);

}  // namespace quantora
