// How fast the costing sheet is with a big job: opening it until the first twenty priced
// rows show, moving down it a line at a time, saving it and sorting it. Each is compared with
// the least work the same task needs, said beside each floor below.
#include <fcntl.h>
#include <unistd.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <array>
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
#include "services/pause.h"
#include "store/code_page.h"
#include "store/collation.h"
#include "store/data_file.h"
#include "store/name_lookup.h"
#include "store/name_slots.h"
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
        for (int job = 0; job < kIncluded; ++job) {
            WriteFast(paths.JobFolder(0) + "Part " + std::to_string(job), part);
            bigSources.push_back(paths.JobFolder(0) + "Part " + std::to_string(job));
        }
        bigSources.push_back(paths.ListFolder(0) + "Item 7");
        WriteFast(paths.JobFolder(0) + "Empty", "");
        std::string big;
        for (int line = 0; line < kLines; ++line) {
            bool included = line % 500 == 0;
            std::string name = included ? "Part " + std::to_string(line / 500)
                                        : "Item " + std::to_string((line * 7) % kItems);
            if (!included) bigSources.push_back(paths.ListFolder(line % kLists) + name);
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
        WriteFast(paths.PriceListIndex(),
                  index + *EncodeSlotName("Supplier") + *EncodeSlotName("Nothing yet"));
        EnsureFolder(paths.ListFolder(kLists + 1));
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
        std::sort(bigSources.begin(), bigSources.end());
        bigSources.erase(std::unique(bigSources.begin(), bigSources.end()), bigSources.end());
        SettleDisk();
    }
    ScratchFolder folder;
    DataPaths paths;
    std::vector<std::string> bigSources;  // each item and sub-job file "Big" names, once
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

    // Enter in the job column on a job, as the user opens it; returns once its first rows
    // show (at once for a job of no lines).
    CostingSheetWindow* Open(const QString& job = "Big") {
        auto* jobs = window.findChild<QListWidget*>("JobList");
        jobs->setCurrentItem(jobs->findItems(job, Qt::MatchExactly).front());
        QTest::keyClick(jobs, Qt::Key_Return);
        CostingSheetWindow* sheet = window.Sheet();
        while (job == "Big" && sheet->findChild<QLineEdit*>("Quant0")->text().isEmpty())
            QApplication::processEvents();
        QApplication::processEvents();
        return sheet;
    }
    void Close(CostingSheetWindow* sheet) {
        sheet->close();
        while (window.Sheet()) QApplication::processEvents();
    }
};

// The first opening in a process also pays for the allocator's and the system's caches
// growing to the size of the job; the engine and the floor each open once before they are
// timed, so that both are measured as every later opening is.
void EngineOpen(benchmark::State& state) {
    Program program;
    program.Close(program.Open());
    for (auto _ : state) {
        CostingSheetWindow* sheet = program.Open();
        state.PauseTiming();
        program.Close(sheet);
        state.ResumeTiming();
    }
}

// Floor of opening: the least file work of pricing the job (each item and sub-job it names
// read once, the saved job read and written whole as its working copy); a window saying
// which job is being costed, shown, painted at once (pricing gives the event loop no turn)
// and closed, for the job and for each job it includes, as the design shows one; and making
// and showing the sheet window on a job of no lines, which every opening pays.
void FloorOpen(benchmark::State& state) {
    Program program;
    std::string big = fixture->paths.JobFolder(0) + "Big";
    QDialog costing(&program.window);
    auto* costingLabel = new QLabel(&costing);
    auto open = [&] {
        for (const std::string& source : fixture->bigSources) ReadEightBytes(source);
        WriteWorkingCopy(big, fixture->paths.TempJob());
        for (int job = 0; job <= kIncluded; ++job) {
            costingLabel->setText(QString("Costing - Part %1").arg(job));
            costing.show();
            costing.repaint();
            costing.hide();
        }
        return program.Open("Empty");
    };
    program.Close(open());
    for (auto _ : state) {
        CostingSheetWindow* sheet = open();
        state.PauseTiming();
        program.Close(sheet);
        state.ResumeTiming();
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

// Floor of moving down a line once the grid scrolls: the key delivered to a quantity field
// that does nothing with it; the twenty records in sight read and written back; and each of
// them decoded, its figures written out as the sheet shows them, and its four texts shown
// anew in plain fields and labels.
void FloorScroll(benchmark::State& state) {
    std::string temp = fixture->paths.TempJob();
    std::string big = *DataFile::ReadWhole(fixture->paths.JobFolder(0) + "Big");
    WriteFast(temp, big);
    auto lineCount = static_cast<int>(big.size() / kJobRecordSize);
    QWidget grid;
    std::vector<QLineEdit*> quantities;
    std::vector<QLabel*> labels;
    for (int row = 0; row < 20; ++row) {
        quantities.push_back(new QLineEdit(&grid));
        for (int column = 0; column < 3; ++column) labels.push_back(new QLabel(&grid));
    }
    grid.show();
    for (auto _ : state) {
        for (int move = 0; move < 1000; ++move) {
            QTest::keyClick(quantities.back(), Qt::Key_Down);
            int fd = ::open(temp.c_str(), O_RDWR | O_CLOEXEC);
            std::string records(20 * kJobRecordSize, '\0');
            auto offset = static_cast<off_t>((move + 1) % (lineCount - 20) * kJobRecordSize);
            if (::pread(fd, records.data(), records.size(), offset) < 0) std::abort();
            if (::pwrite(fd, records.data(), records.size(), offset) < 0) std::abort();
            ::close(fd);
            std::vector<JobLine> lines = DecodeJobFile(records);
            for (std::size_t row = 0; row < 20; ++row) {
                quantities[row]->setText(QString::fromStdString(QuantityText(lines[row].Quant)));
                labels[row * 3]->setText(QString::fromStdString(lines[row].Item));
                labels[row * 3 + 1]->setText(QString::fromStdString(AmountText(lines[row].Price)));
                labels[row * 3 + 2]->setText(QString::fromStdString(MoneyText(lines[row].SubTot)));
            }
        }
    }
}

// Saves go to a job of their own, from a working copy of the big job: the cases run in any
// order, and every other case opens "Big" as it was made.
void EngineSave(benchmark::State& state) {
    WriteFast(fixture->paths.TempJob(), *DataFile::ReadWhole(fixture->paths.JobFolder(0) + "Big"));
    for (auto _ : state) SaveJob(fixture->paths, {"Saved", fixture->paths.JobFolder(0) + "Saved"});
}

// Floor of saving: what a save that no crash can tear must do, the working copy read, a new
// file written and flushed, renamed over the job, and the folder flushed so the rename stays.
void FloorSave(benchmark::State& state) {
    std::string folder = fixture->paths.JobFolder(0);
    WriteFast(fixture->paths.TempJob(), *DataFile::ReadWhole(folder + "Big"));
    for (auto _ : state)
        WriteDurably(folder, "Copy", *DataFile::ReadWhole(fixture->paths.TempJob()));
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
        while (!picker.ItemsLoaded()) QApplication::processEvents();
        if (picker.findChild<QListView*>("ItemList")->model()->rowCount() == 0) std::abort();
    }
}

// Floor of the picker: the names of the list read and collated with the program's one
// collator on one thread, and the picker made and shown on a list of no items. The picker
// makes the keys on two threads, so it may come in under its floor.
void FloorPicker(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        std::vector<std::string> keys;
        for (const std::string& name : ListNormalFiles(fixture->paths.ListFolder(kLists)))
            keys.push_back(CollationKey(name));
        std::sort(keys.begin(), keys.end());
        state.PauseTiming();
        program.session.Apply([](const DataPaths& paths, Settings& settings) {
            SelectEntry(paths, settings, NameIndex::PriceLists, kLists + 1);
        });
        state.ResumeTiming();
        ItemPicker picker(&program.window, program.session);
        picker.show();
        state.PauseTiming();
        program.session.Apply([](const DataPaths& paths, Settings& settings) {
            SelectEntry(paths, settings, NameIndex::PriceLists, kLists);
        });
        state.ResumeTiming();
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

// Floor of sorting: the one read of the working copy, the distinct item names collated with
// the program's one collator and put in order, and the new working copy written and renamed
// over the old one.
void FloorSort(benchmark::State& state) {
    std::string big = *DataFile::ReadWhole(fixture->paths.JobFolder(0) + "Big");
    for (auto _ : state) {
        state.PauseTiming();
        WriteFast(fixture->paths.TempJob(), big);
        state.ResumeTiming();
        std::string records = *DataFile::ReadWhole(fixture->paths.TempJob());
        // The item fields as they stand in the records: only the distinct ones are decoded.
        std::vector<std::string_view> names;
        for (std::size_t at = 0; at + kJobRecordSize <= records.size(); at += kJobRecordSize)
            names.push_back(std::string_view(records).substr(at + 12, kJobItemSize));
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        std::vector<std::string> keys;
        for (std::string_view name : names)
            keys.push_back(
                CollationKey(DecodeCp1252(name.substr(0, name.find_last_not_of(' ') + 1))));
        std::sort(keys.begin(), keys.end());
        std::string spare = fixture->paths.SpareJob();
        int fd = ::open(spare.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (::write(fd, records.data(), records.size()) < 0) std::abort();
        ::close(fd);
        if (::rename(spare.c_str(), fixture->paths.TempJob().c_str()) != 0) std::abort();
    }
}

BENCHMARK(EnginePicker)->Name("engine/picker")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FloorPicker)->Name("floor/picker")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EnginePickJob)->Name("engine/pick_job")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(EngineSort)->Name("engine/sort")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(FloorSort)->Name("floor/sort")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(EngineOpen)->Name("engine/open")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(FloorOpen)->Name("floor/open")->Unit(benchmark::kMillisecond)->Iterations(20);
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
    auto t = RunAll(argc, argv, 3);
    PrintCase("open_10000_lines", t["engine/open"], t["floor/open"]);
    PrintCase("scroll_10000_lines", t["engine/scroll"], t["floor/scroll"],
              "worst_move_ms=" + std::to_string(scrollWorstMs));
    PrintCase("save_10000_lines", t["engine/save"], t["floor/save"]);
    PrintCase("picker_open_100000", t["engine/picker"], t["floor/picker"]);
    std::printf("case: pick_job_30_levels engine_ms=%.3f\n", t["engine/pick_job"]);
    PrintCase("sort_10000_lines", t["engine/sort"], t["floor/sort"]);
    return 0;
}
