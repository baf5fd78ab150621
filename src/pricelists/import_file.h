// A supplier's price file as an import reads it: its bytes, its encoding and delimiter, and
// the guess of which columns hold the names and the prices, made from the header's words in
// the languages of most price files, or else from what the columns hold.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "pricelists/name_mending.h"
#include "pricelists/supplier_amount.h"
#include "store/csv.h"

namespace quantora {

enum class LongNames { Skip, Cut };

struct ImportChoices {
    TextEncoding encoding = TextEncoding::Utf8;
    char delimiter = ',';
    bool headerRow = false;
    std::size_t nameColumn = 0;
    std::size_t priceColumn = 1;
    std::optional<DecimalMark> decimalMark;  // nothing until the file or the user settles it
    LongNames longNames = LongNames::Skip;
    bool mend = true;
    MendingRule rule;
    bool deleteMissing = false;  // items of the list the file does not name
};

// A supplier's file: its bytes, and its records as the chosen encoding and delimiter read them.
class ImportFile {
  public:
    explicit ImportFile(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Bytes() const { return bytes_; }
    bool IsBinary() const { return LooksBinary(bytes_); }
    // The encoding the bytes are in, found once.
    TextEncoding Encoding();
    // The bytes as text in the encoding, decoded again only when the encoding changes.
    const std::string& Text(TextEncoding encoding);
    // Read again only when the encoding or the delimiter changes.
    const std::vector<CsvRecord>& Records(TextEncoding encoding, char delimiter);
    // The most fields any record has.
    std::size_t ColumnCount(TextEncoding encoding, char delimiter);

  private:
    std::string bytes_;
    std::optional<TextEncoding> encoding_;
    std::optional<TextEncoding> decodedAs_;
    std::string text_;
    std::optional<std::pair<TextEncoding, char>> readAs_;
    std::vector<CsvRecord> records_;
};

// The message a file that cannot be imported leads to: one that is no text, or that holds
// no rows. Nothing for a file that can be previewed.
std::optional<std::string> ImportFileProblem(ImportFile& file);

// What the file itself tells: its encoding and delimiter, whether its first record is a header,
// which columns hold the names and the prices (from the header's words, otherwise from what
// the columns hold), and the decimal mark of the prices when they settle it.
ImportChoices GuessChoices(ImportFile& file);

}  // namespace quantora
