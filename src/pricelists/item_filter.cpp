#include "pricelists/item_filter.h"

#include "store/code_page.h"

namespace quantora {

namespace {

// Glob match of the whole name against pattern + "*": the name only has to begin with
// something the pattern matches. Iterative with one backtrack point, so long names and
// many stars stay linear-ish.
bool GlobPrefix(const std::u32string& name, const std::u32string& pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::u32string::npos, starN = 0;
    while (true) {
        if (p == pattern.size()) return true;  // the implied trailing "*" takes the rest
        if (pattern[p] == U'*') {
            starP = p++;
            starN = n;
            continue;
        }
        if (n < name.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
            continue;
        }
        if (starP == std::u32string::npos || starN >= name.size()) return false;
        p = starP + 1;
        n = ++starN;
    }
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

NameTest::NameTest(const ItemFilter& filter)
    : mode_(filter.mode),
      piece_(FoldCase(TrimBlanks(filter.text))),
      pattern_(DecodeUtf8Lenient(piece_)) {
    // An empty text lets every item through, whichever filter it is.
    if (piece_.empty()) mode_ = FilterMode::AllItems;
}

bool NameTest::operator()(std::string_view name) const {
    if (mode_ == FilterMode::AllItems) return true;
    std::string folded = FoldCase(name);
    if (mode_ == FilterMode::BeginningWith) return GlobPrefix(DecodeUtf8Lenient(folded), pattern_);
    // Folded UTF-8 is compared byte by byte: a whole character matches only a whole one.
    if (mode_ == FilterMode::EndingWith)
        return folded.size() >= piece_.size() &&
               folded.compare(folded.size() - piece_.size(), piece_.size(), piece_) == 0;
    return folded.find(piece_) != std::string::npos;
}

bool ItemFilter::Passes(std::string_view name) const { return NameTest(*this)(name); }

}  // namespace quantora
