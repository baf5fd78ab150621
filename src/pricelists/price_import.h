// Writing an import's plan into a price list, and undoing the last import. An import over
// many items makes its record durable first (what it changes, and to what), then writes the
// items without a flush each and flushes the disk once; whatever stops it, the record
// finishes or undoes it at the next start or the next opening of the list.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "pricelists/import_plan.h"
#include "store/data_folder.h"

namespace quantora {

// Writes the plan into the list: first the record that finishes or undoes it, flushed (merged
// with the record of an import a kill cut short, so that running that import again and
// undoing it puts back what was there before either), then each item the safe way without a
// flush of its own, each deleted item, the supplier's names, the changed prices in the list's
// price history (as imported from sourceFile), one flush of the disk, and last the mark that
// the import is whole. progress(done, total) as the items are written, always on the calling
// thread (a big import writes on a second one too).
void ApplyImport(const std::string& listFolder, const ImportPlan& plan,
                 const std::function<void(std::size_t, std::size_t)>& progress = {},
                 const std::string& sourceFile = {});

// Whether the list holds the record of an import that can be undone.
bool CanUndoLastImport(const std::string& listFolder);

// Puts back the prices the last import changed, the items it deleted, and removes the items
// it added, noting the prices put back in the list's price history; then forgets it. Marks the
// record first and flushes once at the end, so that FinishInterruptedImport ends an undoing a
// kill or a power cut stopped. progress(done, total) after each item.
void UndoLastImport(const std::string& listFolder,
                    const std::function<void(std::size_t, std::size_t)>& progress = {});

// What opening a list found of an import or an undoing that a kill or a power cut stopped.
enum class ImportLeftOver { None, Finished, Undone };

// Finishes what the list's import record says was under way: an import is written again in
// full from its record (items it had written already come out the same), an undoing is undone
// again; each ends with one flush of the disk. None when nothing was under way, or the record
// is of an earlier version that cannot be finished (Undo Last Import still puts it back).
// progress(done, total) as the items are written, on the calling thread.
ImportLeftOver FinishInterruptedImport(
    const std::string& listFolder,
    const std::function<void(std::size_t, std::size_t)>& progress = {});

// Told of each list whose import or undoing the start finishes: its name, then after each item
// how many are done of how many.
using StoppedImportProgress =
    std::function<void(const std::string& list, std::size_t done, std::size_t total)>;

// What the start shows while it finishes the import into a list: a big supplier's file takes
// a while, and the user should not meet a start that seems to hang.
std::string FinishingImportMessage(const std::string& list);

// The same for every price list of the data folder, as the program starts; a list that cannot
// be written is left as it is, its record kept for its next opening.
void FinishInterruptedImports(const DataPaths& paths, const StoppedImportProgress& progress = {});

// Forgets the last import: the list was changed by hand since.
void ForgetLastImport(const std::string& listFolder);

}  // namespace quantora
