#include "ui/common/print_out.h"

#include <unistd.h>

#include <QPrinter>
#include <QWidget>
#include <cstdio>

#include "platform/printer.h"
#include "store/data_file.h"
#include "ui/common/dialogs.h"
#include "ui/common/window_placement.h"
#include "ui/session.h"

namespace quantora {

namespace {

// Paints the print-out on the printer with the print options as they stand. False when the
// printer or the file could not be started.
bool Paint(QPrinter& printer, const Settings& options, const PrintLayOut& layOut) {
    PrintPage page = PreparePage(printer, options.PrintOrientation);
    return PaintRuns(printer, layOut(page, MeasureOn(printer, options.PrintFontSize)),
                     options.PrintFontSize);
}

// Paints the print-out on the printer as a PDF file at path. The file is written under a
// hidden name beside it and then takes its name, so a PDF it replaces is never left half
// overwritten. An empty print-out makes no file at all.
bool PaintPdf(QPrinter& printer, const std::string& path, const Settings& options,
              const PrintLayOut& layOut) {
    std::size_t slash = path.rfind('/');
    std::string partial =
        path.substr(0, slash == std::string::npos ? 0 : slash + 1) + TemporaryFileName();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(partial));
    bool painted = Paint(printer, options, layOut);
    if (painted && (!FileExists(partial) || ::rename(partial.c_str(), path.c_str()) == 0))
        return true;
    ::unlink(partial.c_str());
    return false;
}

}  // namespace

bool PrintOut(QWidget* window, Session& session, const QString& documentName,
              const PrintLayOut& layOut) {
    TakeMonitorOffset(session, window);
    PrintChoice choice = session.dialogs.AskPrintOptions(window, session);
    if (choice == PrintChoice::Cancel) return false;
    if (choice == PrintChoice::Print && !HasPrinter()) {
        PromptAnswer instead = session.dialogs.AskAndLatch(
            window,
            "There is no printer on this computer, so the print-out cannot be printed.\n\n"
            "Would you like to save it as a PDF file instead?",
            PromptIcon::Exclamation, PromptButtons::YesNo);
        if (instead != PromptAnswer::Yes) return false;
        choice = PrintChoice::SavePdf;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    // The paper the printer's defaults name, whatever the print-out goes to.
    std::optional<QString> gone = UseDefaultPaper(printer);
    // The options as they stand once the dialog has closed.
    const Settings& options = session.Settings();
    if (choice == PrintChoice::Preview)
        return session.dialogs.ShowPreview(
            window, printer, [&](QPrinter* target) { Paint(*target, options, layOut); });
    if (choice == PrintChoice::SavePdf) {
        std::optional<std::string> pdf = session.dialogs.AskPdfFile(window, documentName + ".pdf");
        if (!pdf) return false;
        if (PaintPdf(printer, *pdf, options, layOut)) return true;
        session.dialogs.AskAndLatch(
            window, "The PDF file " + QString::fromStdString(*pdf) + " could not be written.",
            PromptIcon::Exclamation, PromptButtons::Ok);
        return false;
    }
    if (gone) {
        session.dialogs.AskAndLatch(window, *gone, PromptIcon::Exclamation, PromptButtons::Ok);
        return false;
    }
    // A printer that turns the job away says so once it is sent.
    bool painted = Paint(printer, options, layOut);
    if (std::optional<QString> refused = PrintRefusal(printer)) {
        session.dialogs.AskAndLatch(window, *refused, PromptIcon::Exclamation, PromptButtons::Ok);
        return false;
    }
    return painted;
}

bool WritePdf(const std::string& path, Session& session, const QString& documentName,
              const PrintLayOut& layOut) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    UseDefaultPaper(printer);
    return PaintPdf(printer, path, session.Settings(), layOut);
}

void PrintSetup(QWidget* window, Session& session) {
    if (!HasPrinter()) {
        session.dialogs.AskAndLatch(
            window, "Cannot open the printer specified (make sure the printername is correct).",
            PromptIcon::None, PromptButtons::Ok);
        return;
    }
    std::optional<PrinterDefaults> defaults = CurrentPrinterDefaults();
    if (!defaults || !session.dialogs.EditPrinterSettings(window, session, *defaults)) return;
    if (std::optional<QString> failure = KeepAsPrinterDefaults(*defaults))
        session.dialogs.AskAndLatch(window, *failure, PromptIcon::None, PromptButtons::Ok);
    window->repaint();
}

}  // namespace quantora
