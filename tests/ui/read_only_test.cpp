// A second desk that only reads a data folder another desk holds: offered at start, said in
// the caption, every writing action off while costings open, print and export, and the folder
// taken over once the other desk lets it go.
#include <sys/stat.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <map>

#include "costing/job_file.h"
#include "datafolder/read_only_desk.h"
#include "desk_fixture.h"
#include "folder_tree.h"
#include "other_desk.h"
#include "pricelists/item_file.h"
#include "services/pause.h"
#include "store/data_file.h"
#include "store/own_settings.h"
#include "ui/common/data_folder_hold.h"
#include "ui/pricelists/price_list_editor.h"

using namespace quantora;
using namespace quantora::testing;

class ReadOnlyTest : public QObject, public Desk {
    Q_OBJECT

    std::unique_ptr<OtherDesk> front;
    TempFolder own;

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    void OpenMenu(const char* name) {
        QMenu* menu = window->findChild<QMenu*>(name);
        menu->popup(window->mapToGlobal(QPoint(0, 0)));
        menu->hide();
    }

    // The first-run folder with a second group and a priced job, held by the front desk, and
    // this desk's management window reading it.
    void StartReadingDesk() {
        env = std::make_unique<Environment>();
        const DataPaths paths = Now().Paths;
        WriteBytes(paths.GroupIndex(), Slot("My First Group") + Slot("Zinc"));
        EnsureFolder(paths.JobFolder(1));
        WriteBytes(paths.JobFolder(1) + "Roof", "");
        WriteItemPrice(paths.ListFolder(0), "Nails", Amount::Whole(2));
        WriteBytes(
            paths.JobFolder(0) + "Shed",
            EncodeJobLine({0, 0, Amount::Whole(3), "Nails", Amount::Whole(1), Amount::Whole(3)}));
        front = std::make_unique<OtherDesk>(paths.dataFolder);
        QVERIFY(front->Held());
        Settings settings = Now().Settings();
        DataPaths reading = ReadOnlyPaths(paths, own / "work/", own / "docs/");
        EnsureFolder(reading.WorkFolder());
        env->session = std::make_unique<Session>(env->home.path(), reading, settings, env->keys,
                                                 env->sounds, env->dialogs);
        Now().OwnSettingsFile = env->config / "quantora/quantora.conf";
        Now().ReadOnlyHold = LookAtHold(paths.dataFolder, "counter");
        window = std::make_unique<ManagementWindow>(*env->session);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

  private slots:
    void initTestCase() { SetPausesEnabled(false); }
    void cleanup() {
        if (window) FinishDesk();
        env.reset();
        front.reset();
    }

    void aHeldFolderOffersToOpenReadOnly() {
        env = std::make_unique<Environment>();
        front = std::make_unique<OtherDesk>(Now().Paths.dataFolder);
        DeskHold hold;
        env->dialogs.answers = {PromptAnswer::TryAgain, PromptAnswer::ReadOnly};
        QCOMPARE(HoldDataFolder(nullptr, env->dialogs, hold, Now().Paths.dataFolder,
                                PromptButtons::TryAgainReadOnlyQuit),
                 HoldChoice::ReadOnly);
        QCOMPARE(env->dialogs.asked.size(), std::size_t(2));
        QCOMPARE(env->dialogs.asked[0].buttons, PromptButtons::TryAgainReadOnlyQuit);
        QVERIFY(env->dialogs.asked[0].text.contains("anne on the computer front-desk"));
        QVERIFY(!hold.Holds());
    }

    void theMessageOffersOpenReadOnlyBetweenTryAgainAndQuit() {
        env = std::make_unique<Environment>();
        DesktopDialogs dialogs(env->keys, env->sounds, env->config / "quantora.conf");
        QStringList buttons;
        QTimer::singleShot(0, [&buttons] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* button : box->buttons()) buttons << button->text();
            box->findChild<QAbstractButton*>("OpenReadOnly")->click();
        });
        QCOMPARE(dialogs.Ask(nullptr, "in use", PromptIcon::Exclamation,
                             PromptButtons::TryAgainReadOnlyQuit),
                 PromptAnswer::ReadOnly);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Quit", "&Try Again", "Open &Read-Only"}));
    }

    void theCaptionSaysWhoWorksThereAndEveryWritingActionIsOff() {
        StartReadingDesk();
        auto before = TreeOf(Now().Paths.dataFolder);
        std::string kiru = ReadBytes(env->home / kSettingsFileName);
        window->ShowClock();
        QVERIFY(window->windowTitle().startsWith(" Quantora "));
        QVERIFY2(window->windowTitle().endsWith(" (read only: in use by anne on front-desk)"),
                 qPrintable(window->windowTitle()));
        for (const char* name : {"FMNew", "JMNew", "LMNew", "MnuBackup"})
            QVERIFY2(!Action(name)->isEnabled(), name);
        OpenMenu("FM");
        OpenMenu("JM");
        OpenMenu("LM");
        for (const char* name : {"FMRename", "FMDelete", "JMRename", "JMCut", "JMCopy", "JMPaste",
                                 "JMDelete", "LMRename", "LMDelete"})
            QVERIFY2(!Action(name)->isEnabled(), name);
        for (const char* name : {"JMOpen", "JMFind", "JMWhereUsed", "LMOpen"})
            QVERIFY2(Action(name)->isEnabled(), name);

        // Choosing another group is this desk's own setting, kept out of Kiru.ini.
        auto* groups = window->findChild<QListWidget*>("FolderList");
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Down);
        QCOMPARE(Now().Settings().CurrentGroup, std::int16_t(1));
        QCOMPARE(window->findChild<QListWidget*>("JobList")->item(0)->text(), QString("Roof"));
        QCOMPARE(ReadBytes(env->home / kSettingsFileName), kiru);
        Settings kept =
            ReadOnlySettings(ReadOwnSettings(Now().OwnSettingsFile).readOnlySettings, Settings{});
        QCOMPARE(kept.CurrentGroup, std::int16_t(1));
        QCOMPARE(TreeOf(Now().Paths.dataFolder), before);
    }

    void aCostingOpensPricedAndChangesNothing() {
        StartReadingDesk();
        auto before = TreeOf(Now().Paths.dataFolder);
        OpenJob("Shed");
        // Priced from the list as it stands, as always.
        QCOMPARE(Label("Price", 0), QString("2.00"));
        QVERIFY(Sheet()->windowTitle().contains("(read only: in use by anne on front-desk)"));
        for (const char* name :
             {"MenuSave", "MenuSaveAs", "MenuDelete", "MenuPickPrice", "MenuSort", "MenuDelLine"})
            QVERIFY2(!In<QAction>(name)->isEnabled(), name);
        for (const char* name : {"MenuPrint", "MenuPrintQuote", "MenuExportCsv"})
            QVERIFY2(In<QAction>(name)->isEnabled(), name);
        QTest::keyClicks(Quant(0), "7");
        QCOMPARE(Quant(0)->text(), QString("3"));
        QCOMPARE(env->sounds.asterisks, 1);
        QTest::keyClick(Quant(0), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(env->sounds.pings, 0);
        // A quote goes out, and its copy is kept in the user's documents, where it is said.
        env->dialogs.quoteTerms = QuoteTerms{"Mrs Lee", "", 10, true};
        env->dialogs.printChoices = {PrintChoice::SavePdf};
        env->dialogs.pdfFile = own / "quote.pdf";
        In<QAction>("MenuPrintQuote")->trigger();
        QVERIFY(Exists(own / "quote.pdf"));
        std::string kept;
        for (const auto& entry : std::filesystem::directory_iterator(own / "docs/Quantora Quotes/"))
            if (entry.path().extension() == ".pdf") kept = entry.path().string();
        QVERIFY(!kept.empty());
        QCOMPARE(env->dialogs.asked.size(), std::size_t(1));
        QCOMPARE(env->dialogs.asked[0].text, QString::fromStdString(QuoteKeptElsewhereNote(kept)));
        env->dialogs.asked.clear();
        // Its working copy is its own; leaving asks nothing, though the price moved.
        QVERIFY(Exists(own / "work/Temp.job"));
        Quant(0)->setFocus();
        QTest::keyClick(Quant(0), Qt::Key_Escape);
        QTRY_VERIFY(!Sheet());
        QVERIFY(env->dialogs.asked.empty());
        QCOMPARE(TreeOf(Now().Paths.dataFolder), before);
    }

    void thePriceListEditorFindsItemsAndRefusesChanges() {
        StartReadingDesk();
        auto before = TreeOf(Now().Paths.dataFolder);
        PriceListEditor editor(window.get(), Now(), "My First Price List");
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QVERIFY(!editor.findChild<QPushButton*>("AddBtn")->isEnabled());
        QVERIFY(!editor.findChild<QAction*>("FMImport")->isEnabled());
        auto* name = editor.findChild<QLineEdit*>("AddText");
        name->setFocus();
        QTest::keyClicks(name, "Screws");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(env->dialogs.asked.size(), std::size_t(1));
        QCOMPARE(env->dialogs.asked[0].text, QString(kReadOnlyRefusal));
        QCOMPARE(TreeOf(Now().Paths.dataFolder), before);
    }

    void theFolderFreedIsOfferedOnceAndTakenOver_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("closed") << false;
        QTest::newRow("killed") << true;
    }
    void theFolderFreedIsOfferedOnceAndTakenOver() {
        QFETCH(bool, killed);
        StartReadingDesk();
        window->ShowClock();
        QVERIFY(env->dialogs.asked.empty());  // still held: nothing to say
        killed ? front->Kill() : front->Close();
        env->dialogs.answers = {PromptAnswer::Yes};
        window->ShowClock();
        QCOMPARE(env->dialogs.asked.size(), std::size_t(1));
        QVERIFY(env->dialogs.asked[0].text.startsWith(
            "anne on the computer front-desk has closed the data folder "));
        QVERIFY(!Now().ReadOnly());
        QVERIFY(Now().Hold.Holds());
        QVERIFY(!window->windowTitle().contains("read only"));
        QVERIFY(Action("FMNew")->isEnabled());
        QVERIFY(!Exists(own / "work"));
        // Working there now: a new job goes into the folder.
        env->dialogs.names = {QString("Porch")};
        Action("JMNew")->trigger();
        QVERIFY(Sheet());
        QVERIFY(Exists(Now().Paths.dataFolder + "Temp.job"));
        QVERIFY(Exists(Now().Paths.JobFolder(0) + "Porch"));
    }

    void aDeskThatKeepsReadingIsNotAskedAgain() {
        StartReadingDesk();
        front->Close();
        env->dialogs.answers = {PromptAnswer::No};
        window->ShowClock();
        window->ShowClock();
        QCOMPARE(env->dialogs.asked.size(), std::size_t(1));
        QVERIFY(Now().ReadOnly());
        QVERIFY(!Action("FMNew")->isEnabled());
    }
};

QUANTORA_WINDOW_TEST_MAIN(ReadOnlyTest)
#include "read_only_test.moc"
