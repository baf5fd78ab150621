// File "Print" and "Print Setup" of the costing sheet and the price list editor: the print
// options first, then the print-out on the current printer, in the preview or in a PDF file,
// as the user chooses; and the current printer's own settings.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "services/print_document.h"

class QWidget;

namespace quantora {

class Session;

// Lays a print-out out on a page with a measure, as the costing and price list layouts do.
using PrintLayOut = std::function<std::vector<PrintRun>(PrintPage, const PrintMeasure&)>;

// Asks the print options and prints what layOut gives, named documentName in the print queue,
// on the paper of the printer's defaults. With no printer on the system the user is offered the
// PDF file instead; a printer that is gone or turns the print-out away is told. True when the
// print-out went to a printer that took it or into a PDF file, from the preview too; false for
// a preview only looked at, a cancel or a failure.
bool PrintOut(QWidget* window, Session& session, const QString& documentName,
              const PrintLayOut& layOut);

// Writes what layOut gives into the PDF file at path, replaced whole, with the print options
// and the paper of the printer's defaults, as PrintOut would save it. False when the file could
// not be written (nothing is then left at path that was not there before).
bool WritePdf(const std::string& path, Session& session, const QString& documentName,
              const PrintLayOut& layOut);

// Print Setup: the current printer's paper and orientation, kept as its defaults.
void PrintSetup(QWidget* window, Session& session);

}  // namespace quantora
