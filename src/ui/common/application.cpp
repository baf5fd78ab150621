#include "ui/common/application.h"

#include <QMessageBox>
#include <cstdlib>
#include <new>

#include "services/clock_text.h"
#include "store/amount.h"
#include "store/data_file.h"
#include "ui/common/dialogs.h"
#include "ui/common/key_preview.h"

namespace quantora {

bool QuantoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        if (KeyPreview::Dispatch(receiver, event)) return true;
        return QApplication::notify(receiver, event);
    } catch (const DataFileError& error) {
        EndOnDataFileError(dialogs_, error);
    } catch (const std::exception& error) {
        QString text = UnexpectedErrorMessage(error);
        // The key that closes the box is not for the window beneath: a job whose opening
        // failed would open again on the release of the Enter that closed its message.
        if (dialogs_)
            dialogs_->AskAndLatch(nullptr, text, PromptIcon::Exclamation, PromptButtons::Ok);
        else
            QMessageBox::warning(nullptr, kProgramTitle, text);
        return true;
    }
}

void EndOnDataFileError(Dialogs* dialogs, const DataFileError& error) {
    QString text = QString::fromStdString(error.UserMessage());
    if (dialogs)
        dialogs->ShowFatal(text);
    else
        QMessageBox::warning(nullptr, kProgramTitle, text);
    std::_Exit(1);
}

QString UnexpectedErrorMessage(const std::exception& error) {
    if (dynamic_cast<const AmountOverflow*>(&error))
        return "Sorry !\n\nThe amount is larger than Quantora can hold, so the last action was "
               "not finished.  ";
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "Sorry !\n\nThere is not enough memory to finish the last action.  ";
    return "Sorry !\n\nThe last action could not be finished: " + QString::fromUtf8(error.what()) +
           "  ";
}

}  // namespace quantora
