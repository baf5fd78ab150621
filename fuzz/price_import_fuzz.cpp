// A supplier's file of any bytes: the reader, the guesses, the mending and the plan never
// fail, and whatever the plan would store is a name an item may have.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pricelists/name_mending.h"
#include "pricelists/price_import.h"
#include "store/code_page.h"
#include "store/file_name_rules.h"

using namespace quantora;

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::uint8_t knobs = data[0];
    ImportFile file(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    (void)ImportFileProblem(file);
    ImportChoices choices = GuessChoices(file);
    // The user may change every guess; the knobs stand for some of those changes.
    if (knobs & 1) choices.encoding = TextEncoding::Windows1252;
    if (knobs & 2) choices.decimalMark = (knobs & 4) ? DecimalMark::Comma : DecimalMark::Point;
    if (knobs & 8) choices.mend = false;
    if (knobs & 16) choices.longNames = LongNames::Cut;
    if (knobs & 32) choices.rule.fractions = choices.rule.dropOthers = false;
    if (knobs & 64) choices.headerRow = !choices.headerRow;
    if (knobs & 128) std::swap(choices.nameColumn, choices.priceColumn);

    ListContents list;
    list.items.emplace(FoldCase("Nails"), ListItem{"Nails", Amount::Whole(1)});
    list.supplierNames.emplace(FoldCase("Pipe 3/4in"), "Nails");
    ImportPlan plan = PlanImport(file, choices, list);

    Check(plan.added + plan.changed + plan.unchanged == plan.lines.size());
    for (const ImportLine& line : plan.lines) {
        std::optional<std::string> stored = EncodeCp1252(line.name);
        Check(stored && !stored->empty() && stored->size() <= kMaxNameLength);
        Check(line.name.find_first_of(kForbiddenNameChars) == std::string::npos);
        Check(line.name.front() != '.');
        std::string mended = MendItemName(line.nameInFile, choices.rule);
        Check(MendItemName(mended, choices.rule) == mended);
    }
    std::string refused = RefusedLinesCsv(plan, ',');
    std::size_t rows = ReadCsv(DecodeText(refused, TextEncoding::Utf8), ',').size();
    // Each refused line reads back as one record: its reason is never blank.
    Check(rows == plan.refused.size() + (plan.header.empty() ? 0 : 1));
    return 0;
}
