// Start-up: measure the screen, find the folders, read the settings, set up the data folder,
// make sure only one copy runs, and show the management window.
#include <QIcon>
#include <QScreen>
#include <cstdlib>

#include "app/quantora_application.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/sounds.h"
#include "store/clock_text.h"
#include "store/data_file.h"
#include "store/pause.h"
#include "ui/app_state.h"
#include "ui/edit_window.h"
#include "ui/prompt.h"

namespace quantora {
namespace {

int Run(QuantoraApplication& app) {
    AppState state;
    app.setApplicationName("Quantora");
    app.setApplicationDisplayName(kProgramTitle);
    if (const char* noPauses = std::getenv("QUANTORA_NO_PAUSES"); noPauses && *noPauses == '1')
        SetPausesEnabled(false);

    state.Measures.ScreenPixelsPerInch =
        static_cast<int>(app.primaryScreen()->logicalDotsPerInchX());
    state.Measures.ProgramFolder = ResourceFolder();
    state.Measures.UserName = UserName();
    app.setWindowIcon(QIcon(QString::fromStdString(state.Measures.ProgramFolder + "quantora.png")));

    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::string defaultFolder = BuildDefaultFolder(SpecialFolderPath(), home);
    state.Settings = ReadSettings(defaultFolder);

    DesktopSounds sounds(state.Measures.ProgramFolder);
    MessageBoxPrompter prompter;
    state.sounds = &sounds;
    state.prompter = &prompter;

    DataFolderSetUp setUp = SetUpDataFolder(defaultFolder, state.Settings);
    state.Paths = setUp.paths;
    if (setUp.unreachableFolder)
        prompter.Ask(nullptr,
                     QString::fromStdString(NotAccessibleMessage(*setUp.unreachableFolder)),
                     PromptIcon::Exclamation, PromptButtons::Ok);

    std::string caption = MainCaption(DateTimeText(ClockNow()));
    RunningCopy running = AskRunningCopy(QString::fromStdString(caption),
                                         QString::fromStdString(CaptionOneMinuteEarlier(caption)));
    if (running == RunningCopy::Raised) return 0;

    EditWindow window(state);
    window.setWindowTitle(QString::fromStdString(caption));
    RunningCopyListener listener(&window);
    if (running == RunningCopy::None) listener.Listen();

    window.adjustSize();
    QRect screen = app.primaryScreen()->availableGeometry();
    window.move(
        screen.left() + (screen.width() - window.frameGeometry().width()) / 2 + state.Offset.x,
        screen.top() + (screen.height() - window.frameGeometry().height()) / 2 + state.Offset.y);
    window.show();
    return app.exec();
}

}  // namespace
}  // namespace quantora

int main(int argc, char** argv) {
    quantora::QuantoraApplication app(argc, argv);
    try {
        return quantora::Run(app);
    } catch (const quantora::DataFileError& error) {
        quantora::EndOnDataFileError(error);
    }
}
