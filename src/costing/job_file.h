// The job file: a costing as a flat run of 98-byte line records with no header. Saved
// jobs and the working files Temp.job, Spare.job and Clip.job all share it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/amount.h"

namespace quantora {

inline constexpr std::size_t kJobRecordSize = 98;
inline constexpr std::size_t kJobItemSize = 70;
// Byte offset of Price within a record; Price and SubTot are the 16 bytes that repricing
// rewrites.
inline constexpr std::size_t kJobPriceOffset = 82;

struct JobLine {
    std::int16_t Kind = 0;  // 1: the item is another saved job; anything else: a price list item
    std::int16_t SourceSlot = 0;  // the price list's or the group's slot number
    Amount Quant;
    std::string Item;  // UTF-8, trailing spaces removed
    Amount Price;
    Amount SubTot;

    bool IsJob() const { return Kind == 1; }
    friend bool operator==(const JobLine&, const JobLine&) = default;
};

// Raised when a name cannot be stored in a line: it does not fit Windows-1252 or is longer
// than 70 bytes. Nothing is written.
class JobNameError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// The record of a line, exactly 98 bytes. Throws JobNameError for an item it cannot store.
std::string EncodeJobLine(const JobLine& line);
// Reads a record; the caller passes at least 98 bytes.
JobLine DecodeJobLine(std::string_view record);
// The lines of a job file's content: one per whole record; a piece at the end is no line.
std::vector<JobLine> DecodeJobFile(std::string_view bytes);
// The 16 bytes of Price then SubTot.
std::string EncodePriceAndSubTot(Amount price, Amount subTot);

// File operations. Every one opens the file, works and closes it again. A file whose length
// is not a whole number of records (never written by this program) has as many lines as
// whole records it holds; the piece at the end is left alone by everything but a rebuild,
// which drops it.
JobLine ReadLine(const std::string& path, std::int32_t k);
std::vector<JobLine> ReadAllLines(const std::string& path);
// Writes line k; k equal to the line count appends a line.
void WriteLine(const std::string& path, std::int32_t k, const JobLine& line);

// The working copy becomes the given records: Spare.job takes them, then the place of
// Temp.job in one rename, so a crash leaves the old working copy or the new one.
void ReplaceWorkingCopy(const std::string& tempJob, const std::string& spareJob,
                        const std::string& records);

// Rebuilds the working copy without line k: the other records, unchanged and in order, go
// to Spare.job, which then takes the place of Temp.job in one rename.
void RebuildWithoutLine(const std::string& tempJob, const std::string& spareJob, std::int32_t k);

}  // namespace quantora
