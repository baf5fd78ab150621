// A costing out to a spreadsheet, for the accountant: one row per line with its quantity,
// item or job, the price list or job group it comes from, unit price and extension, then the
// total; in the same CSV forms as the price lists' export.
#pragma once

#include <string>
#include <vector>

#include "costing/job_file.h"
#include "pricelists/price_export.h"

namespace quantora {

// listNames and groupNames: the names by slot, as the index files hold them. Lines with
// neither a quantity nor an item are left out; the total is the sum of the extensions shown.
std::string CostingCsv(const std::vector<JobLine>& lines, const std::vector<std::string>& listNames,
                       const std::vector<std::string>& groupNames, CsvForm form);

}  // namespace quantora
