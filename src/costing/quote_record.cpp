#include "costing/quote_record.h"

#include <charconv>
#include <cstdio>

#include "services/clock_text.h"
#include "store/code_page.h"
#include "store/data_file.h"

namespace quantora {

namespace {

constexpr std::string_view kHeading = "quantora-quote 1\n";

std::optional<std::int64_t> Number(std::string_view text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The fields of a line split at tabs.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    while (true) {
        std::size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab - from));
        if (tab == std::string_view::npos) return fields;
        from = tab + 1;
    }
}

bool Plain(const std::string& text) { return text.find_first_of("\t\r\n") == std::string::npos; }

}  // namespace

std::string QuoteRecordPath(const DataPaths& paths, std::int16_t groupSlot,
                            const std::string& job) {
    return paths.QuoteFolder() + ".quantora-quoted/" + std::to_string(groupSlot) + "/" + job;
}

std::string EncodeQuoteRecord(const QuoteRecord& record) {
    std::string text(kHeading);
    text +=
        std::to_string(record.time) + "\t" + (Plain(record.customer) ? record.customer : "") + "\n";
    for (const JobLine& line : record.lines) {
        if (!Plain(line.Item)) continue;
        text += std::to_string(line.Kind) + "\t" + std::to_string(line.SourceSlot) + "\t" +
                std::to_string(line.Quant.raw) + "\t" + std::to_string(line.Price.raw) + "\t" +
                std::to_string(line.SubTot.raw) + "\t" + line.Item + "\n";
    }
    return text;
}

std::optional<QuoteRecord> ParseQuoteRecord(std::string_view bytes) {
    if (bytes.substr(0, kHeading.size()) != kHeading) return std::nullopt;
    bytes.remove_prefix(kHeading.size());
    std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::vector<std::string_view> head = Fields(bytes.substr(0, end));
    std::optional<std::int64_t> time = head.size() == 2 ? Number(head[0]) : std::nullopt;
    if (!time || head[1].find('\r') != std::string_view::npos) return std::nullopt;
    QuoteRecord record{*time, std::string(head[1]), {}};
    bytes.remove_prefix(end + 1);
    // The record is replaced whole, so every line is whole: one that is not is damage.
    while (!bytes.empty()) {
        end = bytes.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        std::vector<std::string_view> fields = Fields(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
        if (fields.size() != 6 || fields[5].find('\r') != std::string_view::npos)
            return std::nullopt;
        auto kind = Number(fields[0]), slot = Number(fields[1]), quant = Number(fields[2]),
             price = Number(fields[3]), subTot = Number(fields[4]);
        if (!kind || !slot || !quant || !price || !subTot || *kind < INT16_MIN ||
            *kind > INT16_MAX || *slot < INT16_MIN || *slot > INT16_MAX)
            return std::nullopt;
        record.lines.push_back({static_cast<std::int16_t>(*kind), static_cast<std::int16_t>(*slot),
                                Amount::FromRaw(*quant), std::string(fields[5]),
                                Amount::FromRaw(*price), Amount::FromRaw(*subTot)});
    }
    return record;
}

bool WriteQuoteRecord(const std::string& path, const QuoteRecord& record) {
    EnsureFolderPath(path);
    try {
        ReplaceFile(path, EncodeQuoteRecord(record), true);
        return true;
    } catch (const DataFileError&) {
        return false;
    }
}

std::optional<QuoteRecord> ReadQuoteRecord(const std::string& path) {
    try {
        std::optional<std::string> bytes = DataFile::ReadWhole(path);
        return bytes ? ParseQuoteRecord(*bytes) : std::nullopt;
    } catch (const DataFileError&) {
        return std::nullopt;
    }
}

SinceQuote ChangesSinceQuote(const QuoteRecord& quoted, const std::vector<JobLine>& now) {
    SinceQuote since;
    try {
        Amount total;
        for (const JobLine& line : quoted.lines) total += line.SubTot;
        since.quotedTotal = total;
    } catch (const AmountOverflow&) {
    }
    std::size_t count = std::min(quoted.lines.size(), now.size());
    for (std::size_t k = 0; k < count; ++k) {
        const JobLine &was = quoted.lines[k], &is = now[k];
        bool same = was.Kind == is.Kind && was.SourceSlot == is.SourceSlot &&
                    FoldCase(was.Item) == FoldCase(is.Item) && !is.Item.empty();
        if (same && (was.Price != is.Price || was.SubTot != is.SubTot))
            since.changes.push_back({static_cast<std::int32_t>(k), was.Price, was.SubTot});
    }
    return since;
}

std::optional<std::string> SinceQuoteNote(const QuoteRecord& quoted,
                                          const std::optional<Amount>& quotedTotal, Amount now) {
    if (!quotedTotal || quotedTotal->raw == 0 || *quotedTotal == now) return std::nullopt;
    double percent =
        (static_cast<double>(now.raw) - static_cast<double>(quotedTotal->raw)) /
        static_cast<double>(quotedTotal->raw < 0 ? -quotedTotal->raw : quotedTotal->raw) * 100.0;
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f %%", percent);
    std::string note = std::string("cost ") + text + " since the quote";
    if (!quoted.customer.empty()) note += " to " + quoted.customer;
    return note + " of " + LongDateText(ClockAt(quoted.time));
}

}  // namespace quantora
