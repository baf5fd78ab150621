// The costing sheet as a user meets it: a job made, typed, saved and read back; a job
// repriced as it opens; the close question; Save As; a long job scrolled.
#include <sys/stat.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "costing/job_editing.h"
#include "costing/job_file.h"
#include "costing/where_used.h"
#include "desk_fixture.h"
#include "manage/name_index.h"
#include "pricelists/item_file.h"
#include "services/pause.h"
#include "store/data_file.h"
#include "ui/costing/costing_sheet_window.h"
#include "ui/costing/save_as_dialog.h"
#include "ui/management/management_window.h"

using namespace quantora;
using namespace quantora::testing;

class CostingSheetTest : public QObject, public Desk {
    Q_OBJECT

    std::string Job(const std::string& name) { return Now().Paths.JobFolder(0) + name; }

  private slots:
    void initTestCase() { SetPausesEnabled(false); }
    void init() { StartDesk(); }
    void cleanup() { FinishDesk(); }

    void aNewJobIsTypedSavedAndReadBack() {
        env->dialogs.names = {QString("..Porch")};
        window->findChild<QAction*>("JMNew")->trigger();
        QVERIFY(Sheet());
        QVERIFY(window->isHidden());
        QCOMPARE(In<QLabel>("JobNameLabel")->text(), QString("Porch"));
        QVERIFY(QTest::qWaitForWindowActive(Sheet()));
        // The name dialog closed without a key still held: the first key typed counts.
        QTest::keyClicks(Quant(0), "3x");  // the x is refused
        QCOMPARE(Quant(0)->text(), QString("3"));
        QCOMPARE(env->sounds.asterisks, 1);
        QTest::keyClick(Quant(0), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(env->sounds.pings, 1);
        QCOMPARE(ReadBytes(Job("Porch")),
                 EncodeJobLine({0, 0, Amount::Whole(3), "", Amount{}, Amount{}}));
        QTest::keyClick(Quant(0), Qt::Key_Escape);  // unchanged since the save: no question
        QVERIFY(env->dialogs.asked.empty());
        QVERIFY(window->isVisible());
        QTRY_COMPARE(window->findChild<QListWidget*>("JobList")->count(), 2);
    }

    void theFirstEscAfterANewJobClosesItsSheet() {
        env->dialogs.names = {QString("Porch")};
        window->findChild<QAction*>("JMNew")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(Sheet()));
        QTest::keyClick(Quant(0), Qt::Key_Escape);
        QTRY_VERIFY(!Sheet());
    }

    void anyKeyButTheFewThatMoveOrSaveIsAnEdit() {
        WriteLine(Job("Shed"), 0, {0, 0, ParseAmount("3"), "Nails", ParseAmount("1"), {}});
        OpenJob("Shed");
        QTest::keyClick(Quant(0), Qt::Key_Right);
        env->dialogs.answers = {PromptAnswer::Cancel};
        QTest::keyClick(Quant(0), Qt::Key_Escape);
        QCOMPARE(env->dialogs.asked.size(), 1u);  // asked whether to save
        QVERIFY(Sheet());

        // Ctrl+S let go Ctrl first saves and edits nothing: the shortcut took the S.
        QTest::keyPress(Quant(0), Qt::Key_S, Qt::ControlModifier);
        QTest::keyRelease(Quant(0), Qt::Key_Control);
        QTest::keyRelease(Quant(0), Qt::Key_S);
        QVERIFY(!Sheet()->Sheet().Changed());
    }

    void altAndALetterReachTheMenusAndTheSheetKeysStay() {
        WriteLine(Job("Shed"), 0, {0, 0, ParseAmount("3"), "Nails", ParseAmount("1"), {}});
        OpenJob("Shed");
        QCOMPARE(AccessLetterFaults(Sheet()->menuBar()->actions(), "menu bar"), QStringList());
        QTest::keyClicks(Quant(0), "4");
        QTest::keyClick(Quant(0), Qt::Key_F, Qt::AltModifier);
        auto* file = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(file != nullptr);
        QTest::keyClick(file, Qt::Key_S);  // Save
        QCOMPARE(env->sounds.pings, 1);
        QCOMPARE(ReadLine(Job("Shed"), 0).Quant, ParseAmount("34"));
        QTest::keyClick(Quant(0), Qt::Key_Escape);  // saved, so it closes without a question
        QTRY_VERIFY(!Sheet());
        QVERIFY(env->dialogs.asked.empty());
    }

    void aJobIsRepricedAsItOpensWithoutCountingAsAChange() {
        WriteItemPrice(Now().Paths.ListFolder(0), "Nails", ParseAmount("1"));
        WriteLine(Job("Shed"), 0,
                  {0, 0, ParseAmount("3"), "Nails", ParseAmount("1"), ParseAmount("3")});
        std::string saved = ReadBytes(Job("Shed"));
        WriteItemPrice(Now().Paths.ListFolder(0), "Nails", ParseAmount("1.2345"));
        OpenJob("Shed");
        QCOMPARE(Label("Price", 0), QString("1.2345"));
        QCOMPARE(Label("SubTot", 0), QString("3.70"));
        QCOMPARE(In<QLabel>("Total")->text(), QString("3.70"));
        QCOMPARE(ReadLine(Now().Paths.TempJob(), 0).SubTot, ParseAmount("3.70"));
        QCOMPARE(ReadBytes(Job("Shed")), saved);
        Sheet()->close();
        QVERIFY(env->dialogs.asked.empty());
        QTRY_VERIFY(!Sheet());
    }

    // For the accountant: the lines as the sheet shows them after repricing, each with where
    // its price comes from, and the total.
    void aCostingIsExportedAsTheSheetShowsIt() {
        WriteItemPrice(Now().Paths.ListFolder(0), "Nails", ParseAmount("1"));
        WriteLine(Job("Porch"), 0,
                  {0, 0, ParseAmount("1"), "Nails", ParseAmount("1"), ParseAmount("1")});
        WriteLine(Job("Shed"), 0,
                  {0, 0, ParseAmount("3"), "Nails", ParseAmount("1"), ParseAmount("3")});
        WriteLine(Job("Shed"), 1,
                  {1, 0, ParseAmount("2"), "=Porch", ParseAmount("1"), ParseAmount("2")});
        std::rename(Job("Porch").c_str(), Job("=Porch").c_str());
        WriteItemPrice(Now().Paths.ListFolder(0), "Nails", ParseAmount("1.2345"));
        OpenJob("Shed");
        TempFolder out;
        env->dialogs.csvSaveFile = CsvFileChoice{out / "Shed.csv", CsvForm::CommaPoint};
        Sheet()->findChild<QAction*>("MenuExportCsv")->trigger();
        QCOMPARE(env->dialogs.csvSaveAsked.at(0), QString("Export to CSV: Shed.csv"));
        QCOMPARE(QString::fromStdString(ReadBytes(out / "Shed.csv")),
                 QString("\uFEFFQuantity,Item,Source,Unit price,Extension\r\n"
                         "3,Nails,My First Price List,1.2345,3.70\r\n"
                         "2,'=Porch,My First Group,1.23,2.46\r\n"
                         ",Total,,,6.16\r\n"));
        QCOMPARE(In<QLabel>("Total")->text(), QString("6.16"));
    }

    // Ctrl+F: typing part of a name lists the jobs of every group; Enter opens the chosen one
    // in its group as a double click would; Esc changes nothing.
    void aJobIsFoundByPartOfItsNameAndOpensInItsGroup() {
        Settings settings = Now().Settings();
        NewEntry(Now().Paths, settings, NameIndex::Groups, "Kitchens");
        WriteBytes(Now().Paths.JobFolder(1) + "Oak Cabinet", "");
        WriteBytes(Now().Paths.JobFolder(0) + "Vanity cabinet", "");
        WriteLine(Now().Paths.JobFolder(0) + "Shed", 0, {0, 0, ParseAmount("1"), "Nails", {}, {}});
        window->RefreshLists();
        int groupBefore = Now().Settings().CurrentGroup;

        QTest::keyClick(window->findChild<QListWidget*>("JobList"), Qt::Key_F, Qt::ControlModifier);
        auto* box = window->findChild<QDialog*>("FindJob");
        QVERIFY(box && box->isVisible());
        auto* text = box->findChild<QLineEdit*>("FindText");
        QTRY_VERIFY(text->hasFocus());
        QTest::keyClicks(text, "CAB");
        QAbstractItemModel* results = box->findChild<QListView*>("FindResults")->model();
        QCOMPARE(results->rowCount(), 2);
        QCOMPARE(results->index(0, 0).data().toString(), QString("Oak Cabinet   (Kitchens)"));
        auto* nothing = box->findChild<QLabel*>("NothingFound");
        QVERIFY(!nothing->isVisible());
        QTest::keyClicks(text, "x");
        QCOMPARE(results->rowCount(), 0);
        QVERIFY(nothing->isVisible());
        QCOMPARE(nothing->text(), QString("No job name holds \"CABx\"."));
        QTest::keyClick(text, Qt::Key_Backspace);
        QVERIFY(!nothing->isVisible());
        QTest::keyClick(text, Qt::Key_Escape);
        QTRY_VERIFY(!window->findChild<QDialog*>("FindJob"));
        QVERIFY(!Sheet());
        QCOMPARE(Now().Settings().CurrentGroup, groupBefore);

        window->activateWindow();  // the offscreen platform gives it back to no window
        QTRY_VERIFY(window->isActiveWindow());
        QTest::keyClick(window->findChild<QListWidget*>("JobList"), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(window->findChild<QDialog*>("FindJob"));
        text = window->findChild<QDialog*>("FindJob")->findChild<QLineEdit*>("FindText");
        QTest::keyClicks(text, "cab");
        QTest::keyClick(text, Qt::Key_Down);
        QTest::keyClick(text, Qt::Key_Return);
        QTRY_VERIFY(Sheet());
        QCOMPARE(Now().CurrentJobName, std::string("Vanity cabinet"));
        QCOMPARE(Now().Settings().CurrentGroup, 0);
        QCOMPARE(window->findChild<QListWidget*>("JobList")->currentItem()->text(),
                 QString("Vanity cabinet"));
    }

    // Where Used for the selected job lists the jobs that use it, directly or through others;
    // Enter on one opens it in its group.
    void theJobsUsingAJobAreListedAndOneOpens() {
        Settings settings = Now().Settings();
        NewEntry(Now().Paths, settings, NameIndex::Groups, "Houses");
        WriteLine(Job("Porch"), 0, {0, 0, ParseAmount("1"), "Nails", {}, {}});
        WriteLine(Now().Paths.JobFolder(1) + "Villa", 0, {1, 0, ParseAmount("2"), "porch", {}, {}});
        WriteLine(Now().Paths.JobFolder(1) + "Street", 0,
                  {1, 1, ParseAmount("3"), "Villa", {}, {}});
        Now().Apply([](const DataPaths& paths, Settings& current) {
            SelectEntry(paths, current, NameIndex::Groups, 0);
        });
        window->RefreshLists();
        auto* jobs = window->findChild<QListWidget*>("JobList");
        jobs->setCurrentItem(jobs->findItems("Porch", Qt::MatchExactly).front());
        window->findChild<QAction*>("JMWhereUsed")->trigger();
        auto* box = window->findChild<QDialog*>("WhereUsed");
        QVERIFY(box && box->isVisible());
        auto* used = box->findChild<QTreeWidget*>("UsedBy");
        QCOMPARE(used->topLevelItemCount(), 2);
        QCOMPARE(used->topLevelItem(0)->text(1), QString("Villa"));
        QCOMPARE(used->topLevelItem(0)->text(2), QString("2"));
        QCOMPARE(used->topLevelItem(1)->text(2), QString("through Villa"));
        QCOMPARE(box->findChild<QLabel*>("UsedSummary")->text(),
                 QString("\"Porch\" is used by 1 job directly and 1 through other jobs."));
        used->setCurrentItem(used->topLevelItem(1));
        QTest::keyClick(used, Qt::Key_Return);
        QTRY_VERIFY(Sheet());
        QCOMPARE(Now().CurrentJobName, std::string("Street"));
        QCOMPARE(Now().Settings().CurrentGroup, 1);
    }

    // A job that cannot be read is counted, listed last, and Enter on it says why it does not
    // open.
    void aJobThatCannotBeReadSaysWhyItDoesNotOpen() {
        WriteLine(Job("Porch"), 0, {0, 0, ParseAmount("1"), "Nails", {}, {}});
        WriteLine(Job("Locked"), 0, {1, 0, ParseAmount("2"), "Porch", {}, {}});
        ::chmod(Job("Locked").c_str(), 0);
        window->RefreshLists();
        auto* jobs = window->findChild<QListWidget*>("JobList");
        jobs->setCurrentItem(jobs->findItems("Porch", Qt::MatchExactly).front());
        {
            PermissionsEnforced asAUser;
            window->findChild<QAction*>("JMWhereUsed")->trigger();
        }
        auto* box = window->findChild<QDialog*>("WhereUsed");
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->findChild<QLabel*>("UsedSummary")->text(),
                 QString("No saved job that could be read uses \"Porch\"; 1 job cannot be "
                         "read, and may use it."));
        auto* used = box->findChild<QTreeWidget*>("UsedBy");
        QCOMPARE(used->topLevelItemCount(), 1);
        QCOMPARE(used->topLevelItem(0)->text(2), QString("cannot be read"));
        QTest::keyClick(used, Qt::Key_Return);
        QVERIFY(box->isVisible());
        QVERIFY(!Sheet());
        auto* note = box->findChild<QLabel*>("UsedNote");
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(),
                 QString::fromStdString(UnreadableJobNote({0, "", "Locked", {}, {}})));
        box->reject();
    }

    // Prices changed since the job was saved: a note beneath the sheet that takes no key, a
    // mark beside each changed line, and Price Changes listing them, into an included job and
    // back, out to CSV; a save makes them history.
    void pricesChangedSinceTheJobWasSavedAreTold() {
        std::string list = Now().Paths.ListFolder(0);
        WriteItemPrice(list, "Brick", ParseAmount("0.50"));
        WriteItemPrice(list, "Sand", ParseAmount("3"));
        WriteLine(Job("Wall"), 0,
                  {0, 0, ParseAmount("100"), "Brick", ParseAmount("0.5"), ParseAmount("50")});
        WriteLine(Job("House"), 0,
                  {1, 0, ParseAmount("2"), "Wall", ParseAmount("50"), ParseAmount("100")});
        WriteLine(Job("House"), 1,
                  {0, 0, ParseAmount("10"), "Sand", ParseAmount("3"), ParseAmount("30")});
        WriteLine(Job("House"), 2,
                  {0, 0, ParseAmount("1"), "Brick", ParseAmount("0.5"), ParseAmount("0.5")});
        WriteItemPrice(list, "Brick", ParseAmount("0.60"));

        OpenJob("House");
        auto* note = Sheet()->findChild<QLabel*>("PriceChangeNote");
        QVERIFY(note && note->isVisible());
        QCOMPARE(note->text(), QString::fromUtf8("Prices changed since last saved: 2 lines; "
                                                 "total 130.50 \u2192 150.60 (+15.4 %)"));
        QVERIFY(Quant(0)->hasFocus());
        QVERIFY(In<QLabel>("ChangeMark0")->isVisible());
        QVERIFY(!In<QLabel>("ChangeMark1")->isVisible());
        QVERIFY(In<QLabel>("ChangeMark2")->isVisible());

        QString csv = QString::fromStdString(env->home / "changes.csv");
        env->dialogs.csvSaveFile = CsvFileChoice{csv.toStdString(), CsvForm::CommaPoint};
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto closing = qScopeGuard([box] { box->reject(); });  // however the checks end
            auto* lines = box->findChild<QTreeWidget*>("ChangedLines");
            QCOMPARE(lines->topLevelItemCount(), 2);
            QCOMPARE(lines->topLevelItem(0)->text(0), QString("Wall (job)"));  // +20.00 first
            QCOMPARE(lines->topLevelItem(0)->text(5), QString("+20.00"));
            QCOMPARE(lines->topLevelItem(1)->text(0), QString("Brick"));
            // Into Wall, and back.
            lines->setCurrentItem(lines->topLevelItem(0));
            QTest::keyClick(lines, Qt::Key_Return);
            QCOMPARE(box->findChild<QLabel*>("ChangesOf")->text(),
                     QString("Changes in House > Wall"));
            QCOMPARE(lines->topLevelItemCount(), 1);
            QCOMPARE(lines->topLevelItem(0)->text(2), QString("0.50"));
            QCOMPARE(lines->topLevelItem(0)->text(3), QString("0.60"));
            QTest::mouseClick(box->findChild<QPushButton*>("ChangesExport"), Qt::LeftButton);
            QTest::keyClick(lines, Qt::Key_Backspace);
            QCOMPARE(lines->topLevelItemCount(), 2);
        });
        QTest::keyClick(Quant(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ReadBytes(csv.toStdString()),
                 std::string("\xEF\xBB\xBFItem or job,Quantity,Old price,New price,Change,"
                             "Sub total change\r\nBrick,100,0.50,0.60,0.10,10.00\r\n"
                             "Total,,50.00,60.00,,\r\n"));

        // Saved: nothing has changed since.
        Sheet()->findChild<QAction*>("MenuSave")->trigger();
        QVERIFY(!note->isVisible());
        QVERIFY(!In<QLabel>("ChangeMark0")->isVisible());
    }

    void theCloseQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes") << int(PromptAnswer::Yes) << false << true;
        QTest::newRow("No") << int(PromptAnswer::No) << false << false;
        QTest::newRow("Cancel") << int(PromptAnswer::Cancel) << true << false;
    }
    void theCloseQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, stays);
        QFETCH(bool, saved);
        OpenJob("My First Job Costing");
        QTest::keyClicks(Quant(0), "4");
        env->dialogs.answers = {static_cast<PromptAnswer>(answer)};
        QTest::keyClick(Quant(0), Qt::Key_Escape);
        QCOMPARE(env->dialogs.asked.front().text, QString(kCostingChanged));
        QCOMPARE(env->dialogs.asked.front().buttons, PromptButtons::YesNoCancel);
        QCOMPARE(Sheet() && Sheet()->isVisible(), stays);
        QCOMPARE(ReadBytes(Job("My First Job Costing")).size(), saved ? 98u : 0u);
        QCOMPARE(env->sounds.pings, 0);  // a save asked for while closing is silent
    }

    void theWidestAmountsShowWhole() {
        Amount lowest = Amount::FromRaw(INT64_MIN);
        WriteLine(Job("Debt"), 0,
                  {0, 7, Amount::Whole(1), "Owed", lowest, Amount::FromRaw(INT64_MIN + 42)});
        OpenJob("Debt");
        for (const char* name : {"Price0", "SubTot0", "Total"}) {
            auto* label = In<QLabel>(name);
            QVERIFY(!label->text().isEmpty());
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                         label->contentsRect().width() - label->indent(),
                     name);
        }
        QCOMPARE(Label("Price", 0), QString("-922,337,203,685,477.5808"));
    }

    void aTotalPastWhatCanBeHeldClosesTheSheetUnsaved() {
        WriteLine(Job("Gold"), 0, {0, 7, Amount::Whole(1), "Bar", ParseAmount("900000000000"), {}});
        std::string saved = ReadBytes(Job("Gold"));
        OpenJob("Gold");
        Quant(0)->setFocus();
        // 1000 × 900,000,000,000 fits, but the running total passes the range on the way.
        QTest::keyClicks(Quant(0), "000");
        QCOMPARE(env->dialogs.asked.back().text, QString(kTotalTooLarge));
        QTRY_VERIFY(!Sheet());
        QCOMPARE(ReadBytes(Job("Gold")), saved);
        QVERIFY(window->isVisible());
    }

    void saveAsRefusesAnExistingNameAndKeepsTheOpenJob() {
        WriteBytes(Job("Roof"), "");
        OpenJob("My First Job Costing");
        SaveAsDialog dialog(Sheet(), Now());
        dialog.show();
        auto* name = dialog.findChild<QLineEdit*>("InJobName");
        QTest::keyClicks(name, "roof*");  // the star is refused as typed
        QCOMPARE(name->text(), QString("roof"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("SaveBtn"), Qt::LeftButton);
        QCOMPARE(env->dialogs.asked.back().text, QString(kSaveAsNameExists));
        QVERIFY(dialog.isVisible());
        QCOMPARE(Now().CurrentJobName, std::string("My First Job Costing"));
        name->setText(" Roof two ");
        QTest::mouseClick(dialog.findChild<QPushButton*>("SaveBtn"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Now().CurrentJobName, std::string("Roof two"));
        QVERIFY(Exists(Job("Roof two")));
    }

    void sortAndDeleteLineRebuildTheWorkingCopy() {
        for (int i = 0; i < 25; ++i)
            WriteLine(
                Job("Long"), i,
                {0, 9, Amount::Whole(1), "Line " + std::to_string(99 - i), {}, Amount::Whole(1)});
        OpenJob("Long");
        Sheet()->findChild<QAction*>("MenuSort")->trigger();
        std::vector<JobLine> lines = ReadAllLines(Now().Paths.TempJob());
        QCOMPARE(lines.front().Item, std::string("Line 75"));
        QCOMPARE(lines.back().Item, std::string("Line 99"));
        QCOMPARE(Label("Item", 0), QString("Line 75"));
        Quant(2)->setFocus();
        Sheet()->findChild<QAction*>("MenuDelLine")->trigger();
        QCOMPARE(ReadAllLines(Now().Paths.TempJob()).size(), size_t(24));
        QCOMPARE(Label("Item", 2), QString("Line 78"));
        QCOMPARE(In<QLabel>("Total")->text(), QString("24.00"));
        QVERIFY(Quant(2)->hasFocus());
    }

    void aLongJobScrollsWithTheKeysAndTheSlider() {
        for (int i = 0; i < 45; ++i)
            WriteLine(Job("Long"), i,
                      {0, 9, Amount::Whole(1), "Line " + std::to_string(i), {}, {}});
        OpenJob("Long");
        auto* slider = In<QScrollBar>("Slider");
        QCOMPARE(slider->maximum(), 26);
        Quant(0)->setFocus();
        for (int i = 0; i < 20; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(slider->value(), 1);
        QCOMPARE(Label("Item", 19), QString("Line 20"));
        QVERIFY(Quant(19)->hasFocus());
        slider->setValue(26);
        QCOMPARE(Label("Item", 18), QString("Line 44"));
        QCOMPARE(Label("Item", 19), QString());
    }

    // The boxes without the keyboard show kept pictures: after typing and scrolling each must
    // still look just as a plain box of its own text, with no cursor or focus frame left over.
    void quantityBoxesLookLikePlainBoxesAfterScrolling() {
        for (int i = 0; i < 30; ++i)
            WriteLine(Job("Long"), i,
                      {0, 9, Amount::Whole(1 + i % 7), "Line " + std::to_string(i), {}, {}});
        OpenJob("Long");
        Quant(0)->setFocus();
        QTest::keyClicks(Quant(0), "5");
        for (int i = 0; i < 22; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(Quant(19)->hasFocus());
        QLineEdit plain(Quant(0)->parentWidget());
        plain.hide();
        plain.setAlignment(Quant(0)->alignment());
        plain.resize(Quant(0)->size());
        for (int r = 0; r < 19; ++r) {
            plain.setText(Quant(r)->text());
            QCOMPARE(Quant(r)->grab().toImage().convertToFormat(QImage::Format_RGB32),
                     plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(Quant(0)->text(), QString("4"));  // line 3's quantity, moved to the top row
    }
};

QUANTORA_WINDOW_TEST_MAIN(CostingSheetTest)
#include "costing_sheet_test.moc"
