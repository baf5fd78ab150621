#include "pricelists/price_list_print.h"

namespace quantora {

namespace {

constexpr int kMargin = 1440;
constexpr int kGap = 200;
constexpr int kBottomMargin = 1200;

// A name fitted to the name limit: cut short and ending in ".." when it reaches the limit
// (nothing at all when even one character is too wide), otherwise led by dots up to it.
std::string FittedName(const std::string& name, int limit, const PrintDocument& document) {
    if (document.Width(name) < limit) return WithDotLeader(name, limit, document);
    int room = limit - document.Width("..");
    std::string start = LongestFittingStart(
        name, [&](const std::string& text) { return document.Width(text) < room; });
    return start.empty() ? start : start + "..";
}

}  // namespace

std::vector<PrintRun> LayOutPriceList(const PriceListModel& model, const std::string& title,
                                      const Settings& settings, PrintPage page,
                                      const PrintMeasure& measure) {
    PrintDocument document(measure, settings.PrintTopMargin * 720);
    if (model.LastIndex() < 0) return {};
    std::string widest;
    for (Amount price : model.ItemPrices()) {
        std::string text = AmountText(price);
        if (text.size() > widest.size()) widest = text;
    }
    int priceRight = page.width - kMargin;
    int nameLimit = priceRight - document.Width(widest) - kGap - kMargin;
    int bottomLimit = page.height - kBottomMargin;

    if (settings.PrintTitle == 1) {
        document.Print((page.width - document.Width(title)) / 2, title, true);
        document.SkipLine();
    }
    for (std::int32_t position = 0; position <= model.LastIndex(); ++position) {
        int y = document.Y();
        document.Print(
            kMargin, FittedName(std::string(model.ItemList()[position].name), nameLimit, document));
        document.SetY(y);
        std::string price = AmountText(model.PriceAt(position));
        document.Print(priceRight - document.Width(price), price);
        if (document.Y() > bottomLimit) document.NewPage();
    }
    return document.TakeRuns();
}

}  // namespace quantora
