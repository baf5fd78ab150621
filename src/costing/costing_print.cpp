#include "costing/costing_print.h"

#include "pricelists/item_filter.h"
#include "store/amount.h"

namespace quantora {

namespace {

constexpr int kLeftMargin = kCostingSideMargin;
constexpr int kGap = 200;
constexpr int kRightMargin = kCostingSideMargin;
constexpr int kBottomMargin = kCostingBottomMargin;

// The item name cut to the item column, ending in ".." when cut, then led by dots to the
// column's end.
std::string FittedItem(const std::string& item, int itemWidth, const PrintDocument& document) {
    return WithDotLeader(CutToWidth(TrimBlanks(item), itemWidth, document), itemWidth, document);
}

}  // namespace

std::vector<PrintRun> LayOutCosting(const std::vector<JobLine>& lines, const std::string& title,
                                    const std::string& totalText, const Settings& settings,
                                    PrintPage page, const PrintMeasure& measure) {
    PrintDocument document(measure, settings.PrintTopMargin * 720);
    int rightEdge = page.width - kRightMargin;
    int totalWidth = document.Width(totalText);
    // The quantity column is as wide as the quantity with the most characters (the first one).
    std::string longestQuantity;
    for (const JobLine& line : lines) {
        std::string text = QuantityText(line.Quant);
        if (text.size() > longestQuantity.size()) longestQuantity = text;
    }
    int quantityRight = kLeftMargin + document.Width(longestQuantity);
    int itemLeft = quantityRight + kGap;
    int priceRight = rightEdge - totalWidth - kGap;
    int itemWidth = priceRight - totalWidth - kGap - itemLeft;
    int bottomLimit = page.height - kBottomMargin;

    if (settings.PrintTitle == 1)
        document.Print((page.width - document.Width(title, true)) / 2, title, true);
    for (const JobLine& line : lines) {
        int y = document.Y();
        std::string quantity = QuantityText(line.Quant);
        document.Print(quantityRight - document.Width(quantity), quantity);
        document.SetY(y);
        document.Print(itemLeft, FittedItem(line.Item, itemWidth, document));
        document.SetY(y);
        std::string price = AmountText(line.Price);
        document.Print(priceRight - document.Width(price), price);
        document.SetY(y);
        std::string subTotal = MoneyText(line.SubTot);
        document.Print(rightEdge - document.Width(subTotal), subTotal);
        if (document.Y() > bottomLimit) document.NewPage();
    }
    document.Print(rightEdge - document.Width(totalText, true), totalText, true);
    return document.TakeRuns();
}

}  // namespace quantora
