// What a costing cost when its last quote went out: the record reads back what was written and
// nothing from damage, and tells how far the cost and each line have moved since.
#include "costing/quote_record.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

Amount A(const char* text) { return ParseAmount(text); }

JobLine Line(const std::string& item, const char* quant, const char* price, bool job = false) {
    return {static_cast<std::int16_t>(job ? 1 : 0),
            0,
            A(quant),
            item,
            A(price),
            SubTotal(A(quant), A(price))};
}

TEST(QuoteRecords, WhatIsWrittenReadsBackAndDamageReadsAsNone) {
    TempFolder data;
    DataPaths paths{data.path(), data.path()};
    std::string path = QuoteRecordPath(paths, 2, "Kitchen");
    EXPECT_EQ(path, data / "Quotes/.quantora-quoted/2/Kitchen");
    EXPECT_FALSE(ReadQuoteRecord(path));
    QuoteRecord record{
        1796000000, "Amelia Hart", {Line("Plank", "2", "4"), Line("Wall", "1", "60", true)}};
    ASSERT_TRUE(WriteQuoteRecord(path, record));  // its folders made
    EXPECT_EQ(ReadQuoteRecord(path), record);
    std::string bytes = ReadBytes(path);
    for (std::size_t cut : {std::size_t(0), std::size_t(10), bytes.size() - 1})
        EXPECT_FALSE(ParseQuoteRecord(bytes.substr(0, cut))) << cut;
    EXPECT_FALSE(ParseQuoteRecord(bytes + "1\t2\tx\t4\t5\tPlank\n"));
    EXPECT_FALSE(ParseQuoteRecord("quantora-quote 1\n12\tA\tB\n"));
    // A customer's name that would break a line is left out, not the quote.
    record.customer = "Two\nlines";
    EXPECT_EQ(ParseQuoteRecord(EncodeQuoteRecord(record))->customer, "");
}

TEST(QuoteRecords, HowFarTheCostMovedSinceTheQuote) {
    QuoteRecord quoted{
        1796000000,
        "Amelia Hart",
        {Line("Plank", "2", "4"), Line("Bolt", "12.5", "2.5"), Line("Glue", "1", "3")}};
    // Bolt went up; Glue was replaced by another item, which is no change of price.
    std::vector<JobLine> now = {Line("Plank", "2", "4"), Line("Bolt", "12.5", "2.6"),
                                Line("Tape", "1", "9"), Line("New", "1", "1")};
    SinceQuote since = ChangesSinceQuote(quoted, now);
    ASSERT_EQ(since.changes.size(), 1u);
    EXPECT_EQ(since.changes[0].line, 1);
    EXPECT_EQ(since.changes[0].oldPrice, A("2.5"));
    EXPECT_EQ(since.quotedTotal, A("42.25"));
    std::optional<std::string> note = SinceQuoteNote(quoted, since.quotedTotal, A("43.56"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->rfind("cost +3.1 % since the quote to Amelia Hart of ", 0), 0u);
    EXPECT_FALSE(SinceQuoteNote(quoted, since.quotedTotal, A("42.25")));  // as quoted
    EXPECT_FALSE(SinceQuoteNote(quoted, A("0"), A("1")));
    quoted.customer.clear();
    EXPECT_EQ(SinceQuoteNote(quoted, A("10"), A("9"))->rfind("cost -10.0 % since the quote of ", 0),
              0u);
}

}  // namespace
}  // namespace quantora
