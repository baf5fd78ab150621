#include "ui/name_it.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "manage/name_rules.h"
#include "platform/sounds.h"
#include "ui/app_state.h"
#include "ui/code_page_validator.h"
#include "ui/window_scaling.h"

namespace quantora {

NameIt::NameIt(QWidget* parent, AppState& state, const QString& offered)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state) {
    setObjectName("NameIt");
    setWindowTitle("New Name...");
    Text1 = new QLineEdit(offered, this);
    Text1->setObjectName("Text1");
    Text1->setMaxLength(static_cast<int>(kMaxNameLength));
    Text1->setMinimumWidth(320);
    Text1->setValidator(new CodePageValidator(Text1));
    Text1->installEventFilter(this);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setAutoDefault(false);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &NameIt::OKBtn_Click);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ScaleForm(this);
    Text1->selectAll();
}

std::optional<QString> NameIt::Ask(QWidget* parent, AppState& state, const QString& offered,
                                   QPoint topLeft) {
    NameIt dialog(parent, state, offered);
    dialog.move(topLeft);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Name();
}

void NameIt::OKBtn_Click() {
    name_ = QString::fromStdString(NameFromDialog(Text1->text().toStdString()));
    accept();
}

void NameIt::done(int result) {
    // However the dialog closes, the key that closed it must not act again elsewhere.
    state_.IgnoreNextKey = true;
    QDialog::done(result);
}

bool NameIt::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Text1) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Escape)
            return true;  // no character and no beep: they act when released
        if (!key->text().isEmpty() && key->text()[0].isPrint() &&
            !CodePageValidator::Fits(key->text())) {
            if (state_.sounds) state_.sounds->PlayAsterisk();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) return false;
        bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        bool escape = key->key() == Qt::Key_Escape;
        if (!enter && !escape) return false;
        if (state_.TakeIgnoredKey()) return true;
        if (enter) OKBtn_Click();
        if (escape) reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quantora
