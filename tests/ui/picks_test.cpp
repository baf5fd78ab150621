// Filling the sheet's lines as a user does: a quantity, ENTER and an item from the picker;
// a job picked from the selector, and one that would include the open job refused; the
// picker's remembered filter and its double Esc; the selector leaving out the open job.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "costing/job_file.h"
#include "desk_fixture.h"
#include "pricelists/item_file.h"
#include "services/pause.h"
#include "ui/costing/costing_sheet_window.h"
#include "ui/costing/item_picker.h"
#include "ui/costing/job_selector.h"
#include "ui/costing/pricing_progress_window.h"
#include "ui/management/management_window.h"

using namespace quantora;
using namespace quantora::testing;

namespace {

// Whether a window just shown is ready for the user: the picker once it has read its items.
template <typename W>
bool Ready(W*) {
    return true;
}
template <>
bool Ready(ItemPicker* picker) {
    return picker->ItemsLoaded();
}

// Acts on the modal window of type W as soon as it shows and is ready.
template <typename W>
void WhenShown(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (window != nullptr && Ready(window)) return act(window);
        WhenShown<W>(act);
    });
}

// Selects the entry of a list by its text and releases Enter on it, as the keyboard does.
void ChooseIn(QWidget* window, const char* list, const QString& entry) {
    auto* column = window->findChild<QListWidget*>(list);
    column->setCurrentItem(column->findItems(entry, Qt::MatchExactly).front());
    column->setFocus();
    QTest::keyClick(column, Qt::Key_Return);
}

// The picker's list of items, and one chosen by its name with Enter, as the keyboard does.
QListView* Items(ItemPicker* picker) { return picker->findChild<QListView*>("ItemList"); }
int Count(ItemPicker* picker) { return Items(picker)->model()->rowCount(); }
void ChooseItem(ItemPicker* picker, const QString& name) {
    QAbstractItemModel* names = Items(picker)->model();
    Items(picker)->setCurrentIndex(
        names->match(names->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly).front());
    Items(picker)->setFocus();
    QTest::keyClick(Items(picker), Qt::Key_Return);
}

}  // namespace

class PicksTest : public QObject, public Desk {
    Q_OBJECT

    std::string Job(int group, const std::string& name) {
        return Now().Paths.JobFolder(group) + name;
    }

  private slots:
    void initTestCase() { SetPausesEnabled(false); }
    void init() {
        StartDesk();
        WriteItemPrice(Now().Paths.ListFolder(0), "Hinge", ParseAmount("2.5"));
        WriteItemPrice(Now().Paths.ListFolder(0), "Bolt", ParseAmount("0.2"));
    }
    void cleanup() { FinishDesk(); }

    void aQuantityThenEnterPicksAnItem() {
        OpenJob("My First Job Costing");
        QTest::keyClick(Quant(0), Qt::Key_3);
        WhenShown<ItemPicker>([](ItemPicker* picker) { ChooseItem(picker, "Hinge"); });
        QTest::keyClick(Quant(0), Qt::Key_Return);
        QCOMPARE(Label("Item", 0), QString("Hinge"));
        QCOMPARE(Label("Price", 0), QString("2.50"));
        QCOMPARE(Label("SubTot", 0), QString("7.50"));
        QCOMPARE(Sheet()->findChild<QLabel*>("Total")->text(), QString("7.50"));
        // Another item in the same row: the total moves by the difference.
        WhenShown<ItemPicker>([](ItemPicker* picker) { ChooseItem(picker, "Bolt"); });
        Sheet()->findChild<QAction*>("MenuPickPrice")->trigger();
        QCOMPARE(Sheet()->findChild<QLabel*>("Total")->text(), QString(".60"));  // money form
        Sheet()->findChild<QAction*>("MenuSave")->trigger();
        JobLine saved = ReadLine(Job(0, "My First Job Costing"), 0);
        QCOMPARE(saved.Item, std::string("Bolt"));
        QCOMPARE(saved.SubTot, ParseAmount("0.6"));
    }

    void aQuantityTypedAfterACancelledPickMakesTheNewLine() {
        OpenJob("My First Job Costing");
        QTest::keyClick(Quant(0), Qt::Key_3);
        WhenShown<ItemPicker>([](ItemPicker* picker) { ChooseItem(picker, "Hinge"); });
        QTest::keyClick(Quant(0), Qt::Key_Return);
        // Enter from the last line moves to the new line, whose picker opens by itself when
        // Enter is released there.
        bool opened = false;
        WhenShown<ItemPicker>([&opened](ItemPicker* picker) {
            opened = true;
            QTest::keyClick(Items(picker), Qt::Key_Escape);
        });
        QTest::keyPress(Quant(0), Qt::Key_Return);
        QTest::keyRelease(Quant(1), Qt::Key_Return);
        QVERIFY(opened);
        Sheet()->activateWindow();  // as the desktop gives the keyboard back after a dialog
        QTRY_VERIFY(Quant(1)->hasFocus());
        QTest::keyClick(Quant(1), Qt::Key_1);
        QCOMPARE(Sheet()->Sheet().LineCount(), 2);
    }

    void theSelectorPicksAJobAndRefusesOneThatIncludesThisOne() {
        EnsureFolder(Now().Paths.JobFolder(1));
        WriteBytes(Now().Paths.GroupIndex(), Slot("My First Group") + Slot("Second"));
        WriteLine(Job(1, "Door"), 0, {0, 0, ParseAmount("2"), "Hinge", {}, {}});
        WriteLine(Job(1, "Loop"), 0, {1, 0, ParseAmount("1"), "My First Job Costing", {}, {}});
        OpenJob("My First Job Costing");
        QTest::keyClick(Quant(0), Qt::Key_2);
        Sheet()->findChild<QAction*>("MenuautoJobs")->trigger();
        WhenShown<JobSelector>([](JobSelector* selector) {
            // The open job is not offered in its own group.
            QCOMPARE(selector->findChild<QListWidget*>("JobList")->count(), 0);
            auto* groups = selector->findChild<QListWidget*>("FolderList");
            QRect second =
                groups->visualItemRect(groups->findItems("Second", Qt::MatchExactly).front());
            QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, second.center());
            ChooseIn(selector, "JobList", "Door");
        });
        QTest::keyClick(Quant(0), Qt::Key_Return);  // ENTER on an empty row: the selector
        QCOMPARE(Label("Item", 0), QString("Door"));
        QCOMPARE(Label("Price", 0), QString("5.00"));  // the job's total
        QCOMPARE(Label("SubTot", 0), QString("10.00"));

        // The selector remembers the group browsed; a job including this one is refused.
        WhenShown<JobSelector>(
            [](JobSelector* selector) { ChooseIn(selector, "JobList", "Loop"); });
        Sheet()->findChild<QAction*>("MenuPickJob")->trigger();
        QCOMPARE(env->dialogs.asked.back().text, QString(kCycleRefused));
        QCOMPARE(Label("Item", 0), QString("Door"));
    }

    void enterInAFilterBoxChoosesTheFilterAndOnlyASecondEnterPicks() {
        OpenJob("My First Job Costing");
        bool stayedOpen = false;
        WhenShown<ItemPicker>([&stayedOpen](ItemPicker* picker) {
            auto* containing = picker->findChild<QLineEdit*>("FilterText3");
            QListView* items = Items(picker);
            containing->setFocus();
            QTest::keyClicks(containing, "l");
            QTest::keyPress(containing, Qt::Key_Return);
            // The release comes where the keyboard now is: the item column.
            QTest::keyRelease(items, Qt::Key_Return);
            stayedOpen = picker->isVisible() && Count(picker) == 1 &&
                         items->currentIndex().data().toString() == "Bolt";
            QTest::keyClick(items, Qt::Key_Return);
        });
        Sheet()->findChild<QAction*>("MenuPickPrice")->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(Label("Item", 0), QString("Bolt"));
    }

    void thePickerRemembersItsFilterAndEscPutsItAsideFirst() {
        OpenJob("My First Job Costing");
        WhenShown<ItemPicker>([](ItemPicker* picker) {
            auto* beginning = picker->findChild<QLineEdit*>("FilterText1");
            beginning->setFocus();
            QTest::keyClicks(beginning, "b");
            QTest::keyClick(beginning, Qt::Key_Return);
            QCOMPARE(Count(picker), 1);
            picker->reject();
        });
        Sheet()->findChild<QAction*>("MenuPickPrice")->trigger();
        WhenShown<ItemPicker>([](ItemPicker* picker) {
            QListView* items = Items(picker);
            QCOMPARE(Count(picker), 1);  // the same filter again
            QCOMPARE(picker->findChild<QLineEdit*>("FilterText1")->text(), QString("b"));
            QTest::keyClick(items, Qt::Key_Escape);
            QCOMPARE(Count(picker), 2);  // the first Esc shows all items
            QVERIFY(picker->isVisible());
            QTest::keyClick(items, Qt::Key_Escape);
        });
        Sheet()->findChild<QAction*>("MenuPickPrice")->trigger();
        QCOMPARE(Label("Item", 0), QString());  // cancelled: the row as it was
    }
};

QUANTORA_WINDOW_TEST_MAIN(PicksTest)
#include "picks_test.moc"
