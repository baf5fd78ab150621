// How fast a supplier's file of 100,000 rows comes in and a list of 100,000 items goes out,
// through the editor's own import and export with the dialogs answered at once, each compared
// with the least file work the same task needs.
#include <dirent.h>

#include <QApplication>
#include <QLabel>
#include <cstdio>

#include "bench_support.h"
#include "pricelists/item_file.h"
#include "pricelists/price_import.h"
#include "quiet_desk.h"
#include "services/pause.h"
#include "store/data_file.h"
#include "ui/pricelists/import_preview_dialog.h"
#include "ui/pricelists/price_list_transfer.h"
#include "ui/session.h"

namespace quantora::bench {
namespace {

constexpr int kRows = 100'000;
constexpr int kChanged = 1'000;

std::string RowName(int i) {
    const char* words[] = {"Bolt", "nut", "Washer", "screw", "Hinge", "bracket", "Plate", "rivet"};
    char name[64];
    std::snprintf(name, sizeof name, "%s M%d x %d code %06d", words[i % 8], 3 + i % 9, 10 + i % 90,
                  i);
    return name;
}

Amount RowPrice(int i, bool changed) {
    return Amount::FromRaw(1000 + i * 7 + (changed && i % (kRows / kChanged) == 0 ? 5000 : 0));
}

struct Fixture {
    ScratchFolder folder;
    std::string listFolder = folder.path() + "Lists0/";
    std::string supplierFile = folder.path() + "supplier.csv";
    std::string nextMonthFile = folder.path() + "next-month.csv";
    std::string exportFile = folder.path() + "export.csv";
    std::vector<std::string> names;
    std::string exportBytes;

    KeyLatch keys;
    QuietSounds sounds;
    AnsweringDialogs dialogs{keys};
    std::unique_ptr<Session> session;

    Fixture() {
        EnsureFolder(listFolder);
        std::string first = "Name,Price\r\n", second = first;
        for (int i = 0; i < kRows; ++i) {
            names.push_back(RowName(i));
            first += names.back() + "," + AmountText(RowPrice(i, false)) + "\r\n";
            second += names.back() + "," + AmountText(RowPrice(i, true)) + "\r\n";
        }
        WriteFast(supplierFile, first);
        WriteFast(nextMonthFile, second);
        exportBytes = first;
        Settings settings;
        settings.CurrentList = 0;
        session = std::make_unique<Session>(folder.path(), DataPaths{folder.path(), folder.path()},
                                            settings, keys, sounds, dialogs);
        dialogs.csvFile = CsvFileChoice{exportFile, CsvForm::CommaPoint};
    }

    // An empty list of its own for each run. Emptying one list again and again would measure
    // something users do not meet: a disk without a journal (as this machine's) searches past
    // every file deleted in the last minutes before it makes a new one, and a run right after
    // 100,000 deletes pays for them all. The lists go with the scratch folder at the end.
    void EmptyList() {
        listFolder = folder.path() + "Lists" + std::to_string(lists++) + "/";
        EnsureFolder(listFolder);
    }
    int lists = 1;
    // The list as the supplier's file of last month left it.
    void LastMonthsList() {
        EmptyList();
        for (int i = 0; i < kRows; ++i)
            WriteFast(listFolder + names[i], EncodeItemPrice(RowPrice(i, false)));
        SettleDisk();
    }
};

Fixture* fixture = nullptr;

void ReadEveryItem() {
    DIR* dir = ::opendir(fixture->listFolder.c_str());
    std::string path;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        path.assign(fixture->listFolder).append(entry->d_name);
        ReadEightBytes(path);
    }
    ::closedir(dir);
}

void ImportFrom(const std::string& file) {
    fixture->dialogs.importFile = file;
    ImportItems(nullptr, *fixture->session, fixture->listFolder, {});
}

// From the chosen file to every item on disk, the preview's work included.
void EngineImportNew(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->EmptyList();
        SettleDisk();
        state.ResumeTiming();
        ImportFrom(fixture->supplierFile);
    }
}

// Floor: each of the same item files written the safe way (a new file renamed into place),
// and the disk flushed once at the end, as a database loads many rows.
void FloorImportNew(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->EmptyList();
        SettleDisk();
        state.ResumeTiming();
        for (int i = 0; i < kRows; ++i)
            ReplaceFile(fixture->listFolder + fixture->names[i],
                        EncodeItemPrice(RowPrice(i, false)), false);
        FlushDiskOf(fixture->listFolder);
    }
}

// The next month's file, 1,000 prices changed: only those items are written.
void EngineImportUpdate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->LastMonthsList();
        state.ResumeTiming();
        ImportFrom(fixture->nextMonthFile);
    }
}

// Floor: every item read once, the 1,000 changed ones written the safe way, one flush.
void FloorImportUpdate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->LastMonthsList();
        state.ResumeTiming();
        ReadEveryItem();
        for (int i = 0; i < kRows; i += kRows / kChanged)
            ReplaceFile(fixture->listFolder + fixture->names[i], EncodeItemPrice(RowPrice(i, true)),
                        false);
        FlushDiskOf(fixture->listFolder);
    }
}

// From the chosen file to the preview showing its counts, against last month's list.
void EnginePreview(benchmark::State& state) {
    for (auto _ : state) {
        ImportFile file(DataFile::Open(fixture->nextMonthFile).ReadAll());
        benchmark::DoNotOptimize(ImportFileProblem(file));
        ListContents list = ReadListContents(fixture->listFolder);
        ImportReview review{file, list, GuessChoices(file), {}};
        ImportPreviewDialog preview(nullptr, fixture->dialogs, review);
        preview.show();
        auto* counts = preview.findChild<QLabel*>("Counts");
        while (counts->text().isEmpty()) QApplication::processEvents();
        QApplication::processEvents();
    }
}

// Floor: the file read, and every item read once.
void FloorPreview(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(DataFile::Open(fixture->nextMonthFile).ReadAll());
        ReadEveryItem();
    }
}

void EngineExport(benchmark::State& state) {
    for (auto _ : state) ExportItems(nullptr, *fixture->session, fixture->listFolder, "Supplier");
}

// Floor: every item read once, and a file of the same size written the safe way.
void FloorExport(benchmark::State& state) {
    for (auto _ : state) {
        ReadEveryItem();
        ReplaceFile(fixture->exportFile, fixture->exportBytes, true);
    }
}

BENCHMARK(EngineImportNew)->Name("engine/import_new")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(FloorImportNew)->Name("floor/import_new")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(EngineImportUpdate)
    ->Name("engine/import_update")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(FloorImportUpdate)
    ->Name("floor/import_update")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(EnginePreview)->Name("engine/preview")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FloorPreview)->Name("floor/preview")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EngineExport)->Name("engine/export")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FloorExport)->Name("floor/export")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quantora::SetPausesEnabled(false);
    Fixture data;
    fixture = &data;
    auto t = RunAll(argc, argv);
    PrintCase("import_100000_new", t["engine/import_new"], t["floor/import_new"]);
    PrintCase("import_100000_update_1000", t["engine/import_update"], t["floor/import_update"]);
    PrintCase("preview_100000", t["engine/preview"], t["floor/preview"]);
    PrintCase("export_100000", t["engine/export"], t["floor/export"]);
    return 0;
}
