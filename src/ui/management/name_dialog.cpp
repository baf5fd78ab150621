#include "ui/management/name_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "manage/name_rules.h"
#include "platform/sounds.h"
#include "ui/common/code_page_validator.h"
#include "ui/common/key_preview.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

namespace {

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

NameDialog::NameDialog(QWidget* parent, KeyLatch& keys, Sounds& sounds, const QString& offered)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      keys_(keys),
      sounds_(sounds) {
    setObjectName("NameIt");
    setWindowTitle("New Name...");
    Text1 = new QLineEdit(offered, this);
    Text1->setObjectName("Text1");
    Text1->setMaxLength(static_cast<int>(kMaxNameLength));
    Text1->setMinimumWidth(320);
    Text1->setValidator(new CodePageValidator(Text1));
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    // Enter in the name acts on release (below), never through a default button.
    for (QPushButton* button : {OKBtn, CancelBtn}) button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &NameDialog::OKBtn_Click);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    new KeyPreview(this, keys_,
                   [this](QWidget* receiver, QKeyEvent* key) { return PreviewKey(receiver, key); });
    ScaleForm(this);
    Text1->selectAll();
}

void NameDialog::OKBtn_Click() {
    name_ = QString::fromStdString(NameFromDialog(Text1->text().toStdString()));
    accept();
}

void NameDialog::done(int result) {
    // However the dialog closes, the key that closed it must not act again elsewhere.
    keys_.Set();
    QDialog::done(result);
}

bool NameDialog::PreviewKey(QWidget* receiver, QKeyEvent* key) {
    bool enter = IsEnter(key), escape = key->key() == Qt::Key_Escape;
    if (receiver == OKBtn || receiver == CancelBtn) {
        // As on every desktop, Enter presses the focused button.
        if (!enter) return false;
        if (key->type() == QEvent::KeyPress) static_cast<QPushButton*>(receiver)->click();
        return true;
    }
    if (key->type() == QEvent::KeyPress) {
        if (enter || escape) return true;  // no character and no beep: they act when released
        if (receiver == Text1 && !key->text().isEmpty() && key->text()[0].isPrint() &&
            !CodePageValidator::Fits(key->text())) {
            sounds_.PlayAsterisk();
            return true;
        }
        return false;
    }
    if (key->isAutoRepeat()) return false;
    if (enter) OKBtn_Click();
    if (escape) reject();
    return enter || escape;
}

}  // namespace quantora
