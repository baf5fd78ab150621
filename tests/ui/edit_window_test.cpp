// The management window as a user meets it: its columns, menus, keys and group operations,
// and what they leave on disk.
#include "ui/edit_window.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "pricelists/item_file.h"
#include "store/clock_text.h"
#include "store/data_file.h"
#include "store/pause.h"
#include "ui/prices_window.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

namespace {

QStringList Entries(QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

}  // namespace

class EditWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;
    std::unique_ptr<EditWindow> window;

    QListWidget* List(const char* name) { return window->findChild<QListWidget*>(name); }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    QMenu* Menu(const char* name) { return window->findChild<QMenu*>(name); }

    void Open() {
        window = std::make_unique<EditWindow>(*env->state);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
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

    void LeftClick(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
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
        QCOMPARE(Entries(List("JobList")), QStringList{"My First Job Costing"});
        QCOMPARE(Entries(List("PriceList")), QStringList{"My First Price List"});
        QCOMPARE(window->SelectedGroup(), QString("My First Group"));
        QCOMPARE(window->SelectedJob(), QString("My First Job Costing"));
        QCOMPARE(window->SelectedPriceList(), QString("My First Price List"));
        QTRY_VERIFY(List("PriceList")->hasFocus());
        QCOMPARE(List("PriceList")->palette().color(QPalette::Base),
                 window->palette().color(QPalette::Base));
        QCOMPARE(List("FolderList")->palette().color(QPalette::Base),
                 window->palette().color(QPalette::Button));
    }

    void menusHaveTheirCaptionsInOrder() {
        QStringList bar;
        for (QAction* a : window->menuBar()->actions()) bar << a->text();
        QCOMPARE(bar, (QStringList{"Job Groups", "Job Quantoras", "Price Lists", "Tools", "Help"}));
        QStringList jobs;
        for (QAction* a : Menu("JM")->actions()) jobs << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(jobs,
                 (QStringList{"New Job", "Open", "Rename", "-", "Cut", "Copy", "Paste", "Delete"}));
        QStringList help;
        for (QAction* a : Menu("HM")->actions()) help << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(help, (QStringList{"Hide Help Panel", "Show Help Panel", "Documentation", "-",
                                    "About Quantora"}));
    }

    void menuCaptionsNameTheSelectedEntry() {
        OpenMenu("FM");
        QCOMPARE(Action("FMRename")->text(), QString("Rename....    My First Group"));
        QCOMPARE(Action("FMDelete")->text(), QString("Delete......    My First Group"));
        QVERIFY(Action("FMRename")->isEnabled());
        QVERIFY(!Action("FMDelete")->isEnabled());  // the last group cannot be deleted

        OpenMenu("JM");
        QCOMPARE(Action("JMOpen")->text(), QString("Open......    My First Job Costing"));
        QCOMPARE(Action("JMRename")->text(), QString("Rename...    My First Job Costing"));
        QCOMPARE(Action("JMDelete")->text(), QString("Delete.....    My First Job Costing"));
        QCOMPARE(Action("JMCut")->text(), QString("Cut........     My First Job Costing"));
        QCOMPARE(Action("JMCopy")->text(), QString("Copy......     My First Job Costing"));
        QCOMPARE(Action("JMPaste")->text(), QString("Paste"));
        QVERIFY(!Action("JMPaste")->isEnabled());
        QVERIFY(Action("JMNew")->isEnabled());

        OpenMenu("LM");
        QCOMPARE(Action("LMOpen")->text(), QString("Open.........    My First Price List"));
        QCOMPARE(Action("LMRename")->text(), QString("Rename......    My First Price List"));
        QCOMPARE(Action("LMDelete")->text(), QString("Delete........    My First Price List"));
    }

    void anAmpersandInANameIsShownNotUnderlined() {
        WriteBytes(env->state->Paths.GroupIndex(), Slot("Nuts & Bolts"));
        window->RefreshLists();
        OpenMenu("FM");
        // A doubled "&" is how a menu shows one "&".
        QCOMPARE(Action("FMRename")->text(), QString("Rename....    Nuts && Bolts"));
    }

    void withNothingSelectedTheItemsArePlainAndDisabled() {
        std::filesystem::remove(env->state->Paths.JobFolder(0) + "My First Job Costing");
        window->LoadJobs();
        OpenMenu("JM");
        for (auto [name, caption] : {std::pair{"JMOpen", "Open"},
                                     {"JMRename", "Rename"},
                                     {"JMDelete", "Delete"},
                                     {"JMCut", "Cut"},
                                     {"JMCopy", "Copy"}}) {
            QCOMPARE(Action(name)->text(), QString(caption));
            QVERIFY(!Action(name)->isEnabled());
        }
    }

    void aNewGroupTakesTheLastFreeSlotAndItsFolder() {
        WriteBytes(env->state->Paths.GroupIndex(), Slot("My First Group") + std::string(70, ' ') +
                                                       Slot("Beta") + std::string(70, ' ') +
                                                       Slot("Delta"));
        window->RefreshLists();
        NameDialogScript script({"Gamma"});
        Action("FMNew")->trigger();
        QCOMPARE(script.offers.size(), size_t(1));
        QCOMPARE(script.offers[0].text, QString(""));
        QCOMPARE(ReadBytes(env->state->Paths.GroupIndex()).substr(3 * 70, 70), Slot("Gamma"));
        QVERIFY(std::filesystem::is_directory(env->state->Paths.JobFolder(3)));
        QCOMPARE(window->SelectedGroup(), QString("Gamma"));
        QCOMPARE(Entries(List("FolderList")),
                 (QStringList{"Beta", "Delta", "Gamma", "My First Group"}));
        QCOMPARE(Entries(List("JobList")), QStringList{});
        QCOMPARE(ReadSettings(env->home.path()).CurrentGroup, 3);
    }

    void duplicateNamesAreRefusedAndOfferedAgainSelected() {
        std::string before = ReadBytes(env->state->Paths.GroupIndex());
        NameDialogScript script({"my first GROUP", std::nullopt});
        Action("FMNew")->trigger();
        QCOMPARE(env->prompter.asked.size(), size_t(1));
        QCOMPARE(env->prompter.asked[0].text,
                 QString("Name already exists - Please enter another.    "));
        QCOMPARE(env->prompter.asked[0].icon, PromptIcon::Exclamation);
        QCOMPARE(script.offers.size(), size_t(2));
        QCOMPARE(script.offers[1].text, QString("my first GROUP"));
        QCOMPARE(script.offers[1].selected, QString("my first GROUP"));
        QCOMPARE(ReadBytes(env->state->Paths.GroupIndex()), before);
    }

    void renamingToItsOwnNameIsRefusedAnotherNameKeepsTheJobs() {
        NameDialogScript script({"MY FIRST GROUP", "Kitchens"});
        Action("FMRename")->trigger();
        QCOMPARE(script.offers[0].text, QString("My First Group"));
        QCOMPARE(script.offers[0].selected, QString("My First Group"));
        QCOMPARE(env->prompter.asked.size(), size_t(1));
        QCOMPARE(ReadBytes(env->state->Paths.GroupIndex()), Slot("Kitchens"));
        QCOMPARE(Entries(List("JobList")), QStringList{"My First Job Costing"});
    }

    void deletingAGroupRemovesItsFolderAndSelectsNothing() {
        NameDialogScript script({"Bathrooms"});
        Action("FMNew")->trigger();
        WriteBytes(env->state->Paths.JobFolder(1) + "Tiles", "");
        window->LoadJobs();
        QCOMPARE(Entries(List("JobList")), QStringList{"Tiles"});

        env->prompter.answers = {PromptAnswer::Cancel};
        Action("FMDelete")->trigger();
        QVERIFY(Exists(env->state->Paths.JobFolder(1) + "Tiles"));
        QCOMPARE(
            env->prompter.asked.back().text,
            QString("Are you sure you want to delete Bathrooms    \n\nAnd all its contents?    "));
        QCOMPARE(env->prompter.asked.back().buttons, PromptButtons::OkCancel);

        Action("FMDelete")->trigger();
        QVERIFY(!Exists(env->state->Paths.JobFolder(1)));
        QCOMPARE(window->SelectedGroup(), QString());
        QCOMPARE(List("JobList")->count(), 0);
        QCOMPARE(ReadSettings(env->home.path()).CurrentGroup, 0);  // -2 on disk reads back as 0
        QCOMPARE(env->state->Settings.CurrentGroup, std::int16_t(-2));
        OpenMenu("FM");
        QCOMPARE(Action("FMRename")->text(), QString("Rename"));
        QVERIFY(!Action("FMDelete")->isEnabled());

        LeftClick(List("FolderList"), 0);
        QCOMPARE(Entries(List("JobList")), QStringList{"My First Job Costing"});
    }

    void theRightButtonNeverChangesTheSelection() {
        NameDialogScript script({"Alpha"});
        Action("FMNew")->trigger();
        QCOMPARE(window->SelectedGroup(), QString("Alpha"));
        RightClick(List("FolderList"), 1);  // "My First Group"
        QCOMPARE(window->SelectedGroup(), QString("Alpha"));
        QMenu* menu = Menu("FM");
        QVERIFY(menu->isVisible());
        QCOMPARE(Action("FMRename")->text(), QString("Rename....    Alpha"));
        QVERIFY(Action("FMDelete")->isEnabled());
        QVERIFY(!env->state->SkipMenuOpen);  // the pop-up's own opening consumed the latch

        menu->hide();

        // The name dialog opens below where the list was clicked.
        int clickY = List("FolderList")->visualItemRect(List("FolderList")->item(1)).center().y();
        NameDialogScript rename({std::nullopt});
        Action("FMRename")->trigger();
        QCOMPARE(rename.offers[0].position.y(), window->frameGeometry().top() + clickY + 40);
    }

    void leftAndRightMoveBetweenColumnsNotWithinThem() {
        QListWidget* groups = List("FolderList");
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 2);
        QTest::keyClick(List("JobList"), Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 3);
        QTest::keyClick(List("PriceList"), Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 3);
        QTest::keyClick(List("PriceList"), Qt::Key_Left);
        QTest::keyClick(List("JobList"), Qt::Key_Left);
        QTest::keyClick(groups, Qt::Key_Left);
        QCOMPARE(window->FocusColumn(), 1);
        QCOMPARE(groups->palette().color(QPalette::Base), window->palette().color(QPalette::Base));
        QCOMPARE(List("PriceList")->palette().color(QPalette::Base),
                 window->palette().color(QPalette::Button));
    }

    void keysInTheGroupColumnSelectTheGroup() {
        WriteBytes(env->state->Paths.GroupIndex(), Slot("My First Group") + Slot("Zinc"));
        window->RefreshLists();
        EnsureFolder(env->state->Paths.JobFolder(1));
        WriteBytes(env->state->Paths.JobFolder(1) + "Roof", "");
        QListWidget* groups = List("FolderList");
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Down);
        QCOMPARE(window->SelectedGroup(), QString("Zinc"));
        QCOMPARE(Entries(List("JobList")), QStringList{"Roof"});
        QCOMPARE(ReadSettings(env->home.path()).CurrentGroup, 1);
    }

    void theKeyAfterAMessageBoxIsIgnoredOnce() {
        WriteBytes(env->state->Paths.GroupIndex(), Slot("My First Group") + Slot("Zinc"));
        window->RefreshLists();
        QListWidget* groups = List("FolderList");
        groups->setFocus();
        env->state->IgnoreNextKey = true;  // as a closed message box leaves it
        QTest::keyRelease(groups, Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 1);
        QVERIFY(!env->state->IgnoreNextKey);
        QTest::keyRelease(groups, Qt::Key_Right);
        QCOMPARE(window->FocusColumn(), 2);
    }

    void theHelpPanelStateSurvivesARestart() {
        QVERIFY(window->findChild<QWidget*>("HelpFrame")->isVisible());
        int tall = window->height();
        OpenMenu("HM");
        QVERIFY(Action("HMpaneloff")->isEnabled());
        QVERIFY(!Action("HMPanelOn")->isEnabled());
        Action("HMpaneloff")->trigger();
        QVERIFY(!window->findChild<QWidget*>("HelpFrame")->isVisible());
        QVERIFY(window->height() < tall);
        QCOMPARE(ReadSettings(env->home.path()).EditHelp, std::int16_t(0));

        window.reset();
        env->Restart();
        Open();
        QVERIFY(!window->findChild<QWidget*>("HelpFrame")->isVisible());
        OpenMenu("HM");
        QVERIFY(Action("HMpaneloff")->isChecked());
        QVERIFY(!Action("HMpaneloff")->isEnabled());
        QVERIFY(Action("HMPanelOn")->isEnabled());
        Action("HMPanelOn")->trigger();
        QVERIFY(window->findChild<QWidget*>("HelpFrame")->isVisible());
        QCOMPARE(window->height(), tall);
        QCOMPARE(ReadSettings(env->home.path()).EditHelp, std::int16_t(1));
    }

    void theCaptionShowsTheClock() {
        QCOMPARE(window->windowTitle(), QString(" Quantora "));
        window->ShowClock();
        std::string expected = MainCaption(DateTimeText(ClockNow()));
        std::string earlier = CaptionOneMinuteEarlier(MainCaption(DateTimeText(ClockNow())));
        QString title = window->windowTitle();
        QVERIFY(title == QString::fromStdString(expected) ||
                title == QString::fromStdString(earlier));
        QVERIFY(title.startsWith(" Quantora          "));
    }

    void aRefreshRequestReloadsTheColumnsSoon() {
        WriteBytes(env->state->Paths.JobFolder(0) + "Added meanwhile", "");
        window->RequestRefresh();
        QTRY_COMPARE(List("JobList")->count(), 2);
    }

    void aNewPriceListOpensInTheEditorAtOnce() {
        NameDialogScript script({"Timber"});
        ModalCloser<PricesWindow> editor;
        Action("LMNew")->trigger();
        QCOMPARE(editor.captions, std::vector<QString>{" Quantora -  Timber"});
        QCOMPARE(ReadBytes(env->state->Paths.PriceListIndex()),
                 Slot("My First Price List") + Slot("Timber"));
        QVERIFY(std::filesystem::is_directory(env->state->Paths.ListFolder(1)));
        QCOMPARE(window->SelectedPriceList(), QString("Timber"));
        QCOMPARE(ReadSettings(env->home.path()).CurrentList, 1);
    }

    void priceListsAreOpenedByMenuDoubleClickAndEnter() {
        ModalCloser<PricesWindow> editor;
        Action("LMOpen")->trigger();
        QListWidget* lists = List("PriceList");
        QPoint item = lists->visualItemRect(lists->item(0)).center();
        QTest::mouseClick(lists->viewport(), Qt::LeftButton, {}, item);
        QTest::mouseDClick(lists->viewport(), Qt::LeftButton, {}, item);
        lists->setFocus();
        QTest::keyClick(lists, Qt::Key_Return);
        QCOMPARE(editor.captions.size(), size_t(3));
        QCOMPARE(editor.captions[0], QString(" Quantora -  My First Price List"));
    }

    void renamingAPriceListKeepsItsItems() {
        WriteItemPrice(env->state->Paths.ListFolder(0), "Nails", ParseAmount("1"));
        NameDialogScript script({"MY FIRST PRICE LIST", "Hardware"});
        Action("LMRename")->trigger();
        QCOMPARE(env->prompter.asked.size(), size_t(1));
        QCOMPARE(env->prompter.asked[0].text,
                 QString("Name already exists - Please enter another.    "));
        QCOMPARE(ReadBytes(env->state->Paths.PriceListIndex()), Slot("Hardware"));
        QCOMPARE(window->SelectedPriceList(), QString("Hardware"));
        QVERIFY(ItemExists(env->state->Paths.ListFolder(0), "Nails"));
        // The dialog opens by the price column, not by the group column.
        QCOMPARE(
            script.offers[0].position.x(),
            window->frameGeometry().left() + window->findChild<QWidget*>("PriceFrame")->x() + 4);
    }

    void theOnlyPriceListCanBeDeleted() {
        WriteItemPrice(env->state->Paths.ListFolder(0), "Nails", ParseAmount("1"));
        Action("LMDelete")->trigger();
        QCOMPARE(env->prompter.asked.back().text,
                 QString("Are you sure you want to delete    \n\nMy First Price List    "));
        QVERIFY(!Exists(env->state->Paths.ListFolder(0)));
        QCOMPARE(List("PriceList")->count(), 0);
        OpenMenu("LM");
        for (const char* name : {"LMOpen", "LMRename", "LMDelete"})
            QVERIFY(!Action(name)->isEnabled());
        QCOMPARE(Action("LMOpen")->text(), QString("Open"));
        QVERIFY(Action("LMNew")->isEnabled());
        ModalCloser<PricesWindow> editor;
        Action("LMOpen")->trigger();  // with nothing selected nothing opens
        QVERIFY(editor.captions.empty());
    }

    void selectingAPriceListRemembersIt() {
        WriteBytes(env->state->Paths.PriceListIndex(),
                   Slot("My First Price List") + Slot("Timber"));
        window->RefreshLists();
        LeftClick(List("PriceList"), 1);
        QCOMPARE(ReadSettings(env->home.path()).CurrentList, 1);
        QVERIFY(std::filesystem::is_directory(env->state->Paths.ListFolder(1)));
    }
};

QTEST_MAIN(EditWindowTest)
#include "edit_window_test.moc"
