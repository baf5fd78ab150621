// The customer's quote: prices with the margin on, rounded a line at a time so the printed
// lines add up to the total; the file each quote is kept as; and its layout, which must never
// let the shop's own prices through when they are hidden.
#include "costing/quote.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "costing/quote_print.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

// 100 twips a character (120 in bold); lines 240 twips apart.
int Width(const std::string& text, bool bold) {
    int width = static_cast<int>(text.size()) * 100;
    return bold ? width * 6 / 5 : width;
}
const PrintMeasure kMeasure{Width, 240};
constexpr PrintPage kPortrait{11906, 16838};

JobLine Line(const char* quantity, const std::string& item, const char* price) {
    Amount q = ParseAmount(quantity), p = ParseAmount(price);
    return {0, 0, q, item, p, SubTotal(q, p)};
}

Amount SumOfAmounts(const Quote& quote) {
    Amount sum;
    for (const QuoteLine& line : quote.lines) sum += line.amount;
    return sum;
}

TEST(QuotePricing, UnitPricesAreWholeCentsAndTheLinesMakeTheTotal) {
    std::vector<JobLine> lines = {Line("3", "Bolt", "1.2345"), Line("1", "Washer", "0.0003"),
                                  Line("1", "Pin", "0.0050"), Line("2.5", "Clip", "0.0050")};
    Quote quote = PriceQuote(lines, 20);
    ASSERT_EQ(quote.lines.size(), 4u);
    EXPECT_EQ(quote.lines[0].unitPrice, ParseAmount("1.48"));  // 1.4814
    EXPECT_EQ(quote.lines[0].amount, ParseAmount("4.44"));     // 3 x the price the customer reads
    EXPECT_EQ(quote.lines[1].unitPrice, ParseAmount("0"));     // 0.00036
    EXPECT_EQ(quote.lines[2].unitPrice, ParseAmount("0.01"));  // 0.006
    EXPECT_EQ(quote.lines[3].amount, ParseAmount("0.02"));     // 2.5 x 0.01, cut as every line
    // A half cent goes away from zero, a credit's as a charge's.
    Quote halves = PriceQuote({Line("1", "Shim", "0.005"), Line("1", "Refund", "-0.005")}, 0);
    EXPECT_EQ(halves.lines[0].unitPrice, ParseAmount("0.01"));
    EXPECT_EQ(halves.lines[1].unitPrice, ParseAmount("-0.01"));
    // Whatever the customer adds up is the total.
    EXPECT_EQ(quote.total, SumOfAmounts(quote));
    EXPECT_EQ(quote.total, ParseAmount("4.47"));
}

TEST(QuotePricing, NoMarkupIsTheCostingItselfAndBlankLinesAreLeftOut) {
    std::vector<JobLine> lines = {Line("12.5", "Plank", "4"), Line("0", "", "0"),
                                  Line("0", "   ", "0"), Line("-2", "Returned plank", "4")};
    Quote quote = PriceQuote(lines, 0);
    ASSERT_EQ(quote.lines.size(), 2u);
    EXPECT_EQ(quote.lines[0].amount, lines[0].SubTot);
    EXPECT_EQ(quote.lines[1].item, "Returned plank");
    EXPECT_EQ(quote.lines[1].amount, ParseAmount("-8"));
    EXPECT_EQ(quote.total, ParseAmount("42"));
    EXPECT_EQ(PriceQuote({}, 50).total, Amount{});
}

TEST(QuotePricing, AnAmountBeyondWhatTheProgramHoldsStopsTheQuote) {
    Amount huge = Amount::FromRaw(INT64_MAX / 5);
    std::vector<JobLine> lines = {{0, 0, Amount::Whole(1), "Crane", huge, {}}};
    EXPECT_NO_THROW(PriceQuote(lines, 0));
    EXPECT_THROW(PriceQuote(lines, kMaxMarkup), AmountOverflow);
}

TEST(QuoteKeeping, TheDateAndTheFileAQuoteIsKeptAs) {
    EXPECT_EQ(LongDateText({1, 7, 12, 2026, 9, 5}), "7 December 2026");
    EXPECT_EQ(LongDateText({4, 1, 1, 2027, 0, 0}), "1 January 2027");
    TempFolder quotes;
    ClockTime now{1, 7, 12, 2026, 9, 5};
    std::string first = KeptQuotePath(quotes.path(), "Shed", now);
    EXPECT_EQ(first, quotes / "Shed 2026-12-07 09.05.pdf");
    WriteBytes(first, "%PDF");
    EXPECT_EQ(KeptQuotePath(quotes.path(), "Shed", now), quotes / "Shed 2026-12-07 09.05 (2).pdf");
    WriteBytes(quotes / "Shed 2026-12-07 09.05 (2).pdf", "%PDF");
    EXPECT_EQ(KeptQuotePath(quotes.path(), "Shed", now), quotes / "Shed 2026-12-07 09.05 (3).pdf");
    // Another minute, another job: no number.
    EXPECT_EQ(KeptQuotePath(quotes.path(), "Shed", {1, 7, 12, 2026, 9, 6}),
              quotes / "Shed 2026-12-07 09.06.pdf");
}

struct Laid {
    std::vector<PrintRun> runs;
    bool Has(const std::string& text) const {
        return std::any_of(runs.begin(), runs.end(),
                           [&](const PrintRun& run) { return run.text == text; });
    }
    const PrintRun& Of(const std::string& text) const {
        return *std::find_if(runs.begin(), runs.end(),
                             [&](const PrintRun& run) { return run.text == text; });
    }
};

Laid LayOut(const std::vector<JobLine>& lines, const QuoteTerms& terms) {
    Settings settings;
    settings.PrintTopMargin = 2;
    return {LayOutQuote(PriceQuote(lines, terms.markup), terms, "Shed", "7 December 2026", settings,
                        kPortrait, kMeasure)};
}

const std::vector<JobLine> kShed = {Line("2", "Plank", "4"), Line("12.5", "Bolt", "2.5")};

TEST(QuotePrintOut, HiddenPricesLeaveOnlyTheTotalInMoney) {
    QuoteTerms terms{"Amelia Hart", "Kitchen extension", 20, false};
    Laid quote = LayOut(kShed, terms);
    // Neither the shop's prices nor the marked-up ones, nor any line's amount.
    for (const char* money : {"4.00", "2.50", "8.00", "31.25", "4.80", "3.00", "9.60", "37.50"})
        EXPECT_FALSE(quote.Has(money)) << money;
    EXPECT_FALSE(quote.Has("Unit price"));
    EXPECT_FALSE(quote.Has("Amount"));
    EXPECT_TRUE(quote.Has("Plank") && quote.Has("12.5") && quote.Has("Bolt"));
    ASSERT_TRUE(quote.Has("47.10"));
    const PrintRun& total = quote.Of("47.10");
    EXPECT_TRUE(total.bold);
    EXPECT_EQ(total.x + Width("47.10", true), kPortrait.width - 1000);
    // The heading carries the date, the job and the customer, then the note.
    EXPECT_TRUE(quote.Has("7 December 2026") && quote.Has("Shed") && quote.Has("Amelia Hart"));
    EXPECT_LT(quote.Of("Amelia Hart").y, quote.Of("Kitchen extension").y);
    EXPECT_LT(quote.Of("Kitchen extension").y, quote.Of("Plank").y);
    EXPECT_EQ(quote.runs.front().text, "Quote");
    EXPECT_EQ(quote.runs.front().y, 1440);  // the one-inch top margin
}

TEST(QuotePrintOut, ShownPricesStandInColumnsEndingTogether) {
    Laid quote = LayOut(kShed, {"", "", 20, true});
    const PrintRun &plankPrice = quote.Of("4.80"), &boltPrice = quote.Of("3.00");
    EXPECT_EQ(plankPrice.x + Width("4.80", false), boltPrice.x + Width("3.00", false));
    EXPECT_EQ(quote.Of("Unit price").x + Width("Unit price", true),
              boltPrice.x + Width("3.00", false));
    const PrintRun &plankAmount = quote.Of("9.60"), &boltAmount = quote.Of("37.50");
    EXPECT_EQ(plankAmount.x + Width("9.60", false), kPortrait.width - 1000);
    EXPECT_EQ(boltAmount.x + Width("37.50", false), kPortrait.width - 1000);
    EXPECT_GT(plankAmount.x, plankPrice.x);
    // No customer, no "For:" line; the shop's cost is nowhere.
    EXPECT_FALSE(quote.Has("For:"));
    EXPECT_FALSE(quote.Has("4.00") || quote.Has("8.00"));
}

// Prices of two to four decimals at cost still print in cents, so their points line up.
TEST(QuotePrintOut, UnitPricesPrintInCentsWithTheirPointsInLine) {
    Laid quote = LayOut(
        {Line("1", "Oak", "40.95"), Line("1", "Ash", "126.8283"), Line("1", "Elm", "105.9922")},
        {"", "", 20, true});
    int point = quote.Of("49.14").x + Width("49.14", false);
    for (const char* price : {"152.19", "127.19"}) {
        ASSERT_TRUE(quote.Has(price)) << price;
        EXPECT_EQ(quote.Of(price).x + Width(price, false), point) << price;
    }
}

// The print options' "Print Title" leaves the heading off, for paper with the shop's own.
TEST(QuotePrintOut, WithoutTitlesTheQuoteStartsWithItsDate) {
    Settings settings;
    settings.PrintTitle = 0;
    std::vector<PrintRun> runs = LayOutQuote(PriceQuote(kShed, 0), {"", "", 0, true}, "Shed",
                                             "7 December 2026", settings, kPortrait, kMeasure);
    EXPECT_EQ(runs.front().text, "Date:");
    EXPECT_EQ(runs.front().y, settings.PrintTopMargin * 720);  // at the top margin
    EXPECT_TRUE(std::none_of(runs.begin(), runs.end(),
                             [](const PrintRun& run) { return run.text == "Quote"; }));
}

TEST(QuotePrintOut, LongNotesWrapAndLongNamesAreCutToTheirColumn) {
    std::string longName(70, 'x');
    QuoteTerms terms{"",
                     "first line\n\nword word word word word word word word word word word "
                     "word word word word word word word word word word word",
                     0, true};
    Laid quote = LayOut({Line("1", longName, "5")}, terms);
    std::vector<PrintRun> noteLines;
    for (const PrintRun& run : quote.runs)
        if (run.text.rfind("word", 0) == 0) noteLines.push_back(run);
    ASSERT_GE(noteLines.size(), 2u);
    for (const PrintRun& line : noteLines) {
        EXPECT_LE(line.x + Width(line.text, false), kPortrait.width - 1000);
        EXPECT_NE(line.text.back(), ' ');
    }
    // The empty line of the note is kept between its paragraphs.
    EXPECT_EQ(noteLines.front().y - quote.Of("first line").y, 2 * 240);
    auto cut = std::find_if(quote.runs.begin(), quote.runs.end(), [](const PrintRun& run) {
        return run.text.size() > 2 && run.text.substr(run.text.size() - 2) == "..";
    });
    ASSERT_NE(cut, quote.runs.end());
    EXPECT_LT(cut->x + Width(cut->text, false), quote.Of("5.00").x);
}

TEST(QuotePrintOut, EveryPageKeepsItsMarginsAndRepeatsTheColumnHeads) {
    std::vector<JobLine> lines(200, Line("1", "Plank", "4"));
    Laid quote = LayOut(lines, {"", "", 0, true});
    int pages = quote.runs.back().page + 1;
    ASSERT_GE(pages, 3);
    for (int page = 1; page < pages; ++page) {
        auto first = std::find_if(quote.runs.begin(), quote.runs.end(),
                                  [&](const PrintRun& run) { return run.page == page; });
        EXPECT_EQ(first->text, "Quantity");
        EXPECT_EQ(first->y, 1440);
    }
    for (const PrintRun& run : quote.runs) EXPECT_LE(run.y, kPortrait.height - 1200);
    EXPECT_EQ(std::count_if(quote.runs.begin(), quote.runs.end(),
                            [](const PrintRun& run) { return run.text == "Plank"; }),
              200);
    EXPECT_EQ(quote.runs.back().text, "800.00");
}

}  // namespace
}  // namespace quantora
