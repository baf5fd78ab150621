// Sounds and dialogs for benchmarks of windows: they cost nothing and answer at once, so only
// the window's own work is measured.
#pragma once

#include <optional>
#include <string>

#include "platform/sounds.h"
#include "ui/common/dialogs.h"

namespace quantora::bench {

class QuietSounds : public Sounds {
  public:
    void PlayPing() override {}
    void PlayAsterisk() override {}
};

// Says No to every question and Continue to a wipe; a folder dialog answers with nextFolder,
// a file dialog with importFile or csvFile.
class AnsweringDialogs : public Dialogs {
  public:
    using Dialogs::Dialogs;
    PromptAnswer Ask(QWidget*, const QString&, PromptIcon, PromptButtons) override {
        return PromptAnswer::No;
    }
    std::optional<QString> AskName(QWidget*, const QString&, QPoint) override { return {}; }
    std::optional<std::string> BrowseFolder(QWidget*, const QString&, const std::string&) override {
        return nextFolder;
    }
    bool ConfirmWipe(QWidget*, const QString&, const QString&) override { return true; }
    PrintChoice AskPrintOptions(QWidget*, Session&) override { return PrintChoice::Cancel; }
    std::optional<std::string> AskPdfFile(QWidget*, const QString&) override { return {}; }
    bool ShowPreview(QWidget*, QPrinter&, const std::function<void(QPrinter*)>&) override {
        return false;
    }
    bool EditPrinterSettings(QWidget*, Session&, PrinterDefaults&) override { return false; }
    std::optional<QuoteTerms> AskQuoteTerms(QWidget*, const QuoteTerms&) override {
        return std::nullopt;
    }
    std::optional<std::string> AskImportFile(QWidget*) override { return importFile; }
    std::optional<CsvFileChoice> AskCsvSaveFile(QWidget*, const QString&, const QString&) override {
        return csvFile;
    }
    // The import's preview is taken as the file's guesses made it.
    bool ReviewImport(QWidget*, ImportReview&) override { return true; }
    void ShowFatal(const QString&) override {}

    std::optional<std::string> nextFolder;
    std::optional<std::string> importFile;
    std::optional<CsvFileChoice> csvFile;
};

}  // namespace quantora::bench
