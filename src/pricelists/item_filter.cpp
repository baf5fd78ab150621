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

bool MatchesPrefixPattern(const std::string& name, const std::string& pattern) {
    return GlobPrefix(FoldCase(name), FoldCase(pattern));
}

bool ItemFilter::Passes(const std::string& name) const {
    std::string wanted = TrimBlanks(text);
    if (mode == FilterMode::AllItems || wanted.empty()) return true;
    if (mode == FilterMode::BeginningWith) return MatchesPrefixPattern(name, wanted);
    std::u32string folded = FoldCase(name);
    std::u32string piece = FoldCase(wanted);
    if (mode == FilterMode::EndingWith)
        return folded.size() >= piece.size() &&
               folded.compare(folded.size() - piece.size(), piece.size(), piece) == 0;
    return folded.find(piece) != std::u32string::npos;
}

}  // namespace quantora
