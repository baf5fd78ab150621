// How fast the costing sheet is with a big job: opening it until the first twenty priced
// rows show, moving down it a line at a time, and saving it. Each is compared with the
// least the same task needs: the pricing engine alone, reading and writing the twenty
// records, and copying the file.
#include <fcntl.h>
#include <unistd.h>

#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <chrono>
#include <cstdio>

#include "bench_support.h"
#include "costing/costing_sheet.h"
#include "costing/job_editing.h"
#include "costing/job_file.h"
#include "costing/pricing.h"
#include "manage/name_index.h"
#include "platform/sounds.h"
#include "pricelists/item_file.h"
#include "pricelists/price_list_model.h"
#include "quiet_desk.h"
#include "store/data_file.h"
#include "store/name_slots.h"
#include "store/pause.h"
#include "ui/common/application.h"
#include "ui/common/dialogs.h"
#include "ui/costing/item_picker.h"
#include "ui/management/management_window.h"
#include "ui/session.h"

namespace quantora::bench {
namespace {

constexpr int kLists = 10, kItems = 1000, kLines = 10'000, kIncluded = 20;
constexpr int kSupplierItems = 100'000, kChain = 30;

struct Fixture {
    Fixture() {
        paths = {folder.path() + "/", folder.path() + "/"};
        Settings settings;
        SetUpDataFolder(paths.defaultFolder, settings);
        for (int list = 0; list < kLists; ++list) {
            EnsureFolder(paths.ListFolder(list));
            for (int item = 0; item < kItems; ++item)
                WriteFast(paths.ListFolder(list) + "Item " + std::to_string(item),
                          EncodeItemPrice(Amount::FromRaw(10'000 + item)));
        }
        std::string part = EncodeJobLine({0, 0, Amount::Whole(2), "Item 7", {}, {}});
        for (int job = 0; job < kIncluded; ++job)
            WriteFast(paths.JobFolder(0) + "Part " + std::to_string(job), part);
        std::string big;
        for (int line = 0; line < kLines; ++line) {
            bool included = line % 500 == 0;
            std::string name = included ? "Part " + std::to_string(line / 500)
                                        : "Item " + std::to_string((line * 7) % kItems);
            big += EncodeJobLine({static_cast<std::int16_t>(included ? 1 : 0),
                                  static_cast<std::int16_t>(included ? 0 : line % kLists),
                                  Amount::Whole(1 + line % 3),
                                  name,
                                  {},
                                  {}});
        }
        WriteFast(paths.JobFolder(0) + "Big", big);
        // A supplier's list of 100,000 items, and a chain of 30 jobs each including the next
        // on two lines.
        std::string index = *EncodeSlotName("My First Price List");
        for (int blank = 1; blank < kLists; ++blank) index += std::string(kNameSlotSize, ' ');
        WriteFast(paths.PriceListIndex(), index + *EncodeSlotName("Supplier"));
        EnsureFolder(paths.ListFolder(kLists));
        for (int item = 0; item < kSupplierItems; ++item)
            WriteFast(paths.ListFolder(kLists) + "Part " + std::to_string(item * 7919 % 1'000'003),
                      EncodeItemPrice(Amount::Whole(1)));
        EnsureFolder(paths.JobFolder(1));
        for (int level = kChain - 1; level >= 0; --level) {
            std::string next = "Chain " + std::to_string(level + 1);
            std::string lines =
                level == kChain - 1
                    ? EncodeJobLine({0, 0, Amount::Whole(1), "Item 1", {}, {}})
                    : EncodeJobLine({1, 1, Amount::Whole(1), next, {}, {}}) +
                          EncodeJobLine({1, 1, Amount::FromRaw(5'000), next, {}, {}});
            WriteFast(paths.JobFolder(1) + "Chain " + std::to_string(level), lines);
        }
        SettleDisk();
    }
    ScratchFolder folder;
    DataPaths paths;
};

Fixture* fixture;
double scrollWorstMs = 0;

struct Program {
    Program()
        : session(fixture->paths.defaultFolder, fixture->paths, Settings{}, keys, sounds, dialogs),
          window(session) {
        window.show();
    }
    KeyLatch keys;
    QuietSounds sounds;
    AnsweringDialogs dialogs{keys};
    Session session;
    ManagementWindow window;

    // Enter in the job column on "Big", as the user opens it; returns once the first rows show.
    CostingSheetWindow* Open() {
        auto* jobs = window.findChild<QListWidget*>("JobList");
        jobs->setCurrentItem(jobs->findItems("Big", Qt::MatchExactly).front());
        QTest::keyClick(jobs, Qt::Key_Return);
        CostingSheetWindow* sheet = window.Sheet();
        while (sheet->findChild<QLineEdit*>("Quant0")->text().isEmpty())
            QApplication::processEvents();
        return sheet;
    }
    void Close(CostingSheetWindow* sheet) {
        sheet->close();
        while (window.Sheet()) QApplication::processEvents();
    }
};

void EngineOpen(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        CostingSheetWindow* sheet = program.Open();
        state.PauseTiming();
        program.Close(sheet);
        state.ResumeTiming();
    }
}

void FloorOpen(benchmark::State& state) {
    PricingObserver quiet;
    for (auto _ : state) {
        state.PauseTiming();
        CopyFileSafely(fixture->paths.JobFolder(0) + "Big", fixture->paths.TempJob(), false);
        state.ResumeTiming();
        Reload(fixture->paths, {"Big", fixture->paths.JobFolder(0) + "Big"}, quiet);
    }
}

void EngineScroll(benchmark::State& state) {
    Program program;
    CostingSheetWindow* sheet = program.Open();
    auto* row19 = sheet->findChild<QLineEdit*>("Quant19");
    for (auto _ : state) {
        state.PauseTiming();
        sheet->findChild<QScrollBar*>("Slider")->setValue(0);
        row19->setFocus();
        state.ResumeTiming();
        for (int move = 0; move < 1000; ++move) {
            auto start = std::chrono::steady_clock::now();
            QTest::keyClick(row19, Qt::Key_Down);
            double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            scrollWorstMs = std::max(scrollWorstMs, ms);
        }
    }
    program.Close(sheet);
}

void FloorScroll(benchmark::State& state) {
    std::string temp = fixture->paths.TempJob();
    for (auto _ : state) {
        for (int move = 0; move < 1000; ++move) {
            int fd = ::open(temp.c_str(), O_RDWR | O_CLOEXEC);
            std::string records(20 * kJobRecordSize, '\0');
            auto offset = static_cast<off_t>(move * kJobRecordSize);
            if (::pread(fd, records.data(), records.size(), offset) < 0) std::abort();
            if (::pwrite(fd, records.data(), records.size(), offset) < 0) std::abort();
            ::close(fd);
        }
    }
}

void EngineSave(benchmark::State& state) {
    for (auto _ : state) SaveJob(fixture->paths, {"Big", fixture->paths.JobFolder(0) + "Big"});
}

void FloorSave(benchmark::State& state) {
    std::string target = fixture->paths.JobFolder(0) + "Copy";
    for (auto _ : state) {
        std::string bytes = *DataFile::ReadWhole(fixture->paths.TempJob());
        int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (::write(fd, bytes.data(), bytes.size()) < 0 || ::fsync(fd) != 0) std::abort();
        ::close(fd);
    }
}

// The item picker on the supplier's list, from its creation until its first rows show.
void EnginePicker(benchmark::State& state) {
    Program program;
    program.session.Apply([](const DataPaths& paths, Settings& settings) {
        SelectEntry(paths, settings, NameIndex::PriceLists, kLists);
    });
    for (auto _ : state) {
        ItemPicker picker(&program.window, program.session);
        picker.show();
        if (picker.findChild<QListView*>("ItemList")->model()->rowCount() == 0) std::abort();
    }
}

void FloorPicker(benchmark::State& state) {
    for (auto _ : state) {
        PriceListModel model;
        model.LoadNames(fixture->paths.ListFolder(kLists), {});
        model.ReadAllPrices();
    }
}

// Picking the job that heads the chain: pricing it through every level and filling the row.
void EnginePickJob(benchmark::State& state) {
    WriteFast(fixture->paths.TempJob(), "");
    CostingSheet sheet(fixture->paths.TempJob(), 0, {}, Amount{});
    PricingObserver quiet;
    for (auto _ : state) {
        PricingRun run(fixture->paths, {"Open", fixture->paths.JobFolder(0) + "Open"}, quiet);
        PriceResult priced = run.PriceIt(fixture->paths.JobFolder(1) + "Chain 0");
        run.Commit();
        sheet.FillCurrentRow("Chain 0", 1, 1, priced.total);
    }
}

void EngineSort(benchmark::State& state) {
    std::string big = *DataFile::ReadWhole(fixture->paths.JobFolder(0) + "Big");
    for (auto _ : state) {
        state.PauseTiming();
        WriteFast(fixture->paths.TempJob(), big);
        // The sheet as it opened: its rows showing the job's first lines.
        CostingSheet sheet(fixture->paths.TempJob(), kLines, ReadAllLines(fixture->paths.TempJob()),
                           Amount{});
        state.ResumeTiming();
        sheet.SortLines(fixture->paths.SpareJob());
    }
}

void FloorSort(benchmark::State& state) {
    std::string big = *DataFile::ReadWhole(fixture->paths.JobFolder(0) + "Big");
    for (auto _ : state) {
        state.PauseTiming();
        WriteFast(fixture->paths.TempJob(), big);
        state.ResumeTiming();
        std::string records = *DataFile::ReadWhole(fixture->paths.TempJob());
        std::string spare = fixture->paths.SpareJob();
        int fd = ::open(spare.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (::write(fd, records.data(), records.size()) < 0) std::abort();
        ::close(fd);
    }
}

BENCHMARK(EnginePicker)->Name("engine/picker")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FloorPicker)->Name("floor/picker")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EnginePickJob)->Name("engine/pick_job")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(EngineSort)->Name("engine/sort")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(FloorSort)->Name("floor/sort")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(EngineOpen)->Name("engine/open")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(FloorOpen)->Name("floor/open")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(EngineScroll)->Name("engine/scroll")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FloorScroll)->Name("floor/scroll")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EngineSave)->Name("engine/save")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(FloorSave)->Name("floor/save")->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    quantora::QuantoraApplication app(argc, argv);
    quantora::SetPausesEnabled(false);
    Fixture data;
    fixture = &data;
    auto t = RunAll(argc, argv);
    PrintCase("open_10000_lines", t["engine/open"], t["floor/open"]);
    PrintCase("scroll_10000_lines", t["engine/scroll"], t["floor/scroll"],
              "worst_move_ms=" + std::to_string(scrollWorstMs));
    PrintCase("save_10000_lines", t["engine/save"], t["floor/save"]);
    PrintCase("picker_open_100000", t["engine/picker"], t["floor/picker"]);
    std::printf("case: pick_job_30_levels engine_ms=%.3f\n", t["engine/pick_job"]);
    PrintCase("sort_10000_lines", t["engine/sort"], t["floor/sort"]);
    return 0;
}
