// Importing a supplier's price file into a price list: the file read with its encoding,
// delimiter, header, columns and decimal mark guessed, the plan of what it would change
// (shown before anything is written), the writing of that plan item by item the safe way,
// and the undoing of the last import.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "pricelists/name_mending.h"
#include "pricelists/supplier_amount.h"
#include "store/amount.h"
#include "store/csv.h"

namespace quantora {

// The items of a list as an import finds them, and the names a supplier gave the items an
// earlier import mended.
struct ListItem {
    std::string name;
    Amount price;
};
struct ListContents {
    std::unordered_map<std::string, ListItem> items;             // by folded name
    std::unordered_map<std::string, std::string> supplierNames;  // folded supplier name -> item
};
// Reads every item once. An item whose file cannot be read counts with a price of 0, so an
// import that names it writes it afresh.
ListContents ReadListContents(const std::string& listFolder);

// The names a supplier gave the items an import mended: (name in the file, item name).
std::vector<std::pair<std::string, std::string>> ReadSupplierNames(const std::string& listFolder);

enum class LongNames { Skip, Cut };

struct ImportChoices {
    TextEncoding encoding = TextEncoding::Utf8;
    char delimiter = ',';
    bool headerRow = false;
    std::size_t nameColumn = 0;
    std::size_t priceColumn = 1;
    std::optional<DecimalMark> decimalMark;  // nothing until the file or the user settles it
    LongNames longNames = LongNames::Skip;
    bool mend = true;
    MendingRule rule;
    bool deleteMissing = false;  // items of the list the file does not name
};

// A supplier's file: its bytes, and its records as the chosen encoding and delimiter read them.
class ImportFile {
  public:
    explicit ImportFile(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Bytes() const { return bytes_; }
    bool IsBinary() const { return LooksBinary(bytes_); }
    // The encoding the bytes are in, found once.
    TextEncoding Encoding();
    // The bytes as text in the encoding, decoded again only when the encoding changes.
    const std::string& Text(TextEncoding encoding);
    // Read again only when the encoding or the delimiter changes.
    const std::vector<CsvRecord>& Records(TextEncoding encoding, char delimiter);
    // The most fields any record has.
    std::size_t ColumnCount(TextEncoding encoding, char delimiter);

  private:
    std::string bytes_;
    std::optional<TextEncoding> encoding_;
    std::optional<TextEncoding> decodedAs_;
    std::string text_;
    std::optional<std::pair<TextEncoding, char>> readAs_;
    std::vector<CsvRecord> records_;
};

// The message a file that cannot be imported leads to: one that is no text, or that holds
// no rows. Nothing for a file that can be previewed.
std::optional<std::string> ImportFileProblem(ImportFile& file);

// What the file itself tells: its encoding and delimiter, whether its first record is a header,
// which columns hold the names and the prices (from the header's words, otherwise from what
// the columns hold), and the decimal mark of the prices when they settle it.
ImportChoices GuessChoices(ImportFile& file);

enum class LineChange { Added, Changed, Unchanged };

struct ImportLine {
    std::size_t line = 0;
    std::string nameInFile;
    std::string name;  // as it will be stored
    Amount price;
    Amount oldPrice;  // for a change
    LineChange change = LineChange::Added;
    bool mended = false;
};

struct RefusedLine {
    std::size_t line = 0;
    std::string reason;  // in plain words
    std::vector<std::string> fields;
};

struct ImportPlan {
    std::vector<std::string> header;    // the header record, when there is one
    bool decimalMarkUnsettled = false;  // then nothing more is planned until the user says
    std::vector<ImportLine> lines;      // the lines to import, in the file's order
    std::size_t added = 0, changed = 0, unchanged = 0;
    std::vector<RefusedLine> refused;  // in the file's order
    // Mended names that are already items of the list another import did not make.
    std::vector<std::string> notes;
    std::vector<ListItem> deleted;  // with deleteMissing
    std::size_t needMending = 0;    // lines whose names need mending, mended or not
};

// The plan's counts as the preview says them.
std::string PlanCounts(const ImportPlan& plan);

// What a line does to its item, prices as the editor shows them: "new", "unchanged" or
// "12.50 to 13.00".
std::string LineChangeText(const ImportLine& line);

// The preview's notes: the plan's own, then each name stored otherwise than the file writes
// it, then each item to be deleted.
std::vector<std::string> MendedAndDeleted(const ImportPlan& plan);

// What importing the file with these choices would do to the list. Without a decimal mark
// every price line waits on the user, and the plan holds no line.
ImportPlan PlanImport(ImportFile& file, const ImportChoices& choices, const ListContents& list);

// Writes the plan into the list: first the record that undoes it (merged with the record of
// an import a kill cut short, so that running that import again and undoing it puts back what
// was there before either), then each item the safe way, each deleted item, the supplier's
// names, the changed prices in the list's price history (as imported from sourceFile), and
// last the mark that the import is whole. progress(done, total) after each item.
void ApplyImport(const std::string& listFolder, const ImportPlan& plan,
                 const std::function<void(std::size_t, std::size_t)>& progress = {},
                 const std::string& sourceFile = {});

// Whether the list holds the record of an import that can be undone.
bool CanUndoLastImport(const std::string& listFolder);

// Puts back the prices the last import changed, the items it deleted, and removes the items
// it added, noting the prices put back in the list's price history; then forgets it. Safe to run
// again after a kill. progress(done, total) after each item.
void UndoLastImport(const std::string& listFolder,
                    const std::function<void(std::size_t, std::size_t)>& progress = {});

// Forgets the last import: the list was changed by hand since.
void ForgetLastImport(const std::string& listFolder);

// The refused lines as a CSV file of their own, each with its reason in a last column, for
// the user to mend and import again. UTF-8 with a byte-order mark, CRLF.
std::string RefusedLinesCsv(const ImportPlan& plan, char delimiter);

}  // namespace quantora
