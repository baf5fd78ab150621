#include "ui/common/data_folder_hold.h"

namespace quantora {

bool HoldDataFolder(QWidget* parent, Dialogs& dialogs, DeskHold& hold, const std::string& folder,
                    PromptButtons buttons) {
    for (;;) {
        DeskHold::Attempt attempt = hold.Take(folder, ThisDesk());
        switch (attempt.outcome) {
            case DeskHold::Outcome::Held:
            case DeskHold::Outcome::NotPossible:
                return true;
            case DeskHold::Outcome::HeldWithoutLocks:
                dialogs.AskAndLatch(parent, QString::fromStdString(NoLocksMessage(folder)),
                                    PromptIcon::Exclamation, PromptButtons::Ok);
                return true;
            case DeskHold::Outcome::HeldElsewhere:
                break;
        }
        PromptAnswer answer = dialogs.AskAndLatch(
            parent, QString::fromStdString(HeldElsewhereMessage(folder, attempt.holder)),
            PromptIcon::Exclamation, buttons);
        if (answer != PromptAnswer::TryAgain) return false;
    }
}

}  // namespace quantora
