// The name dialog, the About box and the quote's dialog: what they return, and which keys they
// act on.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "store/amount.h"
#include "ui/costing/quote_dialog.h"
#include "ui/management/about_box.h"
#include "ui/management/name_dialog.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

class DialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;
    std::unique_ptr<NameDialog> dialog;

    QLineEdit* Text() { return dialog->findChild<QLineEdit*>("Text1"); }
    QPushButton* Button(const char* name) { return dialog->findChild<QPushButton*>(name); }

    // The dialog on the screen, offering a name.
    void Show(const QString& offered) {
        dialog = std::make_unique<NameDialog>(nullptr, env->keys, env->sounds, offered);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }
    bool Accepted() { return dialog->isHidden() && dialog->result() == QDialog::Accepted; }

  private slots:
    void init() { env = std::make_unique<Environment>(); }
    void cleanup() {
        dialog.reset();
        env.reset();
    }

    void okAnswersTheCleanedName() {
        Show("Kitchens");
        QCOMPARE(Text()->selectedText(), QString("Kitchens"));  // typing replaces it
        Text()->setText("    ");
        QTest::mouseClick(Button("OKBtn"), Qt::LeftButton);
        QVERIFY(Accepted());
        QCOMPARE(dialog->Name(), QString("Untitled"));  // through the core's naming rule
        QVERIFY(!env->keys.IsSet());                    // closed with the mouse: no key to discard
    }

    void enterAndEscActWhenReleased() {
        Show("Shed");
        QTest::keyPress(Text(), Qt::Key_Escape);
        QTest::keyPress(Text(), Qt::Key_Return);
        QVERIFY(dialog->isVisible());  // a press alone does nothing
        QCOMPARE(Text()->text(), QString("Shed"));
        QTest::keyRelease(Text(), Qt::Key_Return);
        QVERIFY(Accepted());
        QWidget elsewhere;
        QTest::keyRelease(&elsewhere, Qt::Key_Escape);  // the Esc pressed above, let go

        Show("Keep");
        QTest::keyClick(Text(), Qt::Key_Escape);
        QVERIFY(dialog->isHidden());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void theLatchDiscardsOnlyTheReleaseOfTheKeyThatClosedABox() {
        // A message box closed on the press of Enter, and Enter is still held.
        Show("");
        QTest::keyPress(Text(), Qt::Key_Return);
        env->keys.Set();
        QTest::keyRelease(Text(), Qt::Key_Return);
        QVERIFY(dialog->isVisible());  // the release closed nothing
        QTest::keyClicks(Text(), "Porch");
        QCOMPARE(Text()->text(), QString("Porch"));  // every letter counts

        // Closed with the mouse, no key is held: the first key typed counts.
        env->keys.Set();
        QVERIFY(!env->keys.IsSet());
        QTest::keyClick(Text(), Qt::Key_Return);
        QVERIFY(Accepted());
        QCOMPARE(dialog->Name(), QString("Porch"));
    }

    void aHeldKeyPressedAfreshIsTypedNotLost() {
        // Its release went to another program: the next press of it is a keystroke.
        Show("");
        QTest::keyPress(Text(), Qt::Key_A);
        env->keys.Set();
        QTest::keyClick(Text(), Qt::Key_A);
        QCOMPARE(Text()->text(), QString("aa"));
        QVERIFY(!env->keys.IsSet());
    }

    void closedByEnterItLeavesNoKeyToDiscard() {
        Show("Shed");
        QTest::keyClick(Text(), Qt::Key_Return);  // acts on the release: Enter is let go
        QVERIFY(Accepted());
        QVERIFY(!env->keys.IsSet());
    }

    void enterPressesTheFocusedButton() {
        Show("Roof");
        Button("CancelBtn")->setFocus();
        QTest::keyClick(Button("CancelBtn"), Qt::Key_Return);
        QVERIFY(dialog->isHidden());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        Show("Roof");
        Button("OKBtn")->setFocus();
        QTest::keyClick(Button("OKBtn"), Qt::Key_Enter);
        QVERIFY(Accepted());
    }

    void charactersTheDataFilesCannotHoldAreRefused() {
        Show("");
        // Typed one character at a time, as a keyboard with these keys would.
        for (QChar c : QString("Caf\u00e9 \u2713ok")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Text(), &press);
        }
        QCOMPARE(Text()->text(), QString("Caf\u00e9 ok"));
        QCOMPARE(env->sounds.asterisks, 1);
    }

    void theAboutBoxClosesOnlyAsDesigned() {
        QWidget owner;
        owner.setGeometry(100, 120, 600, 400);
        AboutBox about(&owner, *env->session);
        QCOMPARE(about.windowTitle(), QString(" Quantora "));
        QStringList texts;
        for (QLabel* label : about.findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        QVERIFY(texts.contains("Version 2.02"));
        QVERIFY(texts.contains("Click the link below to check you have the latest release."));
        QCOMPARE(about.pos(),
                 QPoint(owner.frameGeometry().left() + 266, owner.frameGeometry().top()));

        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        auto* close = about.findChild<QPushButton*>("OKBtn");
        QTest::keyClick(close->hasFocus() ? static_cast<QWidget*>(close) : &about, Qt::Key_Return);
        QTest::keyClick(&about, Qt::Key_F1);
        QVERIFY(about.isVisible());  // neither Enter nor F1 closes it
        QTest::keyPress(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QVERIFY(env->keys.IsSet());  // so the Esc's release does not reach the window beneath
    }

    void aQuoteIsFilledInByKeyboardAlone() {
        QuoteDialog quote(nullptr, {"", "", 20, false});
        quote.show();
        QVERIFY(QTest::qWaitForWindowActive(&quote));
        QTest::keyClicks(QApplication::focusWidget(), "Amelia Hart");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        // Enter in the note starts a new line; Tab leaves it.
        QTest::keyClicks(QApplication::focusWidget(), "Kitchen");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), "30 days");
        QVERIFY(quote.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        // The markup takes no more than 999.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "1000");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(quote.isHidden());
        QCOMPARE(quote.result(), int(QDialog::Accepted));
        QCOMPARE(quote.Terms(), (QuoteTerms{"Amelia Hart", "Kitchen\n30 days", 100, true}));
    }

    void anUnexpectedErrorIsToldAndTheProgramGoesOn() {
        // A control whose handler meets an amount past the range, as a corrupt total would.
        struct Failing : QWidget {
            void mouseReleaseEvent(QMouseEvent*) override { throw AmountOverflow(); }
        } control;
        control.show();
        QTest::mouseClick(&control, Qt::LeftButton);
        QCOMPARE(env->dialogs.asked.size(), size_t(1));
        QCOMPARE(env->dialogs.asked[0].text, UnexpectedErrorMessage(AmountOverflow()));
        QVERIFY(env->dialogs.fatal.empty());
    }
};

QUANTORA_WINDOW_TEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
