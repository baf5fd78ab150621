#include "pricelists/import_file.h"

#include <algorithm>

#include "store/code_page.h"

namespace quantora {

namespace {

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

}  // namespace

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
            else if (cell.find_first_not_of(' ') != std::string::npos)
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

}  // namespace quantora
