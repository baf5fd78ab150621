// What the window tests share: a fresh default folder with its first-run data and a session
// over it whose dialogs and sounds record instead of showing and playing. The recording
// dialogs answer at once from a script, so no test waits on a timer to close a dialog.
#pragma once

#include <unistd.h>

#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <deque>
#include <memory>

#include "platform/printer.h"
#include "platform/sounds.h"
#include "store/data_folder.h"
#include "store/settings.h"
#include "test_files.h"
#include "ui/common/application.h"
#include "ui/common/dialogs.h"
#include "ui/pricelists/import_preview_dialog.h"
#include "ui/session.h"

namespace quantora::testing {

struct Prompt {
    QString text;
    PromptIcon icon;
    PromptButtons buttons;
};

class RecordingDialogs : public Dialogs {
  public:
    using Dialogs::Dialogs;

    PromptAnswer Ask(QWidget*, const QString& text, PromptIcon icon,
                     PromptButtons buttons) override {
        asked.push_back({text, icon, buttons});
        if (whileAsked) whileAsked();
        if (answers.empty()) return PromptAnswer::Ok;
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answers with the next scripted name (a null QString, or none left: Cancel), noting
    // the offer; as the real dialog does, closing sets the key latch.
    std::optional<QString> AskName(QWidget*, const QString& offered, QPoint topLeft) override {
        offers.push_back({offered, topLeft});
        keys_.Set();
        if (names.empty() || names.front().isNull()) {
            if (!names.empty()) names.pop_front();
            return std::nullopt;
        }
        QString name = names.front();
        names.pop_front();
        return name;
    }
    // Answers with the next scripted folder; none left: Cancel.
    std::optional<std::string> BrowseFolder(QWidget*, const QString& title,
                                            const std::string& start) override {
        browseTitles.push_back(title);
        browseStarts.push_back(start);
        if (folders.empty()) return std::nullopt;
        std::string folder = folders.front();
        folders.pop_front();
        return folder;
    }
    // Answers with the next scripted choice; none left: Continue.
    bool ConfirmWipe(QWidget*, const QString& headline, const QString& detail) override {
        wipes.push_back({headline + "\n" + detail, PromptIcon::None, PromptButtons::OkCancel});
        if (wipeAnswers.empty()) return true;
        bool answer = wipeAnswers.front();
        wipeAnswers.pop_front();
        return answer;
    }
    // Answers the print options with the next scripted choice (none left: Cancel).
    PrintChoice AskPrintOptions(QWidget*, Session&) override {
        ++printOptionsShown;
        if (printChoices.empty()) return PrintChoice::Cancel;
        PrintChoice choice = printChoices.front();
        printChoices.pop_front();
        return choice;
    }
    std::optional<std::string> AskPdfFile(QWidget*, const QString& suggested) override {
        pdfSuggestions.push_back(suggested);
        return pdfFile;
    }
    // Paints the preview's pages on its printer, as the preview's own Print does, so a test
    // can read them where they arrive; with previewPrints off, the preview is only looked at.
    bool ShowPreview(QWidget*, QPrinter& printer,
                     const std::function<void(QPrinter*)>& paint) override {
        ++previews;
        if (!previewPrints) return false;
        paint(&printer);
        return true;
    }
    // Print Setup: the defaults it opened on, and the paper and orientation chosen there
    // (none: cancelled).
    bool EditPrinterSettings(QWidget*, Session&, PrinterDefaults& defaults) override {
        setupOpenedOn = defaults;
        if (!printerChoice) return false;
        defaults.paper = printerChoice->paper;
        defaults.orientation = printerChoice->orientation;
        return true;
    }
    // Answers with the scripted terms (none: Cancel), noting what was offered.
    std::optional<QuoteTerms> AskQuoteTerms(QWidget*, const QuoteTerms& offered) override {
        quoteOffers.push_back(offered);
        return quoteTerms;
    }
    std::optional<std::string> AskImportFile(QWidget*) override { return importFile; }
    std::optional<CsvFileChoice> AskCsvSaveFile(QWidget*, const QString& title,
                                                const QString& suggested) override {
        csvSaveAsked.push_back(title + ": " + suggested);
        return csvSaveFile;
    }
    // The preview as the test's reviewer leaves it (none: Cancel); the plan it saw is kept.
    bool ReviewImport(QWidget*, ImportReview& review) override {
        bool accepted = reviewImport && reviewImport(review);
        reviewedPlans.push_back(PlanImport(review.file, review.choices, review.list));
        return accepted;
    }
    // A test that lets the program end in a child process reads the message from a pipe.
    void ShowFatal(const QString& text) override {
        fatal.push_back(text);
        if (fatalPipe < 0) return;
        QByteArray bytes = text.toUtf8();
        [[maybe_unused]] auto written = ::write(fatalPipe, bytes.data(), bytes.size());
    }

    struct Offer {
        QString text;
        QPoint at;
    };
    std::vector<Prompt> asked;
    // What happens elsewhere while a message box waits for the user.
    std::function<void()> whileAsked;
    std::deque<PromptAnswer> answers;
    std::deque<QString> names;
    std::vector<Offer> offers;
    std::deque<std::string> folders;
    std::vector<QString> browseTitles;
    std::vector<std::string> browseStarts;
    std::vector<Prompt> wipes;
    std::deque<bool> wipeAnswers;
    int printOptionsShown = 0;
    std::deque<PrintChoice> printChoices;
    std::optional<std::string> pdfFile;
    std::vector<QString> pdfSuggestions;
    int previews = 0;
    bool previewPrints = true;
    std::optional<PrinterDefaults> printerChoice;
    std::optional<PrinterDefaults> setupOpenedOn;
    std::vector<QString> fatal;
    int fatalPipe = -1;
    std::optional<QuoteTerms> quoteTerms;
    std::vector<QuoteTerms> quoteOffers;
    std::optional<std::string> importFile;
    std::function<bool(ImportReview&)> reviewImport;
    std::vector<ImportPlan> reviewedPlans;
    std::optional<CsvFileChoice> csvSaveFile;
    std::vector<QString> csvSaveAsked;
};

// The access letters of a menu bar and of every menu under it: each menu and each item has
// one, unique where it is pressed. The letters that clash or are missing, empty when none do.
inline QStringList AccessLetterFaults(const QList<QAction*>& actions, const QString& where) {
    QStringList faults;
    QSet<int> taken;
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        int letter = QKeySequence::mnemonic(action->text())[0].key();
        if (letter == 0)
            faults << where + ": no letter in " + action->text();
        else if (taken.contains(letter))
            faults << where + ": " + action->text() + " repeats a letter";
        taken.insert(letter);
        if (action->menu() != nullptr)
            faults << AccessLetterFaults(action->menu()->actions(), action->text());
    }
    return faults;
}

class RecordingSounds : public Sounds {
  public:
    void PlayPing() override { ++pings; }
    void PlayAsterisk() override { ++asterisks; }
    int pings = 0;
    int asterisks = 0;
};

// A default folder set up as at a first start, and the session over it.
class Environment {
  public:
    Environment() {
        Restart();
        static_cast<QuantoraApplication*>(qApp)->SetDialogs(&dialogs);
    }
    ~Environment() { static_cast<QuantoraApplication*>(qApp)->SetDialogs(nullptr); }

    // Reads the settings and the data folder again, as a new start of the program does.
    void Restart() {
        Settings settings = ReadSettings(home.path());
        DataPaths paths = SetUpDataFolder(home.path(), settings).paths;
        session = std::make_unique<Session>(home.path(), paths, settings, keys, sounds, dialogs);
        session->OwnSettingsFile = config / "quantora/quantora.conf";
    }

    TempFolder home;
    TempFolder config;
    KeyLatch keys;
    RecordingDialogs dialogs{keys};
    RecordingSounds sounds;
    std::unique_ptr<Session> session;
};

}  // namespace quantora::testing

// The test program's main: the program's own application object, so keys pass through the
// key previews and errors through their one handler, as they do in the program.
#define QUANTORA_WINDOW_TEST_MAIN(TestObject)          \
    int main(int argc, char** argv) {                  \
        quantora::QuantoraApplication app(argc, argv); \
        app.setAttribute(Qt::AA_Use96Dpi, true);       \
        TestObject test;                               \
        return QTest::qExec(&test, argc, argv);        \
    }
