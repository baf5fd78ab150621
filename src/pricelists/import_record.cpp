#include "pricelists/import_record.h"

#include <cerrno>
#include <cstdlib>

#include "pricelists/list_records.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

std::optional<Amount> RawAmount(const std::string& text) {
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long long raw = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return Amount::FromRaw(raw);
}

}  // namespace

// One entry a line: the kind, the old price but for an added item, the new price when there
// is one, the name. "finishable" comes first; "done" and "undoing" last.
std::string EncodeImportRecord(const ImportRecord& record) {
    std::string text = record.finishable ? "finishable\n" : "";
    for (const ImportRecordEntry& entry : record.entries) {
        text += entry.kind;
        if (entry.kind != 'A') text += "\t" + std::to_string(entry.oldPrice.raw);
        if (entry.newPrice) text += "\t" + std::to_string(entry.newPrice->raw);
        text += "\t" + EscapedField(entry.name) + "\n";
    }
    if (record.done) text += "done\n";
    if (record.undoing) text += "undoing\n";
    return text;
}

ImportRecord ParseImportRecord(std::string_view bytes) {
    ImportRecord record;
    record.finishable = false;
    for (const auto& fields : SplitRecordLines(bytes)) {
        const std::string& kind = fields[0];
        if (fields.size() == 1) {
            record.finishable |= kind == "finishable";
            record.done |= kind == "done";
            record.undoing |= kind == "undoing";
            continue;
        }
        ImportRecordEntry entry;
        entry.name = fields.back();
        if (kind.size() != 1 || !IsPlainFileName(entry.name)) continue;
        entry.kind = kind[0];
        std::optional<Amount> old, price;
        if (entry.kind == 'A' && fields.size() <= 3) {
            if (fields.size() == 3 && !(price = RawAmount(fields[1]))) continue;
        } else if ((entry.kind == 'C' || entry.kind == 'D') && fields.size() >= 3 &&
                   fields.size() <= 4) {
            if (!(old = RawAmount(fields[1]))) continue;
            if (fields.size() == 4 && !(price = RawAmount(fields[2]))) continue;
            entry.oldPrice = *old;
        } else {
            continue;
        }
        entry.newPrice = price;
        record.entries.push_back(std::move(entry));
    }
    return record;
}

}  // namespace quantora
