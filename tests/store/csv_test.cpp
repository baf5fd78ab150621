#include "store/csv.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> FieldsOf(std::string_view text, char delimiter = ',') {
    std::vector<Fields> rows;
    for (const CsvRecord& record : ReadCsv(text, delimiter)) rows.push_back(record.fields);
    return rows;
}

TEST(CsvReading, QuotesLineEndsAndBlankLinesAsSpreadsheetsWriteThem) {
    EXPECT_EQ(FieldsOf("a,b\r\nc,d"), (std::vector<Fields>{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(FieldsOf("\"x, y\",\"say \"\"hi\"\"\"\n"),
              (std::vector<Fields>{{"x, y", "say \"hi\""}}));
    EXPECT_EQ(FieldsOf("a,,\n\n\r\nb\n"), (std::vector<Fields>{{"a", "", ""}, {"b"}}));
    // A quote inside an unquoted field is only a character; one left open runs to the end.
    EXPECT_EQ(FieldsOf("5\" nail,1\n\"open,2\n3"),
              (std::vector<Fields>{{"5\" nail", "1"}, {"open,2\n3"}}));
    EXPECT_EQ(FieldsOf("a;b,c", ';'), (std::vector<Fields>{{"a", "b,c"}}));
}

TEST(CsvReading, EachRecordKnowsTheLineItStartsOn) {
    std::vector<CsvRecord> records = ReadCsv("head\r\n\"two\r\nlines\",1\r\n\r\nlast", ',');
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].line, 1u);
    EXPECT_EQ(records[1].line, 2u);
    EXPECT_EQ(records[1].fields[0], "two\r\nlines");
    EXPECT_EQ(records[2].line, 5u);
}

TEST(CsvReading, TheDelimiterIsTheOneThatSplitsRecordsAlike) {
    EXPECT_EQ(DetectDelimiter("a,b\nc,d\n"), ',');
    EXPECT_EQ(DetectDelimiter("Nails;0,05\nGlue;1,20\n"), ';');  // commas split these too
    EXPECT_EQ(DetectDelimiter("a\tb,c\nd\te\n"), '\t');
    EXPECT_EQ(DetectDelimiter("\"x;y\",1.5\n\"z;w\",2\n"), ',');
    EXPECT_EQ(DetectDelimiter("one column\n"), ',');
}

TEST(CsvReading, EncodingIsUtf8WhenValidAndWindows1252Otherwise) {
    EXPECT_EQ(DetectEncoding("Caf\xC3\xA9"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("Caf\xE9"), TextEncoding::Windows1252);
    EXPECT_EQ(DetectEncoding("\xED\xA0\x80"), TextEncoding::Windows1252);  // a surrogate
    EXPECT_EQ(DetectEncoding("\xC0\xAF"), TextEncoding::Windows1252);      // overlong
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "a",
                         TextEncoding::Utf8),
              "a");
    EXPECT_EQ(DecodeText("Caf\xE9 \x80", TextEncoding::Windows1252), "Caf\xC3\xA9 \xE2\x82\xAC");
    // UTF-8 chosen for a file that is not: the odd bytes are still read, never lost.
    EXPECT_EQ(DecodeText("\xC3\xA9 \xE9", TextEncoding::Utf8), "\xC3\xA9 \xC3\xA9");
    EXPECT_TRUE(LooksBinary(std::string("a\0b", 3)));
}

TEST(CsvWriting, QuotesOnlyWhereNeededAndReadsBackTheSame) {
    EXPECT_EQ(CsvLine({"plain", "1.5"}, ','), "plain,1.5\r\n");
    EXPECT_EQ(CsvLine({"a,b", "say \"x\"", " pad"}, ','), "\"a,b\",\"say \"\"x\"\"\",\" pad\"\r\n");
    EXPECT_EQ(CsvLine({"a,b", "c;d"}, ';'), "a,b;\"c;d\"\r\n");
    Fields awkward{"line\nbreak", "\"", "", "x;y,z"};
    for (char delimiter : {',', ';', '\t'})
        EXPECT_EQ(ReadCsv(CsvLine(awkward, delimiter), delimiter).at(0).fields, awkward);
}

}  // namespace
}  // namespace quantora
