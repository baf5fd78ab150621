// A price list in from a supplier's file and out to a spreadsheet, as the price list editor
// offers them: each asks for its file, says what goes wrong in plain words, and writes
// nothing the user did not confirm.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <string>

class QWidget;

namespace quantora {

class Session;

// Step reports how far the writing has got: (items written, items to write). The writing runs
// on a worker thread while the windows paint; step is called on the window thread, at its
// turns, with the count reached so far.
using ImportProgress = std::function<void(std::size_t, std::size_t)>;

// "Import Items...": the file, its preview, then the writing. True when the list changed.
bool ImportItems(QWidget* parent, Session& session, const std::string& listFolder,
                 const ImportProgress& step);

// "Undo Last Import": asks first; true when the list changed.
bool UndoImport(QWidget* parent, Session& session, const std::string& listFolder,
                const ImportProgress& step);

// "Export Items...": the whole list in the editor's order, with the supplier's names as a
// column of their own when the user wants them and an import kept any.
void ExportItems(QWidget* parent, Session& session, const std::string& listFolder,
                 const QString& listName);

}  // namespace quantora
