#include "ui/session.h"

#include "datafolder/read_only_desk.h"
#include "services/clock_text.h"
#include "store/own_settings.h"

namespace quantora {

void Session::ChangeSetting(std::int16_t quantora::Settings::*field, std::int16_t value) {
    if (settings_.*field == value) return;
    settings_.*field = value;
    if (ReadOnly())
        KeepReadOnlySettings();
    else
        WriteSettings(Paths.defaultFolder, settings_);
}

void Session::SelectEntry(NameIndex index, std::int16_t slot) {
    if (!ReadOnly())
        return Apply([&](const DataPaths& paths, quantora::Settings& settings) {
            quantora::SelectEntry(paths, settings, index, slot);
        });
    // Chosen without making its folder: a group another desk has not yet filled has no jobs.
    (index == NameIndex::Groups ? settings_.CurrentGroup : settings_.CurrentList) = slot;
    KeepReadOnlySettings();
}

void Session::KeepReadOnlySettings() {
    OwnSettings own = ReadOwnSettings(OwnSettingsFile);
    own.readOnlySettings = KeptSettingsText(settings_);
    WriteOwnSettings(OwnSettingsFile, own);
}

std::string Session::Caption(const std::string& clockText) const {
    std::string caption = MainCaption(clockText);
    return ReadOnly() ? ReadOnlyCaption(caption, ReadOnlyHold) : caption;
}

std::optional<std::string> Session::SetUpDataFolderAgain() {
    DataFolderSetUp setUp = SetUpDataFolder(Paths.defaultFolder, settings_);
    Paths = setUp.paths;
    Clipboard = {};
    return setUp.unreachableFolder;
}

std::optional<std::string> Session::WorkInDataFolder() {
    std::string ownFolder = Paths.ownWorkFolder;
    std::optional<std::string> unreachable = SetUpDataFolderAgain();
    RemoveReadOnlyWorkFolder(ownFolder);
    ReadOnlyHold = {};
    return unreachable;
}

}  // namespace quantora
