// The customer's quote laid out for printing: a heading with the date, the job, the customer
// and the note, then the lines (quantity, description, and the unit price and amount when
// the shop shows them) and the total, on as many pages as it takes.
#pragma once

#include <string>
#include <vector>

#include "costing/quote.h"
#include "services/print_document.h"
#include "store/settings.h"

namespace quantora {

// The runs of the quote, from the top margin of settings on page, its title "Quote" when the
// print options print titles. The column heads are
// repeated at the top of every further page. With unit prices hidden, no line shows a price
// or an amount: only the total carries money.
std::vector<PrintRun> LayOutQuote(const Quote& quote, const QuoteTerms& terms,
                                  const std::string& jobName, const std::string& dateText,
                                  const Settings& settings, PrintPage page,
                                  const PrintMeasure& measure);

}  // namespace quantora
