#include "pricelists/import_plan.h"

#include <algorithm>
#include <thread>

#include "pricelists/item_file.h"
#include "pricelists/list_records.h"
#include "pricelists/price_export.h"
#include "store/code_page.h"
#include "store/file_name_rules.h"

namespace quantora {

namespace {

// The price of each named item of the open folder, read relative to it.
void ReadPrices(OpenFolder& folder, const std::vector<std::string>& names, std::size_t from,
                std::size_t to, std::vector<Amount>& prices) {
    std::string bytes;
    for (std::size_t i = from; i < to; ++i)
        if (folder.Read(names[i], 0, kItemFileSize, bytes) == 0 && !bytes.empty())
            prices[i] = DecodeItemPrice(bytes);
}

std::string_view TrimmedBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The name's length in the code page; nothing when a character has no place in it.
std::optional<std::size_t> Cp1252Length(const std::string& name) {
    if (std::all_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return name.size();
    std::optional<std::string> stored = EncodeCp1252(name);
    if (!stored) return std::nullopt;
    return stored->size();
}

// The bytes of the UTF-8 character that begins with lead.
std::size_t CharacterLength(char lead) {
    auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

// The name cut to the longest that fits 70 characters of the code page.
std::string CutToLength(const std::string& name) {
    std::string cut;
    std::size_t count = 0;
    for (std::size_t i = 0; i < name.size() && count < kMaxNameLength; ++count) {
        std::size_t length = CharacterLength(name[i]);
        cut += name.substr(i, length);
        i += length;
    }
    return std::string(TrimmedBlanks(cut));
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The first character of the name that has no place in the code page, as UTF-8.
std::string FirstUnstorable(const std::string& name) {
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = CharacterLength(name[i]);
        std::string character = name.substr(i, length);
        if (!FitsCp1252(character)) return character;
        i += length;
    }
    return {};
}

}  // namespace

ListContents ReadListContents(const std::string& listFolder) {
    ListContents list;
    std::vector<std::string> names = ListItemNames(listFolder);
    std::vector<Amount> prices(names.size());
    std::unique_ptr<OpenFolder> folder;
    if (Files().Open(listFolder, folder) == 0) {
        // A supplier's list is read on two cores: the opening of each file is most of it.
        std::size_t half = names.size() / 2;
        std::thread other(ReadPrices, std::ref(*folder), std::cref(names), half, names.size(),
                          std::ref(prices));
        ReadPrices(*folder, names, 0, half, prices);
        other.join();
    }
    list.items.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string folded = FoldCase(names[i]);
        list.items.emplace(std::move(folded), ListItem{std::move(names[i]), prices[i]});
    }
    for (auto& [supplier, item] : ReadSupplierNames(listFolder))
        list.supplierNames[FoldCase(supplier)] = std::move(item);
    return list;
}

std::string PlanCounts(const ImportPlan& plan) {
    auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string text = count(plan.added, "new item", "new items") + ", " +
                       count(plan.changed, "changed price", "changed prices") + ", " +
                       std::to_string(plan.unchanged) + " unchanged, " +
                       count(plan.refused.size(), "refused line", "refused lines");
    if (!plan.deleted.empty())
        text += ", " + count(plan.deleted.size(), "item", "items") + " to delete";
    return text;
}

std::string LineChangeText(const ImportLine& line) {
    switch (line.change) {
        case LineChange::Added:
            return "new";
        case LineChange::Unchanged:
            return "unchanged";
        case LineChange::Changed:
            break;
    }
    return AmountText(line.oldPrice) + " to " + AmountText(line.price);
}

std::vector<std::string> MendedAndDeleted(const ImportPlan& plan) {
    std::vector<std::string> notes = plan.notes;
    for (const ImportLine& line : plan.lines)
        if (line.mended && line.nameInFile != line.name)
            notes.push_back("Line " + std::to_string(line.line) + ": " + Quoted(line.nameInFile) +
                            " is stored as " + Quoted(line.name) + ".");
    for (const ListItem& item : plan.deleted) notes.push_back(Quoted(item.name) + " is deleted.");
    return notes;
}

ImportPlan PlanImport(ImportFile& file, const ImportChoices& choices, const ListContents& list) {
    ImportPlan plan;
    const std::vector<CsvRecord>& records = file.Records(choices.encoding, choices.delimiter);
    if (choices.headerRow && !records.empty()) plan.header = records.front().fields;
    if (!choices.decimalMark) {
        plan.decimalMarkUnsettled = true;
        return plan;
    }
    std::unordered_map<std::string, std::size_t> seen;  // folded name -> place in plan.lines
    std::vector<bool> dropped;
    std::vector<std::size_t> recordOf;  // for each planned line, its record
    seen.reserve(records.size());
    plan.lines.reserve(records.size());
    dropped.reserve(records.size());
    recordOf.reserve(records.size());
    auto refuse = [&plan](const CsvRecord& record, std::string reason) {
        plan.refused.push_back({record.line, std::move(reason), record.fields});
    };
    for (std::size_t r = choices.headerRow ? 1 : 0; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (std::all_of(record.fields.begin(), record.fields.end(),
                        [](const std::string& field) { return TrimmedBlanks(field).empty(); }))
            continue;  // a line of blanks is a blank line
        if (record.fields.size() <= choices.nameColumn) {
            refuse(record, "The line has no name.");
            continue;
        }
        std::string inFile = FromSpreadsheetText(TrimmedBlanks(record.fields[choices.nameColumn]));
        std::string name = inFile;
        if (name.empty()) {
            refuse(record, "The name is empty.");
            continue;
        }
        if (std::any_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
            refuse(record, "The name holds a line break or another control character.");
            continue;
        }
        bool forbidden = name.find_first_of(kForbiddenNameChars) != std::string::npos;
        if (forbidden || name.front() == '.') ++plan.needMending;
        bool mended = false;
        if (choices.mend && NeedsMending(name)) {
            auto known = list.supplierNames.find(FoldCase(name));
            if (known != list.supplierNames.end() && list.items.count(FoldCase(known->second)))
                name = known->second;
            else
                name = MendItemName(name, choices.rule);
            mended = true;
            if (name.empty()) {
                refuse(record, "Nothing is left of the name once mended.");
                continue;
            }
        }
        if (name.find_first_of(kForbiddenNameChars) != std::string::npos) {
            refuse(record, "The name holds / \\ < > ? * : or |, which no item name may hold.");
            continue;
        }
        if (name.front() == '.') {
            refuse(record, "The name begins with a full stop, which no item name may.");
            continue;
        }
        std::optional<std::size_t> stored = Cp1252Length(name);
        if (!stored) {
            refuse(record, "The name holds " + Quoted(FirstUnstorable(name)) +
                               ", which the price list cannot store.");
            continue;
        }
        if (*stored > kMaxNameLength) {
            if (choices.longNames == LongNames::Skip) {
                refuse(record, "The name is longer than 70 characters.");
                continue;
            }
            name = CutToLength(name);
            mended = true;
        }
        if (record.fields.size() <= choices.priceColumn ||
            TrimmedBlanks(record.fields[choices.priceColumn]).empty()) {
            refuse(record, "The line has no price.");
            continue;
        }
        const std::string& priceText = record.fields[choices.priceColumn];
        SupplierAmount price = ReadSupplierAmount(priceText, *choices.decimalMark);
        if (price.reading == AmountReading::NotAnAmount) {
            refuse(record, "The price " + Quoted(TrimmedBlanks(priceText)) + " is not an amount.");
            continue;
        }
        if (price.reading == AmountReading::TooLarge) {
            refuse(record, "The price is larger than Quantora can hold.");
            continue;
        }

        std::string folded = FoldCase(name);
        ImportLine line{record.line, std::move(inFile), std::move(name), price.value,
                        {},          LineChange::Added, mended};
        if (auto existing = list.items.find(folded); existing != list.items.end()) {
            line.name = existing->second.name;
            line.oldPrice = existing->second.price;
            line.change =
                existing->second.price == price.value ? LineChange::Unchanged : LineChange::Changed;
            auto supplier = mended ? list.supplierNames.find(FoldCase(line.nameInFile))
                                   : list.supplierNames.end();
            bool madeByImport =
                supplier != list.supplierNames.end() && FoldCase(supplier->second) == folded;
            if (mended && !madeByImport && FoldCase(line.nameInFile) != folded)
                plan.notes.push_back("Line " + std::to_string(record.line) + ": " +
                                     Quoted(line.nameInFile) + " mended to " + Quoted(line.name) +
                                     ", which the list already holds; its price is updated.");
        }
        if (auto earlier = seen.find(folded); earlier != seen.end()) {
            ImportLine& before = plan.lines[earlier->second];
            std::string reason =
                FoldCase(before.nameInFile) == FoldCase(line.nameInFile)
                    ? "The same name as line " + std::to_string(record.line) +
                          ", which is imported instead."
                : before.mended
                    ? "Mended to " + Quoted(before.name) + ", the same name as line " +
                          std::to_string(record.line) + "'s " + Quoted(line.nameInFile) +
                          "; line " + std::to_string(record.line) + " is imported instead."
                    : "The same name as line " + std::to_string(record.line) + "'s " +
                          Quoted(line.nameInFile) + " once that is mended; line " +
                          std::to_string(record.line) + " is imported instead.";
            refuse(records[recordOf[earlier->second]], reason);
            dropped[earlier->second] = true;
            earlier->second = plan.lines.size();
        } else {
            seen.emplace(std::move(folded), plan.lines.size());
        }
        plan.lines.push_back(std::move(line));
        dropped.push_back(false);
        recordOf.push_back(r);
    }

    std::size_t kept = 0;
    for (std::size_t i = 0; i < plan.lines.size(); ++i)
        if (!dropped[i]) {
            if (kept != i) plan.lines[kept] = std::move(plan.lines[i]);
            ++kept;
        }
    plan.lines.resize(kept);
    for (const ImportLine& line : plan.lines)
        (line.change == LineChange::Added     ? plan.added
         : line.change == LineChange::Changed ? plan.changed
                                              : plan.unchanged) += 1;
    std::stable_sort(plan.refused.begin(), plan.refused.end(),
                     [](const RefusedLine& a, const RefusedLine& b) { return a.line < b.line; });
    if (choices.deleteMissing)
        for (const auto& [folded, item] : list.items)
            if (!seen.count(folded)) plan.deleted.push_back(item);
    std::sort(plan.deleted.begin(), plan.deleted.end(),
              [](const ListItem& a, const ListItem& b) { return a.name < b.name; });
    return plan;
}

std::string RefusedLinesCsv(const ImportPlan& plan, char delimiter) {
    std::string csv(kUtf8ByteOrderMark);
    if (!plan.header.empty()) {
        std::vector<std::string> header = plan.header;
        header.push_back("Reason");
        csv += CsvLine(header, delimiter);
    }
    for (const RefusedLine& line : plan.refused) {
        std::vector<std::string> fields = line.fields;
        fields.push_back("Line " + std::to_string(line.line) + ": " + line.reason);
        csv += CsvLine(fields, delimiter);
    }
    return csv;
}

}  // namespace quantora
