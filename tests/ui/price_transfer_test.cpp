// A supplier's file into the price list editor and the list out again, as a user meets them:
// the preview and its choices, a cancel that writes nothing, deleting only the items missing
// from the file, undoing an import, and the exported file.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "app/stopped_work.h"
#include "costing/job_file.h"
#include "pricelists/item_file.h"
#include "pricelists/price_export.h"
#include "pricelists/price_history.h"
#include "services/pause.h"
#include "ui/common/shown_work.h"
#include "ui/common/stopped_work_window.h"
#include "ui/pricelists/price_list_editor.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

namespace {

// Every file of the folder, hidden ones too, with its bytes.
// The list's files, its price history aside: that only ever grows.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != kPriceHistoryRecord)
            files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return files;
}

}  // namespace

class PriceTransferTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<PriceListEditor> window;
    TempFolder files;

    std::string Folder() { return env->session->Paths.ListFolder(0); }
    void Item(const std::string& name, const char* price) {
        WriteItemPrice(Folder(), name, ParseAmount(price));
    }
    std::string Supplier(const std::string& csv) {
        WriteBytes(files / "supplier.csv", csv);
        return files / "supplier.csv";
    }
    void Open() {
        window =
            std::make_unique<PriceListEditor>(owner.get(), *env->session, "My First Price List");
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(window->ListLoaded());
    }
    void Choose(const char* action) {
        auto* menu = window->findChild<QMenu*>("FM");
        emit menu->aboutToShow();
        QAction* item = window->findChild<QAction*>(action);
        QVERIFY(item->isEnabled());
        item->trigger();
    }
    QString Row(int r) { return window->findChild<QLabel*>(QString("Item%1").arg(r))->text(); }
    QString RowPrice(int r) {
        return window->findChild<QLabel*>(QString("Price%1").arg(r))->text();
    }

  private slots:
    void initTestCase() { SetPausesEnabled(false); }
    void init() {
        env = std::make_unique<Environment>();
        owner = std::make_unique<QWidget>();
        owner->setGeometry(100, 100, 700, 500);
    }
    void cleanup() {
        window.reset();
        owner.reset();
        env.reset();
    }

    // The preview shows each guess, follows each change at once, and asks for the decimal
    // mark the prices do not settle.
    void thePreviewFollowsEveryChoice() {
        Item("Nails", "1");
        Item("Glue", "2");
        ImportFile file("Name;Price\nNails;1,50\nGlue;2\nPipe 3/4in;1.234,5\nBad;x\n");
        ListContents list = ReadListContents(Folder());
        ImportReview review{file, list, GuessChoices(file), {}};
        ImportPreviewDialog dialog(nullptr, env->dialogs, review);
        auto* counts = dialog.findChild<QLabel*>("Counts");
        QCOMPARE(dialog.findChild<QComboBox*>("Delimiter")->currentText(), QString("Semicolon"));
        QCOMPARE(dialog.findChild<QComboBox*>("DecimalMark")->currentIndex(), 1);
        QCOMPARE(counts->text(),
                 QString("1 new item, 1 changed price, 1 unchanged, 1 refused line"));
        auto* firstLines = dialog.findChild<QTableWidget*>("FirstLines");
        QCOMPARE(firstLines->item(2, 1)->text(), QString("Pipe 3/4in"));
        QCOMPARE(firstLines->item(2, 2)->text(), QString::fromUtf8("Pipe \u00BEin"));
        QCOMPARE(firstLines->item(0, 4)->text(), QString("1.00 to 1.50"));
        QCOMPARE(dialog.findChild<QTableWidget*>("Refused")->item(0, 1)->text(),
                 QString("The price \"x\" is not an amount."));

        // The refused lines go to a file of their own, each with its reason, to be mended.
        env->dialogs.csvSaveFile = CsvFileChoice{files / "refused.csv", CsvForm::SemicolonComma};
        QTest::mouseClick(dialog.findChild<QPushButton*>("SaveRefused"), Qt::LeftButton);
        QCOMPARE(ReadBytes(files / "refused.csv"),
                 std::string("\xEF\xBB\xBFName;Price;Reason\r\n"
                             "Bad;x;\"Line 5: The price \"\"x\"\" is not an amount.\"\r\n"));

        dialog.findChild<QCheckBox*>("Mend")->setChecked(false);
        QCOMPARE(counts->text(),
                 QString("0 new items, 1 changed price, 1 unchanged, 2 refused lines"));
        dialog.findChild<QComboBox*>("MissingItems")->setCurrentIndex(1);
        dialog.findChild<QCheckBox*>("Mend")->setChecked(true);
        QCOMPARE(counts->text(),
                 QString("1 new item, 1 changed price, 1 unchanged, 1 refused line"));
        QVERIFY(review.choices.deleteMissing);

        dialog.findChild<QComboBox*>("Delimiter")->setCurrentIndex(2);  // tabs: one column
        QVERIFY2(counts->text().startsWith("0 new items, 0 changed prices, 0 unchanged, 4 refused"),
                 qPrintable(counts->text()));

        ImportFile unclear("Name;Price\nBoard;1,234\n");
        ImportReview asking{unclear, list, GuessChoices(unclear), {}};
        ImportPreviewDialog question(nullptr, env->dialogs, asking);
        question.show();
        auto* importButton = question.findChild<QPushButton*>("ImportButton");
        QVERIFY(question.findChild<QLabel*>("MarkQuestion")->isVisible());
        QVERIFY(!importButton->isEnabled());
        question.findChild<QComboBox*>("DecimalMark")->setCurrentIndex(0);
        QVERIFY(importButton->isEnabled());
        QCOMPARE(question.findChild<QLabel*>("Counts")->text(),
                 QString("1 new item, 0 changed prices, 0 unchanged, 0 refused lines"));
        QCOMPARE(asking.plan.lines.at(0).price, Amount::Whole(1234));
    }

    void cancellingThePreviewWritesNothing() {
        Item("Nails", "1");
        auto before = Snapshot(Folder());
        Open();
        env->dialogs.importFile = Supplier("Name,Price\nNails,5\nNew,1\n");
        env->dialogs.reviewImport = [](ImportReview& review) {
            review.choices.deleteMissing = true;
            return false;
        };
        Choose("FMImport");
        QCOMPARE(env->dialogs.reviewedPlans.size(), std::size_t(1));
        QCOMPARE(Snapshot(Folder()), before);
        QCOMPARE(Row(0), QString("Nails"));
    }

    void anImportDeletingMissingItemsDeletesOnlyThoseAndCanBeUndone() {
        Item("Keep", "1");
        Item("Gone", "2");
        Item("Old price", "3");
        auto before = Snapshot(Folder());
        Open();
        env->dialogs.importFile = Supplier("Item;Cost\nkeep;1\nOld price;4,50\nAdded;7\n");
        env->dialogs.reviewImport = [](ImportReview& review) {
            review.choices.deleteMissing = true;
            return true;
        };
        Choose("FMImport");
        QCOMPARE(ListItemNames(Folder()).size(), std::size_t(3));
        QVERIFY(!std::filesystem::exists(Folder() + "Gone"));
        // The editor shows the new list at once.
        QCOMPARE(Row(0), QString("Added"));
        QCOMPARE(Row(1), QString("Keep"));
        QCOMPARE(RowPrice(2), QString("4.50"));
        QCOMPARE(env->sounds.pings, 1);

        env->dialogs.answers = {PromptAnswer::Yes};
        Choose("FMUndoImport");
        QCOMPARE(Snapshot(Folder()), before);
        QCOMPARE(Row(0), QString("Gone"));
        QCOMPARE(RowPrice(0), QString("2.00"));
        // The history tells why each price is what it is: imported from the supplier's file,
        // then put back.
        std::vector<PriceHistoryEntry> history = ReadPriceHistory(Folder());
        auto old = LastChangeTo(history, "old price", ParseAmount("3"));
        QVERIFY(old);
        QCOMPARE(old->source, PriceSource::Undone);
        QCOMPARE(old->oldPrice, ParseAmount("4.5"));
        auto imported = std::find_if(history.begin(), history.end(), [](const auto& entry) {
            return entry.source == PriceSource::Imported && entry.item == "Old price";
        });
        QVERIFY(imported != history.end());
        QCOMPARE(imported->file, std::string("supplier.csv"));
        QCOMPARE(imported->newPrice, ParseAmount("4.5"));
    }

    // The start after a kill halfway through a big import finishes it in a window that names
    // the list and grows its bar; a start with nothing to finish shows no window at all.
    void theStartShowsTheStoppedImportItFinishes() {
        std::string csv = "Name,Price\n";
        for (int i = 0; i < 300; ++i) csv += "Board " + std::to_string(i) + ",2.50\n";
        ImportFile file(csv);
        ImportPlan plan = PlanImport(file, GuessChoices(file), ReadListContents(Folder()));
        struct Killed {};
        try {
            ApplyImport(Folder(), plan, [](std::size_t done, std::size_t) {
                if (done == 40) throw Killed();
            });
        } catch (const Killed&) {
        }
        QVERIFY(ListItemNames(Folder()).size() < 300);

        StoppedWorkWindow stopped;
        bool shownWhileWorking = false;
        stopped.Run([&](const StoppedImportProgress& progress) {
            FinishStoppedWork(env->session->Paths, [&](const std::string& list, std::size_t done,
                                                       std::size_t total) {
                progress(list, done, total);
                // A disk slower than this one: the window's turns come between the items.
                QThread::usleep(500);
                if (done == total)
                    ShownWork::OnWindows([&] { shownWhileWorking = stopped.isVisible(); });
            });
        });
        QVERIFY(shownWhileWorking);
        QVERIFY(!stopped.isVisible());
        QCOMPARE(stopped.findChild<QLabel*>("StoppedWorkMessage")->text(),
                 QString::fromStdString(FinishingImportMessage("My First Price List")));
        QCOMPARE(ListItemNames(Folder()).size(), std::size_t(300));
        QCOMPARE(ReadItemPrice(Folder(), "Board 299"), ParseAmount("2.50"));

        StoppedWorkWindow nothing;
        nothing.Run([&](const StoppedImportProgress& progress) {
            FinishStoppedWork(env->session->Paths, progress);
        });
        QCOMPARE(nothing.findChild<QLabel*>("StoppedWorkMessage")->text(), QString());
    }

    void aChangeByHandEndsTheUndo() {
        Open();
        env->dialogs.importFile = Supplier("Name,Price\nNails,5\n");
        env->dialogs.reviewImport = [](ImportReview&) { return true; };
        Choose("FMImport");
        auto* menu = window->findChild<QMenu*>("FM");
        emit menu->aboutToShow();
        QVERIFY(window->findChild<QAction*>("FMUndoImport")->isEnabled());
        window->findChild<QLineEdit*>("AddText")->setText("Screws");
        window->findChild<QLineEdit*>("AddPrice")->setText("2");
        QTest::mouseClick(window->findChild<QPushButton*>("AddBtn"), Qt::LeftButton);
        emit menu->aboutToShow();
        QVERIFY(!window->findChild<QAction*>("FMUndoImport")->isEnabled());
    }

    void aFileThatIsNoTextIsRefusedInPlainWords() {
        Open();
        WriteBytes(files / "picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0", 12));
        env->dialogs.importFile = files / "picture.png";
        env->dialogs.reviewImport = [](ImportReview&) { return true; };
        Choose("FMImport");
        QCOMPARE(env->dialogs.asked.size(), std::size_t(1));
        QVERIFY(env->dialogs.asked[0].text.startsWith("This file holds no text"));
        QVERIFY(env->dialogs.reviewedPlans.empty());
    }

    // Before a price changes: which costings use the item last chosen.
    void theCostingsUsingAnItemAreShown() {
        Item("Nails", "1");
        WriteBytes(env->session->Paths.JobFolder(0) + "Shed",
                   EncodeJobLine({0, 0, Amount::Whole(4), "nails", {}, {}}));
        Open();
        window->findChild<QLineEdit*>("AddText")->setText("Nails");
        QString summary;
        int rows = -1;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            summary = box->findChild<QLabel*>("UsedSummary")->text();
            rows = box->findChild<QTreeWidget*>("UsedBy")->topLevelItemCount();
            static_cast<QDialog*>(box)->reject();
        });
        Choose("FMWhereUsed");
        QCOMPARE(rows, 1);
        QCOMPARE(summary, QString("\"Nails\" is used by 1 job directly and 0 through other jobs."));

        // Nothing typed: the item of the highlighted row.
        window->findChild<QLineEdit*>("AddText")->clear();
        summary.clear();
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            summary = box->findChild<QLabel*>("UsedSummary")->text();
            static_cast<QDialog*>(box)->reject();
        });
        Choose("FMWhereUsed");
        QCOMPARE(summary, QString("\"Nails\" is used by 1 job directly and 0 through other jobs."));
        QVERIFY(env->dialogs.asked.empty());
    }

    // In a list with no item at all, Where Used says what to choose.
    void whereUsedWithNoItemSaysWhatToChoose() {
        Open();
        Choose("FMWhereUsed");
        QCOMPARE(env->dialogs.asked.size(), size_t(1));
        QCOMPARE(env->dialogs.asked[0].text, QString(kChooseAnItemFirst));
    }

    void theExportedListIsTheListInTheEditorsOrder() {
        Item("saw", "20");
        Item("Axe", "1234.5");
        Item("=cheap", "0.0001");
        Open();
        env->dialogs.csvSaveFile = CsvFileChoice{files / "out.csv", CsvForm::SemicolonComma};
        Choose("FMExport");
        QCOMPARE(env->dialogs.csvSaveAsked.at(0), QString("Export Items: My First Price List.csv"));
        QCOMPARE(ReadBytes(files / "out.csv"),
                 std::string(
                     "\xEF\xBB\xBFName;Price\r\n'=cheap;0,0001\r\nAxe;1234,50\r\nsaw;20,00\r\n"));
    }
};

QUANTORA_WINDOW_TEST_MAIN(PriceTransferTest)
#include "price_transfer_test.moc"
