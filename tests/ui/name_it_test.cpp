// The name entry dialog and the About box: what they return, and which keys they act on.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/about_form.h"
#include "ui_test_support.h"

using namespace quantora;
using namespace quantora::testing;

class DialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Environment> env;

    // Runs the dialog with the offered text; act drives it once it is up.
    std::optional<QString> Ask(const QString& offered,
                               const std::function<void(NameIt*, QLineEdit*)>& act) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<NameIt*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            act(dialog, dialog->findChild<QLineEdit*>("Text1"));
        });
        return NameIt::Ask(nullptr, *env->state, offered, QPoint(100, 100));
    }

  private slots:
    void init() { env = std::make_unique<Environment>(); }
    void cleanup() { env.reset(); }

    void theDialogLooksAsItShould() {
        NameIt dialog(nullptr, *env->state, "Kitchens");
        QCOMPARE(dialog.windowTitle(), QString("New Name..."));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        auto* text = dialog.findChild<QLineEdit*>("Text1");
        QCOMPARE(text->maxLength(), 70);
        QCOMPARE(text->selectedText(), QString("Kitchens"));
        QCOMPARE(dialog.findChild<QPushButton*>("OKBtn")->text(), QString("OK"));
        QCOMPARE(dialog.findChild<QPushButton*>("CancelBtn")->text(), QString("Cancel"));
    }

    void okTrimsAndNeverReturnsEmpty() {
        auto typed = [this](const QString& text) {
            return Ask("", [text](NameIt* d, QLineEdit* t) {
                t->setText(text);
                QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
            });
        };
        QCOMPARE(typed("  Deck and  stairs "), std::optional<QString>("Deck and  stairs"));
        QCOMPARE(typed("    "), std::optional<QString>("Untitled"));
        QCOMPARE(typed(""), std::optional<QString>("Untitled"));
        QVERIFY(env->state->IgnoreNextKey);  // closing always sets the latch
    }

    void typingReplacesTheOfferedName() {
        auto name = Ask("Old name", [](NameIt*, QLineEdit* t) {
            QTest::keyClicks(t, "New");
            QTest::keyRelease(t, Qt::Key_Return);
        });
        QCOMPARE(name, std::optional<QString>("New"));
    }

    void enterAndEscActWhenReleased() {
        auto cancelled = Ask("Keep", [](NameIt* d, QLineEdit* t) {
            QTest::keyPress(t, Qt::Key_Escape);
            QVERIFY(d->isVisible());  // a press alone does nothing
            QTest::keyRelease(t, Qt::Key_Escape);
        });
        QCOMPARE(cancelled, std::nullopt);
        QVERIFY(env->state->IgnoreNextKey);
        env->state->IgnoreNextKey = false;  // a key reached some window meanwhile

        auto entered = Ask("Shed", [](NameIt* d, QLineEdit* t) {
            QTest::keyPress(t, Qt::Key_Return);
            QVERIFY(d->isVisible());
            QCOMPARE(t->text(), QString("Shed"));  // no character either
            QTest::keyRelease(t, Qt::Key_Return);
        });
        QCOMPARE(entered, std::optional<QString>("Shed"));
    }

    void aStillSetLatchSwallowsTheFirstEnter() {
        env->state->IgnoreNextKey = true;
        bool stillOpen = false;
        auto name = Ask("Porch", [&](NameIt* d, QLineEdit* t) {
            QTest::keyRelease(t, Qt::Key_Return);
            stillOpen = d->isVisible();
            QTest::keyRelease(t, Qt::Key_Return);
        });
        QVERIFY(stillOpen);
        QCOMPARE(name, std::optional<QString>("Porch"));
    }

    void charactersTheDataFilesCannotHoldAreRefused() {
        auto name = Ask("", [](NameIt* d, QLineEdit* t) {
            // Typed one character at a time, as a keyboard with these keys would.
            for (QChar c : QString("Caf\u00e9 \u2713ok")) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(t, &press);
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(t, &release);
            }
            QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        });
        QCOMPARE(name, std::optional<QString>("Caf\u00e9 ok"));
        QCOMPARE(env->sounds.asterisks, 1);
    }

    void theAboutBoxShowsTheVersionAndClosesOnEsc() {
        QWidget owner;
        owner.setGeometry(100, 120, 600, 400);
        AboutForm about(&owner, *env->state);
        QCOMPARE(about.windowTitle(), QString(" Quantora "));
        QStringList texts;
        for (QLabel* label : about.findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        QVERIFY(texts.contains("Quantora"));
        QVERIFY(texts.contains("Version 2.02"));
        QVERIFY(texts.contains("Click the link below to check you have the latest release."));
        QVERIFY(texts.contains("Upgrades Link"));
        QCOMPARE(about.findChild<QPushButton*>("OKBtn")->text(), QString("Close"));
        QCOMPARE(about.pos(),
                 QPoint(owner.frameGeometry().left() + 266, owner.frameGeometry().top()));
        QCOMPARE(QString(kUpgradesUrl).section('/', -1), QString("upgrades.htm"));

        about.show();
        QTest::keyClick(&about, Qt::Key_F1);
        QVERIFY(about.isVisible());
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QVERIFY(env->state->IgnoreNextKey);
    }
};

QTEST_MAIN(DialogsTest)
#include "name_it_test.moc"
