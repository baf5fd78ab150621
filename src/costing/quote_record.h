// What a costing cost when its last quote went out: kept beside the kept quotes, one record a
// job, so that opening the job later can say how far its cost has moved since the customer
// was quoted, and list the lines that moved. A record of the program's own; a damaged one
// reads as none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "costing/job_file.h"
#include "costing/pricing.h"
#include "store/data_folder.h"

namespace quantora {

struct QuoteRecord {
    std::int64_t time = 0;  // seconds since 1970, UTC
    std::string customer;
    std::vector<JobLine> lines;  // the costing's lines at cost, as quoted
    friend bool operator==(const QuoteRecord&, const QuoteRecord&) = default;
};

// Where the record of a job's last quote is kept.
std::string QuoteRecordPath(const DataPaths& paths, std::int16_t groupSlot, const std::string& job);

std::string EncodeQuoteRecord(const QuoteRecord& record);
std::optional<QuoteRecord> ParseQuoteRecord(std::string_view bytes);

// Replaces the job's record whole, making its folders. False when it could not be written:
// the quote has gone out all the same, and only the comparison is lost.
bool WriteQuoteRecord(const std::string& path, const QuoteRecord& record);
std::optional<QuoteRecord> ReadQuoteRecord(const std::string& path);

// The lines that moved since the quote, line by line where the costing still holds the quoted
// line at the same place (the same item from the same source), and the quoted total.
struct SinceQuote {
    std::vector<PriceChange> changes;
    std::optional<Amount> quotedTotal;
};
SinceQuote ChangesSinceQuote(const QuoteRecord& quoted, const std::vector<JobLine>& now);

// "cost +3.1 % since the quote to Amelia Hart of 7 December 2026"; nothing when the cost is
// as quoted or the quoted total was 0.
std::optional<std::string> SinceQuoteNote(const QuoteRecord& quoted,
                                          const std::optional<Amount>& quotedTotal, Amount now);

}  // namespace quantora
