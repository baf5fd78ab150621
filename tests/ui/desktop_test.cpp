// Long work as a user sees it on a desktop with a window manager, with the pauses on as users
// have them: each window that says the program is busy is on the screen with its own picture
// from the moment it appears, the windows of included jobs sit below the open job's without
// covering it, and what closed before the work (the import's preview) is gone from the screen
// while the work runs. The screen is read back while the work runs, from a thread of the
// test's own.
#include "desktop.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "costing/job_file.h"
#include "desk_fixture.h"
#include "pricelists/item_file.h"
#include "services/pause.h"
#include "store/amount.h"
#include "ui/pricelists/price_list_editor.h"

using namespace quantora;
using namespace quantora::testing;
using Clock = std::chrono::steady_clock;

namespace {

Desktop* desktop = nullptr;

// Notes when each window of interest is first shown, and its X id, as the window thread shows
// it; read from the grabbing thread.
class ShownWindows : public QObject {
  public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }

    struct Shown {
        std::uint32_t id;
        Clock::time_point at;
    };
    std::optional<Shown> Find(const QString& name) {
        std::lock_guard<std::mutex> held(lock_);
        auto found = shown_.find(name);
        if (found == shown_.end()) return std::nullopt;
        return found->second;
    }
    // Waits up to ten seconds for the window to show.
    std::optional<Shown> WaitFor(const QString& name) {
        for (int wait = 0; wait < 1000; ++wait) {
            if (auto shown = Find(name)) return shown;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            std::lock_guard<std::mutex> held(lock_);
            if (!shown_.count(widget->objectName()))
                shown_[widget->objectName()] = {
                    static_cast<std::uint32_t>(widget->window()->winId()), Clock::now()};
        }
        return false;
    }

  private:
    std::mutex lock_;
    std::map<QString, Shown> shown_;
};

void SleepUntil(Clock::time_point when) { std::this_thread::sleep_until(when); }

}  // namespace

class DesktopTest : public QObject, public Desk {
    Q_OBJECT

    std::string Job(const std::string& name) { return Now().Paths.JobFolder(0) + name; }

  private slots:
    // The pauses keep each window up long enough to be looked at, as they do for users.
    void initTestCase() { SetPausesEnabled(true); }
    void init() {
        StartDesk();
        // In a corner, away from the middle of the screen where the work's windows show, so
        // that what lies under those is the bare screen.
        window->move(0, 0);
    }
    void cleanup() {
        SetPausesEnabled(false);
        FinishDesk();
        SetPausesEnabled(true);
    }

    void thePricingWindowsShowTheirOwnPictureAndCoverNoOther() {
        std::string list = Now().Paths.ListFolder(0);
        WriteItemPrice(list, "Brick", ParseAmount("0.55"));
        WriteLine(Job("Wall"), 0, {0, 0, Amount::Whole(100), "Brick", {}, {}});
        WriteLine(Job("Pier"), 0, {1, 0, Amount::Whole(2), "Wall", {}, {}});
        WriteLine(Job("House"), 0, {1, 0, Amount::Whole(3), "Pier", {}, {}});
        WriteLine(Job("House"), 1, {0, 0, Amount::Whole(10), "Brick", {}, {}});

        // The open job's window is looked at in its first pause, again while the window of
        // the job it includes is up below it, and that one in its own pause.
        ShownWindows shown;
        QImage reload, reloadLater, included;
        QRect reloadFrame, includedFrame;
        std::thread looking([&] {
            auto first = shown.WaitFor("ProgForm");
            if (!first) return;
            SleepUntil(first->at + std::chrono::milliseconds(400));
            reload = desktop->Grab(first->id);
            auto second = shown.WaitFor("ProgForm2");
            if (!second) return;
            SleepUntil(second->at + std::chrono::milliseconds(300));
            included = desktop->Grab(second->id);
            reloadLater = desktop->Grab(first->id);
            reloadFrame = desktop->Framed(first->id);
            includedFrame = desktop->Framed(second->id);
        });
        OpenJob("House");
        looking.join();
        QCOMPARE(Label("Price", 0), QString("110.00"));

        for (const QImage* picture : {&reload, &included}) {
            QVERIFY2(!picture->isNull(), "a progress window was not on the screen");
            QVERIFY2(BareShare(*picture) < 0.02, "a progress window shows what was under it");
            QVERIFY2(DarkPixels(*picture) > 30, "a progress window shows no label");
        }
        // The open job's window stays in sight, its bar and all, while the other is up below.
        QVERIFY2(BareShare(reloadLater) < 0.02, "the open job's window was lost");
        QVERIFY2(includedFrame.top() > reloadFrame.bottom(),
                 "the window of the included job covers the open job's");
        QVERIFY(includedFrame.top() - reloadFrame.bottom() < 10);  // one window lower, no more
    }

    void theEditorShowsUnderTheImportsBarNotTheClosedPreview() {
        SetPausesEnabled(false);  // the editor's loading has pauses of its own
        QWidget owner;
        owner.setGeometry(0, 0, 200, 100);
        PriceListEditor editor(&owner, Now(), "My First Price List");
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QTRY_VERIFY(editor.ListLoaded());
        TempFolder files;
        std::string csv = "Name,Price\n";
        // Enough items that writing them takes a good part of a second even on a fast disk.
        for (int item = 0; item < 3000; ++item)
            csv += "Board " + std::to_string(item) + "," + std::to_string(item % 90 + 1) + ".25\n";
        WriteBytes(files / "supplier.csv", csv);
        env->dialogs.importFile = files / "supplier.csv";

        std::atomic<bool> writing{false}, over{false};
        // The preview, closed when the writing starts: a window of its own over the editor.
        QRect covered(editor.mapToGlobal(QPoint(20, 60)), QSize(300, 200));
        env->dialogs.reviewImport = [&](ImportReview&) {
            QWidget preview(nullptr,
                            Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
            QPalette bare = preview.palette();
            bare.setColor(QPalette::Window, QColor::fromRgb(kBareScreen));
            preview.setPalette(bare);
            preview.setAutoFillBackground(true);
            preview.setGeometry(covered);
            preview.show();
            [&] { QVERIFY(QTest::qWaitForWindowExposed(&preview)); }();
            QTest::qWait(200);
            writing = true;
            return true;
        };

        std::vector<double> seen;
        std::thread looking([&] {
            while (!writing && !over) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            // The writing has started: give the window thread a moment, then look until the
            // writing is over.
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            while (!over) {
                QImage picture = desktop->GrabScreen(covered);
                if (!over) seen.push_back(BareShare(picture));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        auto* menu = editor.findChild<QMenu*>("FM");
        emit menu->aboutToShow();
        editor.findChild<QAction*>("FMImport")->trigger();
        over = true;
        looking.join();
        QCOMPARE(env->dialogs.reviewedPlans.size(), size_t(1));
        QVERIFY2(!seen.empty(), "the writing was over before it could be looked at");
        for (double bare : seen)
            QVERIFY2(bare < 0.02, "the closed preview stays on the screen while items are written");
        SetPausesEnabled(true);
    }
};

int main(int argc, char** argv) {
    Desktop own;
    if (std::optional<std::string> problem = own.Start(2000, 1500)) {
        std::fprintf(stderr, "No desktop for the test: %s\n", problem->c_str());
        return 1;
    }
    desktop = &own;
    QuantoraApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
