#include "store/settings.h"

#include <gtest/gtest.h>

#include "store/own_settings.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

const std::string kDefaults("2.02\0\0\0\0\1\0\1\0\1\0\1\0\x0A\0\1\0\2\0\1\0", 24);

TEST(Settings, DefaultRecordByteForByte) {
    EXPECT_EQ(EncodeSettings(Settings{}), kDefaults);
    Settings s;
    s.CurrentList = 300;
    s.CurrentGroup = -2;
    s.PrintOrientation = 2;
    EXPECT_EQ(EncodeSettings(s),
              std::string("2.02\x2C\x01\xFE\xFF\1\0\1\0\1\0\1\0\x0A\0\1\0\2\0\2\0", 24));
    EXPECT_EQ(DecodeSettings(EncodeSettings(s)), s);
}

TEST(Settings, AMissingFileIsCreatedWithTheDefaults) {
    TempFolder dir;
    EXPECT_EQ(ReadSettings(dir.path()), Settings{});
    EXPECT_EQ(ReadBytes(dir / "Kiru.ini"), kDefaults);
}

TEST(Settings, AnotherVersionOrAShortRecordIsReplacedSilently) {
    for (const std::string& content : {std::string("2.01") + kDefaults.substr(4),
                                       kDefaults.substr(0, 23), std::string("garbage")}) {
        TempFolder dir;
        WriteBytes(dir / "Kiru.ini", content);
        EXPECT_EQ(ReadSettings(dir.path()), Settings{});
        EXPECT_EQ(ReadBytes(dir / "Kiru.ini"), kDefaults);
    }
}

TEST(Settings, OutOfRangeFieldsAreRepairedInMemoryOnly) {
    TempFolder dir;
    Settings odd;
    odd.PrintFontSize = 9;
    odd.PrintTopMargin = 0;
    odd.CurrentList = -1;
    odd.CurrentGroup = -2;
    odd.EditHelp = 2;
    odd.PrintOrientation = 3;
    odd.PrintTitle = -1;
    std::string onDisk = EncodeSettings(odd);
    WriteBytes(dir / "Kiru.ini", onDisk);

    Settings read = ReadSettings(dir.path());
    EXPECT_EQ(read.PrintFontSize, 10);
    EXPECT_EQ(read.PrintTopMargin, 2);
    EXPECT_EQ(read.CurrentList, 0);
    EXPECT_EQ(read.CurrentGroup, 0);
    EXPECT_EQ(read.EditHelp, 1);
    EXPECT_EQ(read.PrintOrientation, 1);
    EXPECT_EQ(read.PrintTitle, 1);
    EXPECT_EQ(ReadBytes(dir / "Kiru.ini"), onDisk);  // repaired on the next write only

    WriteSettings(dir.path(), read);
    EXPECT_EQ(ReadBytes(dir / "Kiru.ini"), kDefaults);
}

// The program's own settings file, beside Kiru.ini and never in it.
TEST(OwnSettings, KeptAcrossRunsWithWhatANewerVersionWroteLeftAsItWas) {
    TempFolder config;
    std::string file = config / "quantora/quantora.conf";
    EXPECT_EQ(ReadOwnSettings(file), OwnSettings{});  // no file yet: the defaults
    WriteBytes(config / "newer.conf",
               "quote-markup=35\r\nquote-shows-unit-prices=0\r\n"
               "# a note\nlabel-printer=Zebra\n");
    OwnSettings read = ReadOwnSettings(config / "newer.conf");
    EXPECT_EQ(read.quoteMarkup, 35);
    EXPECT_FALSE(read.quoteShowsUnitPrices);
    EXPECT_EQ(read.otherLines, std::vector<std::string>{"label-printer=Zebra"});
    // Its folder is made on the first write.
    read.quoteMarkup = 999;
    ASSERT_TRUE(WriteOwnSettings(file, read));
    EXPECT_EQ(ReadOwnSettings(file), read);
    EXPECT_NE(ReadBytes(file).find("label-printer=Zebra\n"), std::string::npos);
}

TEST(OwnSettings, AValueOutOfRangeFallsBackAloneAndAFileThatCannotBeWrittenIsSaid) {
    TempFolder config;
    WriteBytes(config / "bad.conf",
               "quote-markup=1000\nquote-shows-unit-prices=0\n\xff\xfe garbage\n");
    OwnSettings read = ReadOwnSettings(config / "bad.conf");
    EXPECT_EQ(read.quoteMarkup, 0);
    EXPECT_FALSE(read.quoteShowsUnitPrices);
    for (const char* markup : {"-1", "12.5", "20%", "", "99999999999"}) {
        WriteBytes(config / "bad.conf", std::string("quote-markup=") + markup + "\n");
        EXPECT_EQ(ReadOwnSettings(config / "bad.conf").quoteMarkup, 0) << markup;
    }
    EXPECT_EQ(ReadOwnSettings(config.path()).quoteMarkup, 0);  // a folder, not a file
    WriteBytes(config / "plain", "a file where a folder should be");
    EXPECT_FALSE(WriteOwnSettings(config / "plain/quantora.conf", OwnSettings{}));
    EXPECT_FALSE(WriteOwnSettings("", OwnSettings{}));
}

// Every file dialog opens where the user last chose a file, while that folder is there.
TEST(OwnSettings, FileDialogsOpenInTheFolderLastUsed) {
    TempFolder config, documents;
    std::string file = config / "quantora.conf";
    EXPECT_EQ(FileDialogFolder(ReadOwnSettings(file), "/home/ann"), "/home/ann");
    OwnSettings first;
    first.quoteMarkup = 35;
    first.otherLines = {"label-printer=Zebra"};
    WriteOwnSettings(file, first);
    RememberFileFolder(file, documents / "Quote Shed.pdf");
    OwnSettings read = ReadOwnSettings(file);
    EXPECT_EQ(FileDialogFolder(read, "/home/ann") + "/", documents.path());
    EXPECT_EQ(read.quoteMarkup, 35);  // the rest as it was
    EXPECT_EQ(read.otherLines, std::vector<std::string>{"label-printer=Zebra"});
    EXPECT_TRUE(read.priceChangeNote);
    std::filesystem::remove_all(documents.path());
    EXPECT_EQ(FileDialogFolder(ReadOwnSettings(file), "/home/ann"), "/home/ann");
    // A name that would break the file's lines is not kept.
    RememberFileFolder(file, "/tmp/two\nlines/x.csv");
    EXPECT_EQ(ReadOwnSettings(file).quoteMarkup, 35);
    EXPECT_EQ(FileDialogFolder(ReadOwnSettings(file), "/home/ann"), "/home/ann");
}

}  // namespace
}  // namespace quantora
