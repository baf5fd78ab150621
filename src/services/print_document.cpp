#include "services/print_document.h"

#include <algorithm>

namespace quantora {

void PrintDocument::Print(int x, const std::string& text, bool bold) {
    runs_.push_back({page_, x, y_, text, bold});
    y_ += measure_.lineHeight;
}

void PrintDocument::NewPage() {
    ++page_;
    y_ = top_;
}

std::string LongestFittingStart(const std::string& text,
                                const std::function<bool(const std::string&)>& fits) {
    // Where each character starts: a UTF-8 character is never cut in two.
    std::vector<std::size_t> ends;
    for (std::size_t i = 1; i <= text.size(); ++i)
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ends.push_back(i);
    // The number of whole characters kept: the largest count that fits, 0 when none does.
    std::size_t low = 0, high = ends.size();
    while (low < high) {
        std::size_t middle = (low + high + 1) / 2;
        if (fits(text.substr(0, ends[middle - 1])))
            low = middle;
        else
            high = middle - 1;
    }
    return low == 0 ? std::string() : text.substr(0, ends[low - 1]);
}

std::string CutToWidth(const std::string& text, int width, const PrintDocument& document) {
    if (document.Width(text) <= width) return text;
    return LongestFittingStart(
               text,
               [&](const std::string& start) { return document.Width(start + "..") <= width; }) +
           "..";
}

std::string WithDotLeader(const std::string& text, int width, const PrintDocument& document) {
    int dot = std::max(1, document.Width("."));
    int start = document.Width(text);
    // A first guess from the width of one dot, then corrected by measuring, so a long leader
    // is not measured once per dot; the result is the one adding dots one by one would give.
    int dots = std::max(1, (width - start + dot - 1) / dot);
    auto reaches = [&](int count) {
        return document.Width(text + std::string(count, '.')) >= width;
    };
    while (!reaches(dots)) ++dots;
    while (dots > 1 && reaches(dots - 1)) --dots;
    return text + std::string(dots, '.');
}

}  // namespace quantora
