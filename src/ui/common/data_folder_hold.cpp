#include "ui/common/data_folder_hold.h"

#include <unistd.h>

#include <QStandardPaths>

#include "datafolder/read_only_desk.h"
#include "platform/sounds.h"
#include "store/data_file.h"
#include "ui/session.h"

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string FolderOf(QStandardPaths::StandardLocation location, const std::string& otherwise) {
    std::string folder = QStandardPaths::writableLocation(location).toStdString();
    if (folder.empty()) return otherwise;
    return folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

HoldChoice HoldDataFolder(QWidget* parent, Dialogs& dialogs, DeskHold& hold,
                          const std::string& folder, PromptButtons buttons) {
    for (;;) {
        DeskHold::Attempt attempt = hold.Take(folder, ThisDesk());
        switch (attempt.outcome) {
            case DeskHold::Outcome::Held:
            case DeskHold::Outcome::NotPossible:
                return HoldChoice::Held;
            case DeskHold::Outcome::HeldWithoutLocks:
                dialogs.AskAndLatch(parent, Q(NoLocksMessage(folder)), PromptIcon::Exclamation,
                                    PromptButtons::Ok);
                return HoldChoice::Held;
            case DeskHold::Outcome::HeldElsewhere:
                break;
        }
        PromptAnswer answer =
            dialogs.AskAndLatch(parent, Q(HeldElsewhereMessage(folder, attempt.holder)),
                                PromptIcon::Exclamation, buttons);
        if (answer == PromptAnswer::ReadOnly) return HoldChoice::ReadOnly;
        if (answer != PromptAnswer::TryAgain) return HoldChoice::GaveUp;
    }
}

DataPaths ReadOnlyDataPaths(const std::string& defaultFolder, const std::string& dataFolder) {
    std::string temporary = FolderOf(QStandardPaths::TempLocation, "/tmp/");
    std::string runtime = FolderOf(QStandardPaths::RuntimeLocation, temporary);
    std::string work = ReadOnlyWorkFolder(runtime, static_cast<long>(::getpid()));
    EnsureFolder(work);
    std::string documents =
        FolderOf(QStandardPaths::DocumentsLocation, FolderOf(QStandardPaths::HomeLocation, "/"));
    return ReadOnlyPaths({defaultFolder, dataFolder}, work, documents);
}

bool RefuseWhileReadOnly(QWidget* parent, Session& session) {
    if (!session.ReadOnly()) return false;
    session.sounds.PlayAsterisk();
    session.dialogs.AskAndLatch(parent, kReadOnlyRefusal, PromptIcon::Exclamation,
                                PromptButtons::Ok);
    return true;
}

bool OfferToWorkInFreedFolder(QWidget* parent, Session& session, bool& asked) {
    // A desk opened read-only on a free folder chose so; only a hold seen to end is news.
    if (asked || !session.ReadOnly() || !session.ReadOnlyHold.held) return false;
    const std::string& folder = session.Paths.dataFolder;
    if (LookAtHold(folder, ThisDesk().computer).held) return false;
    asked = true;
    PromptAnswer answer =
        session.dialogs.AskAndLatch(parent, Q(FolderFreeQuestion(folder, session.ReadOnlyHold)),
                                    PromptIcon::None, PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes) return false;
    // Another desk may have taken it meanwhile: the user is told who, and may keep reading.
    if (HoldDataFolder(parent, session.dialogs, session.Hold, folder,
                       PromptButtons::TryAgainCancel) != HoldChoice::Held)
        return false;
    if (std::optional<std::string> unreachable = session.WorkInDataFolder())
        session.dialogs.Ask(parent, Q(NotAccessibleMessage(*unreachable)), PromptIcon::Exclamation,
                            PromptButtons::Ok);
    return true;
}

}  // namespace quantora
