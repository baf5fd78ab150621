// The record of a price list's last import, kept beside its items: what the import changes and
// to what, written and flushed before the first item changes, so that whatever stops the
// import, the next opening finishes it, and Undo Last Import puts back what it changed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/amount.h"

namespace quantora {

// An item the import adds ('A'), one whose price it changes ('C', with the price it had) or
// one it deletes ('D', with the price it had); and the price the item has after the import,
// when it is there then.
struct ImportRecordEntry {
    char kind = 'A';
    std::string name;
    Amount oldPrice;
    std::optional<Amount> newPrice;
    friend bool operator==(const ImportRecordEntry&, const ImportRecordEntry&) = default;
};

struct ImportRecord {
    std::vector<ImportRecordEntry> entries;
    // The record holds every new price: the import can be finished from it. Records of
    // earlier versions hold none: they can be undone, not finished.
    bool finishable = true;
    bool done = false;     // the import is whole
    bool undoing = false;  // its undoing has begun
    friend bool operator==(const ImportRecord&, const ImportRecord&) = default;
};

// The record in its bytes, and back. An entry that cannot be read, or that names no plain
// file of the list's folder, is left out: a damaged record never writes outside the list.
std::string EncodeImportRecord(const ImportRecord& record);
ImportRecord ParseImportRecord(std::string_view bytes);

}  // namespace quantora
