// A quote for the customer: the costing's lines at the shop's price, its margin on, each unit
// price in whole cents and each line that price times the quantity, so that whatever the
// customer checks adds up; and
// the file each quote sent out is kept as, because the job itself is repriced at its next
// opening and the customer's copy must stay what it was.
#pragma once

#include <string>
#include <vector>

#include "costing/job_file.h"
#include "services/clock_text.h"
#include "store/amount.h"
#include "store/own_settings.h"

namespace quantora {

// What the estimator puts on a quote.
struct QuoteTerms {
    std::string customer;
    std::string note;  // lines separated by "\n"
    int markup = 0;    // percent on cost, 0 to kMaxMarkup
    bool showUnitPrices = true;
    friend bool operator==(const QuoteTerms&, const QuoteTerms&) = default;
};

struct QuoteLine {
    Amount quantity;
    std::string item;
    Amount unitPrice;  // cost x (1 + markup / 100), to the cent, a half cent away from zero
    Amount amount;     // quantity x unit price, cut to two decimals as every sub total
};

struct Quote {
    std::vector<QuoteLine> lines;
    Amount total;  // the sum of the lines' amounts, to the cent
};

// The lines of a costing (in file order) at markup percent on their prices; a line without an
// item is left out. Throws AmountOverflow when a price or the total leaves the Amount range.
Quote PriceQuote(const std::vector<JobLine>& lines, int markup);

// The path in quoteFolder (ending in "/") that a quote of the job made at time is kept under:
// "<job> 2026-12-07 09.41.pdf", or with " (2)", " (3)", ... before ".pdf" when a quote of the
// same minute is there already.
std::string KeptQuotePath(const std::string& quoteFolder, const std::string& jobName,
                          const ClockTime& time);

}  // namespace quantora
