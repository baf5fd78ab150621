// Two desks on one data folder, for the test of a desk that only reads: each runs as a process
// of its own, as on two computers.
//
//   desk_traffic work <data folder> <stop file>
//     holds the folder and, until the stop file is there, saves the job "Estimate" with every
//     line's quantity the round's number, pastes it into the second group, and imports new
//     prices (and five new items) into the price list, undoing the import the next round.
//     Prints "round N" after each round.
//   desk_traffic read <data folder> <own folder> <times> [as-nobody]
//     opens the folder as a reading desk would, prices the jobs and reads the list that many
//     times, and checks that each file it read was whole: every line of a job of one round,
//     every price one the list has had. Prints what it saw; ends 1 at the first fault, and 3
//     when a read or a write failed (as it does for an unwritable folder it tried to change).
#include "desk_traffic.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>

#include "costing/job_editing.h"
#include "costing/job_file.h"
#include "costing/pricing.h"
#include "datafolder/desk_hold.h"
#include "datafolder/read_only_desk.h"
#include "manage/job_operations.h"
#include "pricelists/item_file.h"
#include "pricelists/price_import.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora::testing {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string ImportText() {
    std::string text;
    for (int k = 0; k < kTrafficParts; ++k)
        text += PartName(k) + "," + AmountText(ImportedPrice(k)) + "\n";
    for (int k = 0; k < kTrafficExtras; ++k) text += "Extra " + std::to_string(k) + ",1.00\n";
    return text;
}

int Work(const std::string& folder, const std::string& stopFile) {
    DeskHold hold;
    if (hold.Take(folder, ThisDesk()).outcome != DeskHold::Outcome::Held) return 2;
    DataPaths paths{folder, folder};
    std::string list = paths.ListFolder(0);
    ImportFile file(ImportText());
    ImportChoices choices;
    choices.decimalMark = DecimalMark::Point;
    choices.mend = false;
    for (int round = 1; !Exists(stopFile); ++round) {
        ReplaceFile(paths.TempJob(), EstimateBytes(round), false);
        SaveJob(paths, {kEstimate, paths.JobFolder(0) + kEstimate});
        JobClipboard clipboard;
        PutOnClipboard(paths, 0, kEstimate, JobClipboard::State::Copied, clipboard);
        PasteJob(paths, 1, clipboard);
        if (round % 2 == 1)
            ApplyImport(list, PlanImport(file, choices, ReadListContents(list)));
        else
            UndoLastImport(list);
        std::printf("round %d\n", round);
        std::fflush(stdout);
    }
    return 0;
}

// A fault in what was read, or nothing.
std::optional<std::string> EstimateFault(const ReloadResult& priced, std::set<long>& rounds) {
    if (priced.lines.size() != static_cast<std::size_t>(kTrafficLines))
        return "a job of " + std::to_string(priced.lines.size()) + " lines";
    for (std::size_t k = 0; k < priced.lines.size(); ++k) {
        const JobLine& line = priced.lines[k];
        if (line.Quant != priced.lines[0].Quant) return "a job with lines of two rounds";
        if (line.Item != PartName(static_cast<int>(k))) return "a line naming " + line.Item;
        if (!PriceListHad(static_cast<int>(k), line.Price))
            return "a price the list never had: " + AmountText(line.Price);
    }
    rounds.insert(static_cast<long>(priced.lines[0].Quant.raw / Amount::kScale));
    return std::nullopt;
}

int Read(const std::string& folder, const std::string& ownFolder, int times) {
    DataPaths paths = ReadOnlyPaths({folder, folder}, ownFolder + "work/", ownFolder + "docs/");
    EnsureFolder(paths.WorkFolder());
    HoldLook seen = LookAtHold(folder, ThisDesk().computer);
    std::set<long> rounds;
    int imported = 0, mixed = 0;
    PricingObserver quiet;
    for (int time = 0; time < times; ++time) {
        for (int group : {0, 1}) {
            std::string job = paths.JobFolder(group) + kEstimate;
            if (group == 1 && !Exists(job)) continue;
            ReloadResult priced = Reload(paths, {kEstimate, job}, quiet);
            if (auto fault = EstimateFault(priced, rounds)) {
                std::printf("fault: %s\n", fault->c_str());
                return 1;
            }
        }
        ReloadResult whole = Reload(paths, {"Whole", paths.JobFolder(0) + "Whole"}, quiet);
        if (whole.lines.size() != 1 || whole.total.raw <= 0) {
            std::printf("fault: the job that includes the estimate priced at %s\n",
                        AmountText(whole.total).c_str());
            return 1;
        }
        std::string list = paths.ListFolder(0);
        int importedPrices = 0;
        for (int k = 0; k < kTrafficParts; ++k) {
            Amount price = ReadItemPrice(list, PartName(k));
            if (!PriceListHad(k, price)) {
                std::printf("fault: %s read as %s\n", PartName(k).c_str(),
                            AmountText(price).c_str());
                return 1;
            }
            importedPrices += price == ImportedPrice(k) ? 1 : 0;
        }
        if (importedPrices == kTrafficParts) ++imported;
        if (importedPrices != 0 && importedPrices != kTrafficParts) ++mixed;
        if (ListNormalFiles(list).size() < static_cast<std::size_t>(kTrafficParts)) {
            std::printf("fault: the list lost items\n");
            return 1;
        }
    }
    std::printf("rounds seen %zu, lists imported %d, lists mid-import %d, holder %s\n",
                rounds.size(), imported, mixed,
                seen.held && seen.holder ? seen.holder->user.c_str() : "none");
    return 0;
}

}  // namespace
}  // namespace quantora::testing

int main(int argc, char** argv) {
    using namespace quantora::testing;
    std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "work" && argc == 4) return Work(argv[2], argv[3]);
        if (mode == "read" && (argc == 5 || argc == 6)) {
            // As another user, to whom the folder is not writable: any write fails loudly.
            if (argc == 6 &&
                (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
                return 4;
            return Read(argv[2], argv[3], std::stoi(argv[4]));
        }
    } catch (const quantora::DataFileError& error) {
        std::printf("failed: %s\n", error.what());
        return 3;
    }
    std::fprintf(stderr, "usage: desk_traffic work|read ...\n");
    return 2;
}
