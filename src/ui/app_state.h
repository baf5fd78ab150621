// The state the windows share for the whole run: where the data lives, the settings record,
// the job open in the costing sheet, the key latches and the services every window uses.
#pragma once

#include <string>

#include "store/data_folder.h"
#include "store/monitor_offset.h"
#include "store/settings.h"

namespace quantora {

class Prompter;
class Sounds;

// Measures taken once at start-up.
struct StartupMeasures {
    // This build's platform code. The scale factor of the windows is Qt's business here
    // (device-independent pixels), so the code that asked for scaling by hand never occurs.
    std::string WindowsVersionCode = "LX";
    int ScreenPixelsPerInch = 96;
    std::string ProgramFolder;  // ping.wav and Help/ lie here; ends in "/"
    std::string UserName;
};

struct AppState {
    StartupMeasures Measures;
    DataPaths Paths;
    quantora::Settings Settings;

    // The job open in the costing sheet.
    std::string CurrentJobName;
    std::string CurrentJobPath;

    // One-shot latch: the next key event that reaches a window is discarded. Set when a
    // message box or dialog closes, so the key that closed it does not act twice.
    bool IgnoreNextKey = false;
    // One-shot latch: a menu popped up from a list has been prepared already.
    bool SkipMenuOpen = false;

    MonitorOffset Offset;

    // The job clipboard of the management window's Cut and Copy: 0 empty, 1 copied, 2 cut.
    int ClipState = 0;
    int ClipGroup = 0;
    std::string ClipName;

    Sounds* sounds = nullptr;
    Prompter* prompter = nullptr;

    // Consumes the key latch: true when this key event is to be discarded.
    bool TakeIgnoredKey() {
        bool ignored = IgnoreNextKey;
        IgnoreNextKey = false;
        return ignored;
    }

    void SaveSettings() const { WriteSettings(Paths.defaultFolder, Settings); }
};

}  // namespace quantora
