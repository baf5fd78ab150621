#include "ui/pricelists/price_list_transfer.h"

#include <atomic>

#include "pricelists/price_export.h"
#include "pricelists/price_import.h"
#include "pricelists/price_list_model.h"
#include "store/data_file.h"
#include "ui/common/data_folder_hold.h"
#include "ui/common/dialogs.h"
#include "ui/common/shown_work.h"
#include "ui/pricelists/import_preview_dialog.h"
#include "ui/session.h"

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Writes on a worker thread while the editor is painted with its bar growing, so the closed
// preview is gone from the screen as soon as the writing starts.
void WriteShown(const std::function<void(const ImportProgress&)>& write,
                const ImportProgress& step) {
    std::atomic<std::size_t> done{0}, total{0};
    ShownWork::Run(
        [&] {
            write([&](std::size_t written, std::size_t all) {
                total = all;
                done = written;
            });
        },
        [&] {
            if (done > 0 && step) step(done, total);
        });
}

void Tell(QWidget* parent, Session& session, const std::string& text) {
    session.dialogs.Ask(parent, Q(text), PromptIcon::Exclamation, PromptButtons::Ok);
}

}  // namespace

bool ImportItems(QWidget* parent, Session& session, const std::string& listFolder,
                 const ImportProgress& step) {
    if (RefuseWhileReadOnly(parent, session)) return false;
    std::optional<std::string> path = session.dialogs.AskImportFile(parent);
    if (!path) return false;
    std::string bytes;
    try {
        bytes = DataFile::Open(*path).ReadAll();
    } catch (const DataFileError&) {
        Tell(parent, session, "The file " + *path + " cannot be read.");
        return false;
    }
    ImportFile file(std::move(bytes));
    if (std::optional<std::string> problem = ImportFileProblem(file)) {
        Tell(parent, session, *problem);
        return false;
    }
    ListContents list = ReadListContents(listFolder);
    ImportReview review{file, list, GuessChoices(file), {}};
    if (!session.dialogs.ReviewImport(parent, review)) return false;
    ImportPlan plan = PlanImport(file, review.choices, list);
    if (plan.decimalMarkUnsettled) return false;
    try {
        WriteShown(
            [&](const ImportProgress& written) { ApplyImport(listFolder, plan, written, *path); },
            step);
    } catch (const DataFileError& error) {
        Tell(parent, session,
             "The import stopped: " + error.path() +
                 " could not be written. Every item keeps either its old price or its new one; "
                 "import the same file again to finish.");
    }
    return true;
}

bool UndoImport(QWidget* parent, Session& session, const std::string& listFolder,
                const ImportProgress& step) {
    if (RefuseWhileReadOnly(parent, session)) return false;
    if (!CanUndoLastImport(listFolder)) return false;
    if (session.dialogs.Ask(parent,
                            "Put back the prices the last import changed, and remove the items "
                            "it added?",
                            PromptIcon::None, PromptButtons::YesNo) != PromptAnswer::Yes)
        return false;
    try {
        WriteShown([&](const ImportProgress& written) { UndoLastImport(listFolder, written); },
                   step);
    } catch (const DataFileError& error) {
        Tell(parent, session,
             "The undoing stopped: " + error.path() +
                 " could not be written. Choose Undo Last "
                 "Import again to finish it.");
    }
    return true;
}

void ExportItems(QWidget* parent, Session& session, const std::string& listFolder,
                 const QString& listName) {
    std::optional<CsvFileChoice> file =
        session.dialogs.AskCsvSaveFile(parent, "Export Items", listName + ".csv");
    if (!file) return;
    std::unordered_map<std::string, std::string> supplierNames = SupplierNamesByItem(listFolder);
    bool withSupplierNames =
        !supplierNames.empty() &&
        session.dialogs.Ask(parent,
                            "Some items were imported under names mended from the supplier's. "
                            "Add a column with the supplier's names?",
                            PromptIcon::None, PromptButtons::YesNo) == PromptAnswer::Yes;
    PriceListModel model;
    model.LoadNames(listFolder, ItemFilter{});
    model.ReadAllPrices();
    std::vector<ExportItem> items;
    items.reserve(model.ItemList().size());
    for (std::int32_t i = 0; i <= model.LastIndex(); ++i)
        items.push_back(
            {std::string(model.ItemList()[static_cast<std::size_t>(i)].name), model.PriceAt(i)});
    try {
        ReplaceFile(file->path,
                    ItemsCsv(items, file->form, withSupplierNames ? &supplierNames : nullptr),
                    true);
    } catch (const DataFileError&) {
        Tell(parent, session, "The file " + file->path + " could not be written.");
    }
}

}  // namespace quantora
