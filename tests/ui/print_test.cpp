// The print-outs as a user gets them: the print options dialog and its settings, a costing
// and a price list printed through a real print queue (a private CUPS server) and saved as
// PDF, read back with pdftotext -bbox to check where every word landed on the page, the
// preview, Cancel printing nothing, Print Setup, and a system without a printer.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "costing/job_file.h"
#include "desk_fixture.h"
#include "pricelists/item_file.h"
#include "print_server.h"
#include "store/data_file.h"
#include "ui/common/printer_setup_dialog.h"
#include "ui/pricelists/price_list_editor.h"
#include "ui/pricelists/print_options_dialog.h"

using namespace quantora;
using namespace quantora::testing;

namespace {

struct Word {
    int page;
    double xMin, yMin, xMax, yMax;
    QString text;
};
struct Pdf {
    double width = 0, height = 0;
    std::vector<Word> words;
    std::vector<Word> On(int page) const {
        std::vector<Word> found;
        for (const Word& w : words)
            if (w.page == page) found.push_back(w);
        return found;
    }
    int Pages() const { return words.empty() ? 0 : words.back().page + 1; }
};

// Every word of the PDF with its box in points, as pdftotext -bbox gives them.
Pdf ReadPdf(const std::string& file) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", QString::fromStdString(file), "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        qFatal("pdftotext could not read %s", file.c_str());
    QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    Pdf pdf;
    QRegularExpression page("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">");
    QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
        "yMax=\"([\\d.]+)\">([^<]*)</word>");
    int number = -1;
    for (const QString& line : html.split('\n')) {
        if (auto m = page.match(line); m.hasMatch()) {
            ++number;
            pdf.width = m.captured(1).toDouble();
            pdf.height = m.captured(2).toDouble();
        } else if (auto w = word.match(line); w.hasMatch()) {
            pdf.words.push_back({number, w.captured(1).toDouble(), w.captured(2).toDouble(),
                                 w.captured(3).toDouble(), w.captured(4).toDouble(),
                                 w.captured(5).replace("&amp;", "&")});
        }
    }
    return pdf;
}

// A click on the box or circle of a check box or option button.
void Tick(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

const std::string kLongName =
    "Galvanised steel roofing sheet with anti-condensation felt backing 3m";

}  // namespace

class PrintTest : public QObject, public Desk {
    Q_OBJECT

    PrintServer server;
    std::unique_ptr<TempFolder> out;

    std::string PdfPath(const char* name) { return *out / name; }

    // A job of many lines in the first group, its items in the first price list.
    void MakeLongJob(int lines) {
        WriteItemPrice(Now().Paths.ListFolder(0), "Plank", ParseAmount("4"));
        WriteItemPrice(Now().Paths.ListFolder(0), kLongName, ParseAmount("1234.5"));
        std::string job = Now().Paths.JobFolder(0) + "Shed";
        for (int i = 0; i < lines; ++i) {
            std::string item = i == 0 ? kLongName : "Plank";
            WriteLine(job, i, {0, 0, ParseAmount(i == 1 ? "12.5" : "2"), item, {}, {}});
        }
    }
    void PrintSheetAs(PrintChoice choice, const std::string& file) {
        env->dialogs.printChoices = {choice};
        env->dialogs.pdfFile = file;
        Sheet()->findChild<QAction*>("MenuPrint")->trigger();
    }

    // The costing print-out of MakeLongJob(80) where the painter put it: its title, columns
    // and second page. What is cut and dotted is the layout's own test.
    void ExpectCostingLayout(const Pdf& pdf) {
        QVERIFY(pdf.width < pdf.height);  // portrait
        QCOMPARE(pdf.Pages(), 2);
        std::vector<Word> first = pdf.On(0);
        // The title centred at the one-inch top margin.
        auto title = std::find_if(first.begin(), first.end(),
                                  [](const Word& w) { return w.text == "Shed"; });
        QVERIFY(title != first.end());
        QVERIFY(std::abs((title->xMin + title->xMax) / 2 - pdf.width / 2) < 1.0);
        QVERIFY(std::abs(title->yMin - 72) < 4);
        for (const Word& w : first) QVERIFY(w.yMin >= title->yMin);
        // Prices end at one x, sub totals at another, further right.
        double priceRight = -1, subTotalRight = -1;
        for (const Word& w : first) {
            if (w.text == "4.00") {
                if (priceRight < 0) priceRight = w.xMax;
                QVERIFY(std::abs(w.xMax - priceRight) < 0.5);
            }
            if (w.text == "8.00") {
                if (subTotalRight < 0) subTotalRight = w.xMax;
                QVERIFY(std::abs(w.xMax - subTotalRight) < 0.5);
            }
        }
        QVERIFY(priceRight > 0 && subTotalRight > priceRight);
        QVERIFY(std::abs(subTotalRight - (pdf.width - 50)) < 1.0);  // 1,000 twips from the edge
        // The second page starts at the top margin, without the title.
        std::vector<Word> second = pdf.On(1);
        double top = second.front().yMin;
        for (const Word& w : second) top = std::min(top, w.yMin);
        QVERIFY(std::abs(top - 72) < 4);
        QVERIFY(std::none_of(second.begin(), second.end(),
                             [](const Word& w) { return w.text == "Shed"; }));
    }

  private slots:
    void initTestCase() {
        if (std::optional<std::string> failure = server.Start()) QFAIL(failure->c_str());
    }
    void init() {
        StartDesk();
        out = std::make_unique<TempFolder>();
    }
    void cleanup() { FinishDesk(); }

    void theOptionsDialogShowsAndWritesTheFourSettings() {
        Now().ChangeSetting(&Settings::PrintFontSize, 12);
        PrintOptionsDialog dialog(window.get(), Now());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Print Output"));
        QVERIFY(dialog.findChild<QRadioButton*>("SizeOpt2")->isChecked());
        QVERIFY(dialog.findChild<QRadioButton*>("TopMarginOption2")->isChecked());
        QVERIFY(!dialog.findChild<QCheckBox*>("PortraitOption")->isChecked());
        Tick(dialog.findChild<QCheckBox*>("PortraitOption"));
        Tick(dialog.findChild<QRadioButton*>("TopMarginOption6"));
        Tick(dialog.findChild<QRadioButton*>("SizeOpt0"));
        Tick(dialog.findChild<QCheckBox*>("TitleOption"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
        QCOMPARE(dialog.Choice(), PrintChoice::Cancel);
        // Cancel only stops the print: what was clicked is kept, on disk too.
        Settings saved = ReadSettings(Now().Paths.defaultFolder);
        QCOMPARE(saved.PrintOrientation, std::int16_t(2));
        QCOMPARE(saved.PrintTopMargin, std::int16_t(6));
        QCOMPARE(saved.PrintFontSize, std::int16_t(8));
        QCOMPARE(saved.PrintTitle, std::int16_t(0));
    }

    void aCostingPrintedThroughTheQueueArrivesWhole() {
        MakeLongJob(80);
        OpenJob("Shed");
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_COMPARE(server.Documents().size(), std::size_t(1));
        Pdf printed = ReadPdf(server.Documents().back());
        QCOMPARE(printed.Pages(), 2);
        QVERIFY(std::any_of(printed.words.begin(), printed.words.end(),
                            [](const Word& w) { return w.text == "Shed"; }));
    }

    void aCostingSavedAsPdfHasTheLayoutOfThePrintOut() {
        MakeLongJob(80);
        OpenJob("Shed");
        std::string file = PdfPath("Shed.pdf");
        WriteBytes(file, "an older file of that name");
        PrintSheetAs(PrintChoice::SavePdf, file);
        QCOMPARE(env->dialogs.pdfSuggestions.back(), QString("Shed.pdf"));
        ExpectCostingLayout(ReadPdf(file));
        // It replaced the old file whole, through a file of its own that is gone.
        QCOMPARE(QDir(QString::fromStdString(out->path())).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Shed.pdf"});
        // A file that cannot be made is said, not passed over.
        PrintSheetAs(PrintChoice::SavePdf, PdfPath("no such folder/Shed.pdf"));
        QCOMPARE(env->dialogs.asked.back().text,
                 QString::fromStdString("The PDF file " + PdfPath("no such folder/Shed.pdf") +
                                        " could not be written."));
    }

    void landscapeThePreviewAndCancel() {
        MakeLongJob(3);
        OpenJob("Shed");
        Now().ChangeSetting(&Settings::PrintOrientation, 2);
        std::string file = PdfPath("wide.pdf");
        PrintSheetAs(PrintChoice::SavePdf, file);
        Pdf pdf = ReadPdf(file);
        QVERIFY(pdf.width > pdf.height);
        // The preview paints the pages the printer would print, and printing from it prints
        // exactly those.
        std::size_t before = server.Documents().size();
        PrintSheetAs(PrintChoice::Preview, "");
        QCOMPARE(env->dialogs.previews, 1);
        QTRY_COMPARE(server.Documents().size(), before + 1);
        Pdf previewed = ReadPdf(server.Documents().back());
        QVERIFY(previewed.width > previewed.height);
        QCOMPARE(previewed.words.size(), pdf.words.size());
        for (std::size_t i = 0; i < pdf.words.size(); ++i) {
            QCOMPARE(previewed.words[i].text, pdf.words[i].text);
            QVERIFY(std::abs(previewed.words[i].xMin - pdf.words[i].xMin) < 0.1);
        }
        // Cancel prints nothing and asks nothing more.
        env->dialogs.pdfSuggestions.clear();
        PrintSheetAs(PrintChoice::Cancel, PdfPath("none.pdf"));
        QVERIFY(!Exists(PdfPath("none.pdf")));
        QVERIFY(env->dialogs.pdfSuggestions.empty());
        // Ctrl+P is Print.
        env->dialogs.printChoices = {PrintChoice::Cancel};
        QTest::keyClick(Quant(0), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(env->dialogs.printOptionsShown, 4);
    }

    // The quote's words as printed, and the copy kept in the data folder, the one file there.
    QStringList KeptQuotes() {
        return QDir(QString::fromStdString(Now().Paths.QuoteFolder()))
            .entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    static QStringList Texts(const Pdf& pdf) {
        QStringList texts;
        for (const Word& w : pdf.words) texts << w.text;
        return texts;
    }
    void OpenKitchenJob() {
        WriteItemPrice(Now().Paths.ListFolder(0), "Plank", ParseAmount("4"));
        WriteItemPrice(Now().Paths.ListFolder(0), "Bolt", ParseAmount("2.5"));
        std::string job = Now().Paths.JobFolder(0) + "Kitchen";
        WriteLine(job, 0, {0, 0, ParseAmount("2"), "Plank", {}, {}});
        WriteLine(job, 1, {0, 0, ParseAmount("12.5"), "Bolt", {}, {}});
        OpenJob("Kitchen");
    }
    void PrintQuoteAs(PrintChoice choice, const std::optional<QuoteTerms>& terms) {
        env->dialogs.quoteTerms = terms;
        env->dialogs.printChoices = {choice};
        Sheet()->findChild<QAction*>("MenuPrintQuote")->trigger();
    }

    void aQuoteWithHiddenPricesShowsTheCustomerTheTotalAndNoPriceOfTheShop() {
        OpenKitchenJob();
        std::string kiru = ReadBytes(Now().Paths.defaultFolder + "Kiru.ini");
        env->dialogs.pdfFile = PdfPath("quote.pdf");
        PrintQuoteAs(PrintChoice::SavePdf,
                     QuoteTerms{"Amelia Hart", "Kitchen extension\nValid for 30 days", 20, false});
        QCOMPARE(env->dialogs.quoteOffers.back(), QuoteTerms{});  // nothing remembered yet
        QCOMPARE(env->dialogs.pdfSuggestions.back(), QString("Quote Kitchen.pdf"));
        QStringList words = Texts(ReadPdf(PdfPath("quote.pdf")));
        for (const char* shown : {"Quote", "Amelia", "Hart", "Kitchen", "Valid", "Total", "47.10"})
            QVERIFY2(words.contains(shown), shown);
        // 2 planks at 4.00 and 12.5 bolts at 2.50: neither those prices, their amounts, nor
        // the marked-up unit prices reach the customer.
        for (const char* hidden : {"4.00", "2.50", "8.00", "31.25", "39.25", "4.80", "3.00"})
            QVERIFY2(!words.contains(hidden), hidden);
        // The copy the shop keeps is the quote as the customer got it.
        QStringList kept = KeptQuotes();
        QCOMPARE(kept.size(), 1);
        QVERIFY(QRegularExpression("^Kitchen \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.pdf$")
                    .match(kept.front())
                    .hasMatch());
        QCOMPARE(Texts(ReadPdf(Now().Paths.QuoteFolder() + kept.front().toStdString())), words);
        // The markup and the choice are offered again; Kiru.ini has not moved a byte.
        QCOMPARE(ReadBytes(Now().Paths.defaultFolder + "Kiru.ini"), kiru);
        int optionsShown = env->dialogs.printOptionsShown;
        PrintQuoteAs(PrintChoice::SavePdf, std::nullopt);
        QCOMPARE(env->dialogs.quoteOffers.back(), (QuoteTerms{"", "", 20, false}));
        QCOMPARE(env->dialogs.printOptionsShown, optionsShown);  // cancelled: nothing more asked
        QCOMPARE(KeptQuotes().size(), 1);
    }

    void aQuotePrintedThroughTheQueueIsKeptAndAPreviewIsNot() {
        OpenKitchenJob();
        std::size_t before = server.Documents().size();
        PrintQuoteAs(PrintChoice::Print, QuoteTerms{"Amelia Hart", "", 20, true});
        QTRY_COMPARE(server.Documents().size(), before + 1);
        QStringList printed = Texts(ReadPdf(server.Documents().back()));
        for (const char* shown : {"4.80", "3.00", "9.60", "37.50", "47.10"})
            QVERIFY2(printed.contains(shown), shown);
        QVERIFY(!printed.contains("4.00") && !printed.contains("2.50"));
        QCOMPARE(KeptQuotes().size(), 1);
        QCOMPARE(Texts(ReadPdf(Now().Paths.QuoteFolder() + KeptQuotes().front().toStdString())),
                 printed);
        // Only a quote that went out is kept: a preview only looked at, or a PDF that could not
        // be written, is not.
        env->dialogs.previewPrints = false;
        PrintQuoteAs(PrintChoice::Preview, QuoteTerms{"Amelia Hart", "", 20, true});
        QCOMPARE(env->dialogs.previews, 1);
        env->dialogs.pdfFile = PdfPath("no such folder/quote.pdf");
        PrintQuoteAs(PrintChoice::SavePdf, QuoteTerms{"Amelia Hart", "", 20, true});
        QCOMPARE(KeptQuotes().size(), 1);
        // Printed from the preview, it went out: it is kept beside the first, in the same
        // minute, never over it.
        env->dialogs.previewPrints = true;
        PrintQuoteAs(PrintChoice::Preview, QuoteTerms{"Amelia Hart", "", 20, true});
        QTRY_COMPARE(server.Documents().size(), before + 2);
        QCOMPARE(KeptQuotes().size(), 2);
        env->dialogs.pdfFile = PdfPath("again.pdf");
        PrintQuoteAs(PrintChoice::SavePdf, QuoteTerms{"Amelia Hart", "", 20, true});
        QTRY_COMPARE(KeptQuotes().size(), 3);
    }

    // Once a quote went out, opening the job says how far its cost has moved since, and Price
    // Changes can list the lines that moved since the quote.
    void anOpeningSaysHowFarTheCostMovedSinceTheQuote() {
        OpenKitchenJob();
        env->dialogs.pdfFile = PdfPath("quote.pdf");
        PrintQuoteAs(PrintChoice::SavePdf, QuoteTerms{"Amelia Hart", "", 20, true});
        Sheet()->findChild<QAction*>("MenuSave")->trigger();
        Sheet()->close();
        QTRY_VERIFY(!Sheet());
        WriteItemPrice(Now().Paths.ListFolder(0), "Bolt", ParseAmount("2.6"));
        OpenJob("Kitchen");
        auto* note = Sheet()->findChild<QLabel*>("PriceChangeNote");
        QVERIFY(note);
        QVERIFY2(note->text().startsWith(QString::fromUtf8(
                     "Prices changed since last saved: 1 line; total 39.25 \u2192 40.50 (+3.2 "
                     "%); cost +3.2 % since the quote to Amelia Hart of ")),
                 qPrintable(note->text()));
        int lines = -1;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto closing = qScopeGuard([box] { box->reject(); });
            auto* sinceQuote = box->findChild<QCheckBox*>("ChangesSinceQuote");
            QVERIFY(sinceQuote);
            sinceQuote->setChecked(true);
            auto* list = box->findChild<QTreeWidget*>("ChangedLines");
            lines = list->topLevelItemCount();
            QCOMPARE(list->topLevelItem(0)->text(0), QString("Bolt"));
        });
        Sheet()->findChild<QAction*>("MenuPriceChanges")->trigger();
        QCOMPARE(lines, 1);
    }

    // The markup offered next time is the one a quote last went out with: a quote cancelled
    // at the print options leaves it as it was.
    void theMarkupIsRememberedOnlyWhenAQuoteGoesOut() {
        OpenKitchenJob();
        env->dialogs.pdfFile = PdfPath("quote.pdf");
        PrintQuoteAs(PrintChoice::SavePdf, QuoteTerms{"", "", 20, false});
        PrintQuoteAs(PrintChoice::Cancel, QuoteTerms{"", "", 35, true});
        QCOMPARE(KeptQuotes().size(), 1);
        PrintQuoteAs(PrintChoice::Cancel, std::nullopt);
        QCOMPARE(env->dialogs.quoteOffers.back(), (QuoteTerms{"", "", 20, false}));
    }

    void aPriceListPrintsItsShownItemsWithPricesEndingTogether() {
        WriteItemPrice(Now().Paths.ListFolder(0), "Nails", ParseAmount("0.5"));
        WriteItemPrice(Now().Paths.ListFolder(0), "Hammer", ParseAmount("1234.5"));
        PriceListEditor editor(window.get(), Now(), "My First Price List");
        editor.show();
        QTRY_COMPARE(editor.Model().LastIndex(), 1);
        std::size_t before = server.Documents().size();
        env->dialogs.printChoices = {PrintChoice::Print};
        QTest::keyClick(editor.findChild<QLineEdit*>("AddText"), Qt::Key_P, Qt::ControlModifier);
        QTRY_COMPARE(server.Documents().size(), before + 1);
        Pdf pdf = ReadPdf(server.Documents().back());
        std::vector<Word> words = pdf.On(0);
        auto find = [&](const QString& text) {
            auto at = std::find_if(words.begin(), words.end(),
                                   [&](const Word& w) { return w.text == text; });
            if (at == words.end()) qFatal("no word %s", qPrintable(text));
            return *at;
        };
        Word hammer = find("1,234.50"), nails = find("0.50");
        QVERIFY(std::abs(hammer.xMax - nails.xMax) < 0.5);
        QVERIFY(std::abs(hammer.xMax - (pdf.width - 72)) < 1.0);
    }

    // The printer's default paper, however it was set, is the paper of the print-out: its
    // size, the job's media, and the columns laid out for that width.
    void aCostingPrintsOnThePaperOfThePrintersDefaults() {
        MakeLongJob(80);
        OpenJob("Shed");
        server.Run("lpoptions", {"-p", "Quantora_Test", "-o", "media=Letter"});
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_VERIFY(!server.Documents().empty());
        Pdf letter = ReadPdf(server.Documents().back());
        QVERIFY(std::abs(letter.width - 612) < 1 && std::abs(letter.height - 792) < 1);
        ExpectCostingLayout(letter);

        // A5 chosen in Print Setup, which opened on the Letter kept before.
        std::size_t before = server.Documents().size();
        env->dialogs.printerChoice = PrinterDefaults{"", QPageSize(QPageSize::A5)};
        Sheet()->findChild<QAction*>("MenuPrintSetup")->trigger();
        QVERIFY(env->dialogs.setupOpenedOn);
        QCOMPARE(env->dialogs.setupOpenedOn->printer, QString("Quantora_Test"));
        QCOMPARE(env->dialogs.setupOpenedOn->paper.id(), QPageSize::Letter);
        QVERIFY(env->dialogs.asked.empty());
        std::string kept = server.KeptDefaults();
        QVERIFY2(kept.find("media=A5") != std::string::npos, kept.c_str());
        QVERIFY2(kept.find("orientation-requested=3") != std::string::npos, kept.c_str());
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_COMPARE(server.Documents().size(), before + 1);
        Pdf a5 = ReadPdf(server.Documents().back());
        QVERIFY(std::abs(a5.width - 419.5) < 1 && std::abs(a5.height - 595.3) < 1);
        // The columns are laid out for that width: sub totals end 1,000 twips from its edge.
        int subTotals = 0;
        for (const Word& w : a5.On(0)) {
            if (w.text != "8.00") continue;
            ++subTotals;
            QVERIFY(std::abs(w.xMax - (a5.width - 50)) < 1.0);
        }
        QVERIFY(subTotals > 10);
        QVERIFY(a5.Pages() > letter.Pages());
        // The job names its paper: the attribute media, a value of two bytes, A5.
        const std::string media(
            "media\0\x02"
            "A5",
            9);
        QVERIFY(server.NewestJobAttributes().find(media) != std::string::npos);

        // Set outside the program: the print-out follows it, and Print Setup opens on it.
        server.Run("lpoptions", {"-p", "Quantora_Test", "-o", "media=A4"});
        env->dialogs.printerChoice.reset();
        Sheet()->findChild<QAction*>("MenuPrintSetup")->trigger();
        QCOMPARE(env->dialogs.setupOpenedOn->paper.id(), QPageSize::A4);
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_COMPARE(server.Documents().size(), before + 2);
        Pdf a4 = ReadPdf(server.Documents().back());
        QVERIFY(std::abs(a4.width - 595.3) < 1);
        // Landscape in the print options still turns that paper.
        Now().ChangeSetting(&Settings::PrintOrientation, 2);
        server.Run("lpoptions", {"-p", "Quantora_Test", "-o", "media=A5"});
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_COMPARE(server.Documents().size(), before + 3);
        Pdf wide = ReadPdf(server.Documents().back());
        QVERIFY(std::abs(wide.width - 595.3) < 1 && std::abs(wide.height - 419.5) < 1);
        Now().ChangeSetting(&Settings::PrintOrientation, 1);
        server.Run("lpoptions", {"-p", "Quantora_Test", "-r", "media"});
    }

    // A queue without a driver names no papers of its own: Print Setup offers the common ones,
    // keeps the one chosen as the queue's default, and the print-out comes out on it.
    void aQueueWithoutADriverOffersTheCommonPapers() {
        MakeLongJob(3);
        OpenJob("Shed");
        std::optional<PrinterDefaults> current = CurrentPrinterDefaults();
        QVERIFY(current);
        QCOMPARE(current->printer, QString("Quantora_Test"));
        PrinterSetupDialog setup(Sheet(), Now(), *current);
        auto* paper = setup.findChild<QComboBox*>("Paper");
        QStringList offered;
        for (int row = 0; row < paper->count(); ++row) offered << paper->itemText(row);
        for (QPageSize::PageSizeId id :
             {QPageSize::A4, QPageSize::A5, QPageSize::Letter, QPageSize::Legal})
            QVERIFY2(offered.contains(QPageSize(id).name()), qPrintable(offered.join(", ")));
        paper->setCurrentIndex(offered.indexOf(QPageSize(QPageSize::A5).name()));

        env->dialogs.printerChoice = setup.Chosen();
        Sheet()->findChild<QAction*>("MenuPrintSetup")->trigger();
        QVERIFY(env->dialogs.asked.empty());
        std::string kept = server.KeptDefaults();
        QVERIFY2(kept.find("media=A5") != std::string::npos, kept.c_str());
        std::size_t before = server.Documents().size();
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_COMPARE(server.Documents().size(), before + 1);
        Pdf a5 = ReadPdf(server.Documents().back());
        QVERIFY(std::abs(a5.width - 419.5) < 1 && std::abs(a5.height - 595.3) < 1);
        env->dialogs.printerChoice.reset();
        server.Run("lpoptions", {"-p", "Quantora_Test", "-r", "media"});
    }

    // A queue with a printer driver keeps what the user chose too, and prints on it.
    void aDriverQueueKeepsThePaperChosen() {
        server.AddDriverQueue();
        server.Run("lpoptions", {"-d", "Quantora_Driver"});
        MakeLongJob(3);
        OpenJob("Shed");
        env->dialogs.printerChoice = PrinterDefaults{"", QPageSize(QPageSize::A5)};
        Sheet()->findChild<QAction*>("MenuPrintSetup")->trigger();
        QCOMPARE(env->dialogs.setupOpenedOn->printer, QString("Quantora_Driver"));
        std::string kept = server.KeptDefaults();
        QVERIFY2(kept.find("Quantora_Driver") != std::string::npos, kept.c_str());
        QVERIFY2(kept.find("media=A5") != std::string::npos, kept.c_str());
        std::size_t before = server.Documents().size();
        PrintSheetAs(PrintChoice::Print, "");
        QTRY_COMPARE(server.Documents().size(), before + 1);
        Pdf a5 = ReadPdf(server.Documents().back());
        QVERIFY(std::abs(a5.width - 419.5) < 1);
        server.Run("lpoptions", {"-d", "Quantora_Test"});
        server.Run("lpadmin", {"-x", "Quantora_Driver"});
    }

    // A queue that turns print jobs away: the user is told, in the printer's words, that
    // nothing was printed. A stopped queue holds the job, which is no error.
    void aRefusedPrintJobIsTold() {
        MakeLongJob(3);
        OpenJob("Shed");
        server.Run("cupsreject", {"Quantora_Test"});
        std::size_t before = server.Documents().size();
        PrintSheetAs(PrintChoice::Print, "");
        server.Run("cupsaccept", {"Quantora_Test"});
        QCOMPARE(env->dialogs.asked.size(), 1u);
        QVERIFY2(env->dialogs.asked[0].text.startsWith(
                     "Nothing was printed. The printer Quantora_Test did not take the print-out: "),
                 qPrintable(env->dialogs.asked[0].text));
        QCOMPARE(server.Documents().size(), before);

        server.Run("cupsdisable", {"Quantora_Test"});
        PrintSheetAs(PrintChoice::Print, "");
        server.Run("cupsenable", {"Quantora_Test"});
        QCOMPARE(env->dialogs.asked.size(), 1u);
        QTRY_COMPARE(server.Documents().size(), before + 1);
    }

    void printOutputTabsToTheChosenOptionsInScreenOrder() {
        PrintOptionsDialog dialog(window.get(), Now());
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* landscape = dialog.findChild<QCheckBox*>("PortraitOption");
        landscape->setFocus();
        QStringList reached;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            reached << dialog.focusWidget()->objectName();
        }
        QCOMPARE(reached, (QStringList{"TitleOption", "SizeOpt1", "TopMarginOption2", "Command1"}));
        // Space on a reached option changes nothing; the arrows move the choice.
        dialog.findChild<QRadioButton*>("SizeOpt1")->setFocus();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Space);
        QCOMPARE(Now().Settings().PrintFontSize, std::int16_t(10));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Down);
        QCOMPARE(Now().Settings().PrintFontSize, std::int16_t(12));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        QCOMPARE(dialog.focusWidget()->objectName(), QString("TopMarginOption2"));
        Now().ChangeSetting(&Settings::PrintFontSize, 10);
    }

    // Last: it takes the queue away.
    void withNoPrinterPrintOffersAPdfFile() {
        server.RemoveQueue();
        MakeLongJob(2);
        OpenJob("Shed");
        env->dialogs.answers = {PromptAnswer::Yes};
        std::string file = PdfPath("instead.pdf");
        PrintSheetAs(PrintChoice::Print, file);
        QCOMPARE(env->dialogs.asked.size(), 1u);
        QVERIFY(env->dialogs.asked[0].text.startsWith("There is no printer on this computer"));
        QVERIFY(ReadPdf(file).Pages() == 1);
        // Print Setup says the printer cannot be opened.
        Sheet()->findChild<QAction*>("MenuPrintSetup")->trigger();
        QCOMPARE(
            env->dialogs.asked.back().text,
            QString("Cannot open the printer specified (make sure the printername is correct)."));
    }
};

QUANTORA_WINDOW_TEST_MAIN(PrintTest)
#include "print_test.moc"
