#include "pricelists/name_mending.h"

#include "store/file_name_rules.h"

namespace quantora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The vulgar fraction for "1/2", "1/4" or "3/4" at text[at] (the slash), standing alone
// between non-digits; empty otherwise.
std::string_view FractionAt(std::string_view text, std::size_t slash) {
    if (slash == 0 || slash + 1 >= text.size()) return {};
    char top = text[slash - 1], bottom = text[slash + 1];
    if (slash >= 2 && IsDigit(text[slash - 2])) return {};
    if (slash + 2 < text.size() && IsDigit(text[slash + 2])) return {};
    if (top == '1' && bottom == '2') return "\xC2\xBD";
    if (top == '1' && bottom == '4') return "\xC2\xBC";
    if (top == '3' && bottom == '4') return "\xC2\xBE";
    return {};
}

}  // namespace

bool NeedsMending(std::string_view name) {
    if (name.find_first_of(kForbiddenNameChars) != std::string_view::npos) return true;
    if (name.empty()) return false;
    return name.front() == ' ' || name.back() == ' ' || name.front() == '.' ||
           name.find("  ") != std::string_view::npos;
}

std::string MendItemName(std::string_view name, const MendingRule& rule) {
    std::string mended;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c == '/' && rule.fractions) {
            if (std::string_view fraction = FractionAt(name, i); !fraction.empty()) {
                mended.pop_back();  // the top digit
                mended += fraction;
                ++i;  // the bottom digit
                continue;
            }
        }
        if ((c == '/' || c == '\\') && rule.slashes) {
            mended += '-';
        } else if (c == '*' && rule.starsBetweenDigits && i > 0 && i + 1 < name.size() &&
                   IsDigit(name[i - 1]) && IsDigit(name[i + 1])) {
            mended += 'x';
        } else if (c == ':' && rule.colons) {
            mended += '-';
        } else if ((c == '<' || c == '>' || c == '?' || c == '|' || c == '*') && rule.dropOthers) {
            continue;
        } else {
            mended += c;
        }
    }
    std::string tidy;
    for (char c : mended)
        if (c != ' ' || (!tidy.empty() && tidy.back() != ' ')) tidy += c;
    while (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
    std::size_t first = tidy.find_first_not_of(". ");
    return first == std::string::npos ? std::string() : tidy.substr(first);
}

std::string DescribeMendingRule(const MendingRule& rule) {
    std::string text;
    if (rule.fractions) text += "1/2, 1/4 and 3/4 become \xC2\xBD, \xC2\xBC and \xC2\xBE\n";
    if (rule.slashes) text += "any other / or \\ becomes -\n";
    if (rule.starsBetweenDigits) text += "* between digits becomes x\n";
    if (rule.colons) text += ": becomes -\n";
    if (rule.dropOthers) text += "< > ? | and any other * are dropped\n";
    return text + "runs of blanks become one, and blanks at both ends go";
}

}  // namespace quantora
