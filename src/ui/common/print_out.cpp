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

void PrintOut(QWidget* window, Session& session, const QString& documentName,
              const PrintLayOut& layOut) {
    TakeMonitorOffset(session, window);
    PrintChoice choice = session.dialogs.AskPrintOptions(window, session);
    if (choice == PrintChoice::Cancel) return;
    if (choice == PrintChoice::Print && !HasPrinter()) {
        PromptAnswer instead = session.dialogs.AskAndLatch(
            window,
            "There is no printer on this computer, so the print-out cannot be printed.\n\n"
            "Would you like to save it as a PDF file instead?",
            PromptIcon::Exclamation, PromptButtons::YesNo);
        if (instead != PromptAnswer::Yes) return;
        choice = PrintChoice::SavePdf;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    // The paper the printer's defaults name, whatever the print-out goes to.
    std::optional<QString> gone = UseDefaultPaper(printer);
    std::optional<std::string> pdf;
    std::string partial;
    if (choice == PrintChoice::SavePdf) {
        pdf = session.dialogs.AskPdfFile(window, documentName + ".pdf");
        if (!pdf) return;
        // The file is written under a hidden name beside it and then takes its name, so a PDF
        // it replaces is never left half overwritten.
        std::size_t slash = pdf->rfind('/');
        partial = pdf->substr(0, slash == std::string::npos ? 0 : slash + 1) + TemporaryFileName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(partial));
    }
    // The options as they stand once the dialog has closed.
    const Settings& options = session.Settings();
    // False when the printer or the file could not be started; a printer that turns the job
    // away says so once it is sent.
    auto paint = [&](QPrinter* target) {
        PrintPage page = PreparePage(*target, options.PrintOrientation);
        return PaintRuns(*target, layOut(page, MeasureOn(*target, options.PrintFontSize)),
                         options.PrintFontSize);
    };
    if (choice == PrintChoice::Preview) {
        session.dialogs.ShowPreview(window, printer, [&](QPrinter* target) { paint(target); });
        return;
    }
    if (gone && !pdf) {
        session.dialogs.AskAndLatch(window, *gone, PromptIcon::Exclamation, PromptButtons::Ok);
        return;
    }
    bool painted = paint(&printer);
    if (!pdf) {
        if (std::optional<QString> refused = PrintRefusal(printer))
            session.dialogs.AskAndLatch(window, *refused, PromptIcon::Exclamation,
                                        PromptButtons::Ok);
        return;
    }
    // An empty print-out makes no file at all.
    bool kept = painted && (!FileExists(partial) || ::rename(partial.c_str(), pdf->c_str()) == 0);
    if (!kept) {
        ::unlink(partial.c_str());
        session.dialogs.AskAndLatch(
            window, "The PDF file " + QString::fromStdString(*pdf) + " could not be written.",
            PromptIcon::Exclamation, PromptButtons::Ok);
    }
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
