// A quantity box of the costing sheet. Scrolling gives every box a new text, but most of those
// texts were just shown in the box next to it: a box without the keyboard paints from a
// picture kept of the same text, so a scroll draws little more than the box that has it.
#pragma once

#include <QLineEdit>
#include <QPixmap>
#include <QPointer>

namespace quantora {

// A QLineEdit in every way but its painting: while the sheet's keyboard is not in it, it
// shows a kept picture of an idle box with its text, shared by the boxes of the same size
// and colours. The pictures are painted by a hidden box of the same parent, as the box
// itself would paint.
class QuantField : public QLineEdit {
  public:
    explicit QuantField(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap IdlePicture();

    // The hidden box the pictures are painted by: one for the boxes of one parent.
    static QPointer<QLineEdit> twin_;
};

}  // namespace quantora
