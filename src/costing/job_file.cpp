#include "costing/job_file.h"

#include "store/code_page.h"
#include "store/data_file.h"
#include "store/little_endian.h"

namespace quantora {

namespace {

std::uint64_t RecordOffset(std::int32_t k) {
    if (k < 0) throw std::out_of_range("no such job line");
    return static_cast<std::uint64_t>(k) * kJobRecordSize;
}

std::int32_t CountOf(const DataFile& file) {
    return static_cast<std::int32_t>(file.Size() / kJobRecordSize);
}

}  // namespace

std::string EncodeJobLine(const JobLine& line) {
    auto item = EncodeCp1252(line.Item);
    if (!item) throw JobNameError("the name has characters a job line cannot hold");
    if (item->size() > kJobItemSize) throw JobNameError("the name is longer than 70 characters");
    item->resize(kJobItemSize, ' ');

    std::string record;
    record.reserve(kJobRecordSize);
    AppendInt16(record, line.Kind);
    AppendInt16(record, line.SourceSlot);
    AppendInt64(record, line.Quant.raw);
    record += *item;
    AppendInt64(record, line.Price.raw);
    AppendInt64(record, line.SubTot.raw);
    return record;
}

JobLine DecodeJobLine(std::string_view record) {
    JobLine line;
    line.Kind = ReadInt16(record, 0);
    line.SourceSlot = ReadInt16(record, 2);
    line.Quant = Amount::FromRaw(ReadInt64(record, 4));
    std::string_view item = record.substr(12, kJobItemSize);
    item = item.substr(0, item.find_last_not_of(' ') + 1);
    line.Item = DecodeCp1252(item);
    line.Price = Amount::FromRaw(ReadInt64(record, kJobPriceOffset));
    line.SubTot = Amount::FromRaw(ReadInt64(record, kJobPriceOffset + 8));
    return line;
}

std::string EncodePriceAndSubTot(Amount price, Amount subTot) {
    std::string bytes;
    AppendInt64(bytes, price.raw);
    AppendInt64(bytes, subTot.raw);
    return bytes;
}

JobLine ReadLine(const std::string& path, std::int32_t k) {
    DataFile file = DataFile::Open(path);
    if (k >= CountOf(file)) throw std::out_of_range("no such job line");
    return DecodeJobLine(file.ReadAt(RecordOffset(k), kJobRecordSize));
}

std::vector<JobLine> DecodeJobFile(std::string_view bytes) {
    std::vector<JobLine> lines;
    lines.reserve(bytes.size() / kJobRecordSize);
    for (std::size_t offset = 0; offset + kJobRecordSize <= bytes.size(); offset += kJobRecordSize)
        lines.push_back(DecodeJobLine(bytes.substr(offset, kJobRecordSize)));
    return lines;
}

std::vector<JobLine> ReadAllLines(const std::string& path) {
    return DecodeJobFile(DataFile::Open(path).ReadAll());
}

void WriteLine(const std::string& path, std::int32_t k, const JobLine& line) {
    std::string record = EncodeJobLine(line);  // refuses a bad name before the file is touched
    if (k > CountOf(DataFile::Open(path)))
        throw std::out_of_range("a job line can only be appended at the end");
    WriteUntorn(path, RecordOffset(k), record);
}

void ReplaceWorkingCopy(const std::string& tempJob, const std::string& spareJob,
                        const std::string& records) {
    // Spare.job is scratch: it is written as it stands.
    DeleteDataFile(spareJob);
    DataFile::Open(spareJob).WriteAt(0, records);
    if (Files().Rename(spareJob, tempJob) != 0)
        throw DataFileError(DataFileError::Kind::Open, tempJob);
}

void RebuildWithoutLine(const std::string& tempJob, const std::string& spareJob, std::int32_t k) {
    std::string bytes = DataFile::Open(tempJob).ReadAll();
    std::string kept;
    kept.reserve(bytes.size());
    for (std::size_t offset = 0, index = 0; offset + kJobRecordSize <= bytes.size();
         offset += kJobRecordSize, ++index) {
        if (static_cast<std::int64_t>(index) != k) kept.append(bytes, offset, kJobRecordSize);
    }
    ReplaceWorkingCopy(tempJob, spareJob, kept);
}

}  // namespace quantora
