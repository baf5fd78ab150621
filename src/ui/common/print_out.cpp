#include "ui/common/print_out.h"

#include <QPrinter>
#include <QWidget>

#include "platform/printer.h"
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
    if (choice == PrintChoice::SavePdf) {
        std::optional<std::string> file = session.dialogs.AskPdfFile(window, documentName + ".pdf");
        if (!file) return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(*file));
    }
    // The options as they stand once the dialog has closed.
    const Settings& options = session.Settings();
    auto paint = [&](QPrinter* target) {
        PrintPage page = PreparePage(*target, options.PrintOrientation);
        PaintRuns(*target, layOut(page, MeasureOn(*target, options.PrintFontSize)),
                  options.PrintFontSize);
    };
    if (choice == PrintChoice::Preview)
        session.dialogs.ShowPreview(window, printer, paint);
    else
        paint(&printer);
}

void PrintSetup(QWidget* window, Session& session) {
    if (!HasPrinter()) {
        session.dialogs.AskAndLatch(
            window, "Cannot open the printer specified (make sure the printername is correct).",
            PromptIcon::None, PromptButtons::Ok);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!session.dialogs.EditPrinterSettings(window, printer)) return;
    if (std::optional<QString> failure = KeepAsPrinterDefaults(printer))
        session.dialogs.AskAndLatch(window, *failure, PromptIcon::None, PromptButtons::Ok);
    window->repaint();
}

}  // namespace quantora
