#include "costing/price_changes.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "pricelists/supplier_amount.h"
#include "store/code_page.h"
#include "store/csv.h"
#include "store/data_file.h"

namespace quantora {

namespace {

// How far an amount is from zero, for ordering only: the most negative amount has no
// opposite in range, and counts as the largest.
std::int64_t Size(Amount change) {
    return change.raw == INT64_MIN ? INT64_MAX : change.raw < 0 ? -change.raw : change.raw;
}

}  // namespace

std::vector<ChangedLine> ChangedLines(const std::vector<JobLine>& lines,
                                      const std::vector<PriceChange>& changes) {
    std::vector<ChangedLine> changed;
    for (const PriceChange& change : changes) {
        if (change.line < 0 || static_cast<std::size_t>(change.line) >= lines.size()) continue;
        changed.push_back({change.line, lines[static_cast<std::size_t>(change.line)],
                           change.oldPrice, change.oldSubTot});
    }
    std::stable_sort(changed.begin(), changed.end(),
                     [](const ChangedLine& a, const ChangedLine& b) {
                         auto size = [](const ChangedLine& line) {
                             try {
                                 return Size(line.SubTotChange());
                             } catch (const AmountOverflow&) {
                                 return INT64_MAX;
                             }
                         };
                         return size(a) > size(b);
                     });
    return changed;
}

std::string PriceChangeNote(std::size_t changedLines, const std::optional<Amount>& savedTotal,
                            Amount total) {
    std::string note = "Prices changed since last saved: " + std::to_string(changedLines) +
                       (changedLines == 1 ? " line" : " lines") + "; total ";
    if (!savedTotal) return note + "now " + MoneyText(total);
    note += MoneyText(*savedTotal) + " \u2192 " + MoneyText(total);
    if (savedTotal->raw == 0) return note;
    double percent = (static_cast<double>(total.raw) - static_cast<double>(savedTotal->raw)) /
                     static_cast<double>(savedTotal->raw < 0 ? -savedTotal->raw : savedTotal->raw) *
                     100.0;
    char text[32];
    std::snprintf(text, sizeof text, " (%+.1f %%)", percent);
    return note + text;
}

std::optional<std::string> OpeningNote(std::size_t changedLines,
                                       const std::optional<Amount>& savedTotal, Amount total,
                                       const std::optional<std::string>& sinceQuote) {
    if (changedLines == 0 && (!sinceQuote || sinceQuote->empty())) return std::nullopt;
    if (changedLines == 0) {
        std::string note = *sinceQuote;
        note[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(note[0])));
        return note;
    }
    std::string note = PriceChangeNote(changedLines, savedTotal, total);
    if (sinceQuote) note += "; " + *sinceQuote;
    return note;
}

const JobPriceChanges* IncludedChanges(const ReloadResult& reload, const DataPaths& paths,
                                       const JobLine& line) {
    if (!line.IsJob()) return nullptr;
    std::string folder = paths.JobFolder(line.SourceSlot);
    std::string wanted = FoldCase(line.Item);
    for (const auto& [path, changes] : reload.included)
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            FoldCase(std::string(FileNamePart(path))) == wanted)
            return &changes;
    return nullptr;
}

std::string PriceReasons::Why(const JobLine& line) {
    if (line.IsJob()) return {};
    auto [changes, unread] = lastChanges_.try_emplace(line.SourceSlot);
    if (unread)
        for (PriceHistoryEntry& entry : ReadPriceHistory(paths_.ListFolder(line.SourceSlot)))
            changes->second[FoldCase(entry.item)] = std::move(entry);
    // Only the last change explains the price now, and only when it set that price.
    auto last = changes->second.find(FoldCase(line.Item));
    if (last == changes->second.end() || last->second.newPrice != line.Price) return {};
    return WhyText(last->second);
}

std::string PriceChangesCsv(const std::vector<ChangedLine>& lines,
                            const std::optional<Amount>& savedTotal, Amount total, CsvForm form) {
    char delimiter = DelimiterOf(form);
    DecimalMark mark = DecimalMarkOf(form);
    std::string csv(kUtf8ByteOrderMark);
    csv +=
        CsvLine({"Item or job", "Quantity", "Old price", "New price", "Change", "Sub total change"},
                delimiter);
    for (const ChangedLine& line : lines)
        csv += CsvLine(
            {SpreadsheetText(line.now.Item), PlainAmountText(line.now.Quant, mark, 0),
             PlainAmountText(line.oldPrice, mark), PlainAmountText(line.now.Price, mark),
             PlainAmountText(line.PriceChange(), mark), PlainAmountText(line.SubTotChange(), mark)},
            delimiter);
    csv += CsvLine({"Total", "", savedTotal ? PlainAmountText(*savedTotal, mark) : "",
                    PlainAmountText(total, mark), "", ""},
                   delimiter);
    return csv;
}

}  // namespace quantora
