#include "ui/costing/save_as_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "costing/job_editing.h"
#include "platform/sounds.h"
#include "services/clock_text.h"
#include "store/file_name_rules.h"
#include "ui/common/code_page_validator.h"
#include "ui/common/dialogs.h"
#include "ui/common/key_preview.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

SaveAsDialog::SaveAsDialog(QWidget* sheet, Session& session) : QDialog(sheet), session_(session) {
    setObjectName("Saveasform");
    setWindowTitle(kProgramTitle);
    InJobName = new QLineEdit(this);
    InJobName->setObjectName("InJobName");
    InJobName->setMaxLength(50);
    InJobName->setMinimumWidth(300);
    InJobName->setValidator(new CodePageValidator(InJobName));
    auto* save = new QPushButton("Save", this);
    save->setObjectName("SaveBtn");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("CancelBtn");
    for (QPushButton* button : {save, cancel}) button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Job Name", this));
    layout->addWidget(InJobName);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(save, &QPushButton::released, this, &SaveAsDialog::SaveBtn_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    new KeyPreview(this, session_.Keys,
                   [this](QWidget* receiver, QKeyEvent* key) { return PreviewKey(receiver, key); });
    ScaleForm(this);
    move(sheet->frameGeometry().topLeft());
}

bool SaveAsDialog::PreviewKey(QWidget* receiver, QKeyEvent* key) {
    if (receiver != InJobName) return false;
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (key->type() == QEvent::KeyPress) {
        if (enter) return true;
        QString text = key->text();
        if (!text.isEmpty() && text[0].isPrint() && !IsAllowedInFileName(text[0].unicode())) {
            session_.sounds.PlayAsterisk();
            return true;
        }
        return false;
    }
    if (enter && !key->isAutoRepeat()) {
        SaveBtn_Click();
        return true;
    }
    return false;
}

void SaveAsDialog::SaveBtn_Click() {
    OpenJob open = session_.CurrentJob();
    SaveAsAnswer answer = SaveJobAs(session_.Paths, open, InJobName->text().toStdString());
    InJobName->setText(QString::fromStdString(answer.shownName));
    if (!answer.done) {
        session_.dialogs.AskAndLatch(this, QString::fromStdString(answer.refusal),
                                     PromptIcon::Exclamation, PromptButtons::Ok);
        return;
    }
    // The open job's name and path change together, only once the copy is made.
    session_.CurrentJobName = answer.job.name;
    session_.CurrentJobPath = answer.job.path;
    accept();
}

}  // namespace quantora
