// The four item filters as both the price list editor and the item picker show them: the
// options "All Items", "Items Beginning With", "Items Ending With", "Items Containing" in a
// panel headed "Filters", a text beside each of the last three, and the chosen option in
// light yellow. The matching itself is the core's ItemFilter.
#pragma once

#include <QFrame>
#include <array>

#include "pricelists/item_filter.h"

class QLineEdit;
class QRadioButton;

namespace quantora {

class FilterPanel : public QFrame {
    Q_OBJECT
  public:
    FilterPanel(QWidget* parent, int width);

    int Choice() const { return choice_; }
    // The filter of the chosen option with its text.
    ItemFilter Filter() const;
    QLineEdit* Text(int k) const { return texts_[static_cast<std::size_t>(k)]; }
    // Marks option k as chosen (yellow) without applying it.
    void Show(int k);

  signals:
    // Option k was clicked, or Enter pressed in its text: the list is to be loaded again.
    void applied(int k);

  private:
    int choice_ = 0;
    std::array<QRadioButton*, 4> options_{};
    std::array<QLineEdit*, 4> texts_{};  // 1 to 3 are used
};

}  // namespace quantora
