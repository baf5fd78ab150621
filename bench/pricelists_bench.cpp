// How fast a supplier-sized price list opens: the model of 100,000 items with every price, a
// filter over it, and the editor window until its first sixteen rows show, each compared with
// the least work the same load needs.
#include <dirent.h>

#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <cstdio>

#include "bench_support.h"
#include "platform/sounds.h"
#include "pricelists/item_file.h"
#include "pricelists/price_list_model.h"
#include "services/pause.h"
#include "store/collation.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"
#include "ui/common/dialogs.h"
#include "ui/pricelists/price_list_editor.h"
#include "ui/session.h"

namespace quantora::bench {
namespace {

constexpr int kItems = 100'000;

struct Fixture {
    ScratchFolder folder;
    std::string listFolder = folder.path() + "Lists0/";

    Fixture() {
        EnsureFolder(listFolder);
        // Names as a supplier's catalogue has them: words, sizes and codes in mixed case.
        const char* words[] = {"Bolt",  "nut",     "Washer", "screw",
                               "Hinge", "bracket", "Plate",  "rivet"};
        for (int i = 0; i < kItems; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s M%d x %d code %06d", words[i % 8], 3 + i % 9,
                          10 + i % 90, i);
            WriteFast(listFolder + name, EncodeItemPrice(Amount::FromRaw(1000 + i)));
        }
        SettleDisk();
    }
};

Fixture* fixture = nullptr;

// The floor: list the folder and read 8 bytes from each file that passes.
template <typename Passes>
void ListAndRead(const std::string& folder, Passes passes) {
    DIR* dir = ::opendir(folder.c_str());
    std::string path;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || !passes(entry->d_name)) continue;
        path.assign(folder).append(entry->d_name);
        ReadEightBytes(path);
    }
    ::closedir(dir);
}

void EngineAllItems(benchmark::State& state) {
    for (auto _ : state) {
        PriceListModel model;
        model.LoadNames(fixture->listFolder, {});
        model.ReadAllPrices();
        benchmark::DoNotOptimize(model.LastIndex());
    }
}

void FloorAllItems(benchmark::State& state) {
    for (auto _ : state) ListAndRead(fixture->listFolder, [](const char*) { return true; });
}

void EngineContaining(benchmark::State& state) {
    for (auto _ : state) {
        PriceListModel model;
        model.LoadNames(fixture->listFolder, {FilterMode::Containing, "w"});
        model.ReadAllPrices();
        benchmark::DoNotOptimize(model.LastIndex());
    }
}

void FloorContaining(benchmark::State& state) {
    ItemFilter filter{FilterMode::Containing, "w"};
    for (auto _ : state)
        ListAndRead(fixture->listFolder, [&](const char* name) { return filter.Passes(name); });
}

// Floor of the editor's first rows: the names listed, collated with the program's one collator
// on one thread and put in order, and the first sixteen prices read. The editor makes the keys
// on two threads, so it may come in under its floor.
void FloorFirstRows(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> names = ListNormalFiles(fixture->listFolder);
        std::vector<std::pair<std::string, std::size_t>> keys;
        for (std::size_t i = 0; i < names.size(); ++i) keys.push_back({CollationKey(names[i]), i});
        std::sort(keys.begin(), keys.end());
        for (std::size_t row = 0; row < 16 && row < keys.size(); ++row)
            ReadEightBytes(fixture->listFolder + names[keys[row].second]);
    }
}

// The editor, from its creation until the first rows of the list show.
void EngineWindowOpen(benchmark::State& state) {
    KeyLatch keys;
    DesktopSounds sounds(fixture->folder.path());
    DesktopDialogs dialogs(keys, sounds, "");
    Settings settings;
    settings.CurrentList = 0;
    Session session(fixture->folder.path(), {fixture->folder.path(), fixture->folder.path()},
                    settings, keys, sounds, dialogs);
    QWidget owner;
    owner.setGeometry(0, 0, 640, 480);
    for (auto _ : state) {
        PriceListEditor window(&owner, session, "Supplier");
        window.show();
        auto* firstRow = window.findChild<QLabel*>("Item0");
        while (firstRow->text().isEmpty()) QApplication::processEvents();
    }
}

BENCHMARK(EngineAllItems)->Name("engine/model_load")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(FloorAllItems)->Name("floor/model_load")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(EngineContaining)
    ->Name("engine/containing")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(FloorContaining)->Name("floor/containing")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(FloorFirstRows)->Name("floor/first_rows")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(EngineWindowOpen)
    ->Name("engine/window_open")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quantora::SetPausesEnabled(false);
    Fixture data;
    fixture = &data;
    // One pass over the list first, so that neither side pays for the first look at it.
    ListAndRead(data.listFolder, [](const char*) { return true; });
    auto t = RunAll(argc, argv);
    PrintCase("model_load_all_items_100000", t["engine/model_load"], t["floor/model_load"]);
    PrintCase("items_containing_one_letter", t["engine/containing"], t["floor/containing"]);
    PrintCase("editor_open_first_16_rows", t["engine/window_open"], t["floor/first_rows"]);
    return 0;
}
