#include "costing/quote_print.h"

#include <algorithm>
#include <sstream>

#include "costing/costing_print.h"
#include "pricelists/item_filter.h"

namespace quantora {

namespace {

constexpr int kLeftMargin = kCostingSideMargin;
constexpr int kRightMargin = kCostingSideMargin;
constexpr int kGap = 300;
constexpr int kBottomMargin = kCostingBottomMargin;

// A paragraph of the note broken between words to fit width; a word wider than the whole
// width is cut. An empty paragraph stays an empty line.
std::vector<std::string> WrappedLines(const std::string& paragraph, int width,
                                      const PrintDocument& document) {
    std::vector<std::string> lines;
    std::istringstream words(paragraph);
    std::string word, line;
    while (words >> word) {
        std::string longer = line.empty() ? word : line + " " + word;
        if (document.Width(longer) <= width) {
            line = longer;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line = CutToWidth(word, width, document);
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

// Where the columns stand: right edges of the quantity, unit price and amount, and the room
// the description has.
struct Columns {
    int quantityRight;
    int descriptionLeft;
    int descriptionWidth;
    int unitPriceRight;
    int amountRight;
};

Columns PlaceColumns(const Quote& quote, bool showUnitPrices, PrintPage page,
                     const PrintDocument& document) {
    int quantityWidth = document.Width("Quantity", true);
    int unitPriceWidth = document.Width("Unit price", true);
    int amountWidth =
        std::max(document.Width("Amount", true), document.Width(MoneyText(quote.total), true));
    for (const QuoteLine& line : quote.lines) {
        quantityWidth = std::max(quantityWidth, document.Width(QuantityText(line.quantity)));
        unitPriceWidth = std::max(unitPriceWidth, document.Width(MoneyText(line.unitPrice)));
        amountWidth = std::max(amountWidth, document.Width(MoneyText(line.amount)));
    }
    Columns columns;
    columns.amountRight = page.width - kRightMargin;
    columns.unitPriceRight = columns.amountRight - amountWidth - kGap;
    columns.quantityRight = kLeftMargin + quantityWidth;
    columns.descriptionLeft = columns.quantityRight + kGap;
    int descriptionRight =
        showUnitPrices ? columns.unitPriceRight - unitPriceWidth - kGap : columns.amountRight;
    columns.descriptionWidth = std::max(0, descriptionRight - columns.descriptionLeft);
    return columns;
}

// Prints the texts on one line, each ending at its right edge (a negative edge: starting at
// its left), and moves to the next line.
void PrintRow(PrintDocument& document, const std::vector<std::pair<int, std::string>>& cells,
              bool bold) {
    int y = document.Y();
    for (const auto& [edge, text] : cells) {
        document.SetY(y);
        document.Print(edge < 0 ? -edge : edge - document.Width(text, bold), text, bold);
    }
}

}  // namespace

std::vector<PrintRun> LayOutQuote(const Quote& quote, const QuoteTerms& terms,
                                  const std::string& jobName, const std::string& dateText,
                                  const Settings& settings, PrintPage page,
                                  const PrintMeasure& measure) {
    PrintDocument document(measure, settings.PrintTopMargin * 720);
    const int textWidth = page.width - kLeftMargin - kRightMargin;
    const int bottomLimit = page.height - kBottomMargin;
    const bool prices = terms.showUnitPrices;
    Columns columns = PlaceColumns(quote, prices, page, document);

    // The title, unless the print options leave titles out (paper with the shop's own heading).
    if (settings.PrintTitle == 1) {
        const std::string heading = "Quote";
        document.Print((page.width - document.Width(heading, true)) / 2, heading, true);
        document.SkipLine();
    }
    // The labels stand in one column, the values beside them.
    int valueLeft =
        kLeftMargin +
        std::max({document.Width("Date:"), document.Width("Job:"), document.Width("For:")}) + kGap;
    auto labelled = [&](const char* label, const std::string& value) {
        if (value.empty()) return;
        PrintRow(document,
                 {{-kLeftMargin, label},
                  {-valueLeft, CutToWidth(value, page.width - kRightMargin - valueLeft, document)}},
                 false);
    };
    labelled("Date:", dateText);
    labelled("Job:", jobName);
    labelled("For:", TrimBlanks(terms.customer));
    if (terms.note.find_first_not_of(" \n") != std::string::npos) {
        document.SkipLine();
        std::istringstream paragraphs(terms.note);
        for (std::string paragraph; std::getline(paragraphs, paragraph);)
            for (const std::string& line : WrappedLines(paragraph, textWidth, document))
                document.Print(kLeftMargin, line);
    }
    document.SkipLine();

    auto heads = [&] {
        std::vector<std::pair<int, std::string>> cells = {
            {columns.quantityRight, "Quantity"}, {-columns.descriptionLeft, "Description"}};
        if (prices) {
            cells.push_back({columns.unitPriceRight, "Unit price"});
            cells.push_back({columns.amountRight, "Amount"});
        }
        PrintRow(document, cells, true);
    };
    heads();
    for (const QuoteLine& line : quote.lines) {
        if (document.Y() > bottomLimit) {
            document.NewPage();
            heads();
        }
        std::vector<std::pair<int, std::string>> cells = {
            {columns.quantityRight, QuantityText(line.quantity)},
            {-columns.descriptionLeft,
             CutToWidth(TrimBlanks(line.item), columns.descriptionWidth, document)}};
        if (prices) {
            cells.push_back({columns.unitPriceRight, MoneyText(line.unitPrice)});
            cells.push_back({columns.amountRight, MoneyText(line.amount)});
        }
        PrintRow(document, cells, false);
    }
    document.SkipLine();
    if (document.Y() > bottomLimit) document.NewPage();
    int totalLabelRight =
        prices ? columns.unitPriceRight
               : columns.amountRight - document.Width(MoneyText(quote.total), true) - kGap;
    PrintRow(document, {{totalLabelRight, "Total"}, {columns.amountRight, MoneyText(quote.total)}},
             true);
    return document.TakeRuns();
}

}  // namespace quantora
