// The costing print-out laid out: the job's name as an optional bold title, then one line per
// job line (quantity, item with its dot leader, price, sub total) and the bold total, on as
// many pages as it takes.
#pragma once

#include <string>
#include <vector>

#include "costing/job_file.h"
#include "services/print_document.h"
#include "store/settings.h"

namespace quantora {

// The page margins of the costing print-out, which the customer's quote keeps too, in twips.
inline constexpr int kCostingSideMargin = 1000;
inline constexpr int kCostingBottomMargin = 1200;

// The runs of the print-out of lines (in file order) under the title, ending in totalText,
// with the print options of settings on page. No title is repeated and pages carry no
// numbers; an empty job prints the title (when on) and the total.
std::vector<PrintRun> LayOutCosting(const std::vector<JobLine>& lines, const std::string& title,
                                    const std::string& totalText, const Settings& settings,
                                    PrintPage page, const PrintMeasure& measure);

}  // namespace quantora
