// The management window as a user meets it: its columns, menus and keys, the group and price
// list operations and what they leave on disk. The rules behind them are tested in the core;
// here, that the window calls them and shows what they say.
#include "ui/management/management_window.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "costing/job_file.h"
#include "manage/entry_operations.h"
#include "manage/job_operations.h"
#include "services/pause.h"
#include "store/amount.h"
#include "store/data_file.h"
#include "ui/common/application.h"
#include "ui/common/key_latch.h"
#include "ui/pricelists/price_list_editor.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

namespace {

QStringList Entries(QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

QString Selected(QListWidget* list) {
    auto selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

// Closes the price list editor as soon as it is shown, noting its caption.
void CloseEditorWhenShown(QString* caption) {
    QTimer::singleShot(0, [caption] {
        auto* editor = qobject_cast<PriceListEditor*>(QApplication::activeModalWidget());
        if (!editor) return CloseEditorWhenShown(caption);
        *caption = editor->windowTitle();
        editor->reject();
    });
}

}  // namespace

class ManagementWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;
    std::unique_ptr<ManagementWindow> window;

    QListWidget* List(const char* name) { return window->findChild<QListWidget*>(name); }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    QMenu* Menu(const char* name) { return window->findChild<QMenu*>(name); }
    Session& Now() { return *env->session; }

    void Open() {
        window = std::make_unique<ManagementWindow>(*env->session);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // Opens a column's menu from the menu bar, as the user does, and closes it again.
    void OpenMenu(const char* name) {
        QMenu* menu = Menu(name);
        menu->popup(window->mapToGlobal(QPoint(0, 0)));
        menu->hide();
    }

    void RightClick(QListWidget* list, int row) {
        QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at);
    }

    void TwoGroups() {
        WriteBytes(Now().Paths.GroupIndex(), Slot("My First Group") + Slot("Zinc"));
        EnsureFolder(Now().Paths.JobFolder(1));
        WriteBytes(Now().Paths.JobFolder(1) + "Roof", "");
        window->RefreshLists();
    }

  private slots:
    void initTestCase() { SetPausesEnabled(false); }
    void init() {
        env = std::make_unique<Environment>();
        Open();
    }
    void cleanup() {
        for (QWidget* popup = QApplication::activePopupWidget(); popup;
             popup = QApplication::activePopupWidget())
            popup->close();
        window.reset();
        env.reset();
    }

    void firstRunListsTheFirstGroupJobAndPriceList() {
        QCOMPARE(Entries(List("FolderList")), QStringList{"My First Group"});
        QCOMPARE(Selected(List("JobList")), QString("My First Job Costing"));
        QCOMPARE(Selected(List("PriceList")), QString("My First Price List"));
        QTRY_VERIFY(List("PriceList")->hasFocus());
        QStringList bar;
        for (QAction* a : window->menuBar()->actions()) bar << a->text();
        // The menus' own captions, each with an access letter.
        QCOMPARE(bar,
                 (QStringList{"Job &Groups", "&Job Quantoras", "&Price Lists", "&Tools", "&Help"}));
    }

    void menusShowWhatTheCoreSaysOfTheSelection() {
        WriteBytes(Now().Paths.GroupIndex(), Slot("Nuts & Bolts"));
        window->RefreshLists();
        OpenMenu("FM");
        // A doubled "&" is how a menu shows one "&"; the single one marks the access letter.
        QCOMPARE(Action("FMRename")->text(), QString("&Rename....    Nuts && Bolts"));
        QVERIFY(!Action("FMDelete")->isEnabled());  // the last group stays
        OpenMenu("LM");
        QCOMPARE(Action("LMDelete")->text(), QString("&Delete........    My First Price List"));
        QVERIFY(Action("LMDelete")->isEnabled());
        OpenMenu("JM");
        QCOMPARE(Action("JMCut")->text(), QString("Cu&t........     My First Job Costing"));
        QVERIFY(!Action("JMPaste")->isEnabled());
    }

    void aRefusedNameIsExplainedAndOfferedAgain_data() {
        QTest::addColumn<QString>("menuNew");
        QTest::addColumn<QString>("existing");
        QTest::newRow("group") << "FMNew"
                               << "MY FIRST GROUP";
        QTest::newRow("price list") << "LMNew"
                                    << "my first price list";
    }
    void aRefusedNameIsExplainedAndOfferedAgain() {
        QFETCH(QString, menuNew);
        QFETCH(QString, existing);
        env->dialogs.names = {existing, QString()};
        Action(menuNew.toLatin1())->trigger();
        QCOMPARE(env->dialogs.asked.size(), size_t(1));
        QCOMPARE(env->dialogs.asked[0].text, QString(kNameExists));
        QCOMPARE(env->dialogs.asked[0].icon, PromptIcon::Exclamation);
        QCOMPARE(env->dialogs.offers.size(), size_t(2));
        QCOMPARE(env->dialogs.offers[1].text, existing);
        QCOMPARE(Entries(List("FolderList")).size() + Entries(List("PriceList")).size(), 2);
    }

    void aNewGroupIsListedSelectedAndSaved() {
        env->dialogs.names = {QString("Alpha")};
        Action("FMNew")->trigger();
        QCOMPARE(Entries(List("FolderList")), (QStringList{"Alpha", "My First Group"}));
        QCOMPARE(Selected(List("FolderList")), QString("Alpha"));
        QCOMPARE(ReadSettings(env->home.path()).CurrentGroup, 1);  // saved through the session
        QVERIFY(Entries(List("JobList")).isEmpty());
    }

    void deletingAsksAndOnlyGroupsLatchTheNextKey() {
        TwoGroups();
        // A key still held from answering the question, as when a box closes on its press.
        QTest::keyPress(window.get(), Qt::Key_Shift);
        env->dialogs.answers = {PromptAnswer::Ok};
        Action("FMDelete")->trigger();
        QCOMPARE(env->dialogs.asked.back().text,
                 QString("Are you sure you want to delete My First Group    \n\nAnd all its "
                         "contents?    "));
        QVERIFY(!std::filesystem::exists(Now().Paths.JobFolder(0)));
        QCOMPARE(Selected(List("FolderList")), QString());
        QVERIFY(Entries(List("JobList")).isEmpty());
        QVERIFY(env->keys.IsSet());
        QTest::keyRelease(window.get(), Qt::Key_Shift);
        QVERIFY(!env->keys.IsSet());  // its release was the one key discarded

        QTest::keyPress(window.get(), Qt::Key_Shift);
        env->dialogs.answers = {PromptAnswer::Ok};
        Action("LMDelete")->trigger();
        QVERIFY(Entries(List("PriceList")).isEmpty());
        QVERIFY(!env->keys.IsSet());  // the next key in the window is not swallowed
        QTest::keyRelease(window.get(), Qt::Key_Shift);
    }

    // A job whose saved lines add up past the largest amount cannot open. The box that says
    // so closes on the press of Return; the release of that Return must not reach the job
    // column, where it would open the same job and the same box again, whichever way the job
    // was opened.
    void theReturnThatClosesAFailedOpeningOpensNothing() {
        const std::string job = Now().Paths.JobFolder(0) + "My First Job Costing";
        JobLine line{0,
                     0,
                     Amount::Whole(1),
                     "Gone",
                     Amount::FromRaw(INT64_MAX / 2 + 1),
                     Amount::FromRaw(INT64_MAX / 2 + 1)};
        WriteBytes(job, EncodeJobLine(line) + EncodeJobLine(line));
        QListWidget* jobs = List("JobList");
        // The box closes on Return's press; its release comes after, to the window beneath.
        env->dialogs.whileAsked = [] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            KeyLatch::Track(press);
        };
        auto closeTheBoxWithReturn = [&](const char* how) {
            QVERIFY2(env->dialogs.asked.size() == 1, how);
            QCOMPARE(env->dialogs.asked[0].text, UnexpectedErrorMessage(AmountOverflow()));
            QTest::keyRelease(jobs, Qt::Key_Return);
            QVERIFY2(env->dialogs.asked.size() == 1, how);  // not opened again
            QVERIFY(window->isVisible());
            QVERIFY(!window->findChild<QWidget*>("Sheet"));
            env->dialogs.asked.clear();
        };

        // From the Jobs menu.
        jobs->setFocus();
        QMenu* menu = Menu("JM");
        menu->popup(window->mapToGlobal(QPoint(0, 0)));
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(Action("JMOpen")).center());
        closeTheBoxWithReturn("the menu");

        // By a double click.
        QPoint at = jobs->visualItemRect(jobs->item(0)).center();
        QTest::mouseClick(jobs->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(jobs->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(jobs->viewport(), Qt::LeftButton, {}, at);
        closeTheBoxWithReturn("a double click");

        // By Enter in the job column.
        QTest::keyClick(jobs, Qt::Key_Return);
        closeTheBoxWithReturn("Enter");
        env->dialogs.whileAsked = {};
    }

    void theRightButtonNeverChangesTheSelection() {
        TwoGroups();
        RightClick(List("FolderList"), 1);  // "Zinc"; "My First Group" stays selected
        QCOMPARE(Selected(List("FolderList")), QString("My First Group"));
        QVERIFY(Menu("FM")->isVisible());
        QCOMPARE(Action("FMRename")->text(), QString("&Rename....    My First Group"));
        QVERIFY(!Now().SkipMenuOpen);  // the pop-up's own opening consumed the latch
        Menu("FM")->hide();

        // The name dialog opens below where the list was clicked.
        int clickY = List("FolderList")->visualItemRect(List("FolderList")->item(1)).center().y();
        env->dialogs.names = {QString()};
        Action("FMRename")->trigger();
        QCOMPARE(env->dialogs.offers[0].at.y(), window->frameGeometry().top() + clickY + 40);
    }

    void keysMoveBetweenColumnsAndSelectGroups() {
        TwoGroups();
        QListWidget* groups = List("FolderList");
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Down);
        QCOMPARE(Selected(groups), QString("Zinc"));
        QCOMPARE(Entries(List("JobList")), QStringList{"Roof"});
        QCOMPARE(ReadSettings(env->home.path()).CurrentGroup, 1);
        QTest::keyClick(groups, Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 2);
        QCOMPARE(Selected(groups), QString("Zinc"));  // Right never moved within the list
        QTest::keyClick(List("JobList"), Qt::Key_Right);
        QTest::keyClick(List("PriceList"), Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 3);

        // Left closed a message box on its press: its release is not for the window.
        QTest::keyPress(List("PriceList"), Qt::Key_Left);
        env->keys.Set();
        QTest::keyRelease(List("PriceList"), Qt::Key_Left);
        QCOMPARE(window->FocusColumn(), 3);  // swallowed
        QVERIFY(!env->keys.IsSet());
        QTest::keyRelease(List("PriceList"), Qt::Key_Left);
        QCOMPARE(window->FocusColumn(), 2);  // exactly once
    }

    void jobsAreCutInOneGroupAndPastedInAnother() {
        TwoGroups();
        WriteBytes(Now().Paths.JobFolder(0) + "My First Job Costing", "lines");
        Action("JMCut")->trigger();
        QVERIFY(Entries(List("JobList")).isEmpty());  // gone from the column at once
        OpenMenu("JM");
        QVERIFY(!Action("JMPaste")->isEnabled());  // never into the group it came from
        QListWidget* groups = List("FolderList");
        QTest::mouseClick(groups->viewport(), Qt::LeftButton, {},
                          groups->visualItemRect(groups->item(1)).center());
        OpenMenu("JM");
        QCOMPARE(Action("JMPaste")->text(), QString("&Paste......    My First Job Costing"));
        Action("JMPaste")->trigger();
        QCOMPARE(Entries(List("JobList")), (QStringList{"My First Job Costing", "Roof"}));
        QCOMPARE(ReadBytes(Now().Paths.JobFolder(1) + "My First Job Costing"), "lines");
        QVERIFY(!Exists(Now().Paths.JobFolder(0) + "My First Job Costing"));

        env->dialogs.names = {QString("roof")};  // a case variant of another job
        Action("JMRename")->trigger();
        QCOMPARE(env->dialogs.asked.back().text, QString(kDuplicateJobName));
        QCOMPARE(env->dialogs.asked.back().icon, PromptIcon::None);
        QCOMPARE(env->sounds.asterisks, 1);
        QCOMPARE(env->dialogs.offers.back().text, QString("roof"));  // offered again
        QTest::keyPress(window.get(), Qt::Key_Shift);  // held as the question is answered
        env->dialogs.answers = {PromptAnswer::Ok};
        Action("JMDelete")->trigger();
        QCOMPARE(Entries(List("JobList")), QStringList{"Roof"});
        QVERIFY(env->keys.IsSet());
        QTest::keyRelease(window.get(), Qt::Key_Shift);
    }

    void f10OpensTheFirstMenuAndEscGivesTheKeysBack() {
        QTRY_VERIFY(List("PriceList")->hasFocus());
        QTest::keyClick(List("PriceList"), Qt::Key_F10);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(Menu("FM")));
        QTest::keyClick(Menu("FM"), Qt::Key_Escape);
        QVERIFY(!Menu("FM")->isVisible());
        // Back in the column of that menu, where the keys work at once.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(List("FolderList")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 2);
    }

    void everyMenuOpensByAltAndItsLetterAndEveryItemByItsLetter() {
        QCOMPARE(AccessLetterFaults(window->menuBar()->actions(), "menu bar"), QStringList());
        QTRY_VERIFY(List("PriceList")->hasFocus());
        QTest::keyClick(List("PriceList"), Qt::Key_J, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(Menu("JM")));
        env->dialogs.names = {QString()};  // the name dialog, cancelled
        QTest::keyClick(Menu("JM"), Qt::Key_N);
        QCOMPARE(env->dialogs.offers.size(), 1u);  // New Job asked for a name
        QTest::keyClick(List("PriceList"), Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(Menu("FM")));
    }

    void theHelpPanelStateSurvivesARestart() {
        int tall = window->height();
        Action("HMpaneloff")->trigger();
        QVERIFY(!window->findChild<QWidget*>("HelpFrame")->isVisible());
        QVERIFY(window->height() < tall);
        QCOMPARE(ReadSettings(env->home.path()).EditHelp, std::int16_t(0));
        window.reset();
        env->Restart();
        Open();
        QVERIFY(!window->findChild<QWidget*>("HelpFrame")->isVisible());
        OpenMenu("HM");
        QVERIFY(!Action("HMpaneloff")->isEnabled());
        Action("HMPanelOn")->trigger();
        QCOMPARE(window->height(), tall);
    }

    void priceListsOpenInTheEditor() {
        QString caption;
        CloseEditorWhenShown(&caption);
        env->dialogs.names = {QString("Timber")};
        Action("LMNew")->trigger();  // a new list opens at once
        QCOMPARE(caption, QString(" Quantora -  Timber"));
        QVERIFY(std::filesystem::is_directory(Now().Paths.ListFolder(1)));

        caption.clear();
        CloseEditorWhenShown(&caption);
        List("PriceList")->setFocus();
        QTest::keyClick(List("PriceList"), Qt::Key_Return);
        QCOMPARE(caption, QString(" Quantora -  Timber"));
    }

    void aDataFileErrorIsToldAndEndsTheProgramWritingNothing() {
        TwoGroups();
        std::string groups = ReadBytes(Now().Paths.GroupIndex());
        // Kiru.ini turned into a folder: selecting a group cannot save the settings.
        std::filesystem::remove(env->home / "Kiru.ini");
        std::filesystem::create_directory(env->home / "Kiru.ini");
        int message[2];
        QVERIFY(::pipe(message) == 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::close(message[0]);
            env->dialogs.fatalPipe = message[1];
            QListWidget* list = List("FolderList");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(1)).center());
            std::_Exit(0);  // not reached: the error ends the program
        }
        ::close(message[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        char text[1024] = {};
        ssize_t length = ::read(message[0], text, sizeof text - 1);
        ::close(message[0]);
        QVERIFY(length > 0);
        QCOMPARE(QString::fromUtf8(text, static_cast<int>(length)),
                 QString::fromStdString(
                     DataFileError(DataFileError::Kind::Open, "Kiru.ini").UserMessage()));
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 1);
        QCOMPARE(ReadBytes(Now().Paths.GroupIndex()), groups);
        QVERIFY(std::filesystem::is_directory(env->home / "Kiru.ini"));
    }
};

QUANTORA_WINDOW_TEST_MAIN(ManagementWindowTest)
#include "management_window_test.moc"
