// What the price list editor accepts: typed characters and the item that "Add or Update"
// writes.
#include "pricelists/item_entry.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

TEST(ItemEntry, NamesLoseWhatAFileNameCannotHold) {
    EXPECT_EQ(CleanItemName(".Nails*"), "Nails");
    EXPECT_EQ(CleanItemName("  Hammer "), "Hammer");
    EXPECT_EQ(CleanItemName(".."), std::nullopt);
    EXPECT_EQ(CleanItemName(std::string(70, 'x') + "*"), std::string(70, 'x'));
    EXPECT_EQ(CleanItemName(std::string(71, 'x')), std::nullopt);
    for (char32_t c : std::u32string(U"/\\<>?*:|\"✓")) EXPECT_FALSE(IsAllowedInItemName(c));
    EXPECT_TRUE(IsAllowedInItemName(U'é'));
}

TEST(ItemEntry, AddOrUpdateRefusesBeforeWritingAnything) {
    ItemEntry hammer = CheckItemEntry("  Hammer ", "12.5");
    EXPECT_EQ(hammer.refusal, EntryRefusal::None);
    EXPECT_EQ(hammer.name, "Hammer");
    EXPECT_EQ(hammer.price, ParseAmount("12.5"));
    EXPECT_EQ(CheckItemEntry("   ", "5").refusal, EntryRefusal::EmptyName);
    ItemEntry noPrice = CheckItemEntry(" Hinge", "");
    EXPECT_EQ(noPrice.refusal, EntryRefusal::EmptyPrice);
    EXPECT_EQ(noPrice.shownName, "Hinge");
    EXPECT_EQ(CheckItemEntry("..*", "5").refusal, EntryRefusal::UnusableName);
    // A pasted price beyond what an amount holds is refused, not an error out of the window.
    EXPECT_EQ(CheckItemEntry("Gold", "99999999999999999999").refusal, EntryRefusal::PriceTooLarge);
    // The program's own text for a price reads back as the same price.
    EXPECT_EQ(CheckItemEntry("Gold", "1,234,567,890.12").price, ParseAmount("1234567890.12"));
    EXPECT_EQ(CheckItemEntry("Debt", "-922,337,203,685,477.5808").price,
              Amount::FromRaw(INT64_MIN));
}

TEST(ItemEntry, ThePriceFieldTakesAmountCharactersUpToItsLimit) {
    EXPECT_EQ(CheckPriceKey(U'7', 0, 0), PriceKey::Accepted);
    EXPECT_EQ(CheckPriceKey(U'x', 0, 0), PriceKey::Refused);
    EXPECT_EQ(CheckPriceKey(U',', 0, 0), PriceKey::Refused);
    EXPECT_EQ(CheckPriceKey(U'1', 14, 0), PriceKey::Full);
    EXPECT_EQ(CheckPriceKey(U'1', 14, 14), PriceKey::Accepted);  // replacing the selection
}

}  // namespace
}  // namespace quantora
