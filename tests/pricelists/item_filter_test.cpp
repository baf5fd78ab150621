#include "pricelists/item_filter.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

std::vector<std::string> Shown(FilterMode mode, const std::string& text) {
    std::vector<std::string> shown;
    ItemFilter filter{mode, text};
    for (const char* name : {"Apple", "apricot", "Banana", "grape"})
        if (filter.Passes(name)) shown.push_back(name);
    return shown;
}

using Names = std::vector<std::string>;

TEST(ItemFilter, TheFourFiltersIgnoreCase) {
    EXPECT_EQ(Shown(FilterMode::AllItems, "zzz"), (Names{"Apple", "apricot", "Banana", "grape"}));
    EXPECT_EQ(Shown(FilterMode::BeginningWith, "ap"), (Names{"Apple", "apricot"}));
    EXPECT_EQ(Shown(FilterMode::BeginningWith, "AP"), (Names{"Apple", "apricot"}));
    EXPECT_EQ(Shown(FilterMode::EndingWith, "APE"), (Names{"grape"}));
    EXPECT_EQ(Shown(FilterMode::Containing, "AN"), (Names{"Banana"}));
    EXPECT_EQ(Shown(FilterMode::Containing, "x"), Names{});
}

TEST(ItemFilter, WildcardsOnlyInTheBeginningFilter) {
    EXPECT_EQ(Shown(FilterMode::BeginningWith, "a?p"), (Names{"Apple"}));
    EXPECT_EQ(Shown(FilterMode::Containing, "a?p"), Names{});
    EXPECT_EQ(Shown(FilterMode::BeginningWith, "*an"), (Names{"Banana"}));
    EXPECT_EQ(Shown(FilterMode::BeginningWith, "g*e"), (Names{"grape"}));
    EXPECT_EQ(Shown(FilterMode::EndingWith, "?"), Names{});
    auto begins = [](const char* name, const char* text) {
        return ItemFilter{FilterMode::BeginningWith, text}.Passes(name);
    };
    EXPECT_TRUE(begins("a*b", "a*b"));
    EXPECT_FALSE(begins("ab", "abc"));
    EXPECT_FALSE(begins("", "?"));
    EXPECT_TRUE(begins("Éclair", "é"));
    EXPECT_TRUE(begins("Éclair", "?c"));  // one character, though two bytes
}

TEST(ItemFilter, BlankTextsLetEverythingThrough) {
    for (FilterMode mode :
         {FilterMode::BeginningWith, FilterMode::EndingWith, FilterMode::Containing}) {
        EXPECT_EQ(Shown(mode, "   ").size(), 4u);
        EXPECT_EQ(Shown(mode, "").size(), 4u);
    }
    EXPECT_EQ(Shown(FilterMode::EndingWith, " ape "), (Names{"grape"}));
    EXPECT_EQ(Shown(FilterMode::EndingWith, "grapefruit"), Names{});
}

TEST(ItemFilter, ManyStarsStayQuick) {
    // A pathological pattern must not take exponential time on a long name.
    std::string name(70, 'a');
    EXPECT_FALSE((ItemFilter{FilterMode::BeginningWith, "*a*a*a*a*a*a*a*a*a*a*b"}.Passes(name)));
}

}  // namespace
}  // namespace quantora
