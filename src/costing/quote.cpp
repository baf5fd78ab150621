#include "costing/quote.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "store/data_file.h"

namespace quantora {

namespace {

// The customer's price of one, to the cent, a half cent going away from zero: the customer
// reads whole cents, and each line is that price times the quantity.
Amount ToCents(Amount price) {
    constexpr std::int64_t cent = Amount::kScale / 100, half = cent / 2;
    if (price.raw > INT64_MAX - half || price.raw < INT64_MIN + half) throw AmountOverflow();
    return Amount::FromRaw((price.raw >= 0 ? price.raw + half : price.raw - half) / cent * cent);
}

}  // namespace

Quote PriceQuote(const std::vector<JobLine>& lines, int markup) {
    // 1 + markup / 100 held exactly: a whole percent is a hundredth, a hundred ten-thousandths.
    Amount factor = Amount::FromRaw(Amount::kScale + Amount::kScale / 100 * markup);
    Quote quote;
    for (const JobLine& line : lines) {
        if (line.Item.find_first_not_of(' ') == std::string::npos) continue;
        Amount unitPrice = ToCents(line.Price * factor);
        Amount amount = SubTotal(line.Quant, unitPrice);
        quote.lines.push_back({line.Quant, line.Item, unitPrice, amount});
        quote.total += amount;
    }
    return quote;
}

std::string KeptQuotePath(const std::string& quoteFolder, const std::string& jobName,
                          const ClockTime& time) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d.%02d", time.year, time.month, time.day,
                  time.hour, time.minute);
    std::string base = quoteFolder + jobName + stamp;
    std::string path = base + ".pdf";
    for (int copy = 2; FileExists(path); ++copy)
        path = base + " (" + std::to_string(copy) + ").pdf";
    return path;
}

}  // namespace quantora
