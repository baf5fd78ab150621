// The print-out of Price Changes: what changed in a costing, one line per changed line with
// its quantity, old and new price and the change of its sub total, why beneath where the
// price list's history knows, and the total before and after, on as many pages as it takes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "costing/price_changes.h"
#include "services/print_document.h"
#include "store/settings.h"

namespace quantora {

struct PriceChangesPrint {
    std::string title;  // "Price Changes - House > Wall"
    std::vector<ChangedLine> lines;
    std::vector<std::string> reasons;  // by line; empty where not known
    std::optional<Amount> savedTotal;
    Amount total;
};

// The runs of the print-out with the print options of settings on page; the title when the
// options print titles, the column heads again on every page.
std::vector<PrintRun> LayOutPriceChanges(const PriceChangesPrint& changes, const Settings& settings,
                                         PrintPage page, const PrintMeasure& measure);

}  // namespace quantora
