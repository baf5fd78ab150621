// Printing on the desktop's printers through Qt Print Support: the page and the measure a
// print-out is laid out with, the painting of its runs in twips, and the current printer's
// own settings kept as its defaults through CUPS.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "store/print_document.h"

class QPrinter;

namespace quantora {

// The face the print-outs are set in; the system prints the nearest face it has.
inline constexpr const char* kPrintFontFamily = "MS Sans Serif";

// Sets the orientation (1 portrait, 2 landscape) and returns the page the printer then has,
// in twips, its corner the origin of every run.
PrintPage PreparePage(QPrinter& printer, int orientation);

// Measures texts as the printer prints them in the print font at points.
PrintMeasure MeasureOn(QPrinter& printer, int points);

// Prints the runs page by page on the printer (a queue, or a PDF file). Nothing is started
// for no runs. False when the printer could not be started.
bool PaintRuns(QPrinter& printer, const std::vector<PrintRun>& runs, int points);

// Whether the system has any printer at all.
bool HasPrinter();

// Keeps the page size and orientation chosen for the printer as that printer's defaults for
// every later print job, in the store lpoptions uses. The message of what failed, or nothing.
std::optional<QString> KeepAsPrinterDefaults(const QPrinter& printer);

}  // namespace quantora
