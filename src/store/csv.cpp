#include "store/csv.h"

#include <map>

#include "store/code_page.h"

namespace quantora {

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || lead == 0xC0 || lead == 0xC1 || lead > 0xF4) return false;
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        auto second = static_cast<unsigned char>(bytes[i + 1 < bytes.size() ? i + 1 : i]);
        // Overlong forms, the surrogates and code points past U+10FFFF.
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}

bool LooksBinary(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

TextEncoding DetectEncoding(std::string_view bytes) {
    return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) return DecodeCp1252(bytes);
    if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
    // Bytes that are not UTF-8 after all are read one by one in the other code page, so
    // that a chosen encoding never loses a line.
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t run = 1;
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead >= 0x80) {
            run = (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
            if (i + run > bytes.size() || !IsValidUtf8(bytes.substr(i, run))) run = 0;
        }
        if (run == 0) {
            text += DecodeCp1252(bytes.substr(i, 1));
            ++i;
        } else {
            text.append(bytes.substr(i, run));
            i += run;
        }
    }
    return text;
}

std::vector<CsvRecord> ReadCsv(std::string_view text, char delimiter) {
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    std::size_t line = 1;
    bool quoted = false, wasQuoted = false, recordStarted = false;
    auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        bool blank = record.fields.size() == 1 && record.fields[0].empty();
        if (!blank) records.push_back(std::move(record));
        record = CsvRecord{};
        recordStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (!recordStarted) {
            record.line = line;
            recordStarted = true;
        }
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == delimiter) {
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++line;
            endRecord();
        } else {
            // The plain run up to the next character that means something, appended whole.
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != delimiter && text[end] != '\n' &&
                   text[end] != '\r' && text[end] != '"')
                ++end;
            field.append(text.data() + i, end - i);
            i = end - 1;
        }
    }
    if (recordStarted) endRecord();
    return records;
}

char DetectDelimiter(std::string_view text) {
    // The first records are enough to tell; a quoted line break must not cut one in two.
    std::size_t sample = 0;
    for (int lines = 0; sample < text.size() && lines < 50; ++sample)
        if (text[sample] == '\n') ++lines;
    std::string_view head = text.substr(0, sample);
    char best = ',';
    std::size_t bestScore = 0;
    for (char delimiter : {'\t', ';', ','}) {
        std::map<std::size_t, std::size_t> counts;
        for (const CsvRecord& record : ReadCsv(head, delimiter)) ++counts[record.fields.size()];
        std::size_t score = 0;
        for (auto [fields, records] : counts)
            if (fields >= 2 && records > score) score = records;
        if (score > bestScore) {
            best = delimiter;
            bestScore = score;
        }
    }
    return best;
}

std::string CsvLine(const std::vector<std::string>& fields, char delimiter) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        if (i > 0) line += delimiter;
        bool needsQuotes =
            field.find_first_of(std::string{'"', '\r', '\n', delimiter}) != std::string::npos ||
            (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!needsQuotes) {
            line += field;
            continue;
        }
        line += '"';
        for (char c : field) line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

}  // namespace quantora
