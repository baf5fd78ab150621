#include "costing/job_file.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

JobLine Line(std::int16_t kind, std::int16_t slot, const char* quant, const std::string& item,
             const char* price, const char* subTot) {
    return {kind, slot, ParseAmount(quant), item, ParseAmount(price), ParseAmount(subTot)};
}

TEST(JobRecord, NinetyEightBytesInFieldOrder) {
    JobLine line = Line(1, 3, "2.5", "Hammer", "12.5", "31.25");
    std::string expected;
    expected += std::string("\x01\x00\x03\x00", 4);
    expected += std::string("\xA8\x61\x00\x00\x00\x00\x00\x00", 8);  // 2.5 = 25,000
    expected += "Hammer" + std::string(64, ' ');
    expected += std::string("\x48\xE8\x01\x00\x00\x00\x00\x00", 8);  // 12.5 = 125,000
    expected += std::string("\xB4\xC4\x04\x00\x00\x00\x00\x00", 8);  // 31.25 = 312,500
    EXPECT_EQ(EncodeJobLine(line), expected);
    EXPECT_EQ(DecodeJobLine(expected), line);

    JobLine negative = Line(0, -1, "-1", "x", "0", "0");
    EXPECT_EQ(EncodeJobLine(negative).substr(0, 12),
              std::string("\x00\x00\xFF\xFF\xF0\xD8\xFF\xFF\xFF\xFF\xFF\xFF", 12));
}

TEST(JobRecord, NamesArePaddedTrimmedAndKeptToSeventyBytes) {
    std::string seventy(70, 'n');
    EXPECT_EQ(EncodeJobLine(Line(0, 0, "1", seventy, "1", "1")).substr(12, 70), seventy);
    EXPECT_EQ(DecodeJobLine(EncodeJobLine(Line(0, 0, "1", "Nails   ", "1", "1"))).Item, "Nails");
    EXPECT_EQ(EncodeJobLine(Line(0, 0, "1", "Café", "1", "1")).substr(12, 5), "Caf\xE9 ");
    EXPECT_THROW(EncodeJobLine(Line(0, 0, "1", seventy + "n", "1", "1")), JobNameError);
    EXPECT_THROW(EncodeJobLine(Line(0, 0, "1", "tick ✓", "1", "1")), JobNameError);
    // Any kind but 1 is a price list line.
    EXPECT_FALSE(Line(7, 0, "1", "x", "1", "1").IsJob());
    EXPECT_TRUE(Line(1, 0, "1", "x", "1", "1").IsJob());
}

TEST(JobFile, LinesAreReadWrittenAndAppended) {
    TempFolder dir;
    std::string job = dir / "Job";
    EXPECT_TRUE(ReadAllLines(job).empty());  // an empty job has no lines
    WriteLine(job, 0, Line(0, 0, "1", "A", "1", "1"));
    WriteLine(job, 1, Line(0, 0, "2", "B", "2", "4"));
    WriteLine(job, 0, Line(0, 0, "3", "C", "3", "9"));
    EXPECT_EQ(ReadAllLines(job).size(), 2u);
    EXPECT_EQ(ReadLine(job, 0).Item, "C");
    EXPECT_EQ(ReadAllLines(job)[1].Item, "B");
    EXPECT_THROW(WriteLine(job, 5, Line(0, 0, "1", "Z", "1", "1")), std::out_of_range);
    EXPECT_THROW(ReadLine(job, 2), std::out_of_range);

    std::string before = ReadBytes(job);
    EXPECT_THROW(WriteLine(job, 0, Line(0, 0, "1", "tick ✓", "1", "1")), JobNameError);
    EXPECT_EQ(ReadBytes(job), before);
}

TEST(JobFile, RebuildWithoutALineKeepsTheOthersByteForByte) {
    TempFolder dir;
    std::string temp = dir / "Temp.job", spare = dir / "Spare.job";
    for (int i = 0; i < 4; ++i)
        WriteLine(temp, i, Line(0, 0, "1", "L" + std::to_string(i), "1", "1"));
    std::string before = ReadBytes(temp);
    WriteBytes(spare, "stale scratch content");
    RebuildWithoutLine(temp, spare, 2);
    EXPECT_EQ(ReadBytes(temp), before.substr(0, 196) + before.substr(294));
    EXPECT_FALSE(testing::Exists(spare));
}

TEST(JobFile, APieceOfARecordAtTheEndIsNoLine) {
    TempFolder dir;
    std::string job = dir / "Job";
    WriteLine(job, 0, Line(0, 0, "1", "A", "1", "1"));
    WriteBytes(job, ReadBytes(job) + "torn");
    EXPECT_EQ(ReadAllLines(job).size(), 1u);
    EXPECT_THROW(ReadLine(job, 1), std::out_of_range);
    WriteLine(job, 1, Line(0, 0, "1", "B", "1", "1"));  // overwrites the torn piece
    EXPECT_EQ(ReadBytes(job).size(), 196u);
}

}  // namespace
}  // namespace quantora
