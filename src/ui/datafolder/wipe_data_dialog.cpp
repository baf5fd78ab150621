#include "ui/datafolder/wipe_data_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/sounds.h"
#include "ui/common/window_scaling.h"

namespace quantora {

WipeDataDialog::WipeDataDialog(QWidget* owner, Sounds& sounds, const QString& headline,
                               const QString& detail)
    : QDialog(owner), sounds_(sounds), owner_(owner) {
    setObjectName("WipeData");
    setWindowTitle("Next");
    auto* layout = new QVBoxLayout(this);
    QLabel* lines[2] = {new QLabel(headline, this), new QLabel(detail, this)};
    for (int i = 0; i < 2; ++i) {
        lines[i]->setObjectName(QString("Label1%1").arg(i));
        lines[i]->setWordWrap(true);
        lines[i]->setMinimumWidth(360);
        layout->addWidget(lines[i]);
    }
    QFont bold = lines[0]->font();
    bold.setBold(true);
    lines[0]->setFont(bold);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* proceed = new QPushButton("Continue", this);
    proceed->setObjectName("OKBtn0");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("OKBtn1");
    for (QPushButton* button : {proceed, cancel}) {
        button->setAutoDefault(true);  // Enter presses the button in focus
        button->installEventFilter(this);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(proceed, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ScaleForm(this);
}

void WipeDataDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (owner_ == nullptr) return;
    QRect over = owner_->frameGeometry();
    QSize own = frameGeometry().size();
    move(over.left() + (over.width() - own.width()) / 2,
         over.top() + (over.height() - own.height()) / 2);
}

bool WipeDataDialog::eventFilter(QObject* watched, QEvent* event) {
    // The question is about to erase files: the first time a button is reached, the user
    // hears it too. Later moves between the buttons stay quiet.
    if (event->type() == QEvent::FocusIn && !alerted_) {
        alerted_ = true;
        repaint();
        sounds_.PlayAsterisk();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quantora
