// The price list print-out laid out: the items the editor shows, in its order, each name led
// by dots towards its price, which stands against the right margin; the list's name as an
// optional bold title.
#pragma once

#include <string>
#include <vector>

#include "pricelists/price_list_model.h"
#include "services/print_document.h"
#include "store/settings.h"

namespace quantora {

// The runs of the print-out of the model's shown items under the title, with the print
// options of settings on page. The price column is as wide as the widest price of every item
// read, shown or not. Nothing at all when no item is shown.
std::vector<PrintRun> LayOutPriceList(const PriceListModel& model, const std::string& title,
                                      const Settings& settings, PrintPage page,
                                      const PrintMeasure& measure);

}  // namespace quantora
