// A grid of a few rows seen over a longer list (the price list editor's 16 items, the
// costing sheet's 20 lines, the item picker's list): which entry shows in the top row, which
// row the keyboard cursor is on, and how the arrow keys and the slider move them.
#pragma once

#include <cstdint>

namespace quantora {

enum class RowMove {
    None,      // nothing moved
    Cursor,    // the cursor moved to another row; the rows show the same entries
    Scrolled,  // the rows moved under the cursor, which stays on its row
};

class RowWindow {
  public:
    // A grid of rows rows over entries entries, showing the first at the top.
    RowWindow(int rows, std::int32_t entries = 0);

    int Rows() const { return rows_; }
    std::int32_t Entries() const { return entries_; }
    // The entry in the top row (TopIndex, TopLine): the slider's value.
    std::int32_t Top() const { return top_; }
    // The row of the keyboard cursor (CurrentRow).
    int Current() const { return current_; }
    // The entry under the cursor.
    std::int32_t CurrentEntry() const { return top_ + current_; }
    // The entry a row shows, or -1 for a row past the end of the list.
    std::int32_t EntryAt(int row) const;

    // The slider's range: the last top entry that still fills the grid (0 when every entry
    // fits), and its page step (a grid less one row, so one row stays in sight).
    std::int32_t SliderMaximum() const;
    std::int32_t PageStep() const { return rows_ > 1 ? rows_ - 1 : 1; }

    // Back to the first entry with the cursor on the top row, over a new number of entries.
    void Reset(std::int32_t entries);
    // A new number of entries with the view kept where it is, as far as the list allows.
    void SetEntries(std::int32_t entries);

    // Down arrow: the cursor moves a row down while there is an entry there; on the last
    // row the entries scroll up by one instead, until the last one is in sight.
    RowMove Down();
    // Up arrow: the cursor moves a row up; on the top row the entries scroll down by one.
    RowMove Up();
    // The slider moved: the top entry follows it, clamped to the range; the cursor keeps its row.
    RowMove ScrollTo(std::int32_t top);
    // The user put the cursor on a row (a click): true when the row shows an entry.
    bool Choose(int row);

  private:
    int rows_;
    std::int32_t entries_ = 0;
    std::int32_t top_ = 0;
    int current_ = 0;
};

}  // namespace quantora
