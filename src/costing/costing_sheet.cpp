#include "costing/costing_sheet.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "store/code_page.h"
#include "store/collation.h"
#include "store/data_file.h"

namespace quantora {

CostingSheet::CostingSheet(std::string tempJob, std::int32_t lineCount,
                           const std::vector<JobLine>& lines, Amount total)
    : tempJob_(std::move(tempJob)), lineCount_(lineCount) {
    window_.Reset(lineCount_ + 1);
    // Repricing shows the lines that have an item, zeros written out; a line with a quantity
    // but no item yet shows once the rows are loaded again.
    for (int row = 0; row < kRows && row < static_cast<int>(lines.size()); ++row)
        if (!lines[static_cast<std::size_t>(row)].Item.empty())
            ShowLine(row, lines[static_cast<std::size_t>(row)], Zeros::Shown);
    if (lineCount_ > 0) totalText_ = MoneyText(total);
    Focus(0);
}

void CostingSheet::ShowLine(int row, const JobLine& line, Zeros zeros) {
    SheetRow& shown = rows_[static_cast<std::size_t>(row)];
    bool blank = zeros == Zeros::Blank;
    shown.kind = line.Kind;
    shown.slot = line.SourceSlot;
    shown.quant = blank && line.Quant == Amount{} ? "" : QuantityText(line.Quant);
    shown.item = line.Item;
    shown.price = AmountText(line.Price);
    shown.subTot = blank && line.SubTot == Amount{} ? "" : MoneyText(line.SubTot);
}

JobLine CostingSheet::LineOf(int row) const {
    const SheetRow& shown = rows_[static_cast<std::size_t>(row)];
    return {shown.kind,
            shown.slot,
            ParseAmount(shown.quant),
            shown.item,
            ParseAmount(shown.price),
            ParseAmount(shown.subTot)};
}

int CostingSheet::Focus(int row) {
    if (window_.Top() + row > lineCount_) return window_.Current();
    window_.Choose(row);
    oldSubTot_ = ParseAmount(rows_[static_cast<std::size_t>(row)].subTot);
    return row;
}

void CostingSheet::Clear() {
    for (SheetRow& row : rows_) {
        // The source of a row stays: a quantity typed on a new line keeps the last one shown.
        row.quant.clear();
        row.item.clear();
        row.price.clear();
        row.subTot.clear();
    }
}

std::string CostingSheet::ShownRecords() const {
    // Only the records under the rows are read: a long job costs no more than a short one.
    return DataFile::ReadPart(tempJob_, static_cast<std::uint64_t>(window_.Top()) * kJobRecordSize,
                              kRows * kJobRecordSize)
        .value_or("");
}

void CostingSheet::LoadSection() {
    section_ = ShownRecords();
    sectionTop_ = window_.Top();
    std::vector<JobLine> lines = DecodeJobFile(section_);
    for (int row = 0; row < kRows && row < static_cast<int>(lines.size()); ++row)
        ShowLine(row, lines[static_cast<std::size_t>(row)], Zeros::Blank);
}

void CostingSheet::SaveSection() {
    if (sectionTop_ != window_.Top()) {
        section_ = ShownRecords();
        sectionTop_ = window_.Top();
    }
    for (int row = 0; row < kRows; ++row) {
        std::int32_t line = window_.Top() + row;
        if (line > lineCount_ - 1) break;
        std::string record = EncodeJobLine(LineOf(row));
        auto offset = static_cast<std::size_t>(row) * kJobRecordSize;
        // Rows the user did not change are not written again: scrolling a long job costs
        // no writes at all.
        if (offset + kJobRecordSize <= section_.size() &&
            section_.compare(offset, kJobRecordSize, record) == 0)
            continue;
        WriteLine(tempJob_, line, LineOf(row));
        // A new line lands at the end, over any piece of a record left there.
        section_.replace(offset, kJobRecordSize, record);
    }
}

void CostingSheet::Jump(std::int32_t delta) {
    SaveSection();
    Clear();
    window_.ScrollTo(window_.Top() + delta);
    LoadSection();
    Focus(window_.Current());
}

void CostingSheet::ScrollTo(std::int32_t top) {
    SaveSection();
    Clear();
    window_.ScrollTo(top);
    LoadSection();
    Focus(window_.Current());
}

void CostingSheet::Up() {
    if (window_.Current() > 0)
        Focus(window_.Current() - 1);
    else if (window_.Top() > 0)
        Jump(-1);
}

void CostingSheet::DownOrEnter() {
    int current = window_.Current();
    if (rows_[static_cast<std::size_t>(current)].item.empty()) {
        pickPending_ = true;
        return;
    }
    if (window_.Top() + current >= lineCount_) return;
    if (current < kRows - 1)
        Focus(current + 1);
    else
        Jump(+1);
}

bool CostingSheet::TypeQuantChar(int row, char32_t c) {
    if (!IsAmountEntryChar(c)) return false;
    if (window_.Top() + row + 1 > lineCount_) {
        lineCount_ = window_.Top() + row + 1;
        window_.SetEntries(lineCount_ + 1);
    }
    return true;
}

RowKeyOutcome CostingSheet::KeyReleased(int row, ReleasedKey key) {
    if (pickPending_) {
        pickPending_ = false;
        return RowKeyOutcome::AutoPick;
    }
    if (key == ReleasedKey::Control || key == ReleasedKey::Up || key == ReleasedKey::Escape)
        return RowKeyOutcome::None;
    SheetRow& shown = rows_[static_cast<std::size_t>(row)];
    if (key == ReleasedKey::EnterOrDown) {
        bool emptyNewLine = shown.item.empty() && window_.Top() + row == lineCount_;
        return emptyNewLine ? RowKeyOutcome::AutoPick : RowKeyOutcome::None;
    }
    // Worked out as the design's texts: the product's money text is the sub total.
    std::string subTot = MoneyText(ParseAmount(shown.quant) * ParseAmount(shown.price));
    Amount total = ParseAmount(totalText_) + ParseAmount(subTot) - oldSubTot_;
    shown.subTot = subTot;
    totalText_ = MoneyText(total);
    oldSubTot_ = ParseAmount(shown.subTot);
    changed_ = true;
    return RowKeyOutcome::Recomputed;
}

void CostingSheet::FillCurrentRow(const std::string& item, std::int16_t kind, std::int16_t slot,
                                  Amount price) {
    SheetRow& shown = rows_[static_cast<std::size_t>(window_.Current())];
    std::string subTot = MoneyText(ParseAmount(shown.quant) * price);
    Amount total = ParseAmount(totalText_) + ParseAmount(subTot) - oldSubTot_;
    shown.item = item;
    shown.kind = kind;
    shown.slot = slot;
    shown.price = AmountText(price);
    shown.subTot = subTot;
    totalText_ = MoneyText(total);
    oldSubTot_ = ParseAmount(subTot);
    changed_ = true;
}

void CostingSheet::SortLines(const std::string& spareJob) {
    SaveSection();
    std::string bytes = DataFile::Open(tempJob_).ReadAll();
    std::size_t count = bytes.size() / kJobRecordSize;
    // A costing names the same items on many lines: each distinct name is collated once and
    // given its rank, and the lines are then sorted by rank.
    std::unordered_map<std::string_view, std::int32_t> nameIndex;
    std::vector<std::string_view> names;
    std::vector<std::int32_t> nameOfLine(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view item =
            std::string_view(bytes).substr(i * kJobRecordSize + 12, kJobItemSize);
        item = item.substr(0, item.find_last_not_of(' ') + 1);
        auto [known, fresh] = nameIndex.try_emplace(item, static_cast<std::int32_t>(names.size()));
        if (fresh) names.push_back(item);
        nameOfLine[i] = known->second;
    }
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (std::string_view name : names) keys.push_back(CollationKey(DecodeCp1252(name)));
    std::vector<std::int32_t> byKey(names.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(), [&](std::int32_t a, std::int32_t b) {
        return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
    });
    std::vector<std::int32_t> rank(names.size());
    for (std::size_t r = 0; r < byKey.size(); ++r) {
        // Names that collate alike share a rank, so their lines keep their order.
        bool same = r > 0 && keys[static_cast<std::size_t>(byKey[r])] ==
                                 keys[static_cast<std::size_t>(byKey[r - 1])];
        rank[static_cast<std::size_t>(byKey[r])] =
            same ? rank[static_cast<std::size_t>(byKey[r - 1])] : static_cast<std::int32_t>(r);
    }
    // There are no more ranks than names, so the lines are placed by counting: stable, and
    // one pass however long the job.
    std::vector<std::size_t> start(names.size() + 1, 0);
    for (std::int32_t name : nameOfLine)
        ++start[static_cast<std::size_t>(rank[static_cast<std::size_t>(name)]) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::string records(count * kJobRecordSize, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t& place =
            start[static_cast<std::size_t>(rank[static_cast<std::size_t>(nameOfLine[i])])];
        records.replace(place++ * kJobRecordSize, kJobRecordSize, bytes, i * kJobRecordSize,
                        kJobRecordSize);
    }
    ReplaceWorkingCopy(tempJob_, spareJob, records);
    Clear();
    LoadSection();
    Focus(window_.Current());
    changed_ = true;
}

void CostingSheet::DeleteCurrentLine(const std::string& spareJob) {
    std::int32_t k = window_.CurrentEntry();
    if (k >= lineCount_) return;
    SaveSection();
    RebuildWithoutLine(tempJob_, spareJob, k);
    totalText_ = MoneyText(ParseAmount(totalText_) -
                           ParseAmount(rows_[static_cast<std::size_t>(window_.Current())].subTot));
    --lineCount_;
    window_.SetEntries(lineCount_ + 1);
    Clear();
    LoadSection();
    Focus(window_.Current());
    changed_ = true;
}

}  // namespace quantora
