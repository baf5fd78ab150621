#include "ui/session.h"

namespace quantora {

void Session::ChangeSetting(std::int16_t quantora::Settings::*field, std::int16_t value) {
    if (settings_.*field == value) return;
    settings_.*field = value;
    WriteSettings(Paths.defaultFolder, settings_);
}

std::optional<std::string> Session::SetUpDataFolderAgain() {
    DataFolderSetUp setUp = SetUpDataFolder(Paths.defaultFolder, settings_);
    Paths = setUp.paths;
    Clipboard = {};
    return setUp.unreachableFolder;
}

}  // namespace quantora
