#include "pricelists/supplier_amount.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

Amount Raw(std::int64_t raw) { return Amount::FromRaw(raw); }

TEST(SupplierAmounts, ReadAsAPersonMeansThem) {
    struct Case {
        const char* text;
        DecimalMark mark;
        std::int64_t raw;
    };
    for (const Case& c :
         {Case{"1.234,56", DecimalMark::Comma, 12345600},
          Case{"1,234.56", DecimalMark::Point, 12345600},
          Case{"1234.56", DecimalMark::Point, 12345600},
          Case{"1234,56", DecimalMark::Comma, 12345600},
          Case{"\xE2\x82\xAC 12,50", DecimalMark::Comma, 125000},
          Case{"$12.50", DecimalMark::Point, 125000}, Case{"12.50 EUR", DecimalMark::Point, 125000},
          Case{"1\xC2\xA0"
               "234,5",
               DecimalMark::Comma, 12345000},
          Case{"1'234.50", DecimalMark::Point, 12345000},
          Case{"EUR 7,-", DecimalMark::Comma, 70000}, Case{"(3.20)", DecimalMark::Point, -32000},
          Case{"-$3.20", DecimalMark::Point, -32000},
          Case{"0.00005", DecimalMark::Point, 1},  // four decimals, halves up
          Case{" 42 ", DecimalMark::Comma, 420000}}) {
        SupplierAmount read = ReadSupplierAmount(c.text, c.mark);
        EXPECT_EQ(read.reading, AmountReading::Read) << c.text;
        EXPECT_EQ(read.value, Raw(c.raw)) << c.text;
    }
}

TEST(SupplierAmounts, WhatIsNoAmountIsSaidSo) {
    for (const char* text :
         {"", "abc", "12abc34", "1.2.3", "1.5,0", "Price", "12 apples", "--5", "."})
        EXPECT_EQ(ReadSupplierAmount(text, DecimalMark::Point).reading, AmountReading::NotAnAmount)
            << text;
    EXPECT_EQ(ReadSupplierAmount("1,5,0", DecimalMark::Comma).reading, AmountReading::NotAnAmount);
    EXPECT_EQ(ReadSupplierAmount("99999999999999999999", DecimalMark::Point).reading,
              AmountReading::TooLarge);
}

TEST(SupplierAmounts, TheDecimalMarkIsSettledByTheTextsThatTellIt) {
    using Texts = std::vector<std::string_view>;
    EXPECT_EQ(SettleDecimalMark(Texts{"1,234", "12,5"}), DecimalMark::Comma);
    EXPECT_EQ(SettleDecimalMark(Texts{"1,234", "1.234,56"}), DecimalMark::Comma);
    EXPECT_EQ(SettleDecimalMark(Texts{"1.234.567", "3"}), DecimalMark::Comma);
    EXPECT_EQ(SettleDecimalMark(Texts{"0,125"}), DecimalMark::Comma);  // no thousands begin with 0
    EXPECT_EQ(SettleDecimalMark(Texts{"12.50", "$3.95", "Price"}), DecimalMark::Point);
    EXPECT_EQ(SettleDecimalMark(Texts{"12", "7"}),
              DecimalMark::Point);  // whole: either reads alike
    EXPECT_EQ(SettleDecimalMark(Texts{"1,234", "2,500"}), std::nullopt);
    EXPECT_EQ(SettleDecimalMark(Texts{"1.5", "2,5"}), std::nullopt);
}

TEST(SupplierAmounts, PlainTextReadsBackExactly) {
    EXPECT_EQ(PlainAmountText(Raw(12345000), DecimalMark::Point), "1234.50");
    EXPECT_EQ(PlainAmountText(Raw(-5), DecimalMark::Comma), "-0,0005");
    EXPECT_EQ(PlainAmountText(Amount::Whole(2), DecimalMark::Point, 0), "2");
    for (std::int64_t raw :
         {std::int64_t{0}, std::int64_t{1}, std::int64_t{-123456789},
          std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min() + 1})
        for (DecimalMark mark : {DecimalMark::Point, DecimalMark::Comma})
            EXPECT_EQ(ReadSupplierAmount(PlainAmountText(Raw(raw), mark), mark).value, Raw(raw));
}

}  // namespace
}  // namespace quantora
