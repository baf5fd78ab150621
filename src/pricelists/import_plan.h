// What importing a supplier's file would do to a price list, worked out before anything is
// written: each line new, changed or unchanged, each refused line with its reason, the names
// mended, the items the file does not name; and the words the preview shows of it.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "pricelists/import_file.h"
#include "store/amount.h"

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

// The refused lines as a CSV file of their own, each with its reason in a last column, for
// the user to mend and import again. UTF-8 with a byte-order mark, CRLF.
std::string RefusedLinesCsv(const ImportPlan& plan, char delimiter);

}  // namespace quantora
