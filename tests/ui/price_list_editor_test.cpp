// The price list editor as a user meets it: adding, changing and deleting items, moving
// through a long list, the filters, and the files it leaves behind.
#include "ui/pricelists/price_list_editor.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "pricelists/item_entry.h"
#include "pricelists/item_file.h"
#include "services/pause.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

class PriceListEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<PriceListEditor> window;

    std::string Folder() { return env->session->Paths.ListFolder(0); }
    void Item(const std::string& name, const char* price) {
        WriteItemPrice(Folder(), name, ParseAmount(price));
    }
    template <typename T>
    T* Get(const QString& name) {
        return window->findChild<T*>(name);
    }
    QLineEdit* AddText() { return Get<QLineEdit>("AddText"); }
    QLineEdit* AddPrice() { return Get<QLineEdit>("AddPrice"); }
    QPushButton* DelBtn() { return Get<QPushButton>("DelBtn"); }
    QScrollBar* Slider() { return Get<QScrollBar>("Slider"); }
    QString Row(int r) { return Get<QLabel>(QString("Item%1").arg(r))->text(); }
    QString RowPrice(int r) { return Get<QLabel>(QString("Price%1").arg(r))->text(); }

    QStringList Rows() {
        QStringList rows;
        for (int r = 0; r < PriceListEditor::kRows; ++r)
            if (!Row(r).isEmpty()) rows << Row(r);
        return rows;
    }

    void Open() {
        window =
            std::make_unique<PriceListEditor>(owner.get(), *env->session, "My First Price List");
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(AddText()->hasFocus());
        QTRY_VERIFY(window->ListLoaded());
    }

    void Add(const QString& name, const QString& price) {
        AddText()->setText(name);
        AddPrice()->setText(price);
        QTest::mouseClick(Get<QPushButton>("AddBtn"), Qt::LeftButton);
    }

    void ApplyFilter(int k, const QString& text) {
        if (k > 0) Get<QLineEdit>(QString("FilterText%1").arg(k))->setText(text);
        auto* option = Get<QRadioButton>(QString("FilterOption%1").arg(k));
        QTest::mouseClick(option, Qt::LeftButton, {},
                          QPoint(8, option->height() / 2));  // its circle
    }

    // The colour an option button is painted in, next to its text.
    QColor OptionColour(int k) {
        auto* option = Get<QRadioButton>(QString("FilterOption%1").arg(k));
        return option->grab().toImage().pixelColor(option->width() - 3, 2);
    }

    void ManyItems(int count) {
        for (int i = 0; i < count; ++i)
            Item(QString("Item %1").arg(i, 2, 10, QChar('0')).toStdString(), "1");
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

    void addingAnItemWritesItsFileAndShowsItInOrder() {
        Item("Axe", "30");
        Item("saw", "20");
        Open();
        QCOMPARE(window->windowTitle(), QString(" Quantora -  My First Price List"));
        QCOMPARE(window->HighlightedRow(), 0);
        Add("  Hammer ", "12.5");
        QCOMPARE(ReadBytes(Folder() + "Hammer"),
                 std::string("\x48\xE8\x01\x00\x00\x00\x00\x00", 8));
        QCOMPARE(Rows(), (QStringList{"Axe", "Hammer", "saw"}));
        QCOMPARE(RowPrice(1), QString("12.50"));
        QCOMPARE(AddText()->text(), QString("Hammer"));
        QCOMPARE(AddPrice()->text(), QString("12.50"));
        QVERIFY(!DelBtn()->isEnabled());
        QCOMPARE(env->sounds.pings, 1);
    }

    void aRefusedEntryWritesNothing() {
        Open();
        Add("Hinge", "");
        QCOMPARE(env->dialogs.asked.size(), size_t(1));
        QCOMPARE(env->dialogs.asked[0].text, QString(" Please enter the price.  "));
        QCOMPARE(env->dialogs.asked[0].icon, PromptIcon::None);
        QVERIFY(AddPrice()->hasFocus());
        QVERIFY(ListItemNames(Folder()).empty());
        QCOMPARE(env->sounds.pings, 0);
    }

    void typingIsFiltered() {
        Open();
        QTest::keyClicks(AddText(), "a*b?c\"d");
        QCOMPARE(AddText()->text(), QString("abcd"));
        QCOMPARE(env->sounds.asterisks, 3);
        AddPrice()->setFocus();
        QTest::keyClicks(AddPrice(), "1x2.5,");
        QCOMPARE(AddPrice()->text(), QString("12.5"));
        QCOMPARE(env->sounds.asterisks, 5);
        QTest::keyClick(AddPrice(), Qt::Key_Return);  // Enter adds
        QVERIFY(Exists(Folder() + "abcd"));
    }

    void theArrowsAndTheSliderMoveTheRows() {
        ManyItems(40);
        Open();
        QCOMPARE(Slider()->maximum(), 24);
        for (int i = 0; i < 16; ++i) QTest::keyPress(AddText(), Qt::Key_Down);
        QCOMPARE(window->HighlightedRow(), 15);
        QCOMPARE(Slider()->value(), 1);
        QCOMPARE(Row(15), QString("Item 16"));
        // Releasing the key loads the highlighted item into the editor.
        QTest::keyRelease(AddText(), Qt::Key_Down);
        QCOMPARE(AddText()->text(), QString("Item 16"));
        QCOMPARE(AddPrice()->text(), QString("1.00"));
        QVERIFY(DelBtn()->isEnabled());
        QVERIFY(AddPrice()->hasFocus());
        Slider()->setValue(24);
        QCOMPARE(Row(15), QString("Item 39"));
        QCOMPARE(window->HighlightedRow(), 15);
    }

    void aShownPriceIsNeverCutAndWritesBackUnchanged() {
        Item("Gold", "1234567890.12");
        Item("Debt", "-922337203685477.5808");
        Open();
        QCOMPARE(RowPrice(0), QString("-922,337,203,685,477.5808"));
        auto* price = Get<QLabel>("Price0");
        QVERIFY(price->fontMetrics().horizontalAdvance(price->text()) <=
                price->contentsRect().width());
        QTest::mouseClick(Get<QLabel>("Item1"), Qt::LeftButton);
        QCOMPARE(AddPrice()->text(), QString("1,234,567,890.12"));
        QTest::keyClick(AddPrice(), Qt::Key_Return);
        QCOMPARE(ReadItemPrice(Folder(), "Gold"), ParseAmount("1234567890.12"));
        // Typing stops at fourteen characters; a pasted price too large is refused whole.
        AddPrice()->clear();
        QTest::keyClicks(AddPrice(), "12345678901234567");
        QCOMPARE(AddPrice()->text(), QString("12345678901234"));
        Add("Gold", "99999999999999999999");
        QCOMPARE(env->dialogs.asked.back().text, QString(kPriceTooLarge));
        QCOMPARE(ReadItemPrice(Folder(), "Gold"), ParseAmount("1234567890.12"));
    }

    void aLongNameEndsVisiblyInDots() {
        std::string longName(70, 'W');
        Item(longName, "1");
        Open();
        QVERIFY(Row(0).endsWith(QChar(0x2026)) || Row(0).endsWith("..."));
        QCOMPARE(Get<QLabel>("Item0")->toolTip(), QString::fromStdString(longName));
    }

    void keysForAnOpenMenuGoToTheMenu() {
        ManyItems(3);
        Open();
        auto* file = Get<QMenu>("FM");
        file->popup(window->mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_Down);
        QCOMPARE(window->HighlightedRow(), 0);  // the rows did not move
        QTest::keyClick(file, Qt::Key_Escape);
        QVERIFY(!file->isVisible());
        QVERIFY(window->isVisible());  // Esc closed the menu, not the editor
    }

    void altAndALetterOpenAMenuAndTypeNothing() {
        Open();
        QCOMPARE(AccessLetterFaults(window->findChild<QMenuBar*>()->actions(), "menu bar"),
                 QStringList());
        QTest::keyClick(AddText(), Qt::Key_F, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(Get<QMenu>("FM")));
        QCOMPARE(AddText()->text(), QString());  // no "f" in the name box
        env->dialogs.printChoices = {PrintChoice::Cancel};
        QTest::keyClick(Get<QMenu>("FM"), Qt::Key_P);
        QCOMPARE(env->dialogs.printOptionsShown, 1);
    }

    void choosingThenDeletingRemovesFileAndRow() {
        Item("Apple", "1");
        Item("Banana", "2");
        Open();
        QTest::mouseClick(Get<QLabel>("Item1"), Qt::LeftButton);
        QCOMPARE(AddText()->text(), QString("Banana"));
        QCOMPARE(AddPrice()->text(), QString("2.00"));
        QVERIFY(DelBtn()->isEnabled());
        QTest::mouseClick(DelBtn(), Qt::LeftButton);
        QVERIFY(!Exists(Folder() + "Banana"));
        QCOMPARE(Rows(), QStringList{"Apple"});
        QCOMPARE(AddText()->text(), QString());
        QCOMPARE(AddPrice()->text(), QString());

        QTest::mouseClick(Get<QLabel>("Item0"), Qt::LeftButton);
        QVERIFY(DelBtn()->isEnabled());
        QTest::keyClicks(AddPrice(), "5");  // typing disables Delete again
        QVERIFY(!DelBtn()->isEnabled());
        QTest::mouseClick(Get<QLabel>("Item5"), Qt::LeftButton);  // an empty row does nothing
        QVERIFY(!DelBtn()->isEnabled());
    }

    void theFiltersReloadTheRows() {
        for (const char* name : {"Apple", "apricot", "Banana", "grape"}) Item(name, "1");
        Open();
        ApplyFilter(1, "ap");
        QCOMPARE(Rows(), (QStringList{"Apple", "apricot"}));
        QVERIFY(Get<QLineEdit>("FilterText1")->hasFocus());
        QCOMPARE(OptionColour(1), QColor(255, 255, 192));  // as painted, not only as asked
        QVERIFY(OptionColour(0) != QColor(255, 255, 192));
        ApplyFilter(3, "x");
        QCOMPARE(Rows(), QStringList{});
        // Enter in a filter text applies it.
        auto* containing = Get<QLineEdit>("FilterText3");
        containing->setText("RAP");
        QTest::keyClick(containing, Qt::Key_Return);
        QCOMPARE(Rows(), QStringList{"grape"});
        // "All Items" chosen again reads nothing: an item added behind the window's back
        // stays unseen until a filter is applied.
        ApplyFilter(0, "");
        Item("Zucchini", "1");
        ApplyFilter(0, "");
        QCOMPARE(Rows().size(), 4);
    }
    void escapeClosesAndTheHelpPanelSettingIsKept() {
        Open();
        QVERIFY(Get<QWidget>("HelpFrame")->isVisible());
        int wide = window->width();
        Get<QAction>("HMHide")->trigger();
        QVERIFY(!Get<QWidget>("HelpFrame")->isVisible());
        QVERIFY(window->width() < wide);
        QCOMPARE(ReadSettings(env->home.path()).PricesHelp, std::int16_t(0));
        QVERIFY(!Get<QAction>("HMHide")->isEnabled());
        QTest::keyClick(AddText(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());

        env->Restart();
        Open();
        QVERIFY(!Get<QWidget>("HelpFrame")->isVisible());
        Get<QAction>("HMShow")->trigger();
        QCOMPARE(window->width(), wide);
    }
};

QUANTORA_WINDOW_TEST_MAIN(PriceListEditorTest)
#include "price_list_editor_test.moc"
