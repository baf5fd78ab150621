// The paper a printer's media name stands for. CUPS and lpoptions name paper either by the
// self-describing names of the printing standards ("iso_a5_148x210mm", "na_letter_8.5x11in")
// or by the short names of printer drivers ("A5", "Letter"); both read as a size in points.
#pragma once

#include <optional>
#include <string_view>

namespace quantora {

// Width and height in points (1/72 inch), the shorter side first.
struct PaperSize {
    double width;
    double height;
    friend bool operator==(const PaperSize&, const PaperSize&) = default;
};

// Nothing for a name that says no size (a custom size, a name no driver uses).
std::optional<PaperSize> PaperOfMediaName(std::string_view name);

}  // namespace quantora
