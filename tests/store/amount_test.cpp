#include "store/amount.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

Amount A(const char* text) { return ParseAmount(text); }

struct TextRow {
    const char* value;
    const char* amount;
    const char* money;
    const char* quantity;
};

TEST(AmountText, ExamplesOfAllThreeForms) {
    const TextRow rows[] = {
        {"0", "0.00", "0.00", "0"},
        {"5", "5.00", "5.00", "5"},
        {"12.5", "12.50", "12.50", "12.5"},
        {"12.3456", "12.3456", "12.34", "12.3456"},
        {"12.999", "12.999", "12.99", "12.999"},
        {"0.5", "0.50", ".50", ".5"},
        {"0.05", "0.05", ".05", ".05"},
        {"-0.5", "-.50", "-.50", "-.5"},
        {"999.5", "999.50", "999.50", "999.5"},
        {"1000", "1,000.00", "1,000.00", "1,000"},
        {"1234.5", "1,234.50", "1,234.50", "1,234.5"},
        {"-1234.5678", "-1,234.5678", "-1,234.56", "-1,234.5678"},
        {"-123.5", "-123.50", "-123.50", "-123.5"},
        {"1234567.891", "1,234,567.891", "1,234,567.89", "1,234,567.891"},
    };
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.value);
        Amount value = A(row.value);
        EXPECT_EQ(AmountText(value), row.amount);
        EXPECT_EQ(MoneyText(value), row.money);
        EXPECT_EQ(QuantityText(value), row.quantity);
    }
}

TEST(AmountText, GroupingStartsAtFourCharactersBeforeThePoint) {
    EXPECT_EQ(QuantityText(A("-999")), "-999");
    EXPECT_EQ(QuantityText(A("-1234")), "-1,234");
    EXPECT_EQ(QuantityText(A("-1000")), "-1,000");
    EXPECT_EQ(MoneyText(A("-0.999")), "-.99");
    EXPECT_EQ(AmountText(A("0.0001")), "0.0001");
    EXPECT_EQ(MoneyText(A("0.0001")), ".00");
}

TEST(AmountText, ExtremesOfTheRange) {
    Amount max = Amount::FromRaw(INT64_MAX);
    Amount min = Amount::FromRaw(INT64_MIN);
    EXPECT_EQ(AmountText(max), "922,337,203,685,477.5807");
    EXPECT_EQ(MoneyText(min), "-922,337,203,685,477.58");
    EXPECT_EQ(QuantityText(min), "-922,337,203,685,477.5808");
}

TEST(ParseAmount, ReadsTheLeadingNumber) {
    EXPECT_EQ(A("1,234.50"), Amount::FromRaw(12'345'000));
    EXPECT_EQ(A(""), Amount{});
    EXPECT_EQ(A("   12"), Amount::Whole(12));
    EXPECT_EQ(A("1.2.3"), A("1.2"));
    EXPECT_EQ(A("-5-3"), Amount::Whole(-5));
    EXPECT_EQ(A("-"), Amount{});
    EXPECT_EQ(A(".5"), Amount::FromRaw(5000));
    EXPECT_EQ(A("7."), Amount::Whole(7));
    EXPECT_EQ(A("+3"), Amount::Whole(3));
    EXPECT_EQ(A("12abc"), Amount::Whole(12));
    EXPECT_EQ(A("1e5"), Amount::Whole(1));
}

TEST(ParseAmount, RoundsToFourDecimalsHalvesAwayFromZero) {
    EXPECT_EQ(A("1.23455"), Amount::FromRaw(12346));
    EXPECT_EQ(A("1.234549999"), Amount::FromRaw(12345));
    EXPECT_EQ(A("-1.23455"), Amount::FromRaw(-12346));
    EXPECT_EQ(A("0.00004"), Amount{});
    EXPECT_EQ(A("0.000050000000000000000001"), Amount::FromRaw(1));
}

TEST(ParseAmount, OutOfRangeIsAnOverflowNotAWrap) {
    EXPECT_EQ(A("922337203685477.5807"), Amount::FromRaw(INT64_MAX));
    EXPECT_EQ(A("-922337203685477.5808"), Amount::FromRaw(INT64_MIN));
    EXPECT_THROW(A("922337203685477.5808"), AmountOverflow);
    EXPECT_THROW(A("922337203685477.58075"), AmountOverflow);
    EXPECT_THROW(A("99999999999999999999999999999999999999999999"), AmountOverflow);
}

TEST(AmountArithmetic, OverflowIsAnError) {
    Amount max = Amount::FromRaw(INT64_MAX);
    Amount min = Amount::FromRaw(INT64_MIN);
    EXPECT_THROW(max + Amount::FromRaw(1), AmountOverflow);
    EXPECT_THROW(min - Amount::FromRaw(1), AmountOverflow);
    EXPECT_THROW(max * Amount::Whole(2), AmountOverflow);
    EXPECT_THROW(min * Amount::Whole(-1), AmountOverflow);
    Amount sum = max;
    EXPECT_THROW(sum += Amount::FromRaw(1), AmountOverflow);
    EXPECT_EQ(sum, max);  // a failed sum leaves the total as it was
    // Factors whose raw product passes 64 bits are fine when the result does not.
    EXPECT_EQ(Amount::Whole(100'000'000'000) * A("1"), Amount::Whole(100'000'000'000));
}

TEST(AmountArithmetic, ProductRoundsToFourDecimals) {
    EXPECT_EQ(A("1.2345") * A("1.5"), A("1.8518"));    // 1.85175 rounds up
    EXPECT_EQ(A("-1.2345") * A("1.5"), A("-1.8518"));  // and away from zero below it
    EXPECT_EQ(A("0.0001") * A("0.4"), Amount{});
    EXPECT_EQ(A("3") * A("1.2345"), A("3.7035"));
}

TEST(SubTotal, CutsTowardsZeroToTwoDecimals) {
    EXPECT_EQ(SubTotal(A("3"), A("1.2345")), A("3.70"));
    EXPECT_EQ(SubTotal(A("-3"), A("1.2345")), A("-3.70"));
    EXPECT_EQ(SubTotal(A("2"), A("12.999")), A("25.99"));
    EXPECT_EQ(SubTotal(A("0.5"), A("0.01")), Amount{});
}

TEST(SubTotal, AgreesWithTheMoneyFormReadBack) {
    // The sub total is defined as the money text of the product read back; check the
    // arithmetic short cut against that definition over a spread of values and signs.
    for (std::int64_t q = -200'003; q <= 200'003; q += 9'973) {
        for (std::int64_t p = -3'000'017; p <= 3'000'017; p += 77'777) {
            Amount quantity = Amount::FromRaw(q * 7);
            Amount price = Amount::FromRaw(p * 13);
            ASSERT_EQ(SubTotal(quantity, price), ParseAmount(MoneyText(quantity * price)))
                << q << " x " << p;
        }
    }
}

TEST(AmountEntry, OnlyDigitsSignAndPointAreTyped) {
    for (char32_t c : std::u32string(U"-1234567890.")) EXPECT_TRUE(IsAmountEntryChar(c));
    for (char32_t c : std::u32string(U",+ aE€")) EXPECT_FALSE(IsAmountEntryChar(c));
    EXPECT_EQ(RemoveCommas("1,234,567.5"), "1234567.5");
}

}  // namespace
}  // namespace quantora
