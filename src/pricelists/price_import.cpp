#include "pricelists/price_import.h"

#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <unordered_map>

#include "pricelists/import_record.h"
#include "pricelists/item_file.h"
#include "pricelists/list_records.h"
#include "pricelists/price_history.h"
#include "store/code_page.h"
#include "store/data_file.h"
#include "store/name_slots.h"

namespace quantora {

namespace {

ImportRecord ReadUndoRecord(const std::string& listFolder) {
    std::optional<std::string> bytes;
    try {
        bytes = DataFile::ReadWhole(listFolder + kLastImportRecord);
    } catch (const DataFileError&) {
    }
    return bytes ? ParseImportRecord(*bytes) : ImportRecord{{}, false, false, false};
}

void WriteUndoRecord(const std::string& listFolder, const ImportRecord& record) {
    ReplaceFile(listFolder + kLastImportRecord, EncodeImportRecord(record), true);
}

// From this many items on an import writes on two cores: making each file is most of the
// work, and the system makes two at once where it only names them one after the other.
constexpr std::size_t kTwoCoreImport = 2000;

void WriteImportedItem(const std::string& listFolder, const ImportRecordEntry& entry) {
    if (!entry.newPrice)
        DeleteItem(listFolder, entry.name);
    else if (entry.kind == 'A')
        WriteNewItemPrice(listFolder, entry.name, *entry.newPrice, false);
    else
        WriteItemPrice(listFolder, entry.name, *entry.newPrice, false);
}

// Brings every item the record names to what the import makes of it, without a flush each.
// The record is the plan: the order the items are written in does not matter, and progress
// is told on the calling thread only.
void WriteImportedItems(const std::string& listFolder,
                        const std::vector<ImportRecordEntry>& entries,
                        const std::function<void(std::size_t, std::size_t)>& progress) {
    std::size_t total = entries.size();
    std::size_t half = total >= kTwoCoreImport ? total / 2 : total;
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::exception_ptr helperFailed;
    std::thread helper;
    if (half < total)
        helper = std::thread([&] {
            try {
                for (std::size_t i = half; i < total && !stop; ++i) {
                    WriteImportedItem(listFolder, entries[i]);
                    ++done;
                }
            } catch (...) {
                helperFailed = std::current_exception();
            }
        });
    try {
        for (std::size_t i = 0; i < half; ++i) {
            WriteImportedItem(listFolder, entries[i]);
            ++done;
            if (progress) progress(done, total);
        }
    } catch (...) {
        stop = true;
        if (helper.joinable()) helper.join();
        throw;
    }
    if (!helper.joinable()) return;
    helper.join();
    if (helperFailed) std::rethrow_exception(helperFailed);
    if (progress) progress(total, total);
}

}  // namespace

void ApplyImport(const std::string& listFolder, const ImportPlan& plan,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::string& sourceFile) {
    ImportRecord previous = ReadUndoRecord(listFolder);
    bool previousCutShort = FileExists(listFolder + kLastImportRecord) && !previous.done;
    ImportRecord record;
    if (previousCutShort) {
        record.entries = previous.entries;
        record.finishable = previous.finishable;
    }
    // What this import writes, in the file's order, then what it deletes. The record keeps
    // the oldest price of each item (that of the import cut short) and the newest.
    std::vector<ImportRecordEntry> writes;
    std::unordered_map<std::string, std::size_t> recordedAt;
    for (std::size_t i = 0; i < record.entries.size(); ++i)
        recordedAt[FoldCase(record.entries[i].name)] = i;
    auto note = [&](ImportRecordEntry entry) {
        writes.push_back(entry);
        auto [at, added] = recordedAt.try_emplace(FoldCase(entry.name), record.entries.size());
        if (added) {
            record.entries.push_back(entry);
            return;
        }
        // Undoing puts back what was there before the import cut short.
        ImportRecordEntry& earlier = record.entries[at->second];
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
    ImportRecord record = ReadUndoRecord(listFolder);
    // Marked first, so that whatever stops the undoing, it is finished at the next opening.
    if (!record.undoing) {
        record.undoing = true;
        WriteUndoRecord(listFolder, record);
    }
    const std::vector<ImportRecordEntry>& entries = record.entries;
    std::size_t done = 0;
    std::vector<PriceHistoryEntry> history;
    std::int64_t now = HistoryTimeNow();
    for (const ImportRecordEntry& entry : entries) {
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

ImportLeftOver FinishInterruptedImport(
    const std::string& listFolder, const std::function<void(std::size_t, std::size_t)>& progress) {
    if (!FileExists(listFolder + kLastImportRecord)) return ImportLeftOver::None;
    ImportRecord record = ReadUndoRecord(listFolder);
    if (record.undoing) {
        UndoLastImport(listFolder, progress);
        return ImportLeftOver::Undone;
    }
    if (record.done || !record.finishable) return ImportLeftOver::None;
    // Written again in full: an item the stopped import had written already is written the same.
    WriteImportedItems(listFolder, record.entries, progress);
    FlushDiskOf(listFolder);
    record.done = true;
    WriteUndoRecord(listFolder, record);
    return ImportLeftOver::Finished;
}

std::string FinishingImportMessage(const std::string& list) {
    return "Please wait .... Finishing the import into the price list \"" + list +
           "\" that was stopped before it was done.";
}

void FinishInterruptedImports(const DataPaths& paths, const StoppedImportProgress& progress) {
    for (const NamedSlot& list : UsedSlots(paths.PriceListIndex())) {
        // A list that cannot be written now must not keep the program from starting: its
        // record stays, and opening the list tries again and says what failed.
        try {
            FinishInterruptedImport(paths.ListFolder(list.slot),
                                    [&](std::size_t done, std::size_t total) {
                                        if (progress) progress(list.name, done, total);
                                    });
        } catch (const DataFileError&) {
        }
    }
}

void ForgetLastImport(const std::string& listFolder) {
    Files().Remove(listFolder + kLastImportRecord);
}

}  // namespace quantora
