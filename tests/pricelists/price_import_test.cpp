// Supplier files as they come: the table of real files under data/import, then what an import
// plans, writes and undoes in a list on disk.
#include "pricelists/price_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "pricelists/import_record.h"
#include "pricelists/item_file.h"
#include "pricelists/price_export.h"
#include "store/code_page.h"
#include "store/data_folder.h"
#include "store/settings.h"
#include "test_files.h"

namespace quantora {
namespace {

using testing::TempFolder;

ImportFile FileNamed(const std::string& name) {
    return ImportFile(testing::ReadBytes(std::string(QUANTORA_TEST_DATA) + "/import/" + name));
}

struct Expected {
    const char* file;
    TextEncoding encoding;
    char delimiter;
    bool header;
    std::size_t nameColumn, priceColumn;
    std::optional<DecimalMark> mark;
    std::size_t lines, refused;
};

TEST(ImportReader, ATableOfRealFilesIsReadAsTheirWritersMeantThem) {
    for (const Expected& e : {
             Expected{"semicolon_decimal_comma.csv", TextEncoding::Utf8, ';', true, 1, 2,
                      DecimalMark::Comma, 4, 0},
             Expected{"tab_points.txt", TextEncoding::Utf8, '\t', false, 0, 1, DecimalMark::Point,
                      3, 0},
             Expected{"windows_1252.csv", TextEncoding::Windows1252, ';', false, 0, 1,
                      DecimalMark::Comma, 3, 0},
             Expected{"quoted_bom.csv", TextEncoding::Utf8, ',', true, 0, 1, DecimalMark::Point, 3,
                      2},
             Expected{"blank_and_short.csv", TextEncoding::Utf8, ',', true, 0, 1,
                      DecimalMark::Point, 2, 4},
             Expected{"unclear_mark.csv", TextEncoding::Utf8, ';', true, 0, 1, std::nullopt, 0, 0},
         }) {
        SCOPED_TRACE(e.file);
        ImportFile file = FileNamed(e.file);
        ImportChoices choices = GuessChoices(file);
        EXPECT_EQ(choices.encoding, e.encoding);
        EXPECT_EQ(choices.delimiter, e.delimiter);
        EXPECT_EQ(choices.headerRow, e.header);
        EXPECT_EQ(choices.nameColumn, e.nameColumn);
        EXPECT_EQ(choices.priceColumn, e.priceColumn);
        EXPECT_EQ(choices.decimalMark, e.mark);
        ImportPlan plan = PlanImport(file, choices, ListContents{});
        EXPECT_EQ(plan.lines.size(), e.lines);
        EXPECT_EQ(plan.refused.size(), e.refused);
        EXPECT_EQ(plan.decimalMarkUnsettled, !e.mark);
    }
}

std::map<std::string, Amount> Planned(const ImportPlan& plan) {
    std::map<std::string, Amount> items;
    for (const ImportLine& line : plan.lines) items[line.name] = line.price;
    return items;
}

TEST(ImportReader, NamesAndPricesComeOutAsStored) {
    ImportFile continental = FileNamed("semicolon_decimal_comma.csv");
    auto items = Planned(PlanImport(continental, GuessChoices(continental), {}));
    EXPECT_EQ(items["D\xC3\xBC"
                    "bel 6mm"],
              Amount::FromRaw(12345600));
    EXPECT_EQ(items["Schraube 4x40"], Amount::FromRaw(1200));
    EXPECT_EQ(items["Winkel, verzinkt"], Amount::FromRaw(125000));
    EXPECT_EQ(items["Leim"], Amount::Whole(7));

    ImportFile old = FileNamed("windows_1252.csv");
    EXPECT_EQ(Planned(PlanImport(old, GuessChoices(old), {}))["Cr\xC3\xA8me de menthe"],
              Amount::FromRaw(125000));

    ImportFile quoted = FileNamed("quoted_bom.csv");
    ImportPlan plan = PlanImport(quoted, GuessChoices(quoted), {});
    items = Planned(plan);
    EXPECT_EQ(items["Hinge, \xC2\xBD\" brass"], Amount::FromRaw(12000));  // mended, quotes kept
    EXPECT_EQ(items["Cable \"heavy\""], Amount::FromRaw(25000));
    EXPECT_EQ(items["=SUM(A1)"], Amount::Whole(5));  // the guarded name; the bare one is earlier
    ASSERT_EQ(plan.refused.size(), 2u);
    EXPECT_EQ(plan.refused[0].line, 4u);  // the name with a line break
    EXPECT_EQ(plan.refused[0].reason, "The name holds a line break or another control character.");
    EXPECT_EQ(plan.refused[1].reason, "The same name as line 7, which is imported instead.");
}

TEST(ImportReader, EveryRefusedLineSaysWhyWithItsLine) {
    ImportFile file = FileNamed("blank_and_short.csv");
    ImportPlan plan = PlanImport(file, GuessChoices(file), {});
    std::vector<std::pair<std::size_t, std::string>> refused;
    for (const RefusedLine& line : plan.refused) refused.emplace_back(line.line, line.reason);
    EXPECT_EQ(refused, (std::vector<std::pair<std::size_t, std::string>>{
                           {4, "The line has no price."},
                           {5, "The name is empty."},
                           {6, "The price \"abc\" is not an amount."},
                           {8, "The price is larger than Quantora can hold."}}));
    std::string csv = RefusedLinesCsv(plan, ',');
    EXPECT_NE(csv.find("Name,Price,Reason\r\n"), std::string::npos);
    EXPECT_NE(csv.find("Glue,abc,\"Line 6: The price \"\"abc\"\" is not an amount.\"\r\n"),
              std::string::npos);
}

TEST(ImportReader, FilesThatHoldNoRowsPlanNothing) {
    ImportFile empty = FileNamed("empty.csv");
    EXPECT_TRUE(PlanImport(empty, GuessChoices(empty), {}).lines.empty());
    EXPECT_TRUE(FileNamed("binary.dat").IsBinary());
}

// A list on disk and a file made in the test.
class ImportIntoList : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string list = folder.path();

    ImportPlan Plan(const std::string& csv, ImportChoices* changed = nullptr) {
        ImportFile file(csv);
        ImportChoices choices = GuessChoices(file);
        if (changed) {
            choices.deleteMissing = changed->deleteMissing;
            choices.mend = changed->mend;
            choices.longNames = changed->longNames;
        }
        return PlanImport(file, choices, ReadListContents(list));
    }
    std::map<std::string, Amount> OnDisk() {
        std::map<std::string, Amount> items;
        for (const std::string& name : ListItemNames(list)) items[name] = ReadItemPrice(list, name);
        return items;
    }
};

TEST_F(ImportIntoList, CountsNewChangedAndUnchangedAgainstTheListIgnoringLetterCase) {
    WriteItemPrice(list, "Nails", Amount::Whole(1));
    WriteItemPrice(list, "Glue", Amount::Whole(2));
    WriteItemPrice(list, "Tape", Amount::Whole(3));
    ImportPlan plan = Plan("Name,Price\nNAILS,1\nglue,2.5\nScrews,4\n");
    EXPECT_EQ(plan.added, 1u);
    EXPECT_EQ(plan.changed, 1u);
    EXPECT_EQ(plan.unchanged, 1u);
    EXPECT_EQ(plan.lines[1].name, "Glue");  // stored under the list's letter case
    EXPECT_EQ(plan.lines[1].oldPrice, Amount::Whole(2));
    EXPECT_TRUE(plan.deleted.empty());

    ApplyImport(list, plan);
    EXPECT_EQ(OnDisk(), (std::map<std::string, Amount>{{"Glue", Amount::FromRaw(25000)},
                                                       {"Nails", Amount::Whole(1)},
                                                       {"Screws", Amount::Whole(4)},
                                                       {"Tape", Amount::Whole(3)}}));
    EXPECT_EQ(Plan("Name,Price\nNAILS,1\nglue,2.5\nScrews,4\n").unchanged, 3u);  // again: nothing
}

// On a memory-backed folder where there is one: these runs try the two cores, not the disk, and
// a disk without a journal makes each file made soon after many were deleted cost a search.
class BigImportIntoList : public ImportIntoList {
  protected:
    static std::filesystem::path Base() {
        std::error_code error;
        if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
        return std::filesystem::temp_directory_path();
    }
    TempFolder memory{Base()};
    void SetUp() override { list = memory.path(); }
};

// A supplier's big file is written on two cores: every item comes out as on one, the progress
// ends at the whole count, and a failure on either core stops the import with the record left
// to finish it.
TEST_F(BigImportIntoList, WritesEveryItemOnTwoCoresAndStopsWhole) {
    constexpr int kItems = 3000;
    for (int i = 1; i < kItems; i += 3)
        WriteItemPrice(list, "Board " + std::to_string(i), {}, false);
    WriteItemPrice(list, "Dropped", Amount::Whole(9), false);
    std::string csv = "Name,Price\n";
    for (int i = 0; i < kItems; ++i)
        csv += "Board " + std::to_string(i) + "," + std::to_string(i) + "\n";
    ImportChoices choices;
    choices.deleteMissing = true;
    ImportPlan plan = Plan(csv, &choices);
    std::map<std::string, Amount> expected;
    for (int i = 0; i < kItems; ++i) expected["Board " + std::to_string(i)] = Amount::Whole(i);

    std::size_t last = 0, calls = 0;
    ApplyImport(list, plan, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, static_cast<std::size_t>(kItems + 1));  // and one deleted
        EXPECT_GE(done, last);
        last = done;
        ++calls;
    });
    EXPECT_EQ(last, static_cast<std::size_t>(kItems + 1));
    EXPECT_GT(calls, 1u);
    EXPECT_EQ(OnDisk(), expected);
    UndoLastImport(list);

    // A folder where the last new item belongs: its file cannot be made, on the second core.
    std::filesystem::create_directory(list + "Board 2999");
    EXPECT_THROW(ApplyImport(list, Plan(csv, &choices)), DataFileError);
    std::filesystem::remove(list + "Board 2999");
    EXPECT_EQ(FinishInterruptedImport(list), ImportLeftOver::Finished);
    EXPECT_EQ(OnDisk(), expected);
    UndoLastImport(list);

    // Stopped from the first core's progress, the second stops too, and the record finishes it.
    struct Stopped {};
    EXPECT_THROW(ApplyImport(list, Plan(csv, &choices),
                             [](std::size_t done, std::size_t) {
                                 if (done > 100) throw Stopped();
                             }),
                 Stopped);
    EXPECT_NE(OnDisk(), expected);
    EXPECT_EQ(FinishInterruptedImport(list), ImportLeftOver::Finished);
    EXPECT_EQ(OnDisk(), expected);
}

TEST_F(ImportIntoList, DeletingMissingItemsDeletesOnlyThose) {
    for (const char* name : {"Keep", "Gone", "Also gone"})
        WriteItemPrice(list, name, Amount::Whole(1));
    ImportChoices choices;
    choices.deleteMissing = true;
    ImportPlan plan = Plan("Name,Price\nkeep,1\nNew,2\nPipe 1/2in,3\n", &choices);
    ASSERT_EQ(plan.deleted.size(), 2u);
    EXPECT_EQ(MendedAndDeleted(plan),
              (std::vector<std::string>{"Line 4: \"Pipe 1/2in\" is stored as \"Pipe \xC2\xBD"
                                        "in\".",
                                        "\"Also gone\" is deleted.", "\"Gone\" is deleted."}));
    ApplyImport(list, plan);
    EXPECT_EQ(OnDisk(), (std::map<std::string, Amount>{{"Keep", Amount::Whole(1)},
                                                       {"New", Amount::Whole(2)},
                                                       {"Pipe \xC2\xBD"
                                                        "in",
                                                        Amount::Whole(3)}}));
}

TEST_F(ImportIntoList, TheSameNameTwiceKeepsTheLaterLineAndListsTheEarlier) {
    ImportPlan plan = Plan("Name,Price\nNails,1\nGlue,2\nnails,3\nCable 2:1,4\nCable 2-1,5\n");
    EXPECT_EQ(Planned(plan), (std::map<std::string, Amount>{{"Cable 2-1", Amount::Whole(5)},
                                                            {"Glue", Amount::Whole(2)},
                                                            {"nails", Amount::Whole(3)}}));
    ASSERT_EQ(plan.refused.size(), 2u);
    EXPECT_EQ(plan.refused[0].line, 2u);
    EXPECT_EQ(plan.refused[0].reason, "The same name as line 4, which is imported instead.");
    EXPECT_EQ(plan.refused[1].line, 5u);
    EXPECT_EQ(plan.refused[1].reason,
              "Mended to \"Cable 2-1\", the same name as line 6's \"Cable 2-1\"; line 6 is "
              "imported instead.");
}

TEST_F(ImportIntoList, NamesTheListCannotHoldAreRefusedOrMendedAsChosen) {
    std::string csv =
        "Name,Price\nPipe 3/4in,1\n" + std::string(75, 'x') + ",2\nSnow \xE2\x98\x83,3\n";
    ImportChoices choices;
    choices.mend = false;
    ImportPlan plan = Plan(csv, &choices);
    ASSERT_EQ(plan.refused.size(), 3u);
    EXPECT_EQ(plan.needMending, 1u);
    EXPECT_EQ(plan.refused[0].reason,
              "The name holds / \\ < > ? * : or |, which no item name may hold.");
    EXPECT_EQ(plan.refused[1].reason, "The name is longer than 70 characters.");
    EXPECT_EQ(plan.refused[2].reason,
              "The name holds \"\xE2\x98\x83\", which the price list cannot store.");

    choices.mend = true;
    choices.longNames = LongNames::Cut;
    plan = Plan(csv, &choices);
    EXPECT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(Planned(plan).count(std::string(70, 'x')), 1u);
    EXPECT_EQ(Planned(plan).count("Pipe \xC2\xBE"
                                  "in"),
              1u);
}

TEST_F(ImportIntoList, AMendedItemIsFoundAgainByItsSuppliersNameNextMonth) {
    ApplyImport(list, Plan("Name,Price\nPipe 3/4in,1\nCable 2:1,2\n"));
    // The user renames nothing, but the rule's output for the name would now differ: the
    // kept supplier's name still leads to the same item.
    std::string record = testing::ReadBytes(list + kSupplierNamesRecord);
    EXPECT_NE(record.find("Pipe 3/4in\tPipe \xC2\xBE"
                          "in"),
              std::string::npos);
    ImportFile file(std::string("Name,Price\nPipe 3/4in,1.5\nCable 2:1,2\n"));
    ImportChoices choices = GuessChoices(file);
    choices.rule.fractions = false;
    ImportPlan plan = PlanImport(file, choices, ReadListContents(list));
    EXPECT_EQ(plan.added, 0u);
    EXPECT_EQ(plan.changed, 1u);
    EXPECT_EQ(plan.lines[0].name,
              "Pipe \xC2\xBE"
              "in");
    // A supplier's name mended into an item the user typed is pointed out.
    WriteItemPrice(list, "Bolt 1-2", Amount::Whole(1));
    plan = Plan("Name,Price\nBolt 1:2,1\n");
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_EQ(plan.unchanged, 1u);
    // The export can give the supplier's names back.
    const std::string pipe =
        "Pipe \xC2\xBE"
        "in";
    auto names = SupplierNamesByItem(list);
    EXPECT_EQ(ItemsCsv({{pipe, Amount::Whole(1)}, {"Bolt 1-2", Amount::Whole(2)}},
                       CsvForm::CommaPoint, &names),
              "\xEF\xBB\xBFName,Price,Supplier name\r\n" + pipe +
                  ",1.00,Pipe 3/4in\r\nBolt 1-2,2.00,\r\n");
}

TEST_F(ImportIntoList, UndoPutsBackPricesRestoresDeletedAndRemovesAdded) {
    WriteItemPrice(list, "Nails", Amount::Whole(1));
    WriteItemPrice(list, "Old", Amount::Whole(9));
    auto before = OnDisk();
    EXPECT_FALSE(CanUndoLastImport(list));
    ImportChoices choices;
    choices.deleteMissing = true;
    ApplyImport(list, Plan("Name,Price\nNails,2\nNew,3\n", &choices));
    EXPECT_TRUE(CanUndoLastImport(list));
    EXPECT_EQ(ListItemNames(list).size(), 2u);  // the records are no items
    UndoLastImport(list);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_FALSE(CanUndoLastImport(list));
    // An import that changes nothing leaves the last one to undo.
    ApplyImport(list, Plan("Name,Price\nNails,5\n"));
    ApplyImport(list, Plan("Name,Price\nNails,5\n"));
    UndoLastImport(list);
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(ImportIntoList, AnImportCutShortIsFinishedByTheSameImportAndUndoneWhole) {
    WriteItemPrice(list, "A", Amount::Whole(1));
    WriteItemPrice(list, "B", Amount::Whole(1));
    auto before = OnDisk();
    std::string csv = "Name,Price\nA,2\nB,2\nC,2\n";
    // Cut short after the first item: its record says so, and the list holds A new, B old.
    ImportPlan plan = Plan(csv);
    struct Cut {};
    try {
        ApplyImport(list, plan, [](std::size_t done, std::size_t) {
            if (done == 1) throw Cut{};
        });
    } catch (const Cut&) {
    }
    EXPECT_EQ(ReadItemPrice(list, "A"), Amount::Whole(2));
    EXPECT_EQ(ReadItemPrice(list, "B"), Amount::Whole(1));
    ImportPlan again = Plan(csv);
    EXPECT_EQ(again.unchanged, 1u);
    ApplyImport(list, again);
    EXPECT_EQ(Plan(csv).unchanged, 3u);
    UndoLastImport(list);
    EXPECT_EQ(OnDisk(), before);
}

// The record of an import cut short finishes it alone, at the next opening of the list. Two
// tries cut short are finished as one: what either writes, the later one winning; an item the
// first deleted and the second names again comes back, one it changed and the second deletes
// goes. Undoing puts back the list as it was before both.
TEST_F(ImportIntoList, TheRecordOfAnImportCutShortFinishesItWithoutTheFile) {
    WriteItemPrice(list, "A", Amount::Whole(1));
    WriteItemPrice(list, "B", Amount::Whole(1));
    WriteItemPrice(list, "Gone", Amount::Whole(4));
    auto before = OnDisk();
    struct Cut {};
    auto cutAfter = [](std::size_t count) {
        return [count](std::size_t done, std::size_t) {
            if (done == count) throw Cut{};
        };
    };
    ImportChoices deleting;
    deleting.deleteMissing = true;
    try {
        ApplyImport(list, Plan("Name,Price\nA,2\nB,2\nNew,3\n", &deleting), cutAfter(1));
    } catch (const Cut&) {
    }
    // A second try with another file, cut short too: its record holds both.
    try {
        ApplyImport(list, Plan("Name,Price\nB,5\nGone,6\n", &deleting), cutAfter(1));
    } catch (const Cut&) {
    }
    EXPECT_EQ(FinishInterruptedImport(list), ImportLeftOver::Finished);
    std::map<std::string, Amount> finished = {
        {"B", Amount::Whole(5)}, {"Gone", Amount::Whole(6)}, {"New", Amount::Whole(3)}};
    EXPECT_EQ(OnDisk(), finished);
    EXPECT_EQ(FinishInterruptedImport(list), ImportLeftOver::None);  // whole now
    UndoLastImport(list);
    EXPECT_EQ(OnDisk(), before);
}

TEST(ImportRecord, EveryEntryKeepsItsPricesAndADamagedOneNamesNoFileOutsideTheList) {
    ImportRecord record{{{'A', "Bolt", {}, Amount::FromRaw(25'000)},
                         {'C', "Nut\tM4", Amount::FromRaw(10'000), Amount::FromRaw(20'000)},
                         {'D', "Washer", Amount::FromRaw(5'000), std::nullopt},
                         {'A', "Gone again", {}, std::nullopt}},
                        true,
                        true,
                        false};
    std::string bytes = EncodeImportRecord(record);
    EXPECT_EQ(bytes,
              "finishable\nA\t25000\tBolt\nC\t10000\t20000\tNut\\tM4\nD\t5000\tWasher\n"
              "A\tGone again\ndone\n");
    EXPECT_EQ(ParseImportRecord(bytes), record);
    // An earlier version's record: no new prices, and it says so by lacking the first line.
    ImportRecord earlier = ParseImportRecord("C\t10000\tNut\nA\tBolt\n");
    EXPECT_FALSE(earlier.finishable);
    EXPECT_EQ(earlier.entries.size(), 2u);
    // Lines that cannot be read, and names that are no file of the list, are left out.
    ImportRecord damaged = ParseImportRecord(
        "finishable\nC\tten\t20000\tNut\nA\t5\t../../Groups.dat\nX\t1\tBolt\nD\t5\tWasher\n");
    ASSERT_EQ(damaged.entries.size(), 1u);
    EXPECT_EQ(damaged.entries[0].name, "Washer");
}

TEST_F(ImportIntoList, AnEarlierVersionsRecordIsUndoneNotFinished) {
    WriteItemPrice(list, "A", Amount::Whole(2));
    WriteItemPrice(list, "New", Amount::Whole(3));
    testing::WriteBytes(list + kLastImportRecord, "C\t10000\tA\nA\tNew\n");
    EXPECT_EQ(FinishInterruptedImport(list), ImportLeftOver::None);
    EXPECT_EQ(ReadItemPrice(list, "New"), Amount::Whole(3));
    UndoLastImport(list);
    std::map<std::string, Amount> before = {{"A", Amount::Whole(1)}};
    EXPECT_EQ(OnDisk(), before);
}

TEST(ImportsAtStart, EveryListsStoppedImportIsFinishedAndOneThatCannotBeWrittenWaits) {
    TempFolder home;
    Settings settings = ReadSettings(home.path());
    DataPaths paths = SetUpDataFolder(home.path(), settings).paths;
    testing::WriteBytes(paths.PriceListIndex(),
                        testing::Slot("Timber") + testing::Slot("Locked") + testing::Slot("Steel"));
    std::string pending = "finishable\nA\t20000\tBeam\n";
    for (int list : {0, 1, 2}) {
        EnsureFolder(paths.ListFolder(list));
        testing::WriteBytes(paths.ListFolder(list) + kLastImportRecord, pending);
    }
    ::chmod(paths.ListFolder(1).c_str(), 0555);
    {
        testing::PermissionsEnforced asAnyUser;
        FinishInterruptedImports(paths);
    }
    ::chmod(paths.ListFolder(1).c_str(), 0755);
    for (int list : {0, 2})
        EXPECT_EQ(ReadItemPrice(paths.ListFolder(list), "Beam"), Amount::Whole(2));
    EXPECT_FALSE(testing::Exists(paths.ListFolder(1) + "Beam"));
    EXPECT_EQ(testing::ReadBytes(paths.ListFolder(1) + kLastImportRecord), pending);
}

TEST_F(ImportIntoList, AnUndoingCutShortIsFinishedAtTheNextOpening) {
    WriteItemPrice(list, "A", Amount::Whole(1));
    auto before = OnDisk();
    ApplyImport(list, Plan("Name,Price\nA,2\nB,2\nC,2\n"));
    struct Cut {};
    try {
        UndoLastImport(list, [](std::size_t done, std::size_t) {
            if (done == 2) throw Cut{};
        });
    } catch (const Cut&) {
    }
    EXPECT_NE(OnDisk(), before);
    EXPECT_EQ(FinishInterruptedImport(list), ImportLeftOver::Undone);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_FALSE(CanUndoLastImport(list));
}

TEST_F(ImportIntoList, AnExportedListImportsBackUnchangedAndIntoAnEmptyListByteForByte) {
    std::vector<std::string> names{"Nails",       "=Formula",    "-5 offset",
                                   "'=Quoted",    "Comma, name", "Quote \" mark",
                                   "Caf\xC3\xA9", "@home",       "+plus"};
    std::vector<ExportItem> items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        Amount price = Amount::FromRaw(static_cast<std::int64_t>(i) * 12345 - 3);
        WriteItemPrice(list, names[i], price);
        items.push_back({names[i], price});
    }
    for (CsvForm form : {CsvForm::CommaPoint, CsvForm::SemicolonComma}) {
        std::string csv = ItemsCsv(items, form);
        EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBFName"));
        ImportPlan plan = Plan(csv);
        EXPECT_EQ(plan.added + plan.changed, 0u);
        EXPECT_EQ(plan.unchanged, names.size());
        EXPECT_TRUE(plan.refused.empty());

        TempFolder empty;
        ImportFile file(csv);
        ApplyImport(empty.path(), PlanImport(file, GuessChoices(file), {}));
        for (const std::string& name : names)
            EXPECT_EQ(testing::ReadBytes(empty / name), testing::ReadBytes(list + name)) << name;
        EXPECT_EQ(ListItemNames(empty.path()).size(), names.size());
    }
}

}  // namespace
}  // namespace quantora
