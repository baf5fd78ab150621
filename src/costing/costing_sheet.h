// The costing sheet without its window: twenty rows seen over the working copy Temp.job,
// the texts each row shows, the keys that move between rows and make a new line, the
// quantity typed into a row and the sub total and total it leads to. The window shows the
// rows and passes on the user's keys; every rule lives here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "costing/job_file.h"
#include "services/row_window.h"
#include "store/amount.h"

namespace quantora {

// One row as the sheet shows it: the quantity box and the three labels, and the source of
// the line shown there (written back with the row).
struct SheetRow {
    std::string quant;   // QuantityText, or empty for 0
    std::string item;    // the item or job name
    std::string price;   // AmountText
    std::string subTot;  // MoneyText, or empty for 0
    std::int16_t kind = 0;
    std::int16_t slot = 0;
};

// What a key released in a row leads to.
enum class RowKeyOutcome {
    None,
    AutoPick,    // the automatic pick: from price lists or other jobs by the Auto Pick choice
    Recomputed,  // the row's sub total and the total were worked out again
};

class CostingSheet {
  public:
    static constexpr int kRows = 20;

    // A sheet over the working copy at tempJob, holding lineCount lines. The rows start
    // with the first lines of lines (as repricing left them): those with an item name;
    // total is the job's total as repricing found it.
    CostingSheet(std::string tempJob, std::int32_t lineCount, const std::vector<JobLine>& lines,
                 Amount total);

    const SheetRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    const std::string& TotalText() const { return totalText_; }
    std::int32_t LineCount() const { return lineCount_; }
    std::int32_t TopLine() const { return window_.Top(); }
    int CurrentRow() const { return window_.Current(); }
    // The slider: its maximum is the line count less 19, never below 0; the page step 19.
    std::int32_t SliderMaximum() const { return window_.SliderMaximum(); }
    std::int32_t PageStep() const { return window_.PageStep(); }
    // CostingChanged: an edit since the job was opened or saved. Repricing does not count.
    bool Changed() const { return changed_; }
    void MarkSaved() { changed_ = false; }

    // A row takes the focus: refused (the current row keeps it) for a row below the new
    // line. Returns the row that has the focus.
    int Focus(int row);
    // The quantity box of a row as the user left it.
    void SetQuantText(int row, std::string text) {
        rows_[static_cast<std::size_t>(row)].quant = std::move(text);
    }

    // Up arrow pressed in a row: the focus moves up, or the rows scroll down by one.
    void Up();
    // Down arrow or Enter pressed: on a row without an item the pick is asked for (when the
    // key is released); otherwise the focus moves down while there is a line, and on the
    // last row the rows scroll up by one.
    void DownOrEnter();
    // A character typed into a row's quantity: false when it is refused (the error sound).
    // A digit, sign or point typed into the new line makes it a line of the job.
    bool TypeQuantChar(int row, char32_t c);
    // A key released in a row: Enter and Down on an empty new line, or any key after a
    // pick was asked for, lead to the automatic pick; a key that changed the quantity leads
    // to the row worked out again. Throws AmountOverflow when the sub total or the
    // total leaves the range the program can hold; the sheet then closes unsaved.
    enum class ReleasedKey { EnterOrDown, Up, Escape, Control, Other };
    RowKeyOutcome KeyReleased(int row, ReleasedKey key);

    // A pick fills the current row: its item, its source and its price, with the sub total
    // and the total worked out again. Throws AmountOverflow as KeyReleased does.
    void FillCurrentRow(const std::string& item, std::int16_t kind, std::int16_t slot,
                        Amount price);
    // "Sort items alphabetically": the lines in the order of their item names, as every
    // list of the program sorts (lines without an item first), whole records moving; the
    // rows stay at the same top line. The total does not change.
    void SortLines(const std::string& spareJob);
    // "Delete Line": the current line leaves the job and the total loses its sub total;
    // nothing happens on the new line.
    void DeleteCurrentLine(const std::string& spareJob);

    // The slider moved: the shown rows are written back and the rows from top are shown.
    void ScrollTo(std::int32_t top);
    // Writes the shown rows that differ from Temp.job back into it; a row on the new line
    // appends it. Every whole-job operation starts with it.
    void SaveSection();
    // Shows the rows from the current top line as Temp.job holds them.
    void LoadSection();

  private:
    std::string ShownRecords() const;
    void Jump(std::int32_t delta);
    void Clear();
    // Opening a job shows a zero quantity or sub total as "0" and "0.00"; loading rows while
    // scrolling leaves them empty.
    enum class Zeros { Shown, Blank };
    void ShowLine(int row, const JobLine& line, Zeros zeros);
    JobLine LineOf(int row) const;

    std::string tempJob_;
    std::int32_t lineCount_;
    RowWindow window_{kRows};  // over the lines and the new line after them
    // The records of Temp.job under the rows as this sheet last read or wrote them, from
    // line sectionTop_ on (none before the first read). Nothing else writes Temp.job while
    // the sheet is open, so moving the rows reads the file once rather than twice.
    std::string section_;
    std::optional<std::int32_t> sectionTop_;
    std::array<SheetRow, kRows> rows_{};
    std::string totalText_;
    Amount oldSubTot_;
    bool changed_ = false;
    bool pickPending_ = false;
};

// "Sorry !" and the reason, shown when a total passes what the program can hold.
inline constexpr const char* kTotalTooLarge =
    "Sorry !\n\nTotal exceeds maximum system numeric value.  ";

}  // namespace quantora
