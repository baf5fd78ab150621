#include "pricelists/supplier_amount.h"

#include <cstdlib>

namespace quantora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The currency signs suppliers put beside a price, in UTF-8: euro, pound, yen, cent.
constexpr std::string_view kCurrencySigns[] = {"\xE2\x82\xAC", "\xC2\xA3", "\xC2\xA5", "\xC2\xA2",
                                               "$"};
// Blanks a spreadsheet writes inside numbers: no-break, narrow no-break and thin spaces.
constexpr std::string_view kWideBlanks[] = {"\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};

// The text with wide blanks as plain blanks.
std::string PlainBlanks(std::string_view text) {
    std::string plain(text);
    for (std::string_view blank : kWideBlanks)
        for (std::size_t at; (at = plain.find(blank)) != std::string::npos;)
            plain.replace(at, blank.size(), " ");
    return plain;
}

// Strips blanks, currency signs and codes from both ends; false when letters remain that are
// no currency code (three letters at most, as "EUR", "kr", "Fr").
bool StripCurrency(std::string& text) {
    for (bool stripped = true; stripped;) {
        stripped = false;
        while (!text.empty() && text.front() == ' ') text.erase(0, 1), stripped = true;
        while (!text.empty() && text.back() == ' ') text.pop_back(), stripped = true;
        for (std::string_view sign : kCurrencySigns) {
            if (text.starts_with(sign)) text.erase(0, sign.size()), stripped = true;
            if (text.ends_with(sign)) text.erase(text.size() - sign.size()), stripped = true;
        }
        std::size_t lead = 0;
        while (lead < text.size() && IsLetter(text[lead])) ++lead;
        std::size_t trail = 0;
        while (trail < text.size() && IsLetter(text[text.size() - 1 - trail])) ++trail;
        if (lead > 3 || trail > 3) return false;
        if (lead > 0 && lead < text.size()) text.erase(0, lead), stripped = true;
        if (trail > 0 && trail < text.size()) text.erase(text.size() - trail), stripped = true;
    }
    return true;
}

// The number's characters with its sign taken off: digits, marks and separators only.
struct NumberPart {
    bool negative = false;
    std::string digits;  // digits, '.', ',', ' ', '\''
};

std::optional<NumberPart> NumberOf(std::string_view raw) {
    std::string text = PlainBlanks(raw);
    NumberPart part;
    if (!StripCurrency(text)) return std::nullopt;
    // "7,-" and "7.-" are seven whole units.
    if (text.ends_with(",-") || text.ends_with(".-")) text.resize(text.size() - 2);
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        part.negative = true;
        text = text.substr(1, text.size() - 2);
        if (!StripCurrency(text)) return std::nullopt;
    }
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        part.negative = part.negative != (text.front() == '-');
        text.erase(0, 1);
        if (!StripCurrency(text)) return std::nullopt;
    } else if (!text.empty() && text.back() == '-') {
        part.negative = !part.negative;
        text.pop_back();
    }
    bool anyDigit = false;
    for (char c : text) {
        if (IsDigit(c))
            anyDigit = true;
        else if (c != '.' && c != ',' && c != ' ' && c != '\'')
            return std::nullopt;
    }
    if (!anyDigit || (!IsDigit(text.back()) && text.back() != '.' && text.back() != ','))
        return std::nullopt;
    part.digits = text;
    return part;
}

// Digits with at most one decimal mark and a leading minus, as most files write their
// prices: read without taking the text apart.
bool IsPlainNumber(std::string_view text, char decimal) {
    std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    bool digit = false, seenDecimal = false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            digit = true;
        else if (text[i] == decimal && !seenDecimal)
            seenDecimal = true;
        else
            return false;
    }
    return digit && text.size() <= 24;
}

}  // namespace

SupplierAmount ReadSupplierAmount(std::string_view text, DecimalMark mark) {
    char decimalChar = mark == DecimalMark::Point ? '.' : ',';
    if (IsPlainNumber(text, decimalChar)) {
        char plain[32];
        for (std::size_t i = 0; i < text.size(); ++i)
            plain[i] = text[i] == decimalChar ? '.' : text[i];
        try {
            return {AmountReading::Read, ParseAmount(std::string_view(plain, text.size()))};
        } catch (const AmountOverflow&) {
            return {AmountReading::TooLarge, Amount{}};
        }
    }
    std::optional<NumberPart> number = NumberOf(text);
    if (!number) return {};
    char decimal = mark == DecimalMark::Point ? '.' : ',';
    std::string plain = number->negative ? "-" : "";
    bool seenDecimal = false;
    for (char c : number->digits) {
        if (IsDigit(c)) {
            plain += c;
        } else if (c == decimal) {
            if (seenDecimal) return {};
            seenDecimal = true;
            plain += '.';
        } else if (seenDecimal) {
            return {};  // a thousands separator among the decimals
        }
    }
    try {
        return {AmountReading::Read, ParseAmount(plain)};
    } catch (const AmountOverflow&) {
        return {AmountReading::TooLarge, Amount{}};
    }
}

std::optional<DecimalMark> SettleDecimalMark(const std::vector<std::string_view>& texts) {
    std::size_t points = 0, commas = 0, undecided = 0;
    for (std::string_view text : texts) {
        std::optional<NumberPart> number = NumberOf(text);
        if (!number) continue;
        const std::string& digits = number->digits;
        std::size_t lastPoint = digits.rfind('.'), lastComma = digits.rfind(',');
        if (lastPoint != std::string::npos && lastComma != std::string::npos) {
            (lastPoint > lastComma ? points : commas) += 1;
            continue;
        }
        std::size_t at = lastPoint != std::string::npos ? lastPoint : lastComma;
        if (at == std::string::npos) continue;  // a whole number reads the same either way
        char mark = digits[at];
        bool once = digits.find(mark) == at;
        std::size_t after = digits.size() - at - 1;
        std::string before = digits.substr(0, at);
        bool groupable = !before.empty() && before != "0" && before.size() <= 3;
        // "1,234" groups thousands or has three decimals; nothing else is unclear.
        if (!once)
            (mark == '.' ? commas : points) += 1;
        else if (after == 3 && groupable)
            ++undecided;
        else
            (mark == '.' ? points : commas) += 1;
    }
    if (points > commas) return DecimalMark::Point;
    if (commas > points) return DecimalMark::Comma;
    if (points == 0 && undecided == 0) return DecimalMark::Point;
    return std::nullopt;
}

std::string PlainAmountText(Amount value, DecimalMark mark, int fewestDecimals) {
    std::int64_t raw = value.raw;
    bool negative = raw < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(raw) : raw;
    std::string decimals = std::to_string(magnitude % Amount::kScale);
    decimals.insert(0, 4 - decimals.size(), '0');
    while (decimals.size() > static_cast<std::size_t>(fewestDecimals) && decimals.back() == '0')
        decimals.pop_back();
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / Amount::kScale);
    if (decimals.empty()) return text;
    return text + (mark == DecimalMark::Point ? "." : ",") + decimals;
}

}  // namespace quantora
