// The four item filters of the price list editor and the item picker: all items, items
// beginning with, ending with, or containing a text, every one ignoring letter case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quantora {

enum class FilterMode : std::int16_t {
    AllItems = 0,
    BeginningWith = 1,
    EndingWith = 2,
    Containing = 3
};

struct ItemFilter {
    FilterMode mode = FilterMode::AllItems;
    std::string text;  // as typed; blanks at both ends do not count

    // Whether an item name is shown under this filter. In "Items Beginning With" the text is
    // a pattern in which "?" stands for any one character and "*" for any run of them; in
    // the other two every character is literal. An empty text lets everything through.
    bool Passes(std::string_view name) const;
};

// A filter made ready to test many names: its text trimmed and folded once, not per name.
class NameTest {
  public:
    explicit NameTest(const ItemFilter& filter);
    bool operator()(std::string_view name) const;

  private:
    FilterMode mode_;
    std::string piece_;       // the folded text
    std::u32string pattern_;  // the folded text as characters, for the wildcards
};

// The text without blanks at either end.
std::string TrimBlanks(const std::string& text);

}  // namespace quantora
