#include "ui/management/about_box.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "platform/shell.h"
#include "services/clock_text.h"
#include "ui/common/key_preview.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

AboutBox::AboutBox(QWidget* managementWindow, Session& session)
    : QDialog(managementWindow), session_(session) {
    setObjectName("AboutForm");
    setWindowTitle(kProgramTitle);
    setWindowIcon(managementWindow->windowIcon());
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(221, 236, 254));
    setPalette(background);

    auto picture = [&] {
        auto* image = new QLabel(this);
        image->setPixmap(managementWindow->windowIcon().pixmap(48, 48));
        return image;
    };
    auto* product = new QLabel("Quantora", this);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    product->setFont(bold);
    auto* version = new QLabel("Version 2.02", this);
    auto* check = new QLabel("Click the link below to check you have the latest release.", this);
    URLLink = new QLabel("Upgrades Link", this);
    URLLink->setObjectName("URLLink");
    URLLink->setStyleSheet("color: rgb(0, 0, 255);");
    URLLink->setCursor(Qt::PointingHandCursor);
    URLLink->installEventFilter(this);
    OKBtn = new QPushButton("Close", this);
    OKBtn->setObjectName("OKBtn");
    // Not a default button: Enter must not close the box.
    OKBtn->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture(), 0, 0, 2, 1);
    layout->addWidget(product, 0, 1, Qt::AlignHCenter);
    layout->addWidget(version, 1, 1, Qt::AlignHCenter);
    layout->addWidget(picture(), 0, 2, 2, 1);
    layout->addWidget(check, 2, 0, 1, 3, Qt::AlignHCenter);
    layout->addWidget(URLLink, 3, 0, 1, 3, Qt::AlignHCenter);
    layout->addWidget(OKBtn, 4, 0, 1, 3, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OKBtn, &QPushButton::released, this, &QDialog::accept);
    new KeyPreview(this, session_.Keys,
                   [this](QWidget*, QKeyEvent* key) { return PreviewKey(key); });

    ScaleForm(this);
    QRect owner = managementWindow->frameGeometry();
    move(owner.left() + Twips(4000), owner.top());
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == URLLink && event->type() == QEvent::MouseButtonRelease) {
        OpenDocument(kUpgradesUrl);
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool AboutBox::PreviewKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_F1) return true;  // no documentation from here
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) return true;  // the box closes as designed: Close, the link or Esc
    if (key->key() == Qt::Key_Escape) {
        if (key->type() == QEvent::KeyPress) {
            session_.Keys.Set();
            reject();
        }
        return true;
    }
    return false;
}

}  // namespace quantora
