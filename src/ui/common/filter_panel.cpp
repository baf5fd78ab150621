#include "ui/common/filter_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace quantora {

FilterPanel::FilterPanel(QWidget* parent, int width) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    auto* title = new QLabel("Filters", this);
    title->setGeometry(8, 4, 200, 18);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    const char* captions[] = {"All Items", "Items Beginning With", "Items Ending With",
                              "Items Containing"};
    for (int k = 0; k < 4; ++k) {
        options_[k] = new QRadioButton(captions[k], this);
        options_[k]->setObjectName(QString("FilterOption%1").arg(k));
        options_[k]->setGeometry(8, 24 + 26 * k, 190, 24);
        options_[k]->setAutoFillBackground(true);
        // An option never keeps the focus: the window's list or name field takes it.
        options_[k]->setFocusPolicy(Qt::NoFocus);
        connect(options_[k], &QRadioButton::clicked, this, [this, k] { emit applied(k); });
        if (k == 0) continue;
        texts_[k] = new QLineEdit(this);
        texts_[k]->setObjectName(QString("FilterText%1").arg(k));
        texts_[k]->setGeometry(204, 24 + 26 * k, width - 216, 24);
        texts_[k]->setMaxLength(50);
        connect(texts_[k], &QLineEdit::returnPressed, this, [this, k] { emit applied(k); });
    }
    setFixedSize(width, 130);
    Show(0);
}

ItemFilter FilterPanel::Filter() const {
    return {static_cast<FilterMode>(choice_),
            choice_ > 0 ? texts_[choice_]->text().toStdString() : std::string()};
}

void FilterPanel::Show(int k) {
    choice_ = k;
    options_[k]->setChecked(true);
    // A style sheet, not the palette: the desktop's style paints an option's background
    // itself.
    for (int i = 0; i < 4; ++i)
        options_[i]->setStyleSheet(i == k ? "QRadioButton { background: rgb(255, 255, 192); }"
                                          : QString());
}

}  // namespace quantora
