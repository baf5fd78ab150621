// How the windows answer the keys a user presses, through the real windows with the pauses
// off: each key's time from its press until the window has painted what it changed, in the
// costing sheet on a job of 10,000 lines, in the price list editor and in the item picker on
// lists of 10,000, 100,000 and 1,000,000 items; how long each window takes to open there; and
// the memory the whole program holds with the biggest list open in the editor.
//
//   keys: <window> keys=<n> median_ms=<x> worst_ms=<y>
//   open: <window> ms=<x>
//   growth: <case> n=<items> ms=<x> per_n_log_n_ns=<x / (n log2 n)>
//   memory: <case> peak_rss_mb=<x>
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "bench_support.h"
#include "costing/job_file.h"
#include "manage/name_index.h"
#include "pricelists/item_file.h"
#include "quiet_desk.h"
#include "services/pause.h"
#include "store/data_file.h"
#include "store/name_slots.h"
#include "ui/common/application.h"
#include "ui/costing/costing_sheet_window.h"
#include "ui/costing/item_picker.h"
#include "ui/costing/job_selector.h"
#include "ui/management/management_window.h"
#include "ui/pricelists/price_list_editor.h"
#include "ui/session.h"

namespace quantora::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSizes[] = {10'000, 100'000, 1'000'000};
constexpr int kLines = 10'000;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A data folder with one list of each size (list k holds kSizes[k] items) and a job of
// 10,000 lines over the smallest list.
struct Fixture {
    ScratchFolder folder;
    DataPaths paths{folder.path(), folder.path()};

    explicit Fixture(int lists) {
        Settings settings;
        SetUpDataFolder(paths.defaultFolder, settings);
        std::string index;
        for (int k = 0; k < lists; ++k) {
            index += *EncodeSlotName("List of " + std::to_string(kSizes[k]));
            EnsureFolder(paths.ListFolder(k));
            for (int i = 0; i < kSizes[k]; ++i)
                WriteFast(paths.ListFolder(k) + CatalogueName(i),
                          EncodeItemPrice(Amount::FromRaw(10'000 + i % 99'999)));
        }
        WriteFast(paths.PriceListIndex(), index);
        std::string job;
        for (int line = 0; line < kLines; ++line)
            job += EncodeJobLine(
                {0, 0, Amount::Whole(1 + line % 5), CatalogueName(line % 977), {}, {}});
        WriteFast(paths.JobFolder(0) + "Big", job);
        SettleDisk();
    }
};

// The program's windows over the fixture, as a user starts them.
struct Desk {
    explicit Desk(const Fixture& fixture)
        : session(fixture.paths.defaultFolder, fixture.paths, Settings{}, keys, sounds, dialogs),
          window(session) {
        window.show();
    }
    void UseList(int k) {
        session.Apply([k](const DataPaths& paths, Settings& settings) {
            SelectEntry(paths, settings, NameIndex::PriceLists, static_cast<std::int16_t>(k));
        });
    }
    KeyLatch keys;
    QuietSounds sounds;
    AnsweringDialogs dialogs{keys};
    Session session;
    ManagementWindow window;
};

// A key from its press until every paint it asked for is done.
struct KeyTimes {
    std::vector<double> ms;
    void Press(QWidget* target, Qt::Key key) {
        auto start = Clock::now();
        QTest::keyClick(target, key);
        QApplication::processEvents();
        ms.push_back(MsSince(start));
    }
    void Type(QWidget* target, const QString& text) {
        for (QChar c : text) {
            auto start = Clock::now();
            QTest::keyClicks(target, QString(c));
            QApplication::processEvents();
            ms.push_back(MsSince(start));
        }
    }
    void Print(const std::string& window) {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("keys: %s keys=%zu median_ms=%.3f worst_ms=%.3f\n", window.c_str(),
                    sorted.size(), sorted[sorted.size() / 2], sorted.back());
        std::fflush(stdout);
    }
};

void PrintOpen(const std::string& window, double ms) {
    std::printf("open: %s ms=%.3f\n", window.c_str(), ms);
    std::fflush(stdout);
}

void PrintGrowth(const std::string& name, int n, double ms) {
    std::printf("growth: %s n=%d ms=%.3f per_n_log_n_ns=%.3f\n", name.c_str(), n, ms,
                ms * 1e6 / (n * std::log2(static_cast<double>(n))));
    std::fflush(stdout);
}

void WaitFor(const std::function<bool()>& shown) {
    while (!shown()) QApplication::processEvents();
}

// The window active with the keyboard in control, as after a user's click.
void Activate(QWidget* window, QWidget* control) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) std::abort();
    control->setFocus();
}

// When a window first painted itself: it is then on the screen, if not yet filled.
class FirstPaint : public QObject {
  public:
    FirstPaint(QWidget* window, Clock::time_point start) : start_(start) {
        window->installEventFilter(this);
    }
    double Ms() const { return ms_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && ms_ < 0) ms_ = MsSince(start_);
        return false;
    }

  private:
    Clock::time_point start_;
    double ms_ = -1;
};

// The editor on list k, from its making until its first rows show; shownMs is when the window
// was first on the screen.
double OpenEditor(Desk& desk, int k, std::unique_ptr<PriceListEditor>& editor, double& shownMs) {
    auto start = Clock::now();
    editor = std::make_unique<PriceListEditor>(&desk.window, desk.session,
                                               QString("List of %1").arg(kSizes[k]));
    FirstPaint painted(editor.get(), start);
    editor->show();
    auto* firstRow = editor->findChild<QLabel*>("Item0");
    WaitFor([&] { return !firstRow->text().isEmpty(); });
    shownMs = painted.Ms();
    return MsSince(start);
}

// The sheet on the big job, opened with Enter in the job column.
CostingSheetWindow* OpenSheet(Desk& desk, double& ms) {
    auto* jobs = desk.window.findChild<QListWidget*>("JobList");
    jobs->setCurrentItem(jobs->findItems("Big", Qt::MatchExactly).front());
    auto start = Clock::now();
    QTest::keyClick(jobs, Qt::Key_Return);
    CostingSheetWindow* sheet = desk.window.Sheet();
    auto* first = sheet->findChild<QLineEdit*>("Quant0");
    WaitFor([&] { return !first->text().isEmpty(); });
    ms = MsSince(start);
    return sheet;
}

void SheetKeys(Desk& desk) {
    double ms = 0;
    CostingSheetWindow* sheet = OpenSheet(desk, ms);
    PrintOpen("sheet_10000_lines", ms);
    auto* row = sheet->findChild<QLineEdit*>("Quant0");
    Activate(sheet, row);
    KeyTimes keys;
    auto focused = [&] { return QApplication::focusWidget() ? QApplication::focusWidget() : row; };
    for (int i = 0; i < 300; ++i) keys.Press(focused(), Qt::Key_Down);
    for (int i = 0; i < 100; ++i) keys.Press(focused(), Qt::Key_Up);
    // The sheet moves a page, or to either end, with its scroll bar: the slider's page and end
    // moves stand in for Page Up/Down and Home/End.
    auto* slider = sheet->findChild<QScrollBar*>("Slider");
    auto sliderMove = [&](QAbstractSlider::SliderAction action) {
        auto start = Clock::now();
        slider->triggerAction(action);
        QApplication::processEvents();
        keys.ms.push_back(MsSince(start));
    };
    for (int i = 0; i < 50; ++i) sliderMove(QAbstractSlider::SliderPageStepAdd);
    for (int i = 0; i < 20; ++i) sliderMove(QAbstractSlider::SliderPageStepSub);
    for (int i = 0; i < 5; ++i) {
        sliderMove(QAbstractSlider::SliderToMaximum);
        sliderMove(QAbstractSlider::SliderToMinimum);
    }
    // A quantity typed on a line and Enter to its sub total, down the job.
    row = sheet->findChild<QLineEdit*>("Quant5");
    row->setFocus();
    for (int i = 0; i < 50; ++i) {
        keys.Press(focused(), Qt::Key_Backspace);
        keys.Type(focused(), QString::number(2 + i % 7));
        keys.Press(focused(), Qt::Key_Return);
    }
    keys.Print("sheet_10000_lines");
    sheet->close();  // unsaved: the quiet dialogs say No
    WaitFor([&] { return desk.window.Sheet() == nullptr; });
}

// Arrows through the rows, then a filter's text typed letter by letter. Enter then applies the
// filter, which reads the list again: that is timed apart, as a growth figure.
void ListKeys(QWidget* rows, QWidget* window, const std::string& name, int n,
              const std::function<bool()>& filtered) {
    KeyTimes keys;
    Activate(window, rows);
    for (int i = 0; i < 300; ++i) keys.Press(rows, Qt::Key_Down);
    for (int i = 0; i < 100; ++i) keys.Press(rows, Qt::Key_Up);
    auto* containing = window->findChild<QLineEdit*>("FilterText3");
    containing->setFocus();
    containing->clear();
    keys.Type(containing, "ham");
    keys.Print(name + "_" + std::to_string(n) + "_items");
    auto start = Clock::now();
    QTest::keyClick(containing, Qt::Key_Return);
    WaitFor(filtered);
    PrintGrowth(name + "_filter_applied", n, MsSince(start));
}

void EditorAt(Desk& desk, int k) {
    int n = kSizes[k];
    desk.UseList(k);
    std::unique_ptr<PriceListEditor> editor;
    double shown = 0, shownAgain = 0;
    double first = OpenEditor(desk, k, editor, shown);
    // Once more, as a user opens a list the second time.
    editor.reset();
    first = std::min(first, OpenEditor(desk, k, editor, shownAgain));
    PrintGrowth("editor_first_rows", n, first);
    PrintOpen("editor_" + std::to_string(n) + "_items", std::min(shown, shownAgain));
    auto* firstRow = editor->findChild<QLabel*>("Item0");
    ListKeys(editor->findChild<QLineEdit*>("AddText"), editor.get(), "editor", n,
             [&] { return firstRow->text().startsWith("Hammer", Qt::CaseInsensitive); });
}

void PickerAt(Desk& desk, int k) {
    int n = kSizes[k];
    desk.UseList(k);
    desk.session.PickerFilters = {};
    double first = 1e9, shown = 1e9;
    std::unique_ptr<ItemPicker> picker;
    // Twice, as a user opens a list the second time; the better of the two.
    for (int round = 0; round < 2; ++round) {
        picker.reset();
        auto start = Clock::now();
        picker = std::make_unique<ItemPicker>(&desk.window, desk.session);
        FirstPaint painted(picker.get(), start);
        picker->show();
        WaitFor([&] { return picker->ItemsLoaded(); });
        QApplication::processEvents();
        first = std::min(first, MsSince(start));
        shown = std::min(shown, painted.Ms());
    }
    PrintGrowth("picker_first_rows", n, first);
    PrintOpen("picker_" + std::to_string(n) + "_items", shown);
    auto* items = picker->findChild<QListView*>("ItemList");
    ListKeys(items, picker.get(), "picker", n, [&] {
        QModelIndex first = items->model()->index(0, 0);
        return first.isValid() && first.data().toString().startsWith("Hammer", Qt::CaseInsensitive);
    });
}

void SelectorOpen(Desk& desk) {
    auto start = Clock::now();
    JobSelector selector(&desk.window, desk.session);
    selector.show();
    QApplication::processEvents();
    PrintOpen("job_selector", MsSince(start));
}

}  // namespace
int PeakMemoryProbe(const std::string& dataFolder) {
    // A program of its own, so the figure is the editor's and nothing the fixture built.
    KeyLatch keys;
    QuietSounds sounds;
    AnsweringDialogs dialogs{keys};
    DataPaths paths{dataFolder, dataFolder};
    Settings settings;
    settings.CurrentList = 2;
    Session session(dataFolder, paths, settings, keys, sounds, dialogs);
    QWidget owner;
    PriceListEditor editor(&owner, session, "List of 1000000");
    editor.show();
    auto* firstRow = editor.findChild<QLabel*>("Item0");
    WaitFor([&] { return !firstRow->text().isEmpty(); });
    // The peak of this program's own memory: unlike getrusage's, it does not carry over the
    // figure of the benchmark that started it.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) std::printf("%.1f\n", std::stod(line.substr(6)) / 1024.0);
    return 0;
}

}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora;
    using namespace quantora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QuantoraApplication app(argc, argv);
    SetPausesEnabled(false);
    if (argc == 3 && std::string(argv[1]) == "--peak-memory") return PeakMemoryProbe(argv[2]);
    // QUANTORA_BENCH_SIZES=2 leaves the million out, for a quick look.
    int lists = qEnvironmentVariableIsSet("QUANTORA_BENCH_SIZES")
                    ? std::clamp(qEnvironmentVariableIntValue("QUANTORA_BENCH_SIZES"), 1, 3)
                    : 3;
    Fixture fixture(lists);
    Desk desk(fixture);
    SheetKeys(desk);
    SelectorOpen(desk);
    for (int k = 0; k < lists; ++k) EditorAt(desk, k);
    for (int k = 0; k < lists; ++k) PickerAt(desk, k);
    if (lists == 3) {
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(),
                    {"--peak-memory", QString::fromStdString(fixture.paths.dataFolder)});
        probe.waitForFinished(-1);
        std::printf("memory: editor_1000000_items peak_rss_mb=%s\n",
                    probe.readAllStandardOutput().trimmed().constData());
    }
    return 0;
}
