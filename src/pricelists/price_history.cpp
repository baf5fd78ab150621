#include "pricelists/price_history.h"

#include <array>
#include <charconv>
#include <chrono>

#include "services/clock_text.h"
#include "store/code_page.h"
#include "store/data_file.h"
#include "store/data_folder.h"

namespace quantora {

namespace {

char SourceLetter(PriceSource source) {
    return source == PriceSource::Typed ? 'T' : source == PriceSource::Imported ? 'I' : 'U';
}

std::optional<std::int64_t> Number(std::string_view text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

bool FitsOnALine(const std::string& text) {
    return text.find_first_of("\t\r\n") == std::string::npos;
}

std::string Line(const PriceHistoryEntry& entry) {
    return std::to_string(entry.time) + '\t' + SourceLetter(entry.source) + '\t' +
           std::to_string(entry.oldPrice.raw) + '\t' + std::to_string(entry.newPrice.raw) + '\t' +
           entry.item + '\t' + entry.file + '\n';
}

}  // namespace

std::string EncodePriceHistory(const std::vector<PriceHistoryEntry>& entries) {
    std::string lines;
    for (const PriceHistoryEntry& entry : entries)
        if (!entry.item.empty() && FitsOnALine(entry.item) && FitsOnALine(entry.file))
            lines += Line(entry);
    return lines;
}

void AppendPriceHistory(const std::string& listFolder,
                        const std::vector<PriceHistoryEntry>& entries, bool durable) {
    std::string lines = EncodePriceHistory(entries);
    if (lines.empty()) return;
    std::string path = listFolder + kPriceHistoryRecord;
    // One write of whole lines: a crash leaves the record as it was or with a last line cut
    // short, which reading skips.
    if (Files().Write(path, lines, WriteMode::Append, durable) != 0) return;
    EntryFacts facts;
    if (Files().Facts(path, facts) != 0 || facts.size <= kPriceHistoryLimit) return;
    // Outgrown: the newest half of the bound stays, from the first whole line on, replaced
    // whole. Half of what is there would not do: one big import adds far more than the bound.
    try {
        std::optional<std::string> record = DataFile::ReadWhole(path);
        if (!record || record->size() <= kPriceHistoryLimit / 2) return;
        std::size_t from = record->find('\n', record->size() - kPriceHistoryLimit / 2);
        if (from == std::string::npos) return;
        ReplaceFile(path, record->substr(from + 1), durable);
    } catch (const DataFileError&) {
    }
}

std::vector<PriceHistoryEntry> ParsePriceHistory(std::string_view bytes) {
    std::vector<PriceHistoryEntry> entries;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) break;  // cut short: not a whole line
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        std::array<std::string_view, 6> fields;
        std::size_t count = 0, from = 0;
        while (count < fields.size()) {
            std::size_t tab = count + 1 < fields.size() ? line.find('\t', from) : line.size();
            if (tab == std::string_view::npos) break;
            fields[count++] = line.substr(from, tab - from);
            from = tab + 1;
        }
        if (count != fields.size() || fields[1].size() != 1 || fields[4].empty() ||
            fields[4].find('\r') != std::string_view::npos ||
            fields[5].find_first_of("\t\r") != std::string_view::npos)
            continue;
        auto time = Number(fields[0]), oldRaw = Number(fields[2]), newRaw = Number(fields[3]);
        char letter = fields[1][0];
        if (!time || !oldRaw || !newRaw || (letter != 'T' && letter != 'I' && letter != 'U'))
            continue;
        PriceSource source = letter == 'T'   ? PriceSource::Typed
                             : letter == 'I' ? PriceSource::Imported
                                             : PriceSource::Undone;
        entries.push_back({*time, source, std::string(fields[4]), Amount::FromRaw(*oldRaw),
                           Amount::FromRaw(*newRaw), std::string(fields[5])});
    }
    return entries;
}

std::vector<PriceHistoryEntry> ReadPriceHistory(const std::string& listFolder) {
    try {
        std::optional<std::string> bytes = DataFile::ReadWhole(listFolder + kPriceHistoryRecord);
        return bytes ? ParsePriceHistory(*bytes) : std::vector<PriceHistoryEntry>{};
    } catch (const DataFileError&) {
        return {};  // history only: a record that cannot be read tells nothing
    }
}

std::optional<PriceHistoryEntry> LastChangeTo(const std::vector<PriceHistoryEntry>& history,
                                              const std::string& item, Amount price) {
    std::string wanted = FoldCase(item);
    for (auto entry = history.rbegin(); entry != history.rend(); ++entry)
        if (FoldCase(entry->item) == wanted) {
            if (entry->newPrice == price) return *entry;
            return std::nullopt;  // changed since by something the record does not know
        }
    return std::nullopt;
}

std::string WhyText(const PriceHistoryEntry& entry) {
    std::string date = LongDateText(ClockAt(entry.time));
    switch (entry.source) {
        case PriceSource::Typed:
            return "typed in on " + date;
        case PriceSource::Imported:
            return "imported from " + entry.file + " on " + date;
        case PriceSource::Undone:
            return "put back by Undo Last Import on " + date;
    }
    return date;
}

std::int64_t HistoryTimeNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace quantora
