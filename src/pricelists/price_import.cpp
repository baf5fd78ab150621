#include "pricelists/price_import.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <thread>
#include <unordered_set>

#include "pricelists/item_file.h"
#include "pricelists/price_export.h"
#include "pricelists/price_history.h"
#include "store/code_page.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/file_name_rules.h"

namespace quantora {

namespace {

// ---- The records beside the list: one entry a line, fields split by tabs.

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::vector<std::vector<std::string>> ReadRecordLines(const std::string& path) {
    std::vector<std::vector<std::string>> lines;
    if (!FileExists(path)) return lines;
    std::string text;
    try {
        text = DataFile::Open(path).ReadAll();
    } catch (const DataFileError&) {
        return lines;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::vector<std::string> fields;
        std::string_view line(text.data() + start, end - start);
        for (std::size_t from = 0;;) {
            std::size_t tab = line.find('\t', from);
            fields.push_back(Unescaped(line.substr(from, tab - from)));
            if (tab == std::string_view::npos) break;
            from = tab + 1;
        }
        lines.push_back(std::move(fields));
        start = end + 1;
    }
    return lines;
}

// What the last import changed: each entry an item it added ("A"), or one whose price it
// changed ("C") or that it deleted ("D") with the price it had. "done" ends a whole import.
struct UndoEntry {
    char kind = 'A';
    std::string name;
    Amount oldPrice;
};
struct UndoRecord {
    std::vector<UndoEntry> entries;
    bool done = false;
};

UndoRecord ReadUndoRecord(const std::string& listFolder) {
    UndoRecord record;
    for (const auto& fields : ReadRecordLines(listFolder + kLastImportRecord)) {
        if (fields.size() == 1 && fields[0] == "done") record.done = true;
        if (fields.size() == 2 && fields[0] == "A") record.entries.push_back({'A', fields[1], {}});
        if (fields.size() == 3 && (fields[0] == "C" || fields[0] == "D")) {
            char* end = nullptr;
            long long raw = std::strtoll(fields[1].c_str(), &end, 10);
            if (end != fields[1].c_str() && *end == '\0')
                record.entries.push_back({fields[0][0], fields[2], Amount::FromRaw(raw)});
        }
    }
    return record;
}

void WriteUndoRecord(const std::string& listFolder, const UndoRecord& record) {
    std::string text;
    for (const UndoEntry& entry : record.entries) {
        text += entry.kind;
        if (entry.kind != 'A') text += "\t" + std::to_string(entry.oldPrice.raw);
        text += "\t" + Escaped(entry.name) + "\n";
    }
    if (record.done) text += "done\n";
    ReplaceFile(listFolder + kLastImportRecord, text, true);
}

// The price of each named item of the folder open as folder, read relative to it.
void ReadPrices(int folder, const std::vector<std::string>& names, std::size_t from, std::size_t to,
                std::vector<Amount>& prices) {
    char bytes[kItemFileSize];
    for (std::size_t i = from; i < to; ++i) {
        int fd = ::openat(folder, names[i].c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ssize_t got = ::read(fd, bytes, sizeof bytes);
        ::close(fd);
        if (got > 0) prices[i] = DecodeItemPrice(std::string(bytes, static_cast<std::size_t>(got)));
    }
}

// ---- Guessing the columns.

std::string Lower(std::string_view text) {
    std::string lower = FoldCase(text);
    std::size_t first = lower.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return lower.substr(first, lower.find_last_not_of(' ') - first + 1);
}

// The words suppliers head their columns with, in the languages of most price files. A
// strong word names the column surely; a weak one may head a number column too, as
// "Article" does beside "Description".
struct HeaderWords {
    std::vector<std::string_view> strong, weak;
};
const HeaderWords kNameWords = {
    {"name", "item name", "description", "designation", "product name", "bezeichnung",
     "beschreibung", "artikelbezeichnung", "d\xC3\xA9signation", "libell\xC3\xA9",
     "description article", "omschrijving", "descripci\xC3\xB3n", "descrizione", "nom"},
    {"item", "article", "product", "artikel", "produkt",
     "art\xC3\xAD"
     "culo",
     "articolo", "produit"}};
const HeaderWords kPriceWords = {
    {"price", "unit price", "cost", "unit cost", "net price", "preis", "einzelpreis", "nettopreis",
     "prix", "prix unitaire", "prijs", "precio", "prezzo"},
    {"amount", "betrag", "montant", "ek", "vk"}};

// How surely a header cell names the column: 3 for a strong word, 2 for a weak one, 1 when
// it holds a strong word and is no number or code column ("Price code" names no price).
int HeaderScore(const std::string& cell, const HeaderWords& words) {
    std::string lower = Lower(cell);
    for (std::string_view word : words.strong)
        if (lower == word) return 3;
    for (std::string_view word : words.weak)
        if (lower == word) return 2;
    for (std::string_view other : {"no", "nr", "number", "nummer", "code", "#", "id", "ref", "sku"})
        if (lower.find(other) != std::string::npos &&
            (lower.size() == other.size() ||
             lower.find(std::string(" ") + std::string(other)) != std::string::npos ||
             lower.find(std::string(other) + ".") != std::string::npos || other == "#" ||
             other == "nummer"))
            return 0;
    for (std::string_view word : words.strong)
        if (lower.find(word) != std::string::npos) return 1;
    return 0;
}

bool ReadsAsAmount(std::string_view text) {
    return !text.empty() &&
           (ReadSupplierAmount(text, DecimalMark::Point).reading != AmountReading::NotAnAmount ||
            ReadSupplierAmount(text, DecimalMark::Comma).reading != AmountReading::NotAnAmount);
}

std::optional<std::size_t> BestColumn(const std::vector<std::string>& header,
                                      const HeaderWords& words,
                                      std::optional<std::size_t> besides) {
    std::optional<std::size_t> best;
    int bestScore = 0;
    for (std::size_t column = 0; column < header.size(); ++column) {
        int score = HeaderScore(header[column], words);
        if (score > bestScore && column != besides) {
            best = column;
            bestScore = score;
        }
    }
    return best;
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
    int folder = ::open(listFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        // A supplier's list is read on two cores: the opening of each file is most of it.
        std::size_t half = names.size() / 2;
        std::thread other(ReadPrices, folder, std::cref(names), half, names.size(),
                          std::ref(prices));
        ReadPrices(folder, names, 0, half, prices);
        other.join();
        ::close(folder);
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

std::vector<std::pair<std::string, std::string>> ReadSupplierNames(const std::string& listFolder) {
    std::vector<std::pair<std::string, std::string>> names;
    for (auto& fields : ReadRecordLines(listFolder + kSupplierNamesRecord))
        if (fields.size() == 2) names.emplace_back(std::move(fields[0]), std::move(fields[1]));
    return names;
}

TextEncoding ImportFile::Encoding() {
    if (!encoding_) encoding_ = DetectEncoding(bytes_);
    return *encoding_;
}

const std::string& ImportFile::Text(TextEncoding encoding) {
    if (decodedAs_ != encoding) {
        text_ = DecodeText(bytes_, encoding);
        decodedAs_ = encoding;
    }
    return text_;
}

const std::vector<CsvRecord>& ImportFile::Records(TextEncoding encoding, char delimiter) {
    if (readAs_ != std::pair(encoding, delimiter)) {
        records_ = ReadCsv(Text(encoding), delimiter);
        readAs_ = std::pair(encoding, delimiter);
    }
    return records_;
}

std::size_t ImportFile::ColumnCount(TextEncoding encoding, char delimiter) {
    std::size_t most = 0;
    for (const CsvRecord& record : Records(encoding, delimiter))
        most = std::max(most, record.fields.size());
    return most;
}

std::optional<std::string> ImportFileProblem(ImportFile& file) {
    if (file.IsBinary())
        return "This file holds no text Quantora can read prices from. Please choose a CSV or "
               "text file.";
    const std::string& text = file.Text(file.Encoding());
    if (text.find_first_not_of(" \t\r\n,;") == std::string::npos)
        return "This file holds no rows to import.";
    return std::nullopt;
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

ImportChoices GuessChoices(ImportFile& file) {
    ImportChoices choices;
    choices.encoding = file.Encoding();
    choices.delimiter = DetectDelimiter(file.Text(choices.encoding));
    const std::vector<CsvRecord>& records = file.Records(choices.encoding, choices.delimiter);
    if (records.empty()) return choices;
    std::size_t columns = file.ColumnCount(choices.encoding, choices.delimiter);

    // A header names its columns; failing that, the prices are the column that reads as
    // amounts most often (the last of equals: prices come after names), and the names the
    // column of most other text.
    const std::vector<std::string>& first = records.front().fields;
    std::optional<std::size_t> price = BestColumn(first, kPriceWords, std::nullopt);
    std::optional<std::size_t> name = BestColumn(first, kNameWords, price);
    std::size_t sample = std::min<std::size_t>(records.size(), 500);
    // A price has decimals or a currency where a number or code column has none.
    std::vector<std::size_t> amounts(columns), texts(columns);
    for (std::size_t r = 1; r < sample; ++r)
        for (std::size_t c = 0; c < records[r].fields.size(); ++c) {
            const std::string& cell = records[r].fields[c];
            if (ReadsAsAmount(cell))
                amounts[c] += cell.find_first_not_of("0123456789 -") == std::string::npos ? 1 : 2;
            else if (!TrimmedBlanks(cell).empty())
                ++texts[c];
        }
    if (sample == 1)
        for (std::size_t c = 0; c < first.size(); ++c)
            ReadsAsAmount(first[c]) ? ++amounts[c] : ++texts[c];
    if (!price) {
        std::size_t most = 0;
        for (std::size_t c = 0; c < columns; ++c)
            if (amounts[c] >= most && amounts[c] > 0) most = amounts[c], price = c;
    }
    if (!name) {
        std::size_t most = 0;
        for (std::size_t c = 0; c < columns; ++c)
            if (c != price && texts[c] > most) most = texts[c], name = c;
    }
    choices.priceColumn = price.value_or(columns > 1 ? 1 : 0);
    choices.nameColumn = name.value_or(choices.priceColumn == 0 && columns > 1 ? 1 : 0);
    choices.headerRow = records.size() > 1 && (BestColumn(first, kPriceWords, std::nullopt) ||
                                               BestColumn(first, kNameWords, std::nullopt) ||
                                               (choices.priceColumn < first.size() &&
                                                !ReadsAsAmount(first[choices.priceColumn]) &&
                                                amounts[choices.priceColumn] > 0));

    std::vector<std::string_view> prices;
    for (std::size_t r = choices.headerRow ? 1 : 0; r < records.size(); ++r)
        if (choices.priceColumn < records[r].fields.size())
            prices.push_back(records[r].fields[choices.priceColumn]);
    choices.decimalMark = SettleDecimalMark(prices);
    return choices;
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

void ApplyImport(const std::string& listFolder, const ImportPlan& plan,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::string& sourceFile) {
    UndoRecord previous = ReadUndoRecord(listFolder);
    bool previousCutShort = FileExists(listFolder + kLastImportRecord) && !previous.done;
    UndoRecord record;
    std::unordered_set<std::string> recorded;
    if (previousCutShort) {
        record.entries = previous.entries;
        for (const UndoEntry& entry : record.entries) recorded.insert(FoldCase(entry.name));
    }
    for (const ImportLine& line : plan.lines) {
        if (line.change == LineChange::Unchanged || !recorded.insert(FoldCase(line.name)).second)
            continue;
        if (line.change == LineChange::Added)
            record.entries.push_back({'A', line.name, {}});
        else
            record.entries.push_back({'C', line.name, line.oldPrice});
    }
    for (const ListItem& item : plan.deleted)
        if (recorded.insert(FoldCase(item.name)).second)
            record.entries.push_back({'D', item.name, item.price});
    bool changes = plan.added + plan.changed + plan.deleted.size() > 0;
    if (!changes && !previousCutShort) return;  // the last import stays the one to undo
    WriteUndoRecord(listFolder, record);

    std::size_t total = plan.added + plan.changed + plan.deleted.size(), done = 0;
    for (const ImportLine& line : plan.lines) {
        if (line.change == LineChange::Unchanged) continue;
        if (line.change == LineChange::Added)
            WriteNewItemPrice(listFolder, line.name, line.price);
        else
            WriteItemPrice(listFolder, line.name, line.price);
        if (progress) progress(++done, total);
    }
    for (const ListItem& item : plan.deleted) {
        DeleteItem(listFolder, item.name);
        if (progress) progress(++done, total);
    }

    std::vector<std::vector<std::string>> supplier =
        ReadRecordLines(listFolder + kSupplierNamesRecord);
    std::unordered_map<std::string, std::size_t> bySupplier;
    for (std::size_t i = 0; i < supplier.size(); ++i)
        if (supplier[i].size() == 2) bySupplier[FoldCase(supplier[i][0])] = i;
    bool namesChanged = false;
    for (const ImportLine& line : plan.lines) {
        if (!line.mended || line.nameInFile == line.name) continue;
        auto at = bySupplier.find(FoldCase(line.nameInFile));
        if (at == bySupplier.end()) {
            bySupplier.emplace(FoldCase(line.nameInFile), supplier.size());
            supplier.push_back({line.nameInFile, line.name});
            namesChanged = true;
        } else if (supplier[at->second][1] != line.name) {
            supplier[at->second] = {line.nameInFile, line.name};
            namesChanged = true;
        }
    }
    if (namesChanged) {
        std::string text;
        for (const auto& fields : supplier)
            if (fields.size() == 2) text += Escaped(fields[0]) + "\t" + Escaped(fields[1]) + "\n";
        ReplaceFile(listFolder + kSupplierNamesRecord, text, true);
    }

    std::vector<PriceHistoryEntry> history;
    std::int64_t now = HistoryTimeNow();
    std::string file(FileNamePart(sourceFile));
    for (const ImportLine& line : plan.lines)
        if (line.change != LineChange::Unchanged)
            history.push_back({now, PriceSource::Imported, line.name,
                               line.change == LineChange::Added ? Amount{} : line.oldPrice,
                               line.price, file});
    AppendPriceHistory(listFolder, history, true);

    record.done = true;
    WriteUndoRecord(listFolder, record);
}

bool CanUndoLastImport(const std::string& listFolder) {
    return FileExists(listFolder + kLastImportRecord);
}

void UndoLastImport(const std::string& listFolder,
                    const std::function<void(std::size_t, std::size_t)>& progress) {
    std::vector<UndoEntry> entries = ReadUndoRecord(listFolder).entries;
    std::size_t done = 0;
    std::vector<PriceHistoryEntry> history;
    std::int64_t now = HistoryTimeNow();
    for (const UndoEntry& entry : entries) {
        if (progress) progress(++done, entries.size());
        if (entry.kind == 'A') {
            DeleteItem(listFolder, entry.name);
            continue;
        }
        bool gone = !FileExists(listFolder + entry.name);
        Amount imported = gone ? Amount{} : ReadItemPrice(listFolder, entry.name);
        if (entry.kind == 'D' && gone)
            WriteNewItemPrice(listFolder, entry.name, entry.oldPrice);  // it went with the import
        else
            WriteItemPrice(listFolder, entry.name, entry.oldPrice);
        history.push_back({now, PriceSource::Undone, entry.name, imported, entry.oldPrice, {}});
    }
    AppendPriceHistory(listFolder, history, true);
    ForgetLastImport(listFolder);
}

void ForgetLastImport(const std::string& listFolder) {
    ::unlink((listFolder + kLastImportRecord).c_str());
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
