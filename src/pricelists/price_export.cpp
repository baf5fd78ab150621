#include "pricelists/price_export.h"

#include "pricelists/import_plan.h"
#include "pricelists/list_records.h"
#include "store/code_page.h"
#include "store/csv.h"

namespace quantora {

char DelimiterOf(CsvForm form) { return form == CsvForm::CommaPoint ? ',' : ';'; }

DecimalMark DecimalMarkOf(CsvForm form) {
    return form == CsvForm::CommaPoint ? DecimalMark::Point : DecimalMark::Comma;
}

namespace {

constexpr std::string_view kFormulaStarts = "=+-@";

}  // namespace

std::string SpreadsheetText(const std::string& text) {
    bool formula = !text.empty() && kFormulaStarts.find(text[0]) != std::string_view::npos;
    bool guarded = text.size() >= 2 && text[0] == '\'' &&
                   (kFormulaStarts.find(text[1]) != std::string_view::npos || text[1] == '\'');
    return formula || guarded ? "'" + text : text;
}

std::string FromSpreadsheetText(std::string_view text) {
    if (text.size() >= 2 && text[0] == '\'' &&
        (kFormulaStarts.find(text[1]) != std::string_view::npos || text[1] == '\''))
        text.remove_prefix(1);
    return std::string(text);
}

std::string ItemsCsv(const std::vector<ExportItem>& items, CsvForm form,
                     const std::unordered_map<std::string, std::string>* supplierNames) {
    char delimiter = DelimiterOf(form);
    std::string csv(kUtf8ByteOrderMark);
    std::vector<std::string> header{"Name", "Price"};
    if (supplierNames) header.push_back("Supplier name");
    csv += CsvLine(header, delimiter);
    std::vector<std::string> fields(header.size());
    for (const ExportItem& item : items) {
        fields[0] = SpreadsheetText(item.name);
        fields[1] = PlainAmountText(item.price, DecimalMarkOf(form));
        if (supplierNames) {
            auto supplier = supplierNames->find(FoldCase(item.name));
            fields[2] = supplier == supplierNames->end() ? "" : SpreadsheetText(supplier->second);
        }
        csv += CsvLine(fields, delimiter);
    }
    return csv;
}

std::unordered_map<std::string, std::string> SupplierNamesByItem(const std::string& listFolder) {
    std::unordered_map<std::string, std::string> byItem;
    for (auto& [supplier, item] : ReadSupplierNames(listFolder))
        byItem[FoldCase(item)] = std::move(supplier);
    return byItem;
}

}  // namespace quantora
