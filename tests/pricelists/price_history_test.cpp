// The history of a list's prices: what was added reads back, a line cut short or damaged is
// skipped, the record stays within its bound keeping the newest changes, and the last change
// to a price says why in the user's words.
#include "pricelists/price_history.h"

#include <gtest/gtest.h>

#include "store/data_folder.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

Amount A(const char* text) { return ParseAmount(text); }

TEST(PriceHistory, WhatIsAddedReadsBackAndADamagedLineIsSkipped) {
    TempFolder list;
    EXPECT_TRUE(ReadPriceHistory(list.path()).empty());
    PriceHistoryEntry typed{1796000000, PriceSource::Typed, "Nails", A("1"), A("1.25"), ""};
    PriceHistoryEntry imported{1796000100, PriceSource::Imported, "NAILS", A("1.25"),
                               A("1.3"),   "supplier.csv"};
    PriceHistoryEntry tabbed{1796000100, PriceSource::Imported, "Bad\tname", A("0"), A("1"), ""};
    AppendPriceHistory(list.path(), {typed}, true);
    AppendPriceHistory(list.path(), {imported, tabbed}, false);
    EXPECT_EQ(ReadPriceHistory(list.path()), (std::vector<PriceHistoryEntry>{typed, imported}));

    // A crash in the middle of a write leaves a last line cut short; damage leaves anything.
    std::string record = ReadBytes(list / kPriceHistoryRecord);
    WriteBytes(list / kPriceHistoryRecord,
               "garbage\n1\tX\t0\t0\tItem\t\n\t\t\t\t\t\n" + record + "1796000200\tU\t13000\t125");
    EXPECT_EQ(ReadPriceHistory(list.path()), (std::vector<PriceHistoryEntry>{typed, imported}));
    EXPECT_TRUE(ParsePriceHistory(std::string(200, '\t')).empty());
}

TEST(PriceHistory, TheRecordKeepsItsNewestChangesWithinItsBound) {
    TempFolder list;
    std::vector<PriceHistoryEntry> batch;
    for (int k = 0; k < 1000; ++k)
        batch.push_back({1796000000 + k, PriceSource::Imported, "Board " + std::to_string(k),
                         A("1"), A("2"), std::string(40, 'f')});
    for (int round = 0; round < 20; ++round) AppendPriceHistory(list.path(), batch, false);
    std::string record = ReadBytes(list / kPriceHistoryRecord);
    EXPECT_LE(record.size(), kPriceHistoryLimit + EncodePriceHistory(batch).size());
    std::vector<PriceHistoryEntry> kept = ReadPriceHistory(list.path());
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back(), batch.back());  // the newest stays
    EXPECT_EQ(record.front(), '1');        // and it starts on a whole line

    // One import of more changes than the bound holds leaves the record within it.
    std::vector<PriceHistoryEntry> big;
    for (int k = 0; k < 40'000; ++k)
        big.push_back({1797000000 + k, PriceSource::Imported, "Beam " + std::to_string(k), A("1"),
                       A("3"), std::string(40, 'g')});
    ASSERT_GT(EncodePriceHistory(big).size(), kPriceHistoryLimit);
    AppendPriceHistory(list.path(), big, false);
    record = ReadBytes(list / kPriceHistoryRecord);
    EXPECT_LE(record.size(), kPriceHistoryLimit);
    kept = ReadPriceHistory(list.path());
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back(), big.back());
    EXPECT_EQ(record.front(), '1');
}

TEST(PriceHistory, TheLastChangeToAPriceSaysWhy) {
    std::vector<PriceHistoryEntry> history = {
        {1796000000, PriceSource::Typed, "Nails", A("1"), A("1.25"), ""},
        {1796000100, PriceSource::Imported, "nails", A("1.25"), A("1.3"), "Timber Ltd.csv"},
        {1796000200, PriceSource::Typed, "Screws", A("2"), A("3"), ""}};
    auto why = LastChangeTo(history, "NAILS", A("1.3"));
    ASSERT_TRUE(why);
    EXPECT_EQ(why->source, PriceSource::Imported);
    EXPECT_EQ(WhyText(*why).rfind("imported from Timber Ltd.csv on ", 0), 0u);
    // A price the last change did not set is not explained by an older one.
    EXPECT_FALSE(LastChangeTo(history, "Nails", A("1.25")));
    EXPECT_FALSE(LastChangeTo(history, "Glue", A("1")));
    EXPECT_EQ(WhyText(history[2]).rfind("typed in on ", 0), 0u);
    EXPECT_EQ(WhyText({0, PriceSource::Undone, "x", {}, {}, ""}).rfind("put back by Undo", 0), 0u);
}

}  // namespace
}  // namespace quantora
