#include "costing/price_changes_print.h"

#include <algorithm>
#include <array>

#include "costing/costing_print.h"

namespace quantora {

namespace {

constexpr int kGap = 300;

std::string Signed(Amount change) {
    std::string text = AmountText(change);
    return change.raw > 0 ? "+" + text : text;
}

}  // namespace

std::vector<PrintRun> LayOutPriceChanges(const PriceChangesPrint& changes, const Settings& settings,
                                         PrintPage page, const PrintMeasure& measure) {
    PrintDocument document(measure, settings.PrintTopMargin * 720);
    const int left = kCostingSideMargin, right = page.width - kCostingSideMargin;
    const int bottomLimit = page.height - kCostingBottomMargin;

    // The four figures stand in columns ending together, each as wide as its widest text.
    const std::array<const char*, 4> heads = {"Quantity", "Old price", "New price",
                                              "Sub total change"};
    std::array<int, 4> widths{};
    for (std::size_t c = 0; c < heads.size(); ++c) widths[c] = document.Width(heads[c], true);
    auto figures = [](const ChangedLine& line) {
        return std::array<std::string, 4>{QuantityText(line.now.Quant), AmountText(line.oldPrice),
                                          AmountText(line.now.Price), Signed(line.SubTotChange())};
    };
    for (const ChangedLine& line : changes.lines) {
        std::array<std::string, 4> texts = figures(line);
        for (std::size_t c = 0; c < texts.size(); ++c)
            widths[c] = std::max(widths[c], document.Width(texts[c]));
    }
    std::array<int, 4> rightEdges{};
    int edge = right;
    for (std::size_t c = heads.size(); c-- > 0;) {
        rightEdges[c] = edge;
        edge -= widths[c] + kGap;
    }
    const int itemWidth = std::max(0, edge - left);

    auto row = [&](const std::string& item, const std::array<std::string, 4>& texts, bool bold) {
        int y = document.Y();
        document.Print(left, CutToWidth(item, itemWidth, document), bold);
        for (std::size_t c = 0; c < texts.size(); ++c) {
            document.SetY(y);
            document.Print(rightEdges[c] - document.Width(texts[c], bold), texts[c], bold);
        }
    };
    if (settings.PrintTitle == 1) {
        document.Print((page.width - document.Width(changes.title, true)) / 2, changes.title, true);
        document.SkipLine();
    }
    document.Print(left, changes.savedTotal ? "Total " + MoneyText(*changes.savedTotal) + " to " +
                                                  MoneyText(changes.total)
                                            : "Total now " + MoneyText(changes.total));
    document.SkipLine();
    auto headings = [&] { row("Item or job", {heads[0], heads[1], heads[2], heads[3]}, true); };
    headings();
    for (std::size_t k = 0; k < changes.lines.size(); ++k) {
        if (document.Y() > bottomLimit) {
            document.NewPage();
            headings();
        }
        const ChangedLine& line = changes.lines[k];
        row(line.now.Item + (line.now.IsJob() ? " (job)" : ""), figures(line), false);
        if (k < changes.reasons.size() && !changes.reasons[k].empty())
            document.Print(left + kGap,
                           CutToWidth(changes.reasons[k], right - left - kGap, document));
    }
    return document.TakeRuns();
}

}  // namespace quantora
