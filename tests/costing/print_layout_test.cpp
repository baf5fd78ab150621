// The two print-outs laid out with a measure of fixed widths, so every position can be worked
// out by hand: the costing and the price list, their columns, cut names, dot leaders, titles
// and pages.
#include <gtest/gtest.h>

#include <random>

#include "costing/costing_print.h"
#include "pricelists/item_file.h"
#include "pricelists/price_list_print.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

// 100 twips a character (120 in bold), but "i" and "." narrower and "W" wider, so a text's
// width is not simply its length; lines 240 twips apart.
int Width(const std::string& text, bool bold) {
    int width = 0;
    for (char c : text) width += c == 'i' || c == '.' ? 40 : c == 'W' ? 170 : 100;
    return bold ? width * 6 / 5 : width;
}
const PrintMeasure kMeasure{Width, 240};
constexpr PrintPage kPortrait{11906, 16838};  // A4 in twips

Settings Options(int title = 1, int topMargin = 2) {
    Settings settings;
    settings.PrintTitle = static_cast<std::int16_t>(title);
    settings.PrintTopMargin = static_cast<std::int16_t>(topMargin);
    return settings;
}

JobLine Line(const char* quantity, const std::string& item, const char* price) {
    Amount q = ParseAmount(quantity), p = ParseAmount(price);
    return {0, 0, q, item, p, SubTotal(q, p)};
}

std::vector<PrintRun> OnLine(const std::vector<PrintRun>& runs, int page, int y) {
    std::vector<PrintRun> line;
    for (const PrintRun& run : runs)
        if (run.page == page && run.y == y) line.push_back(run);
    return line;
}

// The fitting as a printer's loop would do it, a character and a dot at a time.
std::string SlowCostingItem(std::string name, int itemWidth) {
    if (Width(name, false) > itemWidth) {
        while (!name.empty() && Width(name + "..", false) > itemWidth) name.pop_back();
        name += "..";
    }
    do name += ".";
    while (Width(name, false) < itemWidth);
    return name;
}

TEST(CostingPrintOut, ColumnsTitleAndTotal) {
    std::vector<JobLine> lines = {Line("12.5", "Bolt", "2.5"), Line("3", "Nut", "0.1")};
    std::vector<PrintRun> runs =
        LayOutCosting(lines, "Shed", "33.55", Options(), kPortrait, kMeasure);
    // The title, centred and bold, at the top margin.
    ASSERT_EQ(runs.front(), (PrintRun{0, (11906 - 480) / 2, 1440, "Shed", true}));
    // The quantity column is as wide as "12.5": both quantities end at its right edge.
    std::vector<PrintRun> first = OnLine(runs, 0, 1440 + 240), second = OnLine(runs, 0, 1440 + 480);
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 4u);
    int quantityRight = 1000 + Width("12.5", false);
    EXPECT_EQ(first[0].x + Width(first[0].text, false), quantityRight);
    EXPECT_EQ(second[0], (PrintRun{0, quantityRight - 100, 1440 + 480, "3", false}));
    // Item, price and sub total on the same line, the sub total against the right edge.
    int rightEdge = 11906 - 1000, totalWidth = Width("33.55", false);
    int itemLeft = quantityRight + 200, priceRight = rightEdge - totalWidth - 200;
    int itemWidth = priceRight - totalWidth - 200 - itemLeft;
    EXPECT_EQ(first[1].x, itemLeft);
    EXPECT_EQ(first[1].text, SlowCostingItem("Bolt", itemWidth));
    EXPECT_EQ(first[2].x + Width(first[2].text, false), priceRight);
    EXPECT_EQ(first[3].x + Width(first[3].text, false), rightEdge);
    // The total, bold, on the line after the last.
    EXPECT_EQ(runs.back(),
              (PrintRun{0, rightEdge - Width("33.55", true), 1440 + 720, "33.55", true}));
}

TEST(CostingPrintOut, LongNamesAreCutAndEveryNameIsLedByDots) {
    std::mt19937 random(7);
    std::string letters = "abcdefghiWW .";
    std::vector<JobLine> lines;
    for (int i = 0; i < 300; ++i) {
        std::string name;
        for (int n = random() % 120; n > 0; --n) name += letters[random() % letters.size()];
        lines.push_back(Line("1", name, "1"));
    }
    std::vector<PrintRun> runs =
        LayOutCosting(lines, "", "300.00", Options(0), kPortrait, kMeasure);
    int itemLeft = 1000 + 100 + 200;
    int totalWidth = Width("300.00", false);
    int itemWidth = (11906 - 1000 - totalWidth - 200) - totalWidth - 200 - itemLeft;
    bool sawCut = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PrintRun& item = runs[i * 4 + 1];
        std::string trimmed = lines[i].Item;
        trimmed.erase(0, trimmed.find_first_not_of(' '));
        trimmed.erase(trimmed.find_last_not_of(' ') + 1);
        ASSERT_EQ(item.text, SlowCostingItem(trimmed, itemWidth)) << "line " << i;
        sawCut = sawCut || !item.text.starts_with(trimmed);
    }
    EXPECT_TRUE(sawCut);
}

TEST(CostingPrintOut, ALongJobGoesOnAtTheTopOfANewPageWithoutTheTitle) {
    std::vector<JobLine> lines(100, Line("1", "Plank", "4"));
    std::vector<PrintRun> runs =
        LayOutCosting(lines, "Deck", "400.00", Options(1, 1), kPortrait, kMeasure);
    // Lines from 720 + 240 on; a new page once the position passes 16838 - 1200.
    int perFirstPage = 0;
    for (int y = 720 + 240; y + 240 <= 16838 - 1200; y += 240) ++perFirstPage;
    ++perFirstPage;  // the line that passes the limit is still printed on the page
    EXPECT_EQ(OnLine(runs, 1, 720).size(), 4u);
    EXPECT_EQ(runs[1 + perFirstPage * 4].page, 1);
    EXPECT_EQ(runs[1 + (perFirstPage - 1) * 4].page, 0);
    for (const PrintRun& run : runs) EXPECT_FALSE(run.page > 0 && run.text == "Deck");
    // An empty job prints its title and its total.
    EXPECT_EQ(LayOutCosting({}, "Empty", "0.00", Options(), kPortrait, kMeasure).size(), 2u);
}

// A model over a fresh list folder holding items; folder() names it.
class ListFolder {
  public:
    PriceListModel Load(const std::vector<std::pair<std::string, const char*>>& items,
                        ItemFilter filter = {}) {
        for (const auto& [name, price] : items)
            WriteItemPrice(folder.path(), name, ParseAmount(price));
        PriceListModel model;
        model.LoadNames(folder.path(), filter);
        model.ReadAllPrices();
        return model;
    }
    TempFolder folder;
};

PriceListModel Items(const std::vector<std::pair<std::string, const char*>>& items,
                     ItemFilter filter = {}) {
    return ListFolder().Load(items, filter);
}

TEST(PriceListPrintOut, TitleLeadersAndPricesEndingTogether) {
    std::vector<PrintRun> runs = LayOutPriceList(Items({{"Nails", "0.5"}, {"Hammer", "1234.5"}}),
                                                 "Tools", Options(), kPortrait, kMeasure);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0], (PrintRun{0, (11906 - Width("Tools", false)) / 2, 1440, "Tools", true}));
    // After an empty line, Hammer then Nails, each name with its price on one line.
    EXPECT_EQ(runs[1].y, 1440 + 480);
    EXPECT_EQ(runs[1].text.substr(0, 7), "Hammer.");
    EXPECT_EQ(runs[2].text, "1,234.50");
    EXPECT_EQ(runs[3].text.substr(0, 6), "Nails.");
    EXPECT_EQ(runs[4].text, "0.50");
    EXPECT_EQ(runs[3].y, runs[4].y);
    int priceRight = 11906 - 1440;
    EXPECT_EQ(runs[2].x + Width("1,234.50", false), priceRight);
    EXPECT_EQ(runs[4].x + Width("0.50", false), priceRight);
    // Both leaders reach the name limit, 200 twips before where the widest price begins, by
    // less than a dot.
    int limit = runs[2].x - 200 - 1440;
    for (const PrintRun& name : {runs[1], runs[3]}) {
        EXPECT_GE(Width(name.text, false), limit);
        EXPECT_LT(Width(name.text, false), limit + Width(".", false));
    }
}

TEST(PriceListPrintOut, CutNamesDeletedPricesFiltersAndMargins) {
    std::string longName(69, 'W');
    ListFolder list;
    PriceListModel model = list.Load({{longName, "1"}, {"Dear", "123456.78"}, {"Wren", "2"}});
    model.Delete(list.folder.path(), "Dear");
    std::vector<PrintRun> runs = LayOutPriceList(model, "", Options(0, 6), kPortrait, kMeasure);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].y, 6 * 720);
    ASSERT_EQ(runs[0].text.substr(0, 5), "Wren.");  // "Wren" sorts before "WWW..."
    const PrintRun& cut = runs[2];
    ASSERT_TRUE(cut.text.starts_with("WW") && cut.text.ends_with("W.."));
    // The deleted item's price still sets the column: the name stops short of where it begins.
    int limit = 11906 - 1440 - Width("123,456.78", false) - 200 - 1440;
    EXPECT_LT(Width(cut.text, false), limit);
    EXPECT_GE(Width(cut.text + "W", false), limit);

    // Only the items the filter shows are printed; none shown prints nothing at all.
    ItemFilter ending{FilterMode::EndingWith, "ren"};
    EXPECT_EQ(LayOutPriceList(Items({{"Wren", "2"}, {"Nail", "1"}}, ending), "", Options(0),
                              kPortrait, kMeasure)
                  .size(),
              2u);
    EXPECT_TRUE(LayOutPriceList(Items({}), "Empty", Options(), kPortrait, kMeasure).empty());
}

}  // namespace
}  // namespace quantora
