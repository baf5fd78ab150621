// The one dialog service: every message box, the name dialog, folder browsing, the wipe
// confirmation and the fatal data-file message go through a Dialogs, so tests answer them
// synchronously through a recording fake and read their exact texts. Line breaks in texts are "\n".
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "costing/quote.h"
#include "pricelists/price_export.h"

class QPrinter;
class QWidget;

namespace quantora {

class KeyLatch;
class Session;
struct ImportReview;
struct PrinterDefaults;
class Sounds;

enum class PromptIcon { None, Exclamation };
// TryAgainQuit and TryAgainCancel: "Try Again" with "Quit" or "Cancel", which answers Cancel;
// TryAgainReadOnlyQuit: "Try Again", "Open Read-Only" and "Quit".
enum class PromptButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    TryAgainQuit,
    TryAgainCancel,
    TryAgainReadOnlyQuit
};
enum class PromptAnswer { Ok, Cancel, Yes, No, TryAgain, ReadOnly };
// What "Print Output" was left with.
enum class PrintChoice { Cancel, Print, Preview, SavePdf };
// A CSV file to write and the form its file type chose.
struct CsvFileChoice {
    std::string path;
    CsvForm form = CsvForm::CommaPoint;
};

class Dialogs {
  public:
    explicit Dialogs(KeyLatch& keys) : keys_(keys) {}
    virtual ~Dialogs() = default;

    // A message box captioned with the program title; the button chosen (Cancel, or No
    // with Yes/No, when the box is closed without one).
    virtual PromptAnswer Ask(QWidget* parent, const QString& text, PromptIcon icon,
                             PromptButtons buttons) = 0;
    // Ask, then set the key latch, so the key that closed the box does not act again in
    // the window beneath.
    PromptAnswer AskAndLatch(QWidget* parent, const QString& text, PromptIcon icon,
                             PromptButtons buttons);

    // The name dialog "New Name..." at topLeft (screen coordinates), offering a name: the
    // entered name trimmed ("Untitled" for none), or nothing when cancelled. Closing it,
    // either way, sets the key latch.
    virtual std::optional<QString> AskName(QWidget* parent, const QString& offered,
                                           QPoint topLeft) = 0;

    // A folder chosen by the user under the title, ending in "/", the chooser opening at
    // start; nothing when cancelled.
    virtual std::optional<std::string> BrowseFolder(QWidget* parent, const QString& title,
                                                    const std::string& start) = 0;

    // The confirmation shown before the files of a folder are erased and replaced, with its
    // two lines: true to continue, false when cancelled (or closed).
    virtual bool ConfirmWipe(QWidget* parent, const QString& headline, const QString& detail) = 0;

    // "Print Output" over parent: the print options, written as they are clicked, and what to
    // do with the print-out.
    virtual PrintChoice AskPrintOptions(QWidget* parent, Session& session) = 0;
    // The PDF file to save a print-out in, offering suggested; nothing when cancelled.
    virtual std::optional<std::string> AskPdfFile(QWidget* parent, const QString& suggested) = 0;
    // The pages paint draws on printer, shown as they would print. True when the user printed
    // them from the preview.
    virtual bool ShowPreview(QWidget* parent, QPrinter& printer,
                             const std::function<void(QPrinter*)>& paint) = 0;
    // "Print Setup": the printer's paper and orientation for the user to change, starting
    // from defaults; true when the user kept the changes, which are then in defaults.
    virtual bool EditPrinterSettings(QWidget* parent, Session& session,
                                     PrinterDefaults& defaults) = 0;

    // "Print Quote": the customer, the note, the markup and whether unit prices show, starting
    // from offered; nothing when cancelled.
    virtual std::optional<QuoteTerms> AskQuoteTerms(QWidget* parent, const QuoteTerms& offered) = 0;

    // A supplier's file to import, from "CSV and text files"; nothing when cancelled.
    virtual std::optional<std::string> AskImportFile(QWidget* parent) = 0;
    // A CSV file to write, under title, offering suggested; the file type chosen gives the
    // form (comma and decimal point by default). Nothing when cancelled.
    virtual std::optional<CsvFileChoice> AskCsvSaveFile(QWidget* parent, const QString& title,
                                                        const QString& suggested) = 0;
    // The import's preview: true when the user chose to import, the choices made there then
    // in review. Nothing is written meanwhile.
    virtual bool ReviewImport(QWidget* parent, ImportReview& review) = 0;

    // The message of a data file that cannot be opened or deleted. The caller ends the
    // program as soon as it returns.
    virtual void ShowFatal(const QString& text) = 0;

  protected:
    KeyLatch& keys_;
};

// The desktop's real dialogs.
class DesktopDialogs : public Dialogs {
  public:
    // The name dialog plays the error sound for a character no name can hold.
    // ownSettingsFile keeps the folder the file dialogs last chose in.
    DesktopDialogs(KeyLatch& keys, Sounds& sounds, std::string ownSettingsFile)
        : Dialogs(keys), sounds_(sounds), ownSettingsFile_(std::move(ownSettingsFile)) {}
    PromptAnswer Ask(QWidget* parent, const QString& text, PromptIcon icon,
                     PromptButtons buttons) override;
    std::optional<QString> AskName(QWidget* parent, const QString& offered,
                                   QPoint topLeft) override;
    std::optional<std::string> BrowseFolder(QWidget* parent, const QString& title,
                                            const std::string& start) override;
    bool ConfirmWipe(QWidget* parent, const QString& headline, const QString& detail) override;
    PrintChoice AskPrintOptions(QWidget* parent, Session& session) override;
    std::optional<std::string> AskPdfFile(QWidget* parent, const QString& suggested) override;
    bool ShowPreview(QWidget* parent, QPrinter& printer,
                     const std::function<void(QPrinter*)>& paint) override;
    bool EditPrinterSettings(QWidget* parent, Session& session, PrinterDefaults& defaults) override;
    std::optional<QuoteTerms> AskQuoteTerms(QWidget* parent, const QuoteTerms& offered) override;
    std::optional<std::string> AskImportFile(QWidget* parent) override;
    std::optional<CsvFileChoice> AskCsvSaveFile(QWidget* parent, const QString& title,
                                                const QString& suggested) override;
    bool ReviewImport(QWidget* parent, ImportReview& review) override;
    void ShowFatal(const QString& text) override;

  private:
    // Where a file dialog opens, and noting where the user chose a file.
    QString FileFolder() const;
    void Remember(const QString& chosenFile) const;

    Sounds& sounds_;
    std::string ownSettingsFile_;
};

}  // namespace quantora
