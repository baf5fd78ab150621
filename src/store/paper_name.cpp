#include "store/paper_name.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace quantora {

namespace {

struct NamedPaper {
    const char* name;
    PaperSize size;
};

// The short names drivers give the papers a small business prints on.
constexpr NamedPaper kShortNames[] = {
    {"a3", {842, 1191}},       {"a4", {595, 842}},         {"a5", {420, 595}},
    {"a6", {298, 420}},        {"letter", {612, 792}},     {"legal", {612, 1008}},
    {"executive", {522, 756}}, {"tabloid", {792, 1224}},   {"ledger", {792, 1224}},
    {"statement", {396, 612}}, {"env10", {297, 684}},      {"envdl", {312, 624}},
    {"envc5", {459, 649}},     {"envmonarch", {279, 540}}, {"b4", {709, 1001}},
    {"b5", {499, 709}},        {"folio", {612, 936}},
};

std::optional<double> Number(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0) return {};
    return value;
}

// "148x210mm" or "8.5x11in", the last part of a standard name.
std::optional<PaperSize> SelfDescribed(std::string_view dimensions) {
    double perUnit = 0;
    if (dimensions.ends_with("mm"))
        perUnit = 72.0 / 25.4;
    else if (dimensions.ends_with("in"))
        perUnit = 72.0;
    else
        return {};
    dimensions.remove_suffix(2);
    std::size_t x = dimensions.find('x');
    if (x == std::string_view::npos) return {};
    auto width = Number(dimensions.substr(0, x));
    auto height = Number(dimensions.substr(x + 1));
    if (!width || !height) return {};
    double a = *width * perUnit, b = *height * perUnit;
    return PaperSize{std::min(a, b), std::max(a, b)};
}

}  // namespace

std::optional<PaperSize> PaperOfMediaName(std::string_view name) {
    // A standard name: class_name_dimensions, the dimensions last.
    if (std::size_t last = name.rfind('_'); last != std::string_view::npos)
        if (auto size = SelfDescribed(name.substr(last + 1))) return size;
    // A driver's name, without what it adds after a dot ("A4.Transverse", "Letter.Fullbleed").
    std::string lower(name.substr(0, name.find('.')));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const NamedPaper& paper : kShortNames)
        if (lower == paper.name) return paper.size;
    return {};
}

}  // namespace quantora
