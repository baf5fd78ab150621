// Comma-separated files as spreadsheets and suppliers write them: the text's encoding and
// delimiter found from the file, records read as RFC 4180 has them (quoted fields, doubled
// quotes, delimiters and line breaks inside quotes, CRLF or LF, a last line without a line
// end), and fields written back with quotes only where they need them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quantora {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

enum class TextEncoding { Utf8, Windows1252 };

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// True when the bytes cannot be text: they hold a NUL byte.
bool LooksBinary(std::string_view bytes);

// The encoding the bytes are in: UTF-8 (with or without a byte-order mark) when they are
// valid UTF-8, Windows-1252 otherwise.
TextEncoding DetectEncoding(std::string_view bytes);

// The bytes as UTF-8 text, read in the encoding given, without a byte-order mark.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// The delimiter of the text's records: tab, semicolon or comma, whichever splits the first
// records into the same number of fields (at least two) most often; comma when none does.
char DetectDelimiter(std::string_view text);

struct CsvRecord {
    std::size_t line = 0;  // the line of the file the record starts on, from 1
    std::vector<std::string> fields;
};

// The records of the text; blank lines are left out. A quote left open runs to the end.
std::vector<CsvRecord> ReadCsv(std::string_view text, char delimiter);

// One record's line: the fields joined by the delimiter, each quoted where it holds the
// delimiter, a quote, a line break or blanks at either end, and CRLF at the end.
std::string CsvLine(const std::vector<std::string>& fields, char delimiter);

}  // namespace quantora
