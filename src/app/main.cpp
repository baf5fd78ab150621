// Start-up: find the folders, read the settings, set up the data folder, make sure only one
// copy runs, and show the management window.
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "app/build_info.h"
#include "app/command_line.h"
#include "app/stopped_work.h"
#include "datafolder/folder_actions.h"
#include "datafolder/read_only_desk.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/sounds.h"
#include "services/clock_text.h"
#include "services/pause.h"
#include "store/data_file.h"
#include "store/own_settings.h"
#include "ui/common/application.h"
#include "ui/common/data_folder_hold.h"
#include "ui/common/dialogs.h"
#include "ui/common/stopped_work_window.h"
#include "ui/management/management_window.h"
#include "ui/session.h"

namespace quantora {
namespace {

int Run(QuantoraApplication& app, KeyLatch& keys, Dialogs& dialogs, Sounds& sounds,
        const std::string& programFolder, bool readOnly) {
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::string defaultFolder = BuildDefaultFolder(SpecialFolderPath(), home);
    Settings settings = ReadSettings(defaultFolder);

    // The running copy is asked first: a copy that is only to bring it forward touches no
    // file, and one that stays may finish what a kill interrupted only when it is alone.
    std::string caption = MainCaption(DateTimeText(ClockNow()));
    RunningCopy running = AskRunningCopy(QString::fromStdString(caption),
                                         QString::fromStdString(CaptionOneMinuteEarlier(caption)));
    if (running == RunningCopy::Raised) return 0;
    // Nothing is written in a data folder another computer works in: it may be read only.
    DeskHold hold;
    std::string named = DataFolderNamed(defaultFolder);
    HoldChoice choice = readOnly ? HoldChoice::ReadOnly
                                 : HoldDataFolder(nullptr, dialogs, hold, named,
                                                  PromptButtons::TryAgainReadOnlyQuit);
    if (choice == HoldChoice::GaveUp) return 0;
    DataPaths paths;
    if (choice == HoldChoice::ReadOnly) {
        // Read as it stands: what an interrupted action left, and the settings of this desk,
        // are the business of the desk that works there.
        paths = ReadOnlyDataPaths(defaultFolder, named);
        settings = ReadOnlySettings(ReadOwnSettings(OwnSettingsPath()).readOnlySettings, settings);
    } else {
        std::optional<std::string> leftBehind;
        if (running == RunningCopy::None)
            leftBehind = FinishInterruptedAction(defaultFolder, settings);

        DataFolderSetUp setUp = SetUpDataFolder(defaultFolder, settings);
        if (setUp.unreachableFolder)
            dialogs.Ask(nullptr,
                        QString::fromStdString(NotAccessibleMessage(*setUp.unreachableFolder)),
                        PromptIcon::Exclamation, PromptButtons::Ok);
        // The folder finishing an action led to, or the default one when the named one is gone.
        if (setUp.paths.dataFolder != hold.Folder() &&
            HoldDataFolder(nullptr, dialogs, hold, setUp.paths.dataFolder,
                           PromptButtons::TryAgainQuit) != HoldChoice::Held)
            return 0;
        if (leftBehind)
            dialogs.Ask(nullptr, QString::fromStdString(*leftBehind), PromptIcon::Exclamation,
                        PromptButtons::Ok);
        if (running == RunningCopy::None) {
            StoppedWorkWindow stopped;
            stopped.Run([&](const StoppedImportProgress& progress) {
                FinishStoppedWork(setUp.paths, progress);
            });
        }
        paths = setUp.paths;
    }

    Session session(programFolder, paths, settings, keys, sounds, dialogs);
    session.Hold = std::move(hold);
    session.OwnSettingsFile = OwnSettingsPath();
    if (session.ReadOnly()) session.ReadOnlyHold = LookAtHold(named, ThisDesk().computer);
    ManagementWindow window(session);
    window.setWindowTitle(QString::fromStdString(session.Caption(DateTimeText(ClockNow()))));
    RunningCopyListener listener(&window);
    if (running == RunningCopy::None) listener.Listen();

    window.adjustSize();
    QRect screen = app.primaryScreen()->availableGeometry();
    window.move(
        screen.left() + (screen.width() - window.frameGeometry().width()) / 2 + session.Offset.x,
        screen.top() + (screen.height() - window.frameGeometry().height()) / 2 + session.Offset.y);
    window.show();
    int ended = app.exec();
    // The reading desk's working copy goes with it (one that took the folder over has none).
    RemoveReadOnlyWorkFolder(session.Paths.ownWorkFolder);
    return ended;
}

// Answers --help and --version without a window (and without a display), and refuses what
// the program does not take; nothing for a start that opens the windows.
std::optional<int> AnswerCommandLine(const CommandLine& asked, int argc, char** argv) {
    switch (asked.request) {
        case StartRequest::Windows:
            return std::nullopt;
        case StartRequest::Refused:
            std::fprintf(stderr, "%s\n", asked.refusal.c_str());
            return 2;
        case StartRequest::Version:
            std::fputs(VersionText(kBuildVersion).c_str(), stdout);
            return 0;
        case StartRequest::Usage:
            break;
    }
    QCoreApplication core(argc, argv);  // only to find the program's own folder
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::fputs(UsageText(DefaultFolderPath(SpecialFolderPath(), home), ResourceFolder()).c_str(),
               stdout);
    return 0;
}

}  // namespace
}  // namespace quantora

int main(int argc, char** argv) {
    using namespace quantora;
    CommandLine asked = ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (std::optional<int> answered = AnswerCommandLine(asked, argc, argv)) return *answered;
    QuantoraApplication app(argc, argv);
    // The window title is exactly the program's caption: no application display name, which
    // the window system would append to it.
    app.setApplicationName("Quantora");
    if (const char* noPauses = std::getenv("QUANTORA_NO_PAUSES"); noPauses && *noPauses == '1')
        SetPausesEnabled(false);
    // The desktop matches the windows to the desktop entry, and so to its icon, by this name.
    app.setDesktopFileName(kDesktopId);
    std::string programFolder = ResourceFolder();
    app.setWindowIcon(ApplicationIcon(programFolder, kDesktopId));

    KeyLatch keys;
    DesktopSounds sounds(programFolder);
    DesktopDialogs dialogs(keys, sounds, OwnSettingsPath());
    app.SetDialogs(&dialogs);
    try {
        return Run(app, keys, dialogs, sounds, programFolder, asked.readOnly);
    } catch (const DataFileError& error) {
        EndOnDataFileError(&dialogs, error);
    }
}
