#include "ui/prompt.h"

#include <QMessageBox>

#include "store/clock_text.h"

namespace quantora {

PromptAnswer MessageBoxPrompter::Ask(QWidget* parent, const QString& text, PromptIcon icon,
                                     PromptButtons buttons) {
    QMessageBox box(icon == PromptIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    kProgramTitle, text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case PromptButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case PromptButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case PromptButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case PromptButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
    }
}

}  // namespace quantora
