#include "pricelists/list_records.h"

#include <optional>
#include <string_view>

#include "store/data_file.h"
#include "store/data_folder.h"

namespace quantora {

namespace {

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

}  // namespace

std::string EscapedField(const std::string& text) {
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

std::vector<std::vector<std::string>> ReadRecordLines(const std::string& path) {
    try {
        // Only read: a record is never made by looking for it.
        std::optional<std::string> bytes = DataFile::ReadWhole(path);
        if (bytes) return SplitRecordLines(*bytes);
    } catch (const DataFileError&) {
    }
    return {};
}

std::vector<std::vector<std::string>> SplitRecordLines(std::string_view text) {
    std::vector<std::vector<std::string>> lines;
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

std::vector<std::pair<std::string, std::string>> ReadSupplierNames(const std::string& listFolder) {
    std::vector<std::pair<std::string, std::string>> names;
    for (auto& fields : ReadRecordLines(listFolder + kSupplierNamesRecord))
        if (fields.size() == 2) names.emplace_back(std::move(fields[0]), std::move(fields[1]));
    return names;
}

}  // namespace quantora
