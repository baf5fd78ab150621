#include "pricelists/price_import.h"

#include <unistd.h>

#include <optional>
#include <unordered_map>

#include "pricelists/item_file.h"
#include "pricelists/list_records.h"
#include "pricelists/price_history.h"
#include "store/code_page.h"
#include "store/data_file.h"
#include "store/name_slots.h"

namespace quantora {

namespace {

// What the last import changes, written and flushed before the first item changes, so that
// the import can be finished or undone whatever stops it: each entry an item it adds ("A",
// with its price), one whose price it changes ("C", the old price and the new) or one it
// deletes ("D", with the price it had). Each is followed by the price the item has after the
// import, where it is there then. "done" ends a whole import; "undoing" marks one whose undoing
// has begun. Records of earlier versions (without the first line "finishable") hold no new
// prices: they can be undone, not finished.
struct UndoEntry {
    char kind = 'A';
    std::string name;
    Amount oldPrice;
    std::optional<Amount> newPrice;
};
struct UndoRecord {
    std::vector<UndoEntry> entries;
    bool finishable = true;
    bool done = false;
    bool undoing = false;
};

std::optional<Amount> RawAmount(const std::string& text) {
    char* end = nullptr;
    long long raw = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0') return std::nullopt;
    return Amount::FromRaw(raw);
}

UndoRecord ReadUndoRecord(const std::string& listFolder) {
    UndoRecord record;
    record.finishable = false;
    for (const auto& fields : ReadRecordLines(listFolder + kLastImportRecord)) {
        const std::string& kind = fields[0];
        if (fields.size() == 1 && kind == "finishable") record.finishable = true;
        if (fields.size() == 1 && kind == "done") record.done = true;
        if (fields.size() == 1 && kind == "undoing") record.undoing = true;
        if (fields.size() == 2 && kind == "A") record.entries.push_back({'A', fields[1], {}, {}});
        if (fields.size() == 3 && kind == "A")
            if (auto price = RawAmount(fields[1]))
                record.entries.push_back({'A', fields[2], {}, price});
        if (fields.size() == 3 && (kind == "C" || kind == "D"))
            if (auto old = RawAmount(fields[1]))
                record.entries.push_back({kind[0], fields[2], *old, std::nullopt});
        if (fields.size() == 4 && (kind == "C" || kind == "D")) {
            auto old = RawAmount(fields[1]), price = RawAmount(fields[2]);
            if (old && price) record.entries.push_back({kind[0], fields[3], *old, price});
        }
    }
    return record;
}

void WriteUndoRecord(const std::string& listFolder, const UndoRecord& record) {
    std::string text = record.finishable ? "finishable\n" : "";
    for (const UndoEntry& entry : record.entries) {
        text += entry.kind;
        if (entry.kind != 'A') text += "\t" + std::to_string(entry.oldPrice.raw);
        if (entry.newPrice) text += "\t" + std::to_string(entry.newPrice->raw);
        text += "\t" + EscapedField(entry.name) + "\n";
    }
    if (record.done) text += "done\n";
    if (record.undoing) text += "undoing\n";
    ReplaceFile(listFolder + kLastImportRecord, text, true);
}

// Brings every item the record names to what the import makes of it, without a flush each.
void WriteImportedItems(const std::string& listFolder, const std::vector<UndoEntry>& entries,
                        const std::function<void(std::size_t, std::size_t)>& progress) {
    std::size_t done = 0;
    for (const UndoEntry& entry : entries) {
        if (!entry.newPrice)
            DeleteItem(listFolder, entry.name);
        else if (entry.kind == 'A')
            WriteNewItemPrice(listFolder, entry.name, *entry.newPrice, false);
        else
            WriteItemPrice(listFolder, entry.name, *entry.newPrice, false);
        if (progress) progress(++done, entries.size());
    }
}

}  // namespace

void ApplyImport(const std::string& listFolder, const ImportPlan& plan,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::string& sourceFile) {
    UndoRecord previous = ReadUndoRecord(listFolder);
    bool previousCutShort = FileExists(listFolder + kLastImportRecord) && !previous.done;
    UndoRecord record;
    if (previousCutShort) {
        record.entries = previous.entries;
        record.finishable = previous.finishable;
    }
    // What this import writes, in the file's order, then what it deletes. The record keeps
    // the oldest price of each item (that of the import cut short) and the newest.
    std::vector<UndoEntry> writes;
    std::unordered_map<std::string, std::size_t> recordedAt;
    for (std::size_t i = 0; i < record.entries.size(); ++i)
        recordedAt[FoldCase(record.entries[i].name)] = i;
    auto note = [&](UndoEntry entry) {
        writes.push_back(entry);
        auto [at, added] = recordedAt.try_emplace(FoldCase(entry.name), record.entries.size());
        if (added) {
            record.entries.push_back(entry);
            return;
        }
        // Undoing puts back what was there before the import cut short.
        UndoEntry& earlier = record.entries[at->second];
        earlier.newPrice = entry.newPrice;
        if (entry.kind == 'D' && earlier.kind == 'C') earlier.kind = 'D';
    };
    for (const ImportLine& line : plan.lines) {
        if (line.change == LineChange::Unchanged) continue;
        if (line.change == LineChange::Added)
            note({'A', line.name, {}, line.price});
        else
            note({'C', line.name, line.oldPrice, line.price});
    }
    for (const ListItem& item : plan.deleted) note({'D', item.name, item.price, std::nullopt});
    if (writes.empty() && !previousCutShort) return;  // the last import stays the one to undo
    WriteUndoRecord(listFolder, record);

    WriteImportedItems(listFolder, writes, progress);

    std::vector<std::vector<std::string>> supplier =
        ReadRecordLines(listFolder + kSupplierNamesRecord);
    std::unordered_map<std::string, std::size_t> bySupplier;
    for (std::size_t i = 0; i < supplier.size(); ++i)
        if (supplier[i].size() == 2) bySupplier[FoldCase(supplier[i][0])] = i;
    bool namesChanged = false;
    for (const ImportLine& line : plan.lines) {
        if (!line.mended || line.nameInFile == line.name) continue;
        auto at = bySupplier.find(FoldCase(line.nameInFile));
        if (at == bySupplier.end()) {
            bySupplier.emplace(FoldCase(line.nameInFile), supplier.size());
            supplier.push_back({line.nameInFile, line.name});
            namesChanged = true;
        } else if (supplier[at->second][1] != line.name) {
            supplier[at->second] = {line.nameInFile, line.name};
            namesChanged = true;
        }
    }
    if (namesChanged) {
        std::string text;
        for (const auto& fields : supplier)
            if (fields.size() == 2)
                text += EscapedField(fields[0]) + "\t" + EscapedField(fields[1]) + "\n";
        ReplaceFile(listFolder + kSupplierNamesRecord, text, true);
    }

    std::vector<PriceHistoryEntry> history;
    std::int64_t now = HistoryTimeNow();
    std::string file(FileNamePart(sourceFile));
    for (const ImportLine& line : plan.lines)
        if (line.change != LineChange::Unchanged)
            history.push_back({now, PriceSource::Imported, line.name,
                               line.change == LineChange::Added ? Amount{} : line.oldPrice,
                               line.price, file});
    AppendPriceHistory(listFolder, history, false);

    // Only once every item is on the disk is the import whole.
    FlushDiskOf(listFolder);
    record.done = true;
    WriteUndoRecord(listFolder, record);
}

bool CanUndoLastImport(const std::string& listFolder) {
    return FileExists(listFolder + kLastImportRecord);
}

void UndoLastImport(const std::string& listFolder,
                    const std::function<void(std::size_t, std::size_t)>& progress) {
    UndoRecord record = ReadUndoRecord(listFolder);
    // Marked first, so that whatever stops the undoing, it is finished at the next opening.
    if (!record.undoing) {
        record.undoing = true;
        WriteUndoRecord(listFolder, record);
    }
    const std::vector<UndoEntry>& entries = record.entries;
    std::size_t done = 0;
    std::vector<PriceHistoryEntry> history;
    std::int64_t now = HistoryTimeNow();
    for (const UndoEntry& entry : entries) {
        if (progress) progress(++done, entries.size());
        if (entry.kind == 'A') {
            DeleteItem(listFolder, entry.name);
            continue;
        }
        bool gone = !FileExists(listFolder + entry.name);
        Amount imported = gone ? Amount{} : ReadItemPrice(listFolder, entry.name);
        if (entry.kind == 'D' && gone)  // it went with the import
            WriteNewItemPrice(listFolder, entry.name, entry.oldPrice, false);
        else
            WriteItemPrice(listFolder, entry.name, entry.oldPrice, false);
        history.push_back({now, PriceSource::Undone, entry.name, imported, entry.oldPrice, {}});
    }
    AppendPriceHistory(listFolder, history, false);
    FlushDiskOf(listFolder);
    ForgetLastImport(listFolder);
}

ImportLeftOver FinishInterruptedImport(const std::string& listFolder) {
    if (!FileExists(listFolder + kLastImportRecord)) return ImportLeftOver::None;
    UndoRecord record = ReadUndoRecord(listFolder);
    if (record.undoing) {
        UndoLastImport(listFolder);
        return ImportLeftOver::Undone;
    }
    if (record.done || !record.finishable) return ImportLeftOver::None;
    // Written again in full: an item the stopped import had written already is written the same.
    WriteImportedItems(listFolder, record.entries, {});
    FlushDiskOf(listFolder);
    record.done = true;
    WriteUndoRecord(listFolder, record);
    return ImportLeftOver::Finished;
}

void FinishInterruptedImports(const DataPaths& paths) {
    for (const NamedSlot& list : UsedSlots(paths.PriceListIndex()))
        FinishInterruptedImport(paths.ListFolder(list.slot));
}

void ForgetLastImport(const std::string& listFolder) {
    ::unlink((listFolder + kLastImportRecord).c_str());
}

}  // namespace quantora
