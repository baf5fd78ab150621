// Prices as suppliers write them: "1.234,56", "1,234.56", "1234,56", "€ 12,50", "$12.50",
// "12.50 EUR", "(3.20)". They are read into the program's own fixed-point amounts from their
// digits, never through a floating-point number.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/amount.h"

namespace quantora {

enum class DecimalMark { Point, Comma };

enum class AmountReading { Read, NotAnAmount, TooLarge };

struct SupplierAmount {
    AmountReading reading = AmountReading::NotAnAmount;
    Amount value;
};

// The amount a person means by the text, the decimal mark being the one given and the other
// mark (with blanks and apostrophes) grouping thousands. A currency sign or code before or
// after, a sign and accounting brackets are understood; anything else is not an amount.
SupplierAmount ReadSupplierAmount(std::string_view text, DecimalMark mark);

// The decimal mark the texts of a price column show, by a majority of those that tell
// ("1.234,56", "12,5", "0,125" tell; "1,234" does not). Nothing when none tells and some
// could be read either way, or when the column is split evenly: the user must say.
// Point when no text could be read either way.
std::optional<DecimalMark> SettleDecimalMark(const std::vector<std::string_view>& texts);

// The amount with a point or a comma before its decimals (as many as it has, at least
// fewestDecimals) and no thousands separators, as a spreadsheet reads it back:
// 1234.5 -> "1234.50" with two at least, 2 -> "2" with none.
std::string PlainAmountText(Amount value, DecimalMark mark, int fewestDecimals = 2);

}  // namespace quantora
