#include "store/amount.h"

#include <limits>

namespace quantora {

namespace {

constexpr __int128 kMin = std::numeric_limits<std::int64_t>::min();
constexpr __int128 kMax = std::numeric_limits<std::int64_t>::max();

Amount Checked(__int128 value) {
    if (value < kMin || value > kMax) throw AmountOverflow();
    return Amount::FromRaw(static_cast<std::int64_t>(value));
}

// Divides by a positive divisor, rounding halves away from zero.
__int128 DivideRounded(__int128 n, __int128 d) {
    __int128 q = n / d;
    __int128 r = n % d;
    if (r < 0) r = -r;
    if (2 * r >= d) q += (n < 0) ? -1 : 1;
    return q;
}

// "-", integer digits (empty below 1), then "." and the fraction without trailing zeros.
std::string PlainDecimal(Amount value) {
    if (value.raw == 0) return "0";
    bool negative = value.raw < 0;
    // Work in unsigned so the most negative value has a magnitude too.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.raw)
                                       : static_cast<std::uint64_t>(value.raw);
    std::uint64_t whole = magnitude / Amount::kScale;
    std::uint64_t fraction = magnitude % Amount::kScale;
    std::string text = negative ? "-" : "";
    if (whole != 0) text += std::to_string(whole);
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += '.';
        text += digits;
    }
    return text;
}

// Inserts thousands separators, but only when at least four characters (a minus sign
// counted) stand before the point, or, without a point, the text is four or more long.
std::string GroupThousands(const std::string& text) {
    std::size_t point = text.find('.');
    std::size_t integerEnd = (point == std::string::npos) ? text.size() : point;
    if (integerEnd < 4) return text;
    std::size_t digitsStart = (text[0] == '-') ? 1 : 0;
    std::string digits = text.substr(digitsStart, integerEnd - digitsStart);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return text.substr(0, digitsStart) + grouped + text.substr(integerEnd);
}

}  // namespace

Amount operator+(Amount a, Amount b) { return Checked(static_cast<__int128>(a.raw) + b.raw); }

Amount operator-(Amount a, Amount b) { return Checked(static_cast<__int128>(a.raw) - b.raw); }

Amount operator*(Amount a, Amount b) {
    std::int64_t product;
    // The common case fits 64 bits; the wide path is only for raw products beyond that.
    if (!__builtin_mul_overflow(a.raw, b.raw, &product)) {
        std::int64_t q = product / Amount::kScale, r = product % Amount::kScale;
        if (r >= Amount::kScale / 2) ++q;
        if (r <= -Amount::kScale / 2) --q;
        return Amount::FromRaw(q);
    }
    return Checked(DivideRounded(static_cast<__int128>(a.raw) * b.raw, Amount::kScale));
}

Amount& operator+=(Amount& a, Amount b) { return a = a + b; }

Amount SubTotal(Amount quantity, Amount price) {
    Amount product = quantity * price;
    // Integer division truncates towards zero, which is exactly the money form's cut.
    return Amount::FromRaw(product.raw / 100 * 100);
}

std::string RemoveCommas(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ',') out += c;
    return out;
}

Amount ParseAmount(std::string_view typed) {
    std::string text = RemoveCommas(typed);
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    // Accumulate the value in hundred-thousandths (one digit past what is kept) so that the
    // fifth decimal decides the rounding exactly, without a detour through floating point.
    // Any integer part past 10^20 is far out of range; stop growing so nothing overflows here.
    constexpr __int128 kFarOutOfRange = static_cast<__int128>(100'000'000'000'000'000) * 1000;
    __int128 value = 0;
    bool seenPoint = false;
    bool tooLarge = false;
    int decimals = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        int digit = c - '0';
        if (seenPoint) {
            // Digits past the fifth decimal cannot change a rounding that sends halves away
            // from zero, so they are read and dropped.
            if (decimals < 5) {
                value = value * 10 + digit;
                ++decimals;
            }
        } else if (!tooLarge) {
            value = value * 10 + digit;
            if (value > kFarOutOfRange) tooLarge = true;
        }
    }
    if (tooLarge) throw AmountOverflow();
    for (; decimals < 5; ++decimals) value *= 10;
    __int128 rounded = DivideRounded(value, 10);
    return Checked(negative ? -rounded : rounded);
}

std::string AmountText(Amount value) {
    std::string text = PlainDecimal(value);
    std::size_t point = text.find('.');
    if (point == std::string::npos) {
        text += ".00";
    } else if (point == text.size() - 2) {
        text += '0';
    }
    if (text[0] == '.') text.insert(0, "0");
    return GroupThousands(text);
}

std::string MoneyText(Amount value) {
    std::string text = PlainDecimal(value);
    if (text == "0") text = "0.00";
    std::size_t point = text.find('.');
    if (point == std::string::npos) {
        text += ".00";
    } else if (text.size() - point == 2) {
        text += '0';
    } else {
        text.resize(point + 3);
    }
    return GroupThousands(text);
}

std::string QuantityText(Amount value) { return GroupThousands(PlainDecimal(value)); }

bool IsAmountEntryChar(char32_t c) { return (c >= U'0' && c <= U'9') || c == U'-' || c == U'.'; }

}  // namespace quantora
