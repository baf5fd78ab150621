// How fast the print-outs are made: a costing of 10,000 lines and a price list of 100,000
// items, each laid out and printed into a PDF file, compared with painting the very same runs
// onto a PDF writer with no layout to work out.
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "bench_support.h"
#include "costing/costing_print.h"
#include "costing/job_file.h"
#include "platform/printer.h"
#include "pricelists/item_file.h"
#include "pricelists/price_list_model.h"
#include "pricelists/price_list_print.h"
#include "store/data_file.h"

namespace quantora::bench {
namespace {

constexpr int kLines = 10'000, kItems = 100'000;

struct Fixture {
    Fixture() {
        for (int line = 0; line < kLines; ++line)
            lines.push_back(
                {0, 0, Amount::Whole(1 + line % 7),
                 "Item number " + std::to_string(line) +
                     (line % 10 == 0
                          ? " with a name long enough to be cut short at the price column"
                          : ""),
                 Amount::FromRaw(12'345 + line),
                 Amount::FromRaw((1 + line % 7) * (12'345 + line))});
        for (int item = 0; item < kItems; ++item)
            WriteFast(folder.path() + "Supplier item " + std::to_string(item),
                      EncodeItemPrice(Amount::FromRaw(10'000 + item)));
        model.LoadNames(folder.path(), {});
        model.ReadAllPrices();
        SettleDisk();
    }
    // The runs the floors paint, laid out once on the page and with the measure the program's
    // printer gives, so that a floor has its runs whichever case runs first.
    void LayOutForFloors() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(folder.path() + "measure.pdf"));
        PrintPage page = PreparePage(printer, settings.PrintOrientation);
        PrintMeasure measure = MeasureOn(printer, settings.PrintFontSize);
        costingRuns = LayOutCosting(lines, "A big costing", "123,456.78", settings, page, measure);
        listRuns = LayOutPriceList(model, "Supplier", settings, page, measure);
    }
    ScratchFolder folder;
    std::vector<JobLine> lines;
    PriceListModel model;
    Settings settings;
    std::vector<PrintRun> costingRuns, listRuns;
};

Fixture* fixture;

std::string PdfFile() { return fixture->folder.path() + "out.pdf"; }

// The program's way: the page and the measure from the printer, the layout, the painting.
template <typename LayOut>
std::vector<PrintRun> PrintToPdf(const LayOut& layOut) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(PdfFile()));
    PrintPage page = PreparePage(printer, fixture->settings.PrintOrientation);
    std::vector<PrintRun> runs = layOut(page, MeasureOn(printer, fixture->settings.PrintFontSize));
    if (!PaintRuns(printer, runs, fixture->settings.PrintFontSize)) std::abort();
    return runs;
}

// The least a PDF of these runs takes: the same texts at the same places in the same fonts.
void PaintOnly(const std::vector<PrintRun>& runs) {
    QPdfWriter writer(QString::fromStdString(PdfFile()));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(1200);
    writer.setPageMargins({0, 0, 0, 0});
    QPainter painter(&writer);
    painter.setWindow(0, 0, 11906, 16838);
    QFont fonts[2] = {QFont(kPrintFontFamily), QFont(kPrintFontFamily)};
    for (QFont& font : fonts) {
        font.setPixelSize(fixture->settings.PrintFontSize * 20);
        font.setKerning(false);
        font.setStyleStrategy(QFont::PreferNoShaping);
    }
    fonts[1].setBold(true);
    qreal ascent = QFontMetricsF(fonts[0], &writer).ascent();
    int page = 0;
    for (const PrintRun& run : runs) {
        while (page < run.page) {
            writer.newPage();
            ++page;
        }
        painter.setFont(fonts[run.bold]);
        painter.drawText(QPointF(run.x, run.y + ascent), QString::fromStdString(run.text));
    }
}

void EngineCosting(benchmark::State& state) {
    for (auto _ : state)
        PrintToPdf([](PrintPage page, const PrintMeasure& measure) {
            return LayOutCosting(fixture->lines, "A big costing", "123,456.78", fixture->settings,
                                 page, measure);
        });
}
void FloorCosting(benchmark::State& state) {
    for (auto _ : state) PaintOnly(fixture->costingRuns);
}
void EngineList(benchmark::State& state) {
    for (auto _ : state)
        PrintToPdf([](PrintPage page, const PrintMeasure& measure) {
            return LayOutPriceList(fixture->model, "Supplier", fixture->settings, page, measure);
        });
}
void FloorList(benchmark::State& state) {
    for (auto _ : state) PaintOnly(fixture->listRuns);
}

BENCHMARK(EngineCosting)->Name("engine/costing")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FloorCosting)->Name("floor/costing")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EngineList)->Name("engine/list")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(FloorList)->Name("floor/list")->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace quantora::bench

int main(int argc, char** argv) {
    using namespace quantora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Fixture data;
    data.LayOutForFloors();
    fixture = &data;
    auto t = RunAll(argc, argv);
    PrintCase("print_costing_10000_lines_pdf", t["engine/costing"], t["floor/costing"]);
    PrintCase("print_price_list_100000_pdf", t["engine/list"], t["floor/list"]);
    return 0;
}
