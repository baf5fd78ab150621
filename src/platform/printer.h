// Printing on the desktop's printers through Qt Print Support: the page and the measure a
// print-out is laid out with, the painting of its runs in twips, the paper the printer's
// defaults name, the current printer's own settings kept as its defaults through CUPS, and a
// print job the printer refused.
#pragma once

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <optional>
#include <vector>

#include "services/print_document.h"

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

// The paper and orientation a printer prints on unless a print-out says otherwise.
struct PrinterDefaults {
    QString printer;
    QPageSize paper;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The default printer's defaults: the user's own (what Print Setup and lpoptions keep), else
// the queue's. Nothing when the system has no printer.
std::optional<PrinterDefaults> CurrentPrinterDefaults();

// The papers the printer offers, its default among them; the common ones for a printer that
// names none.
QList<QPageSize> PapersOf(const PrinterDefaults& defaults);

// Keeps the paper and orientation as that printer's defaults for every later print job, in the
// store lpoptions uses. The message of what failed, or nothing.
std::optional<QString> KeepAsPrinterDefaults(const PrinterDefaults& defaults);

// Makes the printer print on its default paper, and returns what to tell the user when the
// printer is gone since it was chosen (nothing when it is there).
std::optional<QString> UseDefaultPaper(QPrinter& printer);

// Right after a print-out was sent to the printer: why the printer did not take it, in its own
// words, or nothing when it did (a stopped queue that holds the job took it).
std::optional<QString> PrintRefusal(const QPrinter& printer);

}  // namespace quantora
