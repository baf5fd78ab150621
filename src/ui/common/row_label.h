// The text of one row's cell in the costing sheet and the price list editor. Scrolling sets
// every row's text anew, but most texts only move to the next row: laying each text out once
// and drawing it from then on from the kept layout leaves only the new row to lay out.
#pragma once

#include <QHash>
#include <QLabel>
#include <QStaticText>

namespace quantora {

// A plain-text label that draws its one line of text, at its indent and
// alignment, from layouts kept for all row labels together. The text and the object name read
// as with any QLabel.
class RowLabel : public QLabel {
  public:
    // A row's cell keeps the place and size it is given: a label of fixed size asks its parent
    // for no new layout each time its text changes, and every key that scrolls changes them all.
    RowLabel(QWidget* parent, const QRect& place);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QHash<QString, QStaticText>* layouts_;  // the kept layouts in this label's font
};

}  // namespace quantora
