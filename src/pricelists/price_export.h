// Price lists out to a spreadsheet: CSV in one of two forms, UTF-8 with a byte-order mark
// (spreadsheets need it to read UTF-8), a header row, CRLF line ends, no thousands separators.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pricelists/supplier_amount.h"
#include "store/amount.h"

namespace quantora {

// Comma with decimal points, or semicolon with decimal commas (for spreadsheets in
// languages that write decimal commas).
enum class CsvForm { CommaPoint, SemicolonComma };

char DelimiterOf(CsvForm form);
DecimalMark DecimalMarkOf(CsvForm form);

// The text a spreadsheet shows as it is: a name beginning with =, +, - or @ (or with an
// apostrophe and one of them) would run as a formula, so it goes behind an apostrophe, which
// an import takes off again.
std::string SpreadsheetText(const std::string& text);

// The text as it was before SpreadsheetText: a guarding apostrophe taken off.
std::string FromSpreadsheetText(std::string_view text);

struct ExportItem {
    std::string name;
    Amount price;
};

// The items in the order given, under "Name,Price" (and "Supplier name" when supplierNames
// is given: each item's name in the supplier's file, by folded item name, where an import
// mended it).
std::string ItemsCsv(const std::vector<ExportItem>& items, CsvForm form,
                     const std::unordered_map<std::string, std::string>* supplierNames = nullptr);

// The supplier's names of the list's mended items, by folded item name.
std::unordered_map<std::string, std::string> SupplierNamesByItem(const std::string& listFolder);

}  // namespace quantora
