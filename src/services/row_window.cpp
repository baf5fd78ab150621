#include "services/row_window.h"

#include <algorithm>

namespace quantora {

RowWindow::RowWindow(int rows, std::int32_t entries) : rows_(rows) { Reset(entries); }

std::int32_t RowWindow::EntryAt(int row) const {
    std::int32_t entry = top_ + row;
    return row >= 0 && row < rows_ && entry < entries_ ? entry : -1;
}

std::int32_t RowWindow::SliderMaximum() const { return std::max(entries_ - rows_, 0); }

void RowWindow::Reset(std::int32_t entries) {
    entries_ = std::max(entries, 0);
    top_ = 0;
    current_ = 0;
}

void RowWindow::SetEntries(std::int32_t entries) {
    entries_ = std::max(entries, 0);
    top_ = std::min(top_, SliderMaximum());
}

RowMove RowWindow::Down() {
    if (current_ < rows_ - 1) {
        if (CurrentEntry() + 1 >= entries_) return RowMove::None;
        ++current_;
        return RowMove::Cursor;
    }
    if (top_ >= SliderMaximum()) return RowMove::None;
    ++top_;
    return RowMove::Scrolled;
}

RowMove RowWindow::Up() {
    if (current_ > 0) {
        --current_;
        return RowMove::Cursor;
    }
    if (top_ == 0) return RowMove::None;
    --top_;
    return RowMove::Scrolled;
}

RowMove RowWindow::ScrollTo(std::int32_t top) {
    top = std::clamp(top, 0, SliderMaximum());
    if (top == top_) return RowMove::None;
    top_ = top;
    return RowMove::Scrolled;
}

bool RowWindow::Choose(int row) {
    if (EntryAt(row) < 0) return false;
    current_ = row;
    return true;
}

}  // namespace quantora
