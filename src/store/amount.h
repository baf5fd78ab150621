// Amount: the fixed-point number behind every quantity, price, sub total and total,
// with its checked arithmetic, its parser and the three text forms shown to the user.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quantora {

// Raised when a sum, product or parsed value leaves the Amount range. The costing sheet
// reports it as a total beyond what the program can hold; nothing is ever wrapped.
class AmountOverflow : public std::overflow_error {
  public:
    AmountOverflow() : std::overflow_error("Amount out of range") {}
};

// A signed 64-bit count of ten-thousandths: 12.5 is held as 125000.
struct Amount {
    static constexpr std::int64_t kScale = 10'000;

    std::int64_t raw = 0;

    static constexpr Amount FromRaw(std::int64_t r) { return Amount{r}; }
    static constexpr Amount Whole(std::int64_t units) { return Amount{units * kScale}; }

    friend constexpr bool operator==(Amount, Amount) = default;
    friend constexpr auto operator<=>(Amount, Amount) = default;
};

// Checked arithmetic: throws AmountOverflow instead of wrapping.
Amount operator+(Amount a, Amount b);
Amount operator-(Amount a, Amount b);
// The exact product rounded to four decimals, halves away from zero.
Amount operator*(Amount a, Amount b);
Amount& operator+=(Amount& a, Amount b);

// A line's sub total: quantity times price cut towards zero to two decimals (the value that
// MoneyText shows, read back).
Amount SubTotal(Amount quantity, Amount price);

// The text with every comma removed (shown amounts carry thousands separators).
std::string RemoveCommas(std::string_view text);

// Reads the leading number of typed text: commas removed, leading spaces skipped, an
// optional sign, digits with at most one decimal point; anything after that is ignored and
// no number at all reads as 0. Rounded to four decimals, halves away from zero.
// Throws AmountOverflow when the number lies outside the Amount range.
Amount ParseAmount(std::string_view text);

// Price form: at least two decimals, up to four, "0" before a bare leading point of a
// positive value, thousands grouped (12.5 -> "12.50", 0.5 -> "0.50", -0.5 -> "-.50").
std::string AmountText(Amount value);
// Money form: exactly two decimals, cut not rounded (12.999 -> "12.99", 0.5 -> ".50").
std::string MoneyText(Amount value);
// Quantity form: as many decimals as the value has (1234.5 -> "1,234.5").
std::string QuantityText(Amount value);

// The characters that the quantity and price fields accept as typed: "-1234567890.".
bool IsAmountEntryChar(char32_t c);

}  // namespace quantora
