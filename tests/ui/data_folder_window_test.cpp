// The data folder window as a user meets it: choosing a folder, the buttons that choice
// allows, each action to its end panel, the refusals, and a window that will not close while
// it works. What the actions do on disk is tested in the core; here, that the window runs
// them, asks what they say to ask, and shows the management window the folder it ends on.
#include "ui/datafolder/data_folder_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "../datafolder/folder_snapshot.h"
#include "manage/name_index.h"
#include "other_desk.h"
#include "store/data_file.h"
#include "ui/management/management_window.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

class DataFolderWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;
    std::unique_ptr<ManagementWindow> management;
    std::unique_ptr<DataFolderWindow> window;
    std::unique_ptr<TempFolder> elsewhere;

    void Open() {
        window = std::make_unique<DataFolderWindow>(management.get(), *env->session,
                                                    [this] { management->RefreshLists(); });
        window->show();
    }
    QPushButton* Button(const QString& name) { return window->findChild<QPushButton*>(name); }
    QString Shown(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    void Click(const QString& name) {
        QVERIFY(Button(name)->isEnabled());
        QTest::mouseClick(Button(name), Qt::LeftButton);
    }
    // Picks folder through "Select Folder".
    void Pick(const std::string& folder) {
        env->dialogs.folders.push_back(folder);
        Click("DataFolderBtn");
    }
    bool ActionsEnabled() {
        int enabled = 0;
        for (int i = 0; i < 4; ++i) enabled += Button(QString("MoveBtn%1").arg(i))->isEnabled();
        if (enabled != 0 && enabled != 4) qWarning("the action buttons disagree");
        return enabled == 4;
    }
    // A close through the window's close box; true when the window let itself be closed.
    bool CloseBox() {
        QCloseEvent close;
        QApplication::sendEvent(window.get(), &close);
        return close.isAccepted();
    }
    QStringList Groups() {
        QStringList names;
        auto* list = management->findChild<QListWidget*>("FolderList");
        for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
        return names;
    }
    const std::string& Home() { return env->home.path(); }

  private slots:
    void init() {
        env = std::make_unique<Environment>();
        management = std::make_unique<ManagementWindow>(*env->session);
        elsewhere = std::make_unique<TempFolder>();
        Open();
    }
    void cleanup() {
        window.reset();
        management.reset();
        env.reset();
    }

    void opensOnTheDataFolderWithTheActionsWaitingForAChoice() {
        QCOMPARE(window->windowTitle(), QString(" Backup and Restore"));
        QCOMPARE(Shown("DataDisplay").toStdString() + "/", Home());
        QVERIFY(!ActionsEnabled());
        QVERIFY(!Button("DefaultFolderBtn")->isEnabled());  // the data is in the default folder
        QTest::mouseMove(Button("MoveBtn0"));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(Button("MoveBtn0"), &enter);
        QVERIFY(Shown("Helplabel").startsWith("Use this button to move your current data files"));
    }

    void aPickedFolderIsUsedThroughItsDataSubFolder() {
        Pick(*elsewhere / "Work");
        QCOMPARE(env->dialogs.browseTitles.back(), QString("Please select a folder."));
        QCOMPARE(Shown("DataDisplay").toStdString(), *elsewhere / "Work/Quantora_Data");
        QVERIFY(ActionsEnabled());
        QVERIFY(Button("DefaultFolderBtn")->isEnabled());
        env->dialogs.folders.clear();
        Click("DataFolderBtn");  // cancelled: nothing changes
        QCOMPARE(Shown("DataDisplay").toStdString(), *elsewhere / "Work/Quantora_Data");
        Click("DefaultFolderBtn");
        QCOMPARE(Shown("DataDisplay").toStdString() + "/", Home());
        QVERIFY(!ActionsEnabled());
        QVERIFY(!Button("DefaultFolderBtn")->isEnabled());
    }

    void restoringFromAnEmptyFolderChangesNothing() {
        Pick(*elsewhere / "Empty");
        Click("MoveBtn3");
        QCOMPARE(env->dialogs.asked.size(), 1u);
        QCOMPARE(env->dialogs.asked[0].text, QString("The selected folder is empty."));
        QCOMPARE(env->dialogs.asked[0].icon, PromptIcon::Exclamation);
        QVERIFY(ActionsEnabled());  // the window is as it was
        QVERIFY(CloseBox());
    }

    void aBackupCopiesEveryFileAndWaitsForOk() {
        MakeDataFolder(Home(), "mine", 40);
        std::string backup = *elsewhere / "Quantora_Data/";
        MakeDataFolder(backup, "stale", 7);
        // A close asked for while the files are copied, as a user might.
        bool closedWhileBusy = true, progressShown = false;
        QTimer::singleShot(0, [&] {
            progressShown = window->findChild<QFrame*>("Progress")->isVisible();
            closedWhileBusy = CloseBox();
        });
        Pick(backup);
        Click("MoveBtn2");
        QCOMPARE(env->dialogs.wipes.size(), 1u);
        QVERIFY(env->dialogs.wipes[0].text.startsWith("The backup folder already contains data"));
        QVERIFY(progressShown);
        QVERIFY(!closedWhileBusy);
        QVERIFY(window->findChild<QFrame*>("EndMessageFrame")->isVisible());
        QCOMPARE(Shown("EndMessage"), QString("Backup Complete !"));
        QCOMPARE(env->sounds.asterisks, 1);
        QCOMPARE(env->session->Paths.dataFolder, Home());  // the data stayed
        QVERIFY(!CloseBox());                              // not before OK
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
        QCOMPARE(QApplication::focusWidget(), Button("EndBtn"));
        QTest::keyClick(Button("EndBtn"), Qt::Key_Return);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Accepted));
    }

    void aCancelledWipeTouchesNothing() {
        std::string backup = *elsewhere / "Quantora_Data/";
        MakeDataFolder(backup, "kept");
        FolderSnapshot before = Snapshot(backup);
        env->dialogs.wipeAnswers.push_back(false);
        Pick(backup);
        Click("MoveBtn2");
        QCOMPARE(Snapshot(backup), before);
        QVERIFY(!window->findChild<QFrame*>("EndMessageFrame")->isVisible());
        QVERIFY(Button("DataFolderBtn")->isEnabled());
    }

    void aMoveAwayAndBackAgain() {
        std::string away = *elsewhere / "Quantora_Data/";
        Pick(away);
        Click("MoveBtn0");
        QCOMPARE(Shown("EndMessage"), QString("Move Complete !"));
        QCOMPARE(env->session->Paths.dataFolder, away);
        QCOMPARE(Groups(), QStringList{"My First Group"});

        Click("EndBtn");
        Open();
        Click("DefaultFolderBtn");
        // It holds Kiru.ini and Data.dir: the user is asked, and Cancel changes nothing.
        env->dialogs.wipeAnswers = {false};
        Click("MoveBtn0");
        QCOMPARE(env->dialogs.wipes.size(), 1u);
        QVERIFY(env->dialogs.wipes[0].text.startsWith("The new folder already contains data"));
        QCOMPARE(env->session->Paths.dataFolder, away);
        QVERIFY(Button("DataFolderBtn")->isEnabled());
        Click("MoveBtn0");
        QCOMPARE(env->dialogs.wipes.size(), 2u);
        QCOMPARE(env->session->Paths.dataFolder, Home());
    }

    void theFolderPickerOpensAtTheDataFolder() {
        Pick(*elsewhere / "Work");
        QCOMPARE(env->dialogs.browseStarts.back(), Home());
    }

    void onlyALeftClickOnTheHelpPanelCloses() {
        auto* help = window->findChild<QLabel*>("Helplabel");
        QTest::mouseClick(help, Qt::RightButton);
        QVERIFY(window->isVisible());
        QTest::mouseClick(help, Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    void enterOnTheEndPanelActsOnceAndNotAgainInTheWindowBeneath() {
        management->show();
        QVERIFY(QTest::qWaitForWindowActive(management.get()));
        auto* jobs = management->findChild<QListWidget*>("JobList");
        jobs->setFocus();
        env->dialogs.folders.push_back(*elsewhere / "Quantora_Data/");
        bool ended = false;
        QTimer::singleShot(0, [&] {
            auto* open = qobject_cast<DataFolderWindow*>(QApplication::activeModalWidget());
            QVERIFY(open);
            QTest::mouseClick(open->findChild<QPushButton*>("DataFolderBtn"), Qt::LeftButton);
            QTest::mouseClick(open->findChild<QPushButton*>("MoveBtn2"), Qt::LeftButton);
            ended = open->findChild<QFrame*>("EndMessageFrame")->isVisible();
            // OK answers the press of Enter, as a default button does.
            QTest::keyPress(open->findChild<QPushButton*>("EndBtn"), Qt::Key_Return);
        });
        management->findChild<QAction*>("MnuBackup")->trigger();
        QVERIFY(ended);
        // Enter's release reaches the job column, where a release of Enter opens the job.
        QTest::keyRelease(jobs, Qt::Key_Return);
        QVERIFY(management->Sheet() == nullptr);
        QVERIFY(management->isVisible());
    }

    void aRestoreShowsTheBackupsGroupsAtOnce() {
        std::string backup = *elsewhere / "Quantora_Data/";
        MakeDataFolder(backup, "backup");
        // The group chosen now is not in the backup.
        env->session->Apply([](const DataPaths& paths, Settings& settings) {
            SelectEntry(paths, settings, NameIndex::Groups, 5);
        });
        Pick(backup);
        // Never marked as a finished backup: asked first, and No leaves everything.
        env->dialogs.answers = {PromptAnswer::No};
        Click("MoveBtn3");
        QCOMPARE(env->dialogs.asked.back().text,
                 QString::fromStdString(IncompleteBackupQuestion()));
        QCOMPARE(env->dialogs.asked.back().buttons, PromptButtons::YesNo);
        QVERIFY(env->dialogs.wipes.empty());
        QCOMPARE(Groups(), QStringList{"My First Group"});

        env->dialogs.answers = {PromptAnswer::Yes};
        Click("MoveBtn3");
        QCOMPARE(env->dialogs.wipes.size(), 1u);
        QCOMPARE(Shown("EndMessage"), QString("Restore Complete !"));
        QCOMPARE(Groups(), (QStringList{"Group backup", "Second"}));
        // The current group is kept though the backup has no such slot: none is selected, and
        // its folder is there for the jobs the group would hold.
        auto* groups = management->findChild<QListWidget*>("FolderList");
        QCOMPARE(groups->currentItem(), nullptr);
        QCOMPARE(ReadSettings(Home()).CurrentGroup, 5);
        QVERIFY(std::filesystem::is_directory(Home() + "Jobs5"));
        QCOMPARE(management->findChild<QListWidget*>("JobList")->count(), 0);
    }

    void aFolderAnotherComputerWorksInIsNotTakenUntilItIsFree() {
        std::string shared = *elsewhere / "Quantora_Data/";
        EnsureFolder(shared);
        OtherDesk front(shared);
        QVERIFY(front.Held());
        Pick(shared);
        env->dialogs.answers = {PromptAnswer::Cancel};
        Click("MoveBtn1");
        QCOMPARE(env->dialogs.asked.size(), 1u);
        QVERIFY(
            env->dialogs.asked[0].text.contains("is in use by anne on the computer front-desk"));
        QCOMPARE(env->dialogs.asked[0].buttons, PromptButtons::TryAgainCancel);
        QCOMPARE(env->session->Paths.dataFolder, Home());  // still where it was
        QVERIFY(!Exists(shared + "Groups.dat"));
        // Nor is it written over by a move or a backup.
        env->dialogs.answers = {PromptAnswer::Cancel};
        Click("MoveBtn2");
        QVERIFY(!Exists(shared + "Groups.dat"));

        // The other computer closes while the question waits: Try Again takes the folder.
        env->dialogs.whileAsked = [&front] { front.Kill(); };
        env->dialogs.answers = {PromptAnswer::TryAgain};
        Click("MoveBtn1");
        QCOMPARE(env->session->Paths.dataFolder, shared);
        QVERIFY(env->session->Hold.Holds());
        QCOMPARE(env->session->Hold.Folder(), shared);
        QVERIFY(Exists(shared + "Groups.dat"));
    }

    void usingAnEmptyFolderGivesItTheFirstRunContentAndCloses() {
        std::string fresh = *elsewhere / "Quantora_Data/";
        Pick(fresh);
        Click("MoveBtn1");
        QVERIFY(!window->isVisible());
        QCOMPARE(env->session->Paths.dataFolder, fresh);
        QVERIFY(Exists(fresh + "Jobs0/My First Job Costing"));  // set up again at once
    }
};

QUANTORA_WINDOW_TEST_MAIN(DataFolderWindowTest)
#include "data_folder_window_test.moc"
