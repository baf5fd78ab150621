#include "costing/costing_export.h"

#include "store/csv.h"

namespace quantora {

std::string CostingCsv(const std::vector<JobLine>& lines, const std::vector<std::string>& listNames,
                       const std::vector<std::string>& groupNames, CsvForm form) {
    char delimiter = DelimiterOf(form);
    DecimalMark mark = DecimalMarkOf(form);
    std::string csv(kUtf8ByteOrderMark);
    csv += CsvLine({"Quantity", "Item", "Source", "Unit price", "Extension"}, delimiter);
    Amount total;
    for (const JobLine& line : lines) {
        if (line.Item.empty() && line.Quant == Amount{}) continue;
        const std::vector<std::string>& sources = line.IsJob() ? groupNames : listNames;
        std::string source =
            line.SourceSlot >= 0 && static_cast<std::size_t>(line.SourceSlot) < sources.size()
                ? sources[static_cast<std::size_t>(line.SourceSlot)]
                : std::string();
        csv += CsvLine({PlainAmountText(line.Quant, mark, 0), SpreadsheetText(line.Item),
                        SpreadsheetText(source), PlainAmountText(line.Price, mark),
                        PlainAmountText(line.SubTot, mark)},
                       delimiter);
        total += line.SubTot;
    }
    csv += CsvLine({"", "Total", "", "", PlainAmountText(total, mark)}, delimiter);
    return csv;
}

}  // namespace quantora
